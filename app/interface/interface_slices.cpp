#include "app/interface/interface_slices.h"

#include "app/interface/DATALOG.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/CRIT_SPD.cells.h"

void _R40_TASK_4() {
    r40::CRIT_SPD_reference_band();
    r40::SPDC_ramp();
    r40::DATALOG_start_request();
    r40::HP_LIMTER_lag();
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
}
