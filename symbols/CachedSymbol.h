#pragma once

#include "symbols/GraphicControl.h"
#include "symbols/PaintCache.h"

namespace symbols {

// A passive symbol (silo, pipe, elbow) that keeps its last drawing and lays it
// onto the screen on every paint, drawing anew only after its look or size
// changed. Its setters all take one path, SetLook.
class TCachedSymbol : public TGraphicControl {
    Q_OBJECT

protected:
    explicit TCachedSymbol(QWidget* parent = nullptr);

    // The setter of a published property: stores the value, keeps the size
    // rule and requests a repaint, even for the same value; the kept drawing
    // is dropped only when the value differs.
    template <typename T>
    void SetLook(T& field, const T& value) {
        if (value != field) cache_.Invalidate();
        field = value;
        KeepSizeRule();
        Invalidate();
    }

    void paintEvent(QPaintEvent* event) override;

private:
    PaintCache cache_;
};

}  // namespace symbols
