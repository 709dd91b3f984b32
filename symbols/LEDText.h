#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace symbols {

// Placement of the text within the cells of an LED board.
enum class TLEDAlign : uint8_t { laLeftJustify, laRightJustify, laCenterJustify };

// How an LED board writes its value: a whole number, or fixed point.
enum class TValueType : uint8_t { vtInteger, vtFloat };

// Number text and cell layout of the LED board, apart from its painting.
namespace led {

// The text of `value`: vtInteger rounds to the nearest integer (halves to the
// even neighbour) and ignores `decimal`; vtFloat writes fixed point with
// `decimal` digits after `separator`, rounded to at most numChars (within
// 2..18) significant digits, or the exponent form when the integer part needs
// more. A value that is not a number or infinite gives an empty text.
std::string FormatValue(long double value, TValueType type, int numChars, int decimal,
                        char separator);

// Pads `text` with spaces to fill `numChars` cells, a decimal separator
// sharing the cell of the digit before it. A text that does not fit is left
// as it is (the board cuts it on the right).
std::string FillSpaces(const std::string& text, int numChars, TLEDAlign align);

// The segment mask of each of `numChars` cells for the filled text: a digit or
// "-" lights its segments, anything else none, positions past the end are
// blank, and a "." or "," after a character lights that cell's decimal point.
std::vector<uint8_t> CellMasks(const std::string& filled, int numChars);

}  // namespace led
}  // namespace symbols
