#pragma once

#include <cstdint>
#include <string>

namespace plant {

// The system face colour, as the route list's stopped entries show it.
constexpr uint32_t kClBtnFace = 0xFF00000F;

// Look of a route list entry: panel colour by route state, caption font colour
// and hint by state and permission. An unknown state looks stopped.
uint32_t RoutePanelColour(int32_t state);
uint32_t RouteFontColour(bool permitted);
const std::string& RouteHint(int32_t state, bool permitted);

}  // namespace plant
