#pragma once

#include <cmath>
#include <cstdint>

namespace platform {

// Round to the nearest integer, ties to the even neighbour (22.5 -> 22, 23.5 -> 24).
inline int64_t RoundHalfEven(long double x) {
    long double r = std::nearbyintl(x);  // default rounding mode: to nearest, ties to even
    return static_cast<int64_t>(r);
}

// Drop the fraction towards zero.
inline int64_t Trunc(long double x) { return static_cast<int64_t>(x); }

}  // namespace platform
