// IFACE_OUT_CASC: copies of the cascade logic's state for the interface
// maps; remote cascade counts as inhibited while cascade is inhibited, its
// remote signal has failed or it is not configured.
#include "app/interface/IFACE_OUT_CASC.cells.h"

#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/CASC_ENTRD.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void IFACE_OUT_CASC_status() {
    auto& c = IFACE_OUT_CASC;
    c.CASC_PID_A_NAME = CASC_CTRL.CASC_PID_PID_2;
    c.EN_ENTR_SETPT_B_NAME = CASC_RATE.ENTR_SETPT_AND;
    c.RMT_CAS_EN_B_NAME = RMT_CAS_EN.ENABLED_LATCH_R;
    c.RMT_N_MATCH_RATE_SEL_B_NAME = RMT_CAS_EN.Z_LOOP_ZMINUS1_B;
}

}  // namespace r80

namespace r160 {

void IFACE_OUT_CASC_status() {
    auto& c = IFACE_OUT_CASC;
    c.ENTRD_RATE_A_NAME = CASC_RATE.ENTRD_RATE_SAMP_TUNE;
    RMT_CAS_EN.INHIBITED_OR = bk::OR({CASC_ENBL.INHIBITED_LATCH1, IFACE_IN_CASC.RMT_CASC_FLT_B_NAME,
                                      IFACE_IN_CASC.CASC_RMT_N_NOT});
    c.INHIBITED_B_NAME = RMT_CAS_EN.INHIBITED_OR;
    c.INVALID_SP_B_NAME = CASC_ENTRD.INVALID_SP_OR;
    c.RMT_N_MATCH_RATE_A_NAME = CASC_RATE.RT_N_MTCH_SAMP_TUNE;
    IFACE_OUT_HP_MAN.DIS_TIMEOUT_I_NAME = HP_MAN_ENBL.DLY_NOMOV_R_TIME;
}

}  // namespace r160
