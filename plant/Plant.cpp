#include "plant/Plant.h"

namespace plant {

void FillDefinitions(Plant&) {}  // placeholder

}  // namespace plant
