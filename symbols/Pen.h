#pragma once

#include <QObject>

#include "platform/canvas/Canvas.h"
#include "platform/core/Palette.h"

namespace symbols {

// A pen a symbol draws with (colour, width, style). It reports every change
// of an attribute, so the symbol that owns it can redraw.
class TPen : public QObject {
    Q_OBJECT
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    Q_PROPERTY(int Width READ Width WRITE setWidth)
    Q_PROPERTY(platform::PenStyle Style READ Style WRITE setStyle)

public:
    struct Attributes {
        platform::TColor Color = palette::Black;
        int Width = 1;
        platform::PenStyle Style = platform::PenStyle::Solid;
        friend bool operator==(const Attributes&, const Attributes&) = default;
    };

    explicit TPen(QObject* parent = nullptr);
    TPen(platform::TColor color, int width, platform::PenStyle style, QObject* parent = nullptr);

    platform::TColor Color() const { return a_.Color; }
    void setColor(platform::TColor color);
    int Width() const { return a_.Width; }
    void setWidth(int width);
    platform::PenStyle Style() const { return a_.Style; }
    void setStyle(platform::PenStyle style);
    const Attributes& attributes() const { return a_; }

    // Gives the canvas this pen's attributes.
    void ApplyTo(platform::Canvas& canvas) const;

signals:
    void changed();

private:
    Attributes a_;
};

}  // namespace symbols
