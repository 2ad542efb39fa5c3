// The chassis status block: a task of its own that four times a second reads
// the board temperature and the eight supply voltages into cells and drives
// the front-panel status LEDs from the cells the application sets; and the
// ADC fault cell of the 20 ms I/O gather.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

extern float ORVEX12_IO_CHASS_STATUS_2278TemperatureValue;
extern int ORVEX12_IO_CHASS_STATUS_2278PSMonInit;
extern TASK_ID _ORVEX12_IO_CHASS_STATUS_2278pidTemp;

// The task body.
void ORVEX12_IO_CHASS_STATUS_2278Temp(long arg);
// Block initialisation: the supply monitor, the product model text, and the
// task "ORVEX12_IO_CHASS_STATUS_2278".
void ORVEX12_IO_CHASS_STATUS_init_blks();
