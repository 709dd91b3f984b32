#pragma once

// Random and mutated grain-sim scripts for the parser, shared by the short fuzz
// test and the standalone long run. Deterministic for a given seed.

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "plant/Plant.h"
#include "tools/grain-sim/Script.h"

namespace scriptfuzz {

class ScriptGenerator {
public:
    explicit ScriptGenerator(uint32_t seed) : random_(seed) {}

    // The next script: random bytes, random lines of words, or a mutated valid
    // script, in turn.
    std::string Next() {
        switch (count_++ % 3) {
            case 0:
                return RandomBytes();
            case 1:
                return RandomLines();
            default:
                return Mutated(kValid[Below(kValid.size())]);
        }
    }

private:
    std::size_t Below(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }
    bool OneIn(std::size_t n) { return Below(n) == 0; }

    template <std::size_t N>
    const char* Pick(const std::array<const char*, N>& items) {
        return items[Below(N)];
    }

    // Every character the C library counts as white space, and a NUL.
    static constexpr std::array<const char*, 8> kBlanks = {" ",  "\t", "\r",   "\n",
                                                           "\v", "\f", "\r\n", "\0"};
    static constexpr std::array<const char*, 17> kWords = {
        "tick", "dev", "route", "start", "stop", "reset", "print", "save",  "vagon",
        "#",    "-",   "0x",    "fault", "trip", "jam",   "clear", "alarms"};
    static constexpr std::array<const char*, 14> kNumbers = {
        "0",   "1",  "18",         "19",         "12",          "13",
        "199", "-1", "2147483647", "2147483648", "-2147483649", "99999999999999999999",
        "1e3", "+5"};
    static constexpr std::array<const char*, 6> kValid = {
        "# demo\r\ntick\n  tick 250  \n\ndev 18 23\nroute 7 start\nroute 12 stop\n",
        "reset\nprint\nsave /tmp/state file.INI\nvagon 0\nvagon 199",
        "dev 1 21\ntick 2\ndev 1 1\ntick 32\nprint\n",
        "route 2 start\ntick 149\nprint\nreset\nprint\nroute 2 stop\n",
        "\v\ntick\n\f\n\t\v tick \f 3\r\n",
        "route 1 start\ntick 60\nfault 14 trip\nfault 2 jam\ntick\nalarms\nfault 14 clear\n",
    };

    std::string Blank() {
        const char* blank = Pick(kBlanks);
        return blank[0] == '\0' ? std::string(1, '\0') : std::string(blank);
    }

    std::string RandomBytes() {
        std::string text;
        const std::size_t length = Below(200);
        for (std::size_t i = 0; i < length; ++i) {
            switch (Below(4)) {
                case 0:
                    text += Blank();
                    break;
                case 1:
                    text += Pick(kWords);
                    break;
                default:
                    text += static_cast<char>(Below(256));
                    break;
            }
        }
        return text;
    }

    std::string RandomLines() {
        std::string text;
        const std::size_t lines = Below(12);
        for (std::size_t l = 0; l < lines; ++l) {
            const std::size_t words = Below(5);
            for (std::size_t w = 0; w < words; ++w) {
                if (w > 0 || OneIn(3)) text += Blank();
                text += OneIn(2) ? Pick(kWords) : Pick(kNumbers);
            }
            if (OneIn(20)) text += std::string(Below(6000), 'x');  // near and over the cap
            text += OneIn(5) ? "\r\n" : "\n";
        }
        return text;
    }

    std::string Mutated(std::string text) {
        const std::size_t edits = 1 + Below(6);
        for (std::size_t e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = Below(text.size());
            switch (Below(5)) {
                case 0:
                    text[at] = static_cast<char>(Below(256));
                    break;
                case 1:
                    text.erase(at, Below(10));
                    break;
                case 2:
                    text.insert(at, Blank());
                    break;
                case 3:
                    text.insert(at, text.substr(Below(text.size()), Below(30)));
                    break;
                default:
                    text.insert(at, Pick(kNumbers));
                    break;
            }
        }
        return text;
    }

    std::mt19937 random_;
    uint64_t count_ = 0;
};

// Empty when the parse of `bytes` is one the runner can execute safely: either
// an error with nothing kept, or commands whose numbers index the plant's
// tables within their bounds; otherwise what is wrong.
inline std::string CheckParse(const std::string& bytes) {
    std::istringstream in(bytes);
    const grainsim::Script script = grainsim::ParseScript(in);
    std::ostringstream problems;
    if (script.error) {
        if (script.error->line < 1) problems << "error on line " << script.error->line << "; ";
        if (!script.commands.empty()) problems << "commands kept with an error; ";
        return problems.str();
    }
    using Verb = grainsim::Command::Verb;
    int lastLine = 0;
    for (const grainsim::Command& c : script.commands) {
        if (c.line <= lastLine) problems << "line " << c.line << " out of order; ";
        lastLine = c.line;
        const bool inRange = [&] {
            switch (c.verb) {
                case Verb::Tick:
                    return c.count >= 0 && c.count <= std::numeric_limits<int32_t>::max();
                case Verb::Dev:
                    return c.index >= 1 && c.index <= plant::kDeviceCount &&
                           (c.code == plant::kCmdOpen || c.code == plant::kCmdClose ||
                            c.code == plant::kCmdStop || c.code == plant::kCmdReset ||
                            (c.code >= plant::kCmdLocal && c.code <= plant::kCmdRepair));
                case Verb::RouteStart:
                case Verb::RouteStop:
                    return c.index >= 1 && c.index <= plant::kRouteCount;
                case Verb::Vagon:
                    return c.index >= 0 && c.index <= 199;
                case Verb::Save:
                    return !c.file.empty();
                case Verb::Fault:
                    return c.index >= 1 && c.index <= plant::kDeviceCount &&
                           plant::FaultFits(c.code, plant::DefinedKind(c.index));
                case Verb::Reset:
                case Verb::Print:
                case Verb::Alarms:
                    return true;
            }
            return false;
        }();
        if (!inRange) problems << "line " << c.line << " out of range; ";
    }
    return problems.str();
}

}  // namespace scriptfuzz
