#include <gtest/gtest.h>

#include "plant/JournalStamp.h"

namespace {

using plant::FormatDateTime;
using plant::JournalStamp;
using plant::LocalDateTime;
using plant::StampLocale;
using plant::WithoutTimeZone;

// The patterns the regional settings give for Russia and the United States.
StampLocale Russian() {
    StampLocale l;
    l.shortDatePattern = "dd.MM.yyyy";
    l.longTimePattern = "HH:mm:ss t";
    return l;
}

StampLocale UsEnglish() {
    StampLocale l;
    l.shortDatePattern = "M/d/yy";
    l.longTimePattern = "h:mm:ss AP t";
    return l;
}

struct StampCase {
    LocalDateTime when;
    const char* russian;
    const char* english;
};
void PrintTo(const StampCase& c, std::ostream* os) {
    *os << '"' << c.russian << '"';
}

class JournalStampTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(JournalStampTest, DateBlankTimeOrTheDateAloneAtMidnight) {
    EXPECT_EQ(JournalStamp(GetParam().when, Russian()), GetParam().russian);
    EXPECT_EQ(JournalStamp(GetParam().when, UsEnglish()), GetParam().english);
}

INSTANTIATE_TEST_SUITE_P(
    Times, JournalStampTest,
    ::testing::Values(
        StampCase{{2026, 12, 6, 14, 5, 9, 0}, "06.12.2026 14:05:09", "12/6/26 2:05:09 PM"},
        StampCase{{2026, 3, 7, 9, 4, 5, 0}, "07.03.2026 09:04:05", "3/7/26 9:04:05 AM"},
        StampCase{{2026, 12, 6, 0, 0, 0, 0}, "06.12.2026", "12/6/26"},
        StampCase{{2026, 12, 6, 0, 0, 1, 0}, "06.12.2026 00:00:01", "12/6/26 12:00:01 AM"},
        StampCase{{2026, 12, 6, 0, 0, 0, 500}, "06.12.2026 00:00:00", "12/6/26 12:00:00 AM"},
        StampCase{{2026, 12, 6, 12, 0, 0, 0}, "06.12.2026 12:00:00", "12/6/26 12:00:00 PM"},
        StampCase{{2009, 1, 31, 23, 59, 59, 0}, "31.01.2009 23:59:59", "1/31/09 11:59:59 PM"}));

TEST(FormatDateTimeTest, NamesQuotesAndFractions) {
    const LocalDateTime when{2026, 12, 6, 14, 5, 9, 45};
    const StampLocale locale;
    EXPECT_EQ(FormatDateTime("dddd, d MMMM yyyy", when, locale), "Sunday, 6 December 2026");
    EXPECT_EQ(FormatDateTime("ddd MMM", when, locale), "Sun Dec");
    EXPECT_EQ(FormatDateTime("'Date:' dd", when, locale), "Date: 06");
    EXPECT_EQ(FormatDateTime("hh 'o''clock'", when, locale), "14 o'clock");
    EXPECT_EQ(FormatDateTime("h:mm ap", when, locale), "2:05 pm");
    EXPECT_EQ(FormatDateTime("HH:mm:ss.zzz", when, locale), "14:05:09.045");
    EXPECT_EQ(FormatDateTime("yyyy-MM-dd", LocalDateTime{2000, 2, 29}, locale), "2000-02-29");
    EXPECT_EQ(FormatDateTime("dddd", LocalDateTime{2000, 2, 29}, locale), "Tuesday");
}

TEST(FormatDateTimeTest, LocaleNamesAndAmPmTexts) {
    StampLocale locale;
    locale.longMonthNames[11] = "декабря";
    locale.amText = "ДП";
    locale.pmText = "ПП";
    EXPECT_EQ(FormatDateTime("d MMMM yyyy h AP", LocalDateTime{2026, 12, 6, 15}, locale),
              "6 декабря 2026 3 ПП");
}

TEST(WithoutTimeZoneTest, DropsTheZoneFieldAndItsBlank) {
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss t"), "HH:mm:ss");
    EXPECT_EQ(WithoutTimeZone("h:mm:ss AP t"), "h:mm:ss AP");
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss tttt"), "HH:mm:ss");
    EXPECT_EQ(WithoutTimeZone("t HH:mm"), "HH:mm");
    EXPECT_EQ(WithoutTimeZone("HH 'at' mm"), "HH 'at' mm");
    EXPECT_EQ(WithoutTimeZone("HH:mm:ss"), "HH:mm:ss");
}

}  // namespace
