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

// Decodes UTF-16 (little- or big-endian, without its byte-order mark) into
// UTF-8. An unpaired surrogate or an odd last byte becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

// The text of a file as UTF-8. A UTF-16 file is recognised by its byte-order
// mark; otherwise a UTF-8 byte-order mark is dropped and each line is decoded on
// its own: a line that is well-formed UTF-8 stays as it is, any other is taken
// as Windows-1251, so one line written on a Russian Windows system does not
// turn the rest of the file into garbage. Line breaks are kept.
std::string TextFileToUtf8(std::string_view bytes);

// The first `count` characters of well-formed UTF-8 text (all of it when shorter).
std::string_view Utf8Prefix(std::string_view text, std::size_t count);

}  // namespace platform
