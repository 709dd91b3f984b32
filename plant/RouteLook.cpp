#include "plant/RouteLook.h"

#include "plant/Plant.h"

namespace plant {

uint32_t RoutePanelColour(int32_t state) {
    switch (state) {
        case kRouteStarting:
        case kRouteStopping:
            return 0x00C8ECEC;  // pale yellow
        case kRouteRunning:
            return 0x00C8ECC8;  // pale green
        default:
            return kClBtnFace;
    }
}

uint32_t RouteFontColour(bool permitted) {
    return permitted ? 0x00000000 : 0x00808080;
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
