// The step timers of the demonstration sequence: an on-delay per step.
#include "app/analog/UNIT_DEMO.cells.h"

#include "runtime/blockkinds.h"

namespace {

// While the step is active the elapsed time grows by the group period until
// it reaches the delay (a delay that is no number never stops it); the
// output is whether it has. An inactive step restarts the time.
template <class Out, class Rt>
void step_timer(float& elapsed, uint32_t active, float delay, Out&& out, Rt&& r_time) {
    if (active == 1) {
        if (!(elapsed >= delay)) elapsed += bk::T160;
        out = elapsed >= delay ? 1u : 0u;
        r_time = bk::remaining_time(delay - elapsed);
    } else {
        elapsed = 0.0f;
        out = 0;
        r_time = 0;
    }
}

struct UNIT_DEMO_blocks {
    float elapsed[4];
};
BlockRam<UNIT_DEMO_blocks> UNIT_DEMO_st;

}  // namespace

namespace r160 {

void UNIT_DEMO_timers() {
    auto& c = UNIT_DEMO;
    float* e = UNIT_DEMO_st.elapsed;
    step_timer(e[0], c.DEMO_STEP1_SFC_STEP, c.DELAY_DLY_TIME, c.DELAY_DELAY, c.DELAY_R_TIME);
    step_timer(e[1], c.DEMO_STEP3_SFC_STEP, c.DELAY3_DLY_TIME, c.DELAY3_DELAY, c.DELAY3_R_TIME);
    step_timer(e[2], c.DEMO_STEP4_SFC_STEP, c.DELAY4_DLY_TIME, c.DELAY4_DELAY, c.DELAY4_R_TIME);
    step_timer(e[3], c.DEMO_STEP5_SFC_STEP, c.DELAY5_DLY_TIME, c.DELAY5_DELAY, c.DELAY5_R_TIME);
}

}  // namespace r160
