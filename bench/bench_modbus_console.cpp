// The Modbus server inside the running console: the console program of this
// build (build/app/GrainTerminal), copied into a scratch folder whose state
// file switches the server on, measured from outside the process:
//  - the time a client takes to read the whole map (every input-register
//    block, four requests), each request answered by the console's event
//    loop; goal: at most 1 ms;
//  - the console's CPU time while 16 clients each read the whole map ten times
//    a second, against the same span with no client; goal: the difference
//    under 2 % of a core.
// The console runs under the Qt platform of the environment (offscreen unless
// one is chosen or a display is there). BENCH_SECONDS sets each CPU span (20 s).

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
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
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

// The console in a scratch folder, serving on a loopback port.
class Console {
public:
    Console() {
        const fs::path built = fs::read_symlink("/proc/self/exe").parent_path().parent_path() /
                               "app" / "GrainTerminal";
        folder_ = fs::temp_directory_path() / ("bench-modbus-console-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        fs::copy_file(built, folder_ / "GrainTerminal", fs::copy_options::overwrite_existing);
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
    const char* seconds = std::getenv("BENCH_SECONDS");
    const auto span = std::chrono::seconds(seconds ? std::max(1, std::atoi(seconds)) : 20);
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
