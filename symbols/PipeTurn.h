#pragma once

#include <cstdint>

#include "symbols/CachedSymbol.h"
#include "symbols/SCADAType.h"

namespace symbols {

// Corner of curvature of an elbow, which is also the pair of sides it joins
// (poLeftUp joins the left side and the top side).
enum class TTurnOrientation : uint8_t { poLeftUp, poRightUp, poLeftDown, poRightDown };

// A quarter-circle pipe elbow, shaded like a straight pipe: the outer and the
// inner wall arcs close in on the centre line one pixel per step. The control
// is a square of side Diameter + RadiusTurn.
class TPipeTurn : public TCachedSymbol {
    Q_OBJECT
    // Wall colour while Colored.
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    // True while grain flows: walls in Color instead of black.
    Q_PROPERTY(bool Colored READ Colored WRITE setColored)
    // Tube width in pixels.
    Q_PROPERTY(int Diameter READ Diameter WRITE setDiameter)
    // Radius of the inner wall.
    Q_PROPERTY(int RadiusTurn READ RadiusTurn WRITE setRadiusTurn)
    // Corner of curvature.
    Q_PROPERTY(symbols::TTurnOrientation Orientation READ Orientation WRITE setOrientation)

public:
    explicit TPipeTurn(QWidget* parent = nullptr);

    TColor Color() const { return color_; }
    void setColor(TColor color);
    bool Colored() const { return colored_; }
    void setColored(bool colored);
    int Diameter() const { return diameter_; }
    void setDiameter(int diameter);
    int RadiusTurn() const { return radiusTurn_; }
    void setRadiusTurn(int radius);
    TTurnOrientation Orientation() const { return orientation_; }
    void setOrientation(TTurnOrientation orientation);

    // Side of the square the elbow occupies: Diameter + RadiusTurn.
    int Side() const;

    // Centre of curvature and the two rays that bound the quarter drawn
    // (counter-clockwise from start to end), for a square of side `side`.
    struct Quarter {
        platform::Point centre, start, end;
    };
    static Quarter QuarterOf(TTurnOrientation orientation, int side);

protected:
    void Draw(platform::Canvas& canvas) override;
    QSize SizeFor(QSize size) const override;

private:
    static void drawArc(platform::Canvas& canvas, const Quarter& q, int radius);

    TColor color_ = clGreen;
    bool colored_ = false;
    int diameter_ = 10;
    int radiusTurn_ = 10;
    TTurnOrientation orientation_ = TTurnOrientation::poLeftUp;
};

}  // namespace symbols
