#pragma once

#include <QWidget>

#include "platform/canvas/Canvas.h"
#include "platform/core/Palette.h"

namespace console {

// A plain figure on the window: a rectangle frame or a round lamp, with a pen
// and an optional fill.
class TShape : public QWidget {
    Q_OBJECT

public:
    enum class Kind { Rectangle, Circle };

    TShape(Kind kind, QWidget* parent = nullptr);

    void setPen(platform::TColor color, int width = 1);
    // No fill leaves the parent visible inside the outline.
    void setBrush(platform::TColor color);
    void setNoBrush();

    Kind kind() const { return kind_; }
    platform::TColor BrushColor() const { return brush_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    platform::TColor pen_ = palette::Black;
    int penWidth_ = 1;
    platform::TColor brush_ = palette::White;
    bool filled_ = true;
};

}  // namespace console
