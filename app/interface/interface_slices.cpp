#include "app/interface/interface_slices.h"

#include "app/interface/COND_MON.cells.h"
#include "app/interface/CUST_TREND.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/interface/MESSAGE.cells.h"
#include "app/interface/SYS_ID.cells.h"
#include "app/config/CNFG_CHECK_BO.cells.h"
#include "app/config/CNFG_DRIVER.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/config/RMT_SETPT.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/SPDC.cells.h"

void _R40_TASK_4() {
    r40::SPDC_ramp();
    r40::DATALOG_start_request();
    r40::CUST_TREND_values();
}

void _R160_TASK_28() {
    using namespace r160;
    CNFG_CHECK_BO_relay_errors();
    RMT_SETPT_limits();
    CNFG_CHECK_RMT_range();
    CNFG_DRIVER_options();
}

void _R160_TASK_29() {
    using namespace r160;
    DATALOG_load_levels();
    COND_MON_inputs();
    CNFG_OPERATE_options();
    CNFG_SPEED_difference();
    CNTRL_STOP_settings();
}

void _R160_TASK_30() { r160::COND_MON_counters(); }

void _R160_TASK_31() {
    r160::COND_MON_run_hours();
    r160::DATALOG_start();
}

void _R160_TASK_33() { r160::CUST_TREND_positions(); }

void _R160_TASK_34() {
    r160::CUST_TREND_ranges();
    r160::DATALOG_counter();
}

void _R160_TASK_35() {
    r160::DATALOG_requests();
}

void _R160_TASK_43() {
    using namespace r160;
    VLTR_VIB_count();
    SYS_ID_delay();
    MASTER_configure_mode();
    MESSAGE_texts();
}
