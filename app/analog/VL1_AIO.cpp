// The remote analog node's input stages: each pass a stage splits the node's
// raw word into the channel-fault flag and the current, maps the current
// through the 4/20 mA line, forces a fault while the node is not reporting,
// and latches a value that stays outside the plausible band. Each output
// stage turns its channel's mA signal into the node's command word and
// checks the current the node reads back against it.
#include "app/analog/VL1_AIO.cells.h"

#include <algorithm>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/ma_output.h"
#include "app/analog/ma_stage.h"
#include "platform/vkiobus.h"
#include "runtime/blockkinds.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/control/RESET.cells.h"
#include "app/remote_io/remote_io.h"
#include "runtime/appmem.h"

namespace {

constexpr uint32_t kChannelFaultBit = 0x8000u;
constexpr uint32_t kCurrentMask = 0x7FFFu;
constexpr float kCountsPerMilliamp = 1024.0f;

// Hidden state of a stage: the line and its settings, the two band timers (ms).
struct RemoteStageVars {
    MaLine line;
    float hi_timer, lo_timer;
};
// Hidden state of an output stage: the current limits, and the readback
// check's demands of the last two passes (percent of 25 mA), tolerance,
// fault counters, faults and the low-fault memory.
struct RemoteOutputVars {
    MaOutputClamps clamps;
    float d0, d1, tol;
    int32_t lo_count, hi_count;
    bool lo_fault, hi_fault, lo_memory;
};
struct VL1_AIO_blocks {
    RemoteStageVars ch[kVl1AioInputs];
    RemoteOutputVars out[kVl1AioOutputs];
};
BlockRam<VL1_AIO_blocks> VL1_AIO_st;

// The cells of one stage in the 20 ms view.
struct RemoteStageCells {
    float &val_min, &val_max, &lo_sp, &hi_sp, &vl_ai;
    uint32_t &fault, &lo_latch, &hi_latch, &latch_or;
    const float &gain, &offset, &latdly;
    const uint32_t& ch_disab;
};

#define VL1_AIO_STAGE_CELLS(N, UB)                                                                            \
    RemoteStageCells {                                                                                        \
        VL1_AIO.AI_##N##_VAL_MIN, VL1_AIO.AI_##N##_VAL_MAX, VL1_AIO.AI_##N##_LO_SP, VL1_AIO.AI_##N##_HI_SP,   \
            VL1_AIO.AI_##N##_VL_AI, VL1_AIO.AI_##N##_FAULT, VL1_AIO.AI_##N##_LO_LATCH,                        \
            VL1_AIO.AI_##N##_HI_LATCH, VL1_AIO.AI_##N##_LATCH_OR, VL1_AIO.AI_##N##_GAIN_A_NAME,               \
            VL1_AIO.AI_##N##_OFFSET_A_NAME, VL1_AIO.AI_##N##_LATDLY_A_NAME, UB.CH_DISAB_B_NAME                \
    }

RemoteStageCells stage_cells(int n) {
    using namespace r20;
    switch (n) {
        case 0: return VL1_AIO_STAGE_CELLS(1, _ub33);
        case 1: return VL1_AIO_STAGE_CELLS(2, _ub34);
        case 2: return VL1_AIO_STAGE_CELLS(3, _ub35);
        case 3: return VL1_AIO_STAGE_CELLS(4, _ub36);
        case 4: return VL1_AIO_STAGE_CELLS(5, _ub37);
        case 5: return VL1_AIO_STAGE_CELLS(6, _ub38);
        case 6: return VL1_AIO_STAGE_CELLS(7, _ub39);
        default: return VL1_AIO_STAGE_CELLS(8, _ub40);
    }
}
#undef VL1_AIO_STAGE_CELLS

// The cells of one output stage in the 20 ms view.
struct RemoteOutputCells {
    const float &ma_signal, &min_cur, &max_cur;
    const uint32_t& sd;
    float &display, &rdbk_ma;
    uint32_t& fault;
    const float &gain, &offset;
};

#define VL1_AIO_OUTPUT_CELLS(N, UB)                                                                            \
    RemoteOutputCells {                                                                                        \
        UB.MA_SIGNAL_A_NAME, VL1_AIO.AO_##N##_MIN_CUR, VL1_AIO.AO_##N##_MAX_CUR, VL1_AIO.AO_##N##_SD,          \
            VL1_AIO.AO_##N##_DISPLAY, VL1_AIO.AO_##N##_RDBK_MA, VL1_AIO.AO_##N##_FAULT,                        \
            VL1_AIO.AO_##N##_GAIN_A_NAME, VL1_AIO.AO_##N##_OFFSET_A_NAME                                       \
    }

RemoteOutputCells output_cells(int n) {
    using namespace r20;
    if (n == 0) return VL1_AIO_OUTPUT_CELLS(1, _ub41);
    return VL1_AIO_OUTPUT_CELLS(2, _ub42);
}
#undef VL1_AIO_OUTPUT_CELLS

constexpr float kOutputTopMa = 25.0f;
constexpr float kScaleGain = 1.0f, kScaleOffset = 0.0f;  // the 4 .. 20 mA scaling points as they stand
constexpr float kMinTolerance = 5.0f;                    // percent
constexpr float kQuietReadback = 2.5f;                   // percent
constexpr int32_t kLowHold = -32;
constexpr int32_t kFaultPasses = 5;

// One pass of the readback check, in percent of 25 mA: d is this pass's
// demand and r the readback. The tolerance is re-derived only while no
// fault is counting, so a deviation is judged against the tolerance that
// held when it began; it is never below 5 %, also before it was first
// derived (the cleared state).
void readback_check(RemoteOutputVars& v, float d, float r) {
    if (d < kMinTolerance) {
        v.lo_count = kLowHold;
    } else if (v.lo_count <= 0 && v.hi_count <= 0) {
        if (v.d0 < v.d1 + 5.0f && v.d1 < v.d0 + 20.0f) v.tol = kMinTolerance;
        else v.tol = std::max(0.25f * std::max(v.d0, v.d1), kMinTolerance);
    }
    const float t = std::max(v.tol, kMinTolerance);
    if (v.d0 - t > r && v.d0 > t) {
        if (++v.lo_count > kFaultPasses) {
            v.lo_fault = true;
            v.lo_memory = true;
            v.lo_count = 2;
        }
    } else if (v.lo_count > 0 || r > kQuietReadback) {
        v.lo_fault = false;
        v.lo_memory = false;
        v.lo_count = 0;
    }
    if (r > v.d0 + t) {
        if (++v.hi_count > kFaultPasses) {
            v.hi_fault = true;
            v.hi_count = 2;
        }
    } else if (v.hi_count > 0 || r > kQuietReadback) {
        v.hi_fault = false;
        v.hi_count = v.lo_memory ? -2 : 0;
    }
    v.d1 = v.d0;
    v.d0 = d;
}

}  // namespace

