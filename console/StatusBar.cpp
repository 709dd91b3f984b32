#include "console/StatusBar.h"

#include <QLabel>

namespace console {

namespace {
constexpr int kGap = 2;
}

TStatusBar::TStatusBar(std::initializer_list<PanelSpec> panels, QWidget* parent) : QWidget(parent) {
    int x = 0;
    for (const PanelSpec& item : panels) {
        auto* panel = new QLabel(item.text, this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(2);
        panel->setGeometry(x, kGap, item.width - kGap, 0);
        panels_.push_back(panel);
        x += item.width;
    }
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
