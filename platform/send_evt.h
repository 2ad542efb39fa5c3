// Application state and event messages to the platform.
#pragma once

#include <cstdint>

extern uint32_t CurrentAppState;

int SendAppState(uint32_t state, const char* text);
int SendAppEvent(uint32_t code, const char* text);
int AppEventEmpty(int kick);
