#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/WavePlayer.h"

namespace platform {

// Plays wave files through the PulseAudio simple API, one at a time, returning
// when the file has played. The sound server is reached from a worker thread
// that owns the connection, so every wait of the calling (UI) thread is bounded:
// a playback gets the file's duration plus a margin, a first connection a few
// seconds more. A missing file, no sound server or a stalled server is silence.
class PulseWavePlayer : public WavePlayer {
public:
    // A decoded file: interleaved 16-bit samples.
    struct Clip {
        int rate = 0;
        int channels = 0;
        std::vector<int16_t> samples;

        int64_t Frames() const;
        std::chrono::milliseconds Duration() const;
    };

    PulseWavePlayer();
    ~PulseWavePlayer() override;
    PulseWavePlayer(const PulseWavePlayer&) = delete;
    PulseWavePlayer& operator=(const PulseWavePlayer&) = delete;

    void Play(const std::string& file) override;

    // Reads a sound file into memory; nothing for a missing, unreadable or
    // implausible file (no frames, odd rate or channel count, longer than a minute).
    static std::optional<Clip> Load(const std::string& file);

    // Extra time a playback may take beyond its duration before the caller moves on.
    static constexpr std::chrono::milliseconds kMargin{500};
    // Extra time allowed when the connection to the server has to be made first.
    static constexpr std::chrono::milliseconds kConnectAllowance{2000};
    // After a failed connection the server is not asked again for this long.
    static constexpr std::chrono::seconds kRetryAfter{30};

private:
    struct Worker;
    std::shared_ptr<Worker> worker_;
};

}  // namespace platform
