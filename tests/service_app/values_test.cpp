// Values by handle, levels, log-in and the change token, as a service tool
// sees them over TCP against the running application.
#include "host/hostclock.h"
#include "host/hostkernel.h"
#include "service/TallwireSupport.h"
#include "service/TwValues.h"
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

    // A time cell and the controller's clock: seconds and microseconds, read
    // half-way through a second and within the request's span.
    EXPECT_EQ(c.readName("BI_MUX.T_SW1.T_SW").size(), 9u);
    for (int i = 0; i < 250 && hostclock::realtimeNs() % 1000000000 / 100000000 != 5; ++i) hk::runTicks(1);
    const int64_t before = hostclock::realtimeNs() / 1000;
    Bytes now = c.read(0xC9100000);
    const int64_t after = hostclock::realtimeNs() / 1000;
    ASSERT_EQ(now.size(), 9u);
    EXPECT_GE(be32(now, 5), 500000u);
    const int64_t shown = int64_t(be32(now, 1)) * 1000000 + be32(now, 5);
    EXPECT_GE(shown, before);
    EXPECT_LE(shown, after);
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
    const uint32_t hyster = handleOf("SPDC.SR__GE_L1.HYSTER");          // range -50 .. 50
    setCell("SPDC.SR__GE_L1.HYSTER", -49.0);
    struct Row { const char* what; uint32_t handle; uint8_t type; Bytes value; uint8_t status; };
    const Row rows[] = {
        {"unknown handle", 0x82F0FFFF, kReal, f32(1), 1},
        {"handle with another type than its cell", lag ^ 0x06000000, kInt, u32(1), 1},
        {"below the minimum", lag, kReal, f32(-0.01f), 2},
        {"an alarm delay over its minute", handleOf("ALARMS.ALM_DELAYS.IN_1"), kReal, f32(60.5f), 2},
        {"an alarm delay of its whole minute", handleOf("ALARMS.ALM_DELAYS.IN_1"), kReal, f32(60.0f), 0},
        {"a step over 10.1 % while running", level, kReal, f32(27.6f), 3},
        {"the largest step", level, kReal, f32(27.52f), 0},
        {"wrong type", level, kInt, u32(26), 5},
        {"read-only", handleOf("DATALOG.SPEED.A_NAME"), kReal, f32(0), 6},
        {"service command at level 0", handleOf("_ub10.COMMANDS.IN_1"), kBool, {1}, 254},
        {"integer out of range", handleOf("_ub6.FUN_NUM.TUNE"), kInt, u32(21), 2},
        {"integer at its maximum", handleOf("_ub6.FUN_NUM.TUNE"), kInt, u32(20), 0},
        {"idle-level hysteresis below -50", hyster, kReal, f32(-50.5f), 2},
        {"idle-level hysteresis at -50", hyster, kReal, f32(-50.0f), 0},
        {"time of the clock", 0xC9100000, kTime, cat({u32(1), u32(0)}), 6},
    };
    for (const Row& r : rows) EXPECT_EQ(c.write(r.handle, r.type, r.value), r.status) << r.what;
    setCell("SPDC.SR__GE_L1.HYSTER", 49.0);
    EXPECT_EQ(c.write(hyster, kReal, f32(50.5f)), 2) << "idle-level hysteresis over 50";
    EXPECT_EQ(c.write(hyster, kReal, f32(50.0f)), 0) << "idle-level hysteresis at 50";
    // Reads: a handle whose type is not its cell's, and an unknown index.
    EXPECT_EQ(c.read(handleOf("TUTORIAL.S_TUNABLE.IN") ^ 0x11000000), (Bytes{1}));
    EXPECT_EQ(c.read(0xCBB00000 | sizeofHMIValueArray), (Bytes{1}));
}

