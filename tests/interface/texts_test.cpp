// The speed-status, start-sequence and power-up texts on the whole program,
// driven through starts, commands and trips: each selection's text from the
// state the unit is really in, the defaults, the completed-sequence latch,
// the power-up delays that free the start and the Modbus map, and the speed
// status delays. The rows that pin the order between conditions the
// program never gives together stay on the message slice alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control/control_slices.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/remote_io/remote_io.h"
#include "host/analog_inputs.h"
#include "tests/interface/program_cases_rig.h"

namespace {

using namespace pc_test;

// The text of selection `block` and its number.
template <class Rig>
void expectText(Rig& rig, const std::string& block, int32_t number, const std::string& want,
                const std::string& when = "") {
    EXPECT_EQ(rig.text(block + ".B_TO_STR"), want) << block << " " << when;
    EXPECT_EQ(rig.integer(block + ".MSG_SEL"), number) << block << " " << when;
}

class Selections : public ProgramCases {
public:
    using ProgramCases::integer;
    using ProgramCases::text;

protected:
    void settle() { runPasses(R160, 8); }
    void expectText(const std::string& block, int32_t number, const std::string& want, const std::string& when = "") {
        ::expectText(*this, block, number, want, when);
    }
    // 80 ms passes until the chart is in `s`.
    void untilStep(const char* s, int max) { ASSERT_TRUE(runUntil([&] { return step(s); }, max)) << s; }
};

// The start inhibit: configured without a start mode, the configuration
// error trips the unit, and of the two conditions that hold a start back
// the trip's text shows.
TEST_F(Selections, StartInhibitEarlierConditionsWin) {
    startApp();
    serviceWrite("CNFG_START.CONFIG_B.IN_1", 0);
    serviceWrite("CNFG_START.CONFIG_B.IN_2", 0);
    runPasses(R160, 20);
    contact(ref_test::kTripContact, true);
    runPasses(R160, 8);
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
    untilStep("A01_STEP", 100);
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 6, "\"Mvg Low Idle\"");
    untilStep("A02_STEP", 500);
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 7, "\"At Low Idle\"");
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    untilStep("A07_STEP", 100);
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 12, "\"Mvg to Rated\"");
    untilStep("A08_STEP", 2000);
    settle();
    expectText("MESSAGE_START.AUTO_STRT", 3, "Startup Completed");
    expectText("MESSAGE.SPEED_MSG", 1, "In Control");
    trip();
    settle();
    expectText("MESSAGE_START.START_INH_MSG", 1, "Turbine Tripped");
    expectText("MESSAGE_START.AUTO_STRT", 0, "Not Active");
}

