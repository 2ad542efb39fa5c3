// IFACE_IN_VLV and IFACE_OUT_START at 80 ms: the controlled-stop enable and
// the start sequence's step flags as the interface maps read them.
#include "app/control/IFACE_IN_VLV.cells.h"

#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/control/IFACE_OUT_START.cells.h"
#include "app/control/SPDC.cells.h"

namespace r80 {

void IFACE_IN_VLV_sequence_status() {
    auto& c = IFACE_IN_VLV;
    IFACE_OUT_START.CSD_ENABLED_B_NAME = CNTRL_STOP.NSD_ENABLED_LATCH_R;
    c.CSD_ENABLED_B_NAME = CNTRL_STOP.NSD_ENABLED_LATCH_R;
    c.SD_SEQ_SD_B_NAME = SPDC.Z00_STEP_SFC_STEP;
    c.STRT_SEQ_AT_IDL1_B_NAME = SPDC.A02_STEP_SFC_STEP;
    c.STRT_SEQ_CMPL_B_NAME = SPDC.A08_STEP_SFC_STEP;
    c.STRT_SEQ_OVSPD_B_NAME = IFACE_OUT_SPEED.OSPD_TEST_EN_B_NAME;
    c.STRT_SEQ_OVSPD_RST_B_NAME = SPDC.A10_STEP_SFC_STEP;
    c.STRT_SEQ_RST_B_NAME = SPDC.A00_STEP_SFC_STEP;
    c.STRT_SEQ_RUN_BK_B_NAME = SPDC.A11_STEP_SFC_STEP;
    c.STRT_SEQ_TO_IDL1_B_NAME = SPDC.A01_STEP_SFC_STEP;
}

}  // namespace r80
