#include "symbols/LEDBoardLook.h"

#include "platform/core/Palette.h"
#include "symbols/LEDTablo.h"

namespace symbols {

void SetUpAsConsoleBoard(TLEDTablo& board) {
    board.resize(kConsoleBoardSize);
    board.setNumChars(6);
    board.setValueType(TValueType::vtFloat);
    board.setDecimal(1);
    board.setAlignment(TLEDAlign::laRightJustify);
    board.setBorderWidth(5);
    board.setDistance(2);
    board.setShift(2);
    board.setBackGroundColor(palette::Black);
    board.OnBrush()->setColor(palette::Lime);
    board.OnPen()->setColor(palette::Lime);
    board.OffBrush()->setColor(palette::LedUnlit);
    board.OffPen()->setColor(palette::LedUnlit);
}

}  // namespace symbols
