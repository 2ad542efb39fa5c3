// The slices of the I/O configuration and checks (rg_slices lists them): the
// configuration window and sample pulses, the function routing of the
// analog and discrete inputs, the configuration and duplicate checks.
#pragma once

void _R160_TASK_7();
void _R160_TASK_8();
void _R160_TASK_9();
void _R160_TASK_12();
void _R160_TASK_20();
void _R160_TASK_21();
void _R160_TASK_22();
void _R160_TASK_23();
void _R160_TASK_25();
void _R160_TASK_26();
