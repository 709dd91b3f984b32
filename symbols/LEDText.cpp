#include "symbols/LEDText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/core/NumberFormat.h"
#include "symbols/LEDSegments.h"

namespace symbols::led {

namespace {

bool IsSeparator(char c) {
    return c == '.' || c == ',';
}

std::string IntegerText(long double value) {
    long double rounded = std::nearbyintl(value);  // halves to the even neighbour
    if (rounded == 0) rounded = 0;                 // no "-0" for -0.4
    if (std::fabs(rounded) < 9.0e18L) return std::to_string(static_cast<long long>(rounded));
    // Beyond 64 bits: every digit of the rounded value, which the cells then cut.
    const int length = std::snprintf(nullptr, 0, "%.0Lf", rounded);
    if (length <= 0) return {};
    std::string digits(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(digits.data(), digits.size(), "%.0Lf", rounded);
    digits.resize(static_cast<std::size_t>(length));
    return digits;
}

}  // namespace

std::string FormatValue(long double value, TValueType type, int numChars, int decimal,
                        char separator) {
    if (!std::isfinite(value)) return {};
    if (type == TValueType::vtInteger) return IntegerText(value);
    const int precision = std::clamp(numChars, 2, 18);
    // A negative count of decimals reads as none.
    const int decimals = std::clamp(decimal, 0, 18);
    return platform::FormatFixed(value, precision, decimals, separator);
}

std::string FillSpaces(const std::string& text, int numChars, TLEDAlign align) {
    // A separator shares its cell with the digit before it.
    const bool hasSeparator = std::any_of(text.begin(), text.end(), IsSeparator);
    const long long n = static_cast<long long>(numChars) - static_cast<long long>(text.size()) +
                        (hasSeparator ? 1 : 0);
    if (n <= 0) return text;
    const auto spaces = static_cast<size_t>(n);
    switch (align) {
        case TLEDAlign::laLeftJustify:
            return text + std::string(spaces, ' ');
        case TLEDAlign::laRightJustify:
            return std::string(spaces, ' ') + text;
        case TLEDAlign::laCenterJustify:
            // An odd count loses its last space.
            return std::string(spaces / 2, ' ') + text + std::string(spaces / 2, ' ');
    }
    return text;
}

std::vector<uint8_t> CellMasks(const std::string& filled, int numChars) {
    std::vector<uint8_t> masks;
    masks.reserve(static_cast<size_t>(std::max(numChars, 0)));
    size_t i = 0;
    for (int p = 0; p < numChars; ++p) {
        uint8_t mask = i < filled.size() ? CharMask(filled[i]) : 0;
        ++i;
        if (i < filled.size() && IsSeparator(filled[i])) {
            mask |= kDecimalPoint;
            ++i;
        }
        masks.push_back(mask);
    }
    return masks;
}

}  // namespace symbols::led
