#pragma once

#include <string>
#include <vector>

#include "platform/canvas/Canvas.h"

namespace platform {

// A canvas that paints nothing and lists every primitive it is asked for,
// with the pen and fill in force and the integer coordinates, so tests can
// compare a drawing step by step.
//
// Each primitive also has a one-line text form, e.g.
//   "Rectangle(0,0,120,90) pen=008000/3/solid brush=FF00000F"
//   "Line(9,12)-(397,12) pen=000000/2/solid"
//   "Polygon((57,5),(77,5),...) pen=008000/1/solid brush=clear"
// Colours are the TColor value in six (or eight, for system colours) hex digits.
class RecordingCanvas : public Canvas {
public:
    enum class Kind { Rectangle, Ellipse, Polygon, Polyline, Line, Arc, FillRect, Text, CopyRect };

    struct Pen {
        TColor Color = palette::Black;
        int Width = 1;
        PenStyle Style = PenStyle::Solid;
        friend bool operator==(const Pen&, const Pen&) = default;
    };
    struct Brush {
        TColor Color = palette::White;
        BrushStyle Style = BrushStyle::Solid;
        friend bool operator==(const Brush&, const Brush&) = default;
    };

    struct Primitive {
        Kind kind = Kind::Rectangle;
        Pen pen;
        Brush brush;
        // Rectangle/Ellipse/FillRect/Text: 2 points (X1,Y1),(X2,Y2).
        // Arc: 4 points: box corners, start, end. Line: from, to.
        // Polygon/Polyline: the vertices. CopyRect: dest, src top-left, src bottom-right.
        std::vector<Point> points;
        std::string text;  // Text only
        TextAlign align = TextAlign::Left;
        FontSpec font;  // Text only

        std::string ToString() const;
    };

    void SetPenColor(TColor c) override { pen_.Color = c; }
    void SetPenWidth(int w) override { pen_.Width = w; }
    void SetPenStyle(PenStyle s) override { pen_.Style = s; }
    void SetBrushColor(TColor c) override { brush_.Color = c; }
    void SetBrushStyle(BrushStyle s) override { brush_.Style = s; }

    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void Polygon(std::span<const Point> points) override;
    void Polyline(std::span<const Point> points) override;
    void MoveTo(int x, int y) override { current_ = {x, y}; }
    void LineTo(int x, int y) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void FillRect(const Rect& r) override;

    void SetFont(const FontSpec& font) override { font_ = font; }
    void TextRect(const Rect& box, const std::string& utf8, TextAlign align) override;
    // Fixed metrics so text layout is predictable in tests: the height is the
    // font's pixel height plus `Leading`, each character (code point) is
    // `CharWidth` pixels wide (default: half the pixel height, at least 1).
    int TextHeight() const override;
    int TextWidth(const std::string& utf8) const override;
    void SetTextMetrics(int leading, int charWidth);

    void CopyRect(const Point& dest, const Image& image, const Rect& src) override;

    const std::vector<Primitive>& Primitives() const { return list_; }
    // The text form of every primitive, in drawing order.
    std::vector<std::string> Lines() const;
    // Only the primitives of one kind.
    std::vector<Primitive> Of(Kind kind) const;
    void Clear() { list_.clear(); }

    const Pen& CurrentPen() const { return pen_; }
    const Brush& CurrentBrush() const { return brush_; }
    Point CurrentPoint() const { return current_; }

private:
    void Add(Kind kind, std::vector<Point> points);

    Pen pen_;
    Brush brush_;
    FontSpec font_;
    Point current_;
    int leading_ = 0;
    int charWidth_ = 0;  // 0: half the pixel height
    std::vector<Primitive> list_;
};

}  // namespace platform
