#pragma once

#include "symbols/CachedSymbol.h"
#include "symbols/SCADAType.h"

namespace symbols {

// A storage silo drawn as a lit cylinder under a conical roof: vertical lines
// shading from the base colour to almost white and back, and a fan of lines
// from the roof's apex to the top of the body. It shows no level.
class TSilo : public TCachedSymbol {
    Q_OBJECT
    // Height of the roof, in percent of the control's height.
    Q_PROPERTY(int Cover READ Cover WRITE setCover)
    // Base shade of body and roof (0x00BBGGRR; a system colour is taken by its low bytes).
    Q_PROPERTY(platform::TColor Color READ Color WRITE setColor)

public:
    explicit TSilo(QWidget* parent = nullptr);

    int Cover() const { return cover_; }
    void setCover(int cover);
    TColor Color() const { return color_; }
    void setColor(TColor color);

    // Row of the roof line (top of the body) for the current size and Cover.
    int RoofLine() const;

protected:
    void Draw(platform::Canvas& canvas) override;

private:
    void drawLeftShading(platform::Canvas& canvas, int roofLine) const;
    void drawRightShading(platform::Canvas& canvas, int roofLine) const;
    void drawBodyOutline(platform::Canvas& canvas, int roofLine) const;
    // One shaded line of the body at column x, and its roof line from the apex.
    void drawShadeLine(platform::Canvas& canvas, int x, int roofLine) const;

    TColor color_ = clBlack;
    int cover_ = 10;
};

}  // namespace symbols
