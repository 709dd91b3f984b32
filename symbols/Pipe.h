#pragma once

#include <cstdint>

#include "symbols/CachedSymbol.h"
#include "symbols/SCADAType.h"

namespace symbols {

// Run direction of a straight pipe.
enum class TPipeOrientation : uint8_t { poVertical, poHorizontal };

// A straight grain chute drawn as a tube seen from the side: shaded from the
// wall colour at both walls to white along the centre line. The walls are
// black while no grain flows (Colored false) and take Color while it does.
class TPipe : public TCachedSymbol {
    Q_OBJECT
    // Tube width in pixels; forces the control's cross dimension.
    Q_PROPERTY(int Diameter READ Diameter WRITE setDiameter)
    // Run direction (the published name keeps its historical spelling).
    Q_PROPERTY(symbols::TPipeOrientation Opientation READ Opientation WRITE setOpientation)
    // Wall colour while Colored.
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)
    // True while grain flows: walls in Color instead of black.
    Q_PROPERTY(bool Colored READ Colored WRITE setColored)

public:
    explicit TPipe(QWidget* parent = nullptr);

    int Diameter() const { return diameter_; }
    void setDiameter(int diameter);
    TPipeOrientation Opientation() const { return orientation_; }
    void setOpientation(TPipeOrientation orientation);
    TColor Color() const { return color_; }
    void setColor(TColor color);
    bool Colored() const { return colored_; }
    void setColored(bool colored);

protected:
    void Draw(platform::Canvas& canvas) override;
    // The cross dimension follows the diameter; the run length stays as placed.
    QSize SizeFor(QSize size) const override;

private:
    void drawWallStrokes(platform::Canvas& canvas, int k, int w, int h) const;

    int diameter_ = 10;
    TPipeOrientation orientation_ = TPipeOrientation::poHorizontal;
    TColor color_ = clGreen;
    bool colored_ = false;
};

}  // namespace symbols
