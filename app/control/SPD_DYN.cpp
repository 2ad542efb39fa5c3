// SPD_DYN: the speed PID's offline and online gain sets, and the acceptance
// of the gains a completed tuning run proposes.
#include "app/control/SPD_DYN.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
struct SPD_DYN_blocks {
    bk::SampState P_OFFLINE, I_OFFLINE, D_OFFLINE, P_ONLINE, I_ONLINE, D_ONLINE;
    bk::DelayState OPTI_OFF;
};
BlockRam<SPD_DYN_blocks> SPD_DYN_st;
}  // namespace

namespace r40 {

// A run that ends complete (the status equals IN_2) is accepted into the
// offline or the online set as the interface chooses.
void SPD_DYN_accept() {
    bk::I_COMPARE(SPD_DYN.OPTI_CMPLT_EQ, SPD_DYN.OPTI_CMPLT_LT, SPD_DYN.OPTI_CMPLT_GT, SPD_CTRL.SPD_PID_OPTI_STATUS,
                  SPD_DYN.OPTI_CMPLT_IN_2);
    SPD_DYN.ACPT_OFFLINE_AND = bk::AND({IFACE_IN_SPEED.USE_OPID_OUTS_OUT_2, SPD_DYN.OPTI_CMPLT_EQ});
    SPD_DYN.USE_ONLINE_AND = bk::AND({SPD_DYN.OPTI_CMPLT_EQ, IFACE_IN_SPEED.USE_OPID_OUTS_OUT_1});
    SPD_DYN.RST_OPTI_OR = bk::OR({SPD_DYN.ACPT_OFFLINE_AND, SPD_DYN.USE_ONLINE_AND});
    bk::DELAY(SPD_DYN_st.OPTI_OFF, SPD_DYN.OPTI_OFF_DELAY, &SPD_DYN.OPTI_OFF_R_TIME.ref(), SPD_DYN.RST_OPTI_OR, 0.1f,
              0.0f, bk::T40);
}

}  // namespace r40

namespace r160 {

#define SPD_DYN_SAMPLE(S, CALC, ACCEPT, LO, HI)                                                                 \
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(SPD_DYN_st.S, SPD_DYN.S##_TUNE, SPD_CTRL.SPD_PID_##CALC, SPD_DYN.ACCEPT, LO, \
                                   HI, ORVEX12_IO.KEYPAD_SHIFT, LO, HI, wmmm),                                  \
                     SPD_DYN.S##_SAMP_TUNE, SPD_DYN.S##_LIMITED, SPD_DYN.S##_EN_ENT_OUT, SPD_DYN.S##_LO_LIM_OUT, \
                     SPD_DYN.S##_HI_LIM_OUT)

void SPD_DYN_settings() {
    const uint32_t wmmm = static_cast<uint32_t>(AllRgExecutedwMMM);
    SPD_DYN_SAMPLE(P_OFFLINE, CALC_P, ACPT_OFFLINE_AND, 0.0f, 100.0f);
    SPD_DYN_SAMPLE(I_OFFLINE, CALC_I, ACPT_OFFLINE_AND, 0.0099f, 50.0f);
    SPD_DYN_SAMPLE(D_OFFLINE, CALC_SDR, ACPT_OFFLINE_AND, 0.0099f, 100.0f);
    SPD_DYN_SAMPLE(P_ONLINE, CALC_P, USE_ONLINE_AND, 0.0f, 100.0f);
    SPD_DYN_SAMPLE(I_ONLINE, CALC_I, USE_ONLINE_AND, 0.0099f, 50.0f);
    SPD_DYN_SAMPLE(D_ONLINE, CALC_SDR, USE_ONLINE_AND, 0.0099f, 100.0f);
}

#undef SPD_DYN_SAMPLE

}  // namespace r160
