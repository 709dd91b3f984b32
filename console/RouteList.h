#pragma once

#include <QObject>
#include <array>
#include <span>

#include "console/Layout.h"
#include "plant/Plant.h"

namespace platform {
class MessageBoxes;
}

namespace console {

class Access;
struct RegionServices;

// The route list "Маршруты движения зерна" on the diagram: twelve entries,
// each showing its route's state. A click on an entry asks for confirmation
// and posts the start or stop for the next controller tick, when the user at
// the console may command routes; the controller
// repaints the entries. The entries are wired to the handler here.
class RouteList : public QObject {
    Q_OBJECT

public:
    RouteList(QWidget& page, const RegionServices& services);

    static std::span<const Control> Layout();

public slots:
    // A click on route r's entry: a stopped route is offered a start, a running
    // one a stop; forbidden, starting and stopping routes ignore it.
    void RouteControlClick(int r);

private:
    plant::Plant& plant_;
    platform::MessageBoxes& messages_;
    Access& access_;
    std::array<TPanel*, plant::kRouteCount> entries_{};
};

}  // namespace console
