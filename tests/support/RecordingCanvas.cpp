#include "tests/support/RecordingCanvas.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

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

void PutPoint(std::ostringstream& out, const Point& p) {
    out << '(' << p.X << ',' << p.Y << ')';
}

void PutBox(std::ostringstream& out, const Point& a, const Point& b) {
    out << '(' << a.X << ',' << a.Y << ',' << b.X << ',' << b.Y << ')';
}

void PutPen(std::ostringstream& out, const RecordingCanvas::Pen& pen) {
    if (pen.Style == PenStyle::Clear) {
        out << " pen=clear";
        return;
    }
    out << " pen=" << Hex(pen.Color) << '/' << pen.Width << '/' << StyleName(pen.Style);
}

void PutBrush(std::ostringstream& out, const RecordingCanvas::Brush& brush) {
    if (brush.Style == BrushStyle::Clear)
        out << " brush=clear";
    else
        out << " brush=" << Hex(brush.Color);
}

size_t CodePoints(const std::string& utf8) {
    // Count every byte that does not continue a multi-byte sequence.
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::string RecordingCanvas::Primitive::ToString() const {
    using K = Kind;
    std::ostringstream out;
    out << KindName(kind);
    const auto& p = points;
    switch (kind) {
        case K::Rectangle:
        case K::Ellipse:
        case K::FillRect:
        case K::Text:
            PutBox(out, p[0], p[1]);
            break;
        case K::Arc:
            PutBox(out, p[0], p[1]);
            PutPoint(out, p[2]);
            PutPoint(out, p[3]);
            break;
        case K::Line:
            PutPoint(out, p[0]);
            out << '-';
            PutPoint(out, p[1]);
            break;
        case K::CopyRect:
            PutPoint(out, p[0]);
            out << "<-";
            PutPoint(out, p[1]);
            PutPoint(out, p[2]);
            break;
        case K::Polygon:
        case K::Polyline:
            out << '(';
            for (size_t i = 0; i < p.size(); ++i) {
                if (i > 0) out << ',';
                PutPoint(out, p[i]);
            }
            out << ')';
            break;
    }
    switch (kind) {
        case K::Rectangle:
        case K::Ellipse:
        case K::Polygon:
            PutPen(out, pen);
            PutBrush(out, brush);
            break;
        case K::Polyline:
        case K::Line:
        case K::Arc:
            PutPen(out, pen);
            break;
        case K::FillRect:
            PutBrush(out, brush);
            break;
        case K::Text:
            out << " \"" << text << '"';
            break;
        case K::CopyRect:
            break;
    }
    return out.str();
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
