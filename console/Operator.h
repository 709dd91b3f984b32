#pragma once

namespace console {

// The user the console registers at start-up and shows in the status bar; the
// commands given at the panels name this user as who gave them.
inline constexpr const char* kOperatorName = "Зернов";

}  // namespace console
