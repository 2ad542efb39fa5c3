// CUST_TREND: the values the operator's trend pens can show, each pen's
// chosen value and the axis range of each pen.
#include "app/interface/CUST_TREND.cells.h"

#include "app/control/CNFG_CASC.cells.h"
#include "app/remote_io/RTD_CHANNEL.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/analog/AO_MUX.cells.h"
#include "app/remote_io/VLTR_OUTS.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/interface/IFACE_OUT_CASC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int kPens = 14;
constexpr int kListLength = 30;
}  // namespace

namespace r40 {

void CUST_TREND_values() {
    auto& T = CUST_TREND;
    // Bearing temperatures: the controller's own input when configured,
    // else the remote RTD node's.
    T.TEMP_IN1_A_SW = bk::SW<float>(AI_MUX.BEARTEMP1_USED_B_NAME, VLTR_OUTS.VL_RTDS_LIST_1, AI_MUX.BEARTEMP1_A_NAME);
    T.TEMP_IN2_A_SW = bk::SW<float>(AI_MUX.BEARTEMP2_USED_B_NAME, VLTR_OUTS.VL_RTDS_LIST_2, AI_MUX.BEARTEMP2_A_NAME);
    T.TEMP_IN3_A_SW = bk::SW<float>(AI_MUX.BEARTEMP3_USED_B_NAME, VLTR_OUTS.VL_RTDS_LIST_3, AI_MUX.BEARTEMP3_A_NAME);
    T.TEMP_IN4_A_SW = bk::SW<float>(AI_MUX.BEARTEMP4_USED_B_NAME, VLTR_OUTS.VL_RTDS_LIST_4, AI_MUX.BEARTEMP4_A_NAME);

    float* const list[kListLength] = {
        &T.TREND_VARS_LIST_1.ref(),  &T.TREND_VARS_LIST_2.ref(),  &T.TREND_VARS_LIST_3.ref(),
        &T.TREND_VARS_LIST_4.ref(),  &T.TREND_VARS_LIST_5.ref(),  &T.TREND_VARS_LIST_6.ref(),
        &T.TREND_VARS_LIST_7.ref(),  &T.TREND_VARS_LIST_8.ref(),  &T.TREND_VARS_LIST_9.ref(),
        &T.TREND_VARS_LIST_10.ref(), &T.TREND_VARS_LIST_11.ref(), &T.TREND_VARS_LIST_12.ref(),
        &T.TREND_VARS_LIST_13.ref(), &T.TREND_VARS_LIST_14.ref(), &T.TREND_VARS_LIST_15.ref(),
        &T.TREND_VARS_LIST_16.ref(), &T.TREND_VARS_LIST_17.ref(), &T.TREND_VARS_LIST_18.ref(),
        &T.TREND_VARS_LIST_19.ref(), &T.TREND_VARS_LIST_20.ref(), &T.TREND_VARS_LIST_21.ref(),
        &T.TREND_VARS_LIST_22.ref(), &T.TREND_VARS_LIST_23.ref(), &T.TREND_VARS_LIST_24.ref(),
        &T.TREND_VARS_LIST_25.ref(), &T.TREND_VARS_LIST_26.ref(), &T.TREND_VARS_LIST_27.ref(),
        &T.TREND_VARS_LIST_28.ref(), &T.TREND_VARS_LIST_29.ref(), &T.TREND_VARS_LIST_30.ref(),
    };
    const float sources[24] = {
        0.0f,
        AO_MUX.SPEED_A_NAME,
        AO_MUX.SPD_SETPT_A_NAME,
        IFACE_OUT_SPEED.SPD_PID_A_NAME,
        AO_MUX.RMT_SPD_SP_A_NAME,
        AO_MUX.CASC_IN_NAME_A_NAME,
        AO_MUX.CASC_SETPT_A_NAME,
        IFACE_OUT_CASC.CASC_PID_A_NAME,
        AO_MUX.RMT_CASC_A_NAME,
        AO_MUX.VALVE_LMT_NAME_A_NAME,
        AO_MUX.HP_DMD_A_SW,
        AO_MUX.LSS_VALUE_A_NAME,
        AI_MUX.HP_FDBK_A_NAME,
        AI_MUX.SIG_MON_1_A_NAME,
        AI_MUX.SIG_MON_2_A_NAME,
        AI_MUX.SIG_MON_3_A_NAME,
        AI_MUX.VIB_IN1_A_NAME,
        AI_MUX.VIB_IN2_A_NAME,
        AI_MUX.VIB_IN3_A_NAME,
        AI_MUX.VIB_IN4_A_NAME,
        T.TEMP_IN1_A_SW,
        T.TEMP_IN2_A_SW,
        T.TEMP_IN3_A_SW,
        T.TEMP_IN4_A_SW,
    };
    for (int k = 0; k < kListLength; ++k) *list[k] = k < 24 ? sources[k] : 0.0f;

    // Pens in the order of their block names: 10 .. 14, then 1 .. 9. An index
    // outside the list keeps the pen's last value.
    struct Pen {
        int32_t index;
        float& sel;
        float& value;
    };
    const Pen pens[kPens] = {
        {T.TREND10_VAR_INT_I_NAME, T.TREND10_SEL_A_MUX_N_1, T.TREND10_VALUE_A_NAME},
        {T.TREND11_VAR_INT_I_NAME, T.TREND11_SEL_A_MUX_N_1, T.TREND11_VALUE_A_NAME},
        {T.TREND12_VAR_INT_I_NAME, T.TREND12_SEL_A_MUX_N_1, T.TREND12_VALUE_A_NAME},
        {T.TREND13_VAR_INT_I_NAME, T.TREND13_SEL_A_MUX_N_1, T.TREND13_VALUE_A_NAME},
        {T.TREND14_VAR_INT_I_NAME, T.TREND14_SEL_A_MUX_N_1, T.TREND14_VALUE_A_NAME},
        {T.TREND1_VAR_INT_I_NAME, T.TREND1_SEL_A_MUX_N_1, T.TREND1_VALUE_A_NAME},
        {T.TREND2_VAR_INT_I_NAME, T.TREND2_SEL_A_MUX_N_1, T.TREND2_VALUE_A_NAME},
        {T.TREND3_VAR_INT_I_NAME, T.TREND3_SEL_A_MUX_N_1, T.TREND3_VALUE_A_NAME},
        {T.TREND4_VAR_INT_I_NAME, T.TREND4_SEL_A_MUX_N_1, T.TREND4_VALUE_A_NAME},
        {T.TREND5_VAR_INT_I_NAME, T.TREND5_SEL_A_MUX_N_1, T.TREND5_VALUE_A_NAME},
        {T.TREND6_VAR_INT_I_NAME, T.TREND6_SEL_A_MUX_N_1, T.TREND6_VALUE_A_NAME},
        {T.TREND7_VAR_INT_I_NAME, T.TREND7_SEL_A_MUX_N_1, T.TREND7_VALUE_A_NAME},
        {T.TREND8_VAR_INT_I_NAME, T.TREND8_SEL_A_MUX_N_1, T.TREND8_VALUE_A_NAME},
        {T.TREND9_VAR_INT_I_NAME, T.TREND9_SEL_A_MUX_N_1, T.TREND9_VALUE_A_NAME},
    };
    for (const Pen& p : pens) {
        if (static_cast<uint32_t>(p.index) - 1u <= static_cast<uint32_t>(kListLength - 1)) p.sel = *list[p.index - 1];
        p.value = p.sel;
    }
}

}  // namespace r40

