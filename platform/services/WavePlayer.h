#pragma once

#include <string>

namespace platform {

// Synchronous playback of a wave file by name (relative names resolve against the
// working directory). Returns when the file has played to its end; a missing or
// unplayable file, or no sound device, is silence.
class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    virtual void Play(const std::string& file) = 0;
};

}  // namespace platform
