#pragma once

#include <array>
#include <cstdint>

#include "platform/canvas/Canvas.h"

namespace symbols::led {

constexpr int kSegments = 8;       // seven segments and the decimal point
constexpr int kOutlinePoints = 6;  // points of each segment outline
constexpr uint8_t kDecimalPoint = 0x80;

// Segment outlines in a design cell 20 units wide and 31 high; segment s is
// bit s of a character mask (0 top, 1 upper left, 2 upper right, 3 middle,
// 4 lower left, 5 lower right, 6 bottom, 7 decimal point). The decimal point
// reaches past the design cell into the gap and the bottom margin.
using Outline = std::array<platform::Point, kOutlinePoints>;
const std::array<Outline, kSegments>& DesignOutlines();

// Segments lit by a character: digits and "-"; every other character lights none.
uint8_t CharMask(char c);

// Width of one cell: what is left of the client width after the borders, the
// slant and the gaps, shared by the cells. Undefined for numChars < 1.
int CellWidth(int clientWidth, int borderWidth, int shift, int distance, int numChars);

// Cell p (1-based) of a board whose cells are `cellWidth` wide.
platform::Rect CellRect(int p, int cellWidth, int clientHeight, int borderWidth, int shift,
                        int distance);

// A segment outline placed in a cell: each design point (x, y) becomes
// (L + Round(x*sx - y*shift/31), T + Round(y*sy)), with sx = (R - L - shift)/20
// and sy = (B - T)/31 in single precision, so the top of the digit leans
// `shift` pixels right of its bottom.
Outline PlaceOutline(const Outline& design, const platform::Rect& cell, int shift);

}  // namespace symbols::led
