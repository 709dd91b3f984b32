#pragma once

#include <cstdint>
#include <string>

namespace plant {

// Look of a route list entry: panel colour by route state, caption font colour
// and hint by state and permission. An unknown state looks stopped.
uint32_t RoutePanelColour(int32_t state);
uint32_t RouteFontColour(bool permitted);
const std::string& RouteHint(int32_t state, bool permitted);

}  // namespace plant
