// The site identification texts and the hardware serial number, read from
// the board on the power-up pulse.
#include "app/control/SYS_ID.cells.h"
#include "app/control/control_slices.h"
#include "host/vkboard.h"
#include "tests/control_valve/valve_rig.h"

using namespace valve_test;

namespace {

class SiteId : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        board::resetPlatform();
        board::Identity id = board::identity();
        id.serialNumber = 424242;
        board::setIdentity(id);
        run({}, {}, {}, {_R160_TASK_50});
        seconds(0.5);
    }
    void TearDown() override {
        ValveRig::TearDown();
        board::resetPlatform();
    }
    void powerUpPulse() {
        setCell("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT", 1);
        seconds(0.32);
        setCell("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT", 0);
        seconds(0.32);
    }
};

TEST_F(SiteId, TheSiteTextsReachTheirCells) {
    EXPECT_EQ(text("SYS_ID.SITE_LOCAL.S_NAME"), "Location");
    EXPECT_EQ(text("SYS_ID.SITE_NAME.S_NAME"), "Customer Site Name");
    EXPECT_EQ(text("SYS_ID.SITE_UNIT.S_NAME"), "Unit ID");
    EXPECT_EQ(boolean("SYS_ID.HW_SN_AVAIL.B_NAME"), 1u);
    setCell("SYS_ID.HW_SN_AVAIL.IN", 0);
    char* site = static_cast<char*>(cell("SYS_ID.SITE_NAME.IN"));
    ASSERT_NE(site, nullptr);
    std::snprintf(site, 40, "%s", "Mill 3");
    seconds(0.32);
    EXPECT_EQ(text("SYS_ID.SITE_NAME.S_NAME"), "Mill 3");
    EXPECT_EQ(boolean("SYS_ID.HW_SN_AVAIL.B_NAME"), 0u);
}

TEST_F(SiteId, TheSerialNumberIsReadOnceOnEachPowerUpPulse) {
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 0);
    EXPECT_EQ(boolean("_ub24._C_FUNC.B_OUT_1"), 1u);
    powerUpPulse();
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 424242);
    EXPECT_EQ(integer("_ub24._C_FUNC.I_OUT_2"), 424242);
    EXPECT_EQ(boolean("_ub24._C_FUNC.B_OUT_2"), 0u);
    // A changed board identity is not read without a new pulse; the pulse
    // held on reads only at its start.
    board::Identity id = board::identity();
    id.serialNumber = 7;
    board::setIdentity(id);
    seconds(1.0);
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 424242);
    setCell("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT", 1);
    seconds(0.32);
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 7);
    EXPECT_EQ(boolean("_ub24._C_FUNC.B_OUT_2"), 1u);
    id.serialNumber = 8;
    board::setIdentity(id);
    seconds(0.32);
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 7);
    // The real output and the first integer output are never written.
    EXPECT_EQ(real("_ub24._C_FUNC.A_OUT_1"), 0.0f);
    EXPECT_EQ(integer("_ub24._C_FUNC.I_OUT_1"), 0);
}

TEST_F(SiteId, TheStatusPageCopiesReachTheirCells) {
    EXPECT_EQ(boolean("S_ALARMS.S2.B_NAME"), 0u);
    EXPECT_EQ(boolean("S_ALARMS.S3.B_NAME"), 0u);
    setCell("MASTER.APP_OVRD.I_SW", 86400);
    setCell("MOD.MOD1.EX_ERR_1", 1);
    setCell("MOD.MOD1.ERR_NUM_1", 3);
    setCell("S_ALARMS.S3.IN", 1);
    seconds(0.32);
    EXPECT_EQ(integer("SYS_ID.SS_SECONDS.I_NAME"), 86400);
    EXPECT_EQ(boolean("S_PORT_1.S2.B_NAME"), 1u);
    EXPECT_EQ(integer("S_PORT_1.S3.I_NAME"), 3);
    EXPECT_EQ(boolean("S_ALARMS.S2.B_NAME"), 0u);
    EXPECT_EQ(boolean("S_ALARMS.S3.B_NAME"), 1u);
    setCell("S_ALARMS.S2.IN", 1);
    setCell("S_ALARMS.S3.IN", 0);
    setCell("MOD.MOD1.EX_ERR_1", 0);
    seconds(0.32);
    EXPECT_EQ(boolean("S_ALARMS.S2.B_NAME"), 1u);
    EXPECT_EQ(boolean("S_ALARMS.S3.B_NAME"), 0u);
    EXPECT_EQ(boolean("S_PORT_1.S2.B_NAME"), 0u);
}

}  // namespace
