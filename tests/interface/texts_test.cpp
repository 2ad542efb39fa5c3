// The speed-status, start-sequence and power-up texts through real passes
// of the 160 ms group: each selection's texts in the order of their
// conditions (an earlier condition wins over every later one), the defaults,
// the completed-sequence latch and the power-up delays that free the start
// and the Modbus map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control/control_slices.h"
#include "app/interface/CNFG_COMMS.cells.h"
#include "app/interface/C_COMM.cells.h"
#include "app/interface/MOD_links.rows.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/remote_io/remote_io.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace {

constexpr int R80 = 3;
constexpr int R160 = 4;

// The tunables at their defaults once, in the first 10 ms frame.
bool g_defaulted = false;
void defaultsOnce() {
    if (!g_defaulted) tc_test::loadTunableDefaults();
    g_defaulted = true;
}

class Texts : public tc_test::AppHarness {
protected:
    void start() {
        g_defaulted = false;
        useSlices(0, {defaultsOnce});
        // The power-up pulses and the power-up-complete delay (80 ms) feed
        // the power-up delays.
        useSlices(R80, {r80::PWR_UP_MSG_pulses, r80::PWR_UP_MSG_timing});
        useSlices(R160, {_R160_TASK_44});
        startApp();
    }
    // Enough passes for the 0.5 s delays to follow.
    void settle() { runPasses(R160, 8); }
    // Passes until the boolean cell shows `value` (0: not within limit).
    uint32_t passesUntil(const std::string& cell, uint32_t value, uint32_t limit) {
        for (uint32_t n = 1; n <= limit; ++n) {
            runPasses(R160, 1);
            if (boolean(cell) == value) return n;
        }
        return 0;
    }
    void expectText(const std::string& block, int32_t number, const std::string& want) {
        EXPECT_EQ(text(block + ".B_TO_STR"), want) << block;
        EXPECT_EQ(integer(block + ".MSG_SEL"), number) << block;
    }
};

// The selections on the whole program, driven through a start: each text
// comes from the state the unit is really in, and where two conditions
// hold at once the earlier one's text shows.
class Selections : public ref_test::RefRig {
protected:
    void settle() { runPasses(ref_test::R160, 8); }
    void expectText(const std::string& block, int32_t number, const std::string& want) {
        EXPECT_EQ(text(block + ".B_TO_STR"), want) << block;
        EXPECT_EQ(integer(block + ".MSG_SEL"), number) << block;
    }
};

// The start inhibit: configured without a start mode, the configuration
// error trips the unit, and of the two conditions that hold a start back
// the trip's text shows.
TEST_F(Selections, StartInhibitEarlierConditionsWin) {
    startApp();
    serviceWrite("CNFG_START.CONFIG_B.IN_1", 0);
    serviceWrite("CNFG_START.CONFIG_B.IN_2", 0);
    runPasses(ref_test::R160, 20);
    contact(ref_test::kTripContact, true);
    runPasses(ref_test::R160, 8);
    reset();
    settle();
    EXPECT_EQ(boolean("START.STRT_IH.SEL_2"), 1u);
    EXPECT_EQ(boolean("START.STRT_IH.SEL_1"), 1u);
    expectText("MESSAGE_START.START_INH_MSG", 1, "Turbine Tripped");
}

// A ready unit may start; a trip holds it back until it is reset.
TEST_F(Selections, StartInhibitFollowsATripAndItsReset) {
    start(false, false);
    settle();
    expectText("MESSAGE_START.START_INH_MSG", 0, "Ok to Start");
    trip();
    settle();
    expectText("MESSAGE_START.START_INH_MSG", 1, "Turbine Tripped");
    clearTrip();
    settle();
    expectText("MESSAGE_START.START_INH_MSG", 0, "Ok to Start");
}

