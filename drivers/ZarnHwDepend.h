// Panel and safety hardware: I/O lock, hardware watchdog, E-stop, debug LEDs
// and the platform's run and fault LEDs.
#pragma once

#include <cstdint>

// I/O lock state: 0 released, any other value locked. Locked at load.
extern uint8_t IoLock;

// 0x8000 releases the outputs; every other value locks them. Returns 0.
int io_lock(uint32_t value);

void WatchdogDisable();
void WatchdogEnable();
// The keyed handshake that keeps the enabled watchdog from timing out; the
// master clock pass calls it once per pass.
void ZarnWatchdogHandshake();

uint32_t ReadZarnDBugLED(uint32_t bit);
void DriveZarnDBugLED(uint32_t bit, int32_t on);
void ToggleZarnDBugLED(uint32_t bit);

int32_t ReadZarnEstop();
void ResetZarnEstop(uint32_t on);

void DriveZarnGreenLED(uint32_t on);
void DriveZarnRedLED(uint32_t on);

void Zarn_application_stop_tasks();
