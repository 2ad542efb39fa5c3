// The 80 ms pieces of the speed-sensor configuration, the controlled stop,
// the HP driver, the valve limiter and the manual demand that share the node
// slices, on the whole program: the sensors' signals, a start on the turbine
// model, a controlled stop and the limiter's settings and commands from the
// service tool.
#include <functional>

#include "app/control/HPLM.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "tests/remote_alarms/node_rig.h"
#include "tests/support/ref_rig.h"

using ref_test::R160;
using ref_test::R80;

namespace {

// On the whole program: the sensors' monitor speeds from the sensors'
// signals (wheels of the configured 60 teeth). The setting is raised from
// its default from the service tool, and the sensors' maximum speed lowered
// in the first frame (it is taken only at the start), so that the setting
// lies well inside the speeds the sensors measure.
class OpenWire : public ra_node::NodeRig {
protected:
    void SetUp() override {
        NodeRig::SetUp();
        speedsensor::install();
    }
};

TEST_F(OpenWire, TheOpenWireCheckIsReleasedAtOrAboveItsSetting) {
    setting("CNFG_SPEED.SPD1_MAXSPD.IN", 100.0);
    setting("CNFG_SPEED.SPD2_MAXSPD.IN", 100.0);
    startApp();
    runPasses(R80, 30);
    const struct {
        const char* monitor;
        const char* setting;
        const char* compare;
        const char* equal;
        const char* release;
    } sensors[] = {
        {"CNFG_SPEED.TSS_01.MONITOR", "CNFG_SPEED.OPNCHK1_DIS.IN_2", "CNFG_SPEED.OPNCHK1_DIS.A_COMPARE",
         "CNFG_SPEED.OPNCHK1_DIS.A_EQUAL", "CNFG_SPEED.AUTOOWF1_R.NOT"},
        {"CNFG_SPEED.TSS_02.MONITOR", "CNFG_SPEED.OPNCHK2_DIS.IN_2", "CNFG_SPEED.OPNCHK2_DIS.A_COMPARE",
         "CNFG_SPEED.OPNCHK2_DIS.A_EQUAL", "CNFG_SPEED.AUTOOWF2_R.NOT"},
    };
    const struct {
        double rpm;
        uint32_t compare, equal;
    } rows[] = {{25.0, 0, 0}, {50.0, 1, 1}, {70.0, 1, 0}, {49.5, 0, 0}};
    for (const auto& s : sensors) {
        EXPECT_EQ(real(s.setting), 1.0f);
        serviceWrite(s.setting, 50.0);
    }
    for (const auto& r : rows) {
        for (int ch : {0, 1}) speedsensor::setShaftSpeed(ch, r.rpm, 60);
        runPasses(R160, 30);
        for (const auto& s : sensors) {
            EXPECT_NEAR(real(s.monitor), r.rpm, 1e-3) << s.monitor;
            EXPECT_EQ(boolean(s.compare), r.compare) << s.monitor << " " << r.rpm;
            EXPECT_EQ(boolean(s.equal), r.equal) << s.monitor << " " << r.rpm;
            EXPECT_EQ(boolean(s.release), 1u - r.compare);
        }
    }
}

// The stroke enable written from the service tool on the whole program.
class PiecesOnProgram : public ra_node::NodeRig {};

TEST_F(PiecesOnProgram, TheStrokeEnableGivesOnePulseOf19Passes) {
    startApp();
    runPasses(ra_node::R80, 30);
    ASSERT_EQ(boolean("HP_DRIVER.YES_PLS.ONE_SHOT"), 0u);
    serviceWrite("IFACE_IN_VLV.HP_STRK_ENBL.IN", 1);
    int on = 0;
    for (int k = 0; k < 40; ++k) {
        runPasses(ra_node::R80, 1);
        on += static_cast<int>(boolean("HP_DRIVER.YES_PLS.ONE_SHOT"));
    }
    EXPECT_EQ(boolean("IFACE_IN_VLV.HP_STRK_ENBL.B_NAME"), 1u);
    EXPECT_EQ(on, 19);
}

// A controlled stop on the whole program: in control at minimum governor on
// the turbine, the stop enabled from the service tool runs the reference
// down to idle; the stop is complete there, and the stop's trip (when
// configured) follows once the valve limiter has run down.
class ControlledStop : public ref_test::RefRig {
protected:
    // In control with the stop's trip configured or not.
    void toControl(bool stopTrips) {
        start(false, false, {{"CNFG_OPERATE.CONFIG_B.IN_5", stopTrips ? 1 : 0}});
        startToInControl();
        turbine::setLoad(0.0);
    }
    // The stop enabled (or aborted) from the service tool.
    void enable(bool on) {
        const char* in = on ? "IFACE_IN_START.CNTRL_ST.IN" : "IFACE_IN_START.CSD_ABORT.IN";
        serviceWrite(in, 1);
        for (int k = 0; k < 4; ++k) pass();
        serviceWrite(in, 0);
    }
    // One 80 ms pass; the row of the stop complete's inputs it shows.
    void pass() {
        runPasses(R80, 1);
        const int row = static_cast<int>(boolean("CNTRL_STOP.STP_CPLT.OR")) * 4 +
                        static_cast<int>(boolean("HP_LIMTER.HP_RAMP.P_LIM_1")) * 2 +
                        static_cast<int>(boolean("CNTRL_STOP.CSD_TRIP.B_NAME"));
        seen_ |= 1 << row;
        EXPECT_EQ(boolean("CNTRL_STOP.STP_COMPLETE.AND"), row == 7 ? 1u : 0u) << "row " << row;
        EXPECT_EQ(boolean("CNTRL_STOP.CSD_SEQ.B_NAME"), boolean("CNTRL_STOP.NSD_ENABLED.LATCH_R"));
    }
    bool passUntil(const std::function<bool()>& done, int max) {
        for (int k = 0; k < max; ++k) {
            if (done()) return true;
            pass();
        }
        return done();
    }
    bool complete() { return boolean("CNTRL_STOP.STP_CPLT.OR") != 0; }
    // The stop aborted from the service tool: passes until it has ended.
    void abort() {
        serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 1);
        ASSERT_TRUE(passUntil([&] { return !complete(); }, 10)) << "the stop did not end";
        serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 0);
    }
    int seen_ = 0;
};

