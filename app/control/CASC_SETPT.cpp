// CASC_SETPT and CASC_R_L: the cascade setpoint ramp, its targets and rates,
// and the raise and lower commands that move it.
#include "app/control/CASC_SETPT.cells.h"

#include "app/analog/AO_MUX.cells.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CASC_ENTRD.cells.h"
#include "app/control/RMT_CAS.cells.h"
#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/CASC_R_L.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/ref_blocks.h"
#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct CASC_SETPT_blocks {
    bk::DelayState DI_LWR_DLY, DI_RSE_DLY, DI_CAS_LDL, DI_CAS_RDL;
    refbk::EdgeState PLS_L, PLS_R;
    bk::RampState SETPT;
};
BlockRam<CASC_SETPT_blocks> CASC_SETPT_st;

constexpr float kContactDelay = 0.08f;  // s on- and off-delay of the contacts
constexpr float kInstantRate = 32500.0f;
}  // namespace

namespace r160 {

void CASC_SETPT_limits() {
    auto& c = CASC_SETPT;
    const float mn = c.MIN_SETPT_A_NAME;
    // A negative minimum widens the scaling span (0 against the minimum,
    // set 1.0 beyond it, cleared above it); kept while cascade is not used.
    if (IFACE_IN_CASC.USE_CASC_B_NAME != 0) {
        bk::A_COMPARE_HYST(c.NEG_MIN_A_COMPARE, c.NEG_MIN_A_EQUAL, 0.0f, mn, 1.0f);
        c.NEG_OFFSET_A_SW = bk::SW<float>(c.NEG_MIN_A_COMPARE, 0.0f, mn);
    }
    // Without setpoint tracking the power-up lower command goes to the
    // initial setpoint.
    const uint32_t track = CNFG_CASC.USE_SP_TRACK_B_NAME;
    c.USE_MIN_SW_B_SW = bk::SW<uint32_t>(track, RESET.PWR_UP_RST_ONE_SHOT, 0u);
    c.CASC_MIN_S_A_SW = bk::SW<float>(c.USE_MIN_SW_B_SW, mn, CNFG_CASC.SP_INI_A_NAME);
}

void CASC_SETPT_targets() {
    auto& c = CASC_SETPT;
    if (IFACE_IN_CASC.USE_CASC_B_NAME != 0)
        c.DROOP_LMT_A_LIMITER = bk::A_LIMITER(CASC_CTRL.CASC_DROOP_ADD, c.MIN_SETPT_A_NAME, c.MAX_SETPT_A_NAME);
    c.TRACK_MODE_B_NAME = CASC_RATE.EN_TRACK_AND;
    c.FAST_OR = bk::OR({CASC_R_L.DI_CAS_LDL_DELAY, CASC_R_L.DI_CAS_RDL_DELAY});
}

}  // namespace r160

