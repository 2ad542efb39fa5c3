// The controller's discrete inputs: the current states, and the first rising
// and falling edge of each of the 20 time-stamped inputs, stamped to the
// millisecond from the FPGA's 1 ms sample history at every 5 ms tick and
// latched until the discrete-input logic consumes and re-arms it.
#pragma once

#include <cstdint>

#include "runtime/sysinfo.h"

constexpr int kZarnTimeStampedInputs = 20;

// Time of the latched rising (Hi) and falling (Lo) edge of input n.
extern SysTimeValue DinTimeStampHi[kZarnTimeStampedInputs];
extern SysTimeValue DinTimeStampLo[kZarnTimeStampedInputs];
// Bit n: input n has a latched edge with a valid stamp. Consumers clear bits
// with interrupts locked.
extern uint32_t HiEventLatch;
extern uint32_t LoEventLatch;
// The last processed sample that differed from its predecessor, and its time.
extern uint32_t LastInputs;
extern SysTimeValue LastCaptureTime;
// Time stamping runs only while this is 1 (set by the I/O initialisation).
extern uint32_t ZarnTimeStampEn;
// Time base of the stamps, captured by the master clock pass at each 160 ms
// release, and the milliseconds since then (runtime/sched.cpp).
extern SysTimeValue TimeStampClockZarn;
extern uint32_t TimeStampMsCntrZarn;

// 1 when input ch (0..31) is set, else 0; any other channel reads 0.
uint32_t ReadBooleanInput(int32_t ch);
// The 5 ms clock-tick hook: walks the five samples, oldest first.
void UpdateZarnDITimeStamp();
void InitDiscreteIns();
