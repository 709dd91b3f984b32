#pragma once

#include "symbols/DriveSymbol.h"

namespace symbols {

// A pump or fan: a round grey casing with a bevelled rim, a hub whose fill
// shows the drive state, a shaded outlet pipe low on one side and an inlet
// pipe at hub height on the other, each ending in a flange. The frame shows
// the mode, the background the alarm flash. Everything scales with Width;
// Height follows as Round(0.75 x Width).
class TPump : public TDriveSymbol {
    Q_OBJECT
    // Side of the outlet pipe; the inlet is on the other side.
    Q_PROPERTY(symbols::TPump::TPumpOrientation Opientation READ Opientation WRITE setOpientation)

public:
    // Side of the outlet pipe.
    enum class TPumpOrientation : uint8_t { poLeft, poRight };
    Q_ENUM(TPumpOrientation)

    explicit TPump(QWidget* parent = nullptr);

    TPumpOrientation Opientation() const { return opientation_; }
    void setOpientation(TPumpOrientation o);

    void FlashTimerTick() override;

    // One shaded horizontal tube over x X1..X2 and y Y1..Y2: lines from black
    // at the top and bottom edges to light grey in the middle, closed by black
    // lines at both ends. Leaves the pen black; the pen width is the caller's.
    static void DrawTube(platform::Canvas& canvas, int x1, int y1, int x2, int y2);

protected:
    void Draw(platform::Canvas& canvas) override;
    QSize SizeFor(QSize size) const override;

private:
    struct Pipe;
    struct Geometry;

    void drawFrame(platform::Canvas& canvas) const;
    static void drawPipe(platform::Canvas& canvas, const Pipe& pipe);
    static void drawCasing(platform::Canvas& canvas, const Geometry& g);
    void drawHub(platform::Canvas& canvas, const Geometry& g) const;

    TPumpOrientation opientation_ = TPumpOrientation::poLeft;
};

}  // namespace symbols
