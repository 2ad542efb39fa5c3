// SERVICE: the run command as the service screen's start-entered flag.
#include "app/protection/SERVICE.cells.h"

#include "app/control/START.cells.h"
#include "app/control/ref_blocks.h"

namespace r80 {

void SERVICE_start_entered() {
    refbk::ACTION_OUT(SERVICE.IH_ENTER_ACT_OUT, SERVICE.IH_ENTER_E_TIME, SERVICE.IH_ENTER_R_TIME, 1);
    SERVICE.IH_ENTER_B_ACTION = START.RUN_CMD_LATCH_R;
}

}  // namespace r80
