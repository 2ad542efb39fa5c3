// CNFG_START: the start modes from the start-mode list and the start
// settings, copied every pass.
#include "app/config/CNFG_START.cells.h"

namespace r160 {

void CNFG_START_settings() {
    auto& c = CNFG_START;
    c.MAN_START_B_NAME = c.CONFIG_B_LIST_1;
    c.SEMIAUTO_START_B_NAME = c.CONFIG_B_LIST_3;
    c.AUTO_SEQ_B_NAME = c.CONFIG_B_LIST_6;
    c.KEYPAD_CNFRM_B_NAME = c.CONFIG_B_LIST_7;
    c.HOT_START_MULT_A_NAME = c.HOT_START_MULT_IN;
    c.RATE_IDL_SPD_A_NAME = c.RATE_IDL_SPD_IN;
    c.RATE_MIN_SPD_A_NAME = c.RATE_MIN_SPD_IN;
    c.VLV_LIM_RATE_A_NAME = c.VLV_LIM_RATE_IN;
}

}  // namespace r160
