#pragma once

#include <span>

#include "console/Layout.h"

namespace console {

// The left section of the lower band, "Окно информации": the alarm board
// (fire, silo temperature, emergency stop; grey while inactive), the buttons
// that switch between the diagram and the silo page, and the two block
// buttons. The window wires the buttons; the wagon timer recolours the
// temperature line, the controller the emergency stop line.
class InfoPanel {
public:
    explicit InfoPanel(QWidget& section);

    static std::span<const Control> Layout();
};

}  // namespace console
