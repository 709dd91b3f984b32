#include "platform/core/LockFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>

namespace platform {

namespace {

constexpr long kStaleSeconds = 30;  // QLockFile's default stale-lock time
constexpr int kAttempts = 8;        // stale locks removed in one TryLock, at most

// The first line of a small system file, without blanks around it.
std::string FirstLine(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char buffer[64];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (got <= 0) return {};
    std::string_view text(buffer, static_cast<std::size_t>(got));
    text = text.substr(0, text.find('\n'));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
    return std::string(text);
}

std::string MachineId() {
    std::string id = FirstLine("/etc/machine-id");
    return id.empty() ? FirstLine("/var/lib/dbus/machine-id") : id;
}

std::string BootId() {
    return FirstLine("/proc/sys/kernel/random/boot_id");
}

std::string HostName() {
    struct utsname names {};
    return ::uname(&names) == 0 ? names.nodename : "";
}

// The executable's file name of a process, as QLockFile records and compares
// it; empty when it cannot be read.
std::string ProgramName(long long pid) {
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    std::error_code error;
    std::string target = std::filesystem::read_symlink(link, error).string();
    if (error) return {};
    constexpr std::string_view kDeleted = " (deleted)";
    if (target.ends_with(kDeleted)) target.resize(target.size() - kDeleted.size());
    return std::filesystem::path(target).filename().string();
}

std::string Contents() {
    const long long pid = ::getpid();
    return std::to_string(pid) + '\n' + ProgramName(pid) + '\n' + HostName() + '\n' + MachineId() +
           '\n' + BootId() + '\n';
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

struct Holder {
    long long pid = 0;
    std::string program, host, machine, boot;
};

bool ReadHolder(const std::string& path, Holder& holder) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    char buffer[1024];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (got <= 0) return false;
    std::vector<std::string> lines(5);
    std::string_view text(buffer, static_cast<std::size_t>(got));
    for (std::string& line : lines) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) break;
        line = text.substr(0, end);
        text.remove_prefix(end + 1);
    }
    const std::string& pid = lines[0];
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), holder.pid);
    holder.program = lines[1];
    holder.host = lines[2];
    holder.machine = lines[3];
    holder.boot = lines[4];
    return error == std::errc() && end == pid.data() + pid.size() && holder.pid > 0;
}

// As QLockFile judges it: a process whose program cannot be looked at counts
// as gone (the flock() still protects a live holder of another user).
bool IsRunning(const Holder& holder) {
    if (::kill(static_cast<pid_t>(holder.pid), 0) == -1 && errno == ESRCH) return false;
    const std::string program = ProgramName(holder.pid);
    // Empty, or another program that was given the same process id later.
    return !program.empty() && program == std::filesystem::path(holder.program).filename().string();
}

bool IsApparentlyStale(const std::string& path) {
    Holder holder;
    if (ReadHolder(path, holder)) {
        const bool sameMachine = holder.machine.empty()
                                     ? holder.host.empty() || holder.host == HostName()
                                     : holder.machine == MachineId();
        if (sameMachine) {
            if (!holder.boot.empty() && holder.boot != BootId()) return true;
            if (!IsRunning(holder)) return true;
        }
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    return std::labs(static_cast<long>(std::time(nullptr) - info.st_mtime)) > kStaleSeconds;
}

// Removes the lock file unless its holder still holds its flock().
bool RemoveStale(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat opened {
    }, named{};
    // The flock() is on the file that was opened; the name must still be it.
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
                         ::stat(path.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
                         opened.st_dev == named.st_dev && ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

}  // namespace

LockFile::LockFile(std::string path) : path_(std::move(path)) {}

LockFile::~LockFile() {
    Unlock();
}

LockFile::Result LockFile::TryLock() {
    if (fd_ >= 0) return Result::Locked;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !WriteAll(fd, Contents())) {
                ::unlink(path_.c_str());
                ::close(fd);
                return Result::Unavailable;
            }
            ::fdatasync(fd);
            fd_ = fd;
            return Result::Locked;
        }
        if (errno != EEXIST) return Result::Unavailable;
        if (!IsApparentlyStale(path_)) return Result::HeldElsewhere;
        // Two programs must not both remove a stale lock: the second would
        // remove the fresh lock of the first.
        LockFile removal(path_ + ".rmlock");
        if (removal.TryLock() != Result::Locked) return Result::HeldElsewhere;
        if (!IsApparentlyStale(path_) || !RemoveStale(path_)) return Result::HeldElsewhere;
    }
    return Result::HeldElsewhere;
}

void LockFile::Unlock() {
    if (fd_ < 0) return;
    // Removed while still held, so nobody can take the name for stale between.
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace platform
