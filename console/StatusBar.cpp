#include "console/StatusBar.h"

#include <QLabel>
#include <algorithm>

namespace console {

namespace {
constexpr int kGap = 2;
}

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent) {}

void TStatusBar::AddPanel(const QString& text, int width) {
    auto* panel = new QLabel(text, this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(2);
    panel->setGeometry(nextX_, kGap, width - kGap, std::max(0, height() - kGap));
    panels_.push_back(panel);
    nextX_ += width;
}

QString TStatusBar::PanelText(int index) const {
    if (index < 0 || index >= PanelCount()) return {};
    return panels_[static_cast<size_t>(index)]->text();
}

// The panels keep their widths and take the bar's height less the top gap.
void TStatusBar::resizeEvent(QResizeEvent*) {
    for (QLabel* panel : panels_) panel->resize(panel->width(), height() - kGap);
}

void TStatusBar::setPanelText(int index, const QString& text) {
    if (index < 0 || index >= PanelCount()) return;
    panels_[static_cast<size_t>(index)]->setText(text);
}

}  // namespace console
