// CASC_ENTRD: cascade setpoints entered from a Modbus master, the OPC link
// and the service tool. A Modbus or OPC value is adopted once it has
// differed from the last adopted one for the write delay, or at once on its
// go-to command; a service value is adopted on the operator's go command if
// it lies within the setpoint range, and an invalid entry reverts to the
// last accepted value after a while. Each adoption sets its source's go-to
// latch; the latches clear on a shutdown, remote cascade, tracking, a raise
// or lower command, arrival at the value or a scale change. OPC wins over
// the service tool, which wins over Modbus.
#include "app/control/CASC_ENTRD.cells.h"

#include "app/control/CASC_RATE.cells.h"
#include "app/control/CASC_R_L.cells.h"
#include "app/control/CASC_SETPT.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
struct CASC_ENTRD_blocks {
    bk::SampState M1_SMP_TUN, OPC_SMP_TUN, ENTR_CASC_SP;
    bk::DelayState M1_DELAY, OPC_DELAY, LIMITED;
    bk::OneShotState M1_PLS, OPC_PLS, H_SER_OK;
};
BlockRam<CASC_ENTRD_blocks> CASC_ENTRD_st;

constexpr float kGoToPulse = 1.0f;   // s of a Modbus or OPC go-to pulse
constexpr float kServiceGo = 0.5f;   // s of the service tool's go pulse
constexpr float kEntryMin = -20000.0f, kEntryMax = 20000.0f;
constexpr float kServiceMin = -1e30f, kServiceMax = 1e30f;

