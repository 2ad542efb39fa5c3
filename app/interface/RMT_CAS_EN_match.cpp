// RMT_CAS_EN at 80 ms: the remote cascade setpoint's match. When remote
// cascade is selected the cascade setpoint moves at the not-matched rate
// until it lies within the window (default +/-0.05 %) around the remote
// setpoint, or until remote cascade is deselected.
#include "app/interface/RMT_CAS_EN.cells.h"

#include "app/control/CASC_SETPT.cells.h"
#include "app/control/RMT_CAS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kNotMatchedPulse = 1.0f;
struct RMT_CAS_EN_match_blocks {
    bk::OneShotState LATCH_RMT;
};
BlockRam<RMT_CAS_EN_match_blocks> RMT_CAS_EN_match_st;
}  // namespace

namespace r80 {

void RMT_CAS_EN_match() {
    auto& c = RMT_CAS_EN;
    const float sp = RMT_CAS.RMT_CASC_D_A_DEADBAND;
    c.MATCH_WINDOW_MULTIPLY = sp * c.MATCH_WINDOW_IN_2;
    c.HI_MATCH_ADD = sp + c.MATCH_WINDOW_MULTIPLY;
    c.LO_MATCH_SUBTRACT = sp - c.MATCH_WINDOW_MULTIPLY;
    const float casc = CASC_SETPT.SETPT_RAMP;
    bk::A_COMPARE(c.MATCH_HI_A_COMPARE, c.MATCH_HI_A_EQUAL, c.HI_MATCH_ADD, casc);
    bk::A_COMPARE(c.MATCH_LO_A_COMPARE, c.MATCH_LO_A_EQUAL, casc, c.LO_MATCH_SUBTRACT);
    c.IN_RMTCNTRL_AND = bk::AND({c.ENABLED_LATCH_R, c.MATCH_HI_A_COMPARE, c.MATCH_LO_A_COMPARE});
    c.NOT_RMT_NOT = bk::NOT(c.REM_SEL_AND);
    c.DISABLE_OR = bk::OR({c.NOT_RMT_NOT, c.IN_RMTCNTRL_AND});
    bk::ONE_SHOT(RMT_CAS_EN_match_st.LATCH_RMT, c.LATCH_RMT_ONE_SHOT, &c.LATCH_RMT_R_TIME.ref(), c.REM_SEL_AND,
                 kNotMatchedPulse, bk::T80);
    bk::LATCH(c.N_MTCH_RTE_LATCH, c.LATCH_RMT_ONE_SHOT, c.DISABLE_OR);
}

}  // namespace r80
