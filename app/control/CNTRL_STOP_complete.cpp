// CNTRL_STOP at 80 ms, after the speed sensors' open-wire check: the
// sequence flag, and the stop complete once the stop has reached idle and
// the valve limiter has run down to its lower end with the stop's trip in
// force (the shutdown logic trips on it), with its delay.
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct CNTRL_STOP_complete_blocks {
    bk::DelayState STP_CPLT_DLY;
};
BlockRam<CNTRL_STOP_complete_blocks> CNTRL_STOP_complete_st;
}  // namespace

namespace r80 {

void CNTRL_STOP_complete() {
    auto& c = CNTRL_STOP;
    c.CSD_SEQ_B_NAME = c.NSD_ENABLED_LATCH_R;
    c.STP_COMPLETE_AND = bk::AND({c.STP_CPLT_OR, HP_LIMTER.HP_RAMP_P_LIM_1, c.CSD_TRIP_B_NAME});
    bk::DELAY(CNTRL_STOP_complete_st.STP_CPLT_DLY, c.STP_CPLT_DLY_DELAY, &c.STP_CPLT_DLY_R_TIME.ref(), c.STP_CPLT_OR,
              c.STP_CPLT_DLY_DLY_TIME, 0.0f, bk::T80);
}

}  // namespace r80
