#include "platform/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

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

// The file a write should replace: the target of a symbolic link, else the path.
std::string ResolvedTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

void SyncFolder(const std::string& path) {
    const auto folder = std::filesystem::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename itself has already succeeded
    ::close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = ResolvedTarget(path);
    TemporaryFile temp(target + ".XXXXXX");
    if (!temp.IsOpen()) return false;
    if (!WriteAll(temp.Descriptor(), content)) return false;
    if (::fchmod(temp.Descriptor(), TargetMode(target)) != 0) return false;
    if (::fsync(temp.Descriptor()) != 0) return false;
    if (!temp.Close()) return false;
    if (::rename(temp.Path(), target.c_str()) != 0) return false;
    temp.Keep();
    SyncFolder(target);
    return true;
}

}  // namespace platform
