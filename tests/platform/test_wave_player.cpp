#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/PulseWavePlayer.h"

using platform::PulseWavePlayer;

namespace {

void PutLE(QByteArray& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A canonical 16-bit PCM wave file written byte by byte.
QByteArray Wave(int rate, int channels, int frames) {
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * 2);
    QByteArray out;
    out.append("RIFF");
    PutLE(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);  // PCM
    PutLE(out, static_cast<uint32_t>(channels), 2);
    PutLE(out, static_cast<uint32_t>(rate), 4);
    PutLE(out, static_cast<uint32_t>(rate * channels * 2), 4);
    PutLE(out, static_cast<uint32_t>(channels * 2), 2);
    PutLE(out, 16, 2);
    out.append("data");
    PutLE(out, dataBytes, 4);
    for (int i = 0; i < frames * channels; ++i) PutLE(out, static_cast<uint32_t>(i * 37), 2);
    return out;
}

class WavePlayerTest : public ::testing::Test {
protected:
    std::string Write(const char* name, const QByteArray& bytes) {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName().toStdString();
    }
    QTemporaryDir dir_;
};

TEST_F(WavePlayerTest, LoadsMonoWaveWithItsRateAndLength) {
    const auto clip = PulseWavePlayer::Load(Write("Bell.wav", Wave(22050, 1, 2205)));
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(clip->rate, 22050);
    EXPECT_EQ(clip->channels, 1);
    EXPECT_EQ(clip->Frames(), 2205);
    EXPECT_EQ(clip->Duration().count(), 100);
    EXPECT_EQ(clip->samples[3], 111);
}

TEST_F(WavePlayerTest, LoadsStereoWaveAsInterleavedFrames) {
    const auto clip = PulseWavePlayer::Load(Write("Stereo.wav", Wave(44100, 2, 441)));
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(clip->channels, 2);
    EXPECT_EQ(clip->Frames(), 441);
    EXPECT_EQ(clip->samples.size(), 882u);
    EXPECT_EQ(clip->Duration().count(), 10);
}

TEST_F(WavePlayerTest, RejectsMissingEmptyAndNonSoundFiles) {
    EXPECT_FALSE(PulseWavePlayer::Load(dir_.filePath("Absent.wav").toStdString()).has_value());
    EXPECT_FALSE(PulseWavePlayer::Load(Write("Empty.wav", Wave(22050, 1, 0))).has_value());
    EXPECT_FALSE(PulseWavePlayer::Load(Write("Text.wav", "not a sound at all")).has_value());
    EXPECT_FALSE(PulseWavePlayer::Load(Write("Zero.wav", QByteArray())).has_value());
}

TEST_F(WavePlayerTest, RejectsWaveLongerThanAMinute) {
    EXPECT_FALSE(PulseWavePlayer::Load(Write("Long.wav", Wave(8000, 1, 8000 * 61))).has_value());
}

TEST_F(WavePlayerTest, MissingFileIsSilence) {
    PulseWavePlayer player;
    player.Play(dir_.filePath("Absent.wav").toStdString());
    player.Play("");
    SUCCEED();
}

// Without a reachable sound server every playback returns, the second one
// without asking the server again.
TEST_F(WavePlayerTest, UnreachableSoundServerIsSilence) {
    const QByteArray server = dir_.filePath("no-such-server").toUtf8();
    setenv("PULSE_SERVER", ("unix:" + server).constData(), 1);
    const std::string bell = Write("Bell.wav", Wave(22050, 1, 2205));
    PulseWavePlayer player;
    player.Play(bell);
    player.Play(bell);
    unsetenv("PULSE_SERVER");
    SUCCEED();
}

TEST_F(WavePlayerTest, PlayerDestroyedRightAfterPlaybackDoesNotHang) {
    const std::string bell = Write("Bell.wav", Wave(22050, 1, 220));
    for (int i = 0; i < 3; ++i) {
        PulseWavePlayer player;
        player.Play(bell);
    }
    SUCCEED();
}

}  // namespace
