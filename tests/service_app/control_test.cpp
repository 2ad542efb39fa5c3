// Identifiers, saving, stopping and restarting the control over TCP.
#include "host/vkboard.h"
#include "platform/vkiobus.h"
#include "service/TwControl.h"
#include "storage/eefile.h"
#include "service_app.h"

using namespace svc_test;

namespace {

class Control : public ServiceApp {
protected:
    std::string targetName() {
        char name[128] = {};
        VKGetTargetName(name);
        return name;
    }
    bool sawMessage(const std::string& line) {
        for (int i = 0; i < 400; ++i) {
            for (const auto& m : messageLines())
                if (m == line) return true;
            runPasses(R10, 1);
        }
        return false;
    }
};

TEST_F(Control, IdentifiersAreReadAndSetWithinTheirFields) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const std::string longId(40, 'K');
    struct Row { Bytes request, reply; };
    const Row rows[] = {
        {{0x51}, cat({{0}, str0("RTOS 1.00-0")})},
        {{0x52}, cat({{0}, str0(targetName())})},
        {{0x54}, cat({{0}, str0("9902-4411_e 2026-04-20 07.44.46")})},
        {{0x55}, cat({{0}, str0("Dflt Config ID")})},
        {{0x57}, cat({{0}, str0("Zarn 200")})},
        {cat({{0x53}, str0(longId)}), {0}},
        {{0x52}, cat({{0}, str0(longId.substr(0, 31))})},
        {cat({{0x56}, str0(std::string(100, 'C') + "X")}), {0}},
        {{0x55}, cat({{0}, str0(std::string(31, 'C'))})},
        {cat({{0x53}, str0("!Delete Identifier")}), {0}},
        {{0x52}, cat({{0}, str0(targetName())})},
        {cat({{0x53}, str0("Unit 7")}), {0}},
        {{0x52}, cat({{0}, str0("Unit 7")})},
    };
    for (const Row& r : rows) EXPECT_EQ(c.ask(r.request), r.reply) << "request " << int(r.request[0]);
    EXPECT_STREQ(ram_ControlID, "Unit 7");
    EXPECT_EQ(std::string(ee_ConfigID, 32), std::string(31, 'C') + '\0');
    // The controller shows the control identifier it now has, and the
    // configuration identifier it started with: a new one is only stored.
    runPasses(R160, 3);
    EXPECT_EQ(text("IFACE_MODE.TALLWIRE.CONTROL_ID"), "Unit 7");
    EXPECT_EQ(text("IFACE_MODE.TALLWIRE.CONFIG_ID"), "Dflt Config ID");
}

TEST_F(Control, ASavedTunableIsFoundAfterARestartWithItsSampledCopy) {
    startService();
    {
        Client c(port);
        ASSERT_EQ(c.connectSession(), kConnectReply);
        // The entered range end; the configuration window samples it into
        // the range in force.
        EXPECT_EQ(c.writeName("_ub6.RANGE_HI.IN", kReal, f32(105.0f)), 0);
        EXPECT_EQ(c.ask(cat({{0x56}, str0("Config 2")})), (Bytes{0}));
        // Texts hold whatever a client writes, control characters too.
        EXPECT_EQ(c.writeName("SYS_ID.SITE_UNIT.IN", kText, str0("tab\there")), 0);
        EXPECT_EQ(c.writeName("TUTORIAL.S_TUNABLE.IN", kText, str0("A\x01" "B")), 0);
        EXPECT_EQ(c.ask({0x26}), (Bytes{0}));
        // A save that cannot replace the file is not reported as done.
        EXPECT_EQ(c.writeName("_ub6.RANGE_HI.IN", kReal, f32(110.0f)), 0);
        hostfs::setRenameFault(true);
        EXPECT_EQ(c.ask({0x26}), (Bytes{4}));
        hostfs::setRenameFault(false);
    }
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        stopApp();
        startService();
        runPasses(R160, 20);  // past the power-up configuration window
        EXPECT_EQ(real("_ub6.RANGE_HI.IN"), 105.0f);
        EXPECT_EQ(real("_ub6.MAX.TUNE"), 105.0f);
        EXPECT_EQ(real("_ub6.MAX.SAMP_TUNE"), 105.0f);
        EXPECT_EQ(text("SYS_ID.SITE_UNIT.IN"), "tab\there");
        EXPECT_EQ(text("TUTORIAL.S_TUNABLE.IN"), "A\x01" "B");
        Client c(port);
        ASSERT_EQ(c.connectSession(), kConnectReply);
        EXPECT_EQ(c.ask({0x55}), cat({{0}, str0("Config 2")}));
    }
}

TEST_F(Control, ShutdownLocksTheIoAndAResetFollowsOnTheNextConnect) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const uint32_t level = handleOf("DATALOG.LOAD_LVL1.IN_2");
    EXPECT_EQ(c.ask({0x12}), (Bytes{0, 0}));
    EXPECT_EQ(c.ask({0x10}), (Bytes{1}));  // no reset while the control runs
    EXPECT_EQ(c.write(level, kReal, f32(60.0f)), 3);
    EXPECT_EQ(c.ask({0x11}), (Bytes{0}));
    EXPECT_EQ(IsIOLockSet(), 1);
    EXPECT_EQ(c.ask({0x12}), (Bytes{0, 1}));
    // Stopped: any value within the range is taken.
    EXPECT_EQ(c.write(level, kReal, f32(60.0f)), 0);
    EXPECT_EQ(c.write(level, kReal, f32(111.0f)), 2);
    EXPECT_EQ(c.ask({0x10}), (Bytes{0}));
    Client d(port);
    ASSERT_EQ(d.connectSession(), kConnectReply);
    EXPECT_TRUE(sawMessage("event 4: Resetting Control"));
}

TEST_F(Control, NoShutdownOrResetWithoutTheChangeRight) {
    startService();
    Client a(port), b(port);
    ASSERT_EQ(a.connectSession(), kConnectReply);
    ASSERT_EQ(b.connectSession(), kConnectReply);
    EXPECT_EQ(a.write(handleOf(kChangeTokenCell), kBool, {1}), 0);
    EXPECT_EQ(b.ask({0x11}), (Bytes{1}));
    EXPECT_EQ(b.ask(cat({{0x53}, str0("B")})), (Bytes{254}));
    EXPECT_EQ(b.ask(cat({{0x56}, str0("B")})), (Bytes{254}));
    EXPECT_EQ(IsIOLockSet(), 0);
    EXPECT_EQ(a.ask({0x11}), (Bytes{0}));
    EXPECT_EQ(b.ask({0x10}), (Bytes{1}));
    // Without the stop permissive a restart is refused with a state message.
    rtcells::CALMODE_CALPERM_B_NAME() = 0;
    runPasses(R10, 1);
    EXPECT_EQ(a.ask({0x10}), (Bytes{1}));
    hk::runTask([] { RestartControl(); });
    EXPECT_TRUE(sawMessage("state 3: Can not unlock because SYS_INFO->STOP_PER field is FALSE."));
    rtcells::CALMODE_CALPERM_B_NAME() = 1;
    runPasses(R10, 2);
}

}  // namespace
