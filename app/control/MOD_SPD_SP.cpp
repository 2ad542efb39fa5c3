// MOD_SPD_SP and OPC_SPD_SP: the speed setpoints entered over Modbus and OPC,
// each held between its minimum and the maximum governor speed, the OPC
// go-to latch, and the Modbus entry's reset and sample requests.
#include "app/control/MOD_SPD_SP.cells.h"

#include "app/control/ENTR_SETPT.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/OPC_SPD_SP.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
struct SPD_SP_entry_blocks {
    bk::SampState M1_SMP_TUN;
    bk::DelayState delay;
    bk::OneShotState pulse;
    float written_z;  // unit-delay stores
    uint32_t sample_z, reset_z;
};
struct SPD_SP_blocks {
    SPD_SP_entry_blocks modbus, opc;
};
BlockRam<SPD_SP_blocks> SPD_SP_st;

constexpr float kEntryMin = -10.0f, kEntryMax = 20000.0f;
constexpr float kGoToPulse = 1.0f;  // s

// One path's entry: on a new sample request the tunable takes the written
// value of the pass before; a written value that differs from it (no link
// fault) for the write delay, or the go-to command, gives the go-to pulse.
#define SPD_SP_ENTRY(M, ST, WRITTEN_Z, LINK_FAULT, CHG, DLY, GO_CMD, GO_TO, PLS)                                       \
    do {                                                                                                               \
        auto& m = M;                                                                                                   \
        auto& st = ST;                                                                                                 \
        bk::SAMP_OUTPUTS(bk::SAMP_TUNE(st.M1_SMP_TUN, m.M1_SMP_TUN_TUNE, WRITTEN_Z, m.SAMPLEMOD1_ZMINUS1_B, kEntryMin, \
                                       kEntryMax, m.M1_SMP_TUN_ENBL_ENTER, kEntryMin, kEntryMax, wmmm),                \
                         m.M1_SMP_TUN_SAMP_TUNE, m.M1_SMP_TUN_LIMITED, m.M1_SMP_TUN_EN_ENT_OUT,                        \
                         m.M1_SMP_TUN_LO_LIM_OUT, m.M1_SMP_TUN_HI_LIM_OUT);                                            \
        bk::A_COMPARE(m.M1_EQUAL_A_COMPARE, m.M1_EQUAL_A_EQUAL, WRITTEN_Z, m.M1_SMP_TUN_SAMP_TUNE);                    \
        m.CHG##_NOR = bk::NOR({m.M1_EQUAL_A_EQUAL, LINK_FAULT});                                                       \
        bk::DELAY(st.delay, m.DLY##_DELAY, &m.DLY##_R_TIME.ref(), m.CHG##_NOR, MOD.AW_DLY_A_NAME, 0.0f, bk::T160);     \
        m.GO_TO##_OR = bk::OR({GO_CMD, m.DLY##_DELAY});                                                                \
        bk::ONE_SHOT(st.pulse, m.PLS##_ONE_SHOT, &m.PLS##_R_TIME.ref(), m.GO_TO##_OR, kGoToPulse, bk::T160);           \
    } while (0)
}  // namespace

namespace r160 {

namespace {

// The minimum of an entry: 0 when the switch is set, else the lower speed
// setpoint limit; the entry is limited to [minimum, maximum governor], the
// maximum winning.
float entry_limited(uint32_t zeroMinimum, float& minimum, float sampled) {
    minimum = zeroMinimum != 0 ? 0.0f : static_cast<float>(SPDC.LOWER_SP_A_SW);
    return bk::A_LIMITER(sampled, minimum, IFACE_IN_SPEED.MAX_GOV_A_NAME);
}

}  // namespace

void MOD_SPD_SP_link_entries() {
    const uint32_t wmmm = static_cast<uint32_t>(AllRgExecutedwMMM);
    SPD_SP_ENTRY(MOD_SPD_SP, SPD_SP_st.modbus, MOD_SPD_SP.M1_AW2_Z_ZMINUS1, IFACE_IN_SPEED.MOD_LINK_ALARM_B_NAME,
                 M1_CHANGED, M1_DELAY, MOD_BW.BW_CMD_SEL_18, MOD1_GO_TO, M1_PLS);
    bk::LATCH_R(MOD_SPD_SP.GOTO_M1_SP_LATCH_R.ref(), MOD_SPD_SP.M1_PLS_ONE_SHOT, MOD_SPD_SP.RST_M1_Z_ZMINUS1_B);
    SPD_SP_ENTRY(OPC_SPD_SP, SPD_SP_st.opc, OPC_SPD_SP.M1_AW2_Z_ZMINUS1, OPC_DATA.LINK_FLT_B_NAME, AW1_CHANGED,
                 AW1_DELAY, OPC_DATA.BW_CMDS_SEL_18, OPC_GO_TO, OPC_PLS);
}

void MOD_SPD_SP_entries() {
    auto& m = MOD_SPD_SP;
    m.M1_SP_A_LIMITER = entry_limited(m.MIN_SETPT_CTRL, m.MIN_SETPT_A_SW.ref(), m.M1_SMP_TUN_SAMP_TUNE);
    auto& o = OPC_SPD_SP;
    o.AW1_SP_A_LIMITER = entry_limited(o.MIN_SETPT_CTRL, o.MIN_SETPT_A_SW.ref(), o.M1_SMP_TUN_SAMP_TUNE);
    bk::LATCH_R(o.GOTO_OPC_SP_LATCH_R.ref(), o.OPC_PLS_ONE_SHOT, o.RST_M1_Z_ZMINUS1_B);
}

void MOD_SPD_SP_requests() {
    auto& m = MOD_SPD_SP;
    IFACE_IN_SPEED.MOD_LINK_ALARM_B_NAME = ALARMS.ANY_MOD1_ALM_AND;
    m.RST_M1_OR = bk::OR({ENTR_SETPT.H_SER_LAT_LATCH_R, ENTR_SETPT.H_SER_DIS_OR, m.RST_M1_IN_3,
                          IFACE_IN_SPEED.MOD_LINK_ALARM_B_NAME});
    m.SMPL_M1_OR =
        bk::OR({m.M1_PLS_ONE_SHOT, PWR_UP_MSG.PWR_UP_RST_ONE_SHOT, m.SMPL_M1_IN_3, ALARMS.LK1_NT_PLS_ONE_SHOT});
}

void OPC_SPD_SP_requests() {
    auto& o = OPC_SPD_SP;
    o.RST_M1_OR =
        bk::OR({ENTR_SETPT.H_SER_LAT_LATCH_R, ENTR_SETPT.H_SER_DIS_OR, o.RST_M1_IN_3, OPC_DATA.LINK_FLT_B_NAME});
    o.SMPL_M1_OR = bk::OR(
        {o.OPC_PLS_ONE_SHOT, PWR_UP_MSG.PWR_UP_RST_ONE_SHOT, o.SMPL_M1_IN_3, OPC_DATA.LINK_FLT_OS_ONE_SHOT});
}

void MOD_SPD_SP_store_delays() {
    auto& m = SPD_SP_st.modbus;
    m.written_z = MOD.MOD1_AW_V_1;
    m.sample_z = MOD_SPD_SP.SMPL_M1_OR;
    m.reset_z = MOD_SPD_SP.RST_M1_OR;
    auto& o = SPD_SP_st.opc;
    o.written_z = OPC_DATA.AW_LIST_LIST_1;
    o.sample_z = OPC_SPD_SP.SMPL_M1_OR;
    o.reset_z = OPC_SPD_SP.RST_M1_OR;
}

void MOD_SPD_SP_commit_delays() {
    const auto commit = [](const auto& m, const SPD_SP_entry_blocks& s) {
        m.M1_AW2_Z_ZMINUS1 = bk::finite(s.written_z) ? s.written_z : 0.0f;
        m.SAMPLEMOD1_ZMINUS1_B = s.sample_z;
        m.RST_M1_Z_ZMINUS1_B = s.reset_z;
    };
    commit(MOD_SPD_SP, SPD_SP_st.modbus);
    commit(OPC_SPD_SP, SPD_SP_st.opc);
}

}  // namespace r160
