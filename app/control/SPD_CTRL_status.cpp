// SPD_CTRL's interface pieces: the active dynamics set of the speed PID
// (80 ms: 1 off-line, 2 on-line, 5 while the optimizer's dynamics are in
// use) and the optimizer status as one of sixteen status LEDs (160 ms).
#include "app/control/SPD_CTRL.cells.h"

#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int32_t kOptimizerDynamics = 5;

// The routing of a position (1 ..) to its output: each output is cleared,
// then the one at the position, if any, is set.
template <size_t N>
void route_one(uint32_t* const (&out)[N], int32_t position) {
    for (uint32_t* o : out) *o = 0;
    if (position >= 1 && static_cast<size_t>(position) <= N) *out[position - 1] = 1;
}
}  // namespace

namespace r80 {

void SPD_CTRL_dynamics_set() {
    auto& c = SPD_CTRL;
    c.DYN_PACK8_I_OUT = c.ONLINE_DYN_B_NAME != 0 ? 1 : 0;
    c.I_ADD_I_ADD = bk::I_ADD(c.DYN_PACK8_I_OUT, 1);
    c.CALC_GAINS_SW_I_SW = bk::SW<int32_t>(_ub91.OPTIDYN_IN_USE_AND, c.I_ADD_I_ADD, kOptimizerDynamics);
    uint32_t* const Bmux_SPD_CTRL_DYN_ACTIV_8962[] = {&c.DYN_ACTIV_OUT_1.ref(), &c.DYN_ACTIV_OUT_2.ref(),
                                                      &c.DYN_ACTIV_OUT_3.ref(), &c.DYN_ACTIV_OUT_4.ref(),
                                                      &c.DYN_ACTIV_OUT_5.ref()};
    route_one(Bmux_SPD_CTRL_DYN_ACTIV_8962, c.CALC_GAINS_SW_I_SW);
}

}  // namespace r80

namespace r160 {

void SPD_CTRL_status_leds() {
    auto& c = SPD_CTRL;
    uint32_t* const Bmux_SPD_CTRL_QT_STATUS_LEDS_9039[] = {
        &c.QT_STATUS_LEDS_OUT_1.ref(),  &c.QT_STATUS_LEDS_OUT_2.ref(),  &c.QT_STATUS_LEDS_OUT_3.ref(),
        &c.QT_STATUS_LEDS_OUT_4.ref(),  &c.QT_STATUS_LEDS_OUT_5.ref(),  &c.QT_STATUS_LEDS_OUT_6.ref(),
        &c.QT_STATUS_LEDS_OUT_7.ref(),  &c.QT_STATUS_LEDS_OUT_8.ref(),  &c.QT_STATUS_LEDS_OUT_9.ref(),
        &c.QT_STATUS_LEDS_OUT_10.ref(), &c.QT_STATUS_LEDS_OUT_11.ref(), &c.QT_STATUS_LEDS_OUT_12.ref(),
        &c.QT_STATUS_LEDS_OUT_13.ref(), &c.QT_STATUS_LEDS_OUT_14.ref(), &c.QT_STATUS_LEDS_OUT_15.ref(),
        &c.QT_STATUS_LEDS_OUT_16.ref()};
    route_one(Bmux_SPD_CTRL_QT_STATUS_LEDS_9039, c.SPD_PID_OPTI_STATUS);
    IFACE_OUT_SPEED.AT_SETPT_OR = bk::OR({c.QT_STATUS_LEDS_OUT_8, c.QT_STATUS_LEDS_OUT_12});
    IFACE_OUT_SPEED.DATA_STEPS_OR = bk::OR({c.QT_STATUS_LEDS_OUT_5, c.QT_STATUS_LEDS_OUT_6});
}

}  // namespace r160

namespace {
struct SPD_CTRL_limit_blocks {
    bk::DelayState RST_HOLD_DLY;
};
BlockRam<SPD_CTRL_limit_blocks> SPD_CTRL_limit_st;
}  // namespace

namespace r160 {

void SPD_CTRL_process_limit() {
    auto& c = SPD_CTRL;
    bk::DELAY(SPD_CTRL_limit_st.RST_HOLD_DLY, c.RST_HOLD_DLY_DELAY.ref(), &c.RST_HOLD_DLY_R_TIME.ref(),
              c.CALC_NOISE_ENBL_OR, c.RST_HOLD_DLY_DLY_TIME, 0.0f, bk::T160);
    c.RCMD_OPTI_PROC_MULTIPLY = c.SIGNAL_NOISE_A_NAME * c.RCMD_OPTI_PROC_IN_2;
    c.MULTIPLY_MULTIPLY = SPDC.SPEED_REF_RAMP * c.MULTIPLY_IN_2;
    c.PROC_LIM_A_LIMITER = bk::A_LIMITER(c.RCMD_OPTI_PROC_MULTIPLY, c.MULTIPLY_MULTIPLY, c.PROC_LIM_IN_HI);
    c.RCMD_OPTI_PROC_LIM_A_SW = bk::SW<float>(c.RST_HOLD_DLY_DELAY, 0.0f, c.PROC_LIM_A_LIMITER);
}

}  // namespace r160
