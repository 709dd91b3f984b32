#pragma once

#include <QRect>
#include <QString>
#include <Qt>
#include <optional>

#include "platform/canvas/Canvas.h"

class QColor;
class QLabel;
class QPushButton;
class QWidget;

namespace console {

class TPanel;

// Colours of the layout are 0x00BBGGRR (system colours resolved to the classic
// scheme); these put them on ordinary widgets.
QColor Colour(platform::TColor color);
void SetBackground(QWidget* widget, platform::TColor color);
void SetFontColour(QWidget* widget, platform::TColor color);
// The font colour a widget shows, as 0x00BBGGRR.
platform::TColor FontColour(const QWidget* widget);

// Look of a label or panel caption, built up step by step:
// TextLook().Size(13).Bold().Font(kNavy).Centre().
struct TextLook {
    int pixelHeight = 11;
    bool bold = false;
    bool underline = false;
    platform::TColor font = 0x000000;
    // Without a background the parent shows through.
    std::optional<platform::TColor> background;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;

    TextLook Size(int h) const {
        return With([h](TextLook& l) { l.pixelHeight = h; });
    }
    TextLook Bold() const {
        return With([](TextLook& l) { l.bold = true; });
    }
    TextLook Underline() const {
        return With([](TextLook& l) { l.underline = true; });
    }
    TextLook Font(platform::TColor c) const {
        return With([c](TextLook& l) { l.font = c; });
    }
    TextLook Back(platform::TColor c) const {
        return With([c](TextLook& l) { l.background = c; });
    }
    TextLook Align(Qt::Alignment a) const {
        return With([a](TextLook& l) { l.align = a; });
    }
    TextLook Centre() const { return Align(Qt::AlignCenter); }

private:
    template <typename F>
    TextLook With(F change) const {
        TextLook copy = *this;
        change(copy);
        return copy;
    }
};

// A label at `box`; an empty size fits the text (auto-size).
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QRect box,
                 const TextLook& look = {});

// A panel at `box` with a raised bevel unless told otherwise.
TPanel* AddPanel(QWidget* parent, const char* name, const QString& caption, QRect box,
                 platform::TColor color = platform::kBtnFace);

// A push button at `box`.
QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, QRect box);

// A section title aligned to the top of its panel: yellow bold on blue-grey.
QLabel* AddTitle(QWidget* parent, const char* name, const QString& text);

// A bold caption on light cyan, 16 high, across the panel at `y`.
QLabel* AddSectionLabel(QWidget* parent, const char* name, const QString& text, int y);

}  // namespace console
