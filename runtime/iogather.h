// The I/O gathers of the master clock pass: each runs right after its group's
// release and before the group's task, as a fixed sequence of steps. Each
// step belongs to the driver or channel module whose cells it moves.
#pragma once

#include <cstdint>

// 10 ms: controller discrete inputs 12..19 with their latch copies; the
// actuator's readback and PWM count; relay readbacks, then relay commands.
void iogather_R10_discrete_inputs();
void iogather_R10_actuator();
void iogather_R10_relays();

// 20 ms: analog inputs 0..3; analog-output readbacks and counts; the CAN2
// SYNC; the FPGA ADC fault cell.
void iogather_R20_analog_inputs();
void iogather_R20_analog_outputs();
void iogather_R20_can2_sync();
void iogather_R20_fpga_adc_fault();

// 80 ms: the E-stop input cell.
void iogather_R80_estop();

void _R10_iogather();
void _R20_iogather();
void _R80_iogather();

// The E-stop input as the 80 ms gather read it (a hidden cell of module
// ORVEX12_IO: 1 while the E-stop is pressed).
extern int32_t ORVEX12_IO_EstopInput;
// The SYNC timer of the CAN2 network block (ms since the last SYNC).
extern int32_t CNFG_CAN2_CAN2_NTW1_2357_SyncTimer;
