// The analog output channel template: the sampled configuration, service
// commands, forcing and force setpoint (160 ms) and the signal path with
// force transfer and readback alarm (20 ms), computed inline once per
// instance over the instance's own cells.
#include "app/analog/AO_CHANNEL.cells.h"

#include <cmath>

#include "app/analog/CNFG_AO.cells.h"
#include "app/analog/force_commands.h"
#include "app/analog/force_transfer.h"
#include "app/analog/signal_select.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/analog/VL1_AIO.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_WIZ.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/channel_config.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

constexpr int32_t kFunctionLimit = 9999999;
constexpr float kTransferStep = 2000.0f;
constexpr float kForceLow = 4.0f, kForceHigh = 20.0f;
// The force setpoint starts at the live zero of the output.
constexpr float kForceStart = 4.0f;

// Hidden state of one instance.
struct AoChannelVars {
    bk::SampState max, min, function, entr_setpt;
    ForceCommandState force_cmds;
    bk::OneShotState goto_val_samp;
    uint32_t frc_enbl_prev;
    ForceTransferState force;
};
struct AO_CHANNEL_blocks {
    AoChannelVars ch[kAoAllChannels];
};
BlockRam<AO_CHANNEL_blocks> AO_CHANNEL_st;

#define AO_CHANNEL_SELECT(NS)                                  \
    if constexpr (K == 0) return NS::_ub10;                    \
    else if constexpr (K == 1) return NS::_ub11;               \
    else if constexpr (K == 2) return NS::_ub12;               \
    else if constexpr (K == 3) return NS::_ub41;               \
    else return NS::_ub42;

template <int K>
constexpr const auto& ch20() {
    AO_CHANNEL_SELECT(r20)
}
template <int K>
constexpr const auto& ch160() {
    AO_CHANNEL_SELECT(r160)
}
#undef AO_CHANNEL_SELECT

template <int K>
constexpr bool kRemote = K >= kAoFirstRemote;

// What configures instance K: the controller's channels follow the I/O lock
// window, the calibration sample and the common wizard; the remote node's
// follow the node's live configuration and their own wizard tunables.
template <int K>
chan::ConfigIn config_in() {
    using namespace r160;
    if constexpr (kRemote<K>) {
        const auto& c = ch160<K>();
        return {CNFG_CAN2.CNFG_VLTR_B_NAME, CNFG_CAN2.SAMPL_LIVE_AND, c.WIZ_ENA_IN, c.WIZ_FUNCT_IN};
    } else {
        const int32_t wizard = K == 0 ? CNFG_AO.WIZFUN_AO_CH1_IN
                               : K == 1 ? CNFG_AO.WIZFUN_AO_CH2_IN
                                        : CNFG_AO.WIZFUN_AO_CH3_IN;
        return {MASTER.IO_LOCK_OR_PWR_B_NAME, CALMODE.CFG_SAMPL_OK_B_NAME, CNFG_WIZ.WIZARD_B_NAME, wizard};
    }
}

template <int K>
uint32_t readback_fault() {
    using namespace r20;
    if constexpr (K == 0) return CNFG_AO.AO_01_ZARN_RB_RET_FLT;
    else if constexpr (K == 1) return CNFG_AO.AO_02_ZARN_RB_RET_FLT;
    else if constexpr (K == 2) return CNFG_AO.AO_03_ZARN_RB_RET_FLT;
    else if constexpr (K == 3) return VL1_AIO.AO_1_FAULT;
    else return VL1_AIO.AO_2_FAULT;
}

template <int K>
uint32_t& readback_alarm() {
    using namespace r20;
    if constexpr (K == 0) return CNFG_AO.AO_01_RDBK_FLTALM_B_NAME;
    else if constexpr (K == 1) return CNFG_AO.AO_02_RDBK_FLTALM_B_NAME;
    else return CNFG_AO.AO_03_RDBK_FLTALM_B_NAME;
}

