// The slices of the analog output and actuator driver stages: each lists
// its module pieces in the order they compute.
#include "app/analog/output_slices.h"

#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"

void _R10_TASK_5() {
    // also: the speed PID and valve demand chain ahead of the actuator (not built yet)
    r10::CNFG_ACT_driver();
}

void _R20_TASK_5() { r20::CNFG_AO_output(2); }

// also: tutorial setpoint, units text, demo timers and the rest of the
// analog output channel blocks (not built yet)
void _R160_TASK_51() { r160::CNFG_AO_settings(0); }
void _R160_TASK_52() { r160::CNFG_AO_settings(1); }
void _R160_TASK_53() { r160::CNFG_AO_settings(2); }
