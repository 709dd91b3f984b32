#include "symbols/Title.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <climits>

#include "platform/canvas/QtCanvas.h"
#include "platform/canvas/QtImage.h"
#include "platform/core/Palette.h"

namespace symbols {

namespace {

// Pixels the view moves per tick.
constexpr int kStep = 3;

platform::TextAlign TextAlignOf(TAlignment alignment) {
    switch (alignment) {
        case TAlignment::paCenter:
            return platform::TextAlign::Center;
        case TAlignment::paLeft:
            return platform::TextAlign::Left;
        case TAlignment::paRight:
            return platform::TextAlign::Right;
    }
    return platform::TextAlign::Center;
}

int ClampToInt(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

}  // namespace

TTitle::TTitle(QWidget* parent) : QWidget(parent), scrollTimer_(new QTimer(this)) {
    // The panel paints every pixel itself, and ticks repaint the inner area
    // without erasing it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    scrollTimer_->setInterval(interval_);
    connect(scrollTimer_, &QTimer::timeout, this, &TTitle::ScrollTimerTick);
    resize(100, 75);
}

TTitle::~TTitle() {
    Scroll(false);
}

// --- Properties -------------------------------------------------------------

void TTitle::setScrollDown(bool down) {
    scrollDown_ = down;
    update();
}

void TTitle::setAlignment(TAlignment alignment) {
    alignment_ = alignment;
    update();
}

void TTitle::setItems(const QStringList& items) {
    items_ = items;
}

void TTitle::setInterval(int ms) {
    interval_ = ms;
    // A timer needs a period of at least a millisecond; zero would spin.
    scrollTimer_->setInterval(std::max(ms, 1));
}

void TTitle::setBevelOuter(TBevelCut cut) {
    bevelOuter_ = cut;
    update();
}

void TTitle::setBevelInner(TBevelCut cut) {
    bevelInner_ = cut;
    update();
}

void TTitle::setBevelWidth(int width) {
    bevelWidth_ = width;
    update();
}

void TTitle::setColor(platform::TColor color) {
    color_ = color;
    update();
}

void TTitle::setFont(const platform::FontSpec& font) {
    font_ = font;
    update();
}

const platform::Image* TTitle::ScrollImage() const {
    return scrollImage_.get();
}

// --- The pass ---------------------------------------------------------------

void TTitle::Scroll(bool active) {
    if (active) {
        if (running_ || items_.isEmpty()) return;
        running_ = true;
        scrollImage_ = std::make_unique<platform::QtImage>(1, 1);
        PrepareImage();
        scrollTimer_->start();
        return;
    }
    if (!running_) return;
    scrollTimer_->stop();
    // The panel is idle before done() is raised, so a handler that ends or
    // restarts the pass finds it finished and cannot raise done() twice.
    running_ = false;
    scrollImage_.reset();
    update();
    emit done();
}

void TTitle::PrepareImage() {
    platform::Canvas& probe = scrollImage_->canvas();
    probe.SetFont(font_);
    lineHeight_ = probe.TextHeight();

    const int w = width();
    const int h = height();
    passLines_ = static_cast<int>(items_.size());
    // One blank band of the panel's height above the text and one below it.
    imageRect_ = {0, 0, w, ClampToInt(static_cast<long long>(passLines_) * lineHeight_ + 2LL * h)};
    viewRect_ = {bevelWidth_, bevelWidth_, ClampToInt(w - 2LL * bevelWidth_),
                 ClampToInt(h - 2LL * bevelWidth_)};
    scrollPos_ = scrollDown_ ? imageRect_.Bottom - h : 0;

    scrollImage_->Resize(w, imageRect_.Bottom);
    platform::Canvas& canvas = scrollImage_->canvas();
    canvas.SetFont(font_);
    canvas.SetBrushStyle(platform::BrushStyle::Solid);
    canvas.SetBrushColor(color_);
    canvas.FillRect(imageRect_);
    canvas.SetBrushStyle(platform::BrushStyle::Clear);
    for (int i = 0; i < passLines_; ++i) {
        const int top = ClampToInt(h + static_cast<long long>(i) * lineHeight_);
        canvas.TextRect({viewRect_.Left, top, viewRect_.Right, imageRect_.Bottom},
                        items_[i].toStdString(), TextAlignOf(alignment_));
    }
}

void TTitle::ScrollTimerTick() {
    if (!running_) return;  // a tick queued before the pass ended
    advance();
    const platform::Rect& v = viewRect_;
    update(QRect(v.Left, v.Top, v.Right - v.Left, v.Bottom - v.Top));
}

void TTitle::advance() {
    if (scrollDown_) {
        if (scrollPos_ >= kStep)
            scrollPos_ -= kStep;
        else
            Scroll(false);
        return;
    }
    const long long last = height() + static_cast<long long>(passLines_) * lineHeight_ - kStep;
    if (scrollPos_ <= last)
        scrollPos_ += kStep;
    else
        Scroll(false);
}

// --- Painting ---------------------------------------------------------------

void TTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    platform::QtCanvas canvas(painter, size());
    Paint(canvas);
}

void TTitle::Paint(platform::Canvas& canvas) {
    if (!running_) {
        paintPanel(canvas);
        return;
    }
    // The block under the view; the paint's clip keeps it to the area repainted.
    const platform::Rect source = {0, scrollPos_, viewRect_.Right, scrollPos_ + viewRect_.Bottom};
    canvas.CopyRect({0, 0}, *scrollImage_, source);
}

void TTitle::paintPanel(platform::Canvas& canvas) const {
    platform::Rect rect = {0, 0, width(), height()};

    // Outer bevel, inner bevel, then the face.
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(platform::PenStyle::Solid);
    drawBevel(canvas, rect, bevelOuter_, bevelWidth_);
    drawBevel(canvas, rect, bevelInner_, bevelWidth_);

    canvas.SetBrushStyle(platform::BrushStyle::Solid);
    canvas.SetBrushColor(color_);
    canvas.FillRect(rect);
}

void TTitle::drawBevel(platform::Canvas& canvas, platform::Rect& rect, TBevelCut cut, int width) {
    if (cut == TBevelCut::bvNone) return;
    const bool lowered = cut == TBevelCut::bvLowered;
    const platform::TColor topLeft = lowered ? palette::BtnShadow : palette::BtnHighlight;
    const platform::TColor bottomRight = lowered ? palette::BtnHighlight : palette::BtnShadow;
    // Rings from the edge inwards: top and left edges in one colour, bottom
    // and right in the other; the rectangle shrinks by one pixel per ring.
    --rect.Right;
    --rect.Bottom;
    for (int ring = 0; ring < width && rect.Left <= rect.Right && rect.Top <= rect.Bottom; ++ring) {
        const platform::Point upperLeft[] = {
            {rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
        const platform::Point lowerRight[] = {
            {rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
        canvas.SetPenColor(topLeft);
        canvas.Polyline(upperLeft);
        canvas.SetPenColor(bottomRight);
        canvas.Polyline(lowerRight);
        ++rect.Left;
        ++rect.Top;
        --rect.Right;
        --rect.Bottom;
    }
    ++rect.Right;
    ++rect.Bottom;
}

}  // namespace symbols
