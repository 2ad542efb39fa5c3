// The slices of the turbine control logic, as the rate-group tables list
// them (runtime/rgtask.h: rg_slices). A module declares its cells and its
// pieces in MODULE.cells.h and computes them in MODULE.cpp; a slice only
// lists the pieces of its modules in the order they compute.
#pragma once

// 10 ms group, first slice: speed sensing and acceleration.
void _R10_TASK_1();

// 10 ms group: the unit delay of the speed reference.
void _R10_TASK_11();
// 40 ms group: the reference's selector flags and step rates.
void _R40_TASK_3();
// 80 ms group: the speed reference sequence, raise/lower, remote enable,
// start, stop, reset and idle/rated logic.
void _R80_TASK_14();
void _R80_TASK_15();
void _R80_TASK_16();
void _R80_TASK_18();
void _R80_TASK_19();
void _R80_TASK_23();
void _R80_TASK_24();
void _R80_TASK_25();
void _R80_TASK_26();
void _R80_TASK_30();
// 160 ms group: the sequence's inputs, the rates, the entered setpoint, the
// start permissives and the remote-control mode chart.
void _R160_TASK_11();
void _R160_TASK_20();
void _R160_TASK_21();
void _R160_TASK_36();
void _R160_TASK_37();
void _R160_TASK_40();
void _R160_TASK_44();
void _R160_TASK_45();
void _R160_TASK_47();
void _R160_TASK_48();
void _R160_TASK_49();
void _R160_TASK_50();
