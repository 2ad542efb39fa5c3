// Values by handle, levels, log-in and the change token, as a service tool
// sees them over TCP against the running application.
#include "service_app.h"

using namespace svc_test;

namespace {

class Values : public ServiceApp {};

TEST_F(Values, EveryTypeIsReadAndTheWritableOnesWritten) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    // A write, then the read-back of the same handle.
    struct Row { const char* name; uint8_t type; Bytes value; };
    const Row rows[] = {
        {"DATALOG.PRINT.IN_2", kBool, {1}},
        {"DATALOG.LOAD_LVL1.IN_2", kReal, f32(26.5f)},
        {"_ub6.FUN_NUM.TUNE", kInt, u32(17)},
        {"TUTORIAL.S_TUNABLE.IN", kText, str0("Written over TCP")},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(c.writeName(r.name, r.type, r.value), 0) << r.name;
        EXPECT_EQ(c.readName(r.name), cat({{0}, r.value})) << r.name;
    }
    EXPECT_EQ(integer("_ub6.FUN_NUM.TUNE"), 17);
    EXPECT_EQ(text("TUTORIAL.S_TUNABLE.IN"), "Written over TCP");

    // A time cell and the controller's clock: seconds and microseconds.
    EXPECT_EQ(c.readName("BI_MUX.T_SW1.T_SW").size(), 9u);
    Bytes now = c.read(0xC9100000);
    ASSERT_EQ(now.size(), 9u);
    EXPECT_GT(be32(now, 1), 1700000000u);
    EXPECT_LT(be32(now, 5), 1000000u);
    // A read-only real reads as its cell.
    // (the logged speed, which the 10 ms group takes from the turbine speed)
    turn(1500.0);
    runPasses(R10, 50);
    Bytes speed = c.readName("DATALOG.SPEED.A_NAME");
    ASSERT_EQ(speed.size(), 5u);
    EXPECT_NE(real("DATALOG.SPEED.A_NAME"), 0.0f);
    EXPECT_EQ(asFloat(be32(speed, 1)), real("DATALOG.SPEED.A_NAME"));
}

TEST_F(Values, EachRefusalHasItsStatus) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const uint32_t lag = handleOf("ACCEL.SS_DERIV_FILT.LAG_TAU");  // 0.0, range 0 .. 0.5
    const uint32_t level = handleOf("DATALOG.LOAD_LVL1.IN_2");      // 25.0, range 0 .. 110
    setCell("ALARMS.ALM_DELAYS.IN_1", 60.0);                           // range 0 .. 60
    struct Row { const char* what; uint32_t handle; uint8_t type; Bytes value; uint8_t status; };
    const Row rows[] = {
        {"unknown handle", 0x82F0FFFF, kReal, f32(1), 1},
        {"handle with another type than its cell", lag ^ 0x06000000, kInt, u32(1), 1},
        {"below the minimum", lag, kReal, f32(-0.01f), 2},
        {"an alarm delay over its minute", handleOf("ALARMS.ALM_DELAYS.IN_1"), kReal, f32(60.5f), 2},
        {"a step over 10.1 % while running", level, kReal, f32(27.6f), 3},
        {"the largest step", level, kReal, f32(27.52f), 0},
        {"wrong type", level, kInt, u32(26), 5},
        {"read-only", handleOf("DATALOG.SPEED.A_NAME"), kReal, f32(0), 6},
        {"service command at level 0", handleOf("_ub10.COMMANDS.IN_1"), kBool, {1}, 254},
        {"integer out of range", handleOf("_ub6.FUN_NUM.TUNE"), kInt, u32(21), 2},
        {"integer at its maximum", handleOf("_ub6.FUN_NUM.TUNE"), kInt, u32(20), 0},
        {"time of the clock", 0xC9100000, kTime, cat({u32(1), u32(0)}), 6},
    };
    for (const Row& r : rows) EXPECT_EQ(c.write(r.handle, r.type, r.value), r.status) << r.what;
    // Reads: a handle whose type is not its cell's, and an unknown index.
    EXPECT_EQ(c.read(handleOf("TUTORIAL.S_TUNABLE.IN") ^ 0x11000000), (Bytes{1}));
    EXPECT_EQ(c.read(0xCBB00000 | sizeofHMIValueArray), (Bytes{1}));
}

