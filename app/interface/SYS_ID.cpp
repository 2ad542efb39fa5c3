// SYS_ID and VLTR_VIB: the delay value in seconds, and whether any remote
// vibration signal is in use.
#include "app/interface/SYS_ID.cells.h"

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r160 {

void VLTR_VIB_count() {
    auto& V = VLTR_VIB;
    V.NUM_VIBSIGS_I_ADD = bk::I_ADD(bk::I_ADD(V.VIBS_USED_OUT_1, V.VIBS_USED_OUT_2),
                                    bk::I_ADD(V.VIBS_USED_OUT_3, V.VIBS_USED_OUT_4));
    bk::I_COMPARE(V.VIBUSED_EQ, V.VIBUSED_LT, V.VIBUSED_GT, V.NUM_VIBSIGS_I_ADD, 0);
    V.ENA_VIB_MON_B_NAME = V.VIBUSED_GT;
    V.WIZ_RQRD_I_NAME = V.WIZ_RQRD_IN;
}

void SYS_ID_delay() {
    SYS_ID.SS_HOURS_A_NAME = SYS_ID.SS_HOURS_IN;
    SYS_ID.CONVRT_MULTIPLY = SYS_ID.SS_HOURS_A_NAME * 3600.0f;
}

}  // namespace r160
