// STAND-IN until the latched alarm/event lists of the protection logic land:
// every list reads as empty.
#include "service/TwValues.h"

uint16_t GetLatchAESize(uint32_t) { return 0; }
int GetNextLatchAEInfo(uint32_t, uint16_t, uint16_t*, TimerValue*) { return 0; }
