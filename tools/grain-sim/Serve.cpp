#include "tools/grain-sim/Serve.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <random>

#include "modbus/PlantExchange.h"
#include "modbus/PlantRegisters.h"
#include "modbus/Server.h"
#include "state/StateFile.h"

namespace grainsim {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The console's timers: the controller cycle and the wagon timer.
constexpr Clock::duration kCyclePeriod = std::chrono::milliseconds(plant::kEmulatorIntervalMs);
constexpr Clock::duration kWagonPeriod = 1s;
constexpr int kWagonDraws = 200;

constexpr int kUnwritableState = 1;
constexpr int kUnwritableOutput = 3;
constexpr int kCannotListen = 5;

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void OnStopSignal(int number) {
    stopSignal = number;
}

// Turns a shutdown, a logout, Ctrl+C or a closed terminal into the end of the
// serving loop, so the plant is saved; the handlers are put back afterwards.
// A signal the caller ignores stays ignored (nohup). No SA_RESTART: the signal
// also cuts the server's wait short.
class StopSignals {
public:
    StopSignals() {
        stopSignal = 0;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        for (std::size_t k = 0; k < std::size(kSignals); ++k) {
            sigaction(kSignals[k], nullptr, &previous_[k]);
            if (previous_[k].sa_handler != SIG_IGN) sigaction(kSignals[k], &action, nullptr);
        }
    }
    ~StopSignals() {
        for (std::size_t k = 0; k < std::size(kSignals); ++k) {
            sigaction(kSignals[k], &previous_[k], nullptr);
        }
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous_[std::size(kSignals)]{};
};

// The next time a periodic timer is due after it fired at `due`: one period
// on, so the timer keeps its phase and does not drift; periods missed while
// the process stood still are skipped rather than run in a burst, as the
// console's timers skip them.
Clock::time_point NextDue(Clock::time_point due, Clock::duration period, Clock::time_point now) {
    due += period;
    if (due <= now) due += period * ((now - due) / period + 1);
    return due;
}

// Milliseconds from `now` until `due`, rounded up so the wait never ends
// before it is due (a wait that ends early would spin).
int WaitMs(Clock::time_point now, Clock::time_point due) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - now);
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

}  // namespace

std::optional<std::string> ParseServeAddress(const std::string& text, ServeOptions& options) {
    std::string address = options.address;
    std::string port = text;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find("]:");
        if (close == std::string::npos) return "'" + text + "' is not [ADDRESS]:PORT";
        address = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else if (const std::size_t colon = text.rfind(':'); colon != std::string::npos) {
        address = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (address.empty()) return "no address before the port in '" + text + "'";
    if (!AllDigits(port) || port.size() > 5 || std::stoi(port) > 65535) {
        return "port '" + port + "' is not a number 0..65535";
    }
    options.address = address;
    options.port = static_cast<uint16_t>(std::stoi(port));
    return std::nullopt;
}

int Serve(Runner& runner, const ServeOptions& options, std::ostream& out, std::ostream& err) {
    // The console's road for the map, on one thread: the server answers from the
    // image published after each cycle and wagon tick, and each cycle takes the
    // commands written since the one before.
    modbus::PlantExchange exchange(runner.Plant());
    modbus::PlantRegisters registers(exchange);
    registers.SetFaultsEnabled(options.faults);
    modbus::ServerOptions serverOptions;
    serverOptions.address = options.address;
    serverOptions.port = options.port;
    modbus::ServerEvents events;
    events.clientConnected = [&out](const std::string& peer) {
        out << "# connected " << peer << '\n';
    };
    events.clientDisconnected = [&out](const std::string& peer) {
        out << "# disconnected " << peer << '\n';
    };
    modbus::Server server(registers, serverOptions, std::move(events));

    // In place before the listening line, so whoever reads it may stop us at once.
    const StopSignals signals;
    if (const modbus::ListenResult listening = server.Listen(); !listening) {
        err << "grain-sim: cannot serve Modbus TCP: " << listening.error << '\n';
        return kCannotListen;
    }
    out << "# serving Modbus TCP on " << server.Endpoint() << std::endl;
    exchange.Publish();

    // The wagon timer's draws, from a generator seeded by the clock as the
    // console's are.
    std::mt19937 dice(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<int> draw(0, kWagonDraws - 1);
    const Clock::time_point start = Clock::now();
    Clock::time_point nextCycle = start + kCyclePeriod;
    Clock::time_point nextSecond = start + kWagonPeriod;
    bool outputFailed = !out;
    while (stopSignal == 0 && !outputFailed) {
        const Clock::time_point now = Clock::now();
        if (now >= nextCycle) {
            exchange.TakeCommands();
            runner.Cycle();
            exchange.Publish();
            nextCycle = NextDue(nextCycle, kCyclePeriod, now);
        } else if (now >= nextSecond) {
            runner.WagonTick(draw(dice));
            exchange.Publish();
            nextSecond = NextDue(nextSecond, kWagonPeriod, now);
        } else {
            server.Poll(WaitMs(now, std::min(nextCycle, nextSecond)));
        }
        outputFailed = !out.flush();
    }

    server.Stop();
    out.flush();
    int status = 0;
    if (outputFailed) {
        err << "grain-sim: cannot write to standard output\n";
        status = kUnwritableOutput;
    }
    if (!options.statePath.empty() && !state::SaveState(runner.Plant(), options.statePath, '.')) {
        err << "grain-sim: Unable to write to " << options.statePath << '\n';
        status = kUnwritableState;
    }
    return status;
}

}  // namespace grainsim
