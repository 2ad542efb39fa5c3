// The slices of the I/O configuration and checks: each lists its module
// pieces in the order they compute. The channels' own configuration parts
// (app/analog, app/discrete) read the window and pulses of _R160_TASK_7.
#include "app/config/config_slices.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CHECK.cells.h"
#include "app/config/CNFG_CHECK_AI.cells.h"
#include "app/config/CNFG_CHECK_AO.cells.h"
#include "app/config/CNFG_CHECK_BI.cells.h"
#include "app/config/CNFG_CHECK_BO.cells.h"
#include "app/config/CNFG_CHECK_VL.cells.h"
#include "app/config/CNFG_DUP_CHK_BI.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/ACCEL.cells.h"
#include "app/control/AUTO_ENBL.cells.h"
#include "app/control/AUTO_SEQ.cells.h"
#include "app/control/RCLTR.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/BI_MUX.cells.h"

// The configuration window, the sample pulses, the remote nodes' gates,
// the acceleration hold's reset.
void _R160_TASK_7() {
    using namespace r160;
    MASTER_config_window();
    CALMODE_sample_pulses();
    CNFG_CAN2_config_gates();
    CNFG_CAN2_timers();
    ACCEL_reset_hold();
}
// The analog inputs' routing blocks, then their named copies.
void _R160_TASK_8() { r160::AI_MUX_routing(); }
void _R160_TASK_9() { r160::AI_MUX_named_copies(); }
// The discrete inputs' use blocks and trip numbers, the cascade-in-control
// flags, the configured halt at idle and the sequence's blink request.
void _R160_TASK_12() {
    using namespace r160;
    BI_MUX_routing();
    RCLTR_cascade();
    AUTO_ENBL_halt();
    AUTO_SEQ_blink();
}
// The speed-setting checks and the feature flags, then the speed
// reference's slow off-line rate and the fast-rate switches.
void _R160_TASK_20() {
    r160::CNFG_CHECK_speed_settings();
    r160::SPDC_slow_rates();
}
// The analog input and output function checks, then the speed
// reference's rated target.
void _R160_TASK_21() {
    using namespace r160;
    CNFG_CHECK_BI_wizard();
    CNFG_CHECK_AI_functions();
    CNFG_CHECK_AO_functions();
    SPDC_rated_target();
}
// The discrete input function checks.
void _R160_TASK_22() { r160::CNFG_CHECK_BI_functions(); }
// The analog inputs' duplicate check.
void _R160_TASK_23() {
    using namespace r160;
    CNFG_CHECK_VL_analog();
    CNFG_CHECK_AI_duplicates();
}
// The discrete inputs' duplicate check.
void _R160_TASK_25() {
    using namespace r160;
    CNFG_CHECK_VL_discrete();
    CNFG_DUP_CHK_BI_duplicates();
}
// The relay function checks.
void _R160_TASK_26() { r160::CNFG_CHECK_BO_functions(); }
