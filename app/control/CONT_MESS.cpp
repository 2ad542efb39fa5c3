// CONT_MESS: the control-status message. The first condition that holds
// chooses the text and its number.
#include "app/control/CONT_MESS.cells.h"

#include "app/control/CONF_LATCH.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/START.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void CONT_MESS_message() {
    auto& c = CONT_MESS;
    const auto& v = IFACE_OUT_VLV;
    c.PRMT_13_AND = bk::AND({START.MAN_START_B_NAME, IFACE_OUT_START.STARTING_B_NAME});
    c.PRMT_14_AND = bk::AND({IFACE_OUT_START.STARTING_B_NAME, START.AUTO_START_AND});
    c.PRMT_25_AND = bk::AND({v.ACT_LSS_SEL_1_B_NAME, SPD_CTRL.ONLINE_DYN_B_NAME});
    c.CNTRL_MESS_MSG_SEL = bk::MSG_SEL(c.CNTRL_MESS_B_TO_STR,
                                       {
                                           {SHUTDOWNS.ANY_SD_B_NAME, 1, "Shutdown"},
                                           {SPDC.Z01_STEP_SFC_STEP, 2, "Controlled Shutdown"},
                                           {v.ACT_LSS_HI_LIM_I_B_NAME, 4, "Max Actuator"},
                                           {c.VLV_LIM_MESS_AND, 5, "Valve Limiter"},
                                           {v.ACT_LSS_SEL_3_B_NAME, 7, "Manual Demand"},
                                           {CONF_LATCH.ANY_LATCH_AE, 8, "Configuration Error"},
                                           {IFACE_OUT_START.STRT_INH_B_NAME, 9, "Start Perm Not Met"},
                                           {SPDC.A00_STEP_SFC_STEP, 10, "Ready to Start"},
                                           {c.PRMT_13_AND, 11, "Manual Start"},
                                           {c.PRMT_14_AND, 12, "Auto Start"},
                                           {SPDC.B03_STEP_SFC_STEP, 14, "Remote Cascade/Speed"},
                                           {SPDC.B02_STEP_SFC_STEP, 15, "Cascade / Speed"},
                                           {IFACE_OUT_SPEED.RMT_SPD_ACTIVE_B_NAME, 16, "Remote / Speed"},
                                           {c.PRMT_25_AND, 17, "Speed / On-Line"},
                                           {v.ACT_LSS_SEL_1_B_NAME, 18, "Speed / Off-Line"},
                                       },
                                       "Ready to Start");
    c.CONT_PARA_INT_I_NAME = c.CNTRL_MESS_MSG_SEL;
    c.CNTRL_PARAMTR_A_NAME = bk::int_to_real(c.CNTRL_MESS_MSG_SEL);
    c.CONT_PARA_S_NAME = c.CNTRL_MESS_B_TO_STR;
}

}  // namespace r160
