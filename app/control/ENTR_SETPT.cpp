// ENTR_SETPT and MOD_SPD_SP: the entered speed setpoint and the selection
// among the entered setpoints (160 ms).
#include "app/control/OPC_SPD_SP.cells.h"
#include "app/control/ENTR_SETPT.cells.h"

#include "app/control/IDLE_RTD.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/MOD_SPD_SP.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/REMOTE.cells.h"
#include "app/control/RMT_ENBL.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_R_L.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
struct ENTR_SETPT_blocks {
    bk::SampState ENTR_SETPT;
    bk::DelayState LIMITED, CRIT_ENTRD;
    bk::OneShotState H_SER_OK, CRITPLS, IDL_RTD_OS, AUTO_ST_OS;
    refbk::EdgeState DIRECT_ENT;
    uint32_t sample_z, crit_bnd_z, ser_dis_z;  // unit-delay stores
    float entr_setpt_z;
};
BlockRam<ENTR_SETPT_blocks> ENTR_SETPT_st;
constexpr float kAutoStartPulse = 0.2f;  // s: two 160 ms passes
}  // namespace

namespace r40 {

// The reference has arrived at the entered value once the go-to pulse is
// over: that drops the go-to latch. Every go-to pulse counts (the service
// tool's, the Modbus map's and the OPC link's): while no go-to is latched
// the target is the reference itself, so a match during the pulse would
// reset the latch that the pulse is to set.
void ENTR_SETPT_matched() {
    ENTR_SETPT.B_H_SER_OK_NOT_NOT =
        bk::NOT(bk::OR({ENTR_SETPT.H_SER_OK_ONE_SHOT, MOD_SPD_SP.M1_PLS_ONE_SHOT, OPC_SPD_SP.OPC_PLS_ONE_SHOT}));
    ENTR_SETPT.ENTR_MTCHD_AND = bk::AND({ENTR_SETPT.B_H_SER_OK_NOT_NOT, SPDC.SPEED_REF_P_LIM_10});
}

}  // namespace r40

namespace r160 {

void ENTR_SETPT_entry() {
    auto& c = ENTR_SETPT;
    auto& s = ENTR_SETPT_st;
    // A refused entry reverts to the last accepted value.
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.ENTR_SETPT, c.ENTR_SETPT_TUNE, c.ENTR_SETPT_Z_ZMINUS1, c.SAMPLE_Z_ZMINUS1_B,
                                   0.0f, 1e38f, c.ENTR_SETPT_ENBL_ENTER, -1.0f, 1e38f, static_cast<uint32_t>(AllRgExecutedwMMM)),
                     c.ENTR_SETPT_SAMP_TUNE, c.ENTR_SETPT_LIMITED, c.ENTR_SETPT_EN_ENT_OUT, c.ENTR_SETPT_LO_LIM_OUT,
                     c.ENTR_SETPT_HI_LIM_OUT);
    const float entry = c.ENTR_SETPT_SAMP_TUNE;
    // Validity: within [lower limit, maximum governor], outside critical band 1.
    bk::A_COMPARE(c.SP_MIN_A_COMPARE, c.SP_MIN_A_EQUAL, SPDC.LOWER_SP_A_SW, entry);
    c.SP_BLW_MIN_AND = bk::AND({c.SP_MIN_A_COMPARE, bk::NOT(c.SP_MIN_A_EQUAL)});
    bk::A_COMPARE(c.SP_MAX_A_COMPARE, c.SP_MAX_A_EQUAL, entry, IFACE_IN_SPEED.MAX_GOV_A_NAME);
    c.SP_ABV_MAX_AND = bk::AND({c.SP_MAX_A_COMPARE, bk::NOT(c.SP_MAX_A_EQUAL)});
    c.CRIT_BND_1_AND = bk::AND({CNFG_SETPT.CRIT_SPD_1_MAX_A_NAME >= entry ? 1u : 0u, CONF_VAL_1.CRIT_BAND1_B_NAME,
                                entry >= IFACE_IN_START.SET_LOW1_A_NAME ? 1u : 0u});
    c.INVALID_SP_OR = bk::OR({c.SP_BLW_MIN_AND, c.SP_ABV_MAX_AND, c.CRIT_BND_Z_ZMINUS1_B});
    c.NOT_LIMITED_NOT = bk::NOT(c.INVALID_SP_OR);
    bk::DELAY(s.LIMITED, c.LIMITED_DELAY, &c.LIMITED_R_TIME.ref(), c.INVALID_SP_OR, c.LIMITED_DLY_TIME, 0.0f, bk::T160);
    // The go-to command takes a valid entry.
    c.GOTO_CMD_AND = bk::AND({IFACE_IN_SPEED.GOTO_ENTR_SP_B_NAME, c.NOT_LIMITED_NOT, SPDC.ABOV_MING_OR});
    bk::ONE_SHOT(s.H_SER_OK, c.H_SER_OK_ONE_SHOT, &c.H_SER_OK_R_TIME.ref(), c.GOTO_CMD_AND, 0.5f, bk::T160);
    if (c.H_SER_OK_ONE_SHOT != 0) c.ENTR_SETPT_A_SW_A_SW = entry;
    // Critical band.
    bk::ONE_SHOT(s.CRITPLS, c.CRITPLS_ONE_SHOT, &c.CRITPLS_R_TIME.ref(), c.CRIT_BND_Z_ZMINUS1_B, c.CRITPLS_DLY_TIME,
                 bk::T160);
    bk::DELAY(s.CRIT_ENTRD, c.CRIT_ENTRD_DELAY, &c.CRIT_ENTRD_R_TIME.ref(), c.CRITPLS_ONE_SHOT, c.CRIT_ENTRD_DLY_TIME,
              0.0f, bk::T160);
    // The service latch.
    c.RST_SRVLAT_OR = bk::OR({c.RST_SRVLAT_IN_1, c.SER_DIS_Z_ZMINUS1_B});
    bk::LATCH_R(c.H_SER_LAT_LATCH_R, c.H_SER_OK_ONE_SHOT, c.RST_SRVLAT_OR);
    c.DIRECT_ENT_B_ACTION =
        refbk::RISE(s.DIRECT_ENT, c.H_SER_LAT_LATCH_R, c.DIRECT_ENT_ACT_OUT, c.DIRECT_ENT_E_TIME, c.DIRECT_ENT_R_TIME);
    c.ENBL_ENTR_OR = bk::OR({MOD_SPD_SP.GOTO_M1_SP_LATCH_R, c.H_SER_LAT_LATCH_R});
    bk::ONE_SHOT(s.IDL_RTD_OS, c.IDL_RTD_OS_ONE_SHOT, &c.IDL_RTD_OS_R_TIME.ref(), IDLE_RTD.IDL_OR_RTD_OR, 0.2f,
                 bk::T160);
    // Disable and selection.
    c.H_SER_DIS_OR = bk::OR({c.ENTR_MTCHD_AND, c.IDL_RTD_OS_ONE_SHOT, SPD_R_L.RSE_LWR_OR, REMOTE.NOT_ENTR_NOT,
                             c.AUTO_ST_OS_ONE_SHOT, OSPD.OR_OSPD_OR, SHUTDOWNS.ANY_SD_B_NAME, SPDC.Z01_STEP_SFC_STEP,
                             c.H_SER_DIS_IN_9, c.CRIT_BND_Z_ZMINUS1_B, c.CRIT_ENTRD_DELAY});
    c.IN_OVRSPD_B_SW = bk::AND({c.ENBL_ENTR_OR, bk::NOT(OSPD.OR_OSPD_OR)});
    c.MOD_DIS_OR = bk::OR({MOD_SPD_SP.GOTO_M1_SP_LATCH_R, c.H_SER_DIS_OR});
}

