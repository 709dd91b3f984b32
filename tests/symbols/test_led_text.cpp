#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "symbols/LEDSegments.h"
#include "symbols/LEDText.h"

using symbols::TLEDAlign;
using symbols::TValueType;
namespace led = symbols::led;
using platform::Point;

// --- Number text -------------------------------------------------------------

struct TextCase {
    long double value;
    TValueType type;
    int numChars;
    int decimal;
    char separator;
    const char* text;
};
// The value and the text, and the decimals where they are not the usual one.
void PrintTo(const TextCase& c, std::ostream* os) {
    std::ostringstream value;
    value << std::setprecision(10) << static_cast<double>(c.value);
    *os << value.str() << " as \"" << c.text << '"';
    if (c.decimal != 1) *os << " with " << c.decimal << " decimals";
}

const char* AlignName(TLEDAlign align) {
    switch (align) {
        case TLEDAlign::laLeftJustify:
            return "left";
        case TLEDAlign::laRightJustify:
            return "right";
        case TLEDAlign::laCenterJustify:
            return "centred";
    }
    return "?";
}

class LedNumberText : public ::testing::TestWithParam<TextCase> {};

TEST_P(LedNumberText, AsTheBoardShowsIt) {
    const TextCase& c = GetParam();
    EXPECT_EQ(led::FormatValue(c.value, c.type, c.numChars, c.decimal, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(WholeNumbers, LedNumberText,
                         ::testing::Values(
                             // Halves go to the even neighbour; the decimals are ignored.
                             TextCase{2.5L, TValueType::vtInteger, 5, 1, '.', "2"},
                             TextCase{3.5L, TValueType::vtInteger, 5, 1, '.', "4"},
                             TextCase{-2.5L, TValueType::vtInteger, 5, 3, '.', "-2"},
                             TextCase{-7.6L, TValueType::vtInteger, 5, 1, '.', "-8"},
                             TextCase{-0.4L, TValueType::vtInteger, 5, 1, '.', "0"},
                             TextCase{1234567.0L, TValueType::vtInteger, 5, 1, '.', "1234567"},
                             // Beyond 64 bits every digit is still written.
                             TextCase{1e20L, TValueType::vtInteger, 5, 1, '.',
                                      "100000000000000000000"}));

INSTANTIATE_TEST_SUITE_P(
    FixedPoint, LedNumberText,
    ::testing::Values(TextCase{0.0L, TValueType::vtFloat, 6, 1, '.', "0.0"},
                      TextCase{12345.6L, TValueType::vtFloat, 6, 1, '.', "12345.6"},
                      TextCase{-5.0L, TValueType::vtFloat, 6, 1, '.', "-5.0"},
                      TextCase{123456.7L, TValueType::vtFloat, 6, 1, '.', "123457.0"},
                      TextCase{1234567.8L, TValueType::vtFloat, 6, 1, '.', "1.23457E6"},
                      TextCase{4499.97L, TValueType::vtFloat, 6, 1, '.', "4500.0"},
                      TextCase{0.0L, TValueType::vtFloat, 6, 1, ',', "0,0"},
                      TextCase{2.25L, TValueType::vtFloat, 6, 0, '.', "2"},
                      // A negative count of decimals reads as none.
                      TextCase{2.25L, TValueType::vtFloat, 6, -3, '.', "2"},
                      // One cell still formats with two significant digits.
                      TextCase{123.4L, TValueType::vtFloat, 1, 1, '.', "1.2E2"}));

TEST(LedNumberText, ValueThatIsNotANumberGivesEmptyText) {
    for (TValueType type : {TValueType::vtInteger, TValueType::vtFloat}) {
        EXPECT_EQ(led::FormatValue(std::numeric_limits<long double>::quiet_NaN(), type, 6, 1, '.'),
                  "");
        EXPECT_EQ(led::FormatValue(-std::numeric_limits<long double>::infinity(), type, 6, 1, '.'),
                  "");
    }
}

// --- Space fill ----------------------------------------------------------------

struct FillCase {
    const char* text;
    int numChars;
    TLEDAlign align;
    const char* filled;
};
void PrintTo(const FillCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" in " << c.numChars << " cells " << AlignName(c.align);
}

class LedSpaceFill : public ::testing::TestWithParam<FillCase> {};

TEST_P(LedSpaceFill, PadsTheTextToTheCells) {
    const FillCase& c = GetParam();
    EXPECT_EQ(led::FillSpaces(c.text, c.numChars, c.align), c.filled);
}

INSTANTIATE_TEST_SUITE_P(Cases, LedSpaceFill,
                         ::testing::Values(
                             // The separator shares a cell with the digit before it.
                             FillCase{"0.0", 6, TLEDAlign::laRightJustify, "    0.0"},
                             FillCase{"-5.0", 6, TLEDAlign::laRightJustify, "   -5.0"},
                             FillCase{"12345.6", 6, TLEDAlign::laRightJustify, "12345.6"},
                             FillCase{"1.5", 4, TLEDAlign::laLeftJustify, "1.5  "},
                             FillCase{"12.5", 6, TLEDAlign::laCenterJustify, " 12.5 "},
                             // An odd count loses its last space when centred.
                             FillCase{"12.5", 7, TLEDAlign::laCenterJustify, "  12.5  "},
                             FillCase{"2", 5, TLEDAlign::laCenterJustify, "  2  "},
                             FillCase{"1,5", 4, TLEDAlign::laRightJustify, "  1,5"},
                             // A text longer than the cells is not shortened.
                             FillCase{"1.23457E6", 6, TLEDAlign::laRightJustify, "1.23457E6"},
                             FillCase{"123457.0", 6, TLEDAlign::laLeftJustify, "123457.0"}));

// --- Cell masks ----------------------------------------------------------------

TEST(LedCharMask, DigitsAndMinusLightTheirSegments) {
    const std::string chars = "0123456789-";
    const std::vector<uint8_t> masks = {0x77, 0x24, 0x5D, 0x6D, 0x2E, 0x6B,
                                        0x7B, 0x25, 0x7F, 0x6F, 0x08};
    for (size_t i = 0; i < chars.size(); ++i)
        EXPECT_EQ(led::CharMask(chars[i]), masks[i]) << chars[i];
}

TEST(LedCharMask, AnyOtherCharacterLightsNothing) {
    for (char c : std::string(" +.,E eA")) EXPECT_EQ(led::CharMask(c), 0x00) << c;
}

struct MaskCase {
    const char* filled;
    int numChars;
    std::vector<uint8_t> masks;
};
void PrintTo(const MaskCase& c, std::ostream* os) {
    *os << '"' << c.filled << "\" in " << c.numChars << " cells";
}

class LedCellMasks : public ::testing::TestWithParam<MaskCase> {};

TEST_P(LedCellMasks, WalksTheTextCellByCell) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(led::CellMasks(c.filled, c.numChars), c.masks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LedCellMasks,
    ::testing::Values(MaskCase{"    0.0", 6, {0x00, 0x00, 0x00, 0x00, 0xF7, 0x77}},
                      MaskCase{"12345.6", 6, {0x24, 0x5D, 0x6D, 0x2E, 0xEB, 0x7B}},
                      MaskCase{"   -5.0", 6, {0x00, 0x00, 0x00, 0x08, 0xEB, 0x77}},
                      // Centred 12.5: the sixth cell lies past the end of the text.
                      MaskCase{" 12.5 ", 6, {0x00, 0x24, 0xDD, 0x6B, 0x00, 0x00}},
                      // Cut on the right: the final 0 is lost.
                      MaskCase{"123457.0", 6, {0x24, 0x5D, 0x6D, 0x2E, 0x6B, 0xA5}},
                      MaskCase{"1.23457E6", 6, {0xA4, 0x5D, 0x6D, 0x2E, 0x6B, 0x25}},
                      MaskCase{"  1,5", 4, {0x00, 0x00, 0xA4, 0x6B}},
                      MaskCase{"", 3, {0x00, 0x00, 0x00}}, MaskCase{"12", 0, {}}));

// --- Cell layout ------------------------------------------------------------------

TEST(LedCellLayout, ConsoleBoardHasSixCellsTwentyOnePixelsWide) {
    EXPECT_EQ(led::CellWidth(153, 5, 2, 2, 6), 21);
    const std::vector<int> lefts = {7, 30, 53, 76, 99, 122};
    for (int p = 1; p <= 6; ++p) {
        const platform::Rect cell = led::CellRect(p, 21, 41, 5, 2, 2);
        EXPECT_EQ(cell.Left, lefts[static_cast<size_t>(p - 1)]);
        EXPECT_EQ(cell.Right, cell.Left + 21);
        EXPECT_EQ(cell.Top, 5);
        EXPECT_EQ(cell.Bottom, 36);
    }
}

TEST(LedCellLayout, DefaultBoardHasFiveCellsTwelvePixelsWide) {
    EXPECT_EQ(led::CellWidth(80, 5, 2, 2, 5), 12);
    const std::vector<int> lefts = {7, 21, 35, 49, 63};
    for (int p = 1; p <= 5; ++p)
        EXPECT_EQ(led::CellRect(p, 12, 34, 5, 2, 2).Left, lefts[static_cast<size_t>(p - 1)]);
}

TEST(LedCellLayout, NoCellsGiveNoWidthInsteadOfDividingByZero) {
    EXPECT_EQ(led::CellWidth(153, 5, 2, 2, 0), 0);
    EXPECT_EQ(led::CellWidth(153, 5, 2, 2, -3), 0);
}

TEST(LedCellLayout, WidthTooSmallForTheCellsGoesNegativeTowardsZero) {
    // (20 - 10 - 2 - 10) / 6 = -2 / 6, truncated towards zero.
    EXPECT_EQ(led::CellWidth(20, 5, 2, 2, 6), 0);
    EXPECT_EQ(led::CellWidth(10, 5, 2, 2, 2), -2);
}

struct OutlineCase {
    int segment;
    std::array<Point, 6> placed;
};
void PrintTo(const OutlineCase& c, std::ostream* os) {
    *os << "segment " << c.segment;
}

class LedConsoleCellOne : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(LedConsoleCellOne, SlantsTheSegment) {
    const OutlineCase& c = GetParam();
    const platform::Rect cell = led::CellRect(1, 21, 41, 5, 2, 2);
    const auto& design = led::DesignOutlines()[static_cast<size_t>(c.segment)];
    EXPECT_EQ(led::PlaceOutline(design, cell, 2), c.placed);
}

INSTANTIATE_TEST_SUITE_P(
    TopMiddleAndPointSegments, LedConsoleCellOne,
    ::testing::Values(OutlineCase{0, {{{10, 5}, {20, 5}, {21, 6}, {18, 9}, {11, 9}, {9, 6}}}},
                      OutlineCase{3, {{{10, 17}, {19, 17}, {20, 19}, {18, 21}, {10, 21}, {8, 19}}}},
                      OutlineCase{7,
                                  {{{22, 32}, {25, 32}, {25, 35}, {22, 37}, {20, 37}, {22, 35}}}}));

TEST(LedOutline, DefaultBoardRoundsHalfwayPointsToEven) {
    // Cell 1 of the default board: L 7, sx = (12 - 2) / 20 = 0.5 exactly, so
    // x = 3 lands on 1.5 -> 2 and x = 5 on 2.5 -> 2.
    const platform::Rect cell = led::CellRect(1, 12, 34, 5, 2, 2);
    const auto top = led::PlaceOutline(led::DesignOutlines()[0], cell, 2);
    EXPECT_EQ(top[0], (Point{9, 5}));   // (3,0): 7 + 2
    EXPECT_EQ(top[1], (Point{14, 5}));  // (14,0): 7 + 7
    EXPECT_EQ(top[4], (Point{9, 8}));   // (5,4): 7 + Round(2.5 - 0.258) = 9, 5 + Round(3.097)
}
