// CAN2 network restart check: opens the CAN2 image once the application may
// use it, and closes and reopens it once per reset pulse of the network block.
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/remote_io/remote_io.h"
#include "canopen/canopen_mscan.h"
#include "canopen/canopen_obj_dctn.h"
#include "runtime/can_startup.h"
#include "runtime/rgtask.h"

uint32_t CNFG_CAN2_CAN2_NTW1_2357_NtwOpen;
uint32_t CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch;

namespace {

void openNetwork(bool reopen) {
    cells::CNFG_CAN2.CAN2_NTW1_STATE = 1;
    CanOpenClose(1);
    ProducerHeartbeatTimeB = 0;
    IdentityB.VendorId = kCan2OwnVendorId;
    CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
    CanOpenImage& img = COImagesApp;
    if (img.ControllerId != 1) return;
    img.BusOff = 0;
    img.Errors = 0;
    IdentityB.ProductCode = VKGetCanOpenPartNumber(0, 0);
    IdentityB.SerialNumber = VKGetCanOpenSerialNumber(0, 0);
    IdentityB.Revision = VKGetCanOpenRevision(0, 0);
    cells::CNFG_CAN2.CAN2_NTW1_NMT_STATUS = CanOpenOpen(1);
    CNFG_CAN2_CAN2_NTW1_2357_NtwOpen = 1;
    if (reopen) CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch = 1;
    cells::CNFG_CAN2.CAN2_NTW1_STATE = 2;
}

}  // namespace

void COpenNtwCheckCNFG_CAN2_CAN2_NTW1_2357() {
    if (CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled != 1) return;
    const bool ready = AllRgExecutedwMMM != 0;
    const bool pulse = cells::CNFG_CAN2.CAN2_RST_OS_ONE_SHOT != 0;
    if (CNFG_CAN2_CAN2_NTW1_2357_NtwOpen == 0 && ready) {
        openNetwork(false);
    } else if (pulse && ready && CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch == 0) {
        CNFG_CAN2_CAN2_NTW1_2357_NtwOpen = 0;
        for (uint16_t& snap : CNFG_CAN2_CAN2_NTW1_2357_FrameSnap) snap = 0;
        openNetwork(true);
    }
    if (!pulse || !ready) CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch = 0;
}