TEST_F(Values, LevelsFollowLogInAndValidation) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const uint32_t command = handleOf("_ub10.COMMANDS.IN_2");
    struct Row { const char* user; const char* password; uint8_t status; uint8_t level; };
    const Row rows[] = {
        {"tech", "wrong", 254, 0}, {"nobody", "secret", 2, 0}, {"tech", "secret", 0, 3}, {"guest", "guest", 0, 0},
        {"tech", "secret", 0, 3},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(c.login(r.user, r.password), r.status) << r.user << "/" << r.password;
        EXPECT_EQ(c.level(), r.level) << r.user << "/" << r.password;
    }
    EXPECT_EQ(c.ask(cat({{0x61}, str0("tech"), str0("secret")})), (Bytes{0, 3}));
    EXPECT_EQ(c.write(command, kBool, {1}), 0);
    // Validation: another level than 0 has no local pair; 0 always lowers.
    EXPECT_EQ(c.ask(cat({{0x60, 2}, u32(1234)})), (Bytes{254}));
    EXPECT_EQ(c.level(), 3);
    EXPECT_EQ(c.ask(cat({{0x60, 0}, u32(0)})), (Bytes{0}));
    EXPECT_EQ(c.level(), 0);
    EXPECT_EQ(c.write(command, kBool, {0}), 254);
    // A new session starts at level 0.
    Client d(port);
    ASSERT_EQ(d.connectSession(), kConnectReply);
    EXPECT_EQ(d.level(), 0);
}

TEST_F(Values, TheChangeTokenExcludesOtherSessionsUntilReleasedOrClosed) {
    startService();
    const uint32_t token = handleOf(kChangeTokenCell);
    const uint32_t tune = handleOf("DATALOG.PRINT.IN_2");
    Client a(port), b(port);
    ASSERT_EQ(a.connectSession(), kConnectReply);
    ASSERT_EQ(b.connectSession(), kConnectReply);
    EXPECT_EQ(a.write(token, kBool, {1}), 0);
    EXPECT_EQ(b.write(tune, kBool, {1}), 4);
    EXPECT_EQ(b.write(token, kBool, {1}), 4);
    EXPECT_EQ(a.write(tune, kBool, {1}), 0);
    // Released by a write of 0: both may change again.
    EXPECT_EQ(a.write(token, kBool, {0}), 0);
    EXPECT_EQ(b.write(tune, kBool, {0}), 0);
    // Taken by b, then b's session ends: the token goes with it.
    EXPECT_EQ(b.write(token, kBool, {1}), 0);
    EXPECT_EQ(a.write(tune, kBool, {1}), 4);
    EXPECT_EQ(a.ask({0x26}), (Bytes{254}));  // no save without the change right
    close(b.fd);
    b.fd = -1;
    runPasses(R10, 5);
    EXPECT_EQ(a.write(tune, kBool, {1}), 0);
}

TEST_F(Values, ALongTextEndsAtItsThirtyEighthCharacter) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const std::string first(39, 'A');
    const std::string second = std::string(38, 'b') + "Z";
    EXPECT_EQ(c.writeName("TUTORIAL.S_TUNABLE.IN", kText, str0(first)), 0);
    EXPECT_EQ(c.writeName("TUTORIAL.S_TUNABLE.IN", kText, str0(second)), 0);
    EXPECT_EQ(c.readName("TUTORIAL.S_TUNABLE.IN"), cat({{0}, str0(std::string(38, 'b'))}));
    EXPECT_EQ(text("TUTORIAL.S_TUNABLE.IN"), std::string(38, 'b'));
}

}  // namespace
