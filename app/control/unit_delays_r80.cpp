// The unit-delay slots of the 80 ms group, in slot order.
#include "app/control/unit_delays_r80.h"

#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/REMOTE.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/START.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void unit_delays_store() {
    bk::ZSTORE_B(10, RESET.RST_TRP_CI_ONE_SHOT);
    bk::ZSTORE_B(11, MOD_BW.BW_CMD_LATCH1);
    bk::ZSTORE_B(12, RMT_ENBL.ENABLED_LATCH_R);
    bk::ZSTORE_B(13, RMT_CAS_EN.N_MTCH_RTE_LATCH);
    bk::ZSTORE_B(14, HP_LIMTER.HP_RAMP_P_LIM_3);
    bk::ZSTORE(13, HP_LIMTER.ENTR_HP_LIM_SP_A_SW_A_SW);
    bk::ZSTORE_B(15, HP_LIMTER.LIMITED_DELAY);
    bk::ZSTORE_B(16, HP_LIMTER.H_SER_DIS_OR);
    bk::ZSTORE_B(17, HP_LIMTER.HP_RAMP_P_LIM_1);
    bk::ZSTORE_B(18, CASC_ENBL.ENABLED_LATCH_R);
    bk::ZSTORE_B(19, START.STRT_IH_LATCH1);
    bk::ZSTORE_B(20, START.RUN_CMD_LATCH_R);
    bk::ZSTORE(14, CASC_CTRL.PID_PCT_MULTIPLY);
    bk::ZSTORE_B(21, CASC_RATE.SP_CLOSE_NOT);
    bk::ZSTORE_B(22, REMOTE.IN_CNTRL_AND);
    bk::ZSTORE_B(23, SPDC.SPEED_REF_MOVING_UP);
}

void unit_delays_commit() {
    RESET.RST_Z_ZMINUS1_B = bk::ZCOMMIT_B(10);
    MOD_BW.ZLATCH_ZMINUS1_B = bk::ZCOMMIT_B(11);
    RMT_ENBL.ZENABLED_ZMINUS1_B = bk::ZCOMMIT_B(12);
    RMT_CAS_EN.Z_LOOP_ZMINUS1_B = bk::ZCOMMIT_B(13);
    HP_LIMTER.AT_POS3_ZMINUS1_B = bk::ZCOMMIT_B(14);
    HP_LIMTER.ENTR_SP_Z_ZMINUS1 = bk::ZCOMMIT(13);
    HP_LIMTER.SAMPLE_Z_ZMINUS1_B = bk::ZCOMMIT_B(15);
    HP_LIMTER.H_SER_Z_ZMINUS1_B = bk::ZCOMMIT_B(16);
    CNTRL_STOP.Z_HPRPLIM_ZMINUS1_B = bk::ZCOMMIT_B(17);
    CASC_ENBL.ZENABLED_ZMINUS1_B = bk::ZCOMMIT_B(18);
    START.ZPERM_ZMINUS1_B = bk::ZCOMMIT_B(19);
    START.ZSTRTR_ZMINUS1_B = bk::ZCOMMIT_B(20);
    CASC_CTRL.Z1_ZMINUS1 = bk::ZCOMMIT(14);
    CASC_RATE.MATCHD_Z_ZMINUS1_B = bk::ZCOMMIT_B(21);
    REMOTE.ZSEL_ZMINUS1_B = bk::ZCOMMIT_B(22);
    SPDC.Z_UP_ZMINUS1_B = bk::ZCOMMIT_B(23);
}

}  // namespace r80
