#include "platform/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/core/WriteTarget.h"

namespace platform {

namespace {

// Closes the descriptor and removes the temporary file unless released.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string pattern) : path_(pattern.begin(), pattern.end()) {
        path_.push_back('\0');
        fd_ = ::mkstemp(path_.data());
    }
    ~TemporaryFile() {
        Close();
        if (!kept_) ::unlink(path_.data());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    const char* Path() const { return path_.data(); }
    bool Close() {
        if (fd_ < 0) return true;
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }
    void Keep() { kept_ = true; }

private:
    std::vector<char> path_;
    int fd_ = -1;
    bool kept_ = false;
};

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Mode for the new file: the old file's, or what a plain create would give.
mode_t TargetMode(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::string& path) {
    const auto folder = std::filesystem::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself has already succeeded
    ::close(fd);
}

enum class Replaced { Yes, No, NoTemporary };

Replaced ReplaceAtomically(const std::string& target, std::string_view content, int& error) {
    TemporaryFile temp(target + ".XXXXXX");
    if (!temp.IsOpen()) {
        error = errno;
        return Replaced::NoTemporary;
    }
    if (!WriteAll(temp.Descriptor(), content)) return Replaced::No;
    if (::fchmod(temp.Descriptor(), TargetMode(target)) != 0) return Replaced::No;
    if (::fsync(temp.Descriptor()) != 0) return Replaced::No;
    if (!temp.Close()) return Replaced::No;
    if (::rename(temp.Path(), target.c_str()) != 0) return Replaced::No;
    temp.Keep();
    return Replaced::Yes;
}

bool WriteInPlace(const std::string& target, std::string_view content) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && WriteAll(fd, content) &&
                    ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// mkstemp replaces the six X by letters and digits.
bool IsTemporaryOf(const std::string& name, const std::string& fileName) {
    constexpr std::size_t kSuffix = 6;
    if (name.size() != fileName.size() + 1 + kSuffix || !name.starts_with(fileName + '.')) {
        return false;
    }
    for (std::size_t i = name.size() - kSuffix; i < name.size(); ++i) {
        const char c = name[i];
        const bool alphanumeric =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!alphanumeric) return false;
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view content) {
    const std::optional<std::string> target = WriteTarget(path);
    if (!target) return false;
    int error = 0;
    switch (ReplaceAtomically(*target, content, error)) {
        case Replaced::Yes:
            SyncFolder(*target);
            RemoveStaleTemporaries(*target);
            return true;
        case Replaced::NoTemporary:
            // Only a folder that refuses new files is a reason to write in place;
            // a full disk is not (a longer text could tear the file).
            return (error == EACCES || error == EPERM) && WriteInPlace(*target, content);
        case Replaced::No:
            break;
    }
    return false;
}

void RemoveStaleTemporaries(const std::string& target) {
    namespace fs = std::filesystem;
    const fs::path file(target);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string fileName = file.filename().string();
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsTemporaryOf(name, fileName)) continue;
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            ::unlink(it->path().c_str());
        }
    }
}

}  // namespace platform
