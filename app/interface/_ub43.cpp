// RTD channel 1's configuration stage. A selector outside 1..2 leaves its
// text as it was.
#include "app/interface/_ub43.cells.h"

#include "app/config/CNFG_CAN2.cells.h"
#include "runtime/blockkinds.h"

namespace {
constexpr float kMsPerSecond = 1000.0f;
constexpr float kFahrenheitZero = 32.0f;
constexpr float kCelsiusPerFahrenheit = 0.5555556f;
}  // namespace

namespace r80 {

void _ub43_config() {
    auto& c = _ub43;
    c.CURVE_C_I_NAME = c.CURVE_C_IN;
    c.OHM_C_I_NAME = c.OHM_C_IN;
    bk::S_MUX(c.CURVE_TYPE_S_MUX_N_1, c.CURVE_C_I_NAME, {"E", "A"});
    bk::S_MUX(c.OHM_VAL_S_MUX_N_1, c.OHM_C_I_NAME, {"100", "200"});
    c.OFFSET_A_NAME = c.OFFSET_IN;
    c.GAIN_A_NAME = c.GAIN_IN;
    c.FLT_DLY_A_NAME = c.FLT_DLY_IN;
    c.SEC_TO_MS_MULTIPLY = c.FLT_DLY_A_NAME * kMsPerSecond;
    c.SEL_DEG_F_B_NAME = CNFG_CAN2.USE_DEG_F_IN;
    c.RANGE_LO_A_NAME = c.RANGE_LO_IN;
    c.RANGE_HI_A_NAME = c.RANGE_HI_IN;
    c.F_TO_C_OUT_1 = (c.RANGE_LO_A_NAME - kFahrenheitZero) * kCelsiusPerFahrenheit;
    c.F_TO_C_OUT_2 = (c.RANGE_HI_A_NAME - kFahrenheitZero) * kCelsiusPerFahrenheit;
    c.LO_SP_IN_C_A_SW = bk::SW<float>(c.SEL_DEG_F_B_NAME, c.RANGE_LO_A_NAME, c.F_TO_C_OUT_1);
    c.HI_SP_IN_C_A_SW = bk::SW<float>(c.SEL_DEG_F_B_NAME, c.RANGE_HI_A_NAME, c.F_TO_C_OUT_2);
}

}  // namespace r80
