#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace grainsim {

// One line of a grain-sim script.
struct Command {
    enum class Verb { Tick, Dev, RouteStart, RouteStop, Reset, Print, Save, Vagon, Fault, Alarms };

    Verb verb = Verb::Tick;
    int line = 0;      // 1-based line number in the script
    long count = 1;    // tick: number of controller cycles
    int index = 0;     // dev, fault: device 1..18; route: route 1..12; vagon: draw 0..199
    int32_t code = 0;  // dev: command code posted; fault: plant::kFault* posted
    std::string file;  // save: state file path
};

struct ScriptError {
    int line = 0;
    std::string what;
};

struct Script {
    std::vector<Command> commands;
    std::optional<ScriptError> error;  // the first bad line; nothing may run then
};

// Longest script line read, in bytes; a longer line is an error rather than
// something to hold in memory.
constexpr std::size_t kLongestLine = 4096;

// Reads the whole script. One command a line; a '#' that begins a word starts a
// comment to the end of the line, and lines left blank are skipped; white space
// (blank, tab, CR, vertical tab, form feed) separates words and is ignored
// around them. A line longer than kLongestLine or a read error is reported as
// the script's error.
//   tick [N]            N >= 0 controller cycles (default 1)
//   dev I CODE          post CODE into device I's command: 1 open / on,
//                       2 close / off, 3 stop, 10 reset alarm, 20 local,
//                       21 remote, 22 automatic, 23 repair
//   route R start|stop  a confirmed click on route R
//   reset               zero the shipped tonnage
//   print               dump the tables
//   save FILE           write the state file (FILE is the rest of the line)
//   vagon R             one wagon/temperature tick with R as the random draw
//   fault I trip|jam|clear  post a trainer fault for device I (trip: drives,
//                       jam: gate valves) or clear it
//   alarms              print which devices are in alarm
Script ParseScript(std::istream& in);

// Parses a line; returns the error text, or nothing when `out` was filled.
// Lines blank once their comment is gone give no error and leave `skip` true.
std::optional<std::string> ParseLine(const std::string& line, Command& out, bool& skip);

}  // namespace grainsim
