// The channel blocks of the remote RTD node: decode of the node's raw word,
// the node state, calibration, a trapezoidal first-order filter and the two
// out-of-range latches, then the display value and the channel's alarm
// levels.
#include "app/remote_io/VL3_RTD.cells.h"

#include <cmath>

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/control/RESET.cells.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"
#include "app/remote_io/remote_io.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

// The raw word: bits 0-14 a signed count of 1/16 degree, bit 15 the node's
// channel fault.
constexpr uint32_t kFaultBit = 0x8000u;
constexpr uint32_t kCountMask = 0x7FFFu;
constexpr uint32_t kCountSign = 0x4000u;
constexpr int32_t kCountSpan = 0x8000;
constexpr float kDegreesPerCount = 0.0625f;
// The value a channel shows while the node is silent: the top of the
// 100-ohm sensors' range for their type codes, else the 200-ohm one.
constexpr uint32_t kType100A = 0x100u, kType100 = 0x101u;
constexpr float kFaultValue100 = 850.0f, kFaultValue200 = 550.0f;
// The filter's shortest time constant and the group period it works with.
constexpr float kMinFilterTau = 0.05095541f;
constexpr float kPeriod = 0.08f;
// The out-of-range timers count milliseconds.
constexpr float kPeriodMs = 80.0f;

struct RtdVars {
    float x_prev;
    float y_prev;
    float hi_timer;
    float lo_timer;
    uint32_t silent;  // the node was silent in the last pass
};
struct VL3_RTD_blocks {
    RtdVars ch[kRtdChannels];
};
BlockRam<VL3_RTD_blocks> VL3_RTD_st;

// The cells of one channel block; channel 1 has no delay of its own.
struct RtdCells {
    float& vl_rtd;
    uint32_t& fault;
    uint32_t& hi_latch;
    uint32_t& lo_latch;
    uint32_t& latch_or;
    uint32_t& ovrd;
    float* latch_dly;
    float& display;
};

#define VL3_RTD_BLOCK(N, DLY)                                                                             \
    RtdCells {                                                                                            \
        V.RTD_##N##_VL_RTD.ref(), V.RTD_##N##_FAULT.ref(), V.RTD_##N##_HI_LATCH.ref(),                   \
            V.RTD_##N##_LO_LATCH.ref(), V.RTD_##N##_LATCH_OR.ref(), V.RTD_##N##_OVRD.ref(), DLY,          \
            V.RTD##N##_A_SW.ref()                                                                         \
    }
#define VL3_RTD_DLY(N) &V.RTD_##N##_LATCH_DLY.ref()

RtdCells block(int k) {
    const auto& V = r80::VL3_RTD;
    switch (k) {
        case 0: return VL3_RTD_BLOCK(1, nullptr);
        case 1: return VL3_RTD_BLOCK(2, VL3_RTD_DLY(2));
        case 2: return VL3_RTD_BLOCK(3, VL3_RTD_DLY(3));
        case 3: return VL3_RTD_BLOCK(4, VL3_RTD_DLY(4));
        case 4: return VL3_RTD_BLOCK(5, VL3_RTD_DLY(5));
        case 5: return VL3_RTD_BLOCK(6, VL3_RTD_DLY(6));
        case 6: return VL3_RTD_BLOCK(7, VL3_RTD_DLY(7));
        default: return VL3_RTD_BLOCK(8, VL3_RTD_DLY(8));
    }
}

// One out-of-range latch: while out of range the timer runs until it reaches
// the delay, then the latch sets; in range the timer is 0 and a reset clears
// the latch.
void range_latch(bool out_of_range, float delay, uint32_t reset, float& timer, uint32_t& latch) {
    if (out_of_range) {
        if (timer >= delay) latch = 1;
        else timer += kPeriodMs;
    } else {
        timer = 0.0f;
        if (reset != 0) latch = 0;
    }
}

}  // namespace

namespace r80 {

void VL3_RTD_channel(int k) {
    if (k != 0) RTD_CHANNEL_settings(k);  // channel 1's come first in the pass
    RtdCells c = block(k);
    RtdVars& v = VL3_RTD_st.ch[k];

    // Decode.
    const uint32_t raw = static_cast<uint32_t>(VL3_RTD_RawChan[k]);
    uint32_t fault = (raw & kFaultBit) != 0 ? 1u : 0u;
    int32_t count = static_cast<int32_t>(raw & kCountMask);
    if ((raw & kCountSign) != 0) count -= kCountSpan;
    float value = static_cast<float>(count) * kDegreesPerCount;
    const uint32_t type = static_cast<uint32_t>(VL3_RTD_ChanDev[k]);
    const float fault_value = (type == kType100A || type == kType100) ? kFaultValue100 : kFaultValue200;

    // Node state.
    const auto& node = CNFG_CAN2;
    const bool silent = node.VL_NODE3_RTD_8C_COMM_FLT_1 != 0 || node.VL_NODE3_RTD_8C_ACTIVE == 0;
    if (silent) {
        fault = 1;
        value = fault_value;
    }
    if (node.VL_NODE3_RTD_8C_NODE_FLT != 0) fault = 1;
    c.fault = fault;

    // Calibration.
    const float x = std::fma(RTD_CHANNEL_gain(k), value, RTD_CHANNEL_offset(k));
    c.vl_rtd = x;

    // Filter. The first reading after the node was silent starts it afresh:
    // the value put in meanwhile must not decay through the channel's levels.
    if (!silent && v.silent != 0) {
        v.x_prev = x;
        v.y_prev = x;
    }
    v.silent = silent ? 1u : 0u;
    const float set_tau = RTD_CHANNEL_filter(k);
    const float tau = set_tau > kMinFilterTau ? set_tau : kMinFilterTau;
    const float y = v.y_prev + (x + v.x_prev - 2.0f * v.y_prev) * kPeriod / (2.0f * tau + kPeriod);
    v.x_prev = x;

    // Out-of-range latches on the unfiltered value. While the node is silent
    // the fault value stands in for the reading and latches as any reading
    // does; the latch then outlasts the outage until a reset after the node
    // is back. Channel 1 waits its fault delay, channels 2 to 8 the latch
    // delay of their own block.
    const float delay = c.latch_dly != nullptr ? *c.latch_dly : RTD_CHANNEL_delay_ms(k);
    const uint32_t reset = RESET.RST_ONE_SHOT;
    range_latch(x >= RTD_CHANNEL_hi_limit(k), delay, reset, v.hi_timer, c.hi_latch);
    if (c.ovrd != 0) range_latch(false, delay, reset, v.lo_timer, c.lo_latch);
    else range_latch(x < RTD_CHANNEL_lo_limit(k), delay, reset, v.lo_timer, c.lo_latch);

    c.vl_rtd = y;
    v.y_prev = y;
    c.latch_or = bk::OR({c.hi_latch, c.lo_latch, c.fault});
    RTD_CHANNEL_function(k, c.latch_or);
}

void VL3_RTD_display(int k) {
    RtdCells c = block(k);
    c.display = RTD_CHANNEL_display(k, c.vl_rtd);
    AI_ALARM_LEVELS_rtd(k, c.display, RTD_CHANNEL_fault_out(k), VL3_RTD_st.ch[k].silent != 0);
}

float VL3_RTD_display_value(int k) { return block(k).display; }

}  // namespace r80
