// The simulation and demo enables of the 80 ms group through real passes:
// the simulator commands from the service tool, when the internal speed
// simulation may start and what ends it, demo mode only in simulation, its
// pulses, and the idle comparison.
#include <cmath>
#include <string>

#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "tests/interface/operator_rig.h"
#include "tests/control_speed/program_rig.h"

namespace op_test {
namespace {

class SpeedSim : public OperatorRig {
protected:
    // Shut down, with a local user of configure level.
    void readyForSimulation() {
        setCell("SHUTDOWNS.ANY_SD.B_NAME", 1);
        setCell("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    }
    void command(int n) {
        serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n), 1);
        runPasses(R80, 15);  // the whole pulse
    }
    uint32_t simulating() { return boolean("SPEED_SIM.ENA__SIM.B_NAME"); }
};

TEST_F(SpeedSim, CommandsPulseForOneSecond) {
    start();
    for (int n = 1; n <= 4; ++n) {
        const std::string out = "SPEED_SIM.INTERNAL_SIM.OUT_" + std::to_string(n);
        serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n), 1);
        int pulse = 0;
        for (int p = 0; p < 20; ++p) {
            runPasses(R80, 1);
            pulse += static_cast<int>(boolean(out));
        }
        EXPECT_EQ(pulse, 13) << out;  // 1.0 s of 0.08 s passes, the sum reaching 1.0 after 13
        EXPECT_EQ(boolean("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n)), 0u);
    }
}

// The whole program from its inputs: ready to start, then tripped from
// its external trip contact (controller input BI03, board input 14) opening.
class SimulationOnProgram : public sc_test::ProgramRig {
public:
    static constexpr int kTripContact = ref_test::kTripContact;

protected:
    static constexpr int P10 = sc_test::P10, P80 = sc_test::P80;
    void start() {
        RefRig::start(false, false);
        trip();
        runPasses(P80, 2);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    }
    void command(int n) {
        tune("SPEED_SIM.INTERNAL_SIM.IN_" + std::to_string(n), 1);
        runPasses(P80, 15);  // the whole pulse
    }
    uint32_t simulating() { return boolean("SPEED_SIM.ENA__SIM.B_NAME"); }
};

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

TEST_F(SpeedSim, RealSpeedBelowOneRpmKeepsSimulationAndTheOffCommandEndsIt) {
    start();
    readyForSimulation();
    setCell("MPU.TSS_01.A_SW", 0.99);
    setCell("MPU.SPEED_SW.A_SW", 0.5);
    command(1);
    EXPECT_EQ(simulating(), 1u);
    EXPECT_FLOAT_EQ(real("SPEED_SIM.REAL_SPD.A_MAX"), 0.99f);
    EXPECT_EQ(boolean("SPEED_SIM.SPD_GT_1.A_COMPARE"), 0u);
    // A speed that is no number changes nothing.
    setCell("MPU.TSS_01.A_SW", std::nan(""));
    runPasses(R80, 2);
    EXPECT_EQ(simulating(), 1u);
    // The off command wins over a request in the same pass.
    serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_1", 1);
    serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_2", 1);
    runPasses(R80, 2);
    EXPECT_EQ(simulating(), 0u);
    // At exactly 1 rpm the compare and equal flags are both set.
    setCell("MPU.TSS_01.A_SW", 0.0);
    setCell("MPU.SPEED_SW.A_SW", 1.0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("SPEED_SIM.SPD_GT_1.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("SPEED_SIM.SPD_GT_1.A_EQUAL"), 1u);
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

TEST_F(SpeedSim, DemoPulsesStartTripResetAndZero) {
    start();
    readyForSimulation();
    command(1);
    command(3);
    ASSERT_EQ(boolean("UNIT_DEMO.DEMO_MODE.B_NAME"), 1u);
    // Start: ready in the reset step once the first step's delay is up.
    setCell("SPDC.A00_STEP.SFC_STEP", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.READY.AND"), 0u);
    setCell("UNIT_DEMO.DELAY.DELAY", 1);
    int start_pulse = 0;
    for (int p = 0; p < 20; ++p) {
        runPasses(R80, 1);
        start_pulse += static_cast<int>(boolean("UNIT_DEMO.DEMO_START.ONE_SHOT"));
    }
    EXPECT_EQ(boolean("UNIT_DEMO.READY.AND"), 1u);
    EXPECT_EQ(start_pulse, 13);
    EXPECT_EQ(integer("UNIT_DEMO.DEMO_START.R_TIME"), 0);
    // Trip: 10 s at the maximum governor limit, then a one-second pulse.
    setCell("SPDC.SPEED_REF.P_LIM_9", 1);
    runPasses(R80, 120);
    EXPECT_EQ(boolean("UNIT_DEMO.ENA_TRIP.AND"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_MAXGOV.DELAY"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_TRIP.ONE_SHOT"), 0u);
    runPasses(R80, 8);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_MAXGOV.DELAY"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_TRIP.ONE_SHOT"), 1u);
    EXPECT_EQ(integer("UNIT_DEMO.DEMO_TRIP.R_TIME"), 0);
    // Reset pulse on the fourth delay; zeroing on the third.
    setCell("UNIT_DEMO.DELAY4.DELAY", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RESET.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 0u);
    setCell("UNIT_DEMO.DELAY3.DELAY", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 1u);
    // Out of simulation nothing of it holds.
    setCell("MPU.SPEED_SW.A_SW", 5.0);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("UNIT_DEMO.READY.AND"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.ENA_TRIP.AND"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.DEMO_RAZ.AND"), 0u);
}

struct IdleCase {
    double speed;  // idle at 1000 rpm
    uint32_t gt, geq;
};

TEST_F(SpeedSim, IdleComparisonWithTheDefaultHysteresis) {
    start();
    setCell("IFACE_IN_SPEED.IDLE_1.A_NAME", 1000);
    runPasses(R80, 3);  // a 160 ms cell: through the copy at the next 160 ms frame
    const IdleCase steps[] = {
        {990, 0, 0}, {999.5, 1, 1}, {999.6, 1, 0}, {995, 1, 0}, {994.5, 1, 0}, {994.4, 0, 0}, {999.4, 0, 0},
    };
    for (const auto& s : steps) {
        setCell("MPU.TURB_SPD.A_NAME", s.speed);
        runPasses(R80, 1);
        EXPECT_FLOAT_EQ(real("MPU.NEAR_IDL.SUBTRACT"), 999.5f);
        EXPECT_EQ(boolean("MPU.SPD_GT_IDL.A_COMPARE"), s.gt) << s.speed;
        EXPECT_EQ(boolean("MPU.SPD_GTEQ_IDL.OR"), s.geq || s.gt ? 1u : 0u) << s.speed;
    }
    // A positive hysteresis: on at idle - 0.5 + h, off below idle - 0.5.
    setCell("MPU.SPD_GT_IDL.HYSTER", 2.0);
    setCell("MPU.TURB_SPD.A_NAME", 1001.0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("MPU.SPD_GT_IDL.A_COMPARE"), 0u);
    setCell("MPU.TURB_SPD.A_NAME", 1001.5);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("MPU.SPD_GT_IDL.A_COMPARE"), 1u);
    setCell("MPU.TURB_SPD.A_NAME", 999.5);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("MPU.SPD_GT_IDL.A_COMPARE"), 1u);
    setCell("MPU.TURB_SPD.A_NAME", 999.4);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("MPU.SPD_GT_IDL.A_COMPARE"), 0u);
}

TEST_F(SpeedSim, AtIdleOnceTheSecondStepHasDweltItsTime) {
    start();
    setCell("IFACE_IN_SPEED.IDLE_1.A_NAME", 1000);
    setCell("MPU.TURB_SPD.A_NAME", 1000);
    setCell("UNIT_DEMO.DEMO_STEP2.SFC_STEP", 1);
    runPasses(R80, 120);
    EXPECT_EQ(boolean("UNIT_DEMO.GO2_CURV.DELAY"), 0u);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_IDLE.AND"), 0u);
    runPasses(R80, 8);
    EXPECT_EQ(boolean("UNIT_DEMO.GO2_CURV.DELAY"), 1u);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_IDLE.AND"), 1u);
    setCell("MPU.TURB_SPD.A_NAME", 900);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("UNIT_DEMO.AT_IDLE.AND"), 0u);
}

}  // namespace
}  // namespace op_test
