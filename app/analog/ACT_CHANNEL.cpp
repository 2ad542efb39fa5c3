// The actuator channel template, instance _ub5: the sampled function, range
// and currents, texts, commands and force setpoint (160 ms), and the
// readout scaling, demand selection, force transfer and shutdown that feed
// the driver stage (10 ms).
#include "app/analog/ACT_CHANNEL.cells.h"

#include <cmath>

#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/force_commands.h"
#include "app/analog/force_transfer.h"
#include "app/analog/signal_select.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_WIZ.cells.h"
#include "app/discrete/DRVR_SCALE.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/channel_config.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

constexpr int32_t kFunctionLimit = 9999999;
constexpr int32_t kReadout = 4;
constexpr int32_t kWizardFunction = 2;
// The force setpoint (percent of stroke) starts closed.
constexpr float kForceStart = 0.0f;

struct ACT_CHANNEL_blocks {
    bk::SampState act_function, act_range_sel, act_min_val, act_max_val, entr_setpt;
    bk::SampState ro_function, min, max;
    bk::OneShotState goto_os;
    ForceCommandState force_cmds;
    uint32_t force_en_prev;
    ForceTransferState force;
};
BlockRam<ACT_CHANNEL_blocks> ACT_CHANNEL_st;

}  // namespace

void ACT_CHANNEL_init_blks() { service_commands_init(ACT_CHANNEL_st.force_cmds, kForceStart); }

void ACT_CHANNEL_command_written(int n, uint32_t value) {
    service_command_written(ACT_CHANNEL_st.force_cmds, n, value);
}

