// The remote vibration signals: how many are in use (160 ms), and at 80 ms
// how many good ones are left against the number required.
#include "app/remote_io/VLTR_VIB.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/interface/VLTR_ALMS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r160 {

void VLTR_VIB_used() {
    auto& V = VLTR_VIB;
    V.VIBS_USED_OUT_1 = AI_MUX.VIB_IN1_USED_B_NAME != 0 ? 1 : 0;
    V.VIBS_USED_OUT_2 = AI_MUX.VIB_IN2_USED_B_NAME != 0 ? 1 : 0;
    V.VIBS_USED_OUT_3 = AI_MUX.VIB_IN3_USED_B_NAME != 0 ? 1 : 0;
    V.VIBS_USED_OUT_4 = AI_MUX.VIB_IN4_USED_B_NAME != 0 ? 1 : 0;
}

void VLTR_VIB_count() {
    auto& V = VLTR_VIB;
    V.NUM_VIBSIGS_I_ADD = bk::I_ADD(bk::I_ADD(V.VIBS_USED_OUT_1, V.VIBS_USED_OUT_2),
                                    bk::I_ADD(V.VIBS_USED_OUT_3, V.VIBS_USED_OUT_4));
    bk::I_COMPARE(V.VIBUSED_EQ, V.VIBUSED_LT, V.VIBUSED_GT, V.NUM_VIBSIGS_I_ADD, 0);
    V.ENA_VIB_MON_B_NAME = V.VIBUSED_GT;
    V.WIZ_RQRD_I_NAME = V.WIZ_RQRD_IN;
}

}  // namespace r160

namespace r80 {

void VLTR_VIB_signals() {
    auto& V = VLTR_VIB;
    V.FLT_COUNT_OUT_1 = static_cast<int32_t>(AI_MUX.VIB_IN1_FLT_B_NAME != 0);
    V.FLT_COUNT_OUT_2 = static_cast<int32_t>(AI_MUX.VIB_IN2_FLT_B_NAME != 0);
    V.FLT_COUNT_OUT_3 = static_cast<int32_t>(AI_MUX.VIB_IN3_FLT_B_NAME != 0);
    V.FLT_COUNT_OUT_4 = static_cast<int32_t>(AI_MUX.VIB_IN4_FLT_B_NAME != 0);
    V.NUM_CHANFLTS_I_ADD = bk::I_ADD(bk::I_ADD(V.FLT_COUNT_OUT_1, V.FLT_COUNT_OUT_2),
                                     bk::I_ADD(V.FLT_COUNT_OUT_3, V.FLT_COUNT_OUT_4));
    V.NUM_GOOD_I_SUBTRACT = bk::I_SUBTRACT(V.NUM_VIBSIGS_I_ADD, V.NUM_CHANFLTS_I_ADD);
    bk::I_COMPARE(V.SIG_RQRD_EQ, V.SIG_RQRD_LT, V.SIG_RQRD_GT, V.NUM_GOOD_I_SUBTRACT, V.WIZ_RQRD_I_NAME);
    V.SIG_RQRD_LT_AND_AND = bk::AND({V.SIG_RQRD_LT, V.ENA_VIB_MON_B_NAME});
    V.VIB_SIGS_LOST_B_NAME = V.SIG_RQRD_LT_AND_AND;
    VLTR_ALMS.VIB_SIGS_LOST_B_NAME = V.SIG_RQRD_LT_AND_AND;
}

}  // namespace r80
