// The protection logic as the whole program runs it: every slice of the
// program's own table, driven by the speed sensors, the contacts and the
// service tool.
#include <cstdio>
#include <string>

#include "host/current_loops.h"
#include "tests/protection/program_rig.h"

namespace pr_test {
namespace {

class Protection : public ProgramRig {};

// The overspeed trip latches in the very 10 ms pass in which the turbine
// speed first reaches the trip level, not a pass later.
TEST_F(Protection, OverspeedTripLatchesInThePassTheSpeedReachesTheLevel) {
    startTurning(3000.0);
    const float level = real("OSPD.OSPD_SP.A_SW");
    ASSERT_FLOAT_EQ(level, 3960.0f);
    ASSERT_EQ(boolean("SHUTDOWNS.SD_03.B_ALARM"), 0u);
    turn(4000.0);
    int reached = -1, latched = -1;
    for (int pass = 0; pass < 200 && latched < 0; ++pass) {
        runPasses(P10, 1);
        if (reached < 0 && real("MPU.TURB_SPD.A_NAME") >= level) reached = pass;
        if (boolean("SHUTDOWNS.SD_03.B_ALARM") != 0) latched = pass;
    }
    ASSERT_GE(reached, 0) << "the speed never reached the trip level";
    EXPECT_EQ(latched, reached);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_3"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
}

}  // namespace
}  // namespace pr_test

namespace pr_test {
namespace {

// "HP Valve Not Configured" (configuration error 22): an actuator driving an
// HP valve (functions 2 and 3) whose 100 % current is not above its 0 %
// current; the other functions are not checked.
struct ActCase {
    int function;
    double ma0, ma100;
    uint32_t error;
};
class HpValveCheck : public ProgramRig, public ::testing::WithParamInterface<ActCase> {};

TEST_P(HpValveCheck, MisScaledHpValveActuatorsAreConfigurationErrors) {
    const ActCase& c = GetParam();
    early({{"_ub5.FUNCT.IN", c.function},
           {"_ub5.ACT_FUNCTION.TUNE", c.function},
           {"_ub5.MA_AT_0_RNG0.IN", c.ma0},
           {"_ub5.MA_AT_100_RNG0.IN", c.ma100},
           {"_ub5.ACT_MIN_VAL.TUNE", c.ma0},
           {"_ub5.ACT_MAX_VAL.TUNE", c.ma100}});
    startTurning();
    ASSERT_EQ(integer("_ub5.FUNCT_INT.I_NAME"), c.function);
    const float ma0 = c.function == 4 ? 4.0f : static_cast<float>(c.ma0);  // a readout has fixed currents
    ASSERT_FLOAT_EQ(real("_ub5.MA_0.A_NAME"), ma0);
    EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_SD.AND"), c.error);
    EXPECT_EQ(boolean("CNFG_ACT.ACT1_SCALE_CHECK.A_EQUAL"), c.ma0 == c.ma100 ? 1u : 0u);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.SEL_22"), c.error);
    // An actuator with no function is switched off: no current flows in its
    // loop; the second HP valve's and the readout's drive theirs (the HP
    // valve's follows the drivers' shutdown, here at standstill).
    if (c.function == 1) {
        EXPECT_EQ(board::loopCurrentMa(6), 0.0);
    } else if (c.function != 2) {
        EXPECT_GT(board::loopCurrentMa(6), 1.0);
    }
    if (c.error != 0) {
        EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_6"), 1u) << "a configuration error trips";
    }
}

INSTANTIATE_TEST_SUITE_P(Functions, HpValveCheck,
                         ::testing::Values(ActCase{1, 20.0, 4.0, 0}, ActCase{2, 20.0, 4.0, 1},
                                           ActCase{3, 20.0, 4.0, 1}, ActCase{3, 4.0, 20.0, 0},
                                           ActCase{3, 12.0, 12.0, 1}, ActCase{2, 4.0, 20.0, 0},
                                           ActCase{4, 20.0, 4.0, 0}),
                         [](const ::testing::TestParamInfo<ActCase>& i) {
                             return "Case" + std::to_string(i.index) + "Function" + std::to_string(i.param.function);
                         });

}  // namespace
}  // namespace pr_test