namespace r160 {

void ACT_CHANNEL_config() {
    auto& c = _ub5;
    ACT_CHANNEL_blocks& v = ACT_CHANNEL_st;

    // 1. Function.
    c.CNFG_ENBL_B_NAME = MASTER.IO_LOCK_OR_PWR_B_NAME;
    c.WIZ_ENA_B_NAME = CNFG_WIZ.WIZARD_B_NAME;
    c.FUNCT_I_NAME = c.FUNCT_IN;
    c.WIZ_FUNCT_I_NAME = kWizardFunction;
    CNFG_ACT.WIZFUN_ACT1_I_NAME = kWizardFunction;
    CNFG_ACT.RO_WIZFUN_ACT1_I_NAME = kWizardFunction;
    c.ACT_SW_I_SW = bk::SW<int32_t>(c.WIZ_ENA_B_NAME, c.FUNCT_I_NAME, c.WIZ_FUNCT_I_NAME);
    c.SAMPLE_PULSE_B_NAME = CALMODE.CFG_SAMPL_OK_B_NAME;
    chan::sample<int32_t>(c.CNFG_ENBL_B_NAME == 1, v.act_function, CHANNEL_SAMPLED_ITUNE(c, ACT_FUNCTION),
                          c.ACT_SW_I_SW, c.SAMPLE_PULSE_B_NAME, {-kFunctionLimit, kFunctionLimit, 1, 1, 4});
    c.FUNCT_INT_I_NAME = c.ACT_FUNCTION_SAMP_ITUNE;

    // 2. Readout or not, and the function text.
    bk::I_COMPARE(c.RO_CNFG_EQ, c.RO_CNFG_LT, c.RO_CNFG_GT, c.FUNCT_INT_I_NAME, kReadout);
    c.ACT_IS_RO_B_NAME = c.RO_CNFG_EQ;
    c.RO_NOT_NOT = bk::NOT(c.ACT_IS_RO_B_NAME);
    bk::I_TO_STR(c.ACT_FUNC_SEL_STRG_I_TO_STR, c.FUNCT_INT_I_NAME,
                 {{2, "HP Demand"}, {3, "HP2 Demand (Split Valve)"}, {4, "Readout"}}, "Not Used");
    c.FUNCT_STRG_S_NAME = c.ACT_FUNC_SEL_STRG_I_TO_STR;
    const bool readout = c.ACT_IS_RO_B_NAME == 1;

    // 3. Calibration and configuration gates.
    c.CAL_ENBL_B_NAME = CALMODE.CALMODE_B_NAME;
    c.CAL_OR_CNFG_OR = bk::OR({c.CAL_ENBL_B_NAME, c.CNFG_ENBL_B_NAME});
    c.CAL_SMPL_PULSE_B_NAME = CALMODE.CAL_SAMPL_OK_B_NAME;
    c.CAL_OR_CNFG_PLS_OR = bk::OR({c.CAL_SMPL_PULSE_B_NAME, c.SAMPLE_PULSE_B_NAME});

    // 4. Range: a readout always uses the low range.
    c.RNG_TO_CNFG_I_SUBTRACT = bk::I_SUBTRACT(c.HW_RANGE_IN, 1);
    c.RO_RNG_SW_I_SW = readout ? 0 : static_cast<int32_t>(c.RNG_TO_CNFG_I_SUBTRACT);
    const int32_t wanted = c.RO_RNG_SW_I_SW < 0 ? 0 : (c.RO_RNG_SW_I_SW > 0 ? 1 : 0);
    chan::sample<int32_t>(c.CNFG_ENBL_B_NAME == 1, v.act_range_sel, CHANNEL_SAMPLED_ITUNE(c, ACT_RANGE_SEL), wanted,
                          c.SAMPLE_PULSE_B_NAME, {0, 1, 0, 0, 1});
    c.RANGE_I_NAME = c.ACT_RANGE_SEL_SAMP_ITUNE;

    // 5, 6. The currents of 0 % and 100 % of the range in use.
    bk::I_COMPARE(c.ACT_CNFG_200_EQ, c.ACT_CNFG_200_LT, c.ACT_CNFG_200_GT, c.RANGE_I_NAME, 1);
    c.MIN_MA_A_SW = bk::SW<float>(c.ACT_CNFG_200_EQ, c.MA_AT_0_RNG0_IN, c.MA_AT_0_RNG1_IN);
    c.MAX_MA_A_SW = bk::SW<float>(c.ACT_CNFG_200_EQ, c.MA_AT_100_RNG0_IN, c.MA_AT_100_RNG1_IN);
    constexpr chan::SampleBounds<float> kCurrent{-220.0f, 220.0f, 0, -210.0f, 210.0f};
    chan::sample<float>(c.CAL_OR_CNFG_OR == 1, v.act_min_val, CHANNEL_SAMPLED_TUNE(c, ACT_MIN_VAL), c.MIN_MA_A_SW,
                        c.CAL_OR_CNFG_PLS_OR, kCurrent);
    chan::sample<float>(c.CAL_OR_CNFG_OR == 1, v.act_max_val, CHANNEL_SAMPLED_TUNE(c, ACT_MAX_VAL), c.MAX_MA_A_SW,
                        c.CAL_OR_CNFG_PLS_OR, kCurrent);

    // 7. A readout spans 4 .. 20 mA.
    c.RO_MIN_A_SW = readout ? 4.0f : static_cast<float>(c.ACT_MIN_VAL_SAMP_TUNE);
    c.RO_MAX_A_SW = readout ? 20.0f : static_cast<float>(c.ACT_MAX_VAL_SAMP_TUNE);
    c.MA_0_A_NAME = c.RO_MIN_A_SW;
    c.MA_100_A_NAME = c.RO_MAX_A_SW;

    // 8. Scale check, gain, offset in percent.
    CNFG_ACT_scaling();

    // 9. Forcing (stroking) with the command machinery of the output
    // channels; enabling resets the go-to position.
    c.FORCE_EN_B_NAME = HP_DRIVER.STRK_LTCH_LATCH_R;
    c.FORCE_FINH_B_NAME = CALMODE.NOTCALMODE_B_NAME;
    c.CNFG_AS_ACT_AND = bk::AND({c.RO_NOT_NOT, c.FORCE_EN_B_NAME});
    c.FORCE_RATE_A_NAME = CNFG_ACT.ACT_FRC_RATE_A_NAME;
    if (c.FORCE_EN_B_NAME == 1 && v.force_en_prev == 0) c.ENTR_SETPT_TUNE = 0.0f;
    v.force_en_prev = c.FORCE_EN_B_NAME;
    service_commands(c, v.force_cmds);
    chan::sample<float>(true, v.entr_setpt, CHANNEL_SAMPLED_TUNE(c, ENTR_SETPT), c.ENTR_SETPT_TUNE, 0,
                        {0.0f, 100.0f, c.ENTR_SETPT_ENBL_ENTER, bk::kRealLoLim, bk::kRealHiLim});
    bk::ONE_SHOT(v.goto_os, c.GOTO_OS_ONE_SHOT, &static_cast<int32_t&>(c.GOTO_OS_R_TIME), c.COMMANDS_OUT_5,
                 c.GOTO_OS_DLY_TIME, bk::T160);
    if (c.GOTO_OS_ONE_SHOT != 0) c.ENTR_SETPT_A_SW_A_SW = c.ENTR_SETPT_SAMP_TUNE;
    force_setpoint(c, v.force_cmds, c.FORCE_EN_B_NAME, 0.0f, 100.0f, c.GOTO_OS_ONE_SHOT, c.ENTR_SETPT_A_SW_A_SW,
                   c.FORCE_RATE_A_NAME);

    // 10. Texts and the values the 10 ms piece samples.
    c.ACT_TAG_S_NAME = c.ACT_TAG_IN;
    c.ENG_UNITS_S_NAME = c.ENG_UNITS_IN;
    c.ENG_UNITS_SW_S_SW = readout ? c.ENG_UNITS_S_NAME : c.ENG_UNITS_SW_NC;
    c.RO_STRING_S_NAME = c.ACT_RO_FUNCT_STRG_I_TO_STR;
    c.RO_HI_A_NAME = c.RO_HI_IN;
    c.RO_LOW_A_NAME = c.RO_LOW_IN;
    c.RO_RDBK_FLT_EN_B_NAME = c.RO_RDBK_FLT_EN_IN;
    c.RO_FUNCT_I_NAME = c.RO_FUNCT_IN;
    c.WIZ_RO_FUNCT_I_NAME = CNFG_ACT.RO_WIZFUN_ACT1_I_NAME;
    c.ACT_DITHER_A_NAME = c.ACT_DITHER_IN;
}

}  // namespace r160

