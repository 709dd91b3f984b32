#include "console/Panel.h"

#include <QMouseEvent>

#include "console/WidgetColours.h"

namespace console {

TPanel::TPanel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
    setColor(palette::BtnFace);
    setBevel(Bevel::Raised);
}

void TPanel::setColor(platform::TColor color) {
    color_ = color;
    SetBackground(this, color);
}

void TPanel::setFontColor(platform::TColor color) {
    fontColor_ = color;
    SetFontColour(this, color);
}

void TPanel::setBevel(Bevel bevel, int width) {
    switch (bevel) {
        case Bevel::None:
            setFrameStyle(QFrame::NoFrame);
            break;
        case Bevel::Raised:
            setFrameStyle(QFrame::Panel | QFrame::Raised);
            break;
        case Bevel::Lowered:
            setFrameStyle(QFrame::Panel | QFrame::Sunken);
            break;
    }
    setLineWidth(width);
}

void TPanel::setHint(const QString& hint) {
    hint_ = hint;
    ApplyHint();
}

void TPanel::setShowHint(bool show) {
    showHint_ = show;
    ApplyHint();
}

void TPanel::ApplyHint() {
    setToolTip(showHint_ ? hint_ : QString());
}

void TPanel::mousePressEvent(QMouseEvent* event) {
    // Accepted, so the release comes back here rather than to the parent.
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a press and release of the left button inside the panel.
void TPanel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

}  // namespace console
