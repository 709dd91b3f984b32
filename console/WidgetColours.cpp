#include "console/WidgetColours.h"

#include <QPalette>
#include <QWidget>

#include "platform/canvas/SystemColor.h"

namespace console {

QColor Colour(palette::Colour color) {
    return platform::ResolveColor(color);
}

void SetBackground(QWidget* widget, palette::Colour color) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, Colour(color));
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

void SetFontColour(QWidget* widget, palette::Colour color) {
    QPalette colours = widget->palette();
    const QColor c = Colour(color);
    colours.setColor(QPalette::WindowText, c);
    colours.setColor(QPalette::Text, c);
    colours.setColor(QPalette::ButtonText, c);
    widget->setPalette(colours);
}

palette::Colour FontColour(const QWidget* widget) {
    const QColor c = widget->palette().color(QPalette::WindowText);
    return static_cast<palette::Colour>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

}  // namespace console
