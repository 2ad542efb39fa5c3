// The slices that carry the discrete channels, the contact routing, the
// controller clock block, the relay states and the trip relay (rg_slices
// lists them). Slices shared with other modules list these modules' pieces
// in their own files.
#pragma once

void _R10_TASK_2();
void _R10_TASK_6();
void _R10_TASK_7();
void _R10_TASK_8();
void _R10_TASK_10();

void _R20_TASK_6();
void _R20_TASK_19();

void _R40_TASK_5();
void _R40_TASK_6();
void _R40_TASK_7();
void _R40_TASK_8();

void _R160_TASK_18();
void _R160_TASK_19();
void _R160_TASK_27();
void _R160_TASK_54();
void _R160_TASK_55();
void _R160_TASK_56();
void _R160_TASK_57();
void _R160_TASK_63();
void _R160_TASK_64();
void _R160_TASK_66();
void _R160_TASK_67();
void _R160_TASK_68();
void _R160_TASK_69();
void _R160_TASK_70();
void _R160_TASK_72();
void _R160_TASK_73();
void _R160_TASK_74();
void _R160_TASK_75();
void _R160_TASK_76();
void _R160_TASK_77();
void _R160_TASK_78();
void _R160_TASK_79();
void _R160_TASK_81();
void _R160_TASK_82();

// Pieces of the discrete channels in slices that another module's file holds
// (app/analog/input_slices.cpp).
void discrete_R160_TASK_58();
void discrete_R160_TASK_62();
// The remote inputs' node list, in the analog input file's _R20_TASK_7.
void discrete_R20_TASK_7();
void discrete_R160_TASK_65();
void discrete_R160_TASK_71();
void discrete_R160_TASK_80();
