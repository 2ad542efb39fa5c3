// SPEED_SIM at 160 ms: the configuration numbers of the chassis analog
// inputs and outputs that the turbine simulator receives, and the simulated
// load.
#include "app/control/SPEED_SIM.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/control/SIM.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void SPEED_SIM_config() {
    SPEED_SIM.AI_KW_TO_MW_DIVIDE = _ub8.MAX_SAMP_TUNE / 1000.0f;
    SPEED_SIM.ANIN_CNFIG_OUT_1 = bk::int_to_real(_ub6.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.ANIN_CNFIG_OUT_2 = bk::int_to_real(_ub7.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.ANIN_CNFIG_OUT_3 = bk::int_to_real(_ub8.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.ANIN_CNFIG_OUT_4 = bk::int_to_real(_ub9.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.RO_CONFIG_OUT_1 = bk::int_to_real(_ub10.FUNCT_INT_I_NAME);
    SPEED_SIM.RO_CONFIG_OUT_2 = bk::int_to_real(_ub11.FUNCT_INT_I_NAME);
    SPEED_SIM.RO_CONFIG_OUT_3 = bk::int_to_real(_ub12.FUNCT_INT_I_NAME);
    SPEED_SIM.LOAD_MW_A_SW = bk::SW<float>(SIM.GEN_UNIT_B_NAME, SPEED_SIM.LOAD_MW_NC, SPEED_SIM.LOAD_MW_NO);
}

}  // namespace r160

// SPEED_SIM at 80 ms: the internal speed simulation is switched on by the
// service tool's command only while the unit is shut down and a local user
// of configure level or higher is logged in; the off command, a reset
// setting, discrete input 3 or a real speed of 1 rpm switch it off.
#include "app/control/MPU.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/timed_inputs.h"
#include "runtime/appmem.h"

namespace {
constexpr float kRealSpeed = 1.0f;
TimedInputs<4> INTERNAL_SIM{1.0f};
}  // namespace

void SPEED_SIM_init_blks() { INTERNAL_SIM.init(); }

void SPEED_SIM_internal_sim_written(int n, uint32_t value) { INTERNAL_SIM.written(n, value); }

namespace r80 {

void SPEED_SIM_internal_sim() {
    auto& c = SPEED_SIM;
    INTERNAL_SIM.pass({{c.INTERNAL_SIM_IN_1, c.INTERNAL_SIM_OUT_1},
                       {c.INTERNAL_SIM_IN_2, c.INTERNAL_SIM_OUT_2},
                       {c.INTERNAL_SIM_IN_3, c.INTERNAL_SIM_OUT_3},
                       {c.INTERNAL_SIM_IN_4, c.INTERNAL_SIM_OUT_4}},
                      bk::T80);
}

void SPEED_SIM_enable() {
    auto& c = SPEED_SIM;
    c.ENA_SW_SIM_AND = bk::AND({SHUTDOWNS.ANY_SD_B_NAME, IFACE_MODE.CNFG_OR_ABOV_OR, c.INTERNAL_SIM_OUT_1});
    const float tss1 = MPU.TSS_01_A_SW, selected = MPU.SPEED_SW_A_SW;
    c.REAL_SPD_A_MAX = tss1 > selected ? tss1 : selected;
    bk::A_COMPARE(c.SPD_GT_1_A_COMPARE, c.SPD_GT_1_A_EQUAL, c.REAL_SPD_A_MAX, kRealSpeed);
    // Stored action: the resets take precedence over the request.
    if (bk::OR({c.INTERNAL_SIM_OUT_2, c.ENA_SIM_RST_2, CNFG_BI.BI_03_ZARN_BI_ZARN, c.SPD_GT_1_A_COMPARE}) != 0)
        c.ENA_SIM_B_ACTION = 0;
    else if (c.ENA_SW_SIM_AND != 0)
        c.ENA_SIM_B_ACTION = 1;
    c.ENA__SIM_B_NAME = c.ENA_SIM_B_ACTION;
    refbk::ACTION_OUT(c.ENA_SIM_ACT_OUT, c.ENA_SIM_E_TIME, c.ENA_SIM_R_TIME, 2);
}

void SPEED_SIM_actuator_mode() {
    auto& c = SPEED_SIM;
    c.DIS_ACT_MA_AND = bk::AND({c.ENA_SIM_B_ACTION, c.DIS_ACT_MA_IN_2});
    c.SIM_MODE_ACTS_B_NAME = c.DIS_ACT_MA_AND;
    c.ACTFLTS_DIS_NOT = bk::NOT(c.DIS_ACT_MA_AND);
}

}  // namespace r80
