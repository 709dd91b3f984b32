#include "tools/gallery/Gallery.h"

void AddFirstSymbolSet(Gallery&) {}
