#include "plant/JournalStamp.h"

#include <cstddef>

namespace plant {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Number of equal characters starting at pattern[i].
std::size_t RunLength(const std::string& pattern, std::size_t i) {
    std::size_t n = 1;
    while (i + n < pattern.size() && pattern[i + n] == pattern[i]) ++n;
    return n;
}

// Copies a quoted section starting at pattern[i] (the opening quote) into `out`
// without its quotes; returns the index after it. '' stands for one quote.
std::size_t CopyQuoted(const std::string& pattern, std::size_t i, std::string& out) {
    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
        out += '\'';
        return i + 2;
    }
    ++i;
    while (i < pattern.size()) {
        if (pattern[i] == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                out += '\'';
                i += 2;
                continue;
            }
            return i + 1;
        }
        out += pattern[i++];
    }
    return i;
}

// Index of the closing quote's successor for a quoted section at pattern[i].
std::size_t SkipQuoted(const std::string& pattern, std::size_t i) {
    std::string ignored;
    return CopyQuoted(pattern, i, ignored);
}

bool HasAmPm(const std::string& pattern) {
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] == '\'') {
            i = SkipQuoted(pattern, i);
            continue;
        }
        if (pattern[i] == 'a' || pattern[i] == 'A') return true;
        ++i;
    }
    return false;
}

void AppendNumber(std::string& out, int value, int minDigits) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) out += '-';
    if (static_cast<int>(digits.size()) < minDigits) {
        out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
    }
    out += digits;
}

// Monday = 0 .. Sunday = 6, proleptic Gregorian calendar.
int DayOfWeek(int year, int month, int day) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    int sundayBased =
        (year + year / 4 - year / 100 + year / 400 + offsets[(month - 1) % 12] + day) % 7;
    if (sundayBased < 0) sundayBased += 7;
    return (sundayBased + 6) % 7;
}

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::size_t MonthIndex(int month) {
    return static_cast<std::size_t>(((month - 1) % 12 + 12) % 12);
}

}  // namespace

std::string FormatDateTime(const std::string& pattern, const LocalDateTime& when,
                           const StampLocale& locale) {
    const bool twelveHour = HasAmPm(pattern);
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            i = CopyQuoted(pattern, i, out);
            continue;
        }
        const std::size_t run = RunLength(pattern, i);
        std::size_t used = 1;
        switch (c) {
            case 'd':
                used = run >= 4 ? 4 : run;
                if (used == 4) {
                    out += locale.longDayNames[static_cast<std::size_t>(
                        DayOfWeek(when.year, when.month, when.day))];
                } else if (used == 3) {
                    out += locale.shortDayNames[static_cast<std::size_t>(
                        DayOfWeek(when.year, when.month, when.day))];
                } else {
                    AppendNumber(out, when.day, static_cast<int>(used));
                }
                break;
            case 'M':
                used = run >= 4 ? 4 : run;
                if (used == 4) {
                    out += locale.longMonthNames[MonthIndex(when.month)];
                } else if (used == 3) {
                    out += locale.shortMonthNames[MonthIndex(when.month)];
                } else {
                    AppendNumber(out, when.month, static_cast<int>(used));
                }
                break;
            case 'y':
                if (run >= 4) {
                    used = 4;
                    AppendNumber(out, when.year, 4);
                } else if (run >= 2) {
                    used = 2;
                    AppendNumber(out, ((when.year % 100) + 100) % 100, 2);
                } else {
                    out += c;
                }
                break;
            case 'h':
            case 'H': {
                used = run >= 2 ? 2 : 1;
                int hour = when.hour;
                if (c == 'h' && twelveHour) {
                    hour %= 12;
                    if (hour == 0) hour = 12;
                }
                AppendNumber(out, hour, static_cast<int>(used));
                break;
            }
            case 'm':
                used = run >= 2 ? 2 : 1;
                AppendNumber(out, when.minute, static_cast<int>(used));
                break;
            case 's':
                used = run >= 2 ? 2 : 1;
                AppendNumber(out, when.second, static_cast<int>(used));
                break;
            case 'z':
                if (run >= 3) {
                    used = 3;
                    AppendNumber(out, when.millisecond, 3);
                } else {
                    // Fraction of the second without trailing zeros.
                    int ms = when.millisecond;
                    int digits = 3;
                    while (ms != 0 && ms % 10 == 0) {
                        ms /= 10;
                        --digits;
                    }
                    AppendNumber(out, ms, ms == 0 ? 1 : digits);
                }
                break;
            case 'a':
            case 'A': {
                if (i + 1 < pattern.size() && (pattern[i + 1] == 'p' || pattern[i + 1] == 'P')) {
                    used = 2;
                }
                const std::string& text = when.hour < 12 ? locale.amText : locale.pmText;
                out += c == 'A' ? text : AsciiLower(text);
                break;
            }
            case 't':
                used = run;  // no time zone is known here
                break;
            default:
                out += c;
                break;
        }
        i += used;
    }
    return out;
}

std::string WithoutTimeZone(const std::string& pattern) {
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == '\'') {
            std::size_t end = SkipQuoted(pattern, i);
            out.append(pattern, i, end - i);
            i = end;
            continue;
        }
        if (pattern[i] == 't') {
            while (!out.empty() && IsBlank(out.back())) out.pop_back();
            i += RunLength(pattern, i);
            continue;
        }
        out += pattern[i++];
    }
    std::size_t first = 0;
    while (first < out.size() && IsBlank(out[first])) ++first;
    std::size_t last = out.size();
    while (last > first && IsBlank(out[last - 1])) --last;
    return out.substr(first, last - first);
}

std::string JournalStamp(const LocalDateTime& when, const StampLocale& locale) {
    std::string stamp = FormatDateTime(locale.shortDatePattern, when, locale);
    const bool midnight =
        when.hour == 0 && when.minute == 0 && when.second == 0 && when.millisecond == 0;
    if (!midnight) {
        stamp += ' ';
        stamp += FormatDateTime(WithoutTimeZone(locale.longTimePattern), when, locale);
    }
    return stamp;
}

}  // namespace plant
