#pragma once

#include "symbols/DriveSymbol.h"

namespace symbols {

struct ConveyorGeometry;

// A belt conveyor seen from the side: rollers along the bottom edge in the
// state colour (the flash colour while in alarm), the upper and lower belt
// runs, and arrows in the travel direction that blink while the drive runs.
// The frame shows the mode; the background is left as it is.
class TConveyor : public TDriveSymbol {
    Q_OBJECT
    // Travel direction of the belt, which the arrows show.
    Q_PROPERTY(
        symbols::TConveyor::TConveyorOrientation Opientation READ Opientation WRITE setOpientation)

public:
    // Travel direction of the belt.
    enum class TConveyorOrientation : uint8_t { coLeft, coRight };
    Q_ENUM(TConveyorOrientation)

    explicit TConveyor(QWidget* parent = nullptr);

    TConveyorOrientation Opientation() const { return opientation_; }
    void setOpientation(TConveyorOrientation o);

    void FlashTimerTick() override;

    // The tallest conveyor of a given length: Trunc((W - 10) x 0.5333), and
    // never below 0 (a conveyor shorter than 10 pixels is flat).
    static int MaxHeight(int width);

protected:
    void Draw(platform::Canvas& canvas) override;
    QSize SizeFor(QSize size) const override;

private:
    // One arrow whose 30-pixel body starts at x.
    void DrawArrow(platform::Canvas& canvas, int x, const ConveyorGeometry& g);

    TConveyorOrientation opientation_ = TConveyorOrientation::coRight;
};

}  // namespace symbols
