// The slices of the turbine control logic, as the rate-group tables list
// them (runtime/rgtask.h: rg_slices).
#pragma once

// 10 ms group, first slice: speed sensing and acceleration.
void _R10_TASK_1();
