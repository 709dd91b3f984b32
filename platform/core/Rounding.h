#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

namespace detail {
// Converts an integral long double to int64_t, saturating at the type's limits
// (NaN gives 0), so a wild value such as a stock of 1e30 read from an edited
// state file cannot make the conversion undefined.
inline int64_t SaturateToInt64(long double r) {
    if (std::isnan(r)) return 0;
    constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
    if (r >= kLimit) return std::numeric_limits<int64_t>::max();
    if (r < -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}
}  // namespace detail

// Round to the nearest integer, ties to the even neighbour (22.5 -> 22, 23.5 -> 24).
inline int64_t RoundHalfEven(long double x) {
    // The default rounding mode rounds to nearest, ties to even. rintl gives the
    // same result as nearbyintl without saving and restoring the floating-point
    // environment, which makes it an order of magnitude cheaper in paint loops.
    long double r = std::rintl(x);
    return detail::SaturateToInt64(r);
}

// Drop the fraction towards zero.
inline int64_t Trunc(long double x) {
    return detail::SaturateToInt64(std::truncl(x));
}

}  // namespace platform
