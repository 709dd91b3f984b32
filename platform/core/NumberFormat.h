#pragma once

#include <string>

namespace platform {

// Fixed-point text of `value` with `decimals` digits after `separator`, rounded
// to at most `precision` significant digits; positions beyond the significant
// digits are written as "0". When the integer part needs more than `precision`
// digits the text takes the exponent form: sign, first digit, separator and the
// remaining significant digits (trailing zeros dropped), "E", "-" for a negative
// exponent, and the exponent with at least `decimals` digits (no minimum when
// `decimals` exceeds 4). Examples with precision 6, one decimal, ".":
// 4499.97 -> "4500.0", 123456.7 -> "123457.0", 1234567.8 -> "1.23457E6".
// Digits are rounded from the exact binary value; an exact decimal tie rounds
// away from zero (0.25 with one decimal -> "0.3"). A value that rounds to zero
// has no sign. `precision` is limited to 1..18 and `decimals` to 0..18; NaN and
// infinities read "NAN", "INF" and "-INF".
std::string FormatFixed(long double value, int precision, int decimals, char separator);

}  // namespace platform
