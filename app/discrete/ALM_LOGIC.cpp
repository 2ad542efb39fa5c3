// ALM_LOGIC: derived alarm conditions of the 10, 40 and 160 ms groups.
#include "app/discrete/ALM_LOGIC.cells.h"

#include <cmath>

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/RESET.cells.h"
#include "app/discrete/IFACE_OUT_VLV.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/CONT_MESS.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/protection/trip_block.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct ALM_LOGIC_blocks {
    float HP_POS_ERR_timer;
    bk::DelayState DELAY;
};
BlockRam<ALM_LOGIC_blocks> ALM_LOGIC_st;
// A difference beyond which the position check reports an exceeded band.
constexpr float kDiffBand = 100.0f;
// How long the reference must stay above minimum governor before the
// limiter counts as in control, and how long it holds after dropping.
constexpr float kAboveMinOn = 5.0f, kAboveMinOff = 2.0f;
}  // namespace

namespace r10 {

void ALM_LOGIC_conditions() {
    ALM_LOGIC.ACT_LSS_HI_LIM_NOT_NOT = bk::NOT(IFACE_OUT_VLV.ACT_LSS_HI_LIM_I_B_NAME);
    ALM_LOGIC.SS2_FLT_AND = bk::AND({MPU_OVRD.SS2_FLD_B_SW, CONF_VAL_1.USE_MPU2_B_NAME});
}

}  // namespace r10

namespace r40 {

// A failed input alarms only when its function is used and its alarm enabled.
void ALM_LOGIC_signal_failures() {
    ALM_LOGIC.REMSPDSP_FLT_AND = bk::AND({AI_MUX.RMT_SPD_FLT_B_NAME, ALM_LOGIC.REMSPDSP_FLT_IN_2, AI_MUX.RMT_SPD_USED_B_NAME});
    ALM_LOGIC.REMCASCSP_FLT_AND = bk::AND({AI_MUX.RMT_CASC_FLT_B_NAME, ALM_LOGIC.REMCASCSP_FLT_IN_2, AI_MUX.RMT_CASC_USED_B_NAME});
    ALM_LOGIC.VIB1_FLT_AND = bk::AND({AI_MUX.VIB_IN1_FLT_B_NAME, ALM_LOGIC.VIB1_FLT_IN_2, AI_MUX.VIB_IN1_USED_B_NAME});
    ALM_LOGIC.VIB2_FLT_AND = bk::AND({AI_MUX.VIB_IN2_FLT_B_NAME, ALM_LOGIC.VIB2_FLT_IN_2, AI_MUX.VIB_IN2_USED_B_NAME});
    ALM_LOGIC.VIB3_FLT_AND = bk::AND({AI_MUX.VIB_IN3_FLT_B_NAME, ALM_LOGIC.VIB3_FLT_IN_2, AI_MUX.VIB_IN3_USED_B_NAME});
    ALM_LOGIC.VIB4_FLT_AND = bk::AND({AI_MUX.VIB_IN4_FLT_B_NAME, ALM_LOGIC.VIB4_FLT_IN_2, AI_MUX.VIB_IN4_USED_B_NAME});
    ALM_LOGIC.BTEMP1_FLT_AND = bk::AND({AI_MUX.BTEMP1_FLT_B_NAME, ALM_LOGIC.BTEMP1_FLT_IN_2, AI_MUX.BEARTEMP1_USED_B_NAME});
    ALM_LOGIC.BTEMP2_FLT_AND = bk::AND({AI_MUX.BTEMP2_FLT_B_NAME, ALM_LOGIC.BTEMP2_FLT_IN_2, AI_MUX.BEARTEMP2_USED_B_NAME});
    ALM_LOGIC.BTEMP3_FLT_AND = bk::AND({AI_MUX.BTEMP3_FLT_B_NAME, ALM_LOGIC.BTEMP3_FLT_IN_2, AI_MUX.BEARTEMP3_USED_B_NAME});
    ALM_LOGIC.BTEMP4_FLT_AND = bk::AND({AI_MUX.BTEMP4_FLT_B_NAME, ALM_LOGIC.BTEMP4_FLT_IN_2, AI_MUX.BEARTEMP4_USED_B_NAME});
    ALM_LOGIC.SIG_MON_1_FLT_AND = bk::AND({AI_MUX.SIG_MON_1_FLT_B_NAME, ALM_LOGIC.SIG_MON_1_FLT_IN_2, AI_MUX.SIG_MON_1_USED_B_NAME});
    ALM_LOGIC.SIG_MON_2_FLT_AND = bk::AND({AI_MUX.SIG_MON_2_FLT_B_NAME, ALM_LOGIC.SIG_MON_2_FLT_IN_2, AI_MUX.SIG_MON_2_USED_B_NAME});
    ALM_LOGIC.SIG_MON_3_FLT_AND = bk::AND({AI_MUX.SIG_MON_3_FLT_B_NAME, ALM_LOGIC.SIG_MON_3_FLT_IN_2, AI_MUX.SIG_MON_3_USED_B_NAME});
    ALM_LOGIC.HP_FDBK_FLT_AND = bk::AND({AI_MUX.HP_RDBK_FLT_B_NAME, ALM_LOGIC.HP_FDBK_FLT_IN_2, AI_MUX.HP_FDBK_USED_B_NAME});
    ALM_LOGIC.CASC_FLT_AND =
        bk::AND({AI_MUX.CASC_IN_FLT_B_NAME, IFACE_IN_CASC.USE_CASC_B_NAME, AI_MUX.CASC_USED_B_NAME});
}

}  // namespace r40

