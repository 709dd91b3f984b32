#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/core/Palette.h"

namespace platform {

// Colours are 0x00BBGGRR, red in the low byte. kBtnFace is not a literal colour
// but the face colour of buttons and forms, resolved by ResolveColor().
using TColor = palette::Colour;
constexpr TColor kBtnFace = palette::BtnFace;

enum class PenStyle { Solid, Dot, Clear };
enum class BrushStyle { Solid, Clear };
enum class TextAlign { Left, Center, Right };

struct Point {
    int X = 0;
    int Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct FontSpec {
    std::string Family = "MS Sans Serif";
    int PixelHeight = 11;  // character height in pixels
    bool Bold = false;
    TColor Color = palette::Black;
};

class Image;

// The drawing model of the symbols: integer pixels, GDI semantics.
// - Rectangle and Ellipse take a bounding box covering X1..X2-1 and Y1..Y2-1,
//   outlined with the pen centred on the outline and filled with the brush.
// - LineTo draws from the current point and leaves the end point unpainted.
// - Arc runs counter-clockwise (as seen on the screen) from the ray through the
//   start point to the ray through the end point. Pen only.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetPenColor(TColor c) = 0;
    virtual void SetPenWidth(int w) = 0;
    virtual void SetPenStyle(PenStyle s) = 0;
    virtual void SetBrushColor(TColor c) = 0;
    virtual void SetBrushStyle(BrushStyle s) = 0;

    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void Polygon(std::span<const Point> points) = 0;
    virtual void Polyline(std::span<const Point> points) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    // Fills X1..X2-1, Y1..Y2-1 with the brush, no outline.
    virtual void FillRect(const Rect& r) = 0;

    // Aligned single-line text inside the box, top-aligned.
    virtual void SetFont(const FontSpec& font) = 0;
    virtual void TextRect(const Rect& box, const std::string& utf8, TextAlign align) = 0;
    // Character cell height plus internal leading, and text width, in pixels.
    virtual int TextHeight() const = 0;
    virtual int TextWidth(const std::string& utf8) const = 0;

    // Copies `src` of `image` to `dest` (top-left), clipped to the canvas's clip.
    virtual void CopyRect(const Point& dest, const Image& image, const Rect& src) = 0;
};

// An off-screen image with its own canvas.
class Image {
public:
    virtual ~Image() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual Canvas& canvas() = 0;
};

}  // namespace platform
