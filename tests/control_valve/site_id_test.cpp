// The site identification texts and the hardware serial number, read from
// the board on the power-up pulse, on the whole program: the texts and
// switches entered as the service tool enters them, the serial number from
// the board's identity.
#include <cstdio>

#include "host/hostio.h"
#include "host/vkboard.h"
#include "modbus/MODUTIL.h"
#include "platform/vkiodev.h"
#include "runtime/tune_side_effects.h"
#include "tests/control_valve/valve_rig.h"
#include "tests/support/pty_pair.h"

using namespace valve_test;

namespace {

class SiteId : public ProgramRig {
protected:
    void SetUp() override {
        ProgramRig::SetUp();
        identity(424242);
    }
    void TearDown() override {
        ProgramRig::TearDown();
        board::resetPlatform();
        hostio::setTtyPath("/tyCo/0", "");
    }
    void identity(uint32_t serial) {
        board::Identity id = board::identity();
        id.serialNumber = serial;
        board::setIdentity(id);
    }
    // A text setting written as the service tool writes it.
    void serviceText(const std::string& name, const char* value) {
        char* p = static_cast<char*>(cell(name));
        ASSERT_NE(p, nullptr) << name;
        std::snprintf(p, 40, "%s", value);
        special_case_tune(p);
    }
};

TEST_F(SiteId, TheSiteTextsReachTheirCells) {
    startApp();
    seconds(0.5);
    EXPECT_EQ(text("SYS_ID.SITE_LOCAL.S_NAME"), "Location");
    EXPECT_EQ(text("SYS_ID.SITE_NAME.S_NAME"), "Customer Site Name");
    EXPECT_EQ(text("SYS_ID.SITE_UNIT.S_NAME"), "Unit ID");
    EXPECT_EQ(boolean("SYS_ID.HW_SN_AVAIL.B_NAME"), 1u);
    serviceWrite("SYS_ID.HW_SN_AVAIL.IN", 0);
    serviceText("SYS_ID.SITE_NAME.IN", "Mill 3");
    seconds(0.32);
    EXPECT_EQ(text("SYS_ID.SITE_NAME.S_NAME"), "Mill 3");
    EXPECT_EQ(boolean("SYS_ID.HW_SN_AVAIL.B_NAME"), 0u);
}

// The power-up pulse comes once, as the program starts (0.5 s by default);
// the serial number is read at its start only.
TEST_F(SiteId, TheSerialNumberIsReadOnceOnEachPowerUpPulse) {
    startApp();
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 0) << "the first 160 ms pass comes before the pulse";
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 424242);
    EXPECT_EQ(integer("_ub24._C_FUNC.I_OUT_2"), 424242);
    EXPECT_EQ(boolean("_ub24._C_FUNC.B_OUT_1"), 1u);
    EXPECT_EQ(boolean("_ub24._C_FUNC.B_OUT_2"), 1u);
    // The pulse held on reads only at its start.
    identity(7);
    runPasses(R160, 1);
    ASSERT_EQ(boolean("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 424242);
    seconds(0.5);
    EXPECT_EQ(boolean("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("_ub24._C_FUNC.B_OUT_2"), 0u);
    // A changed board identity is not read without a new pulse.
    identity(8);
    seconds(1.0);
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 424242);
    // The real output and the first integer output are never written.
    EXPECT_EQ(real("_ub24._C_FUNC.A_OUT_1"), 0.0f);
    EXPECT_EQ(integer("_ub24._C_FUNC.I_OUT_1"), 0);
    // The next start reads it.
    stopApp();
    startApp();
    runPasses(R160, 1);
    EXPECT_EQ(integer("SYS_ID.HW_SN.I_NAME"), 8);
    EXPECT_EQ(boolean("_ub24._C_FUNC.B_OUT_2"), 1u);
}

TEST_F(SiteId, TheStatusPageCopiesReachTheirCells) {
    startApp();
    seconds(0.5);
    EXPECT_EQ(boolean("S_ALARMS.S2.B_NAME"), 0u);
    EXPECT_EQ(boolean("S_ALARMS.S3.B_NAME"), 0u);
    EXPECT_EQ(integer("SYS_ID.SS_SECONDS.I_NAME"), 4 * 3600) << "the default of 4 h";
    // The stop of the application after its hours, here a day.
    serviceWrite("SYS_ID.SS_HOURS.IN", 24.0);
    serviceWrite("S_ALARMS.S3.IN", 1);
    seconds(0.32);
    EXPECT_EQ(integer("SYS_ID.SS_SECONDS.I_NAME"), 86400);
    EXPECT_EQ(boolean("S_ALARMS.S2.B_NAME"), 0u);
    EXPECT_EQ(boolean("S_ALARMS.S3.B_NAME"), 1u);
    serviceWrite("S_ALARMS.S2.IN", 1);
    serviceWrite("S_ALARMS.S3.IN", 0);
    seconds(0.32);
    EXPECT_EQ(boolean("S_ALARMS.S2.B_NAME"), 1u);
    EXPECT_EQ(boolean("S_ALARMS.S3.B_NAME"), 0u);
}

// The status page's copies of the serial Modbus link's exception flag and
// last error code, from a master on the controller's serial port asking for
// a register the map does not have.
TEST_F(SiteId, TheStatusPageShowsTheSerialLinksExceptionAndItsCode) {
    testsupport::PtyPair pty;
    ASSERT_TRUE(pty.ok() && pty.openPeer());
    hostio::setTtyPath("/tyCo/0", pty.path(0));
    powerUpReady({{"C_COMM.C3.IN", 2}});  // RTU framing
    seconds(2.5);  // the link's task starts listening
    EXPECT_EQ(boolean("S_PORT_1.S2.B_NAME"), 0u);
    EXPECT_EQ(integer("S_PORT_1.S3.I_NAME"), 0);
    std::vector<uint8_t> request = {1, 3, 0x27, 0x0F, 0, 1};  // holding register 10000 of slave 1
    const uint16_t crc = MOD_Crc(request.data(), static_cast<int>(request.size()));
    request.push_back(static_cast<uint8_t>(crc));
    request.push_back(static_cast<uint8_t>(crc >> 8));
    const int h = serialDvramOf(1)->readFd;
    const uint64_t before = hostio::ttyDelivered(h);
    ASSERT_TRUE(pty.write(request));
    ASSERT_TRUE(hostio::ttyWaitDelivered(h, before + request.size(), 2000));
    ASSERT_TRUE(runUntil([&] { return boolean("S_PORT_1.S2.B_NAME") != 0; }, 20))
        << "no exception seen; errors " << integer("MOD.MOD1.TOT_ERR_1") << " messages " << integer("MOD.MOD1.TOT_MSG_1")
        << " last " << integer("MOD.MOD1.ERR_NUM_1") << " address " << integer("MOD.MOD1.ADDR_1") << " port "
        << integer("CNFG_SIO.COMM1_PORT.SIO_PORT") << " mode " << integer("C_COMM.C3.I_NAME");
    EXPECT_EQ(boolean("MOD.MOD1.EX_ERR_1"), 1u);
    EXPECT_EQ(integer("S_PORT_1.S3.I_NAME"), integer("MOD.MOD1.ERR_NUM_1"));
    EXPECT_EQ(integer("S_PORT_1.S3.I_NAME"), 2) << "illegal data address";
    const std::vector<uint8_t> reply = pty.read(5, 2000);
    ASSERT_EQ(reply.size(), 5u);
    EXPECT_EQ(reply[1], 0x83);
    EXPECT_EQ(reply[2], 2);
    // A reset clears the flag.
    resetTrips();
    runPasses(R160, 2);
    EXPECT_EQ(boolean("S_PORT_1.S2.B_NAME"), 0u);
}

}  // namespace
