#include "platform/core/LockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform {

namespace {

constexpr int kAttempts = 8;  // lock files removed under our hands in one TryLock, at most

// The name still leads to the file that was opened: a holder that let go
// removes the name, and a lock on the file it removed would lock nothing.
bool StillNamed(int fd, const std::string& path) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
           opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
}

}  // namespace

LockFile::LockFile(std::string path) : path_(std::move(path)) {}

LockFile::~LockFile() {
    Unlock();
}

LockFile::Result LockFile::TryLock() {
    if (fd_ >= 0) return Result::Locked;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return Result::Unavailable;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            return held ? Result::HeldElsewhere : Result::Unavailable;
        }
        if (StillNamed(fd, path_)) {
            fd_ = fd;
            return Result::Locked;
        }
        ::close(fd);
    }
    return Result::HeldElsewhere;
}

void LockFile::Unlock() {
    if (fd_ < 0) return;
    // Removed while still held, so nobody locks the name in between.
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace platform
