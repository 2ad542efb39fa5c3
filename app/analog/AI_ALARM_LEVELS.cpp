// The analog alarm-level template: hysteresis compares, speed arming, two
// latched alarm levels with a shared delay, the signal-failed trip and the
// delayed start permissive, computed inline once per instance.
#include "app/analog/AI_ALARM_LEVELS.cells.h"

#include <array>
#include <cmath>
#include <utility>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/RESET.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

// Hidden state of one instance: the two level timers, the permissive timer
// and the permissive delay's previous output.
struct AlarmVars {
    float lvl1_timer;
    float lvl2_timer;
    float perm_timer;
    uint32_t perm_prev;
};
struct AI_ALARM_LEVELS_blocks {
    AlarmVars inst[kAiAlarmInstances + kRtdAlarmInstances];
};
BlockRam<AI_ALARM_LEVELS_blocks> AI_ALARM_LEVELS_st;

// Compare with hysteresis h: for h >= 0 true at a >= b + h and false below
// b; otherwise true at a >= b and false below b + h; a value that is not a
// number keeps the output.
void hyst_compare(uint32_t& out, uint32_t& equal, float a, float b, float h) {
    equal = a == b ? 1u : 0u;
    if (std::isnan(a) || std::isnan(b)) return;
    if (h >= 0.0f) {
        if (a >= b + h) out = 1;
        else if (a < b) out = 0;
    } else {
        if (a >= b) out = 1;
        else if (a < b + h) out = 0;
    }
}

// The alarm-with-delay step: override o, condition c, delay d, reset r.
void alarm_step(uint32_t o, uint32_t c, float d, uint32_t r, float& timer, uint32_t& alarm, uint32_t& light,
                uint32_t& horn, float T) {
    if (o != 0 || c == 0) {
        timer = 0.0f;
        if (r != 0) alarm = light = horn = 0;
    } else if (alarm == 0) {
        if (timer >= d) alarm = light = horn = 1;
        else timer += T;
    }
}

// The switch of a level: (NC, NO) = (setpoint, value) when inverted, else
// (value, setpoint).
void action(float& nc, float& no, uint32_t inverted, float value, float setpoint) {
    nc = inverted != 0 ? setpoint : value;
    no = inverted != 0 ? value : setpoint;
}

// With `put_in` the value stands in for a silent node's readings: the value
// compares keep the output of the last real reading, so that the put-in
// value leaves no memory in their hysteresis band once readings are back.
template <class V>
void level1(const V& c, AlarmVars& v, float value, uint32_t fault, float speed, uint32_t reset, float T,
            bool put_in) {
    c.INVERT_LVL1_B_NAME = c.INVERT_LVL1_IN;
    c.ALM_SP1_A_NAME = c.ALM_SP1_IN;
    c.PV_VAL_A_NAME = value;
    action(c.ALM1_ACTION_NC, c.ALM1_ACTION_NO, c.INVERT_LVL1_B_NAME, c.PV_VAL_A_NAME, c.ALM_SP1_A_NAME);
    c.HYSTER_A_NAME = c.HYSTER_IN;
    if (!put_in)
        hyst_compare(c.ALM_LVL1_A_COMPARE, c.ALM_LVL1_A_EQUAL, c.ALM1_ACTION_NC, c.ALM1_ACTION_NO, c.HYSTER_A_NAME);
    c.TSPEED_A_NAME = speed;
    c.DIS_AT_ZERO_A_MAX = bk::A_MAX(c.TSPEED_A_NAME, 2.0f);
    c.SPEED_ENA_I_NAME = c.SPEED_ENA_IN;
    c.I_TO_AN_OUT_1 = bk::int_to_real(c.SPEED_ENA_I_NAME);
    hyst_compare(c.SPDENA_A_COMPARE, c.SPDENA_A_EQUAL, c.DIS_AT_ZERO_A_MAX, c.I_TO_AN_OUT_1, c.SPDENA_HYSTER);
    c.PV_SIGFLT_B_NAME = fault;
    c.NOT_NOT = bk::NOT(c.PV_SIGFLT_B_NAME);
    c.USE_SP1_B_NAME = c.USE_SP1_IN;
    c.OVRD1_NAND = bk::NAND({c.SPDENA_A_COMPARE, c.NOT_NOT, c.USE_SP1_B_NAME});
    c.ALM_DLY_A_NAME = c.ALM_DLY_IN;
    c.ALMRESET_B_NAME = reset;
    alarm_step(c.OVRD1_NAND, c.ALM_LVL1_A_COMPARE, c.ALM_DLY_A_NAME, c.ALMRESET_B_NAME, v.lvl1_timer,
               c.LVL1_ALM_B_ALARM, c.LVL1_ALM_LIGHT, c.LVL1_ALM_HORN, T);
    c.ALARM_LVL1_B_NAME = c.LVL1_ALM_B_ALARM;
}

