// The slices that carry the analog input channels, their input stages,
// alarm levels and the analog function mux (rg_slices lists them).
#pragma once

void _R20_TASK_1();
void _R20_TASK_2();
void _R20_TASK_3();
void _R20_TASK_4();
void _R20_TASK_7();
void _R20_TASK_8();
void _R20_TASK_9();
void _R20_TASK_10();
void _R20_TASK_11();
void _R20_TASK_12();
void _R20_TASK_13();
void _R20_TASK_14();
void _R20_TASK_15();
void _R20_TASK_16();
void _R20_TASK_17();
void _R20_TASK_18();

void _R160_TASK_1();
void _R160_TASK_2();
void _R160_TASK_3();
void _R160_TASK_4();
void _R160_TASK_5();
void _R160_TASK_6();
void _R160_TASK_58();
void _R160_TASK_59();
void _R160_TASK_62();
void _R160_TASK_65();
void _R160_TASK_71();
void _R160_TASK_80();
