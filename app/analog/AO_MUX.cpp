// AO_MUX: the output selection list, the cascade input as the outputs and
// trends see it, and the routing of the analog output channels' "function
// used" flags.
#include "app/analog/AO_MUX.cells.h"

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AI_MUX.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/control/HP_DRIVER.cells.h"
#include "app/control/MPU.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r10 {

void AO_MUX_signals() {
    auto& M = AO_MUX;
    M.SPEED_A_NAME = MPU.TURB_SPD_A_NAME;
    M.HP_LSS_DMD_A_NAME = HP_DRIVER.HP_MAX_A_MIN;
    M.HP_DMD_A_SW = bk::SW<float>(M.HP_DMD_CTRL, _ub5.HP_DMD_A_NAME, M.HP_LSS_DMD_A_NAME);
    M.LSS_VALUE_A_NAME = HP_DRIVER.ACT_LSS_LSS_BUS;

    M.SEL_OUTS_LIST_1 = 0.0f;
    M.SEL_OUTS_LIST_2 = M.SPEED_A_NAME;
    M.SEL_OUTS_LIST_3 = M.SPD_SETPT_A_NAME;
    M.SEL_OUTS_LIST_4 = M.RMT_SPD_SP_A_NAME;
    M.SEL_OUTS_LIST_5 = M.CASC_IN_NAME_A_NAME;
    M.SEL_OUTS_LIST_6 = M.CASC_SETPT_A_NAME;
    M.SEL_OUTS_LIST_7 = M.RMT_CASC_A_NAME;
    M.SEL_OUTS_LIST_8 = M.VALVE_LMT_NAME_A_NAME;
    M.SEL_OUTS_LIST_9 = M.HP_DMD_A_SW;
    M.SEL_OUTS_LIST_10 = AI_MUX.SIG_MON_1_A_NAME;
    M.SEL_OUTS_LIST_11 = AI_MUX.SIG_MON_2_A_NAME;
    M.SEL_OUTS_LIST_12 = AI_MUX.SIG_MON_3_A_NAME;
    M.SEL_OUTS_LIST_13 = M.LSS_VALUE_A_NAME;
    M.SEL_OUTS_LIST_14 = AI_MUX.HP_FDBK_A_NAME;
    M.SEL_OUTS_LIST_15 = M.SEL_OUTS_IN_15;
    M.SEL_OUTS_LIST_16 = M.SEL_OUTS_IN_16;
    M.SEL_OUTS_LIST_17 = M.SEL_OUTS_IN_17;
    M.SEL_OUTS_LIST_18 = 0.0f;
    M.SEL_OUTS_LIST_19 = 0.0f;
    M.SEL_OUTS_LIST_20 = 0.0f;
}

}  // namespace r10

namespace r20 {
void AO_MUX_cascade_input() { AO_MUX.CASC_IN_NAME_A_NAME = AI_MUX.CASC_IN_A_NAME; }
}  // namespace r20

namespace r160 {

void AO_MUX_functions_used() {
    auto& M = AO_MUX;
    uint32_t* const slot[20] = {
        &M.AO_FUNC_USED_OUT_1.ref(),  &M.AO_FUNC_USED_OUT_2.ref(),  &M.AO_FUNC_USED_OUT_3.ref(),
        &M.AO_FUNC_USED_OUT_4.ref(),  &M.AO_FUNC_USED_OUT_5.ref(),  &M.AO_FUNC_USED_OUT_6.ref(),
        &M.AO_FUNC_USED_OUT_7.ref(),  &M.AO_FUNC_USED_OUT_8.ref(),  &M.AO_FUNC_USED_OUT_9.ref(),
        &M.AO_FUNC_USED_OUT_10.ref(), &M.AO_FUNC_USED_OUT_11.ref(), &M.AO_FUNC_USED_OUT_12.ref(),
        &M.AO_FUNC_USED_OUT_13.ref(), &M.AO_FUNC_USED_OUT_14.ref(), &M.AO_FUNC_USED_OUT_15.ref(),
        &M.AO_FUNC_USED_OUT_16.ref(), &M.AO_FUNC_USED_OUT_17.ref(), &M.AO_FUNC_USED_OUT_18.ref(),
        &M.AO_FUNC_USED_OUT_19.ref(), &M.AO_FUNC_USED_OUT_20.ref(),
    };
    for (uint32_t* s : slot) *s = 0;
    const struct {
        int32_t function;
        uint32_t flag;
    } entries[5] = {
        {M.AO_FUNC_USED_SEL_1, M.AO_FUNC_USED_IN_1},   {_ub10.FUNCT_INT_I_NAME, M.AO_FUNC_USED_IN_2},
        {_ub11.FUNCT_INT_I_NAME, M.AO_FUNC_USED_IN_3}, {_ub12.FUNCT_INT_I_NAME, M.AO_FUNC_USED_IN_4},
        {_ub5.FUNCT_INT_I_NAME, M.AO_FUNC_USED_IN_5},
    };
    for (const auto& e : entries)
        if (e.function >= 1 && e.function <= 20) *slot[e.function - 1] = e.flag;
}

}  // namespace r160
