#pragma once

#include "symbols/DeviceSymbol.h"

namespace symbols {

// A gate valve: a small square with a thick frame in the mode colour, a
// background that flashes red in alarm, and two plates that turn with the
// opening angle. Always square: Height follows Width.
class TLatch : public TDeviceSymbol {
    Q_OBJECT
    Q_PROPERTY(int Ungle READ Ungle WRITE setUngle)                 // opening angle, degrees
    Q_PROPERTY(int CloseUngle READ CloseUngle WRITE setCloseUngle)  // added to Ungle
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)    // colour of the plates

public:
    explicit TLatch(QWidget* parent = nullptr);

    int Ungle() const { return ungle_; }
    void setUngle(int degrees);
    int CloseUngle() const { return closeUngle_; }
    void setCloseUngle(int degrees);
    TColor Color() const { return color_; }
    void setColor(TColor c);

    void FlashTimerTick() override;

protected:
    void Draw(platform::Canvas& canvas) override;
    QSize SizeFor(QSize size) const override;

private:
    int ungle_ = 0;
    int closeUngle_ = 0;
    TColor color_ = clBlack;
};

}  // namespace symbols
