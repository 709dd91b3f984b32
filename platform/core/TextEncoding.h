#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when `bytes` is well-formed UTF-8: no stray continuation bytes, no
// truncated, overlong or surrogate sequences, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Decodes Windows-1251 (the Russian Windows code page) into UTF-8. The one
// unassigned byte, 0x98, becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// The first `count` characters of well-formed UTF-8 text (all of it when shorter).
std::string_view Utf8Prefix(std::string_view text, std::size_t count);

}  // namespace platform
