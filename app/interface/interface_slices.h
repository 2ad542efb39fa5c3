// The slices of the operator interface and monitoring logic, as the
// rate-group tables list them; each lists its modules' pieces in order.
#pragma once

void _R40_TASK_4();
void _R160_TASK_29();
void _R160_TASK_31();
void _R160_TASK_34();
void _R160_TASK_35();
void _R160_TASK_39();
