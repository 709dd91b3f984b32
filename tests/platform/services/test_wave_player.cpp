#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/services/PulseWavePlayer.h"

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

// A sound server stand-in on a Unix socket in the test's folder. It counts the
// clients that connect and either hangs up on them at once (a server that turns
// the client away) or keeps them waiting without a word (a stalled server).
class FakeSoundServer {
public:
    enum class Behaviour { HangUp, Stall };

    FakeSoundServer(const std::string& path, Behaviour behaviour) : behaviour_(behaviour) {
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        EXPECT_LT(path.size(), sizeof(address.sun_path));
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(listen(listener_, 8), 0);
        thread_ = std::thread([this] { Serve(); });
        setenv("PULSE_SERVER", ("unix:" + path).c_str(), 1);
    }

    ~FakeSoundServer() {
        unsetenv("PULSE_SERVER");
        shutdown(listener_, SHUT_RDWR);  // ends the blocking accept
        thread_.join();
        close(listener_);
        for (int client : held_) close(client);
    }

    int Connections() const { return connections_; }

private:
    void Serve() {
        for (;;) {
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            ++connections_;
            if (behaviour_ == Behaviour::HangUp) {
                close(client);
            } else {
                held_.push_back(client);
            }
        }
    }

    Behaviour behaviour_;
    int listener_ = -1;
    std::atomic<int> connections_{0};
    std::vector<int> held_;  // the serving thread's own until it is joined
    std::thread thread_;
};

TEST_F(WavePlayerTest, MissingOrUnnamedFileIsSilenceWithoutCallingTheServer) {
    FakeSoundServer server(dir_.filePath("pulse").toStdString(),
                           FakeSoundServer::Behaviour::HangUp);
    PulseWavePlayer player;
    player.Play(dir_.filePath("Absent.wav").toStdString());
    player.Play("");
    player.Play(Write("Text.wav", "not a sound at all"));
    EXPECT_EQ(server.Connections(), 0);
}

// A server that turns the player away is silence, and is not asked again for
// the next files (each attempt would hold up the console).
TEST_F(WavePlayerTest, ServerThatTurnsThePlayerAwayIsNotAskedAgainAtOnce) {
    FakeSoundServer server(dir_.filePath("pulse").toStdString(),
                           FakeSoundServer::Behaviour::HangUp);
    const std::string bell = Write("Bell.wav", Wave(22050, 1, 2205));
    PulseWavePlayer player;
    player.Play(bell);
    player.Play(bell);
    player.Play(bell);
    EXPECT_EQ(server.Connections(), 1);
}

// A server that never answers keeps the player's thread waiting; the playback
// returns after its allowance, and so does the player's destructor, without
// waiting for that thread.
TEST_F(WavePlayerTest, StalledServerNeitherHoldsThePlaybackNorThePlayersEnd) {
    FakeSoundServer server(dir_.filePath("pulse").toStdString(), FakeSoundServer::Behaviour::Stall);
    const std::string bell = Write("Bell.wav", Wave(22050, 1, 220));
    {
        PulseWavePlayer player;
        player.Play(bell);
    }
    EXPECT_EQ(server.Connections(), 1);
}

}  // namespace
