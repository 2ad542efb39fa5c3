// The 80 ms start-up pulses: one per remote node that restarts its
// configuration, the long network reset once all nodes are powered up, the
// Ethernet apply pulses (CNFG_ENET1) and the power-up delay and reset pulse.
#include "app/config/CNFG_CAN2.cells.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/interface/VLTR_ALMS.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/GOTO_MIN.cells.h"
#include "app/control/IDLE_RATE.cells.h"
#include "app/control/control_slices.h"
#include "app/interface/COND_MON.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/remote_io/remote_io.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

constexpr float kNodePulse = 1.0f;

struct CNFG_CAN2_pulse_blocks {
    bk::OneShotState VL1_INIT_OS, VL3_INIT_OS, VL4_INIT_OS, VL5_INIT_OS, RST_CAN2, PWR_UP_RST;
    bk::DelayState PWR_UP_DLY;
};
BlockRam<CNFG_CAN2_pulse_blocks> CNFG_CAN2_pulse_st;

}  // namespace

namespace r80 {

void CNFG_CAN2_start_pulses() {
    auto& st = CNFG_CAN2_pulse_st;
    auto& c = CNFG_CAN2;
    bk::ONE_SHOT(st.VL1_INIT_OS, c.VL1_INIT_OS_ONE_SHOT, &c.VL1_INIT_OS_R_TIME.ref(), c.VL1_INIT_OR, kNodePulse,
                 bk::T80);
    c.VL3_INIT_OR = bk::OR({c.INIT_NODES_OUT_3, c.INIT_ALL_B_NAME, c.VL3_INIT_IN_3});
    bk::ONE_SHOT(st.VL3_INIT_OS, c.VL3_INIT_OS_ONE_SHOT, &c.VL3_INIT_OS_R_TIME.ref(), c.VL3_INIT_OR, kNodePulse,
                 bk::T80);
    c.VL4_INIT_OR = bk::OR({c.INIT_NODES_OUT_4, c.INIT_ALL_B_NAME, c.VL4_INIT_IN_3});
    bk::ONE_SHOT(st.VL4_INIT_OS, c.VL4_INIT_OS_ONE_SHOT, &c.VL4_INIT_OS_R_TIME.ref(), c.VL4_INIT_OR, kNodePulse,
                 bk::T80);
    c.VL5_INIT_OR = bk::OR({c.INIT_NODES_OUT_5, c.INIT_ALL_B_NAME, c.VL5_INIT_IN_3});
    bk::ONE_SHOT(st.VL5_INIT_OS, c.VL5_INIT_OS_ONE_SHOT, &c.VL5_INIT_OS_R_TIME.ref(), c.VL5_INIT_OR, kNodePulse,
                 bk::T80);
    bk::ONE_SHOT(st.RST_CAN2, c.RST_CAN2_ONE_SHOT, &c.RST_CAN2_R_TIME.ref(), c.ALL_PWRUP_AND, c.RST_CAN2_DLY_TIME,
                 bk::T80);
    c.USE_VL_B_NAME = c.USE_VL_IN;
}

void PWR_UP_MSG_pulses() {
    auto& st = CNFG_CAN2_pulse_st;
    auto& p = PWR_UP_MSG;
    bk::DELAY(st.PWR_UP_DLY, p.PWR_UP_DLY_DELAY, &p.PWR_UP_DLY_R_TIME.ref(), 1u, p.PWR_UP_DLY_DLY_TIME, 0.0f, bk::T80);
    bk::ONE_SHOT(st.PWR_UP_RST, p.PWR_UP_RST_ONE_SHOT, &p.PWR_UP_RST_R_TIME.ref(), p.PWR_UP_DLY_DELAY,
                 p.PWR_UP_RST_DLY_TIME, bk::T80);
    CNFG_ENET1.INIT_ENET1_AND = bk::AND({p.PWR_UP_RST_ONE_SHOT, CNFG_ENET1.INIT_ENET1_IN_2});
}

}  // namespace r80

// Slice 12 of the 80 ms group: the remote-node alarm summary (after the RTD
// channels and their levels), then the maximum-governor check, the trip
// alarm, the remote enables, the Modbus trip command and link reset.
void _R80_TASK_12() {
    using namespace r80;
    VLTR_ALMS_summary();
    SPDC_max_gov_check();
    ALM_LOGIC_trip_alarm();
    RMT_ENBL_enable_pulse();
    RMT_CAS_EN_enable();
    MOD_BW_trip_command();
    MOD_LNK_STAT_reset();
}

// Slice 18 of the 80 ms group: the start-up pulses, after the node
// initialisation requests and the power-up flag of slice 17, then the
// speed-sensor, stop, condition-log, data-log, go-to-minimum, valve and
// idle/rated pieces that read what slices 13 to 17 computed in this pass.
void _R80_TASK_18() {
    using namespace r80;
    CNFG_CAN2_start_pulses();
    CNFG_ENET1_gateway();
    PWR_UP_MSG_pulses();
    CNFG_ENET1_address();
    CNFG_SPEED_open_wire();
    CNTRL_STOP_complete();
    COND_MON_nv_snapshot();
    DATALOG_commission_time();
    DATALOG_commands();
    SPDC_mingo();
    GOTO_MIN_second_start();
    HP_DRIVER_stroke();
    HP_LIMTER_service_disable();
    HP_MAN_ENBL_start_complete();
    IDLE_RATE_enable();
}
