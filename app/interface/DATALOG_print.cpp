// DATALOG at 10 ms: the speed the log records and the print pulse. The pulse
// starts when the data-log writer begins a print and lasts PRT_OS.DLY_TIME;
// the 160 ms control counts files and restarts collection on it.
#include "app/control/MPU.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct DATALOG_print_blocks {
    bk::OneShotState PRT_OS;
};
BlockRam<DATALOG_print_blocks> DATALOG_print_st;
}  // namespace

namespace r10 {

void DATALOG_print_pulse() {
    auto& d = DATALOG;
    d.SPEED_A_NAME = MPU.TURB_SPD_A_NAME;
    bk::ONE_SHOT(DATALOG_print_st.PRT_OS, d.PRT_OS_ONE_SHOT, &d.PRT_OS_R_TIME.ref(), d.TREND_DLOG_PRINTING,
                 d.PRT_OS_DLY_TIME, bk::T10);
}

}  // namespace r10
