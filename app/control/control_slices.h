// The slices of the turbine control logic, as the rate-group tables list
// them (runtime/rgtask.h: rg_slices). A module declares its cells and its
// pieces in MODULE.cells.h and computes them in MODULE.cpp; a slice only
// lists the pieces of its modules in the order they compute.
#pragma once

// 10 ms group, first slice: speed sensing and acceleration.
void _R10_TASK_1();
// 10 ms group: the speed controller's gain set and switch.
void _R10_TASK_4();
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
