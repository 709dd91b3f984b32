#include "platform/core/NumberFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace platform {

namespace {

// The mantissa of a long double is read into one 64-bit integer.
static_assert(std::numeric_limits<long double>::digits <= 64);

constexpr int kMaxPrecision = 18;
constexpr int kMaxDecimals = 18;
constexpr uint32_t kLimbBase = 1000000000;  // 10^9: one limb holds nine decimal digits
constexpr uint32_t kFivePow13 = 1220703125;

// An unsigned integer in base 10^9, least significant limb first, big enough
// for the exact decimal expansion of any finite long double (the smallest
// subnormal has about 11,500 significant digits). Lives on the stack, so
// formatting never allocates for the digits.
class DecimalInteger {
public:
    explicit DecimalInteger(uint64_t v) {
        do {
            limbs_[static_cast<std::size_t>(size_++)] = static_cast<uint32_t>(v % kLimbBase);
            v /= kLimbBase;
        } while (v != 0);
    }

    // Multiplies by f, 1 <= f <= 2^32.
    void Multiply(uint64_t f) {
        uint64_t carry = 0;
        for (int i = 0; i < size_; ++i) {
            uint64_t x = limbs_[static_cast<std::size_t>(i)] * f + carry;
            limbs_[static_cast<std::size_t>(i)] = static_cast<uint32_t>(x % kLimbBase);
            carry = x / kLimbBase;
        }
        while (carry != 0) {
            limbs_[static_cast<std::size_t>(size_++)] = static_cast<uint32_t>(carry % kLimbBase);
            carry /= kLimbBase;
        }
    }

    int DigitCount() const { return 9 * (size_ - 1) + DigitsOf(Top()); }

    // The i-th decimal digit counted from the most significant one (i = 0).
    int DigitAt(int i) const {
        int fromBottom = DigitCount() - 1 - i;
        uint32_t limb = limbs_[static_cast<std::size_t>(fromBottom / 9)];
        for (int k = fromBottom % 9; k > 0; --k) limb /= 10;
        return static_cast<int>(limb % 10);
    }

private:
    static constexpr std::size_t kMaxLimbs = 1400;

    uint32_t Top() const { return limbs_[static_cast<std::size_t>(size_ - 1)]; }
    static int DigitsOf(uint32_t v) {
        int n = 1;
        while (v >= 10) {
            v /= 10;
            ++n;
        }
        return n;
    }

    std::array<uint32_t, kMaxLimbs> limbs_;
    int size_ = 0;
};

// A decimal number 0.D1D2...Dn x 10^exponent with no trailing zero digits;
// no digits at all means zero.
struct RoundedDecimal {
    std::array<char, kMaxPrecision + 1> digits{};
    int count = 0;
    int exponent = 0;
};

// Rounds |value| to the digit of weight 10^lowest computed from its exact binary
// value. Since all digits are exact, a first dropped digit of 5 or more rounds up:
// that is round-to-nearest with an exact tie going away from zero.
// `lowestFor(exponent)` picks the lowest kept weight from the number's exponent.
template <typename LowestFor>
RoundedDecimal RoundExact(long double magnitude, LowestFor lowestFor) {
    RoundedDecimal out;
    if (magnitude == 0) return out;

    // magnitude = mantissa x 2^binaryExponent, mantissa odd.
    int binaryExponent = 0;
    long double fraction = std::frexp(magnitude, &binaryExponent);
    auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    binaryExponent -= 64;
    while ((mantissa & 1U) == 0) {
        mantissa >>= 1;
        ++binaryExponent;
    }

    // Exact expansion: magnitude = whole x 10^-scale.
    DecimalInteger whole(mantissa);
    int scale = 0;
    if (binaryExponent >= 0) {
        for (int e = binaryExponent; e > 0; e -= 32) whole.Multiply(uint64_t{1} << std::min(e, 32));
    } else {
        // m / 2^k = m x 5^k / 10^k
        scale = -binaryExponent;
        int k = scale;
        for (; k >= 13; k -= 13) whole.Multiply(kFivePow13);
        uint64_t rest = 1;
        for (; k > 0; --k) rest *= 5;
        whole.Multiply(rest);
    }

    const int length = whole.DigitCount();
    const int exponent = length - scale;
    const int lowest = lowestFor(exponent);
    const int keep = exponent - lowest;
    if (keep < 0) return out;  // below half a unit of the lowest kept digit

    const int copied = std::min(keep, length);
    for (int i = 0; i < copied; ++i) {
        out.digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + whole.DigitAt(i));
    }
    out.count = copied;
    out.exponent = exponent;

    if (keep < length && whole.DigitAt(keep) >= 5) {
        int i = copied - 1;
        while (i >= 0 && out.digits[static_cast<std::size_t>(i)] == '9') {
            out.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++out.digits[static_cast<std::size_t>(i)];
        } else {
            // All kept digits were 9 (or none was kept): the number becomes
            // one unit of the next higher weight.
            out.digits[0] = '1';
            out.count = 1;
            out.exponent = keep == 0 ? lowest + 1 : exponent + 1;
        }
    }
    while (out.count > 0 && out.digits[static_cast<std::size_t>(out.count - 1)] == '0') --out.count;
    return out;
}

void AppendExponentForm(std::string& text, const RoundedDecimal& d, int decimals, char separator) {
    text += d.digits[0];
    if (d.count > 1) {
        text += separator;
        text.append(d.digits.data() + 1, static_cast<std::size_t>(d.count - 1));
    }
    text += 'E';
    int power = d.exponent - 1;
    if (power < 0) {
        text += '-';
        power = -power;
    }
    std::string exponentDigits = std::to_string(power);
    const int minDigits = decimals <= 4 ? decimals : 0;
    if (static_cast<int>(exponentDigits.size()) < minDigits) {
        text.append(static_cast<std::size_t>(minDigits) - exponentDigits.size(), '0');
    }
    text += exponentDigits;
}

void AppendFixedForm(std::string& text, const RoundedDecimal& d, int decimals, char separator) {
    auto digitAt = [&d](int i) {
        return i >= 0 && i < d.count ? d.digits[static_cast<std::size_t>(i)] : '0';
    };
    if (d.exponent <= 0) {
        text += '0';
    } else {
        for (int i = 0; i < d.exponent; ++i) text += digitAt(i);
    }
    if (decimals > 0) {
        text += separator;
        for (int j = 0; j < decimals; ++j) text += digitAt(d.exponent + j);
    }
}

}  // namespace

std::string FormatFixed(long double value, int precision, int decimals, char separator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, kMaxPrecision);
    decimals = std::clamp(decimals, 0, kMaxDecimals);

    // Keep at most `precision` significant digits and at most `decimals` decimals.
    RoundedDecimal d = RoundExact(
        std::fabs(value), [&](int exponent) { return std::max(-decimals, exponent - precision); });

    std::string text;
    if (d.count == 0) {  // zero, or rounded to zero: no sign
        AppendFixedForm(text, d, decimals, separator);
        return text;
    }
    if (std::signbit(value)) text += '-';
    if (d.exponent > precision) {
        AppendExponentForm(text, d, decimals, separator);
    } else {
        AppendFixedForm(text, d, decimals, separator);
    }
    return text;
}

}  // namespace platform
