// Slices that hold only pieces of the valve limiter, the critical band, the
// configuration-error list and the control status.
#include "app/control/CONF_LATCH.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/CONT_MESS.cells.h"
#include "app/control/CRIT_SPD.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/MOD_SPD_SP.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/START.cells.h"
#include "app/control/control_slices.h"
#include "app/interface/CUST_TREND.cells.h"
#include "app/interface/OPC_DATA.cells.h"

void _R160_TASK_46() {
    using namespace r160;
    MPU_speed_monitor();
    MPU_OVRD_overrides();
    OPC_DATA_items();
    OPC_DATA_write_enable();
    OPC_SPD_SP_requests();
}

void _R160_TASK_33() {
    using namespace r160;
    MPU_min_speed_check();
    CONF_LATCH_list();
    CONF_VAL_flags();
    START_mode_flags();
    CONT_MESS_message();
    START_min_gov();
    CRIT_SPD_dwell();
    CUST_TREND_positions();
}
