#include "app/interface/interface_slices.h"

#include "app/interface/DATALOG.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/interface/CNFG_COMMS.cells.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "app/interface/CNFG_SNTP.cells.h"
#include "app/interface/C_COMM.cells.h"

void _R40_TASK_4() {
    r40::SPDC_ramp();
    r40::DATALOG_start_request();
}

void _R160_TASK_28() {
    // also: the remote speed setpoint limits and driver checks (not built yet)
    r160::CNFG_ENET1_lists();
    r160::CNFG_COMMS_ports();
}

void _R160_TASK_29() {
    r160::CNFG_ENET1_mask_tail();
    r160::CNFG_SNTP_server();
    // also: COND_MON counters (not built yet)
    r160::DATALOG_load_levels();
}

void _R160_TASK_31() {
    // also: COND_MON run hours (not built yet)
    r160::DATALOG_start();
}

void _R160_TASK_34() {
    r160::C_COMM_copy();
    r160::DATALOG_counter();
}

void _R160_TASK_35() {
    r160::DATALOG_requests();
}