// An automatic start to idle, then to rated: the start message follows each
// step, the speed message shows the controller in control, and a trip
// leaves both.
TEST_F(Selections, AutoStartAndSpeedTextsThroughAStartToRated) {
    start(true, true);
    settle();
    expectText("MESSAGE_START.START_INH_MSG", 0, "Ok to Start");
    expectText("MESSAGE_START.AUTO_STRT", 0, "Not Active");
    expectText("MESSAGE_START.CNTRL_STOP", 0, "Stopped");
    startCommand();
    ASSERT_TRUE(runUntil([&] { return step("A01_STEP"); }, 100));
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 6, "\"Mvg Low Idle\"");
    ASSERT_TRUE(runUntil([&] { return step("A02_STEP"); }, 500));
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 7, "\"At Low Idle\"");
    pulse("IFACE_IN_START.IR_EN.IN", ref_test::R160);
    ASSERT_TRUE(runUntil([&] { return step("A07_STEP"); }, 100));
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 12, "\"Mvg to Rated\"");
    ASSERT_TRUE(runUntil([&] { return step("A08_STEP"); }, 2000));
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 3, "Startup Completed");
    expectText("MESSAGE.SPEED_MSG", 1, "In Control");
    trip();
    settle();
    expectText("MESSAGE_START.START_INH_MSG", 1, "Turbine Tripped");
    expectText("MESSAGE_START.AUTO_STRT", 0, "Not Active");
}

// The idle/rated status: each text by its own condition.
TEST_F(Texts, IdleRatedStatusEachTextByItsCondition) {
    start();
    struct Case {
        std::vector<const char*> on;
        int32_t number;
        const char* text;
    };
    const Case cases[] = {
        {{}, 0, "Not Active"},
        {{"IFACE_OUT_START.IN_CRIT.B_NAME", "SPDC.A07_STEP.SFC_STEP"}, 1, "In Crit Band"},
        {{"SPDC.A01_STEP.SFC_STEP", "IDLE_RATE.RATED.LATCH_R", "SPDC.A07_STEP.SFC_STEP"}, 2, "Rated selected"},
        {{"SPDC.A00ASTEP.SFC_STEP", "IDLE_RATE.RATED.LATCH_R"}, 2, "Rated selected"},
        {{"SPDC.A00_STEP.SFC_STEP", "IDLE_RATE.RATED.LATCH_R"}, 2, "Rated selected"},
        {{"SPDC.A07_STEP.SFC_STEP", "SPDC.A02_STEP.SFC_STEP"}, 3, "Mvg to Rated"},
        {{"SPDC.A02_STEP.SFC_STEP", "SPDC.A01_STEP.SFC_STEP"}, 4, "At Idle Spd"},
        {{"SPDC.A01_STEP.SFC_STEP", "SPDC.A11_STEP.SFC_STEP"}, 5, "Mvg to Idle"},
        {{"SPDC.A08_STEP.SFC_STEP", "MESSAGE_START.SH_OFFCMD.ONE_SHOT", "MESSAGE_START.SH_ONCMD.ONE_SHOT"},
         7, "Idle inhibited"},
        {{"SPDC.A08_STEP.SFC_STEP", "MESSAGE_START.SH_ONCMD.ONE_SHOT"}, 8, "Rated inhibited"},
        // With the remote chart step active the inhibits do not apply.
        {{"SPDC.A08_STEP.SFC_STEP", "MESSAGE_START.SH_ONCMD.ONE_SHOT", "SPDC.B00_STEP.SFC_STEP"}, 11,
         "Startup Completed"},
        {{"SPDC.A11_STEP.SFC_STEP", "SPDC.A08_STEP.SFC_STEP"}, 9, "Mvg to Idle"},
        {{"SPDC.A08_STEP.SFC_STEP"}, 11, "Startup Completed"},
        {{"IDLE_RATE.RATED.LATCH_R"}, 0, "Not Active"},
    };
    std::vector<const char*> all;
    for (const Case& c : cases) all.insert(all.end(), c.on.begin(), c.on.end());
    for (const Case& c : cases) {
        for (const char* cell : all) setCell(cell, 0);
        for (const char* cell : c.on) setCell(cell, 1);
        settle();
        expectText("MESSAGE_START.IDL_RTD", c.number, c.text);
    }
}

