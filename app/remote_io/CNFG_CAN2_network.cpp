// The CAN2 network block CAN2_NTW1: reset pulse, port silence watch, the
// go-operational commands, the CANopen timers, bus load, error cells and
// LEDs; after the node blocks the NMT state compare and the start-up pulse.
#include <cmath>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/control/RESET.cells.h"
#include "app/remote_io/remote_io.h"
#include "canopen/CanVersion.h"
#include "canopen/canopen.h"
#include "host/vxworks.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/can_startup.h"
#include "runtime/iogather.h"

uint32_t CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled;
uint16_t CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[3];

void CNFG_CAN2_network_init_blks() {
    auto& n = cells::CNFG_CAN2;
    n.CAN2_NTW1_GRN_LED = 0;
    n.CAN2_NTW1_RED_LED = 0;
    n.CAN2_NTW1_RXTXERRS = 0;
    n.CAN2_NTW1_RXOVRFLOW = 0;
    n.CAN2_NTW1_TXOVRFLOW = 0;
    n.CAN2_NTW1_TX_WARN = 0;
    n.CAN2_NTW1_RX_WARN = 0;
    n.CAN2_NTW1_TX_ERR = 0;
    n.CAN2_NTW1_RX_ERR = 0;
    n.CAN2_NTW1_STATE = 0;
    n.CAN2_NTW1_BUS_OFF = 1;
    CNFG_CAN2_CAN2_NTW1_2357_SyncTimer = 0;
    n.CAN2_PORT_VERSION = static_cast<int32_t>(CanVersion());
}

namespace {

constexpr int32_t kPassMs = 20;
constexpr float kStartPulse = 1.0f;

struct CAN2_NTW1_blocks {
    bk::OneShotState CAN2_RST_OS, PULSE_OS;
    int32_t silenceErr, silenceAlm;  // ms the port has been silent
    int32_t goOperPasses;
    uint32_t goOperLatch;
    int32_t ledCycle;
};
BlockRam<CAN2_NTW1_blocks> CAN2_NTW1_st;

// Warning and error flags from a status byte: bit 1 sets both, bit 0 the
// warning alone.
void status_flags(uint8_t flags, uint32_t& warn, uint32_t& err) {
    warn = (flags & 3u) != 0 ? 1u : 0u;
    err = (flags & 2u) != 0 ? 1u : 0u;
}

// Increase of a 16-bit counter since its snapshot, which it then replaces.
uint16_t increase(uint16_t now, uint16_t& snap) {
    const uint16_t d = static_cast<uint16_t>(now - snap);
    snap = now;
    return d;
}

// The block's hidden items start cleared with the application memory, so
// that a restart of the application opens the network afresh.
void clear_hidden(BlockRamNode*) {
    CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled = 0;
    CNFG_CAN2_CAN2_NTW1_2357_NtwOpen = 0;
    CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch = 0;
    for (uint16_t& s : CNFG_CAN2_CAN2_NTW1_2357_FrameSnap) s = 0;
}
struct HiddenItems {
    BlockRamNode node{nullptr, clear_hidden};
    HiddenItems() { register_block_ram(&node); }
} hiddenItems;

}  // namespace

