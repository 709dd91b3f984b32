#pragma once

#include <QFont>

namespace console {

// The window's fonts, sized by character height in pixels as the layout gives
// them (a height of -11 is an 11-pixel character). The classic bitmap faces the
// layout names are rarely installed; an installed face with Cyrillic glyphs
// stands in for each at the same pixel height.
QFont SansFont(int pixelHeight, bool bold = false);
QFont SerifFont(int pixelHeight, bool bold = false);

// The families chosen for the two kinds of face.
QString SansFamily();
QString SerifFamily();

}  // namespace console
