// UNIT_DEMO at 80 ms: the demonstration's command list. While demo mode is
// on, the list carries its start, trip, reset and zeroing pulses and the
// go-to-minimum request (at idle for DLY_TIME); otherwise it keeps its
// values.
#include "app/analog/UNIT_DEMO.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct UNIT_DEMO_command_blocks {
    bk::DelayState GO_MINGOV;
};
BlockRam<UNIT_DEMO_command_blocks> UNIT_DEMO_command_st;
}  // namespace

namespace r80 {

void UNIT_DEMO_commands() {
    auto& c = UNIT_DEMO;
    bk::DELAY(UNIT_DEMO_command_st.GO_MINGOV, c.GO_MINGOV_DELAY, &c.GO_MINGOV_R_TIME.ref(), c.AT_IDLE_AND,
              c.GO_MINGOV_DLY_TIME, 0.0f, bk::T80);
    if (c.DEMO_MODE_B_NAME == 1) {
        c.B_CMDS_LIST_1 = c.DEMO_START_ONE_SHOT;
        c.B_CMDS_LIST_2 = c.DEMO_TRIP_ONE_SHOT;
        c.B_CMDS_LIST_3 = c.DEMO_RESET_ONE_SHOT;
        c.B_CMDS_LIST_4 = c.DEMO_RAZ_AND;
        c.B_CMDS_LIST_5 = c.GO_MINGOV_DELAY;
    }
}

}  // namespace r80
