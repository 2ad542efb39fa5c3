// Error-hook registry: the last error group and code reported by the
// server's set-up routines, and an optional hook called with them.
#pragma once

#include <cstdint>

typedef void (*ExceptionHook)(uint16_t group, uint16_t code);

extern uint16_t ExceptionResId;
extern uint16_t ExceptionResErrorType;
extern ExceptionHook ExceptionRtosError;

void ExceptionResInit(void (*initFunction)(), ExceptionHook hook);
void ExceptionResError(uint16_t group, uint16_t code);
