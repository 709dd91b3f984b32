#include "tools/grain-sim/Script.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <string>

#include "plant/Plant.h"

namespace grainsim {

namespace {

constexpr int kLastDraw = 199;

// Every white-space character of the C locale separates words, so that no
// line of blanks can look like a command.
constexpr const char* kBlanks = " \t\r\n\v\f";

// The line without its comment: a '#' that begins a word starts one and runs
// to the end of the line, so "tick 1   # wait" is "tick 1" while a '#' inside a
// word (a file name "plant#2.INI") stays.
std::string WithoutComment(const std::string& s) {
    for (std::size_t at = s.find('#'); at != std::string::npos; at = s.find('#', at + 1)) {
        if (at == 0 || std::strchr(kBlanks, s[at - 1]) != nullptr) return s.substr(0, at);
    }
    return s;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> words;
    for (std::size_t start = s.find_first_not_of(kBlanks); start != std::string::npos;) {
        const std::size_t end = s.find_first_of(kBlanks, start);
        words.push_back(s.substr(start, end - start));
        start = end == std::string::npos ? end : s.find_first_not_of(kBlanks, end);
    }
    return words;
}

enum class LineRead { Line, End, TooLong };

// The next line without its LF, read no further than kLongestLine characters.
LineRead NextLine(std::istream& in, std::string& line) {
    line.clear();
    for (auto c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        if (c == '\n') return LineRead::Line;
        if (line.size() == kLongestLine) return LineRead::TooLong;
        line += static_cast<char>(c);
    }
    return line.empty() ? LineRead::End : LineRead::Line;
}

// A whole token as a decimal integer within [lo, hi]; nothing when malformed.
std::optional<long long> Number(const std::string& token) {
    long long value = 0;
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// The codes of plant/Plant.h a device takes; anything else would sit in its
// command field and do nothing.
bool IsDeviceCommand(long long code) {
    switch (code) {
        case plant::kCmdOpen:
        case plant::kCmdClose:
        case plant::kCmdStop:
        case plant::kCmdReset:
        case plant::kCmdLocal:
        case plant::kCmdRemote:
        case plant::kCmdAuto:
        case plant::kCmdRepair:
            return true;
        default:
            return false;
    }
}

std::string Malformed(const std::string& token) {
    return "malformed number '" + token + "'";
}

// "device 19 outside 1..18"
std::string Outside(const char* what, const std::string& token, int last) {
    return std::string(what) + " " + token + " outside 1.." + std::to_string(last);
}

}  // namespace

std::optional<std::string> ParseLine(const std::string& raw, Command& out, bool& skip) {
    const std::string line = Trim(WithoutComment(raw));
    skip = line.empty();
    if (skip) return std::nullopt;

    const std::vector<std::string> w = Split(line);
    const std::string& verb = w[0];
    auto arguments = [&](std::size_t lo, std::size_t hi) -> std::optional<std::string> {
        const std::size_t n = w.size() - 1;
        if (n < lo) return "'" + verb + "' needs more arguments";
        if (n > hi) return "too many arguments for '" + verb + "'";
        return std::nullopt;
    };

    if (verb == "tick") {
        if (auto e = arguments(0, 1)) return e;
        out.verb = Command::Verb::Tick;
        out.count = 1;
        if (w.size() == 2) {
            auto n = Number(w[1]);
            if (!n || *n < 0 || *n > std::numeric_limits<int32_t>::max()) return Malformed(w[1]);
            out.count = static_cast<long>(*n);
        }
        return std::nullopt;
    }
    if (verb == "dev") {
        if (auto e = arguments(2, 2)) return e;
        auto i = Number(w[1]);
        if (!i) return Malformed(w[1]);
        auto code = Number(w[2]);
        if (!code || *code < std::numeric_limits<int32_t>::min() ||
            *code > std::numeric_limits<int32_t>::max()) {
            return Malformed(w[2]);
        }
        if (*i < 1 || *i > plant::kDeviceCount) return Outside("device", w[1], plant::kDeviceCount);
        if (!IsDeviceCommand(*code)) {
            return "device command " + w[2] + " is none of 1, 2, 3, 10, 20, 21, 22, 23";
        }
        out.verb = Command::Verb::Dev;
        out.index = static_cast<int>(*i);
        out.code = static_cast<int32_t>(*code);
        return std::nullopt;
    }
    if (verb == "route") {
        if (auto e = arguments(2, 2)) return e;
        auto r = Number(w[1]);
        if (!r) return Malformed(w[1]);
        if (*r < 1 || *r > plant::kRouteCount) return Outside("route", w[1], plant::kRouteCount);
        if (w[2] == "start") {
            out.verb = Command::Verb::RouteStart;
        } else if (w[2] == "stop") {
            out.verb = Command::Verb::RouteStop;
        } else {
            return "route action '" + w[2] + "' is neither start nor stop";
        }
        out.index = static_cast<int>(*r);
        return std::nullopt;
    }
    if (verb == "reset" || verb == "print" || verb == "alarms") {
        if (auto e = arguments(0, 0)) return e;
        out.verb = verb == "reset"   ? Command::Verb::Reset
                   : verb == "print" ? Command::Verb::Print
                                     : Command::Verb::Alarms;
        return std::nullopt;
    }
    if (verb == "fault") {
        if (auto e = arguments(2, 2)) return e;
        auto i = Number(w[1]);
        if (!i) return Malformed(w[1]);
        if (*i < 1 || *i > plant::kDeviceCount) return Outside("device", w[1], plant::kDeviceCount);
        const int dev = static_cast<int>(*i);
        int32_t fault = plant::kFaultNone;
        if (w[2] == "trip") {
            fault = plant::kFaultTrip;
        } else if (w[2] == "jam") {
            fault = plant::kFaultJam;
        } else if (w[2] != "clear") {
            return "fault '" + w[2] + "' is none of trip, jam, clear";
        }
        if (!plant::FaultFits(fault, plant::DefinedKind(dev))) {
            return "device " + w[1] + " cannot " + w[2] + ": it is " +
                   (plant::DefinedKind(dev) == plant::kKindValve ? "a gate valve" : "a drive");
        }
        out.verb = Command::Verb::Fault;
        out.index = dev;
        out.code = fault;
        return std::nullopt;
    }
    if (verb == "save") {
        if (auto e = arguments(1, std::numeric_limits<std::size_t>::max())) return e;
        out.verb = Command::Verb::Save;
        out.file = Trim(line.substr(verb.size()));
        return std::nullopt;
    }
    if (verb == "vagon") {
        if (auto e = arguments(1, 1)) return e;
        auto r = Number(w[1]);
        if (!r) return Malformed(w[1]);
        if (*r < 0 || *r > kLastDraw) {
            return "vagon draw " + w[1] + " outside 0.." + std::to_string(kLastDraw);
        }
        out.verb = Command::Verb::Vagon;
        out.index = static_cast<int>(*r);
        return std::nullopt;
    }
    return "unknown command '" + verb + "'";
}

Script ParseScript(std::istream& in) {
    Script script;
    std::string text;
    int number = 0;
    auto fail = [&script](int line, std::string what) {
        script.error = ScriptError{line, std::move(what)};
        script.commands.clear();
        return script;
    };
    for (LineRead read; (read = NextLine(in, text)) != LineRead::End;) {
        ++number;
        if (read == LineRead::TooLong) {
            return fail(number, "longer than " + std::to_string(kLongestLine) + " characters");
        }
        Command command;
        bool skip = false;
        if (auto error = ParseLine(text, command, skip)) return fail(number, *error);
        if (skip) continue;
        command.line = number;
        script.commands.push_back(std::move(command));
    }
    if (in.bad()) return fail(number + 1, "the script cannot be read");
    return script;
}

}  // namespace grainsim