// ---- 160 ms ---------------------------------------------------------------------------------
template <int K>
void config() {
    using namespace r160;
    const auto& c = ch160<K>();
    AoChannelVars& v = AO_CHANNEL_st.ch[K];
    const chan::ConfigIn in = config_in<K>();
    c.CNFG_ENBL_B_NAME = in.enable;
    c.SAMPLE_PULSE_B_NAME = in.sample;
    c.WIZ_ENA_B_NAME = in.wizard;
    c.WIZ_FUNCT_I_NAME = in.wizard_function;
    c.FUNCT_I_NAME = c.FUNCT_IN;
    c.CHAN_HI_A_NAME = c.CHAN_HI_IN;
    c.CHAN_LO_A_NAME = c.CHAN_LO_IN;
    c.ENBL_RDBK_FLT_B_NAME = c.ENBL_RDBK_FLT_IN;

    // 1. Range.
    chan::sample<float>(c.CNFG_ENBL_B_NAME != 0, v.max, CHANNEL_SAMPLED_TUNE(c, MAX), c.RANGE_HI_IN,
                        c.SAMPLE_PULSE_B_NAME, chan::kRealRange);
    chan::sample<float>(c.CNFG_ENBL_B_NAME != 0, v.min, CHANNEL_SAMPLED_TUNE(c, MIN), c.RANGE_LO_IN,
                        c.SAMPLE_PULSE_B_NAME, chan::kRealRange);
    c.RANGE_HIGH_A_NAME = c.MAX_SAMP_TUNE;
    c.RANGE_LOW_A_NAME = c.MIN_SAMP_TUNE;

    // 2. Service commands.
    service_commands(c, v.force_cmds);

    // 3. Function number in use.
    chan::sample<int32_t>(c.CNFG_ENBL_B_NAME != 0, v.function, CHANNEL_SAMPLED_ITUNE(c, FUNCTION), c.AO_SW_I_SW,
                          c.SAMPLE_PULSE_B_NAME, {-kFunctionLimit, kFunctionLimit, 1, 1, 42});
    c.FUNCT_INT_I_NAME = c.FUNCTION_SAMP_ITUNE;
    bk::I_COMPARE(c.USED_EQ, c.USED_LT, c.USED_GT, c.FUNCT_INT_I_NAME, 1);
    c.DISABL_B_NAME = c.USED_EQ;
    c.ENABL_B_NAME = c.USED_GT;

    // 4. Forcing enable; enabling resets the go-to value.
    c.FORCE_EN_B_NAME = c.FORCE_EN_IN;
    c.FORCE_FINH_B_NAME = CALMODE.NOTCALMODE_B_NAME;
    c.NOT_INH_NOT = bk::NOT(c.FORCE_FINH_B_NAME);
    c.FRC_EN_AND = bk::AND({c.FORCE_EN_B_NAME, c.NOT_INH_NOT});
    c.FORCE_DIS_B_NAME = c.FORCE_DIS_IN;
    c.FRC_DIS_OR = bk::OR({c.FORCE_FINH_B_NAME, c.FORCE_DIS_B_NAME});
    bk::LATCH_R(c.FRC_ENBL_LATCH_R, c.FRC_EN_AND, c.FRC_DIS_OR);
    if (c.FRC_ENBL_LATCH_R == 1 && v.frc_enbl_prev == 0) c.ENTR_SETPT_TUNE = 0.0f;
    v.frc_enbl_prev = c.FRC_ENBL_LATCH_R;

    // 5. The go-to value, taken while the go-to one-shot is on.
    chan::sample<float>(true, v.entr_setpt, CHANNEL_SAMPLED_TUNE(c, ENTR_SETPT), c.ENTR_SETPT_TUNE, 0,
                        {0.0f, 25.0f, c.ENTR_SETPT_ENBL_ENTER, bk::kRealLoLim, bk::kRealHiLim});
    bk::ONE_SHOT(v.goto_val_samp, c.GOTO_VAL_SAMP_ONE_SHOT, &static_cast<int32_t&>(c.GOTO_VAL_SAMP_R_TIME),
                 c.COMMANDS_OUT_5, c.GOTO_VAL_SAMP_DLY_TIME, bk::T160);
    if (c.GOTO_VAL_SAMP_ONE_SHOT != 0) c.ENTR_SETPT_A_SW_A_SW = c.ENTR_SETPT_SAMP_TUNE;

    // 6. Texts.
    bk::I_TO_STR(c.FDBK_I_TO_STR, c.FUNCT_INT_I_NAME,
                 {{1, "--- Not Used ---"},         {2, "Actual Shaft Speed"},   {3, "Speed Reference Setpoint"},
                  {4, "Remote Speed Setpoint"},    {5, "Cascade Input Signal"}, {6, "Cascade Setpoint"},
                  {7, "Remote Cascade Setpoint"},  {8, "Valve Limiter Setpoint"}, {9, "HP Valve Demand"},
                  {10, "Signal Monitoring #1"},    {11, "Signal Monitoring #2"}, {12, "Signal Monitoring #3"},
                  {13, "Spare 13"}, {14, "Spare 14"}, {15, "Spare 15"}, {16, "Spare 16"}, {17, "Spare 17"},
                  {18, "Spare 18"}, {19, "Spare 19"}, {20, "Spare 20"}},
                 "Default");
    c.FUNCT_STRG_S_NAME = c.FDBK_I_TO_STR;
    c.TAG_S_NAME = c.TAG_IN;
    c.ENG_UNITS_S_NAME = c.ENG_UNITS_IN;

    // 7. Force state and rate.
    c.FORCE_ACTIVE_B_NAME = c.FORCE_FRC;
    c.FORCE_RATE_A_NAME = CNFG_AO.AO_FORCE_RATE_IN;

    // 8 .. 12. One-shots, command blocks and the force setpoint.
    force_setpoint(c, v.force_cmds, c.FRC_ENBL_LATCH_R, kForceLow, kForceHigh, c.GOTO_VAL_SAMP_ONE_SHOT,
                   c.ENTR_SETPT_A_SW_A_SW, c.FORCE_RATE_A_NAME);

    // 13. Modbus scale.
    c.AO_MOD_X_I_NAME = c.AO_MOD_X_IN;
    bk::MUX<float>(c.AO_MOD_SCALE_A_MUX_N_1, c.AO_MOD_X_I_NAME, {0.01f, 0.1f, 1.0f, 10.0f, 100.0f});
    c.MOD_MULT_A_NAME = c.AO_MOD_SCALE_A_MUX_N_1;
}

