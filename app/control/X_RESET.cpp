// X_RESET: the reset blink, a 0.2 s pulse every BLNK_RST.DLY_TIME.
#include "app/control/X_RESET.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct X_RESET_blocks {
    bk::DelayState BLNK_RST;
    bk::OneShotState BLINK_RST2;
};
BlockRam<X_RESET_blocks> X_RESET_st;

constexpr float kPulse = 0.2f;
}  // namespace

namespace r80 {
void X_RESET_not_blink() { X_RESET.N_BLINK2_NOT = bk::NOT(X_RESET.BLINK_RST2_ONE_SHOT); }
}  // namespace r80

namespace r160 {
void X_RESET_blink() {
    auto& c = X_RESET;
    auto& s = X_RESET_st;
    bk::DELAY(s.BLNK_RST, c.BLNK_RST_DELAY, &c.BLNK_RST_R_TIME.ref(), c.N_BLINK2_NOT, c.BLNK_RST_DLY_TIME, 0.0f,
              bk::T160);
    // The pulse, 0.2 s from the end of the delay.
    bk::ONE_SHOT(s.BLINK_RST2, c.BLINK_RST2_ONE_SHOT, &c.BLINK_RST2_R_TIME.ref(), c.BLNK_RST_DELAY, kPulse, bk::T160);
}
}  // namespace r160
