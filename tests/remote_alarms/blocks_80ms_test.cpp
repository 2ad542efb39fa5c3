// The 80 ms pieces of the speed-sensor configuration, the controlled stop,
// the HP driver, the valve limiter and the manual demand that share the node
// slices.
#include "tests/remote_alarms/node_rig.h"
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

TEST_F(Pieces, TheStopIsCompleteOnlyWithTheLimiterDownAndTheStopsTripInForce) {
    start();
    const struct {
        int cplt, limDown, csdTrip;
    } rows[] = {{0, 0, 0}, {1, 1, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    for (const auto& r : rows) {
        setCell("CNTRL_STOP.STP_CPLT.OR", r.cplt);
        setCell("HP_LIMTER.HP_RAMP.P_LIM_1", r.limDown);
        setCell("CNTRL_STOP.CSD_TRIP.B_NAME", r.csdTrip);
        runPasses(R80, 2);
        EXPECT_EQ(boolean("CNTRL_STOP.STP_COMPLETE.AND"), uint32_t(r.cplt && r.limDown && r.csdTrip))
            << r.cplt << r.limDown << r.csdTrip;
    }
    for (int latch : {1, 0}) {
        setCell("CNTRL_STOP.NSD_ENABLED.LATCH_R", latch);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("CNTRL_STOP.CSD_SEQ.B_NAME"), uint32_t(latch));
    }
}

TEST_F(Pieces, TheStopCompleteDelayRisesAfterItsTimeAndFallsAtOnce) {
    start();
    EXPECT_FLOAT_EQ(real("CNTRL_STOP.STP_CPLT_DLY.DLY_TIME"), 10.0f);
    const struct {
        double seconds;
        int pass;  // the 80 ms pass the delay rises in
    } rows[] = {{10.0, 127}, {2.0, 26}};  // 0.08 summed 126 times stays below 10.0
    for (const auto& r : rows) {
        setCell("CNTRL_STOP.STP_CPLT_DLY.DLY_TIME", r.seconds);
        setCell("CNTRL_STOP.STP_CPLT.OR", 1);
        EXPECT_EQ(passesUntil(R80, "CNTRL_STOP.STP_CPLT_DLY.DELAY", 1, 200), r.pass) << r.seconds;
        setCell("CNTRL_STOP.STP_CPLT.OR", 0);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("CNTRL_STOP.STP_CPLT_DLY.DELAY"), 0u);
    }
    // A completion shorter than the delay leaves it down.
    setCell("CNTRL_STOP.STP_CPLT.OR", 1);
    runPasses(R80, 20);
    setCell("CNTRL_STOP.STP_CPLT.OR", 0);
    EXPECT_EQ(passesUntil(R80, "CNTRL_STOP.STP_CPLT_DLY.DELAY", 1, 30), 0);
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
