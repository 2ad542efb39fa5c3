// MESSAGE_START at 80 ms: the idle and rated commands held for the start
// texts (3 s each), and whether the reference is moving to idle.
#include "app/interface/MESSAGE.cells.h"

#include "app/control/IDLE_RATE.cells.h"
#include "app/control/SPDC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kCommandShown = 3.0f;

struct MESSAGE_START_blocks {
    bk::OneShotState SH_OFFCMD, SH_ONCMD;
};
BlockRam<MESSAGE_START_blocks> MESSAGE_START_st;
}  // namespace

namespace r80 {

void MESSAGE_START_pulses() {
    auto& c = MESSAGE_START;
    auto& s = MESSAGE_START_st;
    bk::ONE_SHOT(s.SH_OFFCMD, c.SH_OFFCMD_ONE_SHOT, &c.SH_OFFCMD_R_TIME.ref(), IDLE_RATE.IDLE_PLS_OR, kCommandShown,
                 bk::T80);
    bk::ONE_SHOT(s.SH_ONCMD, c.SH_ONCMD_ONE_SHOT, &c.SH_ONCMD_R_TIME.ref(), IDLE_RATE.RATED_PLS_OR, kCommandShown,
                 bk::T80);
    c.TOIDLE_OR = bk::OR({SPDC.A01_STEP_SFC_STEP, SPDC.A11_STEP_SFC_STEP});
}

}  // namespace r80