namespace r10 {

void ACT_CHANNEL_demand() {
    auto& c = _ub5;
    ACT_CHANNEL_blocks& v = ACT_CHANNEL_st;

    // 1. Force setpoint and the demands of the speed-control chain.
    c.FORCE_SP_A_NAME = c.FORCE_SETPT_RAMP;
    c.HP_DMD_A_NAME = DRVR_SCALE.TO_HP_DMD_A_SW;
    IFACE_OUT_VLV.HP_DMD_A_NAME = c.HP_DMD_A_NAME;
    c.HP2_DMD_A_NAME = 0.0f;

    // 2. Readout function and its signal from the output selection list.
    AO_MUX_signals();
    c.RO_SW_I_SW = bk::SW<int32_t>(c.WIZ_ENA_B_NAME, c.RO_FUNCT_I_NAME, c.WIZ_RO_FUNCT_I_NAME);
    chan::sample<int32_t>(c.CNFG_ENBL_B_NAME == 1, v.ro_function, CHANNEL_SAMPLED_ITUNE(c, RO_FUNCTION), c.RO_SW_I_SW,
                          c.SAMPLE_PULSE_B_NAME, {-kFunctionLimit, kFunctionLimit, 1, 1, 42});
    select_signal(c.SEL_A_MUX_N_1, c.RO_FUNCTION_SAMP_ITUNE, AO_MUX, true);

    // 3. Readout range and the readout in percent.
    chan::sample<float>(c.CNFG_ENBL_B_NAME == 1, v.min, CHANNEL_SAMPLED_TUNE(c, MIN), c.RO_LOW_A_NAME,
                        c.SAMPLE_PULSE_B_NAME, chan::kRealRange);
    chan::sample<float>(c.CNFG_ENBL_B_NAME == 1, v.max, CHANNEL_SAMPLED_TUNE(c, MAX), c.RO_HI_A_NAME,
                        c.SAMPLE_PULSE_B_NAME, chan::kRealRange);
    const float pct = (static_cast<float>(c.SEL_A_MUX_N_1) - c.MIN_SAMP_TUNE) /
                      (static_cast<float>(c.MAX_SAMP_TUNE) - c.MIN_SAMP_TUNE) * 100.0f;
    c.OUTPUT_CALCULATE = std::isfinite(pct) ? pct : 0.0f;
    c.OUTPUT_ALM = 0;

    // 4. The demand of the channel's function.
    bk::MUX<float>(c.ACT1_MUX_A_MUX_N_1, c.ACT_FUNCTION_SAMP_ITUNE,
                   {0.0f, c.HP_DMD_A_NAME, c.HP2_DMD_A_NAME, c.OUTPUT_CALCULATE});

    // 5, 6. Force transfer: the return from a force moves at the force rate
    // (percent per second) per 10 ms pass.
    const bool as_actuator = c.CNFG_AS_ACT_AND == 1;
    c.FRC_LIN_NC = as_actuator ? static_cast<float>(c.FORCE_SP_A_NAME) : static_cast<float>(c.ACT1_MUX_A_MUX_N_1);
    c.FRC_LIN_NO = as_actuator ? static_cast<float>(c.ACT1_MUX_A_MUX_N_1) : static_cast<float>(c.FORCE_SP_A_NAME);
    const bool forcing = c.FORCE_EN_B_NAME == 1 && c.FORCE_FINH_B_NAME == 0;
    c.ACT_FORCE_AO_FORCE =
        force_transfer(v.force, c.ACT_FORCE_FRC, forcing, c.FRC_LIN_NO, c.FRC_LIN_NC, 0.01f * c.ACT_FORCE_RATE);
    c.DEMAND_A_NAME = c.ACT_FORCE_AO_FORCE;
}

// 8. Shutdown of the driver, from the shutdown request of this pass.
void ACT_CHANNEL_shutdown() {
    auto& c = _ub5;
    c.HP_SD_B_NAME = CNFG_ACT.SELFPWR_SW_B_SW;
    c.HP2_SD_B_NAME = 0;
    bk::MUX<uint32_t>(c.SD_SW_B_MUX_N_1, c.ACT_FUNCTION_SAMP_ITUNE, {1u, c.HP_SD_B_NAME, 0u, 0u});
    c.SD_B_NAME = c.SD_SW_B_MUX_N_1;
}

// The name of the readout function in use, with the speed control's status
// texts of the tenth slice.
void ACT_CHANNEL_readout_name() {
    auto& c = _ub5;
    bk::I_TO_STR(c.ACT_RO_FUNCT_STRG_I_TO_STR, c.RO_FUNCTION_SAMP_ITUNE,
                 {{1, "--- Not Used ---"},
                  {2, "Actual Shaft Speed"},
                  {3, "Speed Reference Setpoint"},
                  {4, "Remote Speed Setpoint"},
                  {5, "Load Share Input"},
                  {6, "Synchronizing Input"},
                  {7, "Generator Load"},
                  {8, "Cascade Input Signal"},
                  {9, "Cascade Setpoint"},
                  {10, "Remote Cascade Setpoint"},
                  {11, "Auxiliary Input Signal"},
                  {12, "Auxiliary Setpoint"},
                  {13, "Remote Auxiliary Setpoint"},
                  {14, "Auxiliary 2 Input Signal"},
                  {15, "Auxiliary 2 Setpoint"},
                  {16, "Remote Auxiliary 2 Setpoint"},
                  {17, "Valve Limiter Setpoint"},
                  {18, "LSS Value"},
                  {19, "HP Valve Demand"},
                  {20, "HP2 Valve Demand"},
                  {21, "Inlet Pressure Input"},
                  {22, "I/H Actuator 1 Feedback Readout"},
                  {23, "I/H Actuator 2 Feedback Readout"},
                  {24, "Isolated PID Dmd Output"},
                  {25, "Isolated PID PV Input Signal"},
                  {26, "Isolated PID Setpoint"},
                  {27, "Remote Isolated PID Setpoint"},
                  {28, "Remote Load Setpoint"},
                  {29, "Exhaust Pressure Input"},
                  {30, "HP Valve Feedback Position"},
                  {31, "HP2 Valve Feedback Position"},
                  {32, "Signal Monitoring #1"},
                  {33, "Signal Monitoring #2"},
                  {34, "Signal Monitoring #3"},
                  {35, "Start Temperature 1"},
                  {36, "Start Temperature 2"},
                  {37, "Spare 37"},
                  {38, "Spare 38"},
                  {39, "Spare 39"},
                  {40, "Spare 40"},
                  {41, "Spare 41"},
                  {42, "Spare 42"}},
                 "Not Used");
}

}  // namespace r10