namespace r160 {

void ALM_LOGIC_hp_difference() {
    ALM_LOGIC.DIFF_DLY_A_NAME = ALM_LOGIC.QT_DIFF_DLY_IN;
    ALM_LOGIC.ENA_HP_DIFF_B_NAME = ALM_LOGIC.ENA_HP_DIFF_IN;
    ALM_LOGIC.HPDIFF_AMT_A_NAME = ALM_LOGIC.QT_HPDIFF_AMT_IN;
    if (ALM_LOGIC.ENA_HP_DIFF_B_NAME != 0) {
        const float d = _ub5.DEMAND_A_NAME - AI_MUX.HP_FDBK_A_NAME;
        const float amount = ALM_LOGIC.HPDIFF_AMT_A_NAME;
        ALM_LOGIC.HP_CHK_RAISE_VAL = d >= 0.0f && d > amount ? 1u : 0u;
        ALM_LOGIC.HP_CHK_LOWER_VAL = d < 0.0f && -d > amount ? 1u : 0u;
        ALM_LOGIC.HP_CHK_EXCD_DB_2 = std::fabs(d) > kDiffBand ? 1u : 0u;
    } else {
        ALM_LOGIC.HP_CHK_RAISE_VAL = 0;
        ALM_LOGIC.HP_CHK_LOWER_VAL = 0;
        ALM_LOGIC.HP_CHK_EXCD_DB_2 = 0;
    }
    ALM_LOGIC.HP_DIFF_OR = bk::OR({ALM_LOGIC.HP_CHK_RAISE_VAL, ALM_LOGIC.HP_CHK_LOWER_VAL});
    const uint32_t cond = bk::AND({ALM_LOGIC.HP_DIFF_OR, bk::NOT(AI_MUX.HP_RDBK_FLT_B_NAME)});
    bk::TRIP(ALM_LOGIC_st.HP_POS_ERR_timer,
             bk::TripOut{ALM_LOGIC.HP_POS_ERR_B_ALARM, ALM_LOGIC.HP_POS_ERR_LIGHT, ALM_LOGIC.HP_POS_ERR_HORN}, cond,
             0u, ALM_LOGIC.DIFF_DLY_A_NAME, RESET.RESET_B_NAME, bk::T160);
}

void ALM_LOGIC_limiter() {
    auto& c = ALM_LOGIC;
    bk::DELAY(ALM_LOGIC_st.DELAY, c.DELAY_DELAY, &c.DELAY_R_TIME.ref(), SPDC.ABOV_MING_OR, kAboveMinOn, kAboveMinOff,
              bk::T160);
    CONT_MESS.A00_STEP_NOT_NOT = bk::NOT(SPDC.A00_STEP_SFC_STEP);
    const uint32_t limiter_selected = bk::AND({IFACE_OUT_VLV.ACT_LSS_SEL_2_B_NAME, CONT_MESS.A00_STEP_NOT_NOT});
    CONT_MESS.VLV_LIM_MESS_AND = limiter_selected;
    c.VLV_LIM_ALM_AND =
        limiter_selected != 0 ? bk::AND({SHUTDOWNS.NOT_SD_NOT, c.ACT_LSS_HI_LIM_NOT_NOT, c.DELAY_DELAY}) : 0u;
    c.ON_LIMITER_B_NAME = c.VLV_LIM_ALM_AND;
}

}  // namespace r160
