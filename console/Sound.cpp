#include "console/Sound.h"

namespace console {

Sound::Sound(platform::WavePlayer& player, std::function<bool()> soundOn)
    : player_(player), soundOn_(std::move(soundOn)) {}

void Sound::Play(const std::string& file) {
    player_.Play(file);
}

bool Sound::SoundOn() const {
    return soundOn_ ? soundOn_() : true;
}

}  // namespace console
