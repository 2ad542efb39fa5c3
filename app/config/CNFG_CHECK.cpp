// The speed-setting checks: the entered idle, rated, governor, critical-band
// and overspeed settings against each other and against the features in
// use. A comparison with a value that is not a number keeps its result.
#include "app/config/CNFG_START.cells.h"
#include "app/config/CNFG_CHECK.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/START.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {
namespace {

// a <= b into `out` (kept when either is not a number).
void at_most(uint32_t& out, uint32_t& equal, float a, float b) { bk::A_COMPARE(out, equal, b, a); }
// a >= b into `out`.
void at_least(uint32_t& out, uint32_t& equal, float a, float b) { bk::A_COMPARE(out, equal, a, b); }

}  // namespace

void CNFG_CHECK_speed_settings() {
    auto& c = CNFG_CHECK;
    c.USE_RMTSPD_B_NAME = CNFG_SETPT.USE_RMTSPD_B_NAME;
    c.USE_CASCAD_B_NAME = CNFG_CASC.USE_CASC_B_NAME;
    c.USE_RMTCAS_B_NAME = IFACE_IN_CASC.CAS_RMT_B_NAME;
    c.OTHR_STRT_OR = CNFG_START.AUTO_START_B_NAME;

    const float idle1 = CNFG_START.IDLE_1_SP_A_NAME;
    const float crit_lo = CNFG_SETPT.CRIT_SPD_1_MIN_A_NAME;
    const float crit_hi = CNFG_SETPT.CRIT_SPD_1_MAX_A_NAME;
    const float min_gov = CNFG_SETPT.MIN_GOV_A_NAME;
    const float max_gov = CNFG_SETPT.MAX_GOV_A_NAME;
    const float iface_min_gov = IFACE_IN_SPEED.MIN_GOV_A_NAME;
    const float rated = CNFG_START.IR_RATED_SP_A_NAME;
    const float ost_limit = CNFG_SETPT.OST_LIMIT_A_NAME;
    const float spd1_failed = CNFG_SPEED.SPD1_LOW_SP_A_NAME;
    const float spd2_failed = CNFG_SPEED.SPD2_LOW_SP_A_NAME;
    const uint32_t band_used = CNFG_SETPT.USE_CRIT_SPD_B_NAME;
    const uint32_t other_start = c.OTHR_STRT_OR;
    const uint32_t spd2_used = CONF_VAL_1.USE_MPU2_B_NAME;

    at_most(c.BND1_CHK_A_COMPARE, c.BND1_CHK_A_EQUAL, crit_lo, idle1);
    at_least(c.BND2_CHK_A_COMPARE, c.BND2_CHK_A_EQUAL, crit_hi, iface_min_gov);
    at_most(c.BND3_CHK_A_COMPARE, c.BND3_CHK_A_EQUAL, crit_hi, crit_lo);
    at_most(c.CRITRTE_ER_A_COMPARE, c.CRITRTE_ER_A_EQUAL, CNFG_SETPT.CRIT_SPD_RATE_A_NAME,
            CNFG_SETPT.SLOW_RATE_OFFLINE_A_NAME);
    at_least(c.HIGH_LIM_1_A_COMPARE, c.HIGH_LIM_1_A_EQUAL, crit_hi, idle1);
    at_least(c.LOW_LIM_1_A_COMPARE, c.LOW_LIM_1_A_EQUAL, idle1, crit_lo);
    c.CRIT_BAND1_AND = bk::AND({c.HIGH_LIM_1_A_COMPARE, band_used, c.LOW_LIM_1_A_COMPARE});
    c.CRIT_ER_NI_B_SW = bk::AND({band_used, bk::NOT(other_start)});
    c.CRIT_RATE_AND = bk::AND({START.NOT_STRTD_NOT, c.CRITRTE_ER_A_COMPARE, band_used});
    c.IDLE1_IN_CRIT_AND = bk::AND({other_start, c.CRIT_BAND1_AND});
    at_least(c.IDLE_ER_A_COMPARE, c.IDLE_ER_A_EQUAL, idle1, min_gov);
    c.IDL_ERROR_AND = bk::AND({c.IDLE_ER_A_COMPARE, other_start, c.IDL_ERROR_IN_3});
    at_most(c.IDLE_MIN_SPD1_ER_A_COMPARE, c.IDLE_MIN_SPD1_ER_A_EQUAL, idle1, spd1_failed);
    at_most(c.IDLE_MIN_SPD2_ER_A_COMPARE, c.IDLE_MIN_SPD2_ER_A_EQUAL, idle1, spd2_failed);
    c.IDLE_MIN_SPD2_ER_AND_AND = bk::AND({c.IDLE_MIN_SPD2_ER_A_COMPARE, spd2_used});
    c.IDLE_MIN_SPD_ER_OR_OR = bk::OR({c.IDLE_MIN_SPD1_ER_A_COMPARE, c.IDLE_MIN_SPD2_ER_AND_AND});
    c.IDLE_MN_SPD_ERROR_AND = bk::AND({c.IDLE_MIN_SPD_ER_OR_OR, other_start, c.IDLE_MN_SPD_ERROR_IN_3});
    bk::A_COMPARE(c.IDL_RTD_MN_A_COMPARE, c.IDL_RTD_MN_A_EQUAL, min_gov, rated);
    c.IDL_RTD_MN_AND_AND = bk::AND({c.IDL_RTD_MN_A_COMPARE, bk::NOT(c.IDL_RTD_MN_A_EQUAL)});
    bk::A_COMPARE(c.IDL_RTD_MX_A_COMPARE, c.IDL_RTD_MX_A_EQUAL, rated, max_gov);
    c.IDL_RTD_MX_AND_AND = bk::AND({c.IDL_RTD_MX_A_COMPARE, bk::NOT(c.IDL_RTD_MX_A_EQUAL)});
    const uint32_t use_rated = bk::AND({CNFG_START.USE_RATED_B_NAME, CNFG_START.AUTO_START_B_NAME});
    c.IR_MAXERR_B_SW = bk::SW<uint32_t>(use_rated, 0u, c.IDL_RTD_MX_AND_AND);
    c.IR_MINERR_B_SW = bk::SW<uint32_t>(use_rated, 0u, c.IDL_RTD_MN_AND_AND);
    at_most(c.MAX_GOV_OS_ER_A_COMPARE, c.MAX_GOV_OS_ER_A_EQUAL, ost_limit, max_gov);
    at_most(c.MIN_MAX_ER_A_COMPARE, c.MIN_MAX_ER_A_EQUAL, max_gov, min_gov);
    c.MIN_MAX_ERR_AND = bk::AND({c.MIN_MAX_ER_A_COMPARE, c.MIN_MAX_ERR_IN_3});
    at_least(c.MIN_SPD1_ER_A_COMPARE, c.MIN_SPD1_ER_A_EQUAL, spd1_failed, iface_min_gov);
    at_most(c.MIN_SPD2_ER_A_COMPARE, c.MIN_SPD2_ER_A_EQUAL, iface_min_gov, spd2_failed);
    c.MIN_SPD2_ER_AND_AND = bk::AND({c.MIN_SPD2_ER_A_COMPARE, spd2_used});
    c.MIN_SPD_ERROR_OR_OR = bk::OR({c.MIN_SPD1_ER_A_COMPARE, c.MIN_SPD2_ER_AND_AND, c.IDLE_MN_SPD_ERROR_AND});
    at_least(c.OS_OSTSP_ER_A_COMPARE, c.OS_OSTSP_ER_A_EQUAL, CNFG_SETPT.OSPD_TRIP_A_NAME, ost_limit);
    c.RMT_CASC_CONF_AND = bk::AND({c.USE_CASCAD_B_NAME, c.USE_RMTCAS_B_NAME});
    c.USE_BND1_AND = bk::AND({other_start, band_used, c.BND1_CHK_A_COMPARE});
    c.USE_BND2_AND = bk::AND({other_start, band_used, c.BND2_CHK_A_COMPARE});
    c.USE_BND3_AND = bk::AND({other_start, band_used, c.BND3_CHK_A_COMPARE});
}

fnchk::Features CNFG_CHECK_features() {
    return {CNFG_CHECK.USE_RMTSPD_B_NAME,     CNFG_CHECK.USE_CASCAD_B_NAME,     CNFG_CHECK.RMT_CASC_CONF_AND,
            AI_MUX.SIG_MON_1_USED_B_NAME, AI_MUX.SIG_MON_2_USED_B_NAME, AI_MUX.SIG_MON_3_USED_B_NAME};
}

}  // namespace r160
