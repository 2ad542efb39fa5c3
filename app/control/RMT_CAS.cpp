// RMT_CAS: the remote cascade setpoint. Its limits are the overlap of the
// cascade setpoint range and the remote input's range, sampled at power-up
// and then held within the setpoint range; the setpoint itself is limited,
// filtered and held within a backlash deadband before the cascade setpoint
// ramp follows it.
#include "app/control/RMT_CAS.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/CASC_SETPT.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "blocks/tune_coef.h"
#include "runtime/rgtask.h"

namespace {
struct RMT_CAS_blocks {
    bk::SampState RMT_CAS_MN, RMT_CAS_MX;
    bk::LagState RMT_CASC_L;
    float RMT_CASC_L_coef;
};
BlockRam<RMT_CAS_blocks> RMT_CAS_st;

constexpr float kSampleMin = -20000.0f, kSampleMax = 20000.0f;

#define RMT_CAS_SAMPLE(B, TUNE, IN)                                                                              \
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(RMT_CAS_st.B, TUNE, IN, CASC_RATE.H_R_CAS_S_B_SW, r.MIN_SETPT_HOLD_A_SW,      \
                                   r.MAX_SETPT_HOLD_A_SW, 0u, kSampleMin, kSampleMax,                          \
                                   static_cast<uint32_t>(AllRgExecutedwMMM)),                                 \
                     r.B##_SAMP_TUNE, r.B##_LIMITED, r.B##_EN_ENT_OUT, r.B##_LO_LIM_OUT, r.B##_HI_LIM_OUT)
}  // namespace

void RMT_CAS_init_blks() { tune_lag(&RMT_CAS_st.RMT_CASC_L_coef, cells::RMT_CAS.RMT_CASC_L_LAG_TAU, bk::T80); }
void RMT_CAS_lag_time_written() { RMT_CAS_init_blks(); }

namespace r160 {

void RMT_CAS_limits() {
    auto& r = RMT_CAS;
    r.MAX_REMOTE_A_MIN = bk::A_MIN(CASC_SETPT.MAX_SETPT_A_NAME, AI_MUX.RMT_CASC_MAX_A_NAME);
    r.MIN_REMOTE_A_MAX = bk::A_MAX(CASC_SETPT.MIN_SETPT_A_NAME, AI_MUX.RMT_CASC_MIN_A_NAME);
    // Open limits while the I/O is locked, else the cascade setpoint range.
    const uint32_t locked = MASTER.IO_LOCK_B_NAME;
    r.MAX_SETPT_HOLD_A_SW = bk::SW<float>(locked, CASC_SETPT.MAX_SETPT_A_NAME, bk::kRealHiLim);
    r.MIN_SETPT_HOLD_A_SW = bk::SW<float>(locked, CASC_SETPT.MIN_SETPT_A_NAME, bk::kRealLoLim);
    RMT_CAS_SAMPLE(RMT_CAS_MN, IFACE_IN_CASC.QT_RMT_SP_MIN_A_NAME, r.MIN_REMOTE_A_MAX);
    RMT_CAS_SAMPLE(RMT_CAS_MX, IFACE_IN_CASC.QT_RMT_SP_MAX_A_NAME, r.MAX_REMOTE_A_MIN);
}

}  // namespace r160

namespace r80 {

void RMT_CAS_setpoint() {
    auto& r = RMT_CAS;
    if (IFACE_IN_CASC.CAS_RMT_B_NAME != 0) {
        r.REMOTE_A_LIMITER =
            bk::A_LIMITER(AI_MUX.RMT_CASC_SP_A_NAME, r.RMT_CAS_MN_SAMP_TUNE, r.RMT_CAS_MX_SAMP_TUNE);
        const float in = bk::finite(r.REMOTE_A_LIMITER) ? r.REMOTE_A_LIMITER : 0.0f;
        bk::LAG_COEF(RMT_CAS_st.RMT_CASC_L, r.RMT_CASC_L_LAG, nullptr, in, RMT_CAS_st.RMT_CASC_L_coef, bk::T80);
        r.RMT_CASC_D_A_DEADBAND =
            refbk::BACKLASH(r.RMT_CASC_D_A_DEADBAND, r.RMT_CASC_L_LAG, IFACE_IN_CASC.RMT_DB_A_NAME);
    }
    IFACE_OUT_CASC.REMOTE_CAS_SP_A_NAME = r.REMOTE_A_LIMITER;
    AO_MUX.RMT_CASC_A_NAME = r.REMOTE_A_LIMITER;
}

}  // namespace r80
