// IFACE_MODE: the local display among the service connections and its
// user's access level, the display and controller heartbeats, the boot
// phase, the operating modes and the display languages.
#include "app/interface/IFACE_MODE.cells.h"

#include <cstdio>
#include <cstring>

#include "app/config/CALMODE.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/RESET.cells.h"
#include "app/interface/F_KEY.cells.h"
#include "app/sys_vars.h"
#include "runtime/appinit.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "service/TwControl.h"
#include "service/TwTcp.h"
#include "storage/eefile.h"

namespace {

constexpr int kSlots = TW_TCP_PORTS;
constexpr int32_t kLoopback = 0x7F000001;  // 127.0.0.1
constexpr int32_t kConfigureLevel = 3;
constexpr int32_t kServiceUserLevel = 11;
constexpr int32_t kWriteStatus = 3;
constexpr float kHeartbeatHold = 2.0f;

struct IFACE_MODE_blocks {
    bk::SvcCmdState<1> QT_OI_LOCAL;
    bk::OneShotState USER_STOP;
    bk::DelayState QT_TROUBLE;
    bk::FlipFlopState<2> SERVICE;
    bk::FlipFlopState<1> BEAT;
    bk::ElapsedState TIMER;
};
BlockRam<IFACE_MODE_blocks> IFACE_MODE_st;

// One service client slot's cells, by slot number.
struct SlotCells {
    uint32_t& addr;
    int32_t& sts;
    int32_t& lev;
    int32_t& err;
    int32_t& socket;
    uint32_t& gt;
    uint32_t& lt;
    uint32_t& eq;
};

SlotCells slot_cells(int n) {
#define IFACE_MODE_SLOT_CELLS(k)                                                                   \
    SlotCells {                                                                                    \
        IFACE_MODE.TALLWIRE_IP_ADDR_##k, IFACE_MODE.TALLWIRE_IP_STS_##k, IFACE_MODE.TALLWIRE_IP_LEV_##k, \
            IFACE_MODE.TALLWIRE_IP_ERR_##k, IFACE_MODE.TW_SOCKET_##k##_I_NAME,                     \
            IFACE_MODE.LOCATE_DISPLY_##k##_GT, IFACE_MODE.LOCATE_DISPLY_##k##_LT,                  \
            IFACE_MODE.LOCATE_DISPLY_##k##_EQ                                                      \
    }
    using namespace r80;
    switch (n) {
        case 1: return IFACE_MODE_SLOT_CELLS(1);
        case 2: return IFACE_MODE_SLOT_CELLS(2);
        case 3: return IFACE_MODE_SLOT_CELLS(3);
        case 4: return IFACE_MODE_SLOT_CELLS(4);
        case 5: return IFACE_MODE_SLOT_CELLS(5);
        case 6: return IFACE_MODE_SLOT_CELLS(6);
        case 7: return IFACE_MODE_SLOT_CELLS(7);
        default: return IFACE_MODE_SLOT_CELLS(8);
    }
#undef IFACE_MODE_SLOT_CELLS
}

// The identifier buffers hold at most kIdentifierBytes characters; a text
// that fills its buffer has no terminator, so the copy stops at the buffer.
void copy_identifier(StrCell& out, const char* id) {
    char text[kIdentifierBytes + 1];
    std::memcpy(text, id, kIdentifierBytes);
    text[kIdentifierBytes] = '\0';
    str_cell_copy(out, text);
}

// The highest-numbered slot whose peer is the loopback address (0: none),
// with the value `pick` takes from it.
template <class Pick>
int32_t local_slot(int32_t& value, Pick pick) {
    int32_t slot = 0;
    value = 0;
    for (int n = 1; n <= kSlots; ++n) {
        const SlotCells c = slot_cells(n);
        if (c.eq == 1) {
            slot = n;
            value = pick(c);
        }
    }
    return slot;
}

// A display language by its selector; outside 1 .. 10 the text stays.
void language(StrCell& out, int32_t select) {
    bk::S_MUX(out, select,
              {"English", "Portuguese", "Spanish", "Russian", "Chinese", "Japanese", "Lang_7", "Lang_8", "Lang_9",
               "Lang_10"});
}

}  // namespace

void IFACE_MODE_heartbeat_written(uint32_t value) {
    bk::SVC_CMD_WRITTEN(IFACE_MODE_st.QT_OI_LOCAL, 1, value, kHeartbeatHold);
}

void join_app_id(char (&out)[40], const char* name, const char* date) {
    std::snprintf(out, sizeof out, "%s %s", name, date);
}

