// The step timers of the demonstration sequence: an on-delay per step.
#include "app/analog/UNIT_DEMO.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

struct UNIT_DEMO_blocks {
    bk::DelayState DELAY, DELAY3, DELAY4, DELAY5;
};
BlockRam<UNIT_DEMO_blocks> UNIT_DEMO_st;

}  // namespace

namespace r160 {

// Each step's on-delay: true once the step has been active for DLY_TIME,
// false at once when the step ends.
void UNIT_DEMO_timers() {
    auto& c = UNIT_DEMO;
    auto& s = UNIT_DEMO_st;
    bk::DELAY(s.DELAY, c.DELAY_DELAY, &c.DELAY_R_TIME.ref(), c.DEMO_STEP1_SFC_STEP, c.DELAY_DLY_TIME, 0.0f, bk::T160);
    bk::DELAY(s.DELAY3, c.DELAY3_DELAY, &c.DELAY3_R_TIME.ref(), c.DEMO_STEP3_SFC_STEP, c.DELAY3_DLY_TIME, 0.0f,
              bk::T160);
    bk::DELAY(s.DELAY4, c.DELAY4_DELAY, &c.DELAY4_R_TIME.ref(), c.DEMO_STEP4_SFC_STEP, c.DELAY4_DLY_TIME, 0.0f,
              bk::T160);
    bk::DELAY(s.DELAY5, c.DELAY5_DELAY, &c.DELAY5_R_TIME.ref(), c.DEMO_STEP5_SFC_STEP, c.DELAY5_DLY_TIME, 0.0f,
              bk::T160);
}

}  // namespace r160