namespace r80 {

void CASC_R_L_commands() {
    auto& c = CASC_R_L;
    auto& s = CASC_SETPT_st;
    auto& i = IFACE_IN_CASC;
    const uint32_t cf = CASC_ENBL.CASC_CF_B_NAME;
    i.CASC_LWR_CMD_B_NAME =
        bk::SW<uint32_t>(BI_MUX.SPDCAS_L_USED_B_NAME, BI_MUX.CASC_LWR_CONT_B_NAME, BI_MUX.SPD_CASC_LWR_B_NAME);
    i.CASC_RAZ_CMD_B_NAME =
        bk::SW<uint32_t>(BI_MUX.SPDCAS_R_USED_B_NAME, BI_MUX.CASC_RAISE_CONT_B_NAME, BI_MUX.SPD_CASC_RAZ_B_NAME);
    bk::DELAY(s.DI_LWR_DLY, c.DI_LWR_DLY_DELAY, &c.DI_LWR_DLY_R_TIME.ref(), i.CASC_LWR_CMD_B_NAME, kContactDelay,
              kContactDelay, bk::T80);
    bk::DELAY(s.DI_RSE_DLY, c.DI_RSE_DLY_DELAY, &c.DI_RSE_DLY_R_TIME.ref(), i.CASC_RAZ_CMD_B_NAME, kContactDelay,
              kContactDelay, bk::T80);
    if (cf != 0) {
        c.PLS_L_B_ACTION = refbk::RISE(s.PLS_L, c.DI_LWR_DLY_DELAY, c.PLS_L_ACT_OUT, c.PLS_L_E_TIME, c.PLS_L_R_TIME);
        c.PLS_R_B_ACTION = refbk::RISE(s.PLS_R, c.DI_RSE_DLY_DELAY, c.PLS_R_ACT_OUT, c.PLS_R_E_TIME, c.PLS_R_R_TIME);
    }
    // A contact command holds while its contact is closed; the other
    // contact's pulse or a service command releases it.
    c.RAZ_CMD_AND = bk::AND({bk::NOT(c.DI_LWR_DLY_DELAY), c.PLS_R_B_ACTION});
    bk::LATCH_R(c.ENAB_LOWER_LATCH_R, c.PLS_L_B_ACTION, bk::OR({c.RST_2_B_NAME, i.CASC_LWR_B_NAME, c.RAZ_CMD_AND}));
    c.RMT_LCL_L_AND = bk::AND({c.DI_LWR_DLY_DELAY, c.ENAB_LOWER_LATCH_R});
    bk::LATCH_R(c.ENAB_RAISE_LATCH_R, c.PLS_R_B_ACTION, bk::OR({c.RST_2_B_NAME, i.CASC_RSE_B_NAME, c.PLS_L_B_ACTION}));
    c.RMT_LCL_R_AND = bk::AND({c.DI_RSE_DLY_DELAY, c.ENAB_RAISE_LATCH_R});
    const uint32_t pwr_up = RESET.PWR_UP_RST_ONE_SHOT;
    c.LOWER_OR = bk::OR({i.CASC_LWR_B_NAME, c.LOWER_IN_2, pwr_up, c.RMT_LCL_L_AND, MOD_BW.BW_CMD_SEL_13,
                         OPC_DATA.BW_CMDS_SEL_13});
    c.RAISE_OR = bk::OR({c.RMT_LCL_R_AND, c.RAISE_IN_2, i.CASC_RSE_B_NAME, MOD_BW.BW_CMD_SEL_12,
                         OPC_DATA.BW_CMDS_SEL_12});
    c.NOR_REM_NOT = bk::NOT(SPDC.B03_STEP_SFC_STEP);
    c.PERM_LOWER_AND = bk::AND({c.LOWER_OR, c.NOR_REM_NOT});
    c.PERM_RAISE_AND = bk::AND({c.RAISE_OR, c.NOR_REM_NOT});
    c.RSE_OR_LWR_OR = bk::OR({c.PERM_LOWER_AND, pwr_up, c.PERM_RAISE_AND});
    // A command held for the fast-rate delay moves the setpoint faster.
    c.CAS_FST_DL_A_NAME = i.FAST_RATE_DLY_A_NAME;
    if (cf != 0) {
        bk::DELAY(s.DI_CAS_LDL, c.DI_CAS_LDL_DELAY, &c.DI_CAS_LDL_R_TIME.ref(), c.PERM_LOWER_AND, c.CAS_FST_DL_A_NAME,
                  0.0f, bk::T80);
        bk::DELAY(s.DI_CAS_RDL, c.DI_CAS_RDL_DELAY, &c.DI_CAS_RDL_R_TIME.ref(), c.PERM_RAISE_AND, c.CAS_FST_DL_A_NAME,
                  0.0f, bk::T80);
    }
}

void CASC_SETPT_ramp() {
    auto& c = CASC_SETPT;
    auto& r = CASC_RATE;
    c.INST_RATE_OR = bk::OR({RESET.PWR_UP_RST_ONE_SHOT, c.ENA_STEP_ONE_SHOT});
    if (IFACE_IN_CASC.USE_CASC_B_NAME == 0) {
        c.SETPT_RAMP = 0.0f;
    } else {
        const uint32_t remote = IFACE_OUT_CASC.REM_CAS_SEL_B_NAME;
        const float rate = c.INST_RATE_OR != 0         ? kInstantRate
                           : r.EN_TRACK_AND != 0        ? r.TRACK_RATE_MULTIPLY
                           : c.ENTRD_SP_OR != 0         ? static_cast<float>(r.ENTRD_RATE_SAMP_TUNE)
                           : RMT_CAS_EN.Z_LOOP_ZMINUS1_B != 0 ? static_cast<float>(r.RT_N_MTCH_SAMP_TUNE)
                           : remote != 0                ? static_cast<float>(IFACE_IN_CASC.RMT_RATE_A_NAME)
                           : c.FAST_OR != 0             ? static_cast<float>(r.FST_RATE_SAMP_TUNE)
                                                        : static_cast<float>(IFACE_IN_CASC.CASC_RATE_A_NAME);
        const float track = c.DROOP_LMT_A_LIMITER, lower = c.CASC_MIN_S_A_SW, raise = c.MAX_SETPT_A_NAME;
        const float rmt = RMT_CAS.RMT_CASC_D_A_DEADBAND, entered = CASC_ENTRD.ENTRD_MUX_A_MUX_HSS;
        const float step = CASC_R_L.STEP_SP_LMT_A_LIMITER;
        const bk::RampOut o = bk::RAMP(CASC_SETPT_st.SETPT,
                                       {{c.TRACK_MODE_B_NAME, track},
                                        {remote, rmt},
                                        {c.ENTRD_SP_OR, entered},
                                        {CASC_R_L.PERM_LOWER_AND, lower},
                                        {CASC_R_L.PERM_RAISE_AND, raise},
                                        {c.ENA_STEP_ONE_SHOT, step}},
                                       rate, bk::T80);
        c.SETPT_RAMP = o.ramp;
        c.SETPT_REV_RAMP = 0.0f;
        c.SETPT_MOVING_UP = o.moving_up;
        c.SETPT_MOVING_DN = o.moving_dn;
        c.SETPT_POS_SEL = o.pos_sel;
        c.SETPT_P_LIM_1 = bk::P_LIM(o, track);
        c.SETPT_P_LIM_2 = bk::P_LIM(o, rmt);
        c.SETPT_P_LIM_3 = bk::P_LIM(o, entered);
        c.SETPT_P_LIM_4 = bk::P_LIM(o, lower);
        c.SETPT_P_LIM_5 = bk::P_LIM(o, raise);
        c.SETPT_P_LIM_6 = bk::P_LIM(o, step);
    }
    IFACE_OUT_CASC.CASC_SP_A_NAME = c.SETPT_RAMP;
    AO_MUX.CASC_SETPT_A_NAME = c.SETPT_RAMP;
}

}  // namespace r80
