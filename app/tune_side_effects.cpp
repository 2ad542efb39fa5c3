// The service-write side effects of the cells declared with access 'S': the
// momentary command inputs of the output channels' command blocks, the
// display's heartbeat input, the lamp tests, the master commands and the
// simulator commands, the timed commands of the operator interface and the
// lag time of the speed monitor.
#include "runtime/tune_side_effects.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CASC_R_L.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/RMT_CAS.cells.h"
#include "app/control/SPD_SETPT.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/analog/TUTORIAL.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "host/vxworks.h"

namespace {

// Which command input (1 .. 5) of a channel's command block the cell is; 0
// for none.
template <class C>
int command_input(const C& c, const void* cell) {
    const void* inputs[5] = {&c.COMMANDS_IN_1.ref(), &c.COMMANDS_IN_2.ref(), &c.COMMANDS_IN_3.ref(),
                             &c.COMMANDS_IN_4.ref(), &c.COMMANDS_IN_5.ref()};
    for (int n = 1; n <= 5; ++n)
        if (inputs[n - 1] == cell) return n;
    return 0;
}

// Which of the listed inputs (1 ..) the cell is; 0 for none.
int input_number(const void* cell, std::initializer_list<const void*> inputs) {
    int n = 0;
    for (const void* in : inputs) {
        ++n;
        if (in == cell) return n;
    }
    return 0;
}

}  // namespace

void special_case_tune(void* cell) {
    const int key = intLock();
    const uint32_t value = *static_cast<const uint32_t*>(cell) != 0 ? 1u : 0u;
    if (const int n = command_input(cells::_ub5, cell)) ACT_CHANNEL_command_written(n, value);
    if (const int n = command_input(cells::_ub10, cell)) AO_CHANNEL_command_written(0, n, value);
    if (const int n = command_input(cells::_ub11, cell)) AO_CHANNEL_command_written(1, n, value);
    if (const int n = command_input(cells::_ub12, cell)) AO_CHANNEL_command_written(2, n, value);
    if (const int n = command_input(cells::_ub41, cell)) AO_CHANNEL_command_written(3, n, value);
    if (const int n = command_input(cells::_ub42, cell)) AO_CHANNEL_command_written(4, n, value);
    IFACE_IN_command_written(cell, value);
    IFACE_IN_CASC_command_written(cell, value);
    IFACE_IN_HP_MAN_command_written(cell, value);
    CASC_R_L_command_written(cell, value);
    if (cell == &cells::IFACE_MODE.QT_OI_LOCAL_IN_1.ref()) IFACE_MODE_heartbeat_written(value);
    using cells::MASTER;
    using cells::SPEED_SIM;
    if (cell == &cells::ALARMS.LED_TEST_IN_1.ref()) ALARMS_led_test_written(value);
    if (cell == &cells::SHUTDOWNS.LED_TEST_IN_1.ref()) r160::SHUTDOWNS_led_test_written(value);
    if (const int n = input_number(cell, {&MASTER.COMMANDS_IN_1.ref(), &MASTER.COMMANDS_IN_2.ref(),
                                          &MASTER.COMMANDS_IN_3.ref(), &MASTER.COMMANDS_IN_4.ref(),
                                          &MASTER.COMMANDS_IN_5.ref(), &MASTER.COMMANDS_IN_6.ref()}))
        MASTER_command_written(n, value);
    if (const int n = input_number(cell, {&SPEED_SIM.INTERNAL_SIM_IN_1.ref(), &SPEED_SIM.INTERNAL_SIM_IN_2.ref(),
                                          &SPEED_SIM.INTERNAL_SIM_IN_3.ref(), &SPEED_SIM.INTERNAL_SIM_IN_4.ref()}))
        SPEED_SIM_internal_sim_written(n, value);
    const auto& e = cells::CNFG_ENET1;
    const void* confirms[3] = {&e.QT_CONFIRM_IP_IN_1.ref(), &e.QT_CONFIRM_IP_IN_2.ref(), &e.QT_CONFIRM_IP_IN_3.ref()};
    for (int k = 1; k <= 3; ++k)
        if (confirms[k - 1] == cell) CNFG_ENET1_confirm_written(k, value);
    if (cell == &cells::COND_MON.REWRITE_NV_CMD_IN_1.ref()) COND_MON_command_written(value);
    if (cell == &cells::HP_LIMTER.RAMP_LAG_LAG_TAU.ref()) HP_LIMTER_lag_time_written();
    if (cell == &cells::RMT_CAS.RMT_CASC_L_LAG_TAU.ref()) RMT_CAS_lag_time_written();
    if (cell == &cells::CASC_CTRL.CASC_LAG_LAG_TAU.ref()) CASC_CTRL_lag_time_written();
    if (cell == &cells::SPD_SETPT.SPD_TRK_LG_LAG_TAU.ref()) SPD_SETPT_lag_time_written();
    if (cell == &cells::MPU.SPD_MONTOR_LAG_TAU.ref()) MPU_lag_time_written();
    using cells::TUTORIAL;
    if (const int n = input_number(cell, {&TUTORIAL.SP_TUT_COMMANDS_IN_1.ref(), &TUTORIAL.SP_TUT_COMMANDS_IN_2.ref(),
                                          &TUTORIAL.SP_TUT_COMMANDS_IN_3.ref()}))
        TUTORIAL_command_written(n, value);
    const auto& n2 = cells::CNFG_CAN2;
    if (const int n = input_number(cell, {&n2.INIT_NODES_IN_1.ref(), &n2.INIT_NODES_IN_2.ref(), &n2.INIT_NODES_IN_3.ref(),
                                          &n2.INIT_NODES_IN_4.ref(), &n2.INIT_NODES_IN_5.ref()}))
        CNFG_CAN2_init_command_written(n, value);
    const auto& d = cells::DATALOG;
    if (const int n = input_number(cell, {&d.DLOG_CMDS_IN_1.ref(), &d.DLOG_CMDS_IN_2.ref(), &d.DLOG_CMDS_IN_3.ref(),
                                          &d.DLOG_CMDS_IN_4.ref(), &d.DLOG_CMDS_IN_5.ref(), &d.DLOG_CMDS_IN_6.ref()}))
        DATALOG_command_written(n, value);
    intUnlock(key);
}
