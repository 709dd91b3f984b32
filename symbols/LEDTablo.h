#pragma once

#include <QPointer>
#include <QRegion>
#include <array>
#include <string>
#include <vector>

#include "symbols/Brush.h"
#include "symbols/GraphicControl.h"
#include "symbols/LEDGlyphs.h"
#include "symbols/LEDSegments.h"
#include "symbols/LEDText.h"
#include "symbols/Pen.h"
#include "symbols/SCADAType.h"

namespace symbols {

// A row of seven-segment LED digits showing one number. The value is written
// as text, spread over NumChars cells and every cell is drawn as eight small
// polygons (seven segments and a decimal point), lit with OnPen/OnBrush or
// dark with OffPen/OffBrush, each cell leaning Shift pixels to the right.
//
// A new Value is drawn at once, and only over the digit cells: the board
// repaints just the cells whose segments change, without refilling its
// background, so the three boards of the console cost little on every tick.
class TLEDTablo : public TGraphicControl {
    Q_OBJECT
    // Placement of the text within the cells.
    Q_PROPERTY(symbols::TLEDAlign Alignment READ Alignment WRITE setAlignment)
    // Margin between the control's edge and the cells, on all sides.
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    // Gap between neighbouring cells.
    Q_PROPERTY(int Distance READ Distance WRITE setDistance)
    // Slant: the top of a digit lies Shift pixels right of its bottom.
    Q_PROPERTY(int Shift READ Shift WRITE setShift)
    // Background fill.
    Q_PROPERTY(platform::TColor BackGroundColor READ BackGroundColor WRITE setBackGroundColor)
    // Number of character cells.
    Q_PROPERTY(int NumChars READ NumChars WRITE setNumChars)
    // Whole number or fixed point.
    Q_PROPERTY(symbols::TValueType ValueType READ ValueType WRITE setValueType)
    // The number shown (held in extended precision).
    Q_PROPERTY(double Value READ Value WRITE setValue)
    // Digits after the decimal separator for vtFloat.
    Q_PROPERTY(int Decimal READ Decimal WRITE setDecimal)
    // Outline and fill of lit and of dark segments.
    Q_PROPERTY(symbols::TPen* OnPen READ OnPen WRITE setOnPen)
    Q_PROPERTY(symbols::TPen* OffPen READ OffPen WRITE setOffPen)
    Q_PROPERTY(symbols::TBrush* OnBrush READ OnBrush WRITE setOnBrush)
    Q_PROPERTY(symbols::TBrush* OffBrush READ OffBrush WRITE setOffBrush)

public:
    explicit TLEDTablo(QWidget* parent = nullptr);

    TLEDAlign Alignment() const { return alignment_; }
    void setAlignment(TLEDAlign alignment);
    int BorderWidth() const { return borderWidth_; }
    void setBorderWidth(int width);
    int Distance() const { return distance_; }
    void setDistance(int distance);
    int Shift() const { return shift_; }
    void setShift(int shift);
    TColor BackGroundColor() const { return backGroundColor_; }
    void setBackGroundColor(TColor color);
    int NumChars() const { return numChars_; }
    void setNumChars(int count);
    TValueType ValueType() const { return valueType_; }
    void setValueType(TValueType type);
    long double Value() const { return value_; }
    void setValue(long double value);
    int Decimal() const { return decimal_; }
    void setDecimal(int decimal);

    // The board's own drawing objects repaint it when an attribute changes. An
    // object set from outside is drawn with as it is (not copied, not watched)
    // and stays the caller's; setting nullptr, or the outside object being
    // destroyed, brings back the board's own.
    TPen* OnPen() const;
    void setOnPen(TPen* pen);
    TPen* OffPen() const;
    void setOffPen(TPen* pen);
    TBrush* OnBrush() const;
    void setOnBrush(TBrush* brush);
    TBrush* OffBrush() const;
    void setOffBrush(TBrush* brush);

    // The decimal separator of the regional settings, read at creation.
    char DecimalSeparator() const { return separator_; }
    void setDecimalSeparator(char separator);

    // The text of the last rendering ("8" before the first), before space fill.
    const std::string& Text() const { return text_; }

    // Width of one cell and the rectangle of cell p (1-based) at the current size.
    int CellWidth() const;
    platform::Rect CellRect(int p) const;

    // Every cell, lit or dark, over whatever is there.
    void Render(platform::Canvas& canvas);

protected:
    // Background, then every cell. (On screen the board paints from images of
    // its cells drawn this same way, and a new value redraws only its cells.)
    void Draw(platform::Canvas& canvas) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What the cells looked like when last painted on screen, so a new value
    // needs to redraw only the cells that change.
    struct Drawn {
        bool valid = false;
        std::vector<uint8_t> masks;
        LEDGlyphs::Style style;
    };

    void drawBackground(platform::Canvas& canvas) const;
    // Formats the value (storing the text) and returns the mask of every cell;
    // none when the cells have no room to be drawn.
    std::vector<uint8_t> layoutCells();
    void drawCells(platform::Canvas& canvas, const std::vector<uint8_t>& masks);
    // The cells' segment outlines at the current layout, placed once per layout.
    const std::vector<std::array<led::Outline, led::kSegments>>& placedCells();
    bool cellsHaveRoom() const;
    QRegion cellRegion(int p);
    LEDGlyphs::Style currentStyle() const;

    // Draws a new value on screen at once, over the cells that change.
    void renderValueNow();
    // A layout change: the next paint draws everything.
    void layoutChanged();
    void ownObjectChanged();

    std::array<led::Outline, led::kSegments> segments_;
    int borderWidth_ = 5;
    int distance_ = 2;
    int shift_ = 2;
    TPen* ownOnPen_;
    TPen* ownOffPen_;
    TBrush* ownOnBrush_;
    TBrush* ownOffBrush_;
    QPointer<TPen> onPen_;
    QPointer<TPen> offPen_;
    QPointer<TBrush> onBrush_;
    QPointer<TBrush> offBrush_;
    TColor backGroundColor_ = clBlack;
    std::string text_ = "8";
    int numChars_ = 5;
    TLEDAlign alignment_ = TLEDAlign::laRightJustify;
    TValueType valueType_ = TValueType::vtInteger;
    long double value_ = 0;
    int decimal_ = 1;
    char separator_ = '.';

    // Placed outlines and the layout they were placed for.
    std::vector<std::array<led::Outline, led::kSegments>> placed_;
    std::array<int, 6> placedFor_{};
    // Cell images for the screen, and what the screen shows.
    LEDGlyphs glyphs_;
    Drawn drawn_;
    // Set while a new value is drawn at once: the paint covers its cells only.
    QRegion valueRegion_;
    bool drawingValue_ = false;
};

}  // namespace symbols
