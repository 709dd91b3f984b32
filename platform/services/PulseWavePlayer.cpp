#include "platform/services/PulseWavePlayer.h"

#include <pulse/simple.h>
#include <sndfile.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxRate = 192000;
constexpr int kMaxChannels = 8;
constexpr int64_t kMaxSeconds = 60;
constexpr pa_usec_t kBufferUsec = 100'000;

}  // namespace

int64_t PulseWavePlayer::Clip::Frames() const {
    return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0;
}

std::chrono::milliseconds PulseWavePlayer::Clip::Duration() const {
    if (rate <= 0) return std::chrono::milliseconds{0};
    return std::chrono::milliseconds{(Frames() * 1000 + rate - 1) / rate};
}

std::optional<PulseWavePlayer::Clip> PulseWavePlayer::Load(const std::string& file) {
    SF_INFO info{};
    SNDFILE* sf = sf_open(file.c_str(), SFM_READ, &info);
    if (sf == nullptr) return std::nullopt;
    std::optional<Clip> clip;
    if (info.frames > 0 && info.samplerate > 0 && info.samplerate <= kMaxRate &&
        info.channels > 0 && info.channels <= kMaxChannels &&
        info.frames <= kMaxSeconds * info.samplerate) {
        Clip c;
        c.rate = info.samplerate;
        c.channels = info.channels;
        c.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
        const sf_count_t read = sf_readf_short(sf, c.samples.data(), info.frames);
        if (read > 0) {
            c.samples.resize(static_cast<size_t>(read) * static_cast<size_t>(info.channels));
            clip = std::move(c);
        }
    }
    sf_close(sf);
    return clip;
}

// The thread that talks to the sound server. It outlives the player if a
// playback hangs in the server, so the player's destructor never blocks on it.
struct PulseWavePlayer::Worker {
    std::mutex mutex;
    std::condition_variable wake;  // a job or the stop request arrived
    std::condition_variable done;  // the current job finished
    std::optional<Clip> job;
    bool busy = false;
    bool stop = false;
    bool connected = false;  // guarded by mutex; the stream itself is the thread's own
    Clock::time_point retryAt{};

    void Run() {
        pa_simple* stream = nullptr;
        int streamRate = 0;
        int streamChannels = 0;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stop || job.has_value(); });
            if (stop) break;
            Clip clip = std::move(*job);
            job.reset();
            lock.unlock();

            // A stream carries one sample format: reconnect when the file differs.
            if (stream != nullptr && (streamRate != clip.rate || streamChannels != clip.channels)) {
                pa_simple_free(stream);
                stream = nullptr;
            }
            bool failed = false;
            if (stream == nullptr) {
                stream = Connect(clip);
                streamRate = clip.rate;
                streamChannels = clip.channels;
                failed = stream == nullptr;
            }
            if (stream != nullptr && !Write(stream, clip)) {
                // A broken stream is dropped; the next file connects afresh.
                pa_simple_free(stream);
                stream = nullptr;
            }

            lock.lock();
            connected = stream != nullptr;
            if (failed) retryAt = Clock::now() + kRetryAfter;
            busy = false;
            done.notify_all();
        }
        lock.unlock();
        if (stream != nullptr) pa_simple_free(stream);
    }

    static pa_simple* Connect(const Clip& clip) {
        pa_sample_spec format{};
        format.format = PA_SAMPLE_S16NE;
        format.rate = static_cast<uint32_t>(clip.rate);
        format.channels = static_cast<uint8_t>(clip.channels);
        // A short buffer: the drain after each file then returns soon after the
        // sound has ended, instead of a server default of up to two seconds later.
        pa_buffer_attr buffer{};
        buffer.maxlength = static_cast<uint32_t>(-1);
        buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kBufferUsec, &format));
        buffer.prebuf = static_cast<uint32_t>(-1);
        buffer.minreq = static_cast<uint32_t>(-1);
        buffer.fragsize = static_cast<uint32_t>(-1);
        int error = 0;
        return pa_simple_new(nullptr, "GrainTerminal", PA_STREAM_PLAYBACK, nullptr, "event",
                             &format, nullptr, &buffer, &error);
    }

    static bool Write(pa_simple* stream, const Clip& clip) {
        int error = 0;
        if (pa_simple_write(stream, clip.samples.data(), clip.samples.size() * sizeof(int16_t),
                            &error) < 0) {
            return false;
        }
        return pa_simple_drain(stream, &error) >= 0;
    }
};

PulseWavePlayer::PulseWavePlayer() : worker_(std::make_shared<Worker>()) {
    std::thread([w = worker_] { w->Run(); }).detach();
}

PulseWavePlayer::~PulseWavePlayer() {
    std::lock_guard lock(worker_->mutex);
    worker_->stop = true;
    worker_->wake.notify_all();
}

void PulseWavePlayer::Play(const std::string& file) {
    std::optional<Clip> clip = Load(file);
    if (!clip) return;
    const auto duration = clip->Duration();

    std::unique_lock lock(worker_->mutex);
    // An earlier file that ran past its allowance gets one more margin to end;
    // one stuck in the server, or a server unreachable a moment ago, is silence.
    worker_->done.wait_for(lock, kMargin, [this] { return !worker_->busy; });
    if (worker_->busy || Clock::now() < worker_->retryAt) return;
    const auto allowance = duration + kMargin +
                           (worker_->connected ? std::chrono::milliseconds{0} : kConnectAllowance);
    worker_->job = std::move(clip);
    worker_->busy = true;
    worker_->wake.notify_all();
    worker_->done.wait_for(lock, allowance, [this] { return !worker_->busy; });
}

}  // namespace platform