namespace r160 {

void CUST_TREND_positions() {
    auto& T = CUST_TREND;
    // Ranges of the bearing temperatures, from the same source as the values.
    const uint32_t used[4] = {AI_MUX.BEARTEMP1_USED_B_NAME, AI_MUX.BEARTEMP2_USED_B_NAME,
                              AI_MUX.BEARTEMP3_USED_B_NAME, AI_MUX.BEARTEMP4_USED_B_NAME};
    T.TEMP1_MAX_A_SW = bk::SW<float>(used[0], _ub43.HI_SP_IN_C_A_SW, AI_MUX.BEARTEMP1_MAX_A_NAME);
    T.TEMP1_MIN_A_SW = bk::SW<float>(used[0], _ub43.LO_SP_IN_C_A_SW, AI_MUX.BEARTEMP1_MIN_A_NAME);
    T.TEMP2_MAX_A_SW = bk::SW<float>(used[1], _ub44.HI_SP_IN_C_A_SW, AI_MUX.BEARTEMP2_MAX_A_NAME);
    T.TEMP2_MIN_A_SW = bk::SW<float>(used[1], _ub44.LO_SP_IN_C_A_SW, AI_MUX.BEARTEMP2_MIN_A_NAME);
    T.TEMP3_MAX_A_SW = bk::SW<float>(used[2], _ub45.HI_SP_IN_C_A_SW, AI_MUX.BEARTEMP3_MAX_A_NAME);
    T.TEMP3_MIN_A_SW = bk::SW<float>(used[2], _ub45.LO_SP_IN_C_A_SW, AI_MUX.BEARTEMP3_MIN_A_NAME);
    T.TEMP4_MAX_A_SW = bk::SW<float>(used[3], _ub46.HI_SP_IN_C_A_SW, AI_MUX.BEARTEMP4_MAX_A_NAME);
    T.TEMP4_MIN_A_SW = bk::SW<float>(used[3], _ub46.LO_SP_IN_C_A_SW, AI_MUX.BEARTEMP4_MIN_A_NAME);
    // The quick-stop speed low limit, the range floor of the speed pens.
    IFACE_IN_SPEED.QT_SPD_LOW_A_NAME = SPDC.QT_LOW_A_SW;

    T.TREND1_VAR_INT_I_NAME = T.TREND1_VAR_INT_IN;
    T.TREND2_VAR_INT_I_NAME = T.TREND2_VAR_INT_IN;
    T.TREND3_VAR_INT_I_NAME = T.TREND3_VAR_INT_IN;
    T.TREND4_VAR_INT_I_NAME = T.TREND4_VAR_INT_IN;
    T.TREND5_VAR_INT_I_NAME = T.TREND5_VAR_INT_IN;
    T.TREND6_VAR_INT_I_NAME = T.TREND6_VAR_INT_IN;
    T.TREND7_VAR_INT_I_NAME = T.TREND7_VAR_INT_IN;
    T.TREND8_VAR_INT_I_NAME = T.TREND8_VAR_INT_IN;
    T.TREND9_VAR_INT_I_NAME = T.TREND9_VAR_INT_IN;
    T.TREND10_VAR_INT_I_NAME = T.TREND10_VAR_INT_IN;
    T.TREND11_VAR_INT_I_NAME = T.TREND11_VAR_INT_IN;
    T.TREND12_VAR_INT_I_NAME = T.TREND12_VAR_INT_IN;
    T.TREND13_VAR_INT_I_NAME = T.TREND13_VAR_INT_IN;
    T.TREND14_VAR_INT_I_NAME = T.TREND14_VAR_INT_IN;
}

void CUST_TREND_ranges() {
    auto& T = CUST_TREND;
    const float limits[22] = {
        CNFG_SETPT.OST_LIMIT_A_NAME, IFACE_IN_SPEED.QT_SPD_LOW_A_NAME,
        AI_MUX.CASC_IN_MAX_A_NAME,   AI_MUX.CASC_IN_MIN_A_NAME,
        CNFG_CASC.MAX_SP_A_NAME,     CNFG_CASC.MIN_SP_A_NAME,
        AI_MUX.VIB_IN1_MAX_A_NAME,   AI_MUX.VIB_IN1_MIN_A_NAME,
        AI_MUX.VIB_IN2_MAX_A_NAME,   AI_MUX.VIB_IN2_MIN_A_NAME,
        AI_MUX.VIB_IN3_MAX_A_NAME,   AI_MUX.VIB_IN3_MIN_A_NAME,
        AI_MUX.VIB_IN4_MAX_A_NAME,   AI_MUX.VIB_IN4_MIN_A_NAME,
        T.TEMP1_MAX_A_SW,            T.TEMP1_MIN_A_SW,
        T.TEMP2_MAX_A_SW,            T.TEMP2_MIN_A_SW,
        T.TEMP3_MAX_A_SW,            T.TEMP3_MIN_A_SW,
        T.TEMP4_MAX_A_SW,            T.TEMP4_MIN_A_SW,
    };
    int32_t* const out[22] = {
        &T.A_TO_INT_OUT_1.ref(),  &T.A_TO_INT_OUT_2.ref(),  &T.A_TO_INT_OUT_3.ref(),  &T.A_TO_INT_OUT_4.ref(),
        &T.A_TO_INT_OUT_5.ref(),  &T.A_TO_INT_OUT_6.ref(),  &T.A_TO_INT_OUT_7.ref(),  &T.A_TO_INT_OUT_8.ref(),
        &T.A_TO_INT_OUT_9.ref(),  &T.A_TO_INT_OUT_10.ref(), &T.A_TO_INT_OUT_11.ref(), &T.A_TO_INT_OUT_12.ref(),
        &T.A_TO_INT_OUT_13.ref(), &T.A_TO_INT_OUT_14.ref(), &T.A_TO_INT_OUT_15.ref(), &T.A_TO_INT_OUT_16.ref(),
        &T.A_TO_INT_OUT_17.ref(), &T.A_TO_INT_OUT_18.ref(), &T.A_TO_INT_OUT_19.ref(), &T.A_TO_INT_OUT_20.ref(),
        &T.A_TO_INT_OUT_21.ref(), &T.A_TO_INT_OUT_22.ref(),
    };
    for (int k = 0; k < 22; ++k) *out[k] = bk::real_to_int(limits[k]);

    // Pens 10 .. 14, then 1 .. 9; pen 6 has no range.
    T.TREND10_Y_MAX_I_NAME = T.A_TO_INT_OUT_13;
    T.TREND10_Y_MIN_I_NAME = T.A_TO_INT_OUT_14;
    T.TREND11_Y_MAX_I_NAME = T.A_TO_INT_OUT_15;
    T.TREND11_Y_MIN_I_NAME = T.A_TO_INT_OUT_16;
    T.TREND12_Y_MAX_I_NAME = T.A_TO_INT_OUT_17;
    T.TREND12_Y_MIN_I_NAME = T.A_TO_INT_OUT_18;
    T.TREND13_Y_MAX_I_NAME = T.A_TO_INT_OUT_19;
    T.TREND13_Y_MIN_I_NAME = T.A_TO_INT_OUT_20;
    T.TREND14_Y_MAX_I_NAME = T.A_TO_INT_OUT_21;
    T.TREND14_Y_MIN_I_NAME = T.A_TO_INT_OUT_22;
    T.TREND1_Y_MAX_I_NAME = T.A_TO_INT_OUT_1;
    T.TREND1_Y_MIN_I_NAME = T.A_TO_INT_OUT_2;
    T.TREND2_Y_MAX_I_NAME = T.A_TO_INT_OUT_1;
    T.TREND2_Y_MIN_I_NAME = T.A_TO_INT_OUT_2;
    T.TREND3_Y_MAX_I_NAME = 100;
    T.TREND3_Y_MIN_I_NAME = 0;
    T.TREND4_Y_MAX_I_NAME = T.A_TO_INT_OUT_3;
    T.TREND4_Y_MIN_I_NAME = T.A_TO_INT_OUT_4;
    T.TREND5_Y_MAX_I_NAME = T.A_TO_INT_OUT_5;
    T.TREND5_Y_MIN_I_NAME = T.A_TO_INT_OUT_6;
    T.TREND7_Y_MAX_I_NAME = T.A_TO_INT_OUT_7;
    T.TREND7_Y_MIN_I_NAME = T.A_TO_INT_OUT_8;
    T.TREND8_Y_MAX_I_NAME = T.A_TO_INT_OUT_9;
    T.TREND8_Y_MIN_I_NAME = T.A_TO_INT_OUT_10;
    T.TREND9_Y_MAX_I_NAME = T.A_TO_INT_OUT_11;
    T.TREND9_Y_MIN_I_NAME = T.A_TO_INT_OUT_12;
}

}  // namespace r160
