// OPC_DATA: the command booleans of the OPC link, latched while its write
// window is open, the lists of values it reads with their descriptions, the
// two reals it writes, and the supervision of the link's heartbeat.
#include "app/interface/OPC_DATA.cells.h"

#include "app/control/RESET.cells.h"
#include "app/interface/OPC_DATA_texts.h"
#include "app/interface/command_latch.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

constexpr int kCommands = 20;
constexpr int32_t kPulseOnRise = 5;
constexpr float kLinkFaultPulse = 2.0f;
constexpr float kClearPulse = 1.0f;
constexpr float kWindowOffDelay = 0.5f;
// The written reals have no limits in force but the widest a real allows.
constexpr float kWrittenLo = -1e38f, kWrittenHi = 1e38f;

struct OPC_DATA_blocks {
    CommandLatchState<kCommands> BW_CMDS;
    uint32_t sel4_prev;
    bk::DelayState BEAT_F, BEAT_T;
    bk::OneShotState LINK_FLT_OS;
    bk::SampState OPC_AW_1, OPC_AW_2;
    bk::OneShotState CLEAR_BWS;
    bk::DelayState WRIT_OFF_DLY;
    bk::FlipFlopState<1> BEAT;
};
BlockRam<OPC_DATA_blocks> OPC_DATA_st;

}  // namespace

namespace r80 {

void OPC_DATA_commands() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
#define OPC_DATA_EACH(M)                                                                                          \
    M(1) M(2) M(3) M(4) M(5) M(6) M(7) M(8) M(9) M(10) M(11) M(12) M(13) M(14) M(15) M(16) M(17) M(18) M(19) M(20)
#define OPC_DATA_COPY(n) c.BW_LIST_LIST_##n = c.BW_LIST_IN_##n;
    OPC_DATA_EACH(OPC_DATA_COPY)
#undef OPC_DATA_COPY

    if (c.WRIT_OFF_DLY_DELAY != 0) {
#define OPC_DATA_SEL(n) &c.BW_CMDS_SEL_##n.ref(),
#define OPC_DATA_NO(n) &c.BW_CMDS_ALM_NO_##n.ref(),
#define OPC_DATA_IN(n) c.BW_LIST_LIST_##n,
        const CommandLatchCells<kCommands> cells{c.BW_CMDS_LATCH1, c.BW_CMDS_LOGICAL_OR, c.BW_CMDS_HORN,
                                                 c.BW_CMDS_FIRST_ALM, {OPC_DATA_EACH(OPC_DATA_SEL)},
                                                 {OPC_DATA_EACH(OPC_DATA_NO)}};
        const uint32_t in[kCommands] = {OPC_DATA_EACH(OPC_DATA_IN)};
#undef OPC_DATA_SEL
#undef OPC_DATA_NO
#undef OPC_DATA_IN
        command_latch(s.BW_CMDS, cells, in, c.BW_CMDS_RST, c.CLEAR_BWS_ONE_SHOT);
    }
#undef OPC_DATA_EACH

    RESET.RST_OPC_ACT_OUT = kPulseOnRise;
    RESET.RST_OPC_B_ACTION = bk::AND({c.BW_CMDS_SEL_4, bk::NOT(RESET.RST_OPC_RST_2), bk::NOT(s.sel4_prev)});
    s.sel4_prev = c.BW_CMDS_SEL_4;
}

void OPC_DATA_lists() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
    // The link writes the tunables themselves: nothing is sampled into them.
    const uint32_t wmmm = static_cast<uint32_t>(AllRgExecutedwMMM);
#define OPC_DATA_WRITTEN(B)                                                                                     \
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.B, c.B##_TUNE, 0.0f, 0, kWrittenLo, kWrittenHi, c.B##_ENBL_ENTER, kWrittenLo, \
                                   kWrittenHi, wmmm),                                                           \
                     c.B##_SAMP_TUNE, c.B##_LIMITED, c.B##_EN_ENT_OUT, c.B##_LO_LIM_OUT, c.B##_HI_LIM_OUT)
    OPC_DATA_WRITTEN(OPC_AW_1);
    OPC_DATA_WRITTEN(OPC_AW_2);
