#include "symbols/CachedSymbol.h"

namespace symbols {

TCachedSymbol::TCachedSymbol(QWidget* parent) : TGraphicControl(parent) {}

void TCachedSymbol::paintEvent(QPaintEvent* event) {
    cache_.PaintWidget(*this, event, [this](platform::Canvas& canvas) { Paint(canvas); });
}

}  // namespace symbols
