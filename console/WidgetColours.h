#pragma once

#include "platform/core/Palette.h"

class QColor;
class QWidget;

namespace console {

// Colours of the window are 0x00BBGGRR (system colours resolved to the classic
// scheme); these put them on ordinary widgets.
QColor Colour(palette::Colour color);
void SetBackground(QWidget* widget, palette::Colour color);
void SetFontColour(QWidget* widget, palette::Colour color);
// The font colour a widget shows, as 0x00BBGGRR.
palette::Colour FontColour(const QWidget* widget);

}  // namespace console
