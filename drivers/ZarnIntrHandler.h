// The CPU request interrupt of the FPGA: external watchdog time-out, power
// failure and a connectable callback request.
#pragma once

#include <cstdint>

typedef void (*CpuIntrCallback)(uint32_t arg);

// [0] every interrupt, [1] watchdog time-outs, [2] power failures,
// [3] callback requests; [4] and [5] unused.
extern uint32_t CpuIntrCount[6];
extern CpuIntrCallback pCpuIntrCallbackRoutine;
extern uint32_t CpuIntrCallbackArg;

void EnableOneMsIntr();
void CpuIntrHandlerInit();
void CpuIntrCallbackConnect(CpuIntrCallback routine, uint32_t arg);
void CpuIntrCallbackDisconnect();
// Interrupt handler; takes the connection argument of the platform's
// interrupt hook (VKCpuRqstConnect), which it does not use.
void CpuIntrHandler(long arg = 0);