int32_t VL1_AIO_AoCommand[kVl1AioOutputs];

void VL1_AIO_init_blks() {
    for (RemoteOutputVars& v : VL1_AIO_st.out) {
        v.tol = kMinTolerance;
        v.lo_count = 0;
        v.hi_count = 0;
    }
}

namespace r20 {

void VL1_AIO_output(int n) {
    const RemoteOutputCells c = output_cells(n);
    RemoteOutputVars& v = VL1_AIO_st.out[n];
    v.clamps.update(c.min_cur, c.max_cur, kOutputTopMa);
    float demand = (c.gain * c.ma_signal + c.offset) * kScaleGain + kScaleOffset;
    demand = bk::A_LIMITER(demand, v.clamps.lo, v.clamps.hi);
    if (c.sd == 1 || IsIOLockSet() == 1) demand = 0.0f;
    c.display = kScaleGain != 0.0f ? (demand - kScaleOffset) / kScaleGain : 0.0f;
    VL1_AIO_AoCommand[n] = static_cast<int32_t>(demand * kCountsPerMilliamp);

    const auto word = static_cast<int16_t>(static_cast<uint16_t>(VL1_AIO_RawChan[kVl1AioInputs + n]));
    const float readback = static_cast<float>(word) / kCountsPerMilliamp;
    c.rdbk_ma = readback > 0.0f ? readback : 0.0f;
    readback_check(v, 4.0f * demand, 4.0f * c.rdbk_ma);

    const bool lost = CNFG_CAN2.VL_NODE1_AIO_COMM_FLT_1 != 0 || CNFG_CAN2.VL_NODE1_AIO_ACTIVE == 0;
    c.fault = (lost || CNFG_CAN2.VL_NODE1_AIO_NODE_FLT != 0 || v.lo_fault || v.hi_fault) ? 1u : 0u;
    if (lost) c.rdbk_ma = 0.0f;
}

void VL1_AIO_stage(int n) {
    const RemoteStageCells c = stage_cells(n);
    RemoteStageVars& v = VL1_AIO_st.ch[n];
    const uint32_t word = static_cast<uint32_t>(VL1_AIO_RawChan[n]);
    c.fault = (word & kChannelFaultBit) != 0 ? 1u : 0u;
    const float mA = static_cast<float>(word & kCurrentMask) / kCountsPerMilliamp;
    v.line.update(c.val_min, c.val_max);
    c.vl_ai = v.line.map(mA) * c.gain + c.offset;
    if (CNFG_CAN2.VL_NODE1_AIO_COMM_FLT_1 != 0 || CNFG_CAN2.VL_NODE1_AIO_ACTIVE == 0) {
        c.fault = 1;
        c.vl_ai = 0.0f;
    }
    if (CNFG_CAN2.VL_NODE1_AIO_NODE_FLT != 0) c.fault = 1;
    const uint32_t reset = RESET.RESET_B_NAME;
    const float value = c.vl_ai;
    ma_band_check(value >= c.hi_sp, v.hi_timer, c.hi_latch, c.latdly, reset);
    ma_band_check(c.ch_disab == 0 && value < c.lo_sp, v.lo_timer, c.lo_latch, c.latdly, reset);
    c.latch_or = (c.hi_latch != 0 || c.lo_latch != 0 || c.fault != 0) ? 1u : 0u;
}

}  // namespace r20