template <class V>
void level2(const V& c, AlarmVars& v, float T, bool put_in) {
    c.TRIP_SP2_B_NAME = c.TRIP_SP2_IN;
    c.INVERT_LVL2_B_NAME = c.INVERT_LVL2_IN;
    c.ALM_SP2_A_NAME = c.ALM_SP2_IN;
    action(c.ALM2_ACTION_NC, c.ALM2_ACTION_NO, c.INVERT_LVL2_B_NAME, c.PV_VAL_A_NAME, c.ALM_SP2_A_NAME);
    if (!put_in)
        hyst_compare(c.ALM_LVL2_A_COMPARE, c.ALM_LVL2_A_EQUAL, c.ALM2_ACTION_NC, c.ALM2_ACTION_NO, c.HYSTER_A_NAME);
    c.USE_SP2_B_NAME = c.USE_SP2_IN;
    c.SP2_USED_OR = bk::OR({c.TRIP_SP2_B_NAME, c.USE_SP2_B_NAME});
    c.OVRD2_NAND = bk::NAND({c.SPDENA_A_COMPARE, c.NOT_NOT, c.SP2_USED_OR});
    alarm_step(c.OVRD2_NAND, c.ALM_LVL2_A_COMPARE, c.ALM_DLY_A_NAME, c.ALMRESET_B_NAME, v.lvl2_timer,
               c.LVL2_ALM_B_ALARM, c.LVL2_ALM_LIGHT, c.LVL2_ALM_HORN, T);
    const bool trip = c.TRIP_SP2_B_NAME != 0;
    c.B_SW_REV_NC = trip ? 0u : static_cast<uint32_t>(c.LVL2_ALM_B_ALARM);
    c.B_SW_REV_NO = trip ? static_cast<uint32_t>(c.LVL2_ALM_B_ALARM) : 0u;
    c.ALARM_LVL2_B_NAME = c.B_SW_REV_NC;
    c.SIGFLT_TRIP_B_NAME = c.SIGFLT_TRIP_IN;
    c.AND_AND = bk::AND({c.PV_SIGFLT_B_NAME, c.SIGFLT_TRIP_B_NAME});
    c.FAULT_DISABLE_AND = bk::AND({c.PV_SIGFLT_B_NAME, c.FAULT_DISABLE_IN_2});
    c.INVERT_PERM_B_NAME = c.INVERT_PERM_IN;
    c.MSG_LIST_1 = c.MSG_IN_1;
    c.MSG_LIST_2 = c.MSG_IN_2;
    c.PERM_SP_A_NAME = c.PERM_SP_IN;
    action(c.PERM_ACTION_NC, c.PERM_ACTION_NO, c.INVERT_PERM_B_NAME, c.PV_VAL_A_NAME, c.PERM_SP_A_NAME);
    if (!put_in)
        hyst_compare(c.PERM_COMPARE_A_COMPARE, c.PERM_COMPARE_A_EQUAL, c.PERM_ACTION_NC, c.PERM_ACTION_NO,
                     c.HYSTER_A_NAME);
    c.USE_PERM_B_NAME = c.USE_PERM_IN;
    c.USE_PERM_NOT_NOT = bk::NOT(c.USE_PERM_B_NAME);
    c.SIGNAL_FAILED_B_SW = c.FAULT_DISABLE_AND != 0 ? 0u : static_cast<uint32_t>(c.PERM_COMPARE_A_COMPARE);
    c.PERM_USED_B_SW = c.USE_PERM_NOT_NOT != 0 ? 1u : static_cast<uint32_t>(c.SIGNAL_FAILED_B_SW);
    // The permissive's on-delay: once met it stays met while its input holds.
    const float dly = c.PERM_MET_DELAY_DLY_TIME;
    if (c.PERM_USED_B_SW == 0) {
        c.PERM_MET_DELAY_DELAY = 0;
        v.perm_timer = 0.0f;
        c.PERM_MET_DELAY_R_TIME = 0;
    } else {
        if (v.perm_prev != 0) v.perm_timer = dly;
        if (v.perm_timer >= dly) {
            c.PERM_MET_DELAY_DELAY = 1;
        } else {
            v.perm_timer += T;
            c.PERM_MET_DELAY_DELAY = 0;
        }
        c.PERM_MET_DELAY_R_TIME = bk::remaining_time(dly - v.perm_timer);
    }
    v.perm_prev = c.PERM_MET_DELAY_DELAY;
    c.PERM_MET_DELAY_NOT_NOT = bk::NOT(c.PERM_MET_DELAY_DELAY);
    c.PERM_NOT_MET_B_NAME = c.PERM_MET_DELAY_NOT_NOT;
    c.TRIP_LVL2_B_NAME = c.B_SW_REV_NO;
}

