#include "canopen/CanVersion.h"

uint32_t CanVersion() { return 3; }
