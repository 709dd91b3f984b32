#include "console/MainFrmControls.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "console/Fonts.h"
#include "console/Panel.h"
#include "platform/canvas/SystemColor.h"

namespace console {

namespace {

constexpr platform::TColor kTitleBack = 0xBEC47D;
constexpr platform::TColor kTitleFont = 0x00FFFF;  // yellow
constexpr platform::TColor kSectionBack = 0xFFFF80;
constexpr int kTitleHeight = 16;

}  // namespace

QColor Colour(platform::TColor color) {
    return platform::ResolveColor(color);
}

void SetBackground(QWidget* widget, platform::TColor color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Colour(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetFontColour(QWidget* widget, platform::TColor color) {
    QPalette palette = widget->palette();
    const QColor c = Colour(color);
    palette.setColor(QPalette::WindowText, c);
    palette.setColor(QPalette::Text, c);
    palette.setColor(QPalette::ButtonText, c);
    widget->setPalette(palette);
}

platform::TColor FontColour(const QWidget* widget) {
    const QColor c = widget->palette().color(QPalette::WindowText);
    return static_cast<platform::TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QRect box,
                 const TextLook& look) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = SansFont(look.pixelHeight, look.bold);
    font.setUnderline(look.underline);
    label->setFont(font);
    label->setAlignment(look.align);
    SetFontColour(label, look.font);
    if (look.background) SetBackground(label, *look.background);
    if (box.size().isEmpty()) {
        label->move(box.topLeft());
        label->adjustSize();
    } else {
        label->setGeometry(box);
    }
    return label;
}

TPanel* AddPanel(QWidget* parent, const char* name, const QString& caption, QRect box,
                 platform::TColor color) {
    auto* panel = new TPanel(parent);
    panel->setObjectName(name);
    panel->setText(caption);
    panel->setColor(color);
    panel->setGeometry(box);
    return panel;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, QRect box) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(box);
    return button;
}

QLabel* AddTitle(QWidget* parent, const char* name, const QString& text) {
    return AddLabel(parent, name, text, QRect(1, 1, parent->width() - 2, kTitleHeight),
                    TextLook().Size(13).Bold().Font(kTitleFont).Back(kTitleBack).Centre());
}

QLabel* AddSectionLabel(QWidget* parent, const char* name, const QString& text, int y) {
    return AddLabel(parent, name, text, QRect(1, y, parent->width() - 2, 16),
                    TextLook().Bold().Back(kSectionBack).Centre());
}

}  // namespace console