namespace pr_test {
namespace {

class ContactTrips : public ProgramRig {
protected:
    TimeCell time(const std::string& name) {
        char type = 0;
        const void* p = cell(name, &type);
        EXPECT_EQ(type, 'T') << name;
        return p != nullptr ? *static_cast<const TimeCell*>(p) : TimeCell{};
    }
};

// While the power-up pulse lasts, no edge of an input is a trip's time:
// each input's stamp is the clock's time of day of the pass.
TEST_F(ContactTrips, WhileThePowerUpPulseLastsEveryStampIsTheClocksTime) {
    board::setDiscreteInputs(0xFFFFFFFFu);
    startApp();
    int seen = 0;
    for (int k = 0; k < 300; ++k) {
        runPasses(P10, 1);
        if (boolean("SD_LOGIC.PWR_UP_SD.ONE_SHOT") == 0) continue;
        const TimeCell now = time("ORVEX12_IO.RTC.TOD");
        ASSERT_NE(now.sec, 0u);
        ++seen;
        for (int n = 1; n <= 8; ++n) {
            const TimeCell t = time("BI_MUX.T_SW" + std::to_string(n) + ".T_SW");
            EXPECT_EQ(t.sec, now.sec) << n;
            EXPECT_EQ(t.usec, now.usec) << n;
        }
    }
    EXPECT_GT(seen, 0) << "no power-up pulse";
}

// The time stamp of a contact trip is kept under its trip number: the
// falling-edge time of the input that carries it.
TEST_F(ContactTrips, EachContactTripKeepsItsInputsEdgeTimeUnderItsTripNumber) {
    // Discrete input 1 carries "External Trip 2" (trip number 2); input 2
    // "External Trip 3", its edge kept under trip number 4 by its own
    // offset.
    early({{"_ub13.FUNCT.IN", 15},
           {"_ub13.BI_FUNCTION.TUNE", 15},
           {"_ub14.FUNCT.IN", 16},
           {"_ub14.BI_FUNCTION.TUNE", 16},
           {"BI_MUX.FUNC_TO_TRIP_02.IN_2", 12}});
    board::setDiscreteInputs(0xFFFFFFFFu);
    startTurning();
    ASSERT_EQ(integer("BI_MUX.FUNC_TO_TRIP_01.I_SUBTRACT"), 2);
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_" + std::to_string(k)).sec, 0u) << k;
    ASSERT_EQ(integer("BI_MUX.FUNC_TO_TRIP_02.I_SUBTRACT"), 4);
    board::setDiscreteInput(13, false);  // input 2 opens
    runPasses(P10, 3);
    const TimeCell edge2 = time("CNFG_BI.BI_02_ZARN.LO_TIME");
    ASSERT_NE(edge2.sec, 0u);
    EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_4").usec, edge2.usec);
    for (int k = 1; k <= 10; ++k)
        if (k != 4) {
            EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_" + std::to_string(k)).sec, 0u) << k;
        }
    board::setDiscreteInput(12, false);  // input 1 opens
    runPasses(P10, 3);
    const TimeCell edge = time("CNFG_BI.BI_01_ZARN.LO_TIME");
    ASSERT_NE(edge.sec, 0u);
    EXPECT_EQ(time("BI_MUX.T_SW3.T_SW").sec, edge.sec);
    EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_2").sec, edge.sec);
    EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_2").usec, edge.usec);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.SEL_9"), 1u) << "external trip 2";
    runPasses(P10, 30);
    board::setDiscreteInput(14, false);  // input 3, "External Trip 1"
    runPasses(P10, 3);
    const TimeCell edge3 = time("CNFG_BI.BI_03_ZARN.LO_TIME");
    ASSERT_NE(edge3.usec + edge3.sec, 0u);
    EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_1").sec, edge3.sec);
    EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_1").usec, edge3.usec);
    EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_2").usec, edge.usec);
    EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_4").usec, edge2.usec);
    for (int k = 3; k <= 10; ++k)
        if (k != 4) {
            EXPECT_EQ(time("BI_MUX.BI_TRIP_TS.OUT_" + std::to_string(k)).sec, 0u) << k;
        }
}

}  // namespace
}  // namespace pr_test
