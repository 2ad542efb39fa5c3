// The access level of the local display as the whole application sees it:
// a service session from 127.0.0.1 is the local display, its log-in sets
// the level the interface flags follow, and the display's heartbeat is a
// timed input written over the service protocol.
#include <fstream>
#include <memory>
#include <vector>

#include "tests/service_app/service_app.h"

using namespace svc_test;

namespace {

class AccessLevels : public ServiceApp {
protected:
    void SetUp() override {
        ServiceApp::SetUp();
        std::ofstream(root_ + "/" + "Accounts.txt")
            << "viewer v 0\nop o 2\ntech secret 3\nsvc s 11\nfactory f 12\n";
    }
};

struct LevelCase {
    const char* user;
    const char* password;
    int32_t level;
    uint32_t monOnly, aboveMon, cnfgUser, servUser;
};

TEST_F(AccessLevels, TheLocalDisplaysFlagsFollowItsLogIn) {
    startService();
    runPasses(R80, 2);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.INT_SEL"), 0) << "no session yet";
    EXPECT_EQ(boolean("IFACE_MODE.MON_ONLY.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.LOCAL_CNFG.LT"), 1u);

    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    runPasses(R80, 2);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.INT_SEL"), 1);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_DISP_SOCKET.I_NAME"), 1);
    EXPECT_EQ(boolean("IFACE_MODE.LOCATE_DISPLY_1.EQ"), 1u);
    EXPECT_EQ(static_cast<uint32_t>(integer("IFACE_MODE.TALLWIRE.IP_ADDR_1")), 0x7F000001u);
    EXPECT_EQ(integer("IFACE_MODE.TW_SOCKET_1.I_NAME"), 0x7F000001);

    const LevelCase rows[] = {
        {"op", "o", 2, 0, 1, 0, 0},      {"tech", "secret", 3, 0, 1, 1, 0}, {"svc", "s", 11, 0, 1, 1, 1},
        {"factory", "f", 12, 0, 1, 1, 1}, {"viewer", "v", 0, 1, 0, 0, 0},
    };
    for (const LevelCase& r : rows) {
        ASSERT_EQ(c.login(r.user, r.password), 0) << r.user;
        runPasses(R80, 2);
        EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.I_MUX_HSS"), r.level) << r.user;
        EXPECT_EQ(integer("IFACE_MODE.TALLWIRE.IP_LEV_1"), r.level) << r.user;
        EXPECT_EQ(boolean("IFACE_MODE.MON_ONLY.B_NAME"), r.monOnly) << r.user;
        EXPECT_EQ(boolean("IFACE_MODE.ABOV_MON.B_NAME"), r.aboveMon) << r.user;
        EXPECT_EQ(boolean("IFACE_MODE.CNFG_USER.B_NAME"), r.cnfgUser) << r.user;
        EXPECT_EQ(boolean("IFACE_MODE.SERV_USER.B_NAME"), r.servUser) << r.user;
    }
}

TEST_F(AccessLevels, TheWriteTokenShowsAsTheLocalStatus) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    runPasses(R80, 2);
    const int32_t before = integer("IFACE_MODE.LOCAL_STATUS.I_MUX_HSS");
    EXPECT_NE(before, 3);
    EXPECT_EQ(boolean("IFACE_MODE.LOCAL_WRITE.EQ"), 0u);
    ASSERT_EQ(c.writeName(kChangeTokenCell, kBool, {1}), 0);
    runPasses(R80, 2);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_STATUS.INT_SEL"), 1);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_STATUS.I_MUX_HSS"), 3);
    EXPECT_EQ(boolean("IFACE_MODE.LOCAL_WRITE.EQ"), 1u);
    EXPECT_EQ(integer("IFACE_MODE.TALLWIRE.IP_STS_1"), 3);
}

TEST_F(AccessLevels, TheDisplayHeartbeatHoldsTwoSecondsAfterEachWriteAndEndsTheBootPhase) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    ASSERT_EQ(c.login("tech", "secret"), 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("IFACE_MODE.USER_STOP.ONE_SHOT"), 1u) << "the boot window opens at power-up";
    EXPECT_EQ(boolean("IFACE_MODE.BOOT_CMPLT.NOT"), 0u);
    ASSERT_EQ(c.writeName("IFACE_MODE.QT_OI_LOCAL.IN_1", kBool, {1}), 0);
    // 2.0 s at 0.16 s a pass: on for 13 passes, off on the 14th.
    int on = 0;
    for (int k = 0; k < 20; ++k) {
        runPasses(R160, 1);
        if (boolean("IFACE_MODE.QT_HEARTBEAT.B_NAME") == 1) ++on;
        if (k == 0) {
            EXPECT_EQ(boolean("IFACE_MODE.BOOT_CMPLT.NOT"), 1u) << "a heartbeat ends the boot phase";
        }
    }
    EXPECT_EQ(on, 13);
    EXPECT_EQ(boolean("IFACE_MODE.QT_OI_LOCAL.IN_1"), 0u) << "the input is cleared when its time is up";
    // A new write restarts the time; a write of 0 ends it at once.
    ASSERT_EQ(c.writeName("IFACE_MODE.QT_OI_LOCAL.IN_1", kBool, {1}), 0);
    runPasses(R160, 5);
    EXPECT_EQ(boolean("IFACE_MODE.QT_HEARTBEAT.B_NAME"), 1u);
    ASSERT_EQ(c.writeName("IFACE_MODE.QT_OI_LOCAL.IN_1", kBool, {0}), 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("IFACE_MODE.QT_HEARTBEAT.B_NAME"), 0u);
    ASSERT_EQ(c.writeName("IFACE_MODE.QT_OI_LOCAL.IN_1", kBool, {1}), 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("IFACE_MODE.QT_HEARTBEAT.B_NAME"), 1u);
}

}  // namespace

