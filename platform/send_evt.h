// Application state and event messages to the platform.
#pragma once

#include <cstdint>

extern uint32_t CurrentAppState;
extern uint32_t AppEventDrops;

int SendAppState(uint32_t state, const char* text);
int SendAppEvent(uint32_t code, const char* text);
int AppEventEmpty(int kick);
int GetMemorySymbols();

// Prepares the ring and its semaphore; called once before "AppEventMonitor"
// is created, so messages queued before the monitor first runs are kept.
void AppEventInit();
// The module's unload: the ring and its semaphore handle return to their
// load-time state, so the next load creates them anew.
void AppEventUnload();
// Body of "AppEventMonitor".
void AppEventMonitor(long arg);
