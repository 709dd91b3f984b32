#pragma once

#include <QLockFile>
#include <string>

namespace platform {
class MessageBoxes;
}

namespace console {

// The lock "<state file>.lock" a console holds for its whole run, so a second
// console (or grain-sim, which takes the same QLockFile on a file it saves)
// beside the same state file cannot overwrite what this one saves. A lock left
// behind by a crashed program is taken over.
class StateLock {
public:
    explicit StateLock(const std::string& statePath);

    // Takes the lock. When another running program holds it, says so in one
    // message box and returns false: this console must then exit without
    // touching the file. A folder that cannot hold a lock file (read-only, for
    // instance) is no reason to refuse: the console runs without the lock.
    bool Take(platform::MessageBoxes& messages);
    // Gives the lock up (also done on destruction).
    void Release();

private:
    std::string statePath_;
    QLockFile lock_;
};

}  // namespace console
