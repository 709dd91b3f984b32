#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "tools/grain-sim/Runner.h"

namespace grainsim {

// What `grain-sim --serve` was asked for.
struct ServeOptions {
    std::string address = "127.0.0.1";  // numeric IPv4 or IPv6 address
    uint16_t port = 0;                  // 0: the system picks a free port
    bool faults = false;                // serve the trainer's fault registers
    std::string statePath;              // saved on the way out when not empty
};

// Reads "[ADDRESS:]PORT" into `options`: "5020", "127.0.0.1:5020", "[::1]:5020".
// Returns what is wrong with it, or nothing.
std::optional<std::string> ParseServeAddress(const std::string& text, ServeOptions& options);

// Runs the started plant in real time (a controller cycle every 300 ms, a
// wagon-timer second every second, both scheduled from a steady clock) and
// serves it over Modbus TCP until SIGINT, SIGTERM or SIGHUP; then saves the
// state file when one was given. Prints one line when it listens, the journal
// and sound lines of the run (their tick is the controller's cycle number),
// and a line for each client that comes or goes. Returns the exit status.
int Serve(Runner& runner, const ServeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace grainsim
