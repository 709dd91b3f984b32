#pragma once

#include <QColor>

#include "platform/canvas/Canvas.h"

namespace platform {

// Turns a TColor into the colour to paint. Plain colours (top byte 0) are
// 0x00BBGGRR; system colours (0xFF0000nn) resolve to a fixed classic scheme so
// the console looks the same on every desktop, e.g. kBtnFace -> RGB(212,208,200).
// Unknown system colour indices resolve to the button face colour.
QColor ResolveColor(TColor color);

}  // namespace platform
