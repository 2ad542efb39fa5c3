// The timed service inputs of the operator interface written by a service
// tool over TCP, through real passes of the whole application: the lamp
// test, the master commands, the simulator commands, the display heartbeat
// and the output channels' force commands hold for their time and then
// clear their input; a written zero ends them.
#include <fstream>

#include "service_app.h"

using namespace svc_test;

namespace {

class TimedInputs : public ServiceApp {
protected:
    void loggedIn(Client& c) {
        ASSERT_EQ(c.connectSession(), kConnectReply);
        ASSERT_EQ(c.login("tech", "secret"), 0);
    }
    // Passes of group g in which `out` is on, over n passes.
    int onFor(Client& c, int g, const std::string& out, int n) {
        int on = 0;
        for (int p = 0; p < n; ++p) {
            runPasses(g, 1);
            on += static_cast<int>(boolean(out));
            if (p % 50 == 49) {
                EXPECT_EQ(c.ask({0x00}), (Bytes{0}));  // keeps the session open
            }
        }
        return on;
    }
};

TEST_F(TimedInputs, EachInputHoldsForItsTimeAndIsThenCleared) {
    startService();
    Client c(port);
    loggedIn(c);
    struct Input {
        const char* in;
        const char* out;
        int group;
        int passes;  // the hold time in passes of the group
    } inputs[] = {
        {"ALARMS.LED_TEST.IN_1", "ALARMS.LED_TEST.OUT_1", R160, 32},
        {"MASTER.COMMANDS.IN_1", "MASTER.COMMANDS.OUT_1", R160, 7},
        {"MASTER.COMMANDS.IN_6", "MASTER.COMMANDS.OUT_6", R160, 7},
        {"SPEED_SIM.INTERNAL_SIM.IN_2", "SPEED_SIM.INTERNAL_SIM.OUT_2", R80, 13},
        {"SPEED_SIM.INTERNAL_SIM.IN_4", "SPEED_SIM.INTERNAL_SIM.OUT_4", R80, 13},
        {"TUTORIAL.SP_TUT_COMMANDS.IN_2", "TUTORIAL.SP_TUT_COMMANDS.OUT_2", R160, 125},
        {"IFACE_MODE.QT_OI_LOCAL.IN_1", "IFACE_MODE.QT_OI_LOCAL.OUT_1", R160, 13},
        {"_ub10.COMMANDS.IN_1", "_ub10.COMMANDS.OUT_1", R160, 375},
        {"_ub5.COMMANDS.IN_4", "_ub5.COMMANDS.OUT_4", R160, 375},
    };
    for (const Input& i : inputs) {
        ASSERT_EQ(c.writeName(i.in, kBool, {1}), 0) << i.in;
        EXPECT_NEAR(onFor(c, i.group, i.out, i.passes + 10), i.passes, 1) << i.in;
        EXPECT_EQ(boolean(i.in), 0u) << i.in;
        // A written zero ends a running input at the next pass.
        ASSERT_EQ(c.writeName(i.in, kBool, {1}), 0) << i.in;
        runPasses(i.group, 2);
        ASSERT_EQ(boolean(i.out), 1u) << i.out;
        ASSERT_EQ(c.writeName(i.in, kBool, {0}), 0) << i.in;
        runPasses(i.group, 2);
        EXPECT_EQ(boolean(i.out), 0u) << i.out;
    }
    // The lamp test reaches the alarm-LED request.
    ASSERT_EQ(c.writeName("ALARMS.LED_TEST.IN_1", kBool, {1}), 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALARM_LED.B_NAME"), 1u);
}

TEST_F(TimedInputs, TheServiceToolSwitchesTheSimulationOnWhileShutDownAndARealSpeedEndsIt) {
    std::ofstream(root_ + "/" + "Accounts.txt") << "tech secret 3\nop o 2\n";
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    ASSERT_EQ(c.login("op", "o"), 0);
    runPasses(R160, 2);
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);  // shut down since the start
    // A local operator below configure level: nothing happens.
    ASSERT_EQ(c.writeName("SPEED_SIM.INTERNAL_SIM.IN_1", kBool, {1}), 0);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 0u);
    // The same tool logged in at configure level.
    ASSERT_EQ(c.login("tech", "secret"), 0);
    runPasses(R80, 2);
    ASSERT_EQ(c.writeName("SPEED_SIM.INTERNAL_SIM.IN_1", kBool, {1}), 0);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
    ASSERT_EQ(c.writeName("SPEED_SIM.INTERNAL_SIM.IN_3", kBool, {1}), 0);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
    turn(300.0);
    runPasses(R80, 4);
    EXPECT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
}

}  // namespace