// The stop complete needs the stop at its end, the limiter down and the
// stop's trip in force; the sequence flag follows the stop's enable. With
// the stop's trip configured and without: the stop goes through every row
// of the three inputs with that trip setting.
class StopComplete : public ControlledStop, public ::testing::WithParamInterface<bool> {};

TEST_P(StopComplete, OnlyWithTheLimiterDownAndTheStopsTripInForce) {
    const bool stopTrips = GetParam();
    toControl(stopTrips);
    pass();
    EXPECT_EQ(boolean("CNTRL_STOP.CSD_SEQ.B_NAME"), 0u);
    enable(true);
    EXPECT_EQ(boolean("CNTRL_STOP.CSD_SEQ.B_NAME"), 1u);
    ASSERT_TRUE(passUntil([&] { return complete(); }, 2000)) << "the stop never reached its end";
    // The limiter runs down at the shutdown rate (1 %/s).
    if (stopTrips) {
        ASSERT_TRUE(passUntil([&] { return boolean("SHUTDOWNS.ANY.SEL_25") != 0; }, 2000)) << "no stop trip";
        EXPECT_EQ(boolean("HP_LIMTER.HP_RAMP.P_LIM_1"), 1u);
        passUntil([&] { return !complete(); }, 50);
        for (int k = 0; k < 5; ++k) pass();
    } else {
        ASSERT_TRUE(passUntil([&] { return boolean("HP_LIMTER.HP_RAMP.P_LIM_1") != 0; }, 2000));
        for (int k = 0; k < 20; ++k) pass();
        EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u) << "no stop trip configured";
        abort();
        pass();
        EXPECT_EQ(boolean("CNTRL_STOP.CSD_SEQ.B_NAME"), 0u);
    }
    EXPECT_EQ(seen_, stopTrips ? 0xAA : 0x55) << std::hex << seen_;
}