// The idle/rated status and prompt through an idle/rated start with a
// critical band between idle and rated, the ramp to idle in use and the
// remote speed setpoint configured: each text shows while its condition
// holds, the critical band before the step that crosses it; rated shown
// inhibited only while the remote chart has left its local step. (Idle is
// never shown inhibited: the idle command takes the chart out of control,
// or the remote setpoint out of the chart, in the pass it comes.)
TEST_F(Selections, IdleRatedStatusAndPromptThroughAnIdleRatedStart) {
    board::setAnalogInputMa(0, 12.0);
    start(true, true,
          {{"CNFG_SETPT.CONFIG_B.IN_1", 1},
           {"IFACE_IN_START.USE_RAMP_TO_IDLE.IN", 1},
           {"CNFG_SETPT.CONFIG_B.IN_2", 1},
           {"_ub6.FUNCT.IN", 2},
           {"_ub6.RANGE_LO.IN", ref_test::kMinGov},
           {"_ub6.RANGE_HI.IN", ref_test::kMaxGov}});
    const std::string status = "MESSAGE_START.IDL_RTD", prompt = "MESSAGE_START.F_IDLE_RTD";
    settle();
    expectText(status, 0, "Not Active", "ready");
    expectText(prompt, 2, "Yes to Go to Rated", "ready");
    // Rated selected while ready; the prompt offers idle only while the
    // ramp to idle is in use.
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    settle();
    expectText(status, 2, "Rated selected", "rated selected");
    expectText(prompt, 1, "\"No to Go to Idle  \"", "rated selected");
    EXPECT_EQ(boolean("MESSAGE_START.GOTO_IDLE.AND"), 1u);
    tune("IFACE_IN_START.USE_RAMP_TO_IDLE.IN", 0);
    settle();
    expectText(prompt, 0, "\"Yes=Rated No=Idle \"", "no ramp to idle");
    EXPECT_EQ(boolean("MESSAGE_START.GOTO_IDLE.AND"), 0u);
    tune("IFACE_IN_START.USE_RAMP_TO_IDLE.IN", 1);
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    settle();
    expectText(status, 0, "Not Active", "rated taken back");
    // The start to idle, then rated.
    startCommand();
    untilStep("A01_STEP", 100);
    settle();
    expectText(status, 5, "Mvg to Idle", "to idle");
    untilStep("A02_STEP", 500);
    settle();
    expectText(status, 4, "At Idle Spd", "at idle");
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    untilStep("A07_STEP", 100);
    settle();
    expectText(status, 3, "Mvg to Rated", "to rated");
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_START.IN_CRIT.B_NAME") == 1u; }, 1000));
    runPasses(R160, 2);
    expectText(status, 1, "In Crit Band", "crossing the band to rated");
    untilStep("A08_STEP", 2000);
    settle();
    expectText(status, 11, "Startup Completed", "in control");
    // Rated asked again: with the chart's local step no inhibit shows;
    // with the remote setpoint enabled while the command's display lasts,
    // rated is shown inhibited.
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    runPasses(R160, 2);
    expectText(status, 11, "Startup Completed", "rated again, local");
    tune("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return !step("B00_STEP"); }, 20));
    runPasses(R160, 1);
    expectText(status, 8, "Rated inhibited", "rated again, remote");
    runPasses(R160, 20);
    expectText(status, 11, "Startup Completed", "the command's display over");
    // Local again, idle: the ramp to idle crosses the band.
    tune("IFACE_IN_SPEED.ENA_DIS_REM.IN_2", 1);
    ASSERT_TRUE(runUntil([&] { return step("B00_STEP"); }, 20));
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    untilStep("A11_STEP", 100);
    settle();
    expectText(status, 9, "Mvg to Idle", "back to idle");
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_START.IN_CRIT.B_NAME") == 1u; }, 1000));
    runPasses(R160, 2);
    expectText(status, 1, "In Crit Band", "crossing the band to idle");
    untilStep("A02_STEP", 1000);
    settle();
    expectText(status, 4, "At Idle Spd", "at idle again");
    trip();
    settle();
    expectText(status, 0, "Not Active", "tripped");
}

// The completed sequence stays on the display after its step ends (a
// controlled stop from the spare contact), until the shutdown that ends the
// stop clears the latch. The sequence is never continued in this
// application, so the prompt is the default one.
TEST_F(Selections, CompletedSequenceLatchesUntilAShutdown) {
    start(false, false);
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 0, "\"Press Yes to Continue\"", "ready");
    startToInControl();
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 1, "Auto Start Seq Cmpltd", "in control");
    contact(ref_test::kSpareContact, true);
    ASSERT_TRUE(runUntil([&] { return !step("A08_STEP"); }, 500));
    settle();
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    expectText("MESSAGE_START.AUTO_MSG", 1, "Auto Start Seq Cmpltd", "stopping");
    EXPECT_EQ(boolean("MESSAGE_START.AS_SEQ_CMP.LATCH"), 1u);
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u; }, 5000));
    runPasses(R160, 2);
    expectText("MESSAGE_START.AUTO_MSG", 0, "\"Press Yes to Continue\"", "shut down");
    EXPECT_EQ(boolean("MESSAGE_START.AS_SEQ_CMP.LATCH"), 0u);
}

// Pass counts of the delays: a delay's output follows on the pass in which
// its accumulator, before the pass's step, has reached the delay time.

// Power-up frees the start and the map; configured without a start mode the
// configuration error holds them; the start mode entered in configure mode
// clears it, and 16 steps of 0.16 s reach 2.5 s, so the 17th pass that sees
// it cleared frees them.
TEST_F(Selections, PowerUpFreesTheMapTwoAndAHalfSecondsAfterAConfigurationErrorClears) {
    startApp();
    enterSettings(false, false);
    runPasses(R160, 40);
    EXPECT_EQ(boolean("PWR_UP_MSG.COMPLT_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("MOD.MODMNOT_OK.NOT"), 0u);
    stopApp();
    startApp();
    runPasses(R160, 40);
    EXPECT_EQ(boolean("PWR_UP_MSG.COMPLT_DLY.DELAY"), 1u);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 1u) << "no start mode configured";
    EXPECT_EQ(boolean("PWR_UP_MSG.CONFIG_ERR.AND"), 1u);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_CONF_ERR.NOT"), 0u);
    EXPECT_EQ(boolean("PWR_UP_MSG.ENBL_STRT.AND"), 0u);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 0u);
    EXPECT_EQ(boolean("MOD.OR_INI.OR"), 1u);
    enterConfigureMode();
    tune("CNFG_START.CONFIG_B.IN_1", 1);
    ASSERT_GE(passesUntil(R160, [this] { return boolean("PWR_UP_MSG.CONFIG_ERR.AND") == 0u; }, 40), 0);
    EXPECT_EQ(boolean("PWR_UP_MSG.N_ERR_DLY.DELAY"), 0u);
    EXPECT_EQ(passesUntil(R160, [this] { return boolean("PWR_UP_MSG.N_ERR_DLY.DELAY") == 1u; }, 40) + 1, 17);
    EXPECT_EQ(integer("PWR_UP_MSG.N_ERR_DLY.R_TIME"), 0);
    EXPECT_EQ(boolean("PWR_UP_MSG.ENBL_STRT.AND"), 1u);
}

