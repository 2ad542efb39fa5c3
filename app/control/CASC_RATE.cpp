// CASC_RATE: the tracking mode and its rate, and the matching of the speed
// reference with the cascade's demand when cascade takes control.
#include "app/control/CASC_RATE.cells.h"

#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/BO_MUX.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct CASC_RATE_blocks {
    bk::OneShotState CASC_PLS;
    uint32_t cascade_was_enabled;
};
BlockRam<CASC_RATE_blocks> CASC_RATE_st;
constexpr float kMatchPulse = 0.2f;        // s
constexpr float kTrackRateFactor = 75.0f;  // tracking rate in cascade rates
constexpr float kMatchStep = 1.0f;         // speed units of the raise/lower flags
}  // namespace

namespace r160 {
void CASC_RATE_matched() { CASC_RATE.MATCHED_NOT = bk::NOT(CASC_RATE.N_MATCHED_LATCH); }
}  // namespace r160

namespace r80 {

void CASC_RATE_tracking() {
    auto& r = CASC_RATE;
    r.N_CASC_EN_NOT = bk::NOT(IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME);
    r.EN_TRACK_AND = bk::AND({CNFG_CASC.USE_SP_TRACK_B_NAME, r.N_CASC_EN_NOT});
    r.TRACK_RATE_MULTIPLY = IFACE_IN_CASC.CASC_RATE_A_NAME * kTrackRateFactor;
}

void CASC_RATE_matching() {
    auto& r = CASC_RATE;
    auto& s = CASC_RATE_st;
    const uint32_t enabled = IFACE_OUT_SPEED.CASCADE_ENABLED_B_NAME;
    const uint32_t rise = enabled != 0 && s.cascade_was_enabled == 0 ? 1u : 0u;
    s.cascade_was_enabled = enabled;
    bk::ONE_SHOT(s.CASC_PLS, r.CASC_PLS_ONE_SHOT, &r.CASC_PLS_R_TIME.ref(), rise, kMatchPulse, bk::T80);
    r.RST_RATE_OR = bk::OR({r.N_CASC_EN_NOT, SPDC.SPEED_REF_P_LIM_13, r.MATCHD_Z_ZMINUS1_B});
    const uint32_t used = IFACE_IN_CASC.USE_CASC_B_NAME;
    if (used != 0) bk::LATCH(r.N_MATCHED_LATCH, r.CASC_PLS_ONE_SHOT, r.RST_RATE_OR);
    r.WNDW_SIZE_MULTIPLY = IFACE_IN_SPEED.MAX_GOV_A_NAME * r.WNDW_SIZE_IN_2;
    if (used != 0) {
        if (r.N_MATCHED_LATCH != 0) {
            const float d = CASC_CTRL.CAS_TO_SPD_ADD - IFACE_OUT_SPEED.SPEED_REF_A_NAME;
            r.MATCHEDX_RAISE_VAL = d >= 0.0f && d > kMatchStep ? 1u : 0u;
            r.MATCHEDX_LOWER_VAL = d < 0.0f && -d > kMatchStep ? 1u : 0u;
            r.MATCHEDX_EXCD_DB_2 = std::fabs(d) > r.WNDW_SIZE_MULTIPLY ? 1u : 0u;
        } else {
            r.MATCHEDX_RAISE_VAL = 0;
            r.MATCHEDX_LOWER_VAL = 0;
            r.MATCHEDX_EXCD_DB_2 = 0;
        }
    }
    r.SP_CLOSE_NOT = bk::NOT(r.MATCHEDX_EXCD_DB_2);
    r.ENTR_SETPT_AND = bk::AND({bk::NOT(IFACE_OUT_CASC.REM_CAS_SEL_B_NAME), bk::NOT(r.EN_TRACK_AND)});
}

}  // namespace r80
