// REMOTE at 80 ms: the remote selection's disable and entry enable, and the
// window (default +/-0.5 %) around the remote setpoint in which the speed
// reference matches it.
#include "app/control/REMOTE.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/START.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void REMOTE_selection() {
    auto& c = REMOTE;
    c.NOT_RMT_NOT = bk::NOT(c.REM_SEL_SW_B_SW);
    c.DISABLE_OR = bk::OR({c.ZSEL_ZMINUS1_B, c.NOT_RMT_NOT});
    c.ENTR_ENBL_AND = bk::AND({c.NOT_RMT_NOT, CASC_RATE.N_CASC_EN_NOT, START.RUN_CMD_LATCH_R});
}

void REMOTE_match_window() {
    auto& c = REMOTE;
    const float sp = SPDC.RMT_SPD_KW_SW_A_SW;
    c.MATCH_WINDOW_MULTIPLY = sp * c.MATCH_WINDOW_IN_2;
    c.HI_MATCH_ADD = sp + c.MATCH_WINDOW_MULTIPLY;
    c.LO_MATCH_SUBTRACT = sp - c.MATCH_WINDOW_MULTIPLY;
    const float ref = SPDC.SPEED_REF_RAMP;
    bk::A_COMPARE(c.MATCH_HI_A_COMPARE, c.MATCH_HI_A_EQUAL, c.HI_MATCH_ADD, ref);
    bk::A_COMPARE(c.MATCH_LO_A_COMPARE, c.MATCH_LO_A_EQUAL, ref, c.LO_MATCH_SUBTRACT);
}

}  // namespace r80

namespace r160 {
void REMOTE_rate() { REMOTE.RMT_RATE_A_NAME = CNFG_SETPT.RMT_SPD_SP_MAX_RT_A_NAME; }
}  // namespace r160
