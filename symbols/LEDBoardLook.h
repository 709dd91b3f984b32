#pragma once

#include <QSize>

namespace symbols {

class TLEDTablo;

// The look of the console's tonnage boards: 153 x 41, six cells of a number
// with one decimal, right-aligned, lime segments and dark grey unlit ones on
// black, cells 2 apart with a slant of 2 inside a margin of 5. The decimal
// separator is left as it is (the regional one, or whatever the caller set).
inline constexpr QSize kConsoleBoardSize{153, 41};
void SetUpAsConsoleBoard(TLEDTablo& board);

}  // namespace symbols
