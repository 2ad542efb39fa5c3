// The controller's relay outputs.
#pragma once

#include <cstdint>

// Read-modify-write of the relay register: `on` 1 energises relay ch, any
// other value releases it; bit 14 is always written set. A channel the
// register has no bit for (above 15) changes nothing.
void WriteBooleanOutput(uint32_t ch, int32_t on);
// Releases relay ch.
void InitBooleanOutput(uint32_t ch);
