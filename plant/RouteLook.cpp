#include "plant/RouteLook.h"

#include "plant/Plant.h"
#include "platform/core/Palette.h"

namespace plant {

uint32_t RoutePanelColour(int32_t state) {
    switch (state) {
        case kRouteStarting:
        case kRouteStopping:
            return palette::RouteInTransition;
        case kRouteRunning:
            return palette::RouteRunning;
        default:
            return palette::BtnFace;
    }
}

uint32_t RouteFontColour(bool permitted) {
    return permitted ? palette::Black : palette::RouteForbiddenFont;
}

const std::string& RouteHint(int32_t state, bool permitted) {
    static const std::string forbidden = "Маршрут запрещен";
    static const std::string stopped = "Маршрут остановлен";
    static const std::string starting = "Маршрут в состоянии запуска";
    static const std::string running = "Маршрут в работе";
    static const std::string stopping = "Маршрут в состоянии останова";
    if (!permitted) return forbidden;
    switch (state) {
        case kRouteStarting:
            return starting;
        case kRouteRunning:
            return running;
        case kRouteStopping:
            return stopping;
        default:
            return stopped;
    }
}

}  // namespace plant
