// The actuator channel's scaling (160 ms) and driver stage (10 ms). The
// driver stage checks the readbacks the gather brought against the demand
// of the previous pass, then hands the new demand current to the driver,
// whose count the next 10 ms gather writes.
#include "app/analog/CNFG_ACT.cells.h"

#include <cmath>

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "drivers/ZarnActuator.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/iogather.h"
#include "runtime/rgtask.h"

namespace {

constexpr uint32_t kCh = kZarnActOut6;
constexpr float kHighCountsPerMa = 67.546f;
constexpr float kLowCountsPerMa = 517.86f;

// Hidden state: the 0 % and 100 % currents last seen and their limited
// values.
struct CNFG_ACT_blocks {
    float last_ma0, last_ma100;
    float ma0, ma100;
};
BlockRam<CNFG_ACT_blocks> CNFG_ACT_st;

}  // namespace

void CNFG_ACT_init_blks() { stZarnActData[kCh].Rategroup = 10; }

// The 10 ms gather: the readbacks, then the count of the last pass.
void iogather_R10_actuator() {
    GatherZarnSrcRetReadback(kCh);
    WriteZarnActOut(kCh, stZarnActData[kCh].S_actout);
}

namespace r10 {

// The demand the driver takes: none while the simulation drives the valves.
void CNFG_ACT_sim_mode() {
    CNFG_ACT.SIM_MODE1_A_SW = SPEED_SIM.SIM_MODE_ACTS_B_NAME == 1 ? 0.0f : static_cast<float>(_ub5.DEMAND_A_NAME);
}

void CNFG_ACT_driver() {
    ZarnActChannel& rec = stZarnActData[kCh];
    CNFG_ACT_blocks& st = CNFG_ACT_st;

    // The range reaches the driver during start-up only.
    if (AllRgExecutedwMMM == 0) rec.Command = static_cast<uint16_t>(_ub5.RANGE_I_NAME);
    const bool high = rec.Command == 1;

    CalcZarnSrcRetReadback(kCh);
    CNFG_ACT.ACT_1_RDBK_SRC = rec.FiltSrcRbMa;
    CNFG_ACT.ACT_1_RDBK_RET = rec.FiltRtnRbMa;
    CheckZarnSrcRetReadbackFaults(kCh);
    CNFG_ACT.ACT_1_RB_SRC_FLT = rec.SourceRbErr == 1 ? 1u : 0u;
    CNFG_ACT.ACT_1_RB_RET_FLT = rec.ReturnRbErr == 1 ? 1u : 0u;

    const float ma0 = _ub5.MA_0_A_NAME;
    const float ma100 = _ub5.MA_100_A_NAME;
    if (ma0 != st.last_ma0 || ma100 != st.last_ma100) {
        st.last_ma0 = ma0;
        st.last_ma100 = ma100;
        st.ma0 = ma0 < 0.0f ? 0.0f : ma0;
        const float top = high ? kZarnActHighMaxMa : kZarnActLowMaxMa;
        st.ma100 = ma100 > top ? top : ma100;
    }
    CNFG_ACT.ACT_1_ACT_ZARN = bk::A_LIMITER(CNFG_ACT.SIM_MODE1_A_SW, -10.0f, 110.0f);
    const float demand =
        st.ma0 + (st.ma100 - st.ma0) / 100.0f *
                     (CNFG_ACT.ACT_1_ACT_ZARN * CNFG_ACT.ACT_01_GAIN_A_NAME + CNFG_ACT.MA_TO_PCT_MULTIPLY);
    rec.MaDemand = demand;
    rec.SlopeMaBits = high ? kHighCountsPerMa : kLowCountsPerMa;
    const float dither = _ub5.ACT_DITHER_A_NAME;
    rec.Dither = dither > 0.0f ? dither : 0.0f;
    rec.Shutdown = _ub5.SD_B_NAME == 1 ? 1u : 0u;
    CalcZarnActOutput(kCh);

    CNFG_ACT.ACT_01_SRC_FLT_B_NAME = CNFG_ACT.ACT_1_RB_SRC_FLT;
    CNFG_ACT.ACT_01_RDBK_FLT_B_NAME = CNFG_ACT.ACT_1_RB_RET_FLT;
    CNFG_ACT.ACT_01_FLT_ANY_OR = (CNFG_ACT.ACT_1_RB_SRC_FLT != 0 || CNFG_ACT.ACT_1_RB_RET_FLT != 0 ||
                                  CNFG_ACT.ACT_01_FLT_ANY_IN_3 != 0)
                                     ? 1u
                                     : 0u;
}

}  // namespace r10

namespace r160 {

void CNFG_ACT_scaling() {
    const float ma0 = _ub5.MA_0_A_NAME;
    const float ma100 = _ub5.MA_100_A_NAME;
    // Scale check: set while the 100 % current is not above the 0 % current
    // (kept for a value that is no number).
    if (ma100 <= ma0) CNFG_ACT.ACT1_SCALE_CHECK_A_COMPARE = 1;
    else if (ma100 > ma0) CNFG_ACT.ACT1_SCALE_CHECK_A_COMPARE = 0;
    CNFG_ACT.ACT1_SCALE_CHECK_A_EQUAL = ma0 == ma100 ? 1u : 0u;
    // The check applies to the functions that drive an HP valve (2 and 3);
    // a function number out of range keeps the last selection.
    switch (_ub5.FUNCT_INT_I_NAME) {
        case 1: case 4: CNFG_ACT.ACT1_SCALE_ERR_SD_B_MUX_N_1 = 0; break;
        case 2: case 3: CNFG_ACT.ACT1_SCALE_ERR_SD_B_MUX_N_1 = 1; break;
        default: break;
    }
    CNFG_ACT.ACT1_SCALE_SD_AND = bk::AND({CNFG_ACT.ACT1_SCALE_ERR_SD_B_MUX_N_1, CNFG_ACT.ACT1_SCALE_CHECK_A_COMPARE});
    CNFG_ACT.ACT_01_GAIN_A_NAME = CNFG_ACT.ACT_01_GAIN_IN;
    CNFG_ACT.ACT_01_OFFSET_A_NAME = CNFG_ACT.ACT_01_OFFSET_IN;
    CNFG_ACT.ACT_FRC_RATE_A_NAME = CNFG_ACT.ACT_FRC_RATE_IN;
    const float span = ma100 - ma0;
    CNFG_ACT.RANGE1_SUBTRACT = span;
    const float offset = CNFG_ACT.ACT_01_OFFSET_A_NAME;
    if (span == 0.0f) CNFG_ACT.MA_TO_DEC_DIVIDE = offset >= 0.0f ? 1e34f : -1e34f;
    else CNFG_ACT.MA_TO_DEC_DIVIDE = offset / span;
    CNFG_ACT.MA_TO_PCT_MULTIPLY = CNFG_ACT.MA_TO_DEC_DIVIDE * 100.0f;
}

}  // namespace r160
