#pragma once

#include <string>

namespace platform {

// An exclusive lock for the Qt-free libraries on a file only they lock (the
// event archive, the users file): an flock() on "<file>.lock", held for as long
// as the lock is. The kernel lets go of it when its holder ends, however it
// ends, so a lock left by a crash is simply free. The console and grain-sim
// lock the state file they share with Qt's QLockFile instead.
class LockFile {
public:
    enum class Result {
        Locked,         // this program holds the lock
        HeldElsewhere,  // another holds it
        Unavailable,    // the folder cannot hold a lock file (read-only, missing...)
    };

    explicit LockFile(std::string path);
    ~LockFile();  // releases the lock
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // One attempt, without waiting; holding it already is Locked.
    Result TryLock();
    void Unlock();

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace platform