void ENTR_SETPT_store_delays() {
    auto& c = ENTR_SETPT;
    auto& s = ENTR_SETPT_st;
    s.sample_z = c.LIMITED_DELAY;
    s.entr_setpt_z = c.ENTR_SETPT_A_SW_A_SW;
    s.crit_bnd_z = c.CRIT_BND_1_AND;
    s.ser_dis_z = c.MOD_DIS_OR;
}

void ENTR_SETPT_commit_delays() {
    auto& c = ENTR_SETPT;
    auto& s = ENTR_SETPT_st;
    c.SAMPLE_Z_ZMINUS1_B = s.sample_z;
    c.ENTR_SETPT_Z_ZMINUS1 = bk::finite(s.entr_setpt_z) ? s.entr_setpt_z : 0.0f;
    c.CRIT_BND_Z_ZMINUS1_B = s.crit_bnd_z;
    c.SER_DIS_Z_ZMINUS1_B = s.ser_dis_z;
}

void ENTR_SETPT_auto_start() {
    bk::ONE_SHOT(ENTR_SETPT_st.AUTO_ST_OS, ENTR_SETPT.AUTO_ST_OS_ONE_SHOT, &ENTR_SETPT.AUTO_ST_OS_R_TIME.ref(),
                 RMT_ENBL.ENBL_AUTO_AND, kAutoStartPulse, bk::T160);
}

void MOD_SPD_SP_select() {
    const refbk::MuxIn in[] = {
        {1, MOD_SPD_SP.GOTO_M1_SP_LATCH_R, MOD_SPD_SP.M1_SP_A_LIMITER},
        {2, ENTR_SETPT.H_SER_LAT_LATCH_R, ENTR_SETPT.ENTR_SETPT_A_SW_A_SW},
        {3, OPC_SPD_SP.GOTO_OPC_SP_LATCH_R, OPC_SPD_SP.AW1_SP_A_LIMITER},
        {4, MOD_SPD_SP.ENTRD_MUX_SEL_4, 0.0f},
    };
    MOD_SPD_SP.ENTRD_MUX_INT_SEL =
        refbk::A_MUX_HSS(MOD_SPD_SP.ENTRD_MUX_A_MUX_HSS, in, IFACE_OUT_SPEED.Z_SETPOINT_A_NAME);
}

}  // namespace r160