// Names the service tool looks up in the directory, read through the
// protocol by the handle the directory gives (the speed controller in
// control as its delay shows it); the old name of the speed step's tunable
// is gone. The function numbers' lower limits show the
// integer block's -10,000,000.
TEST_F(Values, TheServiceToolFindsItsNamesInTheDirectory) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    runPasses(R160, 3);
    struct Row { const char* name; Bytes value; };
    const Row rows[] = {
        {"MESSAGE.SPD_PID_IN_CTRL.B_NAME", {uint8_t(boolean("MESSAGE.SPD_IN_CTRL_DLY.DELAY"))}},
        {"IFACE_IN_SPEED.QT_STEP_AMOUNT.I_NAME", u32(0)},
        {"CNFG_CASC.USE_R_L_4SPD.B_NAME", {0}},
        {"_ub13.BI_FUNCTION.LO_LIM_OUT", u32(uint32_t(-10000000))},
        {"CNFG_BI.BI_01.BI_FUNCTION.LO_LIM_OUT", u32(uint32_t(-10000000))},
        {"_ub6.FUN_NUM.LO_LIM_OUT", u32(uint32_t(-10000000))},
    };
    for (const Row& r : rows) {
        ASSERT_NE(handleOf(r.name), 0u) << r.name;
        EXPECT_EQ(c.readName(r.name), cat({{0}, r.value})) << r.name;
    }
    EXPECT_EQ(handleOf("IFACE_IN_SPEED.SP_STEP.TUNE"), 0u);
    // The raise/lower setting is a stored boolean.
    EXPECT_EQ(c.writeName("CNFG_CASC.USE_R_L_4SPD.B_NAME", kBool, {1}), 0);
    EXPECT_EQ(c.readName("CNFG_CASC.USE_R_L_4SPD.B_NAME"), (Bytes{0, 1}));
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

namespace {

class PlatformEntries : public ServiceApp {};

// The redundant write takes a type and one 32-bit datum: a value that does
// not fit that word is refused as a bad type, one that does goes through
// the ordinary write (without a session there is no change right).
TEST_F(PlatformEntries, TheRedundantWriteTakesOnlyValuesOfOneWord) {
    startService();
    const uint32_t tune = handleOf("TUTORIAL.S_TUNABLE.IN");
    const uint32_t tunable = handleOf("DATALOG.LOAD_LVL1.IN_2");
    const uint32_t computed = handleOf("DATALOG.SPEED.A_NAME");
    const uint32_t time = handleOf("BI_MUX.T_SW1.T_SW");
    const uint32_t computedText = handleOf("SHUTDOWNS.SD_FO_NOW.S_MUX_N_1");
    const uint32_t hashOfComputedText = (computedText & ~0x1F000000u) | 0x14000000u;
    const std::string kept = text("TUTORIAL.S_TUNABLE.IN");
    struct Row { const char* what; uint32_t handle, type, datum; uint8_t status; };
    const Row rows[] = {
        {"a text taken for an address", tune, kText, 0x1000, 1},
        {"a time of two words", time, kTime, 5, 1},
        {"a structure", 0xCA400000u, 68, 0x1000, 1},
        {"an event record", tune, 113, 0x1000, 1},
        {"a type code nobody knows", tunable, 7, 0, 1},
        {"a real without a session", tunable, kReal, 0x41D40000u, 4},
        {"a computed real", computed, kReal, 0, 6},
        {"a hash of a computed text", hashOfComputedText, 84, 1, 6},
        {"a real under an integer handle", tunable, kInt, 26, 5},
        {"a word of code 66", tunable, 66, 26, 5},
    };
    for (const Row& r : rows) {
        uint8_t status = 0xEE;
        hk::runTask([&] { status = WriteValueRed(r.handle, r.type, r.datum); });
        EXPECT_EQ(status, r.status) << r.what;
    }
    EXPECT_EQ(text("TUTORIAL.S_TUNABLE.IN"), kept);
    EXPECT_EQ(real("DATALOG.LOAD_LVL1.IN_2"), 25.0f);
}

// Record indexes of handles: value areas end at the last served value, the
// directory area at its last record, other areas keep their index.
TEST_F(PlatformEntries, HandlesGiveTheirRecordIndex) {
    struct Row { uint32_t handle; int32_t index; };
    const Row rows[] = {
        {0, -1},
        {0xCBB00000u | (sizeofHMIValueArray - 1), int32_t(sizeofHMIValueArray - 1)},
        {0xCBB00000u | sizeofHMIValueArray, -1},
        {0x82F00000u | sizeofHMIValueArray, -1},
        {0xC1D00000u | sizeofHMIValueArray, -1},
        {0xC1000005u, 5},
        {0xC10FFFFFu, -1},
        {0xC0C08002u, 0x8002},
        {0xCA400000u, -1},
    };
    for (const Row& r : rows) EXPECT_EQ(GetValueIndex(r.handle), r.index) << std::hex << r.handle;
}

// A text is also read as the hash of its characters, under its handle with
// the hash type; the hash itself cannot be written.
TEST_F(PlatformEntries, ATextReadsAsItsHash) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const uint32_t text = handleOf("TUTORIAL.S_TUNABLE.IN");
    const uint32_t hash = (text & ~0x1F000000u) | 0x14000000u;
    // Bytes count unsigned, and the sum wraps at 32 bits.
    struct Row { const char* text; uint32_t hash; };
    const Row rows[] = {{"abc", 96354}, {"ba", 3135}, {"", 0}, {"\xFF", 255},
                        {"Zarn 200 unit 7 of the north hall", 283204754u}};
    for (const Row& r : rows) {
        ASSERT_EQ(c.write(text, kText, str0(r.text)), 0) << r.text;
        EXPECT_EQ(c.read(hash), cat({{0}, u32(r.hash)})) << r.text;
    }
    EXPECT_EQ(c.write(hash, 84, u32(1)), 6);
    // Only a text's handle has a hash view.
    const uint32_t real = handleOf("DATALOG.LOAD_LVL1.IN_2");
    EXPECT_EQ(c.read((real & ~0x1F000000u) | 0x14000000u), (Bytes{1}));
}

