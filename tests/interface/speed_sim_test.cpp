// The simulation and demo enables of the 80 ms group on the whole program:
// the simulator commands from the service tool, when the internal speed
// simulation may start and what ends it, demo mode only in simulation, a
// demonstration run through its steps and pulses, and the idle comparison
// with the speed from the speed sensors.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "tests/interface/operator_rig.h"
#include "tests/control_speed/program_rig.h"

namespace op_test {
namespace {

// The whole program from its inputs: ready to start, then tripped from
// its external trip contact (controller input BI03, board input 14) opening.
class SimulationOnProgram : public sc_test::ProgramRig {
public:
    static constexpr int kTripContact = ref_test::kTripContact;

protected:
    static constexpr int P10 = sc_test::P10, P80 = sc_test::P80;
    void start(const Settings& extra = {}) {
        RefRig::start(false, false, extra);
        trip();
        runPasses(P80, 2);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    }
    void command(int n) {
        tune("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n), 1);
        runPasses(P80, 15);  // the whole pulse
    }
    uint32_t simulating() { return boolean("SPEED_SIM.ENA__SIM.B_NAME"); }
    // 80 ms passes until `done`, at most `max`: the passes it took, or -1.
    int passesUntil(const std::function<bool()>& done, int max) {
        for (int k = 0; k <= max; ++k) {
            if (done()) return k;
            if (k < max) runPasses(P80, 1);
        }
        return -1;
    }
    bool demoStep(int n) { return boolean("UNIT_DEMO.DEMO_STEP" + std::to_string(n) + ".SFC_STEP") != 0; }
    // The shaft held at `rpm`, and the speed the program measures of it
    // once the measurement has settled (the same five passes running).
    float measured(double rpm) {
        holdShaftAt(rpm);
        float last = -1.0f;
        for (int k = 0, same = 0; k < 200 && same < 5; ++k) {
            runPasses(P80, 1);
            const float now = real("MPU.TURB_SPD.A_NAME");
            same = now == last ? same + 1 : 0;
            last = now;
        }
        return last;
    }
};

TEST_F(SimulationOnProgram, CommandsPulseForOneSecond) {
    start();
    for (int n = 1; n <= 4; ++n) {
        const std::string out = "SPEED_SIM.INTERNAL_SIM.OUT_" + std::to_string(n);
        tune("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n), 1);
        int pulse = 0;
        for (int p = 0; p < 20; ++p) {
            runPasses(P80, 1);
            pulse += static_cast<int>(boolean(out));
        }
        EXPECT_EQ(pulse, 13) << out;  // 1.0 s of 0.08 s passes, the sum reaching 1.0 after 13
        EXPECT_EQ(boolean("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n)), 0u);
    }
}

struct EnableCase {
    const char* name;
    uint32_t shut_down, configure_level;
    uint32_t on;
};

class SimulationEnable : public SimulationOnProgram, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(SimulationEnable, StartsOnlyWhileShutDownAndForAConfigureLevelUser) {
    start();
    if (GetParam().shut_down == 0) clearTrip();
    tune("IFACE_MODE.CNFG_OR_ABOV.IN_3", GetParam().configure_level);
    runPasses(P80, 1);
    tune("SPEED_SIM.INTERNAL_SIM.IN_1", 1);
    runPasses(P80, 2);
    EXPECT_EQ(boolean("SPEED_SIM.ENA_SW_SIM.AND"), GetParam().on);
    runPasses(P80, 15);
    EXPECT_EQ(simulating(), GetParam().on);
    EXPECT_EQ(boolean("SPEED_SIM.ENA_SIM.B_ACTION"), GetParam().on);
    // The request ends with its pulse; the simulation stays on.
    EXPECT_EQ(boolean("SPEED_SIM.ENA_SW_SIM.AND"), 0u);
    EXPECT_EQ(simulating(), GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Conditions, SimulationEnable,
                         ::testing::Values(EnableCase{"shut_down_configure_level", 1, 1, 1},
                                           EnableCase{"running", 0, 1, 0},
                                           EnableCase{"below_configure_level", 1, 0, 0},
                                           EnableCase{"neither", 0, 0, 0}),
                         [](const ::testing::TestParamInfo<EnableCase>& i) { return std::string(i.param.name); });

struct OffCase {
    const char* name;
    void (*act)(SimulationOnProgram&);
};

class SimulationOff : public SimulationOnProgram, public ::testing::WithParamInterface<OffCase> {
public:
    void tuneSetting(const std::string& name, double value) { tune(name, value); }
};

TEST_P(SimulationOff, EndsSimulationAndDemoModeOnTheSamePass) {
    start();
    tune("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    command(1);
    command(3);
    ASSERT_EQ(simulating(), 1u);
    ASSERT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
    GetParam().act(*this);
    for (int k = 0; k < 10 && simulating() != 0; ++k) runPasses(P10, 1);
    ASSERT_EQ(simulating(), 0u);
    // Demo mode ends in the 80 ms pass that ends the simulation.
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.NOT_IN_SIM.NOT"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, SimulationOff,
    ::testing::Values(
        OffCase{"real_speed_on_sensor_1", [](SimulationOnProgram&) { speedsensor::setShaftSpeed(0, 100.0, 60); }},
        OffCase{"reset_setting",
                [](SimulationOnProgram& r) { static_cast<SimulationOff&>(r).tuneSetting("SPEED_SIM.ENA_SIM.RST_2", 1); }},
        OffCase{"discrete_input_3", [](SimulationOnProgram&) { board::setDiscreteInput(SimulationOnProgram::kTripContact, true); }}),
    [](const ::testing::TestParamInfo<OffCase>& i) { return std::string(i.param.name); });

// Both speed probes in use; the shaft turning at less than 1 rpm, faster
// on the first probe's wheel than on the second's.
TEST_F(SimulationOnProgram, RealSpeedBelowOneRpmKeepsSimulationAndTheOffCommandEndsIt) {
    start({{"CNFG_SPEED.CONFIG_B.IN_1", 1}});
    tune("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    turbine::disable();
    speedsensor::setShaftSpeed(0, 0.99, 60);
    speedsensor::setShaftSpeed(1, 0.5, 60);
    runPasses(P80, 100);
    command(1);
    EXPECT_EQ(simulating(), 1u);
    const float tss1 = real("MPU.TSS_01.A_SW"), selected = real("MPU.SPEED_SW.A_SW");
    ASSERT_GT(tss1, selected);
    ASSERT_GT(selected, 0.0f);
    EXPECT_FLOAT_EQ(real("SPEED_SIM.REAL_SPD.A_MAX"), tss1);
    EXPECT_LT(tss1, 1.0f);
    EXPECT_EQ(boolean("SPEED_SIM.SPD_GT_1.A_COMPARE"), 0u);
    // The off command wins over a request in the same pass.
    tune("SPEED_SIM.INTERNAL_SIM.IN_1", 1);
    tune("SPEED_SIM.INTERNAL_SIM.IN_2", 1);
    runPasses(P80, 2);
    EXPECT_EQ(simulating(), 0u);
}

// Kept on the slices: below a few rpm the probes read in steps of 0.9375
// rpm with the rigs' 60-tooth wheel, and never a speed that is no number,
// so no input gives exactly 1 rpm or a speed that is no number.
class SpeedSimSlices : public OperatorRig {
protected:
    void command(int n) {
        serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n), 1);
        runPasses(R80, 15);  // the whole pulse
    }
};

TEST_F(SpeedSimSlices, ASpeedThatIsNoNumberChangesNothingAndOneRpmSetsBothFlags) {
    start();
    setCell("SHUTDOWNS.ANY_SD.B_NAME", 1);
    setCell("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    setCell("MPU.TSS_01.A_SW", 0.99);
    setCell("MPU.SPEED_SW.A_SW", 0.5);
    command(1);
    EXPECT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
    setCell("MPU.TSS_01.A_SW", std::nan(""));
    runPasses(R80, 2);
    EXPECT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
    setCell("MPU.TSS_01.A_SW", 0.0);
    setCell("MPU.SPEED_SW.A_SW", 1.0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("SPEED_SIM.SPD_GT_1.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("SPEED_SIM.SPD_GT_1.A_EQUAL"), 1u);
    EXPECT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 0u);
}

TEST_F(SimulationOnProgram, DemoModeOnlyInSimulation) {
    start();
    command(3);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
    tune("UNIT_DEMO.ENA_DEMO.IN_2", 1);
    runPasses(P80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
    tune("UNIT_DEMO.ENA_DEMO.IN_2", 0);
    tune("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    command(1);
    ASSERT_EQ(simulating(), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
    command(3);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
    command(4);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
    tune("UNIT_DEMO.ENA_DEMO.IN_2", 1);
    runPasses(P80, 1);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
    tune("UNIT_DEMO.ENA_DEMO.RST_2", 1);
    runPasses(P80, 1);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 0u);
}

// A demonstration run in simulation: the external trip contact BI03 given
// another function (an external alarm) so that it leaves the simulation
// alone, the unit tripped from the keypad, simulation and demo mode taken,
// the trips reset. The chart then starts the unit (its start pulse), waits
// at idle (idle set to 2500 rpm here), raises the reference to maximum
// governor (its raise), trips after 10 s there (its trip pulse), resets
// (its reset pulse) and comes back to its first step.
TEST_F(SimulationOnProgram, DemoRunsThroughItsStepsWithItsPulses) {
    start({{"_ub15.FUNCT.IN", 19}, {"CNFG_START.CONFIG_A.IN_1", 2500.0}});
    tap(kTripKey[0], kTripKey[1]);
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    tune("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    command(1);
    command(3);
    ASSERT_EQ(simulating(), 1u);
    ASSERT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
    ASSERT_TRUE(demoStep(1));
    EXPECT_EQ(boolean("UNIT_DEMO.READY.AND"), 0u);  // not in the reset step while tripped
    reset();
    ASSERT_GE(passesUntil([&] { return demoStep(2); }, 200), 0) << "the demonstration never started";

    // The second step: at idle once it has dwelt 10 s and the speed is at
    // or above idle.
    runPasses(P80, 119);
    EXPECT_EQ(boolean("SPDC.A00_STEP.SFC_STEP"), 0u) << "the start pulse did not start the unit";
    EXPECT_EQ(boolean("UNIT_DEMO.GO2_CURV.DELAY"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_IDLE.AND"), 0u);
    runPasses(P80, 9);
    EXPECT_EQ(boolean("UNIT_DEMO.GO2_CURV.DELAY"), 1u);
    ASSERT_EQ(boolean("MPU.SPD_GTEQ_IDL.OR"), 0u) << "already at idle: " << real("MPU.TURB_SPD.A_NAME");
    EXPECT_EQ(boolean("UNIT_DEMO.AT_IDLE.AND"), 0u);
    ASSERT_GE(passesUntil([&] { return boolean("MPU.SPD_GTEQ_IDL.OR") != 0; }, 1000), 0);
    runPasses(P80, 1);
    ASSERT_TRUE(demoStep(2));
    EXPECT_EQ(boolean("UNIT_DEMO.AT_IDLE.AND"), 1u);

    // The third step: the raise once its delay is up, then 10 s at the
    // maximum governor limit and a one-second trip pulse.
    ASSERT_GE(passesUntil([&] { return demoStep(3); }, 2000), 0) << "the start never completed";
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 0u);
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.DEMO_RAZ.AND") != 0; }, 200), 0);
    EXPECT_EQ(boolean("UNIT_DEMO.DELAY3.DELAY"), 1u);
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.ENA_TRIP.AND") != 0; }, 2000), 0) << "never at max gov";
    EXPECT_EQ(boolean("SPDC.SPEED_REF.P_LIM_9"), 1u);
    runPasses(P80, 119);
    EXPECT_EQ(boolean("UNIT_DEMO.ENA_TRIP.AND"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_MAXGOV.DELAY"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_TRIP.ONE_SHOT"), 0u);
    const int trip = passesUntil([&] { return boolean("UNIT_DEMO.DEMO_TRIP.ONE_SHOT") != 0; }, 9);
    EXPECT_GE(trip, 1);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_MAXGOV.DELAY"), 1u);
    EXPECT_EQ(integer("UNIT_DEMO.DEMO_TRIP.R_TIME"), 0);

    // The fourth step: the reset pulse once its delay is up (the raise has
    // ended with the third step).
    ASSERT_GE(passesUntil([&] { return demoStep(4); }, 20), 0);
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.DEMO_RESET.ONE_SHOT") != 0; }, 400), 0);
    EXPECT_EQ(boolean("UNIT_DEMO.DELAY4.DELAY"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 0u);

    // Back in the first step, in the reset step: ready once the first
    // step's delay is up, and the one-second start pulse.
    ASSERT_GE(passesUntil([&] { return demoStep(1); }, 1000), 0) << "the demonstration never came back";
    ASSERT_GE(passesUntil([&] { return boolean("SPDC.A00_STEP.SFC_STEP") != 0; }, 100), 0);
    runPasses(P80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.DELAY.DELAY"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.READY.AND"), 0u);
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.READY.AND") != 0; }, 200), 0);
    EXPECT_EQ(boolean("UNIT_DEMO.DELAY.DELAY"), 1u);
    // The pulse's remaining time is 0 in the pass that ends it.
    int start_pulse = 0, ended = -1;
    for (int p = 0; p < 20; ++p) {
        const uint32_t on = boolean("UNIT_DEMO.DEMO_START.ONE_SHOT");
        start_pulse += static_cast<int>(on);
        runPasses(P80, 1);
        if (on != 0 && boolean("UNIT_DEMO.DEMO_START.ONE_SHOT") == 0) {
            ended = p;
            EXPECT_EQ(integer("UNIT_DEMO.DEMO_START.R_TIME"), 0);
        }
    }
    EXPECT_EQ(start_pulse, 13);
    EXPECT_GE(ended, 0);

    // Once more to the raise at maximum governor; a real speed ends the
    // simulation, and nothing of the demonstration holds any more.
    ASSERT_GE(passesUntil([&] { return boolean("UNIT_DEMO.ENA_TRIP.AND") != 0; }, 4000), 0);
    ASSERT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 1u);
    speedsensor::setShaftSpeed(0, 100.0, 60);
    ASSERT_GE(passesUntil([&] { return simulating() == 0; }, 10), 0);
    runPasses(P80, 1);
    EXPECT_EQ(boolean("UNIT_DEMO.READY.AND"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.ENA_TRIP.AND"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 0u);
}

// The idle comparison with the speed the probes measure: idle set to
// 1000.5 rpm, so that the comparison point (idle less 0.5) is 1000 rpm, a
// speed the probes measure exactly (64000 counts of 64 MHz between teeth).
// Each hysteresis other than the default one is set so that its boundary
// is a speed of a whole number of counts, which is hit exactly.
TEST_F(SimulationOnProgram, IdleComparisonWithItsHysteresis) {
    start({{"CNFG_START.CONFIG_A.IN_1", 1000.5}});
    turbine::disable();
    runPasses(P80, 3);
    struct Row {
        double rpm;
        uint32_t gt, geq;
    };
    const auto rows = [&](std::initializer_list<Row> list) {
        for (const Row& r : list) {
            const float v = measured(r.rpm);
            EXPECT_FLOAT_EQ(real("MPU.NEAR_IDL.SUBTRACT"), 1000.0f);
            EXPECT_EQ(boolean("MPU.SPD_GT_IDL.A_COMPARE"), r.gt) << r.rpm << " measured " << v;
            EXPECT_EQ(boolean("MPU.SPD_GTEQ_IDL.OR"), r.geq || r.gt ? 1u : 0u) << r.rpm << " measured " << v;
            EXPECT_EQ(boolean("MPU.SPD_GT_IDL.A_EQUAL"), r.geq) << r.rpm << " measured " << v;
        }
    };
    // The default hysteresis: off below the point less 5.
    ASSERT_FLOAT_EQ(measured(1000.0), 1000.0f);
    rows({{990.5, 0, 0}, {1000.0, 1, 1}, {1000.1, 1, 0}, {995.5, 1, 0}, {995.0, 1, 0}, {994.9, 0, 0}, {999.9, 0, 0}});
    // A negative hysteresis whose boundary is a measured speed: on at the
    // boundary, off just below it.
    const auto counts = [](double n) { return 64.0e6 / n; };
    const float low = measured(counts(64300));
    tune("MPU.SPD_GT_IDL.HYSTER", low - 1000.0f);
    rows({{1000.0, 1, 1}, {counts(64300), 1, 0}, {counts(64301), 0, 0}, {999.9, 0, 0}});
    // A positive hysteresis: on at the point plus it, off below the point
    // (from below the point first: the boundary was measured with the
    // comparison on).
    const float high = measured(counts(63880));
    tune("MPU.SPD_GT_IDL.HYSTER", high - 1000.0f);
    rows({{999.9, 0, 0}, {counts(63881), 0, 0}, {counts(63880), 1, 0}, {1000.0, 1, 1}, {999.9, 0, 0}});
}

}  // namespace
}  // namespace op_test
