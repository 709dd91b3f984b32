#include "platform/canvas/SystemColor.h"

#include <array>

namespace platform {

namespace {

// The classic desktop scheme, indexed by system colour number
// (0 scroll bar ... 15 button face ... 24 tooltip background).
constexpr std::array<QRgb, 25> kClassicScheme = {
    qRgb(212, 208, 200),  // 0 scroll bar
    qRgb(58, 110, 165),   // 1 desktop
    qRgb(10, 36, 106),    // 2 active caption
    qRgb(128, 128, 128),  // 3 inactive caption
    qRgb(212, 208, 200),  // 4 menu
    qRgb(255, 255, 255),  // 5 window
    qRgb(0, 0, 0),        // 6 window frame
    qRgb(0, 0, 0),        // 7 menu text
    qRgb(0, 0, 0),        // 8 window text
    qRgb(255, 255, 255),  // 9 caption text
    qRgb(212, 208, 200),  // 10 active border
    qRgb(212, 208, 200),  // 11 inactive border
    qRgb(128, 128, 128),  // 12 application workspace
    qRgb(10, 36, 106),    // 13 highlight
    qRgb(255, 255, 255),  // 14 highlight text
    qRgb(212, 208, 200),  // 15 button face
    qRgb(128, 128, 128),  // 16 button shadow
    qRgb(128, 128, 128),  // 17 grey text
    qRgb(0, 0, 0),        // 18 button text
    qRgb(212, 208, 200),  // 19 inactive caption text
    qRgb(255, 255, 255),  // 20 button highlight
    qRgb(64, 64, 64),     // 21 3-D dark shadow
    qRgb(212, 208, 200),  // 22 3-D light
    qRgb(0, 0, 0),        // 23 tooltip text
    qRgb(255, 255, 225),  // 24 tooltip background
};

constexpr TColor kSystemFlag = 0xFF000000;
constexpr int kButtonFaceIndex = 15;

}  // namespace

QColor ResolveColor(TColor color) {
    if ((color & kSystemFlag) == kSystemFlag) {
        const uint32_t index = color & 0x00FFFFFF;
        const size_t slot = index < kClassicScheme.size() ? index : kButtonFaceIndex;
        return QColor::fromRgb(kClassicScheme[slot]);
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace platform
