// The slices of the turbine control logic, as the rate-group tables list
// them (runtime/rgtask.h: rg_slices). A module declares its cells and its
// pieces in MODULE.cells.h and computes them in MODULE.cpp; a slice only
// lists the pieces of its modules in the order they compute.
#pragma once

// 10 ms group, first slice: speed sensing and acceleration.
void _R10_TASK_1();
// 10 ms group: speed PID and the valve demand chain.
void _R10_TASK_5();
// 10 ms group, last slice: the second block of unit-delay stores and the
// commit of every 10 ms unit delay.
void _R10_TASK_11();
// 160 ms group: speed dynamics settings and 160 ms speed-control values.
void _R160_TASK_49();

// The speed control's pieces of slices shared with the discrete channels
// (their slices list them after their own pieces).
void speed_control_R10_TASK_8();
void speed_control_R10_TASK_10();
void speed_control_R40_TASK_8();

// 40 ms group: the reference's selector flags and step rates.
// 80 ms group: the speed reference sequence, raise/lower, remote enable,
// start, stop, reset and idle/rated logic.
void _R80_TASK_13();
void _R80_TASK_14();
void _R80_TASK_15();
void _R80_TASK_16();
void _R80_TASK_18();
void _R80_TASK_19();
void _R80_TASK_20();
void _R80_TASK_23();
void _R80_TASK_24();
void _R80_TASK_25();
void _R80_TASK_26();
void _R80_TASK_30();
// 160 ms group: the sequence's inputs, the rates, the entered setpoint, the
// start permissives and the remote-control mode chart.
void _R160_TASK_33();
void _R160_TASK_36();
void _R160_TASK_37();
void _R160_TASK_40();
void _R160_TASK_44();
void _R160_TASK_45();
void _R160_TASK_46();
void _R160_TASK_47();
void _R160_TASK_50();

// The cascade controller: setpoint ramp and raise/lower (80 ms), PID,
// inhibit list and matching (80 ms); configuration, scaling and rates
// (160 ms); the service tool's interface inputs (160 ms).
void _R80_TASK_13();
void _R80_TASK_17();
void _R160_TASK_15();
void _R160_TASK_16();
void _R160_TASK_17();
void _R160_TASK_38();
// 160 ms group: the cascade and speed-sensor configuration checks.
void _R160_TASK_32();
