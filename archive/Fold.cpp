#include "archive/Fold.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include <vector>

namespace archive {

std::string FoldCase(std::string_view utf8) {
    if (utf8.empty()) return {};
    // UTF-16 takes at most one unit per byte of UTF-8; folding may lengthen a
    // text up to three times (ß to ss, ŉ to ʼn).
    const auto length = static_cast<int32_t>(utf8.size());
    std::vector<UChar> wide(utf8.size());
    UErrorCode status = U_ZERO_ERROR;
    int32_t wideLength = 0;
    u_strFromUTF8WithSub(wide.data(), length, &wideLength, utf8.data(), length, 0xFFFD, nullptr,
                         &status);
    if (U_FAILURE(status)) return std::string(utf8);

    std::vector<UChar> folded(static_cast<std::size_t>(wideLength) * 3 + 1);
    const int32_t foldedLength =
        u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), wide.data(), wideLength,
                      U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status)) return std::string(utf8);

    // Each UTF-16 unit becomes at most three bytes of UTF-8.
    std::string out(static_cast<std::size_t>(foldedLength) * 3, '\0');
    int32_t outLength = 0;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, folded.data(),
                foldedLength, &status);
    if (U_FAILURE(status)) return std::string(utf8);
    out.resize(static_cast<std::size_t>(outLength));
    return out;
}

}  // namespace archive
