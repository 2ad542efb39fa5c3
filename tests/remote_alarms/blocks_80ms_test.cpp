// The 80 ms pieces of the speed-sensor configuration, the controlled stop,
// the HP driver, the valve limiter and the manual demand that share the node
// slices.
#include <functional>

#include "host/turbine_model.h"
#include "tests/remote_alarms/node_rig.h"
#include "tests/support/ref_rig.h"
#include "tests/remote_alarms/remote_rig.h"

using namespace ra_test;

namespace {

class Pieces : public RemoteRig {};

TEST_F(Pieces, TheOpenWireCheckIsReleasedAtOrAboveItsSetting) {
    start();
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
        double monitor;
        uint32_t compare, equal;
    } rows[] = {{0.5, 0, 0}, {1.0, 1, 1}, {7.0, 1, 0}, {0.99, 0, 0}};
    for (const auto& s : sensors) {
        EXPECT_EQ(real(s.setting), 1.0f);
        for (const auto& r : rows) {
            setCell(s.monitor, r.monitor);
            runPasses(R80, 2);
            EXPECT_EQ(boolean(s.compare), r.compare) << s.monitor << " " << r.monitor;
            EXPECT_EQ(boolean(s.equal), r.equal) << s.monitor << " " << r.monitor;
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

TEST_F(Pieces, TheEnteredLimiterValueIsDisabledByEachOfItsConditions) {
    start();
    const struct {
        int rl, pulse, atEntered, anySd, nsd;
        uint32_t dis;
    } rows[] = {{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 1}, {0, 0, 1, 0, 0, 1}, {0, 1, 1, 0, 0, 0},
                {0, 0, 0, 1, 0, 1},  {0, 0, 0, 0, 1, 1}};
    for (const auto& r : rows) {
        setCell("HPLM.R_L.OR", r.rl);
        setCell("HP_LIMTER.H_SER_OK.ONE_SHOT", r.pulse);
        setCell("HP_LIMTER.HP_RAMP.P_LIM_4", r.atEntered);
        setCell("IFACE_IN_VLV.ANY_SD.B_NAME", r.anySd);
        setCell("SPDC.Z01_STEP.SFC_STEP", r.nsd);
        runPasses(R80, 3);
        EXPECT_EQ(boolean("HP_LIMTER.H_SER_DIS.OR"), r.dis) << r.rl << r.pulse << r.atEntered << r.anySd << r.nsd;
        EXPECT_EQ(boolean("HP_LIMTER.AT_ENTERED.AND"), uint32_t(r.atEntered && !r.pulse));
        EXPECT_EQ(boolean("IFACE_IN_VLV.SD_SEQ_NORM_SD.B_NAME"), uint32_t(r.nsd));
        EXPECT_EQ(boolean("HP_LIMTER.H_SER_Z.ZMINUS1_B"), r.dis) << "its unit delay";
    }
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

TEST_F(Pieces, TheManualDemandIsPermittedOnlyOnceTheStartHasCompleted) {
    start();
    for (int step : {0, 1, 0}) {
        setCell("SPDC.A08_STEP.SFC_STEP", step);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("IFACE_IN_HP_MAN.START_COMP.B_NAME"), uint32_t(step));
        EXPECT_EQ(boolean("HP_MAN_ENBL.START_COMP_NOT.NOT"), uint32_t(1 - step));
    }
}

}  // namespace
