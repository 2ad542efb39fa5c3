// CRIT_SPD at 10 ms: the turbine speed inside the first critical band while
// running.
#include "app/control/CRIT_SPD.cells.h"

#include "app/control/IFACE_IN_START.cells.h"
#include "app/discrete/standin/discrete_standin.cells.h"
#include "app/control/START.cells.h"
#include "runtime/blockkinds.h"

namespace r10 {

void CRIT_SPD_band() {
    const float T = IFACE_IN_START.TURB_SPEED_A_NAME;
    // At or below the band's top (A_COMPARE is IN_1 >= IN_2).
    bk::A_COMPARE(CRIT_SPD.SPD_MAX1_A_COMPARE, CRIT_SPD.SPD_MAX1_A_EQUAL, CRIT_SPD.SET_HIGH1_SUB_SUBTRACT, T);
    bk::A_COMPARE(CRIT_SPD.SPD_MIN1_A_COMPARE, CRIT_SPD.SPD_MIN1_A_EQUAL, T, IFACE_IN_START.SET_LOW1_A_NAME);
    CRIT_SPD.CRIT_PROB1_AND = bk::AND({CRIT_SPD.SPD_MAX1_A_COMPARE, START.RUN_CMD_LATCH_R, CONF_VAL_1.CRIT_BAND1_B_NAME,
                                       CRIT_SPD.CRIT_PROB1_IN_4, CRIT_SPD.SPD_MIN1_A_COMPARE});
    CRIT_SPD.CRIT_OR = bk::OR({CRIT_SPD.CRIT_PROB1_AND, CRIT_SPD.CRIT_BAND_OR});
}

}  // namespace r10