// The speed status delays: active (neither disabled nor in control) shown
// half a second after it comes and gone half a second after it goes,
// through a start to in control and a trip, every pass.
TEST_F(Selections, SpeedStatusDelaysFollowAfterHalfASecond) {
    start(false, false);
    DelayTrace t{"MESSAGE.SPD_ACTIVE.AND", "MESSAGE.SPD_ACTIVE_DLY.DELAY", {}, {}};
    record(t, R160, 20);
    startCommand();
    record(t, R160, 600);
    trip();
    record(t, R160, 40);
    EXPECT_GE(delayedLevels(t.ins, t.outs, 4, 4), 2) << "on and off";
}

// ---- rows no input reaches -------------------------------------------------

class Texts : public OnTheirSlices {
public:
    using OnTheirSlices::integer;
    using OnTheirSlices::text;

protected:
    void start() {
        startSlices({{R80, {r80::PWR_UP_MSG_pulses, r80::PWR_UP_MSG_timing}}, {R160, {_R160_TASK_44}}});
    }
    void settle() { runPasses(R160, 8); }
    void expectText(const std::string& block, int32_t number, const std::string& want) {
        ::expectText(*this, block, number, want);
    }
};

// The order of the idle/rated status between conditions the program never
// gives together (one step of the start chart at a time; the hot-start step
// A00A and the rated latch outside the start's steps are not reached; the
// idle command's display never meets the completed step under remote).
TEST_F(Texts, IdleRatedStatusOrderBetweenConditions) {
    start();
    struct Case {
        std::vector<const char*> on;
        int32_t number;
        const char* text;
    };
    const Case cases[] = {
        {{"IFACE_OUT_START.IN_CRIT.B_NAME", "SPDC.A07_STEP.SFC_STEP"}, 1, "In Crit Band"},
        {{"SPDC.A01_STEP.SFC_STEP", "IDLE_RATE.RATED.LATCH_R", "SPDC.A07_STEP.SFC_STEP"}, 2, "Rated selected"},
        {{"SPDC.A00ASTEP.SFC_STEP", "IDLE_RATE.RATED.LATCH_R"}, 2, "Rated selected"},
        {{"SPDC.A07_STEP.SFC_STEP", "SPDC.A02_STEP.SFC_STEP"}, 3, "Mvg to Rated"},
        {{"SPDC.A02_STEP.SFC_STEP", "SPDC.A01_STEP.SFC_STEP"}, 4, "At Idle Spd"},
        {{"SPDC.A01_STEP.SFC_STEP", "SPDC.A11_STEP.SFC_STEP"}, 5, "Mvg to Idle"},
        {{"SPDC.A08_STEP.SFC_STEP", "MESSAGE_START.SH_OFFCMD.ONE_SHOT", "MESSAGE_START.SH_ONCMD.ONE_SHOT"},
         7, "Idle inhibited"},
        {{"SPDC.A11_STEP.SFC_STEP", "SPDC.A08_STEP.SFC_STEP"}, 9, "Mvg to Idle"},
        {{"IDLE_RATE.RATED.LATCH_R"}, 0, "Not Active"},
    };
    // The remote chart away from its local step, as the inhibits need.
    std::vector<const char*> all = {"SPDC.B00_STEP.SFC_STEP"};
    for (const Case& c : cases) all.insert(all.end(), c.on.begin(), c.on.end());
    for (const Case& c : cases) {
        for (const char* cell : all) setCell(cell, 0);
        for (const char* cell : c.on) setCell(cell, 1);
        settle();
        expectText("MESSAGE_START.IDL_RTD", c.number, c.text);
    }
}

// The prompt with the rated latch and its inverse both on, which the latch
// never gives.
TEST_F(Texts, IdleRatedPromptWithBothLatchOutputs) {
    start();
    setCell("IDLE_RATE.RATE_LACT.NOT", 1);
    setCell("IDLE_RATE.RATED.LATCH_R", 1);
    settle();
    expectText("MESSAGE_START.F_IDLE_RTD", 2, "Yes to Go to Rated");
    EXPECT_EQ(boolean("MESSAGE_START.GOTO_IDLE.AND"), 0u);
}

// The continue latch (never set: this application does not continue the
// automatic sequence) and the completed step in the same pass as a
// shutdown (the step ends in the pass the shutdown comes).
TEST_F(Texts, CompletedSequenceWithTheContinueLatch) {
    start();
    settle();
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
    setCell("IFACE_IN_START.ANY_SD.B_NAME", 1);
    settle();
    expectText("MESSAGE_START.AUTO_MSG", 2, "\"Press No to Halt     \"");
    EXPECT_EQ(boolean("MESSAGE_START.AS_SEQ_CMP.LATCH"), 0u);
}

}  // namespace
