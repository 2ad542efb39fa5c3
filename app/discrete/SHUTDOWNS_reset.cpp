// SHUTDOWNS at 20 ms: the reset of the delayed shutdown action. A reset
// command counts only when it does not coincide with the shutdown one-shot.
#include "app/control/RESET.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/blockkinds.h"

namespace r20 {

void SHUTDOWNS_delayed_reset() {
    auto& c = SHUTDOWNS;
    refbk::ACTION_OUT(c.DLY_SDREAC_ACT_OUT, c.DLY_SDREAC_E_TIME, c.DLY_SDREAC_R_TIME, 1);
    c.DLY_SDREAC_B_ACTION = bk::AND({RESET.RESET_B_NAME, bk::NOT(c.SD_SHOOT_ONE_SHOT)});
}

}  // namespace r20
