// The relay output channel template: the sampled function and level-switch
// numbers, forcing with automatic release, the inversion latch and the texts
// of the configuration part (160 ms); the function selection, level switch,
// inversion, force override and output of the run part (10 ms controller,
// 40 ms remote). Computed inline once per instance over its own cells.
#include "app/discrete/RELAY_CHANNEL.cells.h"

#include <array>

#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_WIZ.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/channel_config.h"
#include "app/discrete/BO_MUX.cells.h"
#include "app/discrete/CNFG_BO.cells.h"
#include "app/discrete/VL5_BO.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/instance_table.h"
#include "runtime/rgtask.h"

namespace {

// Hidden state of one instance: the edge memories of the three sampled
// tunables, the forcing off-delay and the force-state reset pulse.
struct RelayVars {
    bk::SampState lvl_funct;
    bk::SampState function;
    bk::SampState force_protect;
    bk::DelayState disbl_dly;
    bk::OneShotState reset_state;
};
struct RELAY_CHANNEL_blocks {
    RelayVars ch[kRelayChannels];
};
BlockRam<RELAY_CHANNEL_blocks> RELAY_CHANNEL_st;

constexpr int32_t kRelayFunctions = 25;
constexpr int32_t kLevelSwitchValues = 12;
// A function number that puts the relay under manual control (forcing).
constexpr int32_t kManualControl = 48;

const char* const kFunctionTexts[kRelayFunctions] = {
    "--- Not Used ---",
    "Summary Shutdown",
    "Summary Alarm",
    "Reset Pulse (2 sec)",
    "Speed PID in Control",
    "Remote Speed Setpoint Enabled",
    "Remote Speed Setpoint Active",
    "Overspeed Trip",
    "Overspeed Test Enabled",
    "Underspeed Switch",
    "HP Valve Limiter in Control",
    "On-Line Speed PID Dynamics Mode",
    "Repeat of Trip Relay",
    "Process/Cascade Control Enabled",
    "Process/Cascade PID in Active",
    "Process/Cascade PID in Control",
    "Remote Cascade Setpoint Enabled",
    "Remote Cascade Setpoint Active",
    "Unit Started Indication",
    "Start Permissive Status",
    "Normal Stop in Progress",
    "Spare 22",
    "Spare 23",
    "Spare 24",
    "Spare 25",
};
const char* const kLevelSwitchTexts[kLevelSwitchValues] = {
    "--- Not Used ---",
    "Actual Speed",
    "Speed Setpoint",
    "Process/Cascade Input",
    "Process/Cascade Setpoint",
    "HP Valve Demand Output",
    "Customer Defined Monitor Input #1",
    "Customer Defined Monitor Input #2",
    "Customer Defined Monitor Input #3 ",
    "spare 10",
    "spare 11",
    "spare 12",
};
const char* text_of(const char* const* texts, int32_t count, int32_t n) {
    return (n >= 1 && n <= count) ? texts[n - 1] : "Not Used";
}

// ---- instance K's cells in the view of a group --------------------------------------
#define RELAY_CHANNEL_SELECT(NS)                                  \
    if constexpr (K == 0) return NS::_ub21;                       \
    else if constexpr (K == 1) return NS::_ub22;                  \
    else if constexpr (K == 2) return NS::_ub23;                  \
    else if constexpr (K == 3) return NS::_ub75; \
    else if constexpr (K == 4) return NS::_ub76; \
    else if constexpr (K == 5) return NS::_ub77; \
    else if constexpr (K == 6) return NS::_ub78; \
    else if constexpr (K == 7) return NS::_ub79; \
    else if constexpr (K == 8) return NS::_ub80; \
    else if constexpr (K == 9) return NS::_ub81; \
    else if constexpr (K == 10) return NS::_ub82; \
    else if constexpr (K == 11) return NS::_ub83; \
    else if constexpr (K == 12) return NS::_ub84; \
    else if constexpr (K == 13) return NS::_ub85; \
    else if constexpr (K == 14) return NS::_ub86; \
    else if constexpr (K == 15) return NS::_ub87; \
    else if constexpr (K == 16) return NS::_ub88; \
    else if constexpr (K == 17) return NS::_ub89; \
    else return NS::_ub90;
template <int K>
constexpr const auto& ch10() {
    RELAY_CHANNEL_SELECT(r10)
}
template <int K>
constexpr const auto& ch40() {
    RELAY_CHANNEL_SELECT(r40)
}
template <int K>
constexpr const auto& ch160() {
    RELAY_CHANNEL_SELECT(r160)
}
#undef RELAY_CHANNEL_SELECT

template <int K>
constexpr bool controller() {
    return K < kRelayControllerChannels;
}

// Configuration inputs of instance K (160 ms).
template <int K>
chan::ConfigIn config_in() {
    using namespace r160;
    if constexpr (controller<K>()) {
        return {MASTER.IO_LOCK_OR_PWR_B_NAME, CALMODE.CFG_SAMPL_OK_B_NAME, CNFG_WIZ.WIZARD_B_NAME,
                CNFG_BO_wizard_function(K + 2)};
    } else {
        return {CNFG_CAN2.CNFG_VLTR_B_NAME, CNFG_CAN2.SAMPL_LIVE_AND, VL5_BO.WIZ_4RELAYS_B_NAME,
                VL5_BO_wizard_function(K - kRelayControllerChannels + 1)};
    }
}

// ---- configuration part --------------------------------------------------------------
template <int K>
void function() {
    const auto& c = ch160<K>();
    chan::choose_function(config_in<K>(), CHANNEL_FUNCTION_CHOICE(c, ENA_CONFIG, RLY_FUNCT, BI_SW));
    c.LVL_SW_FUNCT_I_NAME = c.LVL_SW_FUNCT_IN;
    c.ENA_FORCING_B_NAME = c.ENA_FORCING_IN;
    chan::sample<int32_t>(c.ENA_CONFIG_B_NAME == 1, RELAY_CHANNEL_st.ch[K].function,
                          CHANNEL_SAMPLED_ITUNE(c, RLY_FUNCTION), c.BI_SW_I_SW, c.SAMPLE_PULSE_B_NAME,
                          {bk::kIntLoLim, bk::kIntHiLim, 1, 1, kRelayFunctions});
    // GT means below the manual-control number, LT above it.
    bk::I_COMPARE(c.MANUAL_CONTROL_EQ, c.MANUAL_CONTROL_GT, c.MANUAL_CONTROL_LT, c.RLY_FUNCTION_SAMP_ITUNE,
                  kManualControl);
    c.FUNCT_INT_I_NAME = c.RLY_FUNCTION_SAMP_ITUNE;
}

template <int K>
void level_switch() {
    const auto& c = ch160<K>();
    chan::sample<int32_t>(c.ENA_CONFIG_B_NAME == 1, RELAY_CHANNEL_st.ch[K].lvl_funct,
                          CHANNEL_SAMPLED_ITUNE(c, RLY_LVL_FUNCT), c.LVL_SW_FUNCT_I_NAME, c.SAMPLE_PULSE_B_NAME,
                          {bk::kIntLoLim, bk::kIntHiLim, 1, 1, kLevelSwitchValues});
    c.BO_RO_FUNC_STRING_I_TO_STR = text_of(kLevelSwitchTexts, kLevelSwitchValues, c.RLY_LVL_FUNCT_SAMP_ITUNE);
    c.USE_LVL_SW_B_NAME = c.USE_LVL_SW_IN;
    c.OUT_USE_LVL_SW_B_NAME = c.USE_LVL_SW_B_NAME;
    c.RLY_CHK_USE_I_SW = bk::SW<int32_t>(c.USE_LVL_SW_B_NAME, c.RLY_FUNCTION_SAMP_ITUNE, c.RLY_LVL_FUNCT_SAMP_ITUNE);
}

template <int K>
void settings() {
    const auto& c = ch160<K>();
    RelayVars& v = RELAY_CHANNEL_st.ch[K];
    // Forcing: the reset wins over the enable, except under manual control.
    c.ENA_FORCING_OR_OR = bk::OR({c.ENA_FORCING_B_NAME, c.MANUAL_CONTROL_EQ});
    c.NOT_MANUAL_NOT = bk::NOT(c.MANUAL_CONTROL_EQ);
    c.DIS_FORCING_B_NAME = c.DIS_FORCING_IN;
    c.FORCE_INH_B_NAME = r160::CALMODE.NOTCALMODE_B_NAME;
    c.DIS_FRC_OR = bk::OR({c.DIS_FORCING_B_NAME, c.FORCE_INH_B_NAME});
    c.DIS_FRC_AND_AND = bk::AND({c.NOT_MANUAL_NOT, c.DIS_FRC_OR});
    bk::LATCH_R(c.FRC_ENBLD_LATCH_R, c.ENA_FORCING_OR_OR, c.DIS_FRC_AND_AND);
    bk::DELAY(v.disbl_dly, c.DISBL_DLY_DELAY, &c.DISBL_DLY_R_TIME.ref(), c.FRC_ENBLD_LATCH_R, 0.0f,
              c.DISBL_DLY_NEG_DTIME, bk::T160);
    c.ENA_CNFG_NOT_NOT = bk::NOT(c.ENA_CONFIG_B_NAME);
    c.INVERT_B_NAME = c.INVERT_IN;
    c.INV_NOT_NOT = bk::NOT(c.INVERT_B_NAME);
    c.ENBL_RST_AND = bk::AND({c.INV_NOT_NOT, c.ENA_CONFIG_B_NAME});
    const bool energized = c.RLY_OUT_B_SW == 1;
    c.FDBK_B_TO_STR = energized ? " Energized " : " De-energized ";
    c.FDBK_MSG_SEL = energized ? 1 : 0;
    c.NOT_ENBLED_NOT = bk::NOT(c.FRC_ENBLD_LATCH_R);
    bk::ONE_SHOT(v.reset_state, c.RESET_STATE_ONE_SHOT, &c.RESET_STATE_R_TIME.ref(), c.NOT_ENBLED_NOT,
                 c.RESET_STATE_DLY_TIME, bk::T160);
    // While forcing is (or was just) on, the end-of-forcing pulse sets the
    // force state command back to 0.
    chan::sample<int32_t>(c.DISBL_DLY_DELAY == 1, v.force_protect, CHANNEL_SAMPLED_ITUNE(c, FORCE_PROTECT), 0,
                          c.RESET_STATE_ONE_SHOT, {0, 1, 0, 0, 1});
    bk::I_COMPARE(c.FORCE_STATE_EQ, c.FORCE_STATE_LT, c.FORCE_STATE_GT, c.FORCE_PROTECT_SAMP_ITUNE, 1);
    c.RLY_FUN_STRG1_I_TO_STR = text_of(kFunctionTexts, kRelayFunctions, c.RLY_FUNCTION_SAMP_ITUNE);
    c.FUNCT_STRNG_S_NAME = c.RLY_FUN_STRG1_I_TO_STR;
    // The inversion follows its tunable only while configuration is enabled.
    chan::inversion_latch(!(c.INVERT_B_NAME == 0 || c.ENA_CNFG_NOT_NOT == 1), c.ENBL_RST_AND, c.INV_INH_ACT_OUT,
                          c.INV_INH_B_ACTION, c.INVERTED_LATCH);
    // GT means below analog number 1, LT above it.
    bk::I_COMPARE(c.LSW_NOT_USED_EQ, c.LSW_NOT_USED_GT, c.LSW_NOT_USED_LT, c.RLY_LVL_FUNCT_SAMP_ITUNE, 1);
    c.LVL_FUNCT_STRNG_S_NAME = c.BO_RO_FUNC_STRING_I_TO_STR;
    c.LVL_OFF_A_NAME = c.LVL_OFF_IN;
    c.LVL_ON_A_NAME = c.LVL_ON_IN;
    c.OUT_LVL_SW_FUNCT_I_NAME = c.RLY_LVL_FUNCT_SAMP_ITUNE;
    c.RLY_TAG_S_NAME = c.RLY_TAG_IN;
    bk::I_COMPARE(c.RLY_USED_EQ, c.RLY_USED_LT, c.RLY_USED_GT, c.RLY_CHK_USE_I_SW, 1);
    c.STATUS_STRNG_S_NAME = c.FDBK_B_TO_STR;
}

// ---- run part ------------------------------------------------------------------------------
// The level switch: a high switch (ON >= OFF) turns on at or above ON and off
// below OFF, a low switch turns on at or below ON and off above OFF; in
// between, and for a value that is not a number, it holds.
template <class Cells>
void level_switch_cells(const Cells& c) {
    const float x = c.RLY_SEL_LSW_A_MUX_N_1;
    const float on = c.LVL_ON_A_NAME;
    const float off = c.LVL_OFF_A_NAME;
    uint32_t& out = c.LSW_CALC_B_OUT_1;
    if (on >= off) {
        if (x >= on) out = 1;
        else if (x < off) out = 0;
        c.LSW_CALC_B_OUT_2 = 0;
    } else {
        if (x <= on) out = 1;
        else if (x > off) out = 0;
        c.LSW_CALC_B_OUT_2 = 1;
    }
}

template <class Cells, class States, class Values>
void select_cells(const Cells& c, const States& states, const Values& values) {
    const int32_t n = c.RLY_FUNCTION_SAMP_ITUNE;
    if (n >= 1 && n <= kRelayFunctions) c.RLY_SEL_STAT_B_MUX_N_1 = static_cast<uint32_t>(*states[n - 1]);
    const int32_t m = c.RLY_LVL_FUNCT_SAMP_ITUNE;
    if (m >= 1 && m <= kLevelSwitchValues) c.RLY_SEL_LSW_A_MUX_N_1 = static_cast<float>(*values[m - 1]);
    level_switch_cells(c);
    c.LSW_CALC_NOT_USED_B_SW = bk::SW<uint32_t>(c.LSW_NOT_USED_EQ, c.LSW_CALC_B_OUT_1, 0u);
    c.RLY_OPTIONS_B_SW = bk::SW<uint32_t>(c.USE_LVL_SW_B_NAME, c.RLY_SEL_STAT_B_MUX_N_1, c.LSW_CALC_NOT_USED_B_SW);
}

// The inversion does not apply to a forced state.
template <class Cells>
uint32_t command_cells(const Cells& c) {
    c.RLY_INVERT_XOR = bk::XOR(c.INVERTED_LATCH, c.RLY_OPTIONS_B_SW);
    c.RLY_OUT_B_SW = bk::SW<uint32_t>(c.FRC_ENBLD_LATCH_R, c.RLY_INVERT_XOR, c.FORCE_STATE_EQ);
    c.ENERGIZE_CMD_B_NAME = c.RLY_OUT_B_SW;
    return c.ENERGIZE_CMD_B_NAME;
}

// The state list and the level-switch analog list as the view of a group
// sees them (the 10 ms group's own cells or copies).
template <class View>
auto state_list(const View& m) {
    return std::array{&m.SEL_STATES_LIST_1, &m.SEL_STATES_LIST_2, &m.SEL_STATES_LIST_3, &m.SEL_STATES_LIST_4, &m.SEL_STATES_LIST_5, &m.SEL_STATES_LIST_6, &m.SEL_STATES_LIST_7, &m.SEL_STATES_LIST_8, &m.SEL_STATES_LIST_9, &m.SEL_STATES_LIST_10, &m.SEL_STATES_LIST_11, &m.SEL_STATES_LIST_12, &m.SEL_STATES_LIST_13, &m.SEL_STATES_LIST_14, &m.SEL_STATES_LIST_15, &m.SEL_STATES_LIST_16, &m.SEL_STATES_LIST_17, &m.SEL_STATES_LIST_18, &m.SEL_STATES_LIST_19, &m.SEL_STATES_LIST_20, &m.SEL_STATES_LIST_21, &m.SEL_STATES_LIST_22, &m.SEL_STATES_LIST_23, &m.SEL_STATES_LIST_24, &m.SEL_STATES_LIST_25};
}
template <class View>
auto value_list(const View& m) {
    return std::array{&m.SEL_LSW_LIST_1, &m.SEL_LSW_LIST_2, &m.SEL_LSW_LIST_3, &m.SEL_LSW_LIST_4, &m.SEL_LSW_LIST_5, &m.SEL_LSW_LIST_6, &m.SEL_LSW_LIST_7, &m.SEL_LSW_LIST_8, &m.SEL_LSW_LIST_9, &m.SEL_LSW_LIST_10, &m.SEL_LSW_LIST_11, &m.SEL_LSW_LIST_12};
}

template <int K>
void select10() {
    if constexpr (controller<K>()) {
        static const auto kStates = state_list(r10::BO_MUX);
        static const auto kValues = value_list(r10::BO_MUX);
        select_cells(ch10<K>(), kStates, kValues);
    }
}
template <int K>
void output10() {
    if constexpr (controller<K>()) r10::CNFG_BO_output(K + 2, command_cells(ch10<K>()));
}
template <int K>
void select40() {
    if constexpr (!controller<K>()) {
        static const auto kStates = state_list(r40::BO_MUX);
        static const auto kValues = value_list(r40::BO_MUX);
        select_cells(ch40<K>(), kStates, kValues);
    }
}
template <int K>
void output40() {
    if constexpr (!controller<K>()) r40::VL5_BO_output(K - kRelayControllerChannels + 1, command_cells(ch40<K>()));
}

INSTANCE_TABLE(kFunction, void, function, kRelayChannels)
INSTANCE_TABLE(kLevelSwitch, void, level_switch, kRelayChannels)
INSTANCE_TABLE(kSettings, void, settings, kRelayChannels)
INSTANCE_TABLE(kSelect10, void, select10, kRelayChannels)
INSTANCE_TABLE(kOutput10, void, output10, kRelayChannels)
INSTANCE_TABLE(kSelect40, void, select40, kRelayChannels)
INSTANCE_TABLE(kOutput40, void, output40, kRelayChannels)

}  // namespace

namespace r10 {
void RELAY_CHANNEL_select(int k) { kSelect10[k](); }
void RELAY_CHANNEL_output(int k) { kOutput10[k](); }
}  // namespace r10

namespace r40 {
void RELAY_CHANNEL_select(int k) { kSelect40[k](); }
void RELAY_CHANNEL_output(int k) { kOutput40[k](); }
}  // namespace r40

namespace r160 {
void RELAY_CHANNEL_function(int k) { kFunction[k](); }
void RELAY_CHANNEL_level_switch(int k) { kLevelSwitch[k](); }
void RELAY_CHANNEL_settings(int k) { kSettings[k](); }
}  // namespace r160
