#pragma once

#include <QHash>
#include <QRect>
#include <QString>
#include <Qt>
#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "console/Panel.h"
#include "platform/core/Palette.h"

class QWidget;

namespace console {

// What a row of a layout table creates.
enum class Kind {
    Label,         // QLabel; an empty size fits the label to its text
    Panel,         // TPanel with a caption
    Button,        // QPushButton
    SoundButton,   // QToolButton showing the glyph `text`, hint `hint`
    PasswordEdit,  // one-line entry showing "*" for every character
    ComboBox,      // QComboBox, filled by the region
    Tabs,          // QTabWidget, given its pages by the region
    StatusBar,     // TStatusBar, given its panels by the window
    Frame,         // rectangle outline in the ink colour (grey by default)
    Plate,         // rectangle filled with the paper colour, outline 3 wide
    Lamp,          // round lamp filled with the paper colour
    Picture,       // TPicture of the resource `text`
    Gauge,         // TGauge, vertical bar at 50 until the first value
    Silo,          // TSilo with a cover of 20
    Hopper,        // TSilo without a cover
    Noria,         // bucket elevator, spouts to the right
    Conveyor,      // runs to the side `align` gives (left unless AlignRight)
    Fan,           // TPump facing left
    Latch,         // gate valve; `hint` is kept on it but never shown
    Pipe,          // straight pipe in the ink colour, along its longer side
    PipeTurn,      // the vessel chute's elbow, left-up, in the ink colour
    Board,         // LED board with the console's look
    HelpTitle,     // the scrolling help panel (serif font of `size`, ink colour)
    RouteEntry,    // TPanel of the route list: left caption, lowered, hint shown
};

// Font and colours of a control. Ink is the text, outline or pipe colour,
// paper the background or fill; unset ones keep what the control inherits
// (labels take black ink). Build up step by step:
// Look().Size(13).Bold().Ink(palette::Navy).Centre().
struct Look {
    int size = 11;  // character height in pixels
    bool bold = false;
    bool underline = false;
    std::optional<palette::Colour> ink;
    std::optional<palette::Colour> paper;
    std::optional<Qt::Alignment> align;
    TPanel::Bevel bevel = TPanel::Bevel::Raised;  // panels only

    constexpr Look Size(int h) const {
        return With([h](Look& l) { l.size = h; });
    }
    constexpr Look Bold() const {
        return With([](Look& l) { l.bold = true; });
    }
    constexpr Look Underline() const {
        return With([](Look& l) { l.underline = true; });
    }
    constexpr Look Ink(palette::Colour c) const {
        return With([c](Look& l) { l.ink = c; });
    }
    constexpr Look Paper(palette::Colour c) const {
        return With([c](Look& l) { l.paper = c; });
    }
    constexpr Look Align(Qt::Alignment a) const {
        return With([a](Look& l) { l.align = a; });
    }
    constexpr Look Centre() const { return Align(Qt::AlignCenter); }
    constexpr Look Bevel(TPanel::Bevel b) const {
        return With([b](Look& l) { l.bevel = b; });
    }

private:
    template <typename Change>
    constexpr Look With(Change change) const {
        Look copy = *this;
        change(copy);
        return copy;
    }
};

// One control of a region: its name (the object name tests, tools and the
// plant tables find it by), kind, place in its parent, text, look, tag (the
// device or route number a click handler reads), whether it is hidden at
// creation, its parent (another control of the same table, named before it;
// empty for the region's own panel) and its hint.
struct Control {
    const char* name;
    Kind kind;
    QRect box;
    const char* text = "";
    Look look = {};
    int tag = 0;
    bool hidden = false;
    const char* parent = "";
    const char* hint = "";
};

// A row hidden at creation.
constexpr Control Hidden(Control c) {
    c.hidden = true;
    return c;
}
// A row placed in `parent`, a control named before it in the same table.
constexpr Control In(const char* parent, Control c) {
    c.parent = parent;
    return c;
}

// One table of several parts, in their order.
template <std::size_t... N>
constexpr std::array<Control, (N + ...)> Join(const std::array<Control, N>&... parts) {
    std::array<Control, (N + ...)> table{};
    auto next = table.begin();
    ((next = std::copy(parts.begin(), parts.end(), next)), ...);
    return table;
}

// Looks shared by the regions of the lower band: a section title (yellow on
// blue-grey, across the top of its section), a caption inside a section, and
// the title line of an overlay panel.
inline constexpr Look kTitleLook =
    Look().Size(13).Bold().Ink(palette::Yellow).Paper(palette::TitleBack).Centre();
inline constexpr Look kSectionLook = Look().Bold().Paper(palette::SectionBack).Centre();
inline constexpr Look kOverlayTitleLook = kSectionLook.Size(13);

// The controls of one region, by name.
using Controls = QHash<QString, QWidget*>;

// Creates the table's controls in its order, which is their stacking order
// (later rows lie on top of earlier ones with the same parent).
Controls BuildControls(QWidget& region, std::span<const Control> table);

}  // namespace console
