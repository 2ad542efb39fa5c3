// The slices of the operator interface and monitoring logic, as the
// rate-group tables list them; each lists its modules' pieces in order.
#pragma once

void _R80_TASK_1();
void _R80_TASK_2();
void _R80_TASK_22();
void _R160_TASK_10();
void _R40_TASK_4();
void _R160_TASK_28();
void _R160_TASK_29();
void _R160_TASK_30();
void _R160_TASK_31();
void _R160_TASK_33();
void _R160_TASK_34();
void _R160_TASK_35();
void _R160_TASK_39();
void _R160_TASK_41();
void _R80_TASK_1();
void _R80_TASK_2();
void _R80_TASK_21();
void _R80_TASK_22();
void _R160_TASK_10();
void _R160_TASK_43();
