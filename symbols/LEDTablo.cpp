#include "symbols/LEDTablo.h"

#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "platform/canvas/SystemColor.h"

namespace symbols {

namespace {

// More cells than any screen can show side by side; a board asked for more
// draws none rather than spending its time and memory on invisible cells.
constexpr int kMaxCells = 4096;

char LocaleSeparator() {
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

}  // namespace

TLEDTablo::TLEDTablo(QWidget* parent)
    : TGraphicControl(parent),
      ownOnPen_(new TPen(clGray, 1, platform::PenStyle::Solid, this)),
      ownOffPen_(new TPen(clGray, 1, platform::PenStyle::Solid, this)),
      ownOnBrush_(new TBrush(clLime, platform::BrushStyle::Solid, this)),
      ownOffBrush_(new TBrush(clGray, platform::BrushStyle::Solid, this)),
      onPen_(ownOnPen_),
      offPen_(ownOffPen_),
      onBrush_(ownOnBrush_),
      offBrush_(ownOffBrush_),
      separator_(LocaleSeparator()) {
    for (TPen* pen : {ownOnPen_, ownOffPen_})
        connect(pen, &TPen::changed, this, &TLEDTablo::ownObjectChanged);
    for (TBrush* brush : {ownOnBrush_, ownOffBrush_})
        connect(brush, &TBrush::changed, this, &TLEDTablo::ownObjectChanged);
    segments_ = led::DesignOutlines();
    // Every paint covers the whole control (background, or cells drawn over
    // their previous selves), so Qt need not paint what lies beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(80, 34);
}

// --- Properties -------------------------------------------------------------

void TLEDTablo::setAlignment(TLEDAlign alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    layoutChanged();
}

void TLEDTablo::setBorderWidth(int width) {
    if (width == borderWidth_) return;
    borderWidth_ = width;
    layoutChanged();
}

void TLEDTablo::setDistance(int distance) {
    if (distance == distance_) return;
    distance_ = distance;
    layoutChanged();
}

void TLEDTablo::setShift(int shift) {
    if (shift == shift_) return;
    shift_ = shift;
    layoutChanged();
}

void TLEDTablo::setBackGroundColor(TColor color) {
    backGroundColor_ = color;
    Invalidate();
}

void TLEDTablo::setNumChars(int count) {
    if (count == numChars_) return;
    numChars_ = count;
    layoutChanged();
}

void TLEDTablo::setValueType(TValueType type) {
    if (type == valueType_) return;
    valueType_ = type;
    layoutChanged();
}

void TLEDTablo::setDecimal(int decimal) {
    if (decimal == decimal_) return;
    decimal_ = decimal;
    layoutChanged();
}

void TLEDTablo::setValue(long double value) {
    if (value == value_) return;
    value_ = value;
    emit changed();
    renderValueNow();
}

void TLEDTablo::setDecimalSeparator(char separator) {
    separator_ = separator;
    layoutChanged();
}

TPen* TLEDTablo::OnPen() const {
    return onPen_ ? onPen_.data() : ownOnPen_;
}

TPen* TLEDTablo::OffPen() const {
    return offPen_ ? offPen_.data() : ownOffPen_;
}

TBrush* TLEDTablo::OnBrush() const {
    return onBrush_ ? onBrush_.data() : ownOnBrush_;
}

TBrush* TLEDTablo::OffBrush() const {
    return offBrush_ ? offBrush_.data() : ownOffBrush_;
}

void TLEDTablo::setOnPen(TPen* pen) {
    onPen_ = pen ? pen : ownOnPen_;
    Invalidate();
}

void TLEDTablo::setOffPen(TPen* pen) {
    offPen_ = pen ? pen : ownOffPen_;
    Invalidate();
}

void TLEDTablo::setOnBrush(TBrush* brush) {
    onBrush_ = brush ? brush : ownOnBrush_;
    Invalidate();
}

void TLEDTablo::setOffBrush(TBrush* brush) {
    offBrush_ = brush ? brush : ownOffBrush_;
    Invalidate();
}

void TLEDTablo::layoutChanged() {
    drawn_.valid = false;
    Invalidate();
}

void TLEDTablo::ownObjectChanged() {
    drawn_.valid = false;
    Repaint();
}

// --- Layout -----------------------------------------------------------------

int TLEDTablo::CellWidth() const {
    return led::CellWidth(width(), borderWidth_, shift_, distance_, numChars_);
}

platform::Rect TLEDTablo::CellRect(int p) const {
    return led::CellRect(p, CellWidth(), height(), borderWidth_, shift_, distance_);
}

bool TLEDTablo::cellsHaveRoom() const {
    // A cell no wider than the slant would draw its digits collapsed or
    // mirrored; such a board shows its background only.
    const int cw = CellWidth();
    return numChars_ >= 1 && numChars_ <= kMaxCells && cw >= 1 && cw > shift_;
}

std::vector<uint8_t> TLEDTablo::layoutCells() {
    text_ = led::FormatValue(value_, valueType_, numChars_, decimal_, separator_);
    if (!cellsHaveRoom()) return {};
    return led::CellMasks(led::FillSpaces(text_, numChars_, alignment_), numChars_);
}

const std::vector<std::array<led::Outline, led::kSegments>>& TLEDTablo::placedCells() {
    const std::array<int, 6> layout = {width(),   height(), borderWidth_,
                                       distance_, shift_,   numChars_};
    if (layout == placedFor_ && !placed_.empty()) return placed_;
    placed_.clear();
    placedFor_ = layout;
    if (!cellsHaveRoom()) return placed_;
    for (int p = 1; p <= numChars_; ++p) {
        const platform::Rect cell = CellRect(p);
        auto& outlines = placed_.emplace_back();
        for (int s = 0; s < led::kSegments; ++s)
            outlines[s] = led::PlaceOutline(segments_[s], cell, shift_);
    }
    return placed_;
}

QRegion TLEDTablo::cellRegion(int p) {
    const auto& outlines = placedCells()[static_cast<size_t>(p - 1)];
    int left = outlines[0][0].X, right = left, top = outlines[0][0].Y, bottom = top;
    for (const auto& outline : outlines)
        for (const platform::Point& pt : outline) {
            left = std::min(left, pt.X);
            right = std::max(right, pt.X);
            top = std::min(top, pt.Y);
            bottom = std::max(bottom, pt.Y);
        }
    // Room for the outline's pen, which is centred on the polygon's edge.
    const int pen = std::max(OnPen()->Width(), OffPen()->Width());
    const int margin = std::max(pen, 1) / 2 + 1;
    return QRegion(left - margin, top - margin, right - left + 2 * margin + 1,
                   bottom - top + 2 * margin + 1);
}

// --- Drawing ----------------------------------------------------------------

void TLEDTablo::Draw(platform::Canvas& canvas) {
    drawBackground(canvas);
    Render(canvas);
}

void TLEDTablo::Render(platform::Canvas& canvas) {
    drawCells(canvas, layoutCells());
}

void TLEDTablo::drawBackground(platform::Canvas& canvas) const {
    canvas.SetBrushStyle(platform::BrushStyle::Solid);
    canvas.SetBrushColor(backGroundColor_);
    canvas.FillRect({0, 0, width(), height()});
}

void TLEDTablo::drawCells(platform::Canvas& canvas, const std::vector<uint8_t>& masks) {
    const auto& cells = placedCells();
    // The pen and fill change only between lit and dark segments.
    int applied = -1;
    for (size_t p = 0; p < masks.size() && p < cells.size(); ++p) {
        for (int s = 0; s < led::kSegments; ++s) {
            const int lit = (masks[p] >> s) & 1;
            if (lit != applied) {
                (lit ? OnPen() : OffPen())->ApplyTo(canvas);
                (lit ? OnBrush() : OffBrush())->ApplyTo(canvas);
                applied = lit;
            }
            canvas.Polygon(cells[p][static_cast<size_t>(s)]);
        }
    }
}

LEDGlyphs::Style TLEDTablo::currentStyle() const {
    return {OnPen()->attributes(), OffPen()->attributes(), OnBrush()->attributes(),
            OffBrush()->attributes()};
}

void TLEDTablo::renderValueNow() {
    const std::vector<uint8_t> masks = layoutCells();
    if (!isVisible() || !updatesEnabled()) return;  // the next paint shows it

    // Only cells whose segments change need drawing, as long as the screen
    // still shows the last drawing in the same pens and fills.
    const bool same =
        drawn_.valid && drawn_.masks.size() == masks.size() && drawn_.style == currentStyle();
    QRegion region;
    for (size_t p = 0; p < masks.size(); ++p)
        if (!same || drawn_.masks[p] != masks[p]) region += cellRegion(static_cast<int>(p) + 1);
    if (region.isEmpty()) return;

    valueRegion_ = region;
    drawingValue_ = true;
    repaint(region);
    drawingValue_ = false;
    valueRegion_ = QRegion();
}

void TLEDTablo::paintEvent(QPaintEvent* event) {
    // A new value alone redraws its cells over themselves; anything else that
    // asked for a paint in the meantime gets the full paint.
    const bool cellsOnly = drawingValue_ && (event->region() - valueRegion_).isEmpty();
    const std::vector<uint8_t> masks = layoutCells();
    const Drawn look = {true, masks, currentStyle()};
    const bool same = cellsOnly && drawn_.valid && drawn_.masks.size() == masks.size() &&
                      drawn_.style == look.style;

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!cellsOnly) painter.fillRect(rect(), platform::ResolveColor(backGroundColor_));

    const auto& cells = placedCells();
    if (!cells.empty()) {
        glyphs_.Use(cells.front(), look.style);
        const int step = CellRect(2).Left - CellRect(1).Left;
        for (size_t p = 0; p < masks.size() && p < cells.size(); ++p) {
            if (same && drawn_.masks[p] == masks[p]) continue;
            const QPoint at = glyphs_.Origin() + QPoint(static_cast<int>(p) * step, 0);
            painter.drawImage(at, glyphs_.Glyph(masks[p]));
        }
    }
    drawn_ = look;
}

void TLEDTablo::resizeEvent(QResizeEvent* event) {
    drawn_.valid = false;
    TGraphicControl::resizeEvent(event);
}

}  // namespace symbols
