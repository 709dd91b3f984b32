#pragma once

#include <QObject>

#include "platform/canvas/Canvas.h"
#include "platform/core/Palette.h"

namespace symbols {

// A fill a symbol draws with (colour, style). It reports every change of an
// attribute, so the symbol that owns it can redraw.
class TBrush : public QObject {
    Q_OBJECT
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    Q_PROPERTY(platform::BrushStyle Style READ Style WRITE setStyle)

public:
    struct Attributes {
        platform::TColor Color = palette::White;
        platform::BrushStyle Style = platform::BrushStyle::Solid;
        friend bool operator==(const Attributes&, const Attributes&) = default;
    };

    explicit TBrush(QObject* parent = nullptr);
    TBrush(platform::TColor color, platform::BrushStyle style, QObject* parent = nullptr);

    platform::TColor Color() const { return a_.Color; }
    void setColor(platform::TColor color);
    platform::BrushStyle Style() const { return a_.Style; }
    void setStyle(platform::BrushStyle style);
    const Attributes& attributes() const { return a_; }

    // Gives the canvas this fill.
    void ApplyTo(platform::Canvas& canvas) const;

signals:
    void changed();

private:
    Attributes a_;
};

}  // namespace symbols
