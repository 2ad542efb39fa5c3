// F_KEY: the blink rhythm. Z1 is BLINK_OFF of the pass before (the group's
// unit delays commit it), so the pulse oscillates: off for the on-delay,
// then on for the pulse length, each rounded up to whole passes.
#include "app/interface/F_KEY.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct F_KEY_blocks {
    bk::DelayState BLINK_ON;
    bk::OneShotState BLINK_OFF;
};
BlockRam<F_KEY_blocks> F_KEY_st;
}  // namespace

namespace r160 {

void F_KEY_blink() {
    auto& c = F_KEY;
    auto& s = F_KEY_st;
    c.N_BLINK_NOT = bk::NOT(c.Z1_ZMINUS1_B);
    bk::DELAY(s.BLINK_ON, c.BLINK_ON_DELAY, &c.BLINK_ON_R_TIME.ref(), c.N_BLINK_NOT, c.BLINK_ON_DLY_TIME, 0.0f,
              bk::T160);
    bk::ONE_SHOT(s.BLINK_OFF, c.BLINK_OFF_ONE_SHOT, &c.BLINK_OFF_R_TIME.ref(), c.BLINK_ON_DELAY, c.BLINK_OFF_DLY_TIME,
                 bk::T160);
}

}  // namespace r160
