// The slices of the protection logic: trips, the shutdown list and its
// history at 10 ms, the alarms and the alarm list at 40 ms, and their
// settings, texts and LEDs at 160 ms (rg_slices lists them).
#pragma once

void _R10_TASK_3();
void _R10_TASK_4();
void _R10_TASK_9();

void _R40_TASK_1();
void _R40_TASK_2();
void _R40_TASK_3();

void _R160_TASK_11();
void _R160_TASK_48();
