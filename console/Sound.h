#pragma once

#include <functional>
#include <string>

#include "plant/Outlets.h"
#include "platform/services/WavePlayer.h"

namespace console {

// The sound outlet: plays wave files by bare name through the platform player
// and reports the operator's sound switch. Which events respect the switch is
// the caller's decision, so Play always plays.
class Sound : public plant::SoundOutlet {
public:
    Sound(platform::WavePlayer& player, std::function<bool()> soundOn);

    void Play(const std::string& file) override;
    bool SoundOn() const override;

private:
    platform::WavePlayer& player_;
    std::function<bool()> soundOn_;
};

}  // namespace console
