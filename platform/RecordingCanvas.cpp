#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

std::string Hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, (c > 0xFFFFFF) ? "%08X" : "%06X", static_cast<unsigned>(c));
    return buf;
}

const char* StyleName(PenStyle s) {
    switch (s) {
        case PenStyle::Solid:
            return "solid";
        case PenStyle::Dot:
            return "dot";
        case PenStyle::Clear:
            return "clear";
    }
    return "?";
}

const char* KindName(RecordingCanvas::Kind k) {
    using K = RecordingCanvas::Kind;
    switch (k) {
        case K::Rectangle:
            return "Rectangle";
        case K::Ellipse:
            return "Ellipse";
        case K::Polygon:
            return "Polygon";
        case K::Polyline:
            return "Polyline";
        case K::Line:
            return "Line";
        case K::Arc:
            return "Arc";
        case K::FillRect:
            return "FillRect";
        case K::Text:
            return "Text";
        case K::CopyRect:
            return "CopyRect";
    }
    return "?";
}

std::string PointText(const Point& p) {
    return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
}

std::string PenText(const RecordingCanvas::Pen& pen) {
    if (pen.Style == PenStyle::Clear) return "pen=clear";
    return "pen=" + Hex(pen.Color) + "/" + std::to_string(pen.Width) + "/" + StyleName(pen.Style);
}

std::string BrushText(const RecordingCanvas::Brush& brush) {
    if (brush.Style == BrushStyle::Clear) return "brush=clear";
    return "brush=" + Hex(brush.Color);
}

size_t CodePoints(const std::string& utf8) {
    // Count every byte that does not continue a multi-byte sequence.
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::string RecordingCanvas::Primitive::ToString() const {
    using K = Kind;
    std::string s = KindName(kind);
    const auto& p = points;
    switch (kind) {
        case K::Rectangle:
        case K::Ellipse:
        case K::FillRect:
        case K::Text:
            s += "(" + std::to_string(p[0].X) + "," + std::to_string(p[0].Y) + "," +
                 std::to_string(p[1].X) + "," + std::to_string(p[1].Y) + ")";
            break;
        case K::Arc:
            s += "(" + std::to_string(p[0].X) + "," + std::to_string(p[0].Y) + "," +
                 std::to_string(p[1].X) + "," + std::to_string(p[1].Y) + ")" + PointText(p[2]) +
                 PointText(p[3]);
            break;
        case K::Line:
            s += PointText(p[0]) + "-" + PointText(p[1]);
            break;
        case K::CopyRect:
            s += PointText(p[0]) + "<-" + PointText(p[1]) + PointText(p[2]);
            break;
        case K::Polygon:
        case K::Polyline: {
            s += "(";
            for (size_t i = 0; i < p.size(); ++i) s += (i ? "," : "") + PointText(p[i]);
            s += ")";
            break;
        }
    }
    switch (kind) {
        case K::Rectangle:
        case K::Ellipse:
        case K::Polygon:
            s += " " + PenText(pen) + " " + BrushText(brush);
            break;
        case K::Polyline:
        case K::Line:
        case K::Arc:
            s += " " + PenText(pen);
            break;
        case K::FillRect:
            s += " " + BrushText(brush);
            break;
        case K::Text:
            s += " \"" + text + "\"";
            break;
        case K::CopyRect:
            break;
    }
    return s;
}

void RecordingCanvas::Add(Kind kind, std::vector<Point> points) {
    Primitive p;
    p.kind = kind;
    p.pen = pen_;
    p.brush = brush_;
    p.points = std::move(points);
    list_.push_back(std::move(p));
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Add(Kind::Rectangle, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Add(Kind::Ellipse, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::Polygon(std::span<const Point> points) {
    Add(Kind::Polygon, {points.begin(), points.end()});
}

void RecordingCanvas::Polyline(std::span<const Point> points) {
    Add(Kind::Polyline, {points.begin(), points.end()});
    if (!points.empty()) current_ = points.back();
}

void RecordingCanvas::LineTo(int x, int y) {
    Add(Kind::Line, {current_, {x, y}});
    current_ = {x, y};
}

void RecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Add(Kind::Arc, {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}});
}

void RecordingCanvas::FillRect(const Rect& r) {
    Add(Kind::FillRect, {{r.Left, r.Top}, {r.Right, r.Bottom}});
}

void RecordingCanvas::TextRect(const Rect& box, const std::string& utf8, TextAlign align) {
    Add(Kind::Text, {{box.Left, box.Top}, {box.Right, box.Bottom}});
    list_.back().text = utf8;
    list_.back().align = align;
    list_.back().font = font_;
}

int RecordingCanvas::TextHeight() const {
    return font_.PixelHeight + leading_;
}

int RecordingCanvas::TextWidth(const std::string& utf8) const {
    const int perChar = charWidth_ > 0 ? charWidth_ : std::max(font_.PixelHeight / 2, 1);
    return static_cast<int>(CodePoints(utf8)) * perChar;
}

void RecordingCanvas::SetTextMetrics(int leading, int charWidth) {
    leading_ = leading;
    charWidth_ = charWidth;
}

void RecordingCanvas::CopyRect(const Point& dest, const Image&, const Rect& src) {
    Add(Kind::CopyRect, {dest, {src.Left, src.Top}, {src.Right, src.Bottom}});
}

std::vector<std::string> RecordingCanvas::Lines() const {
    std::vector<std::string> out;
    out.reserve(list_.size());
    for (const auto& p : list_) out.push_back(p.ToString());
    return out;
}

std::vector<RecordingCanvas::Primitive> RecordingCanvas::Of(Kind kind) const {
    std::vector<Primitive> out;
    for (const auto& p : list_)
        if (p.kind == kind) out.push_back(p);
    return out;
}

}  // namespace platform
