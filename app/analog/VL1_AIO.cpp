// The remote analog node's input stages: each pass a stage splits the node's
// raw word into the channel-fault flag and the current, maps the current
// through the 4/20 mA line, forces a fault while the node is not reporting,
// and latches a value that stays outside the plausible band.
#include "app/analog/VL1_AIO.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/ma_stage.h"
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
struct VL1_AIO_blocks {
    RemoteStageVars ch[kVl1AioInputs];
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

}  // namespace

namespace r20 {

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
}
#undef VL1_AIO_COPY

}  // namespace r160
