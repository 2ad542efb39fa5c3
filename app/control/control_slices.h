// The slices of the turbine control logic, as the rate-group tables list
// them (runtime/rgtask.h: rg_slices). A module declares its cells and its
// pieces in MODULE.cells.h and computes them in MODULE.cpp; a slice only
// lists the pieces of its modules in the order they compute.
#pragma once

// 10 ms group, first slice: speed sensing and acceleration.
void _R10_TASK_1();
