// The Modbus server over loopback, on its own thread beside a controller
// thread, as the console keeps them, and the clients on other threads:
//  - the time a client takes to read the whole map (every input-register
//    block, four requests); goal: at most 1 ms;
//  - the server thread's CPU time while 16 clients each read the whole map ten
//    times a second; goal: under 2 % of a core. The server thread's own CPU
//    clock is used, so the clients' work in this process is not counted.

#include <benchmark/benchmark.h>
#include <modbus/modbus.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

#include "modbus/PlantExchange.h"
#include "modbus/PlantRegisters.h"
#include "modbus/Server.h"
#include "modbus/ServerThread.h"
#include "tests/plant/PlantRig.h"

namespace {

using Clock = std::chrono::steady_clock;

// The input-register blocks: devices, routes, silos, totals.
struct Block {
    int address;
    int count;
};
constexpr Block kBlocks[] = {{0, 72}, {100, 48}, {200, 16}, {300, 9}};

// The plant, its controller and a server as the console keeps them: the server
// on its own thread answering from the published image, and (when `cycles` is
// set) a controller thread running a cycle every 300 ms, taking the queued
// commands in and publishing the image after each.
class Host {
public:
    explicit Host(bool cycles)
        : exchange_(rig_.plant),
          registers_(exchange_),
          server_(registers_, Options()) {
        server_.Listen();
        exchange_.Publish();
        serving_ = std::make_unique<modbus::ServerThread>(server_);
        if (cycles) controller_ = std::thread([this] { RunCycles(); });
    }
    ~Host() {
        stop_ = true;
        if (controller_.joinable()) controller_.join();
        serving_.reset();
    }
    uint16_t Port() const { return server_.Port(); }
    // CPU time the server's thread has used so far, in seconds.
    double CpuSeconds() {
        clockid_t clock;
        pthread_getcpuclockid(serving_->NativeHandle(), &clock);
        timespec ts{};
        clock_gettime(clock, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
    }

private:
    static modbus::ServerOptions Options() {
        modbus::ServerOptions options;
        options.port = 0;
        return options;
    }
    void RunCycles() {
        constexpr auto kPeriod = std::chrono::milliseconds(plant::kEmulatorIntervalMs);
        Clock::time_point next = Clock::now() + kPeriod;
        while (!stop_) {
            std::this_thread::sleep_for(
                std::min<Clock::duration>(next - Clock::now(), std::chrono::milliseconds(50)));
            if (Clock::now() < next) continue;
            exchange_.TakeCommands();
            rig_.Tick();
            exchange_.Publish();
            next += kPeriod;
        }
    }

    plant_test::PlantRig rig_;
    modbus::PlantExchange exchange_;
    modbus::PlantRegisters registers_;
    modbus::Server server_;
    std::unique_ptr<modbus::ServerThread> serving_;
    std::atomic<bool> stop_{false};
    std::thread controller_;
};

modbus_t* Connect(uint16_t port) {
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
    if (modbus_connect(ctx) != 0) {
        modbus_free(ctx);
        return nullptr;
    }
    return ctx;
}

void Disconnect(modbus_t* ctx) {
    modbus_close(ctx);
    modbus_free(ctx);
}

bool ReadWholeMap(modbus_t* ctx, uint16_t* values) {
    for (const Block& b : kBlocks) {
        if (modbus_read_input_registers(ctx, b.address, b.count, values) != b.count) return false;
    }
    return true;
}

void BM_ReadWholeMap(benchmark::State& state) {
    Host host(true);
    modbus_t* ctx = Connect(host.Port());
    if (!ctx) {
        state.SkipWithError("cannot connect");
        return;
    }
    uint16_t values[MODBUS_MAX_READ_REGISTERS];
    for (auto _ : state) {
        if (!ReadWholeMap(ctx, values)) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(values);
    }
    Disconnect(ctx);
}
BENCHMARK(BM_ReadWholeMap)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_SixteenClientsTenReadsASecond(benchmark::State& state) {
    constexpr int kClients = 16;
    constexpr auto kPeriod = std::chrono::milliseconds(100);
    constexpr auto kMeasured = std::chrono::seconds(3);
    for (auto _ : state) {
        Host host(false);
        std::atomic<long> reads{0};
        std::atomic<bool> failed{false};
        const Clock::time_point start = Clock::now();
        const double cpuBefore = host.CpuSeconds();
        std::vector<std::thread> clients;
        for (int c = 0; c < kClients; ++c) {
            clients.emplace_back([&, c] {
                modbus_t* ctx = Connect(host.Port());
                if (!ctx) {
                    failed = true;
                    return;
                }
                uint16_t values[MODBUS_MAX_READ_REGISTERS];
                // Spread the clients over the period, as independent pollers are.
                Clock::time_point next = start + kPeriod * c / kClients;
                while (next < start + kMeasured) {
                    std::this_thread::sleep_until(next);
                    if (!ReadWholeMap(ctx, values)) failed = true;
                    ++reads;
                    next += kPeriod;
                }
                Disconnect(ctx);
            });
        }
        for (std::thread& t : clients) t.join();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = host.CpuSeconds() - cpuBefore;
        state.SetIterationTime(wall);
        state.counters["server_cpu_percent"] = 100.0 * cpu / wall;
        state.counters["map_reads"] = static_cast<double>(reads);
        if (failed) state.SkipWithError("a client read failed");
    }
}
BENCHMARK(BM_SixteenClientsTenReadsASecond)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