void IFACE_MODE_identity_init_blks() {
    auto& t = cells::IFACE_MODE;
    char appId[40];
    join_app_id(appId, uvAppName, _CdrDate);
    t.TALLWIRE_APP_ID = appId;
    t.TALLWIRE_PRODUCT_ID = sys_control_name;
    t.TALLWIRE_PROTOCOL_ID = "Tallwire Classic v2.05";
    t.TALLWIRE_SYSTEM_ID = OSVersionNumber;
    // At most 31 characters of the stored identifier; the rest of the
    // running copy is cleared.
    size_t n = 0;
    for (; n < sizeof ram_ControlID - 1 && ee_ControlID[n] != '\0'; ++n) ram_ControlID[n] = ee_ControlID[n];
    for (; n < sizeof ram_ControlID; ++n) ram_ControlID[n] = '\0';
}

void IFACE_MODE_init_blks() { bk::SVC_CMD_INIT(IFACE_MODE_st.QT_OI_LOCAL, kHeartbeatHold); }

namespace r80 {

void IFACE_MODE_local_level() {
    auto& m = IFACE_MODE;
    for (int n = 1; n <= kSlots; ++n) {
        const TwTcpPort& p = TWTcpPorts[n - 1];
        const SlotCells c = slot_cells(n);
        const bool used = p.inUse != 0;
        c.addr = used ? p.peerAddress : 0u;
        c.sts = used ? p.tokenState : 0;
        c.lev = used ? p.securityLevel : 0;
        c.err = used ? p.lastChannelError : 0;
    }
    copy_identifier(m.TALLWIRE_CONTROL_ID, ram_ControlID);
    copy_identifier(m.TALLWIRE_CONFIG_ID, ram_ConfigID);
    for (int n = 1; n <= kSlots; ++n) {
        const SlotCells c = slot_cells(n);
        c.socket = static_cast<int32_t>(c.addr);
        bk::I_COMPARE(c.eq, c.lt, c.gt, static_cast<int32_t>(c.addr), kLoopback);
    }
    int32_t level = 0;
    m.LOCAL_LEVEL_INT_SEL = local_slot(level, [](const SlotCells& c) { return c.lev; });
    m.LOCAL_LEVEL_I_MUX_HSS = level;
    if (m.LOCAL_LEVEL_INT_SEL == 0) {
        m.LOCAL_CNFG_GT = 0;
        m.LOCAL_CNFG_EQ = 0;
        m.LOCAL_CNFG_LT = 1;
    } else {
        bk::I_COMPARE(m.LOCAL_CNFG_EQ, m.LOCAL_CNFG_LT, m.LOCAL_CNFG_GT, level, kConfigureLevel);
    }
    m.CNFG_OR_ABOV_OR = bk::OR({m.LOCAL_CNFG_GT, m.LOCAL_CNFG_EQ, m.CNFG_OR_ABOV_IN_3});
    m.CNFG_USER_B_NAME = m.CNFG_OR_ABOV_OR;
}

void IFACE_MODE_level_flags() {
    auto& m = IFACE_MODE;
    const int32_t level = m.LOCAL_LEVEL_I_MUX_HSS;
    bk::I_COMPARE(m.LOCAL_MONITR_EQ, m.LOCAL_MONITR_LT, m.LOCAL_MONITR_GT, level, 0);
    m.ABOV_MON_B_NAME = m.LOCAL_MONITR_GT;
    m.MON_ONLY_B_NAME = m.LOCAL_MONITR_EQ;
    int32_t status = 0;
    m.LOCAL_STATUS_INT_SEL = local_slot(status, [](const SlotCells& c) { return c.sts; });
    m.LOCAL_STATUS_I_MUX_HSS = status;
    m.LOCAL_DISP_SOCKET_I_NAME = m.LOCAL_STATUS_INT_SEL;
    m.LOCAL_DISP_WRITE_B_NAME = 0;
    bk::I_COMPARE(m.LOCAL_SERV_USER_EQ, m.LOCAL_SERV_USER_LT, m.LOCAL_SERV_USER_GT, level, kServiceUserLevel);
    m.SU_OR_GREATER_OR = bk::OR({m.LOCAL_SERV_USER_EQ, m.LOCAL_SERV_USER_GT});
    m.SERV_USER_B_NAME = m.SU_OR_GREATER_OR;
    bk::I_COMPARE(m.LOCAL_WRITE_EQ, m.LOCAL_WRITE_LT, m.LOCAL_WRITE_GT, status, kWriteStatus);
    RESET.PWR_UP_N_NOT = bk::NOT(RESET.PWR_UP_RST_ONE_SHOT);
    m.OP_ONLY_AND = bk::AND({RESET.PWR_UP_N_NOT, m.NO_OTHER_NOR});
    m.OPERATE_B_NAME = m.OP_ONLY_AND;
}

}  // namespace r80