// ---- the instances ---------------------------------------------------------------------
template <int K>
constexpr const auto& inst20() {
    using namespace r20;
    if constexpr (K == 0) return _ub1;
    else if constexpr (K == 1) return _ub2;
    else if constexpr (K == 2) return _ub3;
    else if constexpr (K == 3) return _ub4;
    else if constexpr (K == 4) return _ub25;
    else if constexpr (K == 5) return _ub26;
    else if constexpr (K == 6) return _ub27;
    else if constexpr (K == 7) return _ub28;
    else if constexpr (K == 8) return _ub29;
    else if constexpr (K == 9) return _ub30;
    else if constexpr (K == 10) return _ub31;
    else return _ub32;
}

template <int K>
void run_level1() {
    using namespace r20;
    // Instance k watches analog input channel k.
    level1(inst20<K>(), AI_ALARM_LEVELS_st.inst[K], AI_CHANNEL_value(K), AI_CHANNEL_fault_out(K),
           MPU.TURB_SPD_A_NAME, RESET.RESET_B_NAME, bk::T20, false);
}
template <int K>
void run_level2() {
    level2(inst20<K>(), AI_ALARM_LEVELS_st.inst[K], bk::T20, false);
}

template <int K>
constexpr const auto& inst80() {
    using namespace r80;
    if constexpr (K == 0) return _ub51;
    else if constexpr (K == 1) return _ub52;
    else if constexpr (K == 2) return _ub53;
    else if constexpr (K == 3) return _ub54;
    else if constexpr (K == 4) return _ub55;
    else if constexpr (K == 5) return _ub56;
    else if constexpr (K == 6) return _ub57;
    else return _ub58;
}

template <int K>
void run_rtd(float value, uint32_t fault, bool put_in) {
    using namespace r80;
    AlarmVars& v = AI_ALARM_LEVELS_st.inst[kAiAlarmInstances + K];
    level1(inst80<K>(), v, value, fault, MPU.TURB_SPD_A_NAME, RESET.RESET_B_NAME, bk::T80, put_in);
    level2(inst80<K>(), v, bk::T80, put_in);
}

template <size_t... K>
constexpr auto level1_table(std::index_sequence<K...>) {
    return std::array<void (*)(), sizeof...(K)>{&run_level1<static_cast<int>(K)>...};
}
template <size_t... K>
constexpr auto level2_table(std::index_sequence<K...>) {
    return std::array<void (*)(), sizeof...(K)>{&run_level2<static_cast<int>(K)>...};
}
template <size_t... K>
constexpr auto rtd_table(std::index_sequence<K...>) {
    return std::array<void (*)(float, uint32_t, bool), sizeof...(K)>{&run_rtd<static_cast<int>(K)>...};
}
constexpr auto kLevel1 = level1_table(std::make_index_sequence<kAiAlarmInstances>{});
constexpr auto kLevel2 = level2_table(std::make_index_sequence<kAiAlarmInstances>{});
constexpr auto kRtd = rtd_table(std::make_index_sequence<kRtdAlarmInstances>{});

}  // namespace

namespace r20 {
void AI_ALARM_LEVELS_level1(int k) { kLevel1[k](); }
void AI_ALARM_LEVELS_level2(int k) { kLevel2[k](); }
}  // namespace r20

namespace r80 {
void AI_ALARM_LEVELS_rtd(int k, float value, uint32_t fault, bool put_in) { kRtd[k](value, fault, put_in); }
}  // namespace r80
