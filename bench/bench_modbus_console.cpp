// The Modbus server inside the running console: the console program of this
// build (build/app/GrainTerminal), copied into a scratch folder whose state
// file switches the server on, measured from outside the process:
//  - the time a client takes to read the whole map (every input-register
//    block, four requests), each request answered by the console's event
//    loop; goal: at most 1 ms;
//  - the console's CPU time while 16 clients each read the whole map ten times
//    a second, against the same span with no client; goal: the difference
//    under 2 % of a core;
//  - with a sound server: routes started and stopped over Modbus while a client
//    reads the totals every 50 ms, the longest gap between its replies and
//    their 99th percentile, and the share of controller cycles the sounds cost.
//    Without a sound server every wave file is silence and the run shows no
//    wait (README, Performance: the PulseAudio null sink).
// The console runs under the Qt platform of the environment (offscreen unless
// one is chosen or a display is there), in a scratch folder with the wave files
// of the source tree. BENCH_SECONDS sets each CPU span (20 s),
// BENCH_SOUND_SECONDS the span of the routes (120 s); BENCH_CONSOLE runs another
// build's console (an older one, to compare), reading only the registers both
// serve.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <modbus/modbus.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Block {
    int address;
    int count;
};
constexpr Block kBlocks[] = {{0, 72}, {100, 48}, {200, 16}, {300, 9}};

bool ReadWholeMap(modbus_t* ctx, uint16_t* values) {
    for (const Block& b : kBlocks) {
        if (modbus_read_input_registers(ctx, b.address, b.count, values) != b.count) return false;
    }
    return true;
}

// A loopback port nobody listens on at the moment.
uint16_t FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
}

int EnvSeconds(const char* name, int otherwise) {
    const char* text = std::getenv(name);
    return text ? std::max(1, std::atoi(text)) : otherwise;
}