#undef OPC_DATA_WRITTEN
    c.AW_LIST_LIST_1 = c.OPC_AW_1_SAMP_TUNE;
    c.AW_LIST_LIST_2 = c.OPC_AW_2_SAMP_TUNE;
}

void OPC_DATA_link() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
    c.HB_NOT_NOT = bk::NOT(c.HEARTBEAT_B_NAME);
    c.HB_TIMEOUT_A_NAME = c.HB_TIMEOUT_IN;
    bk::DELAY(s.BEAT_F, c.BEAT_F_DELAY, nullptr, c.HB_NOT_NOT, c.HB_TIMEOUT_A_NAME, 0.0f, bk::T80);
    bk::DELAY(s.BEAT_T, c.BEAT_T_DELAY, nullptr, c.HEARTBEAT_B_NAME, c.HB_TIMEOUT_A_NAME, 0.0f, bk::T80);
    c.HB_LOST_OR = bk::OR({c.BEAT_T_DELAY, c.BEAT_F_DELAY, c.HB_LOST_IN_3});
    c.ENA_FLT_AND = bk::AND({c.HB_LOST_OR, c.ENA_WRITES_B_NAME, c.ENA_FLT_IN_3});
    c.LINK_FLT_B_NAME = c.ENA_FLT_AND;
    bk::ONE_SHOT(s.LINK_FLT_OS, c.LINK_FLT_OS_ONE_SHOT, nullptr, c.LINK_FLT_B_NAME, kLinkFaultPulse, bk::T80);
    c.OPC_TRIP_AND = bk::AND({c.ENA_OPC_TRIP_B_NAME, c.BW_CMDS_SEL_3, c.NO_FLT_NOT});
}

}  // namespace r80

namespace r160 {

void OPC_DATA_items() {
    auto& c = OPC_DATA;
#define OPC_DATA_TEXT(LIST, n) c.LIST##_LIST_LIST_##n = opc_items::LIST##_LIST[(n) - 1];
    OPC_DATA_EACH_48(OPC_DATA_TEXT, ARS)
    OPC_DATA_TEXT(AWS, 1)
    OPC_DATA_TEXT(AWS, 2)
    OPC_DATA_EACH_78(OPC_DATA_TEXT, BRS)
    OPC_DATA_EACH_20(OPC_DATA_TEXT, BWS)
#undef OPC_DATA_TEXT
}

void OPC_DATA_write_enable() {
    auto& c = OPC_DATA;
    OPC_DATA_blocks& s = OPC_DATA_st;
    c.ENA_WRITES_B_NAME = c.ENA_WRITES_IN;
    c.WRIT_OFF_NOT = bk::NOT(c.ENA_WRITES_B_NAME);
    // Writes start disabled, so the first pass clears the commands as well.
    bk::ONE_SHOT(s.CLEAR_BWS, c.CLEAR_BWS_ONE_SHOT, nullptr, c.WRIT_OFF_NOT, kClearPulse, bk::T160);
    bk::DELAY(s.WRIT_OFF_DLY, c.WRIT_OFF_DLY_DELAY, nullptr, c.ENA_WRITES_B_NAME, 0.0f, kWindowOffDelay, bk::T160);
    c.ENA_OPC_B_NAME = c.ENA_OPC_IN;
    c.ENA_OPC_TRIP_B_NAME = c.ENA_OPC_TRIP_IN;
    // Command 20 of the link toggles its heartbeat.
    bk::T_FLIPFLOP(s.BEAT, c.BEAT_T_FLIPFLOP, {c.BW_CMDS_SEL_20});
    c.HEARTBEAT_B_NAME = c.BEAT_T_FLIPFLOP;
    c.NO_FLT_NOT = bk::NOT(c.LINK_FLT_B_NAME);
}

}  // namespace r160