TEST_F(Texts, IdleRatedPrompt) {
    start();
    settle();
    expectText("MESSAGE_START.F_IDLE_RTD", 0, "\"Yes=Rated No=Idle \"");
    setCell("IDLE_RATE.RATE_LACT.NOT", 1);
    settle();
    expectText("MESSAGE_START.F_IDLE_RTD", 2, "Yes to Go to Rated");
    setCell("IDLE_RATE.RATED.LATCH_R", 1);
    settle();
    expectText("MESSAGE_START.F_IDLE_RTD", 2, "Yes to Go to Rated");
    EXPECT_EQ(boolean("MESSAGE_START.GOTO_IDLE.AND"), 0u);
    setCell("IDLE_RTD.USE_IDLE.B_NAME", 1);
    settle();
    expectText("MESSAGE_START.F_IDLE_RTD", 1, "\"No to Go to Idle  \"");
    EXPECT_EQ(boolean("MESSAGE_START.GOTO_IDLE.AND"), 1u);
}

// The completed sequence stays on the display after its step ends, until
// a shutdown clears the latch; then the continue latch chooses the prompt.
TEST_F(Texts, CompletedSequenceLatchesUntilAShutdown) {
    start();
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 0, "\"Press Yes to Continue\"");
    setCell("AUTO_SEQ.CONTINUE.LATCH_R", 1);
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 2, "\"Press No to Halt     \"");
    setCell("SPDC.A08_STEP.SFC_STEP", 1);
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 1);  // the step wins over a shutdown
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 1, "Auto Start Seq Cmpltd");
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 0);
    setCell("SPDC.A08_STEP.SFC_STEP", 0);
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 1, "Auto Start Seq Cmpltd");
    EXPECT_EQ(boolean("MESSAGE_START.AS_SEQ_CMP.LATCH"), 1u);
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 1);
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 2, "\"Press No to Halt     \"");
    EXPECT_EQ(boolean("MESSAGE_START.AS_SEQ_CMP.LATCH"), 0u);
}

// Pass counts of the delays: a delay's output follows on the pass in which
// its accumulator, before the pass's step, has reached the delay time.

TEST_F(Texts, PowerUpFreesTheMapTwoAndAHalfSecondsAfterAConfigurationErrorClears) {
    start();
    // The first passes: power-up complete, then 1.0 s, then 2.5 s.
    runPasses(R160, 40);
    EXPECT_EQ(boolean("PWR_UP_MSG.COMPLT_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("MOD.MODMNOT_OK.NOT"), 0u);
    // A latched configuration error holds the delay at 0 at once.
    setCell("CONF_LATCH.ANY.LATCH_AE", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("PWR_UP_MSG.CONFIG_ERR.AND"), 1u);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_CONF_ERR.NOT"), 0u);
    EXPECT_EQ(boolean("PWR_UP_MSG.ENBL_STRT.AND"), 0u);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 0u);
    EXPECT_EQ(boolean("MOD.OR_INI.OR"), 1u);
    runPasses(R160, 40);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 0u);
    // Cleared: 16 steps of 0.16 s reach 2.5 s, so the 17th pass frees it.
    setCell("CONF_LATCH.ANY.LATCH_AE", 0);
    EXPECT_EQ(passesUntil("PWR_UP_MSG.N_ERR_DLY.DELAY", 1, 40), 17u);
    EXPECT_EQ(integer("PWR_UP_MSG.N_ERR_DLY.R_TIME"), 0);
    EXPECT_EQ(boolean("PWR_UP_MSG.ENBL_STRT.AND"), 1u);
}

TEST_F(Texts, SpeedStatusDelaysFollowAfterHalfASecond) {
    start();
    settle();
    setCell("MESSAGE.SPD_ACTIVE.AND", 1);
    EXPECT_EQ(passesUntil("MESSAGE.SPD_ACTIVE_DLY.DELAY", 1, 10), 5u);
    setCell("MESSAGE.SPD_ACTIVE.AND", 0);
    EXPECT_EQ(passesUntil("MESSAGE.SPD_ACTIVE_DLY.DELAY", 0, 10), 5u);
}

}  // namespace