// The console in a scratch folder with the wave files, serving on a loopback port.
class Console {
public:
    Console() {
        const char* other = std::getenv("BENCH_CONSOLE");
        const fs::path built =
            other ? fs::path(other)
                  : fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" /
                        "GrainTerminal";
        folder_ = fs::temp_directory_path() / ("bench-modbus-console-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        fs::copy_file(built, folder_ / "GrainTerminal", fs::copy_options::overwrite_existing);
        std::error_code ignored;
        for (const auto& wave : fs::directory_iterator(GT_SOUNDS_DIR, ignored)) {
            fs::create_symlink(wave.path(), folder_ / wave.path().filename(), ignored);
        }
        port_ = FreePort();
        std::ofstream(folder_ / "GrainTerminal.INI") << "[Modbus]\nPort=" << port_ << '\n';
        if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(folder_.c_str()) != 0) _exit(127);
            if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) {
                _exit(127);
            }
            execl("./GrainTerminal", "GrainTerminal", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Console() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    uint16_t Port() const { return port_; }

    // A client connected once the start-up has started the server (nullptr
    // when it does not within 30 s).
    modbus_t* Connect() const {
        for (int k = 0; k < 300; ++k) {
            modbus_t* ctx = modbus_new_tcp("127.0.0.1", port_);
            if (modbus_connect(ctx) == 0) return ctx;
            modbus_free(ctx);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return nullptr;
    }

    // CPU time of every thread of the console so far, in seconds.
    double CpuSeconds() const {
        const std::string tasks = "/proc/" + std::to_string(pid_) + "/task";
        double total = 0;
        for (const auto& task : fs::directory_iterator(tasks)) {
            std::ifstream in(task.path() / "schedstat");
            unsigned long long running = 0;
            in >> running;
            total += static_cast<double>(running) * 1e-9;
        }
        return total;
    }

private:
    fs::path folder_;
    uint16_t port_ = 0;
    pid_t pid_ = -1;
};

Console* console = nullptr;

void Disconnect(modbus_t* ctx) {
    modbus_close(ctx);
    modbus_free(ctx);
}

void BM_ConsoleReadWholeMap(benchmark::State& state) {
    modbus_t* ctx = console->Connect();
    if (!ctx) {
        state.SkipWithError("the console does not serve");
        return;
    }
    uint16_t values[MODBUS_MAX_READ_REGISTERS];
    std::vector<double> times;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        if (!ReadWholeMap(ctx, values)) {
            state.SkipWithError("read failed");
            break;
        }
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        state.counters["p99_us"] = times[times.size() * 99 / 100];
        state.counters["max_us"] = times.back();
    }
    Disconnect(ctx);
}
BENCHMARK(BM_ConsoleReadWholeMap)->UseRealTime()->Unit(benchmark::kMicrosecond)->MinTime(3.0);

// The console's share of a core over `span`, while `clients` pollers run.
double ConsoleShare(int clients, Clock::duration span, bool& failed) {
    constexpr auto kPeriod = std::chrono::milliseconds(100);
    std::vector<modbus_t*> contexts;
    for (int c = 0; c < clients; ++c) {
        if (modbus_t* ctx = console->Connect()) contexts.push_back(ctx);
    }
    if (static_cast<int>(contexts.size()) != clients) failed = true;
    std::this_thread::sleep_for(std::chrono::seconds(1));  // the connections settle
    const Clock::time_point start = Clock::now();
    const double cpuBefore = console->CpuSeconds();
    std::vector<std::thread> pollers;
    for (std::size_t c = 0; c < contexts.size(); ++c) {
        pollers.emplace_back([&, c] {
            uint16_t values[MODBUS_MAX_READ_REGISTERS];
            // Spread over the period, as independent pollers are.
            Clock::time_point next = start + kPeriod * c / contexts.size();
            while (next < start + span) {
                std::this_thread::sleep_until(next);
                if (!ReadWholeMap(contexts[c], values)) failed = true;
                next += kPeriod;
            }
        });
    }
    for (std::thread& t : pollers) t.join();
    if (clients == 0) std::this_thread::sleep_until(start + span);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double share = 100.0 * (console->CpuSeconds() - cpuBefore) / wall;
    for (modbus_t* ctx : contexts) Disconnect(ctx);
    return share;
}

void BM_ConsoleSixteenPollers(benchmark::State& state) {
    const auto span = std::chrono::seconds(EnvSeconds("BENCH_SECONDS", 20));
    for (auto _ : state) {
        bool failed = false;
        const double quiet = ConsoleShare(0, span, failed);
        const double polled = ConsoleShare(16, span, failed);
        state.counters["quiet_cpu_percent"] = quiet;
        state.counters["polled_cpu_percent"] = polled;
        state.counters["added_cpu_percent"] = polled - quiet;
        state.SetIterationTime(2.0 * std::chrono::duration<double>(span).count());
        if (failed) state.SkipWithError("a client failed");
    }
}
BENCHMARK(BM_ConsoleSixteenPollers)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

uint32_t CycleCounter(const uint16_t* totals) {
    return static_cast<uint32_t>(totals[0]) << 16 | totals[1];
}

// Route 2 (shipping from silo 2, which runs on the default stocks) started,
// and stopped once it runs, over and over, while one client reads the totals
// every 50 ms and notes when each reply came; the wagon timer raises silo
// temperature alarms as it draws them. Each start and stop plays about 4 s of
// announcement, a temperature alarm about 3.7 s.
void BM_ConsoleRoutesWithSound(benchmark::State& state) {
    constexpr auto kPollPeriod = std::chrono::milliseconds(50);
    constexpr int kRoute2Command = 101, kRoute2State = 104, kSilos = 200;
    const auto span = std::chrono::seconds(EnvSeconds("BENCH_SOUND_SECONDS", 120));
    for (auto _ : state) {
        modbus_t* poller = console->Connect();
        modbus_t* driver = console->Connect();
        if (!poller || !driver) {
            state.SkipWithError("the console does not serve");
            return;
        }
        modbus_set_response_timeout(poller, 30, 0);
        modbus_set_response_timeout(driver, 30, 0);
        uint16_t totals[9];
        if (modbus_read_input_registers(poller, 300, 9, totals) != 9) {
            state.SkipWithError("read failed");
            return;
        }
        const Clock::time_point start = Clock::now();
        const uint32_t firstCycle = CycleCounter(totals);
        std::atomic<bool> failed{false};
        std::vector<Clock::time_point> replies;
        uint32_t lastCycle = firstCycle;
        std::thread polling([&] {
            for (Clock::time_point next = start; next < start + span; next += kPollPeriod) {
                std::this_thread::sleep_until(next);
                if (modbus_read_input_registers(poller, 300, 9, totals) != 9) {
                    failed = true;
                    return;
                }
                replies.push_back(Clock::now());
                lastCycle = CycleCounter(totals);
            }
        });
        int starts = 0;
        int alarms = 0;
        uint16_t overheated[4] = {};
        uint16_t seen = 0;
        int commandedAt = -1;  // the route's state when the last command was taken
        // From each start written to the first read that shows the route starting:
        // the announcement, and the cycle that plays it.
        std::vector<std::pair<Clock::time_point, Clock::time_point>> announcements;
        Clock::time_point startWritten{};
        while (Clock::now() < start + span && !failed) {
            uint16_t route[4];
            uint16_t silos[16];
            if (modbus_read_input_registers(driver, kRoute2State, 4, route) != 4 ||
                modbus_read_input_registers(driver, kSilos, 16, silos) != 16) {
                failed = true;
                break;
            }
            for (int n = 0; n < 4; ++n) {
                const uint16_t now = silos[4 * n + 3];
                if (now == 1 && overheated[n] == 0) ++alarms;
                overheated[n] = now;
            }
            if (route[0] == 1 && seen != 1) {
                ++starts;
                if (startWritten != Clock::time_point{}) {
                    announcements.emplace_back(startWritten, Clock::now());
                }
                startWritten = {};
            }
            seen = route[0];
            // One command per state: a command waits for its cycle, which a
            // sound may hold, and the state read meanwhile is the old one.
            const bool stopped = route[0] == 0 && route[3] == 1;
            const bool running = route[0] == 2;
            if ((stopped || running) && route[0] != commandedAt) {
                const Clock::time_point asked = Clock::now();
                if (modbus_write_register(driver, kRoute2Command, stopped ? 1 : 2) == 1) {
                    commandedAt = route[0];
                    if (stopped) startWritten = asked;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        polling.join();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        // Gaps between replies, all of them and those that overlap an announcement.
        std::vector<double> gaps;
        std::vector<double> announced;
        for (std::size_t k = 1; k < replies.size(); ++k) {
            const double gap =
                std::chrono::duration<double, std::milli>(replies[k] - replies[k - 1]).count();
            gaps.push_back(gap);
            for (const auto& [from, until] : announcements) {
                if (replies[k] > from && replies[k - 1] < until) {
                    announced.push_back(gap);
                    break;
                }
            }
        }
        for (auto* sample : {&gaps, &announced}) std::sort(sample->begin(), sample->end());
        if (!gaps.empty()) {
            state.counters["max_gap_ms"] = gaps.back();
            state.counters["p99_gap_ms"] = gaps[gaps.size() * 99 / 100];
        }
        if (!announced.empty()) {
            state.counters["start_max_gap_ms"] = announced.back();
            state.counters["start_p99_gap_ms"] = announced[announced.size() * 99 / 100];
        }
        const double due = seconds * 1000.0 / 300.0;
        state.counters["cycles_lost_percent"] = 100.0 * (1.0 - (lastCycle - firstCycle) / due);
        state.counters["route_starts"] = starts;
        state.counters["temperature_alarms"] = alarms;
        state.SetIterationTime(seconds);
        Disconnect(poller);
        Disconnect(driver);
        if (failed) state.SkipWithError("a client failed");
    }
}
BENCHMARK(BM_ConsoleRoutesWithSound)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Console running;
    console = &running;
    // Start-up takes about five seconds; the server starts with the controller,
    // a second before the diagram is shown, which is waited for as well.
    if (modbus_t* ctx = running.Connect()) Disconnect(ctx);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    console = nullptr;
    return 0;
}