namespace r160 {

void IFACE_MODE_modes() {
    auto& m = IFACE_MODE;
    IFACE_MODE_blocks& s = IFACE_MODE_st;

    // The controller's heartbeat: a beat every heartbeat cycle.
    bk::ELAPSED(s.TIMER, m.TIMER_OUT_1, m.TIMER_ELAP_TIME, m.LOOP1_ZMINUS1_B, 1, bk::T160);
    m.HEART_CYCLE_A_COMPARE = m.TIMER_OUT_1 >= m.HEART_CYCLE_IN_2 ? 1u : 0u;
    m.HEART_CYCLE_A_EQUAL = m.TIMER_OUT_1 == m.HEART_CYCLE_IN_2 ? 1u : 0u;
    bk::T_FLIPFLOP(s.BEAT, m.BEAT_T_FLIPFLOP, {m.LOOP1_ZMINUS1_B});
    m.TIQ_HEARTBEAT_B_NAME = m.BEAT_T_FLIPFLOP;
    m.A_PT_A_NAME = m.A_PT_IN;
    m.B_PT_B_NAME = m.B_PT_IN;

    // The display application's heartbeat, boot window and display trouble.
    bk::SVC_CMD(s.QT_OI_LOCAL, 1, m.QT_OI_LOCAL_IN_1, m.QT_OI_LOCAL_OUT_1, kHeartbeatHold, bk::T160);
    m.QT_HEARTBEAT_B_NAME = m.QT_OI_LOCAL_OUT_1;
    bk::ONE_SHOT(s.USER_STOP, m.USER_STOP_ONE_SHOT, &m.USER_STOP_R_TIME.ref(), m.USER_STOP_TRIGGER,
                 m.USER_STOP_DLY_TIME, bk::T160, m.QT_HEARTBEAT_B_NAME);
    m.BOOT_CMPLT_NOT = bk::NOT(m.USER_STOP_ONE_SHOT);
    m.NOT_NOT = bk::NOT(m.QT_OI_LOCAL_OUT_1);
    bk::DELAY(s.QT_TROUBLE, m.QT_TROUBLE_DELAY, &m.QT_TROUBLE_R_TIME.ref(), m.NOT_NOT, m.QT_TROUBLE_DLY_TIME, 0.0f,
              bk::T160);
    m.BLINK_ALMLED_AND = bk::AND({m.USER_STOP_ONE_SHOT, F_KEY.BLINK_OFF_ONE_SHOT, m.QT_TROUBLE_DELAY});
    m.ENA_ALM_AND = bk::AND({m.BOOT_CMPLT_NOT, m.QT_TROUBLE_DELAY});
    m.DISPLAY_FLT_B_NAME = m.ENA_ALM_AND;
    m.NO_DISP_FLT_NOT = bk::NOT(m.DISPLAY_FLT_B_NAME);

    // Modes.
    m.CONFIGURE_B_NAME = MASTER.IO_LOCK_B_NAME;
    m.NO_CNFG_NOT = bk::NOT(m.CONFIGURE_B_NAME);
    m.CAL_ONLY_AND = bk::AND({CALMODE.CALMODE_B_NAME, m.NO_CNFG_NOT});
    m.CALIBRATION_B_NAME = m.CAL_ONLY_AND;
    m.ENTER_SERVICE_B_NAME = m.ENTER_SERVICE_IN;
    m.OR_OR = bk::OR({m.CALIBRATION_B_NAME, m.CONFIGURE_B_NAME, m.OR_IN_3});
    if (m.OR_OR != 0) {
        // Held off: the edge memories follow the inputs, so releasing the
        // reset does not toggle.
        m.T_FLIPFLOP_T_FLIPFLOP = 0;
        s.SERVICE.edge[0] = m.ENTER_SERVICE_B_NAME;
        s.SERVICE.edge[1] = m.T_FLIPFLOP_IN_2;
    } else {
        bk::T_FLIPFLOP(s.SERVICE, m.T_FLIPFLOP_T_FLIPFLOP, {m.ENTER_SERVICE_B_NAME, m.T_FLIPFLOP_IN_2});
    }
    m.SERVICE_B_NAME = m.T_FLIPFLOP_T_FLIPFLOP;
    m.NO_OTHER_NOR = bk::NOR({m.SERVICE_B_NAME, m.CALIBRATION_B_NAME, m.CONFIGURE_B_NAME});
    m.TRUE_B_NAME = 1;
    m.ZERO_A_NAME = 0.0f;
    m.FALSE_B_NAME = 0;

    // Languages.
    m.I_ENUM_I_NAME = m.I_ENUM_IN;
    language(m.LANGUAGE_SEL_S_MUX_N_1, m.LANGUAGE_SEL_SELECT);
    language(m.LANGUAGE_SEL_REMOTE_S_MUX_N_1, m.LANGUAGE_SEL_REMOTE_SELECT);

    // The heartbeat comparison reaches the timer one pass late.
    m.LOOP1_ZMINUS1_B = m.HEART_CYCLE_A_COMPARE;
}

}  // namespace r160
