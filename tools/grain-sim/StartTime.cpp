#include "tools/grain-sim/StartTime.h"

#include <charconv>
#include <ctime>
#include <string_view>

namespace grainsim {

namespace {

// Reads exactly `digits` decimal digits at `at`, moving past them.
bool Digits(std::string_view text, std::size_t& at, std::size_t digits, int& value) {
    if (at + digits > text.size()) return false;
    for (std::size_t k = at; k < at + digits; ++k) {
        if (text[k] < '0' || text[k] > '9') return false;
    }
    std::from_chars(text.data() + at, text.data() + at + digits, value);
    at += digits;
    return true;
}

bool Expect(std::string_view text, std::size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The offset after the time, in minutes east of UTC; false for a malformed one.
bool Offset(std::string_view text, std::size_t& at, int& minutes) {
    if (Expect(text, at, 'Z')) {
        minutes = 0;
        return true;
    }
    const char sign = text[at];
    if (sign != '+' && sign != '-') return false;
    ++at;
    int hours = 0, mins = 0;
    if (!Digits(text, at, 2, hours)) return false;
    if (at < text.size()) {
        Expect(text, at, ':');
        if (!Digits(text, at, 2, mins)) return false;
    }
    if (hours > 14 || mins > 59) return false;
    minutes = (sign == '-' ? -1 : 1) * (hours * 60 + mins);
    return true;
}

}  // namespace

std::optional<archive::Stamp> ParseStartTime(const std::string& text) {
    std::size_t at = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0;
    if (!Digits(text, at, 4, year) || !Expect(text, at, '-') || !Digits(text, at, 2, month) ||
        !Expect(text, at, '-') || !Digits(text, at, 2, day)) {
        return std::nullopt;
    }
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'T' || text[at] == ' ')) {
        ++at;
        if (!Digits(text, at, 2, hour) || !Expect(text, at, ':') || !Digits(text, at, 2, minute))
            return std::nullopt;
        if (at < text.size() && text[at] == ':') {
            ++at;
            if (!Digits(text, at, 2, second)) return std::nullopt;
            if (at < text.size() && text[at] == '.' && !(++at, Digits(text, at, 3, millis)))
                return std::nullopt;
        }
        if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    }
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    if (at < text.size()) {
        int offset = 0;
        if (!Offset(text, at, offset) || at != text.size()) return std::nullopt;
        const int64_t utcSeconds = static_cast<int64_t>(::timegm(&fields)) - int64_t{offset} * 60;
        return archive::Stamp{utcSeconds * 1000 + millis, static_cast<int16_t>(offset)};
    }
    // Local time: the system's time zone says the offset, summer time included.
    fields.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&fields);
    if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
    return archive::Stamp{static_cast<int64_t>(seconds) * 1000 + millis,
                          static_cast<int16_t>(fields.tm_gmtoff / 60)};
}

}  // namespace grainsim
