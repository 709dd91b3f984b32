#include "platform/core/NumberFormat.h"

namespace platform {

std::string FormatFixed(long double, int, int, char) { return {}; }  // placeholder

}  // namespace platform
