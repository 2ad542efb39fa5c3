// The slices that carry the analog output and actuator driver stages
// (rg_slices lists them; _R20_TASK_4 and _R160_TASK_62 are in
// input_slices.cpp).
#pragma once

void _R20_TASK_5();
void _R160_TASK_51();
void _R160_TASK_52();
void _R160_TASK_53();
