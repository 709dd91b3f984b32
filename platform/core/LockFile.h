#pragma once

#include <string>

namespace platform {

// A lock file that keeps two programs from saving the same file at once,
// without Qt. It follows the on-disk protocol of Qt's QLockFile, so a program
// holding one excludes a program holding the other on the same lock file:
//   - the lock file is created exclusively and holds five lines: process id,
//     program name (the executable's file name), host name, machine id and
//     boot id;
//   - its holder keeps an flock() on it for as long as it holds the lock;
//   - a lock left by a holder that is gone (on this machine: no such process,
//     another program now has its process id, or the machine has restarted
//     since) or that is older than 30 s counts as stale; it is removed under
//     the lock "<lock file>.rmlock", and only while nobody holds an flock()
//     on it, so a live holder never loses its lock.
class LockFile {
public:
    enum class Result {
        Locked,         // this program holds the lock
        HeldElsewhere,  // a live program holds it
        Unavailable,    // the folder cannot hold a lock file (read-only, missing...)
    };

    explicit LockFile(std::string path);
    ~LockFile();  // releases the lock
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // One attempt, without waiting; a stale lock is taken over.
    Result TryLock();
    void Unlock();

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace platform
