#include "symbols/LEDSegments.h"

#include <algorithm>
#include <climits>

#include "symbols/SCADAType.h"

namespace symbols::led {

namespace {

// Layout arithmetic runs wide and lands clamped, so outsized settings give an
// odd picture instead of an overflow.
int ToInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

constexpr std::array<Outline, kSegments> kDesign = {{
    {{{3, 0}, {14, 0}, {15, 1}, {12, 4}, {5, 4}, {2, 1}}},           // top
    {{{1, 2}, {4, 5}, {4, 10}, {1, 13}, {0, 12}, {0, 3}}},           // upper left
    {{{16, 2}, {17, 3}, {17, 12}, {16, 13}, {13, 10}, {13, 5}}},     // upper right
    {{{4, 12}, {13, 12}, {15, 14}, {13, 16}, {4, 16}, {2, 14}}},     // middle
    {{{1, 15}, {4, 18}, {4, 24}, {1, 27}, {0, 26}, {0, 16}}},        // lower left
    {{{16, 15}, {17, 16}, {17, 26}, {16, 27}, {13, 24}, {13, 18}}},  // lower right
    {{{5, 25}, {12, 25}, {15, 28}, {14, 29}, {3, 29}, {2, 28}}},     // bottom
    {{{18, 27}, {21, 27}, {21, 30}, {18, 32}, {16, 32}, {18, 30}}},  // decimal point
}};

}  // namespace

const std::array<Outline, kSegments>& DesignOutlines() {
    return kDesign;
}

uint8_t CharMask(char c) {
    switch (c) {
        case '0':
            return 0x77;
        case '1':
            return 0x24;
        case '2':
            return 0x5D;
        case '3':
            return 0x6D;
        case '4':
            return 0x2E;
        case '5':
            return 0x6B;
        case '6':
            return 0x7B;
        case '7':
            return 0x25;
        case '8':
            return 0x7F;
        case '9':
            return 0x6F;
        case '-':
            return 0x08;
        default:
            return 0x00;
    }
}

int CellWidth(int clientWidth, int borderWidth, int shift, int distance, int numChars) {
    if (numChars < 1) return 0;
    const long long room = static_cast<long long>(clientWidth) - 2LL * borderWidth - shift -
                           static_cast<long long>(numChars - 1) * distance;
    return ToInt(room / numChars);  // truncates towards zero
}

platform::Rect CellRect(int p, int cellWidth, int clientHeight, int borderWidth, int shift,
                        int distance) {
    const long long left =
        static_cast<long long>(borderWidth) + shift +
        static_cast<long long>(p - 1) * (static_cast<long long>(cellWidth) + distance);
    return {ToInt(left), borderWidth, ToInt(left + cellWidth),
            ToInt(static_cast<long long>(clientHeight) - borderWidth)};
}

Outline PlaceOutline(const Outline& design, const platform::Rect& cell, int shift) {
    // The scales are single precision; the products around them are extended.
    const float sx =
        static_cast<float>((static_cast<long double>(cell.Right) - cell.Left - shift) / 20);
    const float sy = static_cast<float>((static_cast<long double>(cell.Bottom) - cell.Top) / 31);
    Outline placed;
    for (size_t i = 0; i < design.size(); ++i) {
        const auto [x, y] = design[i];
        const long double slant = static_cast<long double>(static_cast<long long>(y) * shift) / 31;
        placed[i].X = ToInt(cell.Left + static_cast<long long>(platform::RoundHalfEven(
                                            static_cast<long double>(x) * sx - slant)));
        placed[i].Y = ToInt(cell.Top + static_cast<long long>(platform::RoundHalfEven(
                                           static_cast<long double>(y) * sy)));
    }
    return placed;
}

}  // namespace symbols::led
