#pragma once

#include <QObject>
#include <cstdint>

#include "platform/canvas/Canvas.h"
#include "platform/core/Palette.h"
#include "platform/core/Rounding.h"

// Shared enumerations, named colours and rounding of the equipment symbols.
namespace symbols {
Q_NAMESPACE

using platform::TColor;

// Control mode of a device; selects the outline colour of its symbol.
enum class TMode : uint8_t { Local, Remote, Auto, Repair };
Q_ENUM_NS(TMode)

// Drive state; selects the fill of the state indicator.
enum class TState : uint8_t { Run, Acceleration, Stop };
Q_ENUM_NS(TState)

// Alarm flash rate: one flash phase every 2000, 1000 or 500 ms.
enum class TFlashRate : uint8_t { frSlow, frMedium, frFast };
Q_ENUM_NS(TFlashRate)

// The named colours under the names the symbols use; the values are the palette's.
inline constexpr TColor clBlack = palette::Black;
inline constexpr TColor clMaroon = palette::Maroon;
inline constexpr TColor clGreen = palette::Green;
inline constexpr TColor clOlive = palette::Olive;
inline constexpr TColor clNavy = palette::Navy;
inline constexpr TColor clPurple = palette::Purple;
inline constexpr TColor clTeal = palette::Teal;
inline constexpr TColor clGray = palette::Gray;
inline constexpr TColor clSilver = palette::Silver;
inline constexpr TColor clRed = palette::Red;
inline constexpr TColor clLime = palette::Lime;
inline constexpr TColor clYellow = palette::Yellow;
inline constexpr TColor clBlue = palette::Blue;
inline constexpr TColor clFuchsia = palette::Fuchsia;
inline constexpr TColor clAqua = palette::Aqua;
inline constexpr TColor clWhite = palette::White;
inline constexpr TColor clBtnFace = palette::BtnFace;

// Nearest integer, ties to even (22.5 -> 22).
inline int Round(long double x) {
    return static_cast<int>(platform::RoundHalfEven(x));
}

// Drops the fraction towards zero.
inline int Trunc(long double x) {
    return static_cast<int>(platform::Trunc(x));
}

// A proportion of a size: the factor is held in extended precision, multiplied
// by the integer size and rounded on its own (ties to even).
inline int Scale(long double factor, int size) {
    return Round(factor * static_cast<long double>(size));
}

// Milliseconds per flash phase.
int FlashIntervalOf(TFlashRate rate);

// The outline colour for a mode, out of the four mode colours.
TColor ModeColor(TMode mode, TColor local, TColor remote, TColor automatic, TColor repair);

// The state-indicator colour for a drive state.
TColor StateColor(TState state, TColor run, TColor accelerate, TColor stop);

}  // namespace symbols
