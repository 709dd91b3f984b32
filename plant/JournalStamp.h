#pragma once

#include <array>
#include <string>

namespace plant {

// A local calendar date and time of day, as the clock reads it.
struct LocalDateTime {
    int year = 1;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// What the regional settings say about writing a date and a time: the short
// date pattern and the long time pattern in Qt's pattern language ("dd.MM.yyyy",
// "HH:mm:ss", "M/d/yy", "h:mm:ss AP"), the AM/PM texts and, for the name
// patterns (MMM, MMMM, ddd, dddd), the month and day names (days from Monday).
struct StampLocale {
    std::string shortDatePattern = "dd.MM.yyyy";
    std::string longTimePattern = "HH:mm:ss";
    std::string amText = "AM";
    std::string pmText = "PM";
    std::array<std::string, 12> shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
    std::array<std::string, 7> shortDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    std::array<std::string, 7> longDayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                               "Friday", "Saturday", "Sunday"};
};

// The time stamp at the head of a journal entry: the date in the short date
// pattern, a blank and the time in the long time pattern without its time-zone
// part. At exactly midnight (00:00:00.000) the stamp is the date alone.
std::string JournalStamp(const LocalDateTime& when, const StampLocale& locale);

// Writes `when` by a Qt-style date/time pattern. Quoted text ('...', '' for a
// quote) is copied; unknown letters are copied as they are.
std::string FormatDateTime(const std::string& pattern, const LocalDateTime& when,
                           const StampLocale& locale);

// The pattern without its time-zone fields ("t" runs outside quotes), the blank
// before each of them and any blanks left at either end: "h:mm:ss AP t" gives
// "h:mm:ss AP".
std::string WithoutTimeZone(const std::string& pattern);

}  // namespace plant
