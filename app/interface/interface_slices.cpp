#include "app/interface/interface_slices.h"

#include "app/interface/DATALOG.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"

void _R40_TASK_4() {
    r40::SPDC_ramp();
    r40::DATALOG_start_request();
    r40::IFACE_IN_commands_40();
}

void _R160_TASK_29() {
    // also: COND_MON counters (not built yet)
    r160::DATALOG_load_levels();
}

void _R160_TASK_31() {
    // also: COND_MON run hours (not built yet)
    r160::DATALOG_start();
}

void _R160_TASK_34() {
    r160::DATALOG_counter();
}

void _R160_TASK_35() {
    r160::DATALOG_requests();
    r160::IFACE_IN_settings();
}

void _R160_TASK_39() { r160::IFACE_IN_VLV_limiter_text(); }
