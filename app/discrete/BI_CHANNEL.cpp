// The discrete input channel template: the sampled function number, its
// texts and time-stamp range, and the inversion latch of the configuration
// part (160 ms); the E-stop and time-stamp selections and the inverted
// signal of the fast part (10 ms controller, 20 ms remote). Computed inline
// once per instance over the instance's own cells.
#include "app/discrete/BI_CHANNEL.cells.h"


#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_WIZ.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/channel_config.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/VL4_BI.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/instance_table.h"
#include "runtime/rgtask.h"

namespace {

// Hidden state of one instance: the edge memory of the sampled function.
struct BI_CHANNEL_blocks {
    bk::SampState function[kBiChannels];
};
BlockRam<BI_CHANNEL_blocks> BI_CHANNEL_st;

// Texts of the function numbers 1 .. 30; any other number reads "Not Used".
const char* const kFunctionTexts[30] = {
    "---Not Used---",
    "Speed Lower Command",
    "Speed Raise Command",
    "External Trip 1",
    "Start/External Run",
    "Reset Command",
    "Idle/MinGov Command",
    "Rmt Speed Setpoint Enable",
    "Select On-Line Dynamics",
    "Overspeed Test",
    "Process/Casc Setpt Raise",
    "Process/Casc Setpt Lower",
    "Process/Casc Control Enable",
    "Rmt Process/Casc Setpt Enable",
    "External Trip 2",
    "External Trip 3",
    "External Trip 4",
    "External Trip 5",
    "External Alarm 1",
    "External Alarm 2",
    "External Alarm 3",
    "Valve Limiter Open",
    "Valve Limiter Close",
    "Speed/Casc Raise Command",
    "Speed/Casc Lower Command",
    "Clock SYNC Pulse Contact",
    "Spare 27",
    "Spare 28",
    "Spare 29",
    "Spare 30",
};
constexpr int32_t kEstopFunction = 4;

// The remote node's inputs by input number, with their modules.
#define BI_CHANNEL_NODE_INPUTS(X)                                                                                   \
    X(1, _ub59) X(2, _ub67) X(3, _ub68) X(4, _ub69) X(5, _ub70) X(6, _ub71) X(7, _ub72) X(8, _ub73) X(9, _ub74) \
        X(10, _ub60) X(11, _ub61) X(12, _ub62) X(13, _ub63) X(14, _ub64) X(15, _ub65) X(16, _ub66)

// ---- instance K's cells in the view of a group --------------------------------------
template <int K>
constexpr bool controller() {
    return K < kBiControllerChannels;
}

// Remote input n (1 .. 16) is index 7 + n: 1 is _ub59, 2 .. 9 are _ub67 ..
// _ub74, 10 .. 16 are _ub60 .. _ub66. Group G: 0 = 10 ms, 1 = 20 ms, 4 = 160 ms.
template <int K, int G>
constexpr const auto& cells_of() {
    static_assert(K >= 0 && K < kBiChannels);
    if constexpr (G == 0) {
        if constexpr (K == 0) return r10::_ub13;
        else if constexpr (K == 1) return r10::_ub14;
        else if constexpr (K == 2) return r10::_ub15;
        else if constexpr (K == 3) return r10::_ub16;
        else if constexpr (K == 4) return r10::_ub17;
        else if constexpr (K == 5) return r10::_ub18;
        else if constexpr (K == 6) return r10::_ub19;
        else return r10::_ub20;
    } else {
#define BI_CHANNEL_REMOTE_OF(NS)                       \
    if constexpr (K < 8) return NS::_ub13;             \
    else if constexpr (K == 8) return NS::_ub59;       \
    else if constexpr (K == 9) return NS::_ub67;       \
    else if constexpr (K == 10) return NS::_ub68;      \
    else if constexpr (K == 11) return NS::_ub69;      \
    else if constexpr (K == 12) return NS::_ub70;      \
    else if constexpr (K == 13) return NS::_ub71;      \
    else if constexpr (K == 14) return NS::_ub72;      \
    else if constexpr (K == 15) return NS::_ub73;      \
    else if constexpr (K == 16) return NS::_ub74;      \
    else if constexpr (K == 17) return NS::_ub60;      \
    else if constexpr (K == 18) return NS::_ub61;      \
    else if constexpr (K == 19) return NS::_ub62;      \
    else if constexpr (K == 20) return NS::_ub63;      \
    else if constexpr (K == 21) return NS::_ub64;      \
    else if constexpr (K == 22) return NS::_ub65;      \
    else return NS::_ub66;
        if constexpr (G == 1) {
            BI_CHANNEL_REMOTE_OF(r20)
        } else {
            if constexpr (K == 0) return r160::_ub13;
            else if constexpr (K == 1) return r160::_ub14;
            else if constexpr (K == 2) return r160::_ub15;
            else if constexpr (K == 3) return r160::_ub16;
            else if constexpr (K == 4) return r160::_ub17;
            else if constexpr (K == 5) return r160::_ub18;
            else if constexpr (K == 6) return r160::_ub19;
            else if constexpr (K == 7) return r160::_ub20;
            else {
                BI_CHANNEL_REMOTE_OF(r160)
            }
        }
#undef BI_CHANNEL_REMOTE_OF
    }
}
template <int K>
constexpr const auto& ch10() {
    return cells_of<K, 0>();
}
template <int K>
constexpr const auto& ch20() {
    return cells_of<K, 1>();
}
template <int K>
constexpr const auto& ch160() {
    return cells_of<K, 4>();
}

// Configuration inputs of instance K (160 ms).
template <int K>
chan::ConfigIn config_in() {
    using namespace r160;
    if constexpr (controller<K>()) {
        // Input 3 takes its wizard enable from its own tunable.
        uint32_t wizard = CNFG_WIZ.WIZARD_B_NAME;
        if constexpr (K == 2) wizard = _ub15.WIZ_ENA_IN;
        return {MASTER.IO_LOCK_OR_PWR_B_NAME, CALMODE.CFG_SAMPL_OK_B_NAME, wizard, CNFG_BI_wizard_function(K)};
    } else {
        return {CNFG_CAN2.CNFG_VLTR_B_NAME, CNFG_CAN2.SAMPL_LIVE_AND, VL4_BI.WIZ_4BINS_B_NAME,
                VL4_BI_wizard_function(K - kBiControllerChannels + 1)};
    }
}

// ---- configuration part --------------------------------------------------------------
template <int K>
void configure() {
    const auto& c = ch160<K>();
    chan::choose_function(config_in<K>(), CHANNEL_FUNCTION_CHOICE(c, ENA_CONFIG, FUNCT, BI_SW));
    chan::sample<int32_t>(c.ENA_CONFIG_B_NAME == 1, BI_CHANNEL_st.function[K], CHANNEL_SAMPLED_ITUNE(c, BI_FUNCTION),
                          c.BI_SW_I_SW, c.SAMPLE_PULSE_B_NAME, {bk::kIntLoLim, bk::kIntHiLim, 0, 1, 31});
    const int32_t f = c.BI_FUNCTION_SAMP_ITUNE;
    c.FUNCT_INT_I_NAME = f;
    bk::I_COMPARE(c.BI_USED_EQ, c.BI_USED_LT, c.BI_USED_GT, f, 1);
    c.BI_FUN_STRG_I_TO_STR = (f >= 1 && f <= 30) ? kFunctionTexts[f - 1] : "Not Used";
    bk::I_COMPARE(c.GT_FUNC_EQ, c.GT_FUNC_LT, c.GT_FUNC_GT, f, c.GT_FUNC_IN_2);
    bk::I_COMPARE(c.LR_FUNC_EQ, c.LR_FUNC_LT, c.LR_FUNC_GT, f, c.LR_FUNC_IN_2);
    c.DI_TS_FUNC_RANGE_AND = bk::AND({c.GT_FUNC_GT, c.LR_FUNC_LT});
    c.ENA_CNFG_NOT_NOT = bk::NOT(c.ENA_CONFIG_B_NAME);
    c.INVRT_B_NAME = c.INVRT_IN;
    c.INV_NOT_NOT = bk::NOT(c.INVRT_B_NAME);
    c.ENBL_RST_AND = bk::AND({c.INV_NOT_NOT, c.ENA_CONFIG_B_NAME});
    // The inversion follows its tunable only in configuration mode.
    chan::inversion_latch(c.INVRT_B_NAME == 1 && c.ENA_CNFG_NOT_NOT == 0, c.ENBL_RST_AND, c.INV_INH_ACT_OUT,
                          c.INV_INH_B_ACTION, c.INVERTED_LATCH);
    c.TAG_S_NAME = c.TAG_IN;
    c.USAGE_S_NAME = c.USAGE_IN;
}

// ---- fast part ---------------------------------------------------------------------------
template <class Cells>
void select_cells(const Cells& c) {
    bk::I_COMPARE(c.ESTOP_EQ, c.ESTOP_LT, c.ESTOP_GT, c.BI_FUNCTION_SAMP_ITUNE, kEstopFunction);
    c.DI_TS_FUNC_RANGE_OR_OR = bk::OR({c.DI_TS_FUNC_RANGE_AND, c.ESTOP_EQ, c.DI_TS_FUNC_RANGE_OR_IN_3});
}
template <class Cells>
void signal_cells(const Cells& c, uint32_t contact) {
    c.SIGNAL_B_NAME = contact;
    c.BI_ACTIV_XOR = bk::XOR(c.SIGNAL_B_NAME, c.INVERTED_LATCH);
    c.BI_SIGNAL_B_NAME = c.BI_ACTIV_XOR;
}

template <int K>
void select10() {
    if constexpr (controller<K>()) select_cells(ch10<K>());
}
template <int K>
void signal10() {
    if constexpr (controller<K>()) {
        uint32_t contact = 0;
        using namespace r10;
        if constexpr (K == 0) contact = CNFG_BI.BI_01_ZARN_BI_ZARN;
        else if constexpr (K == 1) contact = CNFG_BI.BI_02_ZARN_BI_ZARN;
        else if constexpr (K == 2) contact = CNFG_BI.BI_03_ZARN_BI_ZARN;
        else if constexpr (K == 3) contact = CNFG_BI.BI_04_ZARN_BI_ZARN;
        else if constexpr (K == 4) contact = CNFG_BI.BI_05_ZARN_BI_ZARN;
        else if constexpr (K == 5) contact = CNFG_BI.BI_06_ZARN_BI_ZARN;
        else if constexpr (K == 6) contact = CNFG_BI.BI_07_ZARN_BI_ZARN;
        else contact = CNFG_BI.BI_08_ZARN_BI_ZARN;
        signal_cells(ch10<K>(), contact);
    }
}
template <int K>
int32_t function10() {
    if constexpr (controller<K>()) return ch10<K>().FUNCT_INT_I_NAME;
    else return 0;
}
template <int K>
uint32_t signal_out10() {
    if constexpr (controller<K>()) return ch10<K>().BI_SIGNAL_B_NAME;
    else return 0;
}
template <int K>
uint32_t use_ts10() {
    if constexpr (controller<K>()) return ch10<K>().DI_TS_FUNC_RANGE_OR_OR;
    else return 0;
}

template <int K>
void select20() {
    if constexpr (!controller<K>()) select_cells(ch20<K>());
}
// The remote contacts, by input number n.
#define BI_CHANNEL_NODE(N, NN) \
    if constexpr (n == N) signal_cells(c, VL4_BI.BIN_##NN##_VL_BIN);
template <int K>
void signal20() {
    if constexpr (!controller<K>()) {
        using namespace r20;
        constexpr int n = K - kBiControllerChannels + 1;
        const auto& c = ch20<K>();
        BI_CHANNEL_NODE(1, 01) BI_CHANNEL_NODE(2, 02) BI_CHANNEL_NODE(3, 03) BI_CHANNEL_NODE(4, 04)
        BI_CHANNEL_NODE(5, 05) BI_CHANNEL_NODE(6, 06) BI_CHANNEL_NODE(7, 07) BI_CHANNEL_NODE(8, 08)
        BI_CHANNEL_NODE(9, 09) BI_CHANNEL_NODE(10, 10) BI_CHANNEL_NODE(11, 11) BI_CHANNEL_NODE(12, 12)
        BI_CHANNEL_NODE(13, 13) BI_CHANNEL_NODE(14, 14) BI_CHANNEL_NODE(15, 15) BI_CHANNEL_NODE(16, 16)
    }
}
#undef BI_CHANNEL_NODE

// ---- per-instance tables -----------------------------------------------------------------
INSTANCE_TABLE(kConfigure, void, configure, kBiChannels)
INSTANCE_TABLE(kSelect10, void, select10, kBiChannels)
INSTANCE_TABLE(kSignal10, void, signal10, kBiChannels)
INSTANCE_TABLE(kFunction10, int32_t, function10, kBiChannels)
INSTANCE_TABLE(kSignalOut10, uint32_t, signal_out10, kBiChannels)
INSTANCE_TABLE(kUseTs10, uint32_t, use_ts10, kBiChannels)
INSTANCE_TABLE(kSelect20, void, select20, kBiChannels)
INSTANCE_TABLE(kSignal20, void, signal20, kBiChannels)

}  // namespace

namespace r10 {
void BI_CHANNEL_select(int k) { kSelect10[k](); }
void BI_CHANNEL_signal(int k) { kSignal10[k](); }
int32_t BI_CHANNEL_function(int k) { return kFunction10[k](); }
uint32_t BI_CHANNEL_signal_out(int k) { return kSignalOut10[k](); }
uint32_t BI_CHANNEL_use_time_stamps(int k) { return kUseTs10[k](); }
}  // namespace r10

namespace r20 {
void BI_CHANNEL_signal(int k) { kSignal20[k](); }
void BI_CHANNEL_select(int k) { kSelect20[k](); }

void BI_CHANNEL_node_list() {
#define BI_CHANNEL_LIST_SIGNAL(N, M) VLTR_OUTS.VL_BINS_LIST_##N = M.BI_SIGNAL_B_NAME;
    BI_CHANNEL_NODE_INPUTS(BI_CHANNEL_LIST_SIGNAL)
#undef BI_CHANNEL_LIST_SIGNAL
}
}  // namespace r20

namespace r160 {
void BI_CHANNEL_configure(int k) { kConfigure[k](); }

void BI_CHANNEL_node_functions() {
#define BI_CHANNEL_LIST_FUNCTION(N, M) VLTR_OUTS.VL_BINS_FUN_LIST_##N = M.FUNCT_INT_I_NAME;
    BI_CHANNEL_NODE_INPUTS(BI_CHANNEL_LIST_FUNCTION)
#undef BI_CHANNEL_LIST_FUNCTION
}
}  // namespace r160