namespace {

// Six sessions from 127.0.0.1; slots 1, 2, 4 and 5 then stand for peers
// elsewhere, slots 3 and 6 stay local with their own levels.
TEST_F(AccessLevels, TheHighestLocalSlotIsTheDisplayAndAddressesCompareSigned) {
    startService();
    std::vector<std::unique_ptr<Client>> clients;
    for (int k = 0; k < 6; ++k) {
        clients.push_back(std::make_unique<Client>(port));
        ASSERT_EQ(clients.back()->connectSession(), kConnectReply);
    }
    hk::runTask([] {
        TWTcpPorts[0].peerAddress = 0x80000001;  // 128.0.0.1
        TWTcpPorts[1].peerAddress = 0x7F000002;  // 127.0.0.2
        TWTcpPorts[3].peerAddress = 0xC0A80001;  // 192.168.0.1
        TWTcpPorts[4].peerAddress = 0x0A000005;  // 10.0.0.5
        TWTcpPorts[2].securityLevel = 3;
        TWTcpPorts[5].securityLevel = 11;
        TWTcpPorts[2].tokenState = 3;
    });
    runPasses(R80, 2);
    const struct {
        int slot;
        uint32_t gt, lt, eq;
    } rows[] = {{1, 0, 1, 0}, {2, 1, 0, 0}, {3, 0, 0, 1}, {4, 0, 1, 0}, {5, 0, 1, 0}, {6, 0, 0, 1}, {7, 0, 1, 0}};
    for (const auto& r : rows) {
        const std::string b = "IFACE_MODE.LOCATE_DISPLY_" + std::to_string(r.slot);
        EXPECT_EQ(boolean(b + ".GT"), r.gt) << r.slot;
        EXPECT_EQ(boolean(b + ".LT"), r.lt) << r.slot;
        EXPECT_EQ(boolean(b + ".EQ"), r.eq) << r.slot;
    }
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.INT_SEL"), 6);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.I_MUX_HSS"), 11);
    EXPECT_EQ(boolean("IFACE_MODE.SERV_USER.B_NAME"), 1u);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_STATUS.INT_SEL"), 6);
    EXPECT_NE(integer("IFACE_MODE.LOCAL_STATUS.I_MUX_HSS"), 3) << "slot 3's status is not the display's";
    EXPECT_EQ(integer("IFACE_MODE.TALLWIRE.IP_LEV_3"), 3);
    EXPECT_EQ(integer("IFACE_MODE.TALLWIRE.IP_STS_3"), 3);
    EXPECT_EQ(integer("IFACE_MODE.TALLWIRE.IP_ADDR_7"), 0) << "a free slot reads 0";

    // The display's session ends: slot 3 is the local display now.
    clients[5].reset();
    ASSERT_TRUE(hk::runUntil([] { return TWTcpPorts[5].inUse == 0; }, 2000));
    runPasses(R80, 2);
    EXPECT_EQ(integer("IFACE_MODE.TALLWIRE.IP_ADDR_6"), 0);
    EXPECT_EQ(integer("IFACE_MODE.TALLWIRE.IP_LEV_6"), 0);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.INT_SEL"), 3);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.I_MUX_HSS"), 3);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_STATUS.I_MUX_HSS"), 3);
    EXPECT_EQ(boolean("IFACE_MODE.LOCAL_WRITE.EQ"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.CNFG_USER.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.SERV_USER.B_NAME"), 0u);
}

TEST_F(AccessLevels, TheLastSlotCanBeTheDisplay) {
    startService();
    std::vector<std::unique_ptr<Client>> clients;
    for (int k = 0; k < 8; ++k) {
        clients.push_back(std::make_unique<Client>(port));
        ASSERT_EQ(clients.back()->connectSession(), kConnectReply);
    }
    hk::runTask([] { TWTcpPorts[7].securityLevel = 12; });
    runPasses(R80, 2);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.INT_SEL"), 8);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_LEVEL.I_MUX_HSS"), 12);
    EXPECT_EQ(integer("IFACE_MODE.LOCAL_STATUS.INT_SEL"), 8);
    EXPECT_EQ(boolean("IFACE_MODE.LOCAL_SERV_USER.GT"), 1u);
    EXPECT_EQ(boolean("IFACE_MODE.SERV_USER.B_NAME"), 1u);
}

TEST_F(AccessLevels, TheIdentifiersReachTheDisplayCells) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    ASSERT_EQ(c.login("factory", "f"), 0);
    const std::string full(31, 'C');
    ASSERT_EQ(c.ask(cat({{0x56}, str0(full)})), (Bytes{0}));
    ASSERT_EQ(c.ask(cat({{0x53}, str0("Unit 7")})), (Bytes{0}));
    runPasses(R80, 2);
    // The control identifier's running copy follows it; the configuration
    // identifier is only stored, and the display keeps the one of the start.
    EXPECT_EQ(text("IFACE_MODE.TALLWIRE.CONFIG_ID"), "Dflt Config ID");
    EXPECT_EQ(c.ask({0x55}), cat({{0}, str0(full)}));
    EXPECT_EQ(text("IFACE_MODE.TALLWIRE.CONTROL_ID"), "Unit 7");
}

}  // namespace