INSTANTIATE_TEST_SUITE_P(TripSetting, StopComplete, ::testing::Bool(),
                         [](const auto& i) { return i.param ? "StopTrips" : "NoStopTrip"; });

// The stop complete's delay, the stop's trip not configured: it rises after
// its time of passes with the stop complete and falls in the pass the stop
// ends (aborted from the service tool); a shorter completion leaves it down.
TEST_F(ControlledStop, TheStopCompleteDelayRisesAfterItsTimeAndFallsAtOnce) {
    toControl(false);
    EXPECT_FLOAT_EQ(real("CNTRL_STOP.STP_CPLT_DLY.DLY_TIME"), 10.0f);
    const struct {
        double seconds;
        int pass;  // the pass of the completion the delay rises in
    } rows[] = {{10.0, 127}, {2.0, 26}};  // 0.08 summed 126 times stays below 10.0
    for (const auto& r : rows) {
        SCOPED_TRACE(r.seconds);
        serviceWrite("CNTRL_STOP.STP_CPLT_DLY.DLY_TIME", r.seconds);
        enable(true);
        ASSERT_TRUE(passUntil([&] { return complete(); }, 2000)) << "the stop never reached its end";
        int k = 1;
        for (; k <= 200 && boolean("CNTRL_STOP.STP_CPLT_DLY.DELAY") == 0; ++k) {
            pass();
            ASSERT_TRUE(complete());
        }
        EXPECT_EQ(k, r.pass);
        abort();
        EXPECT_EQ(boolean("CNTRL_STOP.STP_CPLT_DLY.DELAY"), 0u) << "in the pass the stop ends";
    }
    // A completion shorter than the delay leaves it down.
    enable(true);
    ASSERT_TRUE(passUntil([&] { return complete(); }, 2000));
    for (int k = 0; k < 20; ++k) pass();
    abort();
    for (int k = 0; k < 30; ++k) {
        pass();
        EXPECT_EQ(boolean("CNTRL_STOP.STP_CPLT_DLY.DELAY"), 0u);
    }
}

// The manual demand is permitted once the start has completed (the speed
// reference in control) and no longer once a stop has taken it out of
// control: each 80 ms pass shows the step it sees.
TEST_F(ControlledStop, TheManualDemandIsPermittedOnlyOnceTheStartHasCompleted) {
    std::string steps;  // the step as the passes saw it, each change once
    uint32_t before = 0, checked = 0;
    const auto check = [&] {
        runPasses(R80, 1);
        // The chart's steps are committed at the end of the 80 ms pass: the
        // pieces of the group see a change from the next pass on.
        const uint32_t step = boolean("SPDC.A08_STEP.SFC_STEP");
        const uint32_t seen = boolean("IFACE_IN_HP_MAN.START_COMP.B_NAME");
        if (passes(R80) == checked + 1) {
            EXPECT_EQ(seen, before);
        }
        checked = passes(R80);
        EXPECT_EQ(boolean("HP_MAN_ENBL.START_COMP_NOT.NOT"), 1u - seen);
        if (steps.empty() || steps.back() - '0' != static_cast<int>(seen)) steps += std::to_string(seen);
        before = step;
    };
    start(false, false);
    check();
    startCommand();
    for (int k = 0; k < 5000 && !step("A08_STEP"); ++k) check();
    for (int k = 0; k < 10; ++k) check();
    enable(true);
    for (int k = 0; k < 20; ++k) check();
    EXPECT_EQ(steps, "010") << "at rest, in control, stopping";
}

