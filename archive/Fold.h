#pragma once

#include <string>
#include <string_view>

namespace archive {

// The text with its case folded by Unicode's full case folding (ICU), so that
// "ЗАДВИЖКА", "Задвижка" and "задвижка" compare equal: the search of the
// journal finds Cyrillic text whatever its case. Ill-formed UTF-8 is folded
// with U+FFFD in place of the bad bytes.
std::string FoldCase(std::string_view utf8);

}  // namespace archive
