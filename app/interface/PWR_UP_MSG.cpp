// PWR_UP_MSG: the power-up message timing.
#include "app/interface/PWR_UP_MSG.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kDisplayPulse = 1.0f;
constexpr float kRunPulse = 0.5f;

struct PWR_UP_MSG_blocks {
    bk::OneShotState INI_DSPLY;
    bk::DelayState PWR_UP_COMPLETE;
    bk::OneShotState RUN_PRGM;
};
BlockRam<PWR_UP_MSG_blocks> PWR_UP_MSG_st;
}  // namespace

namespace r80 {

void PWR_UP_MSG_timing() {
    auto& c = PWR_UP_MSG;
    bk::ONE_SHOT(PWR_UP_MSG_st.INI_DSPLY, c.INI_DSPLY_ONE_SHOT, &c.INI_DSPLY_R_TIME.ref(), c.PWR_UP_DLY_DELAY,
                 kDisplayPulse, bk::T80);
    bk::DELAY(PWR_UP_MSG_st.PWR_UP_COMPLETE, c.PWR_UP_COMPLETE_DELAY, &c.PWR_UP_COMPLETE_R_TIME.ref(),
              c.PWR_UP_DLY_DELAY, c.PWR_UP_COMPLETE_DLY_TIME, 0.0f, bk::T80);
}

}  // namespace r80

namespace r160 {

void PWR_UP_MSG_run_program() {
    auto& c = PWR_UP_MSG;
    bk::ONE_SHOT(PWR_UP_MSG_st.RUN_PRGM, c.RUN_PRGM_ONE_SHOT, &c.RUN_PRGM_R_TIME.ref(), c.N_ERR_DLY_DELAY, kRunPulse,
                 bk::T160);
}

}  // namespace r160