// The entered valve-limiter value is disabled by each of its conditions: a
// raise or lower of the limiter, the limiter at the entered value (unless
// the value is being taken in that pass), a shutdown and the normal stop.
// On the turbine in control: a value entered and taken, entered again while
// the limiter stands at it, the limiter raised from the service tool, a
// controlled stop and a trip; every 80 ms pass checks the disable against
// the conditions it shows.
TEST_F(ControlledStop, TheEnteredLimiterValueIsDisabledByEachOfItsConditions) {
    enum { kNone, kRaiseLower, kAtEntered, kTaken, kShutdown, kNormalStop };
    int seen = 0;
    uint32_t z01 = 0;
    const auto check = [&](int n) {
        for (int k = 0; k < n; ++k) {
            runPasses(R80, 1);
            // The raise/lower (160 ms) and the shutdown (10 ms) as the
            // 80 ms group's copies hold them.
            const uint32_t rl = r80::HPLM.R_L_OR, pulse = boolean("HP_LIMTER.H_SER_OK.ONE_SHOT"),
                           atEntered = boolean("HP_LIMTER.HP_RAMP.P_LIM_4"), anySd = r80::IFACE_IN_VLV.ANY_SD_B_NAME,
                           nsd = boolean("IFACE_IN_VLV.SD_SEQ_NORM_SD.B_NAME");
            const uint32_t dis = (rl | (atEntered & (1u - pulse)) | anySd | nsd) != 0 ? 1u : 0u;
            const std::string row = std::to_string(rl) + std::to_string(pulse) + std::to_string(atEntered) +
                                    std::to_string(anySd) + std::to_string(nsd);
            EXPECT_EQ(boolean("HP_LIMTER.H_SER_DIS.OR"), dis) << row;
            EXPECT_EQ(boolean("HP_LIMTER.AT_ENTERED.AND"), atEntered & (1u - pulse)) << row;
            EXPECT_EQ(boolean("HP_LIMTER.H_SER_Z.ZMINUS1_B"), dis) << "its unit delay " << row;
            // The normal stop's flag is the chart's stop step, committed at
            // the end of the 80 ms pass (seen from the next pass on).
            if (k > 0) {
                EXPECT_EQ(nsd, z01);
            }
            z01 = boolean("SPDC.Z01_STEP.SFC_STEP");
            if (rl + pulse + atEntered + anySd + nsd == 0) seen |= 1 << kNone;
            if (rl != 0 && atEntered + anySd + nsd == 0) seen |= 1 << kRaiseLower;
            if (atEntered != 0 && pulse == 0 && rl + anySd + nsd == 0) seen |= 1 << kAtEntered;
            if (atEntered != 0 && pulse != 0 && rl + anySd + nsd == 0) seen |= 1 << kTaken;
            if (anySd != 0 && rl + nsd == 0) seen |= 1 << kShutdown;
            if (nsd != 0 && rl + anySd == 0) seen |= 1 << kNormalStop;
        }
    };
    toControl(false);
    check(20);
    // A value entered and taken: the limiter runs to it and stands there.
    serviceWrite("HP_LIMTER.ENTR_HP_LIM_SP.TUNE", 40.0);
    check(2);
    serviceWrite("IFACE_IN_VLV.TUNED_OK.IN", 1);
    check(3);
    serviceWrite("IFACE_IN_VLV.TUNED_OK.IN", 0);
    for (int k = 0; k < 2000 && boolean("HP_LIMTER.HP_RAMP.P_LIM_4") == 0; ++k) check(1);
    check(5);
    // Taken again while the limiter stands at it.
    serviceWrite("IFACE_IN_VLV.TUNED_OK.IN", 1);
    check(3);
    serviceWrite("IFACE_IN_VLV.TUNED_OK.IN", 0);
    check(5);
    // Raised from the service tool.
    serviceWrite("HP_LIMTER.OPEN.IN_3", 1);
    check(10);
    serviceWrite("HP_LIMTER.OPEN.IN_3", 0);
    check(5);
    // A controlled stop, aborted, then a trip.
    enable(true);
    check(20);
    abort();
    check(10);
    trip();
    check(20);
    EXPECT_EQ(seen, 0x3F) << std::hex << seen;
}

}  // namespace
