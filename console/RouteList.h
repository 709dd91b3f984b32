#pragma once

#include <span>

#include "console/Layout.h"

namespace plant {
struct Plant;
}

namespace platform {
class MessageBoxes;
}

namespace console {

// The route list "Маршруты движения зерна" on the diagram: twelve entries,
// each showing its route's state. A click on an entry asks for confirmation
// and posts the start or stop for the next controller tick; the controller
// repaints the entries.
class RouteList {
public:
    RouteList(QWidget& page, plant::Plant& plant, platform::MessageBoxes& messages);

    static std::span<const Control> Layout();

    // A click on `entry`: a stopped route is offered a start, a running one a
    // stop; forbidden, starting and stopping routes ignore it.
    void Click(const TPanel& entry);

private:
    plant::Plant& plant_;
    platform::MessageBoxes& messages_;
};

}  // namespace console
