// HP_LIMTER: the HP valve limiter. The 160 ms maximum and take-over logic,
// the 80 ms commands, entered value and ramp, and the 40 ms lag of the
// limiter that the valve's low-signal select and the maximum use.
#include "app/config/CNFG_START.cells.h"
#include "app/control/HP_LIMTER.cells.h"

#include "app/interface/MESSAGE.cells.h"

#include "app/interface/MOD_BW.cells.h"
#include "app/interface/OPC_DATA.cells.h"

#include "app/analog/AO_MUX.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "blocks/tune_coef.h"
#include "runtime/rgtask.h"

namespace {
struct HP_LIMTER_blocks {
    bk::DelayState DI_LWR_DLY;
    bk::OneShotState RAZ_LMT_OS, H_SER_OK;
    refbk::EdgeState LWR_PLS, RSE_PLS, PLS_LW, PLS_RW;
    bk::SampState ENTR_HP_LIM_SP;
    bk::RampState HP_RAMP;
    bk::LagState RAMP_LAG;
    float RAMP_LAG_coef;
};
BlockRam<HP_LIMTER_blocks> HP_LIMTER_st;

constexpr float kRaiseLiftPulse = 2.0f;   // the start maximum lifted: raise pulse (s)
constexpr float kContactDebounce = 0.08f; // lower contact on- and off-delay (s)
constexpr float kGoPulse = 0.5f;          // accepted entry (s)
constexpr float kCloseNow = 32500.0f;     // forced close (%/s): one pass
constexpr float kShutdownRate = 1.0f;     // normal shutdown (%/s)
}  // namespace

void HP_LIMTER_init_blks() { tune_lag(&HP_LIMTER_st.RAMP_LAG_coef, cells::HP_LIMTER.RAMP_LAG_LAG_TAU, bk::T40); }
void HP_LIMTER_lag_time_written() { HP_LIMTER_init_blks(); }

namespace r160 {

void HP_LIMTER_maximum() {
    auto& c = HP_LIMTER;
    auto& s = HP_LIMTER_st;
    const auto& v = IFACE_IN_VLV;
    // At the maximum: the lagged limiter at or above VLV_LIM_MAX.
    bk::A_COMPARE(c.CP_MAX_A_COMPARE, c.CP_MAX_A_EQUAL, c.RAMP_LAG_LAG, v.VLV_LIM_MAX_IN);
    c.AT_MAX_OR = bk::OR({c.CP_MAX_A_COMPARE, c.CP_MAX_A_EQUAL});
    // The speed controller has taken over above minimum governor or idle.
    c.SPDCTRL_MING_AND = bk::AND({MESSAGE.SPD_PID_IN_CTRL_B_NAME, SPDC.ABOV_MING_OR});
    c.SPDCTRL_IDL_AND = bk::AND({SPDC.ABOV_IDLE_OR, MESSAGE.SPD_PID_IN_CTRL_B_NAME});
    c.SW_MIN_CTRL_B_SW =
        bk::SW<uint32_t>(IFACE_IN_START.USE_IDLE_RATED_B_NAME, c.SPDCTRL_MING_AND, c.SPDCTRL_IDL_AND);
    bk::LATCH(c.CTRL_OK_LATCH, c.SW_MIN_CTRL_B_SW, SHUTDOWNS.ANY_SD_B_NAME);
    c.STRTMAX_NOT = bk::NOT(c.CTRL_OK_LATCH);
    c.ENA_STRTMAX_AND = bk::AND({c.STRTMAX_NOT, v.USE_STRT_MAX_IN});
    // The maximum in force.
    c.MN_DMD_A_MIN = bk::A_MIN(v.LIM_MAX_AT_START_IN, v.VLV_LIM_MAX_IN);
    c.MAX_DMD_A_SW = bk::SW<float>(c.ENA_STRTMAX_AND, v.VLV_LIM_MAX_IN, c.MN_DMD_A_MIN);
    // Lifting the start maximum raises the limiter to the full maximum.
    bk::ONE_SHOT(s.RAZ_LMT_OS, c.RAZ_LMT_OS_ONE_SHOT, &c.RAZ_LMT_OS_R_TIME.ref(), bk::NOT(c.ENA_STRTMAX_AND),
                 kRaiseLiftPulse, bk::T160, bk::NOT(v.USE_STRT_MAX_IN));
    c.LWR_PLS_B_ACTION = refbk::RISE(s.LWR_PLS, c.CLS_LMTR_OR, c.LWR_PLS_ACT_OUT, c.LWR_PLS_E_TIME, c.LWR_PLS_R_TIME);
    c.RSE_PLS_B_ACTION = refbk::RISE(s.RSE_PLS, c.OPN_LMTR_OR, c.RSE_PLS_ACT_OUT, c.RSE_PLS_E_TIME, c.RSE_PLS_R_TIME);
}

}  // namespace r160

