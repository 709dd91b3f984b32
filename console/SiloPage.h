#pragma once

#include <span>

#include "console/Layout.h"

namespace console {

// The silo information page "Информация по силосам", the alternative to the
// diagram: one table of the four silos' product, filling, mass, level zone and
// errors, and the total stock below it. The controller writes its cells.
class SiloPage {
public:
    explicit SiloPage(QWidget& page);

    static std::span<const Control> Layout();
};

}  // namespace console
