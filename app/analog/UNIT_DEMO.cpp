// The step timers of the demonstration sequence: an on-delay per step.
#include "app/analog/UNIT_DEMO.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

struct UNIT_DEMO_blocks {
    bk::DelayState DELAY, DELAY3, DELAY4, DELAY5;
};
BlockRam<UNIT_DEMO_blocks> UNIT_DEMO_st;

}  // namespace

namespace r160 {

// Each step's on-delay: true once the step has been active for DLY_TIME,
// false at once when the step ends.
void UNIT_DEMO_timers() {
    auto& c = UNIT_DEMO;
    auto& s = UNIT_DEMO_st;
    bk::DELAY(s.DELAY, c.DELAY_DELAY, &c.DELAY_R_TIME.ref(), c.DEMO_STEP1_SFC_STEP, c.DELAY_DLY_TIME, 0.0f, bk::T160);
    bk::DELAY(s.DELAY3, c.DELAY3_DELAY, &c.DELAY3_R_TIME.ref(), c.DEMO_STEP3_SFC_STEP, c.DELAY3_DLY_TIME, 0.0f,
              bk::T160);
    bk::DELAY(s.DELAY4, c.DELAY4_DELAY, &c.DELAY4_R_TIME.ref(), c.DEMO_STEP4_SFC_STEP, c.DELAY4_DLY_TIME, 0.0f,
              bk::T160);
    bk::DELAY(s.DELAY5, c.DELAY5_DELAY, &c.DELAY5_R_TIME.ref(), c.DEMO_STEP5_SFC_STEP, c.DELAY5_DLY_TIME, 0.0f,
              bk::T160);
}

}  // namespace r160

// UNIT_DEMO at 80 ms: demo mode, only while the internal simulation runs,
// and the pulses that start, trip, reset and zero the demo sequence.
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/control/ref_blocks.h"

namespace {
constexpr float kDemoPulse = 1.0f;

struct UNIT_DEMO_80_blocks {
    bk::OneShotState DEMO_START, DEMO_TRIP, DEMO_RESET;
    bk::DelayState AT_MAXGOV, GO2_CURV;
};
BlockRam<UNIT_DEMO_80_blocks> UNIT_DEMO_80_st;
}  // namespace

namespace r80 {

void UNIT_DEMO_enables() {
    auto& c = UNIT_DEMO;
    auto& s = UNIT_DEMO_80_st;
    c.NOT_IN_SIM_NOT = bk::NOT(SPEED_SIM.ENA_SIM_B_ACTION);
    // Stored action: the resets take precedence over the requests.
    if (bk::OR({SPEED_SIM.INTERNAL_SIM_OUT_4, c.ENA_DEMO_RST_2, c.NOT_IN_SIM_NOT}) != 0)
        c.ENA_DEMO_B_ACTION = 0;
    else if (bk::OR({SPEED_SIM.INTERNAL_SIM_OUT_3, c.ENA_DEMO_IN_2}) != 0)
        c.ENA_DEMO_B_ACTION = 1;
    c.DEMO_MODE_B_NAME = c.ENA_DEMO_B_ACTION;
    refbk::ACTION_OUT(c.ENA_DEMO_ACT_OUT, c.ENA_DEMO_E_TIME, c.ENA_DEMO_R_TIME, 2);
    const uint32_t in_sim = SPEED_SIM.ENA__SIM_B_NAME;
    c.READY_AND = bk::AND({c.DEMO_MODE_B_NAME, SPDC.A00_STEP_SFC_STEP, c.DELAY_DELAY, in_sim});
    bk::ONE_SHOT(s.DEMO_START, c.DEMO_START_ONE_SHOT, &c.DEMO_START_R_TIME.ref(), c.READY_AND, kDemoPulse, bk::T80);
    c.ENA_TRIP_AND = bk::AND({SPDC.SPEED_REF_P_LIM_9, c.DEMO_MODE_B_NAME, in_sim});
    bk::DELAY(s.AT_MAXGOV, c.AT_MAXGOV_DELAY, &c.AT_MAXGOV_R_TIME.ref(), c.ENA_TRIP_AND, c.AT_MAXGOV_DLY_TIME, 0.0f,
              bk::T80);
    bk::ONE_SHOT(s.DEMO_TRIP, c.DEMO_TRIP_ONE_SHOT, &c.DEMO_TRIP_R_TIME.ref(), c.AT_MAXGOV_DELAY, kDemoPulse, bk::T80);
    bk::ONE_SHOT(s.DEMO_RESET, c.DEMO_RESET_ONE_SHOT, &c.DEMO_RESET_R_TIME.ref(), c.DELAY4_DELAY, kDemoPulse,
                 bk::T80);
    c.DEMO_RAZ_AND = bk::AND({in_sim, c.DEMO_MODE_B_NAME, c.DELAY3_DELAY});
}

void UNIT_DEMO_at_idle() {
    auto& c = UNIT_DEMO;
    bk::DELAY(UNIT_DEMO_80_st.GO2_CURV, c.GO2_CURV_DELAY, &c.GO2_CURV_R_TIME.ref(), c.DEMO_STEP2_SFC_STEP,
              c.GO2_CURV_DLY_TIME, 0.0f, bk::T80);
    c.AT_IDLE_AND = bk::AND({MPU.SPD_GTEQ_IDL_OR, c.GO2_CURV_DELAY});
}

}  // namespace r80
