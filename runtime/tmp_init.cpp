// Start-up helpers shared by the OS layer: the interrupt-lock pair.
#include "platform/vkos.h"

void disableTMR(int* key) { *key = intLock(); }

void restoreTMR(int key) { intUnlock(key); }
