#include "platform/core/ProfileValue.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Strips a leading sign; true when it was a minus.
bool TakeSign(std::string_view& text) {
    if (text.empty() || (text.front() != '-' && text.front() != '+')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

std::optional<uint64_t> ParseDigits(std::string_view digits, int base) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
    const bool negative = TakeSign(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // A sign in front of from_chars' digits would be taken by it, so refuse one here.
        if (text[2] == '+' || text[2] == '-') return std::nullopt;
        const auto bits = ParseDigits(text.substr(2), 16);
        if (!bits || *bits > 0xFFFFFFFFu) return std::nullopt;
        const auto pattern = static_cast<uint32_t>(negative ? 0u - *bits : *bits);
        return static_cast<int32_t>(pattern);
    }
    if (text.empty() || !IsDigit(text.front())) return std::nullopt;
    const auto magnitude = ParseDigits(text, 10);
    if (!magnitude) return std::nullopt;
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (*magnitude > limit) return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*magnitude)
                                         : static_cast<int64_t>(*magnitude));
}

std::optional<double> ParseProfileReal(std::string_view text) {
    // Check the shape by hand: from_chars alone would also take "inf", "nan" and
    // hexadecimal floats, and knows only the point as separator.
    std::string normal;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') normal += '-';
        ++i;
    }
    bool digits = false, separator = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits = true;
            normal += c;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
            normal += '.';
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) normal += text[i++];
        const std::size_t first = i;
        for (; i < text.size() && IsDigit(text[i]); ++i) normal += text[i];
        if (i == first) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0.0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (error != std::errc{} || end != normal.data() + normal.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FormatProfileReal(double value, char decimalSeparator) {
    if (value == 0.0) return "0";  // also for -0, which would read "-0"
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == '.') c = decimalSeparator;
    }
    return text;
}

}  // namespace platform