// Structure values: none in this build, so the test supplies the table the
// generator would. A read copies the record's own length, whatever the
// caller's header says; a record's read level guards it.
TEST_F(PlatformEntries, AStructureReadCopiesItsRecordsLength) {
    startService();
    static uint8_t open[3];
    static uint8_t guarded[2];
    std::memcpy(open, "\x01\x02\x03", 3);
    std::memcpy(guarded, "\x09\x09", 2);
    static const StructDataRecord records[2] = {{3, 0, 0, open}, {2, 2, 1, guarded}};
    StructData = records;
    StructDataCount = 2;
    struct Restore {
        ~Restore() {
            StructData = nullptr;
            StructDataCount = 0;
        }
    } restore;
    uint8_t buffer[8];
    std::memset(buffer, 0xEE, sizeof buffer);
    TwStructHeader header{8, 0, 0, buffer};
    TwValue v{};
    v.data.ptr = &header;
    uint8_t status = 0xEE, guardedStatus = 0xEE;
    hk::runTask([&] {
        status = twsupport::ReadValForHandle(0xCA400000u, &v);
        TwValue w{};
        w.data.ptr = &header;
        guardedStatus = twsupport::ReadValForHandle(0xCA400001u, &w);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(v.type, 68u);
    EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(guardedStatus, 254);
    // Over the protocol: the record's bytes.
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    EXPECT_EQ(c.read(0xCA400000u), (Bytes{0, 1, 2, 3}));
    EXPECT_EQ(c.read(0xCA400002u), (Bytes{1}));
    // Written whole, as a structure only: other types are not its layout.
    EXPECT_EQ(c.write(0x8A400000u, 68, {7, 8, 9}), 0);
    EXPECT_EQ(c.read(0xCA400000u), (Bytes{0, 7, 8, 9}));
    EXPECT_EQ(c.write(0x84400000u, kInt, u32(5)), 1);
    EXPECT_EQ(c.read(0xC4400000u), (Bytes{1}));
    EXPECT_EQ(Bytes(open, open + 3), (Bytes{7, 8, 9}));
    EXPECT_EQ(c.write(0x8A400001u, 68, {1, 1}), 254);
}

// Write levels: a momentary service command needs level 1; tunables, the
// change token and the lag time constants whose writes recompute their
// filter are written at level 0.
TEST_F(PlatformEntries, WriteLevelsOfCommandsAndSettings) {
    startService();
    Client c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    struct Row { const char* cell; uint8_t type; Bytes value; uint8_t atLevel0; };
    const Row rows[] = {
        {"MASTER.COMMANDS.IN_3", kBool, {1}, 254},
        {"ALARMS.LED_TEST.IN_1", kBool, {1}, 254},
        {"SHUTDOWNS.LED_TEST.IN_1", kBool, {1}, 254},
        {"_ub10.COMMANDS.IN_2", kBool, {1}, 254},
        {"MPU.SPD_MONTOR.LAG_TAU", kReal, f32(0.0f), 0},
        {"DATALOG.PRINT.IN_2", kBool, {1}, 0},
        {"ACCEL.SS_DERIV_FILT.LAG_TAU", kReal, f32(0.0f), 0},
    };
    for (const Row& r : rows) EXPECT_EQ(c.writeName(r.cell, r.type, r.value), r.atLevel0) << r.cell;
    ASSERT_EQ(c.login("tech", "secret"), 0);
    for (const Row& r : rows) EXPECT_EQ(c.writeName(r.cell, r.type, r.value), 0) << r.cell;
}

}  // namespace
