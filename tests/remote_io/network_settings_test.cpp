// The controller's network and serial port settings on the whole program:
// the 160 ms lists taken over only in the configuration window (the
// power-up, or the I/O lock taken from the service side), the
// operator's confirmations, the 80 ms apply pulses, and the chassis task
// that applies them to (and reads them back from) the host's in-memory
// network interface.
#include <cctype>
#include "app/config/MASTER.cells.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "host/hostnet.h"
#include "tests/remote_io/program_rig.h"

namespace rio_test {
namespace {

class NetworkSettings : public ProgramWithNodes {
protected:
    // The configuration window opened by taking the I/O lock from the
    // service side, or closed by leaving configure mode and releasing it
    // (the window stays open for the lock's hold time after the release).
    void window(bool open) {
        if (open) lock();
        else unlock();
        const uint32_t want = open ? 1u : 0u;
        for (int p = 0; p < 400 && boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") != want; ++p) runPasses(R10, 1);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), want);
    }
    void octets(const std::string& base, int first, int a, int b, int c, int d) {
        const int v[4] = {a, b, c, d};
        for (int k = 0; k < 4; ++k) octet(base + std::to_string(first + k), v[k]);
    }
    // The service path's limits refuse an octet outside 0 .. 255: the
    // program's own check behind them is tested with the value written in
    // place.
    void octet(const std::string& name, int v) {
        if (v < 0 || v > 255)
            pokeTunable(name, v);
        else
            serviceWrite(name, v);
    }
    // A service write of a confirmation input, with its after-write hook.
    void confirm(int k) { serviceWrite("CNFG_ENET1.QT_CONFIRM_IP.IN_" + std::to_string(k), 1); }
    std::vector<std::string> calls() { return hostnet::takeCalls(); }
};

using Lines = std::vector<std::string>;

TEST_F(NetworkSettings, AddressListsAreTakenOverOnlyWhileTheConfigurationWindowIsOpen) {
    // Past the power-up (whose window took the defaults), the window closed.
    startPastPowerUp();
    const int32_t ip1 = integer("CNFG_ENET1.IP_1.I_NAME"), ip8 = integer("CNFG_ENET1.IP_8.I_NAME"),
                  gw4 = integer("CNFG_ENET1.GW_IP_4.I_NAME");
    ASSERT_NE(ip1, 192);
    ASSERT_NE(ip8, 128);
    ASSERT_NE(gw4, 254);
    serviceWrite("CNFG_ENET1.CONFIG_IP.IN_1", 192);
    serviceWrite("CNFG_ENET1.CONFIG_IP.IN_8", 128);
    serviceWrite("CNFG_ENET1.CONFIG_IP.IN_12", 254);
    runPasses(R160, 2);
    EXPECT_EQ(integer("CNFG_ENET1.IP_1.I_NAME"), ip1);
    EXPECT_EQ(integer("CNFG_ENET1.IP_8.I_NAME"), ip8);
    EXPECT_EQ(integer("CNFG_ENET1.GW_IP_4.I_NAME"), gw4);
    window(true);
    runPasses(R160, 1);
    EXPECT_EQ(integer("CNFG_ENET1.IP_1.I_NAME"), 192);
    EXPECT_EQ(integer("CNFG_ENET1.IP_2.I_NAME"), 16);  // the default second octet
    EXPECT_EQ(integer("CNFG_ENET1.IP_5.I_NAME"), 255);
    EXPECT_EQ(integer("CNFG_ENET1.IP_8.I_NAME"), 128);
    EXPECT_EQ(integer("CNFG_ENET1.GW_IP_1.I_NAME"), 10);
    EXPECT_EQ(integer("CNFG_ENET1.GW_IP_4.I_NAME"), 254);
    // Closed again: a later change waits for the next window.
    window(false);
    const int32_t ip7 = integer("CNFG_ENET1.IP_7.I_NAME");
    ASSERT_NE(ip7, 7);
    serviceWrite("CNFG_ENET1.CONFIG_IP.IN_1", 10);
    serviceWrite("CNFG_ENET1.CONFIG_IP.IN_7", 7);
    runPasses(R160, 2);
    EXPECT_EQ(integer("CNFG_ENET1.IP_1.I_NAME"), 192);
    EXPECT_EQ(integer("CNFG_ENET1.IP_7.I_NAME"), ip7);
}

TEST_F(NetworkSettings, SntpServerAndSerialPortsFollowTheirTunablesWhateverTheWindow) {
    startPastPowerUp();
    serviceWrite("CNFG_SNTP.IP_2.IN", 77);
    serviceWrite("CNFG_COMMS.PORT3_NET_ADDR.IN", 42);
    serviceWrite("CNFG_COMMS.PORT2_PROTO.IN", 2);
    serviceWrite("C_COMM.C4.IN", 200);
    runPasses(R160, 1);
    EXPECT_EQ(integer("CNFG_SNTP.IP_1.I_NAME"), 10);
    EXPECT_EQ(integer("CNFG_SNTP.IP_2.I_NAME"), 77);
    EXPECT_EQ(integer("CNFG_SNTP.IP_4.I_NAME"), 1);
    EXPECT_EQ(integer("CNFG_COMMS.PORT2_COMM_TYP.I_NAME"), 2);
    EXPECT_EQ(integer("CNFG_COMMS.PORT3_COMM_TYP.I_NAME"), 2);
    EXPECT_EQ(integer("CNFG_COMMS.PORT2_NET_ADDR.I_NAME"), 2);
    EXPECT_EQ(integer("CNFG_COMMS.PORT3_NET_ADDR.I_NAME"), 42);
    EXPECT_EQ(integer("CNFG_COMMS.PORT2_PROTO.I_NAME"), 2);
    EXPECT_EQ(integer("CNFG_COMMS.PORT3_PROTO.I_NAME"), 1);
    EXPECT_EQ(integer("C_COMM.C3.I_NAME"), 1);
    EXPECT_EQ(integer("C_COMM.C4.I_NAME"), 200);
}

TEST_F(NetworkSettings, AConfirmationHoldsForOneSecondAndThenClearsItsInput) {
    startPastPowerUp();
    window(true);
    runPasses(R160, 1);
    confirm(3);
    int on = 0;
    for (int pass = 0; pass < 12; ++pass) {
        runPasses(R160, 1);
        if (boolean("CNFG_ENET1.QT_CONFIRM_IP.OUT_3") != 0) ++on;
        EXPECT_EQ(boolean("CNFG_ENET1.CONFIRM_IP.LIST_3"), boolean("CNFG_ENET1.QT_CONFIRM_IP.OUT_3"));
    }
    EXPECT_EQ(on, 7);
    EXPECT_EQ(boolean("CNFG_ENET1.QT_CONFIRM_IP.IN_3"), 0u);
    EXPECT_EQ(boolean("CNFG_ENET1.QT_CONFIRM_IP.OUT_1"), 0u);
}

TEST_F(NetworkSettings, ChassisTaskPublishesTheInterfaceSettingsAtStart) {
    hostnet::Interface s;
    s.address = 0xC0A8010Au;  // 192.168.1.10
    s.mask = 0xFFFFFF00u;
    s.gateway = 0xC0A80101u;
    s.sntpServer = 0x0A000102u;
    s.sntpRate = 120;
    s.sntpTimeout = 9;
    s.sntpActive = true;
    hostnet::setState(s);
    startApp();
    runPasses(R10, 15);
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.GATEWAY_ADDR"), "192.168.001.001");
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.SNTP_ADDR"), "010.000.001.002");
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.MAC_ADDR_1"), "00:A0:45:1C:2D:3E");
    const char* fields[] = {"IP1_ADDR_1", "IP2_ADDR_1", "IP3_ADDR_1", "IP4_ADDR_1", "MASK1_ADD_1", "MASK2_ADD_1",
                            "MASK3_ADD_1", "MASK4_ADD_1", "BCAST_IP1_1", "BCAST_IP2_1", "BCAST_IP3_1", "BCAST_IP4_1"};
    const int want[] = {192, 168, 1, 10, 255, 255, 255, 0, 192, 168, 1, 255};
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(integer(std::string("CNFG_ENET1.ENET_IPS.") + fields[k]), want[k]) << fields[k];
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.SNTP_RATE_RD"), 120);
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.SNTP_TIMEOUT_RD"), 9);
    EXPECT_EQ(boolean("CNFG_ENET1.ENET_IPS.SNTP_ENABLED"), 1u);
    EXPECT_TRUE(calls().empty());  // reading sets nothing
}

TEST_F(NetworkSettings, FailedQueriesShowDashesAndOctetsOf256) {
    hostnet::Interface s;
    s.failGateway = true;
    s.failMask = true;
    s.address = 0xC0A8010Au;
    hostnet::setState(s);
    startApp();
    runPasses(R10, 15);
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.GATEWAY_ADDR"), "---.---.---.---");
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.MASK1_ADD_1"), 256);
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.MASK4_ADD_1"), 256);
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.IP1_ADDR_1"), 192);  // the address query itself worked
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.BCAST_IP1_1"), 256);
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.BCAST_IP4_1"), 256);
}

struct MacCase {
    const char* reported;
    const char* shown;
};
class MacAddress : public NetworkSettings, public ::testing::WithParamInterface<MacCase> {};

TEST_P(MacAddress, IsShownInCapitalPairsOnlyWhenItHoldsTwelveHexDigits) {
    hostnet::Interface s;
    s.enetAddress = GetParam().reported;
    hostnet::setState(s);
    startApp();
    runPasses(R10, 15);
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.MAC_ADDR_1"), GetParam().shown);
}
INSTANTIATE_TEST_SUITE_P(
    Texts, MacAddress,
    ::testing::Values(MacCase{"00:a0:45:1c:2d:3e", "00:A0:45:1C:2D:3E"},
                      MacCase{"0a-b0-c5-d2-e3-f4", "0A:B0:C5:D2:E3:F4"},
                      MacCase{"00a0451c2d3e", "00:A0:45:1C:2D:3E"},
                      // longer than 19 characters
                      MacCase{"00:a0:45:1c:2d:3e:77", "--:--:--:--:--:--"},
                      // shorter than twelve digits: nothing read past its end
                      MacCase{"00:a0:45", "--:--:--:--:--:--"}, MacCase{"", "--:--:--:--:--:--"},
                      // more than twelve digits, or a character that is no digit
                      MacCase{"00a0451c2d3e77", "--:--:--:--:--:--"},
                      MacCase{"00:a0:45:1c:2d:3g", "--:--:--:--:--:--"}),
    [](const ::testing::TestParamInfo<MacCase>& i) {
        std::string n = "text_";
        for (const char* c = i.param.reported; *c != '\0'; ++c) n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return n + "_" + std::to_string(i.index);
    });

TEST_F(NetworkSettings, PowerUpAppliesTheAddressOnlyWhenAskedTo) {
    for (bool atPowerUp : {false, true}) {
        SCOPED_TRACE(atPowerUp);
        if (atPowerUp) {
            TearDown();
            SetUp();
        }
        // The power-up setting from the tunables file; the window of the
        // power-up open from the start.
        settingsAtStart({{"CNFG_ENET1.INIT_ENET1.IN_2", atPowerUp ? 1 : 0}});
        startApp();
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 1u);
        runPasses(R80, 60);
        const Lines want = atPowerUp ? Lines{"VKIPSet 172.16.10.10", "VKMaskSet 255.255.0.0"} : Lines{};
        EXPECT_EQ(calls(), want);
        EXPECT_EQ(update_ip_flag_0, 0u);
        EXPECT_EQ(update_mask_flag_0, 0u);
    }
}

TEST_F(NetworkSettings, ConfirmedAddressIsAppliedAndReadBack) {
    startPastPowerUp();
    window(true);
    octets("CNFG_ENET1.CONFIG_IP.IN_", 1, 192, 168, 7, 20);
    octets("CNFG_ENET1.CONFIG_IP.IN_", 5, 255, 255, 255, 0);
    runPasses(R160, 2);
    calls();
    confirm(1);
    runPasses(R160, 10);
    EXPECT_EQ(calls(), (Lines{"VKIPSet 192.168.7.20", "VKMaskSet 255.255.255.0"}));
    EXPECT_EQ(hostnet::state().address, 0xC0A80714u);
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.IP3_ADDR_1"), 7);
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.BCAST_IP4_1"), 255);
    EXPECT_EQ(integer("CNFG_ENET1.ENET_IPS.MASK3_ADD_1"), 255);
}

TEST_F(NetworkSettings, AnOctetOutsideItsRangeIsNeverHandedToThePlatform) {
    startPastPowerUp();
    window(true);
    octets("CNFG_ENET1.CONFIG_IP.IN_", 1, 192, 300, 7, 20);
    octets("CNFG_ENET1.CONFIG_IP.IN_", 9, 10, 0, 0, -1);
    octet("CNFG_SNTP.IP_3.IN", 256);
    runPasses(R160, 2);
    calls();
    confirm(1);
    confirm(2);
    confirm(3);
    runPasses(R160, 10);
    // The mask is sound and applied; the address, gateway and SNTP server are refused.
    EXPECT_EQ(calls(), (Lines{"VKMaskSet 255.255.0.0"}));
    EXPECT_EQ(hostnet::state().address, hostnet::Interface{}.address);
    EXPECT_EQ(update_ip_flag_0, 0u);
    EXPECT_EQ(update_gw_flag, 0u);
    EXPECT_EQ(update_sntp_flag, 0u);
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.GATEWAY_ADDR"), "010.000.000.001");
}

TEST_F(NetworkSettings, GatewayAndSntpSettingsAreAppliedOncePerConfirmation) {
    startPastPowerUp();
    window(true);
    octets("CNFG_ENET1.CONFIG_IP.IN_", 9, 172, 16, 5, 1);
    serviceWrite("CNFG_SNTP.IP_4.IN", 9);
    serviceWrite("CNFG_ENET1.ENET_IPS.SNTP_ENABLE", 1);
    runPasses(R160, 2);
    calls();
    confirm(2);
    runPasses(R160, 2);
    confirm(2);  // again while the apply pulse still runs
    confirm(3);
    runPasses(R160, 12);
    EXPECT_EQ(calls(), (Lines{"VKGatewaySet 172.16.5.1", "VNSntp_SetServerAddress 10.0.0.9",
                              "VNSntp_SetUpdateRate 60", "VNSntp_SetServerTimeout 5", "VNSntp_ClientStart"}));
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.GATEWAY_ADDR"), "172.016.005.001");
    EXPECT_EQ(text("CNFG_ENET1.ENET_IPS.SNTP_ADDR"), "010.000.000.009");
    EXPECT_EQ(boolean("CNFG_ENET1.ENET_IPS.SNTP_ENABLED"), 1u);
    // With the client disabled a confirmation stops it.
    serviceWrite("CNFG_ENET1.ENET_IPS.SNTP_ENABLE", 0);
    runPasses(R160, 3);
    confirm(3);
    runPasses(R160, 10);
    const Lines stop = calls();
    ASSERT_FALSE(stop.empty());
    EXPECT_EQ(stop.back(), "VNSntp_ClientStop");
    EXPECT_EQ(boolean("CNFG_ENET1.ENET_IPS.SNTP_ENABLED"), 0u);
}

// The chassis task applies the octets of the 160 ms frame in which the
// operator's confirmation was latched (here the defaults), as the 80 ms
// group received them with it, in the first 80 ms frame of the next 160 ms
// frame: octets typed after the confirmation was latched are not applied
// with it.
struct LateOctet {
    const char* tunable;
    int value;
    const char* setting;  // the 160 ms cell that takes it
};
struct LateOctetCase {
    const char* name;
    int confirmation;
    std::vector<LateOctet> later;
    std::vector<std::string> applied;
};
class ConfirmedOctets : public NetworkSettings, public ::testing::WithParamInterface<LateOctetCase> {};

TEST_P(ConfirmedOctets, AreAppliedAsTheyStoodWhenTheConfirmationWasLatched) {
    const LateOctetCase& c = GetParam();
    startPastPowerUp();
    window(true);
    runPasses(R160, 1);
    calls();
    confirm(c.confirmation);
    runPasses(R160, 1);
    ASSERT_EQ(boolean("CNFG_ENET1.CONFIRM_IP.LIST_" + std::to_string(c.confirmation)), 1u);
    for (const LateOctet& o : c.later) serviceWrite(o.tunable, o.value);
    // The 80 ms frame in the middle of the 160 ms frame has no new copies.
    runPasses(R80, 1);
    runPasses(R10, 2);
    EXPECT_TRUE(calls().empty());
    runPasses(R160, 1);
    runPasses(R10, 2);
    EXPECT_EQ(calls(), c.applied);
    // The 160 ms group holds the later octets by now.
    for (const LateOctet& o : c.later) EXPECT_EQ(integer(o.setting), o.value) << o.setting;
}
INSTANTIATE_TEST_SUITE_P(
    Settings, ConfirmedOctets,
    ::testing::Values(LateOctetCase{"AddressAndMask",
                                    1,
                                    {{"CNFG_ENET1.CONFIG_IP.IN_1", 192, "CNFG_ENET1.IP_1.I_NAME"},
                                     {"CNFG_ENET1.CONFIG_IP.IN_8", 128, "CNFG_ENET1.IP_8.I_NAME"}},
                                    {"VKIPSet 172.16.10.10", "VKMaskSet 255.255.0.0"}},
                      LateOctetCase{"Gateway",
                                    2,
                                    {{"CNFG_ENET1.CONFIG_IP.IN_10", 31, "CNFG_ENET1.GW_IP_2.I_NAME"},
                                     {"CNFG_ENET1.CONFIG_IP.IN_12", 99, "CNFG_ENET1.GW_IP_4.I_NAME"}},
                                    {"VKGatewaySet 10.0.0.1"}},
                      LateOctetCase{"SntpServer",
                                    3,
                                    {{"CNFG_SNTP.IP_1.IN", 11, "CNFG_SNTP.IP_1.I_NAME"},
                                     {"CNFG_SNTP.IP_4.IN", 77, "CNFG_SNTP.IP_4.I_NAME"}},
                                    {"VNSntp_SetServerAddress 10.0.0.1", "VNSntp_SetUpdateRate 60",
                                     "VNSntp_SetServerTimeout 5", "VNSntp_ClientStop"}}),
    [](const ::testing::TestParamInfo<LateOctetCase>& i) { return std::string(i.param.name); });

TEST_F(NetworkSettings, SntpClientErrorIsShownAsFault) {
    startApp();
    runPasses(R80, 2);
    EXPECT_EQ(boolean("CNFG_ENET1.ENET_IPS.SNTP_FAULT"), 0u);
    hostnet::Interface s = hostnet::state();
    s.sntpError = 3;
    hostnet::setState(s);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("CNFG_ENET1.ENET_IPS.SNTP_FAULT"), 1u);
}

}  // namespace
}  // namespace rio_test
