#pragma once

#include "symbols/DriveSymbol.h"

namespace symbols {

// A bucket elevator standing upright: a head with its discharge spout(s), a
// boot with its inlet widened to one or both sides, head and boot pulleys whose
// hubs show the drive state (or the alarm flash), the two belt runs with their
// buckets, and two upward arrows that blink while the drive runs. The mode
// shows as a frame around the boot. Always 96 pixels wide; only the distance
// between head and boot grows with the height.
class TNoria : public TDriveSymbol {
    Q_OBJECT
    // Side(s) of the head's discharge spout, and of the boot's inlet.
    Q_PROPERTY(
        symbols::TNoria::TOrientation TopOpientation READ TopOpientation WRITE setTopOpientation)
    Q_PROPERTY(symbols::TNoria::TOrientation BottomOpientation READ BottomOpientation WRITE
                   setBottomOpientation)

public:
    // Side(s) of the head spout or the boot inlet.
    enum class TOrientation : uint8_t { noLeft, noRight, noBoth };
    Q_ENUM(TOrientation)

    static constexpr int kWidth = 96;

    explicit TNoria(QWidget* parent = nullptr);

    TOrientation TopOpientation() const { return top_; }
    void setTopOpientation(TOrientation o);
    TOrientation BottomOpientation() const { return bottom_; }
    void setBottomOpientation(TOrientation o);

    void FlashTimerTick() override;

protected:
    void Draw(platform::Canvas& canvas) override;
    QSize SizeFor(QSize size) const override;

private:
    void DrawHeadAndBoot(platform::Canvas& canvas, int h);
    void DrawPulleys(platform::Canvas& canvas, int h);
    void DrawBelt(platform::Canvas& canvas, int h);
    void DrawArrows(platform::Canvas& canvas, int h);

    TOrientation top_ = TOrientation::noRight;
    TOrientation bottom_ = TOrientation::noLeft;
};

}  // namespace symbols
