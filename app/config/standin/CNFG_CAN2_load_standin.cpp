// STAND-IN definitions (see CNFG_CAN2_load_standin.h).
#include "app/config/standin/CNFG_CAN2_load_standin.h"

uint16_t CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[3];
