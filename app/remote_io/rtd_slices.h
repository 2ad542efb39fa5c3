// The 80 ms slices of the remote RTD node: the channel blocks, the display
// values with the alarm levels, the vibration count and RTD lists, the
// channel texts and the Modbus multipliers.
#pragma once

void _R80_TASK_3();
void _R80_TASK_4();
void _R80_TASK_5();
void _R80_TASK_6();
void _R80_TASK_7();
void _R80_TASK_8();
void _R80_TASK_9();
void _R80_TASK_10();
void _R80_TASK_11();
void _R80_TASK_27();
void _R80_TASK_28();
