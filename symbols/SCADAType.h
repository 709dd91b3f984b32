#pragma once

#include <QObject>
#include <cstdint>

#include "platform/Canvas.h"
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

// Named colours, 0x00BBGGRR.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBtnFace = platform::kBtnFace;

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