namespace r80 {

void HP_LIMTER_force_close() {
    HP_LIMTER.OR_FRC_OR =
        bk::OR({IFACE_IN_VLV.ANY_SD_B_NAME, HPLM.A00_STEP_SFC_STEP, HP_LIMTER.OR_FRC_IN_3});
}

void HP_LIMTER_commands() {
    auto& c = HP_LIMTER;
    auto& s = HP_LIMTER_st;
    const auto& v = IFACE_IN_VLV;

    // Lower: service, Modbus, OPC or the debounced contact.
    c.CLOSE_OR = bk::OR({MOD_BW.BW_CMD_SEL_11, c.CLOSE_IN_2, v.VLIM_LWR_B_NAME, OPC_DATA.BW_CMDS_SEL_11});
    bk::DELAY(s.DI_LWR_DLY, c.DI_LWR_DLY_DELAY, &c.DI_LWR_DLY_R_TIME.ref(), v.HP_LIM_CLOSE_B_NAME, kContactDebounce,
              kContactDebounce, bk::T80);
    c.PLS_LW_B_ACTION = refbk::RISE(s.PLS_LW, c.DI_LWR_DLY_DELAY, c.PLS_LW_ACT_OUT, c.PLS_LW_E_TIME, c.PLS_LW_R_TIME);
    bk::LATCH_R(c.CLS_LTCH_D_B_ACTION, c.PLS_LW_B_ACTION, bk::OR({c.RSE_PLS_B_ACTION, c.CLS_LTCH_D_RST_2}));
    refbk::ACTION_OUT(c.CLS_LTCH_D_ACT_OUT, c.CLS_LTCH_D_E_TIME, c.CLS_LTCH_D_R_TIME, 2);
    c.VLV_LMT_CL_AND = bk::AND({c.DI_LWR_DLY_DELAY, c.CLS_LTCH_D_B_ACTION});
    c.CLS_LMTR_OR = bk::OR({c.CLOSE_OR, c.VLV_LMT_CL_AND});
    c.LOWER_OR = bk::OR({c.CLS_LMTR_OR, c.OR_FRC_OR, CNTRL_STOP.STP_CPLT_OR});
    // Raise: service, Modbus, OPC or the contact.
    c.OPEN_OR = bk::OR({v.VLIM_RSE_B_NAME, MOD_BW.BW_CMD_SEL_10, c.OPEN_IN_3, OPC_DATA.BW_CMDS_SEL_10});
    c.PLS_RW_B_ACTION = refbk::RISE(s.PLS_RW, v.HP_LIM_OPEN_B_NAME, c.PLS_RW_ACT_OUT, c.PLS_RW_E_TIME, c.PLS_RW_R_TIME);
    bk::LATCH_R(c.OPN_LTCH_D_B_ACTION, c.PLS_RW_B_ACTION,
                bk::OR({c.LWR_PLS_B_ACTION, c.OPN_LTCH_D_RST_2, HPLM.A03_STEP_SFC_STEP}));
    refbk::ACTION_OUT(c.OPN_LTCH_D_ACT_OUT, c.OPN_LTCH_D_E_TIME, c.OPN_LTCH_D_R_TIME, 2);
    c.VLV_LMT_OP_AND = bk::AND({v.HP_LIM_OPEN_B_NAME, c.OPN_LTCH_D_B_ACTION});
    c.OPN_LMTR_OR = bk::OR({c.OPEN_OR, c.VLV_LMT_OP_AND});
    bk::LATCH_R(c.SPD_IN_CTRL_B_ACTION, c.RAZ_LMT_OS_ONE_SHOT,
                bk::OR({c.AT_POS3_ZMINUS1_B, c.CLS_LMTR_OR, c.OPN_LMTR_OR}));
    refbk::ACTION_OUT(c.SPD_IN_CTRL_ACT_OUT, c.SPD_IN_CTRL_E_TIME, c.SPD_IN_CTRL_R_TIME, 2);
    c.AND_RAISE_AND = bk::AND({c.OPN_LMTR_OR, HPLM.A01_STEP_SFC_STEP});
    c.RAISE_OR = bk::OR({c.SPD_IN_CTRL_B_ACTION, c.AND_RAISE_AND, HPLM.A02_STEP_SFC_STEP});

    // Entered value: refused below 0 or above the maximum in force; a refusal
    // that stands for LIMITED.DLY_TIME (timed in _R80_TASK_18) reverts to the
    // last accepted value.
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.ENTR_HP_LIM_SP, c.ENTR_HP_LIM_SP_TUNE, c.ENTR_SP_Z_ZMINUS1,
                                   c.SAMPLE_Z_ZMINUS1_B, -1.0f, bk::kRealHiLim, c.ENTR_HP_LIM_SP_ENBL_ENTER, -1e30f,
                                   1e30f, static_cast<uint32_t>(AllRgExecutedwMMM)),
                     c.ENTR_HP_LIM_SP_SAMP_TUNE, c.ENTR_HP_LIM_SP_LIMITED, c.ENTR_HP_LIM_SP_EN_ENT_OUT,
                     c.ENTR_HP_LIM_SP_LO_LIM_OUT, c.ENTR_HP_LIM_SP_HI_LIM_OUT);
    const float entry = c.ENTR_HP_LIM_SP_SAMP_TUNE;
    bk::A_COMPARE(c.SP_MIN_A_COMPARE, c.SP_MIN_A_EQUAL, 0.0f, entry);
    c.SP_BLW_MIN_AND = bk::AND({c.SP_MIN_A_COMPARE, bk::NOT(c.SP_MIN_A_EQUAL)});
    bk::A_COMPARE(c.SP_MAX_A_COMPARE, c.SP_MAX_A_EQUAL, entry, c.MAX_DMD_A_SW);
    c.SP_ABV_MAX_AND = bk::AND({c.SP_MAX_A_COMPARE, bk::NOT(c.SP_MAX_A_EQUAL)});
    c.INVALID_SP_OR = bk::OR({c.SP_BLW_MIN_AND, c.SP_ABV_MAX_AND});
    c.NOT_LIMITED_NOT = bk::NOT(c.INVALID_SP_OR);
    c.GOTO_CMD_AND = bk::AND({v.TUNED_OK_B_NAME, c.NOT_LIMITED_NOT});
    bk::ONE_SHOT(s.H_SER_OK, c.H_SER_OK_ONE_SHOT, &c.H_SER_OK_R_TIME.ref(), c.GOTO_CMD_AND, kGoPulse, bk::T80);
    if (c.H_SER_OK_ONE_SHOT != 0) c.ENTR_HP_LIM_SP_A_SW_A_SW = entry;
    bk::LATCH_R(c.H_SER_LAT_LATCH, c.H_SER_OK_ONE_SHOT, c.H_SER_Z_ZMINUS1_B);

    // The ramp: lower first, then raise, then the entered value.
    c.SLOW_RATE_A_NAME = CNFG_START.VLV_LIM_RATE_A_NAME;
    const float rate = c.OR_FRC_OR != 0              ? kCloseNow
                       : HPLM.A03_STEP_SFC_STEP != 0 ? kShutdownRate
                       : c.H_SER_LAT_LATCH != 0      ? v.VLV_LIM_ENTRD_A_NAME
                                                     : c.SLOW_RATE_A_NAME;
    const bk::RampOut r = bk::RAMP(s.HP_RAMP,
                                   {{c.LOWER_OR, 0.0f},
                                    {0u, 0.0f},
                                    {c.RAISE_OR, c.MAX_DMD_A_SW},
                                    {c.H_SER_LAT_LATCH, c.ENTR_HP_LIM_SP_A_SW_A_SW}},
                                   rate, bk::T80);
    c.HP_RAMP_RAMP = r.ramp;
    c.HP_RAMP_REV_RAMP = 0.0f;
    c.HP_RAMP_MOVING_UP = r.moving_up;
    c.HP_RAMP_MOVING_DN = r.moving_dn;
    c.HP_RAMP_POS_SEL = r.pos_sel;
    c.HP_RAMP_P_LIM_1 = bk::P_LIM(r, 0.0f);
    c.HP_RAMP_P_LIM_2 = bk::P_LIM(r, 0.0f);
    c.HP_RAMP_P_LIM_3 = bk::P_LIM(r, c.MAX_DMD_A_SW);
    c.HP_RAMP_P_LIM_4 = bk::P_LIM(r, c.ENTR_HP_LIM_SP_A_SW_A_SW);
    IFACE_OUT_VLV.VALVE_LMT_A_NAME = r.ramp;
    AO_MUX.VALVE_LMT_NAME_A_NAME = r.ramp;
}

}  // namespace r80

namespace r40 {

void HP_LIMTER_lag() {
    auto& c = HP_LIMTER;
    bk::LAG_COEF(HP_LIMTER_st.RAMP_LAG, c.RAMP_LAG_LAG, &c.RAMP_LAG_DERIV.ref(), c.HP_RAMP_RAMP,
                 HP_LIMTER_st.RAMP_LAG_coef, bk::T40);
    IFACE_IN_VLV.V1LMTR_VAL_A_NAME = c.RAMP_LAG_LAG;
}

}  // namespace r40
