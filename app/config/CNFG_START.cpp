// CNFG_START: the start modes from the start-mode list and the start
// settings, copied every pass.
#include "app/config/CNFG_START.cells.h"

#include "app/config/MASTER.cells.h"
#include "app/config/config_list.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"

namespace r160 {

void CNFG_START_list() {
    auto& c = CNFG_START;
    cfglist::SAMPLE<uint32_t>(MASTER.IO_LOCK_OR_PWR_B_NAME,
                              {{c.CONFIG_B_LIST_1.ref(), c.CONFIG_B_IN_1}, {c.CONFIG_B_LIST_2.ref(), c.CONFIG_B_IN_2},
                               {c.CONFIG_B_LIST_3.ref(), c.CONFIG_B_IN_3}, {c.CONFIG_B_LIST_4.ref(), c.CONFIG_B_IN_4},
                               {c.CONFIG_B_LIST_5.ref(), c.CONFIG_B_IN_5}, {c.CONFIG_B_LIST_6.ref(), c.CONFIG_B_IN_6},
                               {c.CONFIG_B_LIST_7.ref(), c.CONFIG_B_IN_7}, {c.CONFIG_B_LIST_8.ref(), c.CONFIG_B_IN_8},
                               {c.CONFIG_B_LIST_9.ref(), c.CONFIG_B_IN_9},
                               {c.CONFIG_B_LIST_10.ref(), c.CONFIG_B_IN_10}});
    cfglist::SAMPLE<float>(MASTER.IO_LOCK_OR_PWR_B_NAME, {{c.CONFIG_A_LIST_1.ref(), c.CONFIG_A_IN_1},
                                                          {c.CONFIG_A_LIST_2.ref(), c.CONFIG_A_IN_2},
                                                          {c.CONFIG_A_LIST_3.ref(), c.CONFIG_A_IN_3}});
    c.IDLE_1_SP_A_NAME = c.CONFIG_A_LIST_1;
    c.IR_RATED_SP_A_NAME = c.CONFIG_A_LIST_2;
    c.AUTO_HALT_AT_IDLE_B_NAME = c.CONFIG_B_LIST_9;
    c.AUTO_START_B_NAME = c.CONFIG_B_LIST_2;
    c.IDLE_RATED_SEQ_B_NAME = c.AUTO_START_B_NAME;
    CONF_VAL_1.IDLE_RTD_B_NAME = c.AUTO_START_B_NAME;
    c.USE_RATED_B_NAME = c.CONFIG_B_LIST_10;
}

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
    IFACE_IN_SPEED.IDLE_1_A_NAME = c.IDLE_1_SP_A_NAME;
}

}  // namespace r160
