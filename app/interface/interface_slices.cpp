#include "app/interface/interface_slices.h"

#include "app/control/ORVEX12_IO.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/MOD_links.rows.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/control/SPDC.cells.h"

void _R80_TASK_1() {
    using namespace r80;
    ORVEX12_IO_keypad();
    MOD_BW_write_enable();
}

void _R80_TASK_2() {
    using namespace r80;
    MOD_BW_commands();
    OPC_DATA_commands();
    IFACE_MODE_local_level();
}

void _R80_TASK_22() {
    using namespace r80;
    ORVEX12_IO_activity();
    OPC_DATA_link();
}

void _R160_TASK_10() { r160::MOD_link_flags(); }

void _R40_TASK_4() {
    r40::SPDC_ramp();
    r40::DATALOG_start_request();
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