namespace r20 {

void CNFG_CAN2_network() {
    auto& c = CNFG_CAN2;
    auto& st = CAN2_NTW1_st;
    c.RST_OR_OR = bk::OR({c.RST_CAN2_ONE_SHOT, c.RST_OR_IN_2});
    bk::ONE_SHOT(st.CAN2_RST_OS, c.CAN2_RST_OS_ONE_SHOT, &c.CAN2_RST_OS_R_TIME.ref(), c.RST_OR_OR,
                 c.CAN2_RST_OS_DLY_TIME, bk::T20, c.CAN2_RST_OS_RST);
    c.CAN2_RST_OR = bk::OR({RESET.RESET_B_NAME, c.CAN2_RST_OS_ONE_SHOT, c.GO_OPER_RST_ONE_SHOT, c.CAN2_RST_IN_4});
    if (c.CAN2_RST_OR != 0) {
        c.CAN2_P_STAT_LNK_ERR = 0;
        c.CAN2_P_STAT_LNK_ALM = 0;
        c.CAN2_P_STAT_BKUP_ERR = 0;
    }

    // Port silence.
    const uint16_t frames = COImagesApp.ControllerId == 1 ? COImagesApp.RxFrameCount : 0;
    uint16_t& prevFrames = CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[0];
    if (frames == prevFrames) {
        add_ms_saturated(st.silenceErr, kPassMs);
        add_ms_saturated(st.silenceAlm, kPassMs);
        if (st.silenceAlm >= c.CAN2_P_STAT_A_TIMEOUT) c.CAN2_P_STAT_LNK_ALM = 1;
        if (st.silenceErr >= c.CAN2_P_STAT_E_TIMEOUT) c.CAN2_P_STAT_LNK_ERR = 1;
    } else {
        st.silenceErr = kPassMs;
        st.silenceAlm = kPassMs;
    }
    prevFrames = frames;
    c.CAN2_P_STAT_BKUP_ERR = 1;
    c.CAN2_FLT_AND = bk::AND({c.CAN2_P_STAT_LNK_ERR, c.ENA_VL_OR});

    if (CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled != 0 && CNFG_CAN2_CAN2_NTW1_2357_NtwOpen != 0) {
        CanOpenImage* img = &COImagesApp;
        if (c.CAN2_NTW1_AUTOGO2OP != 0) {
            if (++st.goOperPasses > 49) {
                CanOpenGoOperational(1);
                st.goOperPasses = 0;
            }
        }
        if (c.GO_OPER_AND != 0) {
            if (st.goOperLatch == 0) CanOpenNodeGoOperational(1, static_cast<uint8_t>(c.CAN2_NTW1_NODE_ID & 0xFF));
            st.goOperLatch = 1;
        } else {
            st.goOperLatch = 0;
        }
        c.CAN2_NTW1_NMT_STATUS = img->NmtState;
        CanOpenProcessTimers(1);

        // Bus load over this pass's frames.
        const int key = intLock();
        const uint16_t irq = img->NumIrq, bytes = img->NumBytes;
        intUnlock(key);
        const uint16_t dIrq = increase(irq, CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[1]);
        const uint16_t dBytes = increase(bytes, CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[2]);
        const float load = (8.0f * static_cast<float>(dBytes) + 51.0f * static_cast<float>(dIrq)) /
                           (static_cast<float>(img->BaudRate) * 1000.0f) / 0.02f * 100.0f;
        const float filtered = 0.9f * c.CAN2_NTW1_CAN_LOAD + 0.1f * load;
        c.CAN2_NTW1_CAN_LOAD = std::isfinite(filtered) ? filtered : 0.0f;

        c.CAN2_NTW1_RXTXERRS = img->Errors;
        c.CAN2_NTW1_RXOVRFLOW = img->RxOverFlowCounter;
        c.CAN2_NTW1_TXOVRFLOW = img->TxOverFlowCounter;
        c.CAN2_NTW1_BUS_OFF = img->BusOff != 0 ? 1u : 0u;
        status_flags(img->TxStatusFlags, c.CAN2_NTW1_TX_WARN.ref(), c.CAN2_NTW1_TX_ERR.ref());
        status_flags(img->RxStatusFlags, c.CAN2_NTW1_RX_WARN.ref(), c.CAN2_NTW1_RX_ERR.ref());

        // LEDs over a 1.2 s cycle.
        const int32_t t = kPassMs * st.ledCycle;
        const int32_t nmt = c.CAN2_NTW1_NMT_STATUS;
        const bool known = nmt == NMT_STOPPED || nmt == NMT_PRE_OPERATIONAL || nmt == NMT_OPERATIONAL;
        if (c.CAN2_NTW1_BUS_OFF != 0) {
            c.CAN2_NTW1_RED_LED = 1;
            c.CAN2_NTW1_GRN_LED = 0;
        } else if (known) {
            if (nmt == NMT_STOPPED) {
                if (st.ledCycle == 0) c.CAN2_NTW1_GRN_LED = 1;
                if (t > 199) c.CAN2_NTW1_GRN_LED = 0;
            } else if (nmt == NMT_PRE_OPERATIONAL) {
                c.CAN2_NTW1_GRN_LED = ((t / 100) & 2) == 0 ? 1u : 0u;
            } else {
                c.CAN2_NTW1_GRN_LED = 1;
            }
            const bool warn = c.CAN2_NTW1_TX_WARN != 0 || c.CAN2_NTW1_RX_WARN != 0;
            c.CAN2_NTW1_RED_LED = warn && t > 999 ? 1u : 0u;
        }
        ++st.ledCycle;
        if (kPassMs * st.ledCycle > 1199) st.ledCycle = 0;
    } else {
        c.CAN2_NTW1_RXTXERRS = 0;
        c.CAN2_NTW1_RXOVRFLOW = 0;
        c.CAN2_NTW1_TXOVRFLOW = 0;
        c.CAN2_NTW1_BUS_OFF = 1;
        c.CAN2_NTW1_TX_WARN = 0;
        c.CAN2_NTW1_TX_ERR = 0;
        c.CAN2_NTW1_RX_WARN = 0;
        c.CAN2_NTW1_RX_ERR = 0;
        c.CAN2_NTW1_STATE = -1;
        c.CAN2_NTW1_NMT_STATUS = -1;
        c.CAN2_NTW1_GRN_LED = 0;
        c.CAN2_NTW1_RED_LED = 0;
    }
    c.COPEN_ERRS_OR = bk::OR({c.CAN2_NTW1_RX_ERR, c.CAN2_NTW1_TX_ERR});
}

void CNFG_CAN2_after_nodes() {
    auto& c = CNFG_CAN2;
    c.NTW1_NMT_STATUS_I_NAME = c.CAN2_NTW1_NMT_STATUS;
    bk::I_COMPARE(c.NMT_STATUS_5_EQ.ref(), c.NMT_STATUS_5_LT.ref(), c.NMT_STATUS_5_GT.ref(), c.CAN2_NTW1_NMT_STATUS, 5);
    c.PULS_AND = bk::AND({c.NONE_ACTIV_NOR, c.NO_OPERDLY_DELAY});
    bk::ONE_SHOT(CAN2_NTW1_st.PULSE_OS, c.PULSE_OS_ONE_SHOT, &c.PULSE_OS_R_TIME.ref(), c.PULS_AND, kStartPulse, bk::T20);
    c.NOT_NOT = bk::NOT(c.PULSE_OS_ONE_SHOT);
    c.NOT_OPER_OR = bk::OR({c.NMT_STATUS_5_LT, c.NMT_STATUS_5_GT});
    c.NTW1_STATE_I_NAME = c.CAN2_NTW1_STATE;
}

}  // namespace r20