// ---- 20 ms ----------------------------------------------------------------------------------
template <int K>
void signal() {
    using namespace r20;
    const auto& c = ch20<K>();
    c.AO_SW_I_SW = bk::SW<int32_t>(c.WIZ_ENA_B_NAME, c.FUNCT_I_NAME, c.WIZ_FUNCT_I_NAME);
    select_signal(c.SEL_A_MUX_N_1, c.FUNCTION_SAMP_ITUNE, AO_MUX, false);
    c.VAL_A_NAME = c.SEL_A_MUX_N_1;
    const float lo = c.RANGE_LOW_A_NAME;
    const float hi = c.RANGE_HIGH_A_NAME;
    const float mA = (static_cast<float>(c.SEL_A_MUX_N_1) - lo) / (hi - lo) * 16.0f + 4.0f;
    c.OUTPUT_CALCULATE = std::isfinite(mA) ? mA : 0.0f;
    c.OUTPUT_ALM = 0;
    c.CHAN_A_LIMITER = bk::A_LIMITER(c.OUTPUT_CALCULATE, c.CHAN_LO_A_NAME, c.CHAN_HI_A_NAME);
    const bool forcing = c.FRC_ENBL_LATCH_R == 1 && c.FORCE_FINH_B_NAME == 0;
    c.FORCE_AO_FORCE = force_transfer(AO_CHANNEL_st.ch[K].force, c.FORCE_FRC, forcing, c.FORCE_SETPT_RAMP,
                                      c.CHAN_A_LIMITER, kTransferStep);
    c.MA_SIGNAL_A_NAME = c.FORCE_AO_FORCE;
}

template <int K>
void alarm() {
    using namespace r20;
    const auto& c = ch20<K>();
    c.CHN_RDBK_FLT_B_NAME = readback_fault<K>();
    c.RDBK_FLT_ENBL_AND = bk::AND({c.ENBL_RDBK_FLT_B_NAME, c.CHN_RDBK_FLT_B_NAME, c.USED_GT});
    c.DBK_FLT_B_NAME = c.RDBK_FLT_ENBL_AND;
    if constexpr (!kRemote<K>) readback_alarm<K>() = c.RDBK_FLT_ENBL_AND;
}

template <template <int> class F>
void by_instance(int k) {
    switch (k) {
        case 0: F<0>::run(); break;
        case 1: F<1>::run(); break;
        case 2: F<2>::run(); break;
        case 3: F<3>::run(); break;
        default: F<4>::run(); break;
    }
}
template <int K>
struct Signal {
    static void run() { signal<K>(); }
};
template <int K>
struct Alarm {
    static void run() { alarm<K>(); }
};
template <int K>
struct Config {
    static void run() { config<K>(); }
};

}  // namespace

void AO_CHANNEL_init_blks() {
    for (auto& ch : AO_CHANNEL_st.ch) service_commands_init(ch.force_cmds, kForceStart);
}

void AO_CHANNEL_command_written(int k, int n, uint32_t value) {
    if (k < 0 || k >= kAoAllChannels) return;
    service_command_written(AO_CHANNEL_st.ch[k].force_cmds, n, value);
}

namespace r20 {
void AO_CHANNEL_signal(int k) { by_instance<Signal>(k); }
void AO_CHANNEL_alarm(int k) { by_instance<Alarm>(k); }
}  // namespace r20

namespace r160 {
void AO_CHANNEL_config(int k) { by_instance<Config>(k); }
}  // namespace r160
