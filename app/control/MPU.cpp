// MPU at 80 ms: the turbine speed against idle (with a settable hysteresis,
// default -5 rpm, about idle - 0.5 rpm) and minimum governor against the
// setpoint and the speed.
#include "app/control/MPU.cells.h"

#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/blockkinds.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/config/CNFG_CHECK.cells.h"
#include "app/control/ref_blocks.h"
#include "blocks/tune_coef.h"
#include "runtime/appmem.h"

namespace {
constexpr float kNearIdle = 0.5f;

struct MPU_blocks {
    bk::LagState SPD_MONTOR;
    float SPD_MONTOR_coef;
};
BlockRam<MPU_blocks> MPU_st;
}  // namespace

void MPU_init_blks() { tune_lag(&MPU_st.SPD_MONTOR_coef, cells::MPU.SPD_MONTOR_LAG_TAU, bk::T160); }
void MPU_lag_time_written() { MPU_init_blks(); }

namespace r80 {

void MPU_idle_compare() {
    auto& c = MPU;
    c.NEAR_IDL_SUBTRACT = IFACE_IN_SPEED.IDLE_1_A_NAME - kNearIdle;
    bk::A_COMPARE_HYST(c.SPD_GT_IDL_A_COMPARE, c.SPD_GT_IDL_A_EQUAL, c.TURB_SPD_A_NAME, c.NEAR_IDL_SUBTRACT,
                       c.SPD_GT_IDL_HYSTER);
    c.SPD_GTEQ_IDL_OR = bk::OR({c.SPD_GT_IDL_A_COMPARE, c.SPD_GT_IDL_A_EQUAL});
}

void MPU_min_gov_compare() {
    auto& c = MPU;
    bk::A_COMPARE(c.SETPT_MIN_A_COMPARE, c.SETPT_MIN_A_EQUAL, CNFG_SETPT.MIN_GOV_A_NAME,
                  IFACE_OUT_SPEED.Z_SETPOINT_A_NAME);
    c.SPD_LT_IDL_NOT = bk::NOT(c.SPD_GTEQ_IDL_OR);
    bk::A_COMPARE(c.SPD_LT_MIN_A_COMPARE, c.SPD_LT_MIN_A_EQUAL, CNFG_SETPT.MIN_GOV_A_NAME, c.TURB_SPD_A_NAME);
}

}  // namespace r80

namespace r160 {

void MPU_min_speed_check() {
    MPU_OVRD.MIN_SPD_2_A_NAME = CNFG_SPEED.SPD2_LOW_SP_A_NAME;
    bk::A_COMPARE(MPU.SP2_MN_CHK_A_COMPARE, MPU.SP2_MN_CHK_A_EQUAL, MPU.MIN_SPD_CK2_MULTIPLY,
                  MPU_OVRD.MIN_SPD_2_A_NAME);
    MPU.SP2_MINERR_AND = bk::AND({CONF_VAL_1.USE_MPU2_B_NAME, MPU.SP2_MN_CHK_A_COMPARE});
}

// The monitor lags half the speed; the speed shown doubles it back.
void MPU_speed_monitor() { MPU.SPEED_MULTIPLY = 2.0f * MPU.SPD_MONTOR_LAG; }

// Idle is the lowest entry while the turbine, under another start mode, is
// below minimum governor with the setpoint at it; the switch forces 0.
void MPU_min_entry() {
    auto& c = MPU;
    c.IDLE_MIN_AND = bk::AND({CNFG_CHECK.OTHR_STRT_OR, c.SPD_LT_MIN_A_COMPARE, c.SETPT_MIN_A_COMPARE});
    const refbk::MuxIn in[] = {
        {1, c.IDLE_MIN_AND, IFACE_IN_SPEED.IDLE_1_A_NAME},
        {2, c.MIN_ENTR_SEL_2, 0.0f},
    };
    c.MIN_ENTR_INT_SEL = refbk::A_MUX_HSS(c.MIN_ENTR_A_MUX_HSS.ref(), in, CNFG_SETPT.MIN_GOV_A_NAME);
}

// Half the speed through the monitor lag; the rate of change doubles back.
void MPU_monitor_lag() {
    auto& c = MPU;
    c.SPDDIV2_MULTIPLY = 0.5f * c.TURB_SPD_A_NAME;
    bk::LAG_COEF(MPU_st.SPD_MONTOR, c.SPD_MONTOR_LAG.ref(), &c.SPD_MONTOR_DERIV.ref(), c.SPDDIV2_MULTIPLY,
                 MPU_st.SPD_MONTOR_coef, bk::T160);
    c.SPD_DRV_MULTIPLY = 2.0f * c.SPD_MONTOR_DERIV;
}

}  // namespace r160
