// The CAN2 network restart check: the first open once every rate group has
// run, one reopen per reset pulse, nothing while the network is not enabled.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "host/vkboard.h"
#include "app/remote_io/remote_io.h"
#include "canopen/canopen_obj_dctn.h"
#include "runtime/can_startup.h"
#include "runtime/rgtask.h"
#include "tests/canopen/can_fixture.h"

namespace {

struct NtwRig {
    CanNet net{false, true};
    NtwRig() {
        CNFG_CAN2_CAN2_NTW1_2357_NtwOpen = 0;
        CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch = 0;
        AllRgExecutedwMMM = 0;
        cells::CNFG_CAN2.CAN2_RST_OS_ONE_SHOT = 0;
        cells::CNFG_CAN2.CAN2_NTW1_STATE = 0;
        cells::CNFG_CAN2.CAN2_NTW1_NMT_STATUS = -7;
        net.task([] { CanOpenClose(1); });
        net.take();
    }
    ~NtwRig() { AllRgExecutedwMMM = 0; }
    // One call of the check per pass; returns the own boot-ups (opens) seen.
    int check(int passes = 1) {
        for (int i = 0; i < passes; ++i) {
            net.task([] { COpenNtwCheckCNFG_CAN2_CAN2_NTW1_2357(); });
            net.passes(1);
        }
        const Lines l = net.take();
        return static_cast<int>(std::count(l.begin(), l.end(), "70A#00"));
    }
    int state() { return cells::CNFG_CAN2.CAN2_NTW1_STATE; }
};

}  // namespace

TEST(Can2RestartCheck, OpensOnlyOnceEveryGroupHasRun) {
    NtwRig rig;
    EXPECT_EQ(rig.check(3), 0);
    EXPECT_EQ(GetOpenCanOpenImage(1), nullptr);
    EXPECT_EQ(rig.state(), 0);
    AllRgExecutedwMMM = 1;
    IdentityB.VendorId = 0;
    IdentityB.ProductCode = IdentityB.SerialNumber = IdentityB.Revision = 0;
    const board::Identity saved = board::identity();
    board::setIdentity({99024411, 7001, 0x00020001, "model", "target"});
    ProducerHeartbeatTimeB = 500;
    for (CoOrskNodeData* d : CoOrskNodeData4) d->Status = 0;
    EXPECT_EQ(rig.check(), 1);
    EXPECT_NE(GetOpenCanOpenImage(1), nullptr);
    EXPECT_EQ(rig.state(), 2);
    EXPECT_EQ(static_cast<int32_t>(cells::CNFG_CAN2.CAN2_NTW1_NMT_STATUS), 0);
    EXPECT_EQ(CNFG_CAN2_CAN2_NTW1_2357_NtwOpen, 1u);
    EXPECT_EQ(CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch, 0u);
    EXPECT_EQ(IdentityB.VendorId, kCan2OwnVendorId);
    EXPECT_EQ(IdentityB.ProductCode, 99024411u);
    EXPECT_EQ(IdentityB.SerialNumber, 7001u);
    EXPECT_EQ(IdentityB.Revision, 0x00020001u);
    board::setIdentity(saved);
    EXPECT_EQ(ProducerHeartbeatTimeB, 0);
    for (CoOrskNodeData* d : CoOrskNodeData4) EXPECT_EQ(d->Status, ORSK_IDS_LOADED);
    EXPECT_EQ(rig.check(5), 0);  // stays open
}

TEST(Can2RestartCheck, LongResetPulseReopensOnce) {
    NtwRig rig;
    AllRgExecutedwMMM = 1;
    EXPECT_EQ(rig.check(), 1);
    CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[0] = 7;
    CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[2] = 9;
    COImagesApp.BusOff = 1;
    COImagesApp.Errors = 3;
    cells::CNFG_CAN2.CAN2_RST_OS_ONE_SHOT = 1;
    EXPECT_EQ(rig.check(), 1);
    EXPECT_EQ(CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch, 1u);
    EXPECT_EQ(CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[0], 0);
    EXPECT_EQ(CNFG_CAN2_CAN2_NTW1_2357_FrameSnap[2], 0);
    EXPECT_EQ(COImagesApp.BusOff, 0);
    EXPECT_EQ(COImagesApp.Errors, 0);
    EXPECT_EQ(rig.state(), 2);
    EXPECT_EQ(rig.check(10), 0);
    cells::CNFG_CAN2.CAN2_RST_OS_ONE_SHOT = 0;
    EXPECT_EQ(rig.check(), 0);
    EXPECT_EQ(CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch, 0u);
    cells::CNFG_CAN2.CAN2_RST_OS_ONE_SHOT = 1;
    EXPECT_EQ(rig.check(), 1);  // a new pulse, a new reopen
}

TEST(Can2RestartCheck, ResetPulseBeforeTheGroupsHaveRunDoesNothing) {
    NtwRig rig;
    cells::CNFG_CAN2.CAN2_RST_OS_ONE_SHOT = 1;
    EXPECT_EQ(rig.check(3), 0);
    EXPECT_EQ(CNFG_CAN2_CAN2_NTW1_2357_ReopenLatch, 0u);
    AllRgExecutedwMMM = 1;
    // The first open leaves the latch clear, so the held pulse reopens once more.
    EXPECT_EQ(rig.check(3), 2);
}

TEST(Can2RestartCheck, NothingWhileTheNetworkIsNotEnabled) {
    NtwRig rig;
    AllRgExecutedwMMM = 1;
    CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled = 0;
    EXPECT_EQ(rig.check(3), 0);
    EXPECT_EQ(rig.state(), 0);
    CNFG_CAN2_CAN2_NTW1_2357_NtwEnabled = 1;
    EXPECT_EQ(rig.check(), 1);
}
