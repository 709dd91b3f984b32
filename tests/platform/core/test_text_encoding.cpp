#include <gtest/gtest.h>

#include <string>

#include "platform/core/TextEncoding.h"

namespace {

using platform::Cp1251ToUtf8;
using platform::IsValidUtf8;
using platform::TextFileToUtf8;
using platform::Utf16ToUtf8;

TEST(Cp1251, DecodesRussianDeviceName) {
    // "Задвижка М1" as a Russian Windows system stores it.
    EXPECT_EQ(Cp1251ToUtf8("\xC7\xE0\xE4\xE2\xE8\xE6\xEA\xE0 \xCC\x31"), "Задвижка М1");
}

TEST(Cp1251, DecodesWholeAlphabetAndSpecials) {
    EXPECT_EQ(Cp1251ToUtf8("\xC0\xDF\xE0\xFF\xA8\xB8"), "АЯаяЁё");
    EXPECT_EQ(Cp1251ToUtf8("\xB9\x96\x97\xAB\xBB\x88\x80\xBF\xA5"), "№–—«»€ЂїҐ");
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");  // the one unassigned byte
    EXPECT_EQ(Cp1251ToUtf8("Dev1=\x01"), "Dev1=\x01");
}

TEST(Utf16, DecodesBothByteOrdersAndSurrogatePairs) {
    EXPECT_EQ(Utf16ToUtf8(std::string("\x17\x04\x30\x04", 4), false), "За");
    EXPECT_EQ(Utf16ToUtf8(std::string("\x04\x17\x04\x30", 4), true), "За");
    EXPECT_EQ(Utf16ToUtf8(std::string("\x3D\xD8\x00\xDE", 4), false),
              "\xF0\x9F\x98\x80");  // U+1F600
}

TEST(Utf16, BrokenUnitsBecomeReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf16ToUtf8(std::string("\x3D\xD8\x41\x00", 4), false), replacement + "A");
    EXPECT_EQ(Utf16ToUtf8(std::string("\x00\xDE", 2), false), replacement);
    EXPECT_EQ(Utf16ToUtf8(std::string("\x41\x00\x42", 3), false), "A" + replacement);
}

TEST(TextFile, DecodesEachLineOnItsOwnAndKeepsTheBreaks) {
    // "Задвижка" in UTF-8, then in Windows-1251, then a lone CR break.
    EXPECT_EQ(TextFileToUtf8("Задвижка\r\n\xC7\xE0\xE4\xE2\xE8\xE6\xEA\xE0\n\n\xC0\rЯ"),
              "Задвижка\r\nЗадвижка\n\nА\rЯ");
    EXPECT_EQ(TextFileToUtf8("\xEF\xBB\xBFMode=1"), "Mode=1");
    EXPECT_EQ(TextFileToUtf8(std::string("\xFF\xFEM\0", 4)), "M");
    EXPECT_EQ(TextFileToUtf8(std::string("\xFE\xFF\0M", 4)), "M");
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

class Utf8Validity : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, Classifies) {
    EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Validity,
                         testing::Values(Utf8Case{"Ascii", "Mode=1", true},
                                         Utf8Case{"Empty", "", true},
                                         Utf8Case{"Cyrillic", "Задвижка", true},
                                         Utf8Case{"Euro", "\xE2\x82\xAC", true},
                                         Utf8Case{"FourBytes", "\xF0\x9F\x98\x80", true},
                                         Utf8Case{"LoneContinuation", "\x80", false},
                                         Utf8Case{"Cp1251Word", "\xC7\xE0\xE4", false},
                                         Utf8Case{"Truncated", "\xD0", false},
                                         Utf8Case{"TruncatedThree", "\xE2\x82", false},
                                         Utf8Case{"Overlong", "\xC0\xAF", false},
                                         Utf8Case{"OverlongThree", "\xE0\x80\xAF", false},
                                         Utf8Case{"Surrogate", "\xED\xA0\x80", false},
                                         Utf8Case{"AboveUnicode", "\xF4\x90\x80\x80", false},
                                         Utf8Case{"InvalidLead", "\xFF", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