// One remote path P: the entry one pass old limited to the setpoint range,
// sampled on SAMPLE, the change detection against the last adopted value
// (not while the link or the scale holds it) and the go-to pulse and latch.
#define CASC_ENTRD_PATH(P, ENTRY_Z, SAMPLE, LINK_FAULT, GO_CMD, GO_TO, PLS, LATCH, RST_Z)                           \
    do {                                                                                                            \
        e.P##_SP_LMT_A_LIMITER = bk::A_LIMITER(ENTRY_Z, mn, mx);                                                    \
        bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.P##_SMP_TUN, e.P##_SMP_TUN_TUNE, e.P##_SP_LMT_A_LIMITER, SAMPLE, mn, mx,   \
                                       e.P##_SMP_TUN_ENBL_ENTER, kEntryMin, kEntryMax, wmmm),                       \
                         e.P##_SMP_TUN_SAMP_TUNE, e.P##_SMP_TUN_LIMITED, e.P##_SMP_TUN_EN_ENT_OUT,                  \
                         e.P##_SMP_TUN_LO_LIM_OUT, e.P##_SMP_TUN_HI_LIM_OUT);                                       \
        bk::A_COMPARE(e.P##_EQUAL_A_COMPARE, e.P##_EQUAL_A_EQUAL, e.P##_SP_LMT_A_LIMITER, e.P##_SMP_TUN_SAMP_TUNE); \
        e.P##_CHANGED_NOR = bk::NOR({chg, LINK_FAULT, e.P##_EQUAL_A_EQUAL});                                        \
        bk::DELAY(s.P##_DELAY, e.P##_DELAY_DELAY, &e.P##_DELAY_R_TIME.ref(), e.P##_CHANGED_NOR, MOD.AW_DLY_A_NAME,  \
                  0.0f, bk::T160);                                                                                  \
        e.GO_TO##_OR = bk::OR({e.P##_DELAY_DELAY, GO_CMD});                                                         \
        bk::ONE_SHOT(s.PLS, e.PLS##_ONE_SHOT, &e.PLS##_R_TIME.ref(), e.GO_TO##_OR, kGoToPulse, bk::T160, chg);      \
        bk::LATCH_R(e.LATCH##_LATCH_R, e.PLS##_ONE_SHOT, e.RST_Z##_ZMINUS1_B);                                      \
    } while (0)
}  // namespace

namespace r160 {

void CASC_ENTRD_entries() {
    auto& e = CASC_ENTRD;
    auto& s = CASC_ENTRD_st;
    const float mn = CASC_SETPT.MIN_SETPT_A_NAME, mx = CASC_SETPT.MAX_SETPT_A_NAME;
    const uint32_t wmmm = static_cast<uint32_t>(AllRgExecutedwMMM);
    const uint32_t chg = MOD_SCALE.CAS_CHG_OS_ONE_SHOT;
    const uint32_t pwr_up = PWR_UP_MSG.PWR_UP_RST_ONE_SHOT;
    auto& i = IFACE_IN_CASC;
    i.MOD_LINK_ALARM_B_NAME = ALARMS.ANY_MOD1_ALM_AND;

    // Modbus.
    e.SMPL_M1_OR = bk::OR({e.M1_PLS_ONE_SHOT, pwr_up, ALARMS.LK1_NT_PLS_ONE_SHOT});
    CASC_ENTRD_PATH(M1, e.M1_AW3_Z_ZMINUS1, e.SAMPLEMOD1_ZMINUS1_B, i.MOD_LINK_ALARM_B_NAME, MOD_BW.BW_CMD_SEL_19,
                    MOD1_GO_TO, M1_PLS, GOTO_M1_SP, RST_M1_Z);
    // OPC.
    e.SMPL_OPC_OR = bk::OR({e.OPC_PLS_ONE_SHOT, pwr_up, OPC_DATA.LINK_FLT_OS_ONE_SHOT, MOD_SCALE.CAS_RST_OR_OR});
    CASC_ENTRD_PATH(OPC, e.OPC_AW2_Z_ZMINUS1, e.SAMPLEOPC_ZMINUS1_B, OPC_DATA.LINK_FLT_B_NAME,
                    OPC_DATA.BW_CMDS_SEL_19, OPC_GO_TO, OPC_PLS, GOTO_OPC_SP, RST_OPC_Z);

    // Service tool: an invalid entry that stands for the delay is replaced
    // by the last accepted value.
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.ENTR_CASC_SP, e.ENTR_CASC_SP_TUNE, e.ENTR_SP_Z_ZMINUS1, e.SAMPLE_Z_ZMINUS1_B,
                                   bk::kRealLoLim, bk::kRealHiLim, e.ENTR_CASC_SP_ENBL_ENTER, kServiceMin,
                                   kServiceMax, wmmm),
                     e.ENTR_CASC_SP_SAMP_TUNE, e.ENTR_CASC_SP_LIMITED, e.ENTR_CASC_SP_EN_ENT_OUT,
                     e.ENTR_CASC_SP_LO_LIM_OUT, e.ENTR_CASC_SP_HI_LIM_OUT);
    const float entered = e.ENTR_CASC_SP_SAMP_TUNE;
    bk::A_COMPARE(e.SP_BLW_MIN_A_COMPARE, e.SP_BLW_MIN_A_EQUAL, mn, entered);
    bk::A_COMPARE(e.SP_ABV_MAX_A_COMPARE, e.SP_ABV_MAX_A_EQUAL, entered, mx);
    e.INVALID_SP_OR = bk::OR({bk::AND({e.SP_BLW_MIN_A_COMPARE, bk::NOT(e.SP_BLW_MIN_A_EQUAL)}),
                              bk::AND({e.SP_ABV_MAX_A_COMPARE, bk::NOT(e.SP_ABV_MAX_A_EQUAL)})});
    e.NOT_LIMITED_NOT = bk::NOT(e.INVALID_SP_OR);
    e.GOTO_CMD_AND = bk::AND({i.CAS_TUN_OK_B_NAME, e.NOT_LIMITED_NOT});
    bk::ONE_SHOT(s.H_SER_OK, e.H_SER_OK_ONE_SHOT, &e.H_SER_OK_R_TIME.ref(), e.GOTO_CMD_AND, kServiceGo, bk::T160);
    e.ENTR_CASC_SP_A_SW_A_SW = bk::SW<float>(e.H_SER_OK_ONE_SHOT, e.ENTR_CASC_SP_A_SW_A_SW, entered);
    bk::LATCH_R(e.H_SER_LAT_LATCH_R, e.H_SER_OK_ONE_SHOT, e.RST_ENTR_Z_ZMINUS1_B);
    bk::DELAY(s.LIMITED, e.LIMITED_DELAY, &e.LIMITED_R_TIME.ref(), e.INVALID_SP_OR, e.LIMITED_DLY_TIME, 0.0f, bk::T160);

    // Resets, applied through the unit delays in the next pass.
    e.RST_ENTER_OR = bk::OR({SHUTDOWNS.ANY_SD_B_NAME, IFACE_OUT_CASC.REM_CAS_SEL_B_NAME, CASC_RATE.EN_TRACK_AND,
                             CASC_R_L.RSE_OR_LWR_OR, e.AT_ENTRED_AND, chg});
    e.RST_ENTR_OR = bk::OR({e.RST_ENTER_OR, e.RST_ENTR_IN_1, e.GOTO_M1_SP_LATCH_R});
    e.RST_M1_OR = bk::OR({i.MOD_LINK_ALARM_B_NAME, e.H_SER_LAT_LATCH_R, e.RST_ENTER_OR, e.RST_M1_IN_4});
    e.RST_OPC_OR = bk::OR({OPC_DATA.LINK_FLT_B_NAME, e.H_SER_LAT_LATCH_R, e.RST_ENTER_OR, e.RST_OPC_IN_4});
    e.GO_CMD_OR_OR = bk::OR({e.H_SER_OK_ONE_SHOT, e.M1_PLS_ONE_SHOT});
    e.H_SER_OK_NOT_NOT = bk::NOT(e.GO_CMD_OR_OR);

    // The value to go to: OPC, then the service tool, then Modbus, else
    // the present setpoint.
    const refbk::MuxIn mux[] = {{1, e.GOTO_M1_SP_LATCH_R, e.M1_SMP_TUN_SAMP_TUNE},
                                {2, e.H_SER_LAT_LATCH_R, e.ENTR_CASC_SP_A_SW_A_SW},
                                {3, e.GOTO_OPC_SP_LATCH_R, e.OPC_SMP_TUN_SAMP_TUNE}};
    e.ENTRD_MUX_INT_SEL = refbk::A_MUX_HSS(e.ENTRD_MUX_A_MUX_HSS, mux, CASC_SETPT.SETPT_Z_ZMINUS1);
    CASC_SETPT.ENTRD_SP_OR = bk::OR({e.H_SER_LAT_LATCH_R, e.GOTO_M1_SP_LATCH_R, CASC_SETPT.ENTRD_SP_IN_3});
}

}  // namespace r160

namespace r80 {

void CASC_ENTRD_arrived() {
    CASC_ENTRD.AT_ENTRED_AND = bk::AND({CASC_ENTRD.H_SER_OK_NOT_NOT, CASC_SETPT.SETPT_P_LIM_3});
}

}  // namespace r80
