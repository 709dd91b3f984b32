#include "console/StateFile.h"
