// CONF_CHECK, CONF_CHECK_CASC and the speed-sensor checks of MPU: settings
// that contradict each other raise the conditions the configuration-error
// list latches.
#include "app/control/CONF_CHECK_CASC.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/control/CASC_SETPT.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_CHECK.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/MPU_OVRD.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kCheckMargin = 1.0f;      // setpoint range margin inside the input range
constexpr float kMaxProbeHz = 35000.0f;   // highest frequency a speed input measures
constexpr float kMinDetectable = 0.02f;   // lowest detectable speed, part of the maximum

// A strict comparison a > b of a check: the comparator and equality cells,
// the negated equality, and the error when enabled.
void strict_check(uint32_t& err, uint32_t enable, uint32_t used, uint32_t& cmp, uint32_t& eq, uint32_t& ne,
                  float a, float b) {
    bk::A_COMPARE(cmp, eq, a, b);
    ne = bk::NOT(eq);
    err = bk::AND({cmp, ne, used, enable});
}

}  // namespace

namespace r160 {

void CONF_CHECK_CASC_checks() {
    CONF_CHECK.NO_RMT_CASC_AI_NOT = bk::NOT(AI_MUX.RMT_CASC_USED_B_NAME);
    CONF_CHECK.RMT_CASC_NO_AI_AND = bk::AND({IFACE_IN_CASC.CAS_RMT_B_NAME, CONF_CHECK.NO_RMT_CASC_AI_NOT});
    auto& c = CONF_CHECK_CASC;
    const uint32_t used = CNFG_CASC.USE_CASC_B_NAME;
    bk::I_COMPARE(c.CASC_IN_SEL_EQ, c.CASC_IN_SEL_LT, c.CASC_IN_SEL_GT, CNFG_CASC.INPUT_I_NAME, 1);
    c.CASC_IN_USED_AND = bk::AND({c.CASC_IN_SEL_EQ, used});
    c.NO_CASC_AI_NOT = bk::NOT(AI_MUX.CASC_USED_B_NAME);
    c.CASC_NO_AI_AND = bk::AND({c.CASC_IN_USED_AND, c.NO_CASC_AI_NOT});
    // The setpoint range must lie inside the input range, by a margin.
    c.MAX_CHK_SUBTRACT = CASC_SETPT.MAX_SETPT_A_NAME - kCheckMargin;
    bk::A_COMPARE(c.MAX_2HI_A_COMPARE, c.MAX_2HI_A_EQUAL, c.MAX_CHK_SUBTRACT, AI_MUX.CASC_IN_MAX_A_NAME);
    c.MIN_CHK_SUBTRACT = AI_MUX.CASC_IN_MIN_A_NAME - kCheckMargin;
    bk::A_COMPARE(c.MIN_2LO_A_COMPARE, c.MIN_2LO_A_EQUAL, c.MIN_CHK_SUBTRACT, CASC_SETPT.MIN_SETPT_A_NAME);
    c.SETPT_WRNG_OR = bk::OR({c.MIN_2LO_A_COMPARE, c.MAX_2HI_A_COMPARE});
    c.SETPT_ERR_AND = bk::AND({used, c.SETPT_WRNG_OR});
    // The cascade's speed demand must lie within the governor range.
    const float mn = CNFG_CASC.SPD_SP_MIN_A_NAME, mx = CNFG_CASC.SPD_SP_MAX_A_NAME;
    strict_check(c.SPD_LIM_ER_AND, c.SPD_LIM_ER_IN_4, used, c.SPD_LIM_A_COMPARE, c.SPD_LIM_A_EQUAL,
                 c.SPD_LIM_NOT_EQ_NOT, mn, mx);
    strict_check(c.SPD_MIN_ER_AND, c.SPD_MIN_ER_IN_4, used, c.SPD_MIN_LIM_A_COMPARE, c.SPD_MIN_LIM_A_EQUAL,
                 c.SPD_MIN_LIM_NOT_EQ_NOT, CNFG_SETPT.MIN_GOV_A_NAME, mn);
    strict_check(c.SPD_MAX_ER_AND, c.SPD_MAX_ER_IN_4, used, c.SPD_MAX_LIM_A_COMPARE, c.SPD_MAX_LIM_A_EQUAL,
                 c.SPD_MAX_LIM_NOT_EQ_NOT, mx, CNFG_SETPT.MAX_GOV_A_NAME);
    c.SPD_LIM_ERR_OR = bk::OR({c.SPD_MIN_ER_AND, c.SPD_LIM_ER_AND, c.SPD_MAX_ER_AND});
}

void MPU_checks() {
    auto& m = MPU;
    const uint32_t mpu2 = CONF_VAL_1.USE_MPU2_B_NAME;
    const float ost = CNFG_SETPT.OST_LIMIT_A_NAME;
    const float max1 = CNFG_SPEED.SPD1_MAXSPD_A_NAME, max2 = CNFG_SPEED.SPD2_MAXSPD_A_NAME;
    bk::A_COMPARE(m.OST_LIM_GT_MAX_SPD1_A_COMPARE, m.OST_LIM_GT_MAX_SPD1_A_EQUAL, ost, max1);
    bk::A_COMPARE(m.OST_LIM_GT_MAX_SPD2_A_COMPARE, m.OST_LIM_GT_MAX_SPD2_A_EQUAL, ost, max2);
    m.MAX_SPD2_USED_AND = bk::AND({m.OST_LIM_GT_MAX_SPD2_A_COMPARE, mpu2});
    m.OST_LIM_GT_MAX_SPD_OR = bk::OR({m.OST_LIM_GT_MAX_SPD1_A_COMPARE, m.MAX_SPD2_USED_AND});
    // Tooth frequency at maximum speed.
    m.RATIO1_A_NAME = CNFG_SPEED.SPD1_GEAR_A_NAME;
    m.TEETH1_A_NAME = bk::int_to_real(CNFG_SPEED.SPD1_TEETH_I_NAME);
    m.HZ_TO_RPM1_MULTIPLY = m.TEETH1_A_NAME * m.RATIO1_A_NAME;
    m.HZ_RPM_RAT1_DIVIDE = bk::DIVIDE(m.HZ_TO_RPM1_MULTIPLY, 60.0f);
    m.MAX_SPD_HZ1_MULTIPLY = m.HZ_RPM_RAT1_DIVIDE * max1;
    m.RATIO2_A_NAME = CNFG_SPEED.SPD2_GEAR_A_NAME;
    m.TEETH2_A_NAME = bk::int_to_real(CNFG_SPEED.SPD2_TEETH_I_NAME);
    m.HZ_TO_RPM2_MULTIPLY = m.TEETH2_A_NAME * m.RATIO2_A_NAME;
    m.HZ_RPM_RAT2_DIVIDE = bk::DIVIDE(m.HZ_TO_RPM2_MULTIPLY, 60.0f);
    m.MAX_SPD_HZ2_MULTIPLY = m.HZ_RPM_RAT2_DIVIDE * max2;
    bk::A_COMPARE(m.SPD1_GT_MAX_A_COMPARE, m.SPD1_GT_MAX_A_EQUAL, m.MAX_SPD_HZ1_MULTIPLY, kMaxProbeHz);
    bk::A_COMPARE(m.SPD2_GT_A_COMPARE, m.SPD2_GT_A_EQUAL, m.MAX_SPD_HZ2_MULTIPLY, kMaxProbeHz);
    m.SPD2_GT_MAX_AND = bk::AND({mpu2, m.SPD2_GT_A_COMPARE});
    // The failed-speed level must lie above the lowest detectable speed.
    m.BUFFER_A_NAME = m.BUFFER_IN;
    m.MIN_SPD_CK1_MULTIPLY = max1 * m.BUFFER_A_NAME * kMinDetectable;
    m.MIN_SPD_CK2_MULTIPLY = max2 * kMinDetectable * m.BUFFER_A_NAME;
    MPU_OVRD.MIN_SPD_1_A_NAME = CNFG_SPEED.SPD1_LOW_SP_A_NAME;
    bk::A_COMPARE(m.SP1_MN_CHK_A_COMPARE, m.SP1_MN_CHK_A_EQUAL, m.MIN_SPD_CK1_MULTIPLY, MPU_OVRD.MIN_SPD_1_A_NAME);
}

}  // namespace r160