namespace r160 {

#define VL1_AIO_COPY(N)                                                \
    VL1_AIO.AI_##N##_GAIN_A_NAME = VL1_AIO.AI_##N##_GAIN_IN;           \
    VL1_AIO.AI_##N##_OFFSET_A_NAME = VL1_AIO.AI_##N##_OFFSET_IN;       \
    VL1_AIO.AI_##N##_LATDLY_A_NAME = VL1_AIO.AI_##N##_LATDLY_IN;

void VL1_AIO_settings() {
    VL1_AIO_COPY(1)
    VL1_AIO_COPY(2)
    VL1_AIO_COPY(3)
    VL1_AIO_COPY(4)
    VL1_AIO_COPY(5)
    VL1_AIO_COPY(6)
    VL1_AIO_COPY(7)
    VL1_AIO_COPY(8)
    VL1_AIO.AO_1_GAIN_A_NAME = VL1_AIO.AO_1_GAIN_IN;
    VL1_AIO.AO_1_OFFSET_A_NAME = VL1_AIO.AO_1_OFFSET_IN;
    VL1_AIO.AO_2_GAIN_A_NAME = VL1_AIO.AO_2_GAIN_IN;
    VL1_AIO.AO_2_OFFSET_A_NAME = VL1_AIO.AO_2_OFFSET_IN;
}
#undef VL1_AIO_COPY

}  // namespace r160
