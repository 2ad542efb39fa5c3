// Pieces of the speed control modules. On the whole program, driven only
// through its inputs: the valve limiter message (160 ms), the HP stroke
// latch and the forward/reverse scaling (160 ms), the simulated speed
// (10 ms), the actuator handed to the simulation (80 ms) and the remote
// cascade match (80 ms) with its window's exact ends and its not-matched
// latch. Through real passes of their slices alone: valve demands outside
// 0 .. 100 for the simulated speed, resets of the stroke latch that no
// input gives while it stands, the self-tuning PID's commands and the
// chassis comparator (10 ms).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "app/control/control_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"
#include "app/remote_io/remote_io.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/turbine_model.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace {

using namespace ref_test;

// ---- on the whole program ---------------------------------------------------------------

class ModulesProgram : public RefRig {
protected:
    // Started and past power-up with `settings` entered from the service
    // tool while it powers up, the configuration checks overridden, the trip
    // contact closed and the trips reset; the shaft at rest.
    void startWith(const Settings& settings = {}) {
        startApp();
        serviceWrite("CONF_LATCH.ANY.OVRD", 1);
        for (const auto& [name, v] : settings) serviceWrite(name, v);
        runPasses(R160, 20);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
        clearTrip();
    }
    // Powered up for the simulation: the settings of an automatic start to
    // rated, a configure-level user (the service setting that stands for
    // one), the configuration checks overridden; shut down, DI 3 open.
    void powerUpForSimulation(const Settings& extra = {}) {
        startApp();
        serviceWrite("CONF_LATCH.ANY.OVRD", 1);
        serviceWrite("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
        enterSettings(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}});
        for (const auto& [name, v] : extra) serviceWrite(name, v);
        runPasses(R160, 20);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    }
    // The service tool's command that switches the internal simulation on.
    void simulationOn() {
        serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_1", 1);
        runPasses(R160, 3);
        serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_1", 0);
        ASSERT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
    }
};

// The valve limiter message shows while the limiter is the selected demand
// out of the shutdown step: every 160 ms pass of a unit ready to start, a
// start (the limiter opens slowly and leads), in control (the PID leads),
// the limiter lowered below the PID, and a trip.
TEST_F(ModulesProgram, TheLimiterMessageShowsWhileTheLimiterIsSelectedOutOfShutdown) {
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 5.0}});
    int seen[2][2] = {{0, 0}, {0, 0}};
    // The 160 ms pass reads the selection as its frame began: a pass in
    // whose window (10 ms pass by 10 ms pass since the last one) the
    // selection changed is left out.
    auto everyPass = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            const uint32_t frame = this->passes(R160);
            const uint32_t before = boolean("IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME");
            bool steady = true;
            while (this->passes(R160) == frame) {
                runPasses(R10, 1);
                steady = steady && boolean("IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME") == before;
            }
            const uint32_t selected = boolean("IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME");
            const uint32_t a00 = boolean("SPDC.A00_STEP.SFC_STEP");
            ++seen[selected][a00];
            EXPECT_EQ(boolean("CONT_MESS.A00_STEP_NOT.NOT"), 1u - a00) << k;
            if (steady) {
                EXPECT_EQ(boolean("CONT_MESS.VLV_LIM_MESS.AND"), selected && !a00 ? 1u : 0u) << k;
            }
        }
    };
    everyPass(15);
    startCommand();
    for (int k = 0; k < 200 && !step("A02_STEP"); ++k) everyPass(5);
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    for (int k = 0; k < 400 && !step("A08_STEP"); ++k) everyPass(5);
    ASSERT_TRUE(step("A08_STEP"));
    turbine::setLoad(0.5);
    everyPass(100);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    everyPass(60);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    everyPass(30);
    trip();
    everyPass(20);
    EXPECT_GT(seen[1][0], 10) << "the limiter selected out of shutdown";
    EXPECT_GT(seen[0][0], 10) << "another demand selected out of shutdown";
    // (The limiter is never the lowest demand in the shutdown step: there
    // the PID's demand stands at 0 with it.)
    EXPECT_GT(seen[0][1], 10) << "in the shutdown step";
}

// The demand passes straight to the actuator (gain -1 on 0 - demand) unless
// the driver is configured reverse acting (a configuration entry taken while
// the controller powers up): then 100 - demand.
class DemandScaling : public ModulesProgram, public ::testing::WithParamInterface<int> {};

TEST_P(DemandScaling, TheInvertedDemandReversesTheScaling) {
    const int inverted = GetParam();
    startWith({{"CNFG_DRIVER.CONFIG_B.IN_1", inverted}});
    EXPECT_EQ(boolean("IFACE_IN_VLV.INVERT_DMD.B_NAME"), static_cast<uint32_t>(inverted));
    EXPECT_EQ(real("HP_DRIVER.REV_GAIN.A_SW"), inverted ? 1.0f : -1.0f);
    EXPECT_EQ(real("HP_DRIVER.REV_SP.A_SW"), inverted ? 100.0f : 0.0f);
    const float demand = real("HP_DRIVER.HP_MAX.A_MIN");
    EXPECT_EQ(real("HP_DRIVER.FORWRD_REV.PROP"), inverted ? 100.0f - demand : -(0.0f - demand));
}

INSTANTIATE_TEST_SUITE_P(Driver, DemandScaling, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param ? "Reverse" : "Forward"; });

// The stroke latch: set by the stroke enable's pulse only while the unit is
// shut down in calibration mode, held after the pulse; each of its resets
// that an input gives clears it, even while the pulse stands: the stroke
// disable setting, a trip command from the front panel's trip key, and the
// end of calibration mode.
class StrokeLatchProgram : public ModulesProgram {
protected:
    // A fresh stroke request: the enable setting from 0 to 1 starts its
    // 1.5 s pulse.
    void request() {
        serviceWrite("IFACE_IN_VLV.HP_STRK_ENBL.IN", 0);
        runPasses(R160, 1);
        serviceWrite("IFACE_IN_VLV.HP_STRK_ENBL.IN", 1);
        runPasses(R160, 2);
    }
    uint32_t latch() { return boolean("HP_DRIVER.STRK_LTCH.LATCH_R"); }
    void enterCalibration() {
        serviceWrite("MASTER.COMMANDS.IN_4", 1);
        runPasses(R160, 3);
        serviceWrite("MASTER.COMMANDS.IN_4", 0);
        ASSERT_TRUE(runUntil([&] { return boolean("CALMODE.CALMODE.B_NAME") != 0; }, 20)) << "no calibration mode";
        runPasses(R160, 2);
    }
    void exitCalibration() {
        serviceWrite("MASTER.COMMANDS.IN_5", 1);
        runPasses(R160, 3);
        serviceWrite("MASTER.COMMANDS.IN_5", 0);
        ASSERT_TRUE(runUntil([&] { return boolean("CALMODE.CALMODE.B_NAME") == 0; }, 20));
    }
    void key(bool pressed) {
        hk::runTask([=] { board::setKey(0, 7, pressed); });
    }
};

TEST_F(StrokeLatchProgram, OnlyARequestWhileShutDownInCalibrationSetsTheLatchAndItHolds) {
    startWith();
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    request();
    EXPECT_EQ(latch(), 0u) << "running";
    runPasses(R160, 20);
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 10));
    runPasses(R160, 2);
    request();
    EXPECT_EQ(latch(), 0u) << "shut down, not in calibration mode";
    runPasses(R160, 20);
    enterCalibration();
    request();
    EXPECT_EQ(boolean("HP_DRIVER.ENBL_STRK.AND"), 1u);
    EXPECT_EQ(boolean("HP_DRIVER.RST_STRK.OR"), 0u);
    EXPECT_EQ(latch(), 1u);
    serviceWrite("IFACE_IN_VLV.HP_STRK_ENBL.IN", 0);
    runPasses(R160, 20);
    EXPECT_EQ(boolean("HP_DRIVER.YES_PLS.ONE_SHOT"), 0u);
    EXPECT_EQ(latch(), 1u) << "held after the request";
}

TEST_F(StrokeLatchProgram, EachResetClearsTheLatchEvenWhileTheRequestStays) {
    startWith();
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 10));
    runPasses(R160, 2);
    enterCalibration();
    struct Reset {
        const char* what;
        std::function<void()> on, off;
    };
    const Reset resets[] = {
        {"stroke disable", [&] { serviceWrite("IFACE_IN_VLV.HP_STRK_DISBL.IN", 1); },
         [&] { serviceWrite("IFACE_IN_VLV.HP_STRK_DISBL.IN", 0); }},
        {"trip key", [&] { key(true); }, [&] { key(false); }},
        {"calibration mode ended", [&] { exitCalibration(); }, [&] { enterCalibration(); }},
    };
    for (const Reset& r : resets) {
        SCOPED_TRACE(r.what);
        request();
        ASSERT_EQ(latch(), 1u);
        EXPECT_EQ(boolean("HP_DRIVER.RST_STRK.OR"), 0u);
        r.on();
        runPasses(R160, 2);
        EXPECT_EQ(boolean("HP_DRIVER.RST_STRK.OR"), 1u);
        EXPECT_EQ(latch(), 0u);
        // A request while the reset stands does not set it.
        request();
        EXPECT_EQ(latch(), 0u);
        runPasses(R160, 20);
        r.off();
        runPasses(R160, 2);  // the pulse has ended: the latch stays clear
        EXPECT_EQ(latch(), 0u);
    }
}

// The tuner's end pulse: the tuner enable's time left compared with 0, and
// a 1 s pulse (13 passes of 80 ms) when that time has run out or a tuning
// run's gains are taken, although the cause stays. Seen at power-up (no
// time left), at the time-out of a tuning request given a 10 s limit, and
// when a completed run's proposal is taken into the offline set, on a unit
// at rated under half load on the turbine model.
TEST_F(ModulesProgram, ATimeOutOrTheEndOfTuningGivesAOneSecondPulse) {
    // The pulse's passes from the pass its cause is first seen.
    auto pulseLength = [&](const char* what) {
        ASSERT_TRUE(runUntil([&] { return boolean("SPD_CTRL.AUTO_RST.OR") != 0; }, 7000)) << what;
        int on = 0;
        for (int k = 0; k < 20; ++k) {
            on += boolean("SPD_CTRL.ONE_SHOT.ONE_SHOT");
            runPasses(R80, 1);
        }
        EXPECT_EQ(on, 13) << what;
        EXPECT_EQ(boolean("SPD_CTRL.ONE_SHOT.ONE_SHOT"), 0u) << what;
    };
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}});
    // At rest the whole time is left.
    EXPECT_EQ(real("SPD_CTRL.ENA_OPTI.R_TIME"), real("SPD_CTRL.ENA_OPTI.D_TIME"));
    EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_EQUAL"), 0u);
    EXPECT_EQ(boolean("SPD_CTRL.AUTO_RST.OR"), 0u);
    startToRated();
    turbine::setLoad(0.5);
    runPasses(R160, 750);

    // A run completed, its gains taken.
    serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return integer("SPD_CTRL.SPD_PID.OPTI_STATUS") == 16; }, 5000))
        << "status " << integer("SPD_CTRL.SPD_PID.OPTI_STATUS") << " fault " << integer("SPD_CTRL.SPD_PID.OPTI_FAULT");
    EXPECT_GT(real("SPD_CTRL.ENA_OPTI.R_TIME"), 0.0f);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_EQUAL"), 0u);
    EXPECT_EQ(boolean("SPD_CTRL.AUTO_RST.OR"), 0u);
    serviceWrite("IFACE_IN_SPEED.USE_OPID_OUTS.IN_2", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("SPD_DYN.OPTI_OFF.DELAY") != 0; }, 10));
    pulseLength("gains taken");
    serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 0);
    runPasses(R160, 20);

    // A request limited to 10 s.
    serviceWrite("SPD_CTRL.ENA_OPTI.D_TIME", 10.0);
    runPasses(R160, 2);
    serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("SPD_CTRL.ENA_OPTI.B_ACTION") != 0; }, 5));
    EXPECT_EQ(boolean("SPD_CTRL.AUTO_RST.OR"), 0u);
    ASSERT_TRUE(runUntil([&] { return real("SPD_CTRL.ENA_OPTI.R_TIME") < 5.0f; }, 200));
    EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_COMPARE"), 1u);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_EQUAL"), 0u);
    ASSERT_TRUE(runUntil([&] { return boolean("SPD_CTRL.ENA_TO.A_EQUAL") != 0; }, 200));
    EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_COMPARE"), 1u);
    pulseLength("time-out");
}

// The remote cascade setpoint's match (80 ms): with remote cascade
// selected, the not-matched latch runs from the selection's 1 s pulse until
// the cascade setpoint lies within the window (0.05 %) around the remote
// setpoint, or remote cascade is deselected; the remote is in control while
// enabled and inside the window. A unit in control with the remote speed
// setpoint and cascade configured (the cascade's process value at 50 on
// analog input 2) and the remote cascade setpoint on analog input 3 (range
// 0 .. 100) at 62.5; cascade enabled, then remote cascade, then disabled and
// enabled again with the remote setpoint moved. Every 80 ms pass.
TEST_F(ModulesProgram, TheRemoteCascadeMatchRunsFromTheSelectionToTheMatch) {
    board::setAnalogInputMa(2, 14.0);
    startWithRemoteAndCascade({{"CNFG_CASC.CONFIG_B.IN_4", 1},
                               {"_ub8.FUNCT.IN", 4},
                               {"_ub8.RANGE_LO.IN", 0.0},
                               {"_ub8.RANGE_HI.IN", 100.0}});
    startToInControl();
    int inside = 0, outside = 0, latched = 0, inControl = 0;
    uint32_t selectedBefore = 0, latchBefore = 0;
    auto everyPass = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(R80, 1);
            const float sp = real("RMT_CAS.RMT_CASC_D.A_DEADBAND");
            const float casc = real("CASC_SETPT.SETPT.RAMP");
            const float window = real("RMT_CAS_EN.MATCH_WINDOW.MULTIPLY");
            EXPECT_FLOAT_EQ(window, sp * 0.0005f);
            const float hi = real("RMT_CAS_EN.HI_MATCH.ADD"), lo = real("RMT_CAS_EN.LO_MATCH.SUBTRACT");
            EXPECT_FLOAT_EQ(hi, sp + window);
            EXPECT_FLOAT_EQ(lo, sp - window);
            const uint32_t mhi = boolean("RMT_CAS_EN.MATCH_HI.A_COMPARE");
            const uint32_t mlo = boolean("RMT_CAS_EN.MATCH_LO.A_COMPARE");
            // The cascade setpoint is computed in the same group: exact.
            EXPECT_EQ(mhi, hi >= casc ? 1u : 0u) << casc << " " << sp;
            EXPECT_EQ(mlo, casc >= lo ? 1u : 0u) << casc << " " << sp;
            (mhi && mlo ? inside : outside) += 1;
            const uint32_t enabled = boolean("RMT_CAS_EN.ENABLED.LATCH_R");
            const uint32_t rc = boolean("RMT_CAS_EN.IN_RMTCNTRL.AND");
            EXPECT_EQ(rc, enabled & mhi & mlo);
            inControl += rc;
            const uint32_t selected = boolean("RMT_CAS_EN.REM_SEL.AND");
            EXPECT_EQ(boolean("RMT_CAS_EN.NOT_RMT.NOT"), 1u - selected);
            const uint32_t latch = boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH");
            const uint32_t pulse = boolean("RMT_CAS_EN.LATCH_RMT.ONE_SHOT");
            const uint32_t disable = (1u - selected) | rc;
            EXPECT_EQ(boolean("RMT_CAS_EN.DISABLE.OR"), disable);
            // Set by the pulse, held, cleared by the disable.
            if (pulse != 0) {
                EXPECT_EQ(latch, 1u);
            } else if (disable != 0) {
                EXPECT_EQ(latch, 0u);
            } else {
                EXPECT_EQ(latch, latchBefore);
            }
            if (selected != 0 && selectedBefore == 0) {
                EXPECT_EQ(pulse, 1u) << "the selection's pulse";
            }
            latched += latch;
            latchBefore = latch;
            selectedBefore = selected;
        }
    };
    everyPass(10);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    everyPass(60);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.ENABLED.B_NAME"), 1u);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 0);
    serviceWrite("RMT_CAS_EN.OR_ENABLE.IN_4", 1);
    everyPass(3);
    serviceWrite("RMT_CAS_EN.OR_ENABLE.IN_4", 0);
    everyPass(400);
    EXPECT_GT(latched, 5) << "the cascade setpoint away from the remote setpoint at the selection";
    EXPECT_GT(inControl, 10) << "matched";
    board::setAnalogInputMa(2, 10.0);  // 37.5
    everyPass(400);
    EXPECT_GT(inside, 20);
    EXPECT_GT(outside, 20);
}

// Cascade without tracking and remote cascade configured, the remote
// cascade setpoint on analog input 3 (range 0 .. 100), unfiltered.
const std::vector<std::pair<const char*, double>> kRemoteCascadeOnInput3 = {{"CNFG_CASC.CONFIG_B.IN_3", 0},
                                                                           {"CNFG_CASC.CONFIG_B.IN_4", 1},
                                                                           {"_ub8.FUNCT.IN", 4},
                                                                           {"_ub8.RANGE_LO.IN", 0.0},
                                                                           {"_ub8.RANGE_HI.IN", 100.0},
                                                                           {"RMT_CAS.RMT_CASC_L.LAG_TAU", 0.0}};

// The window's exact ends: the cascade setpoint entered from the service
// tool (without tracking, the remote cascade configured but not enabled)
// onto the remote setpoint, onto each end of the window around it and onto
// the next value beyond each end. The remote cascade setpoint on analog
// input 3 (range 0 .. 100) at 62.5, unfiltered.
TEST_F(ModulesProgram, TheMatchWindowHoldsBothOfItsEnds) {
    board::setAnalogInputMa(2, 14.0);
    startWithRemoteAndCascade(kRemoteCascadeOnInput3);
    runPasses(R160, 10);
    const float sp = real("RMT_CAS.RMT_CASC_D.A_DEADBAND");
    ASSERT_NEAR(sp, 62.5, 0.05);
    const float window = real("RMT_CAS_EN.MATCH_WINDOW.MULTIPLY");
    EXPECT_FLOAT_EQ(window, sp * 0.0005f);
    const float hi = real("RMT_CAS_EN.HI_MATCH.ADD"), lo = real("RMT_CAS_EN.LO_MATCH.SUBTRACT");
    ASSERT_EQ(hi, sp + window);
    ASSERT_EQ(lo, sp - window);
    const struct {
        float casc;
        uint32_t hi, lo;
    } cases[] = {{sp, 1, 1},
                 {hi, 1, 1},
                 {std::nextafter(hi, 1e9f), 0, 1},
                 {lo, 1, 1},
                 {std::nextafter(lo, -1e9f), 1, 0}};
    for (const auto& c : cases) {
        serviceWrite("CASC_ENTRD.ENTR_CASC_SP.TUNE", c.casc);
        runPasses(R160, 1);
        pulse("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", R160);
        ASSERT_TRUE(runUntil(
            [&] {
                return real("CASC_SETPT.SETPT.RAMP") == c.casc &&
                       boolean("CASC_ENTRD.H_SER_LAT.LATCH_R") == 0;
            },
            100))
            << c.casc << " entered, at " << real("CASC_SETPT.SETPT.RAMP");
        runPasses(R80, 1);
        EXPECT_EQ(real("RMT_CAS.RMT_CASC_D.A_DEADBAND"), sp);
        EXPECT_EQ(boolean("RMT_CAS_EN.MATCH_HI.A_COMPARE"), c.hi) << c.casc;
        EXPECT_EQ(boolean("RMT_CAS_EN.MATCH_LO.A_COMPARE"), c.lo) << c.casc;
        EXPECT_EQ(boolean("RMT_CAS_EN.IN_RMTCNTRL.AND"), 0u) << "not enabled";
    }
}

// The not-matched latch against the selection's pulse (1.0 s, 13 passes of
// 80 ms), on the whole program: remote cascade selected and deselected from
// the service tool while cascade is in control. Matched while the pulse
// lasts, the latch holds to the pulse's end; selected inside the window it
// is set for the pulse alone; deselected before the match, it holds to the
// pulse's end and then clears. The remote cascade setpoint on analog input 3
// (range 0 .. 100), unfiltered, near the process value; the cascade
// setpoint entered from the service tool.
TEST_F(ModulesProgram, TheNotMatchedLatchHoldsForTheSelectionsPulse) {
    board::setAnalogInputMa(2, 12.0);  // 50, the process value's level
    startWithRemoteAndCascade(kRemoteCascadeOnInput3);
    startToInControl();
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_CASC.ENABLED.B_NAME") != 0; }, 20));
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 0);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_RATE.MATCHED.NOT") != 0; }, 200));
    const float remote = real("RMT_CAS.RMT_CASC_D.A_DEADBAND");
    auto enter = [&](float v) {
        serviceWrite("CASC_ENTRD.ENTR_CASC_SP.TUNE", v);
        runPasses(R160, 1);
        pulse("IFACE_IN_CASC.CAS_TUN_OK.B_NAME", R160);
        ASSERT_TRUE(runUntil([&] { return real("CASC_SETPT.SETPT.RAMP") == v; }, 200)) << v;
        runPasses(R160, 3);
    };
    auto command = [&](const char* cell) {
        serviceWrite(cell, 1);
        runPasses(R160, 1);
        serviceWrite(cell, 0);
    };
    // The passes of 80 ms from the selection's rise with the latch set.
    auto latchedPasses = [&](int deselectAfter) {
        // The speed reference matched to the cascade's demand first.
        EXPECT_TRUE(runUntil([&] { return boolean("CASC_RATE.MATCHED.NOT") != 0; }, 3000))
            << boolean("CASC_RATE.N_MATCHED.LATCH") << " " << real("CASC_CTRL.CAS_TO_SPD.ADD") << " " << ref();
        command("RMT_CAS_EN.OR_ENABLE.IN_4");
        EXPECT_TRUE(runUntil([&] { return boolean("RMT_CAS_EN.REM_SEL.AND") != 0; }, 10));
        int on = 0;
        for (int k = 0; k < 40; ++k) {
            if (k == deselectAfter) {
                serviceWrite("RMT_CAS_EN.OR_DISABLE.IN_8", 1);
            }
            if (boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH") == 0) break;
            ++on;
            runPasses(R80, 1);
        }
        serviceWrite("RMT_CAS_EN.OR_DISABLE.IN_8", 0);
        return on;
    };
    auto deselect = [&] {
        command("RMT_CAS_EN.OR_DISABLE.IN_8");
        ASSERT_TRUE(runUntil([&] { return boolean("RMT_CAS_EN.REM_SEL.AND") == 0; }, 10));
        runPasses(R160, 2);
    };
    // Selected 0.5 below the remote setpoint: matched within the pulse
    // (at 5 a second), the latch holds to the pulse's end.
    enter(remote - 0.5f);
    EXPECT_EQ(latchedPasses(-1), 13);
    EXPECT_EQ(boolean("RMT_CAS_EN.IN_RMTCNTRL.AND"), 1u);
    // Leaving the window again does not set it: the remote setpoint moves.
    board::setAnalogInputMa(2, 12.5);
    for (int k = 0; k < 20; ++k) {
        runPasses(R80, 1);
        EXPECT_EQ(boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH"), 0u) << k;
    }
    ASSERT_TRUE(runUntil([&] { return boolean("RMT_CAS_EN.IN_RMTCNTRL.AND") != 0; }, 100));
    // Deselected and selected again inside the window: set for the pulse.
    deselect();
    EXPECT_EQ(boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH"), 0u);
    EXPECT_EQ(latchedPasses(-1), 13);
    // Deselected, the remote setpoint moved away, selected and deselected
    // before the match: the latch holds to the pulse's end.
    deselect();
    board::setAnalogInputMa(2, 11.0);  // 43.75
    runPasses(R160, 5);
    EXPECT_EQ(latchedPasses(2), 13);
    EXPECT_EQ(boolean("RMT_CAS_EN.REM_SEL.AND"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.N_MTCH_RTE.LATCH"), 0u);
}

// The simulated speed: the internal simulation switched on from the service
// tool while the unit is shut down with a configure-level user (the service
// setting that stands for one) and the external trip input 1 (DI 3) open: in
// simulation DI 3 closed is the trip, and switches the simulation off. Then
// the trips reset from the reset contact and an automatic start to rated on
// the simulated speed, the shaft standing still. Every 10 ms pass: the valve
// demand of the pass before through its lag (5 s), the breakpoint curve of
// the lagged valve (origin, then X_2 .. X_8 at Y_2, 1/4, 1/2, 0.6 and 3/4 of
// the overspeed-test limit, the trip level and the limit; a breakpoint not
// below the one above it moves just below it), the simulated speed as the
// turbine speed's third input, and the actuator handed to the simulation
// while its setting allows.
struct SimCase {
    const char* name;
    const char* setting;
    double value;
    float px[8];
    float y2;
    int first;
};
const SimCase kSimCases[] = {
    {"Default", nullptr, 0, {0, 10, 20, 35, 45, 60, 80, 100}, 0, 0},
    {"Y2At100", "SPEED_SIM.CURVES_2.Y_2", 100, {0, 10, 20, 35, 45, 60, 80, 100}, 100, 0},
    {"X3BelowX2", "SPEED_SIM.CURVES_2.X_3", 5, {0, 4.999f, 5, 35, 45, 60, 80, 100}, 0, 2},
    {"X8BelowX7AndX6", "SPEED_SIM.CURVES_2.X_8", 50, {0, 10, 20, 35, 45, 49.998f, 49.999f, 50}, 0, 6},
    {"X2AtTheOrigin", "SPEED_SIM.CURVES_2.X_2", 0, {-0.001f, 0, 20, 35, 45, 60, 80, 100}, 0, 1},
    {"X4EqualToX3", "SPEED_SIM.CURVES_2.X_4", 20, {0, 10, 19.999f, 20, 45, 60, 80, 100}, 0, 3},
};

class SimulatedSpeedProgram : public ModulesProgram, public ::testing::WithParamInterface<SimCase> {
protected:
    void startSimulated(const Settings& extra) {
        powerUpForSimulation(extra);
        simulationOn();
        reset();
        ASSERT_TRUE(runUntil([&] { return ready(); }, 50)) << "first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
        EXPECT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
    }
    // The breakpoint curve, flat above the last point.
    static float curve(const float (&px)[8], const float (&py)[8], float x) {
        if (x >= px[7]) return py[7];
        int k = 1;
        while (k < 7 && x > px[k]) ++k;
        return py[k - 1] + (py[k] - py[k - 1]) * (x - px[k - 1]) / (px[k] - px[k - 1]);
    }
};

TEST_P(SimulatedSpeedProgram, TheLaggedValveRunsThroughTheBreakpointCurve) {
    const SimCase& c = GetParam();
    Settings extra;
    if (c.setting != nullptr) extra.emplace_back(c.setting, c.value);
    startSimulated(extra);
    const float py[8] = {0, c.y2, 1000, 2000, 2400, 3000, 3960, 4000};
    EXPECT_FLOAT_EQ(real("SPEED_SIM.MULT_PT25.MULTIPLY"), 1000.0f);
    EXPECT_FLOAT_EQ(real("SPEED_SIM.MULT_PT5.MULTIPLY"), 2000.0f);
    EXPECT_FLOAT_EQ(real("SPEED_SIM.MULT_PT6.MULTIPLY"), 2400.0f);
    EXPECT_FLOAT_EQ(real("SPEED_SIM.MULT_PT75.MULTIPLY"), 3000.0f);
    EXPECT_EQ(boolean("SPEED_SIM.CURVES_2.LIMIT_ALM"), c.first != 0 ? 1u : 0u);
    EXPECT_EQ(real("SPEED_SIM.CURVES_2.FIRST_X_A"), static_cast<float>(c.first));
    EXPECT_EQ(text("SPEED_SIM.CURVES_2.REV_OUT"), "");
    if (c.setting != nullptr) {
        EXPECT_EQ(real(c.setting), static_cast<float>(c.value)) << "the tunable keeps what was entered";
    }
    const float tau = real("SPEED_SIM.LAG_2.LAG_TAU");
    EXPECT_EQ(tau, 5.0f);
    float lowest = 1e9f, highest = -1e9f;
    int simHigher = 0;
    float lag = real("SPEED_SIM.LAG_2.LAG_2"), valve = real("SPEED_SIM.VLV_PERCENT.ZMINUS1"), valveBefore = valve;
    startCommand();
    for (int k = 0; k < 12000; ++k) {
        if (k == 3000) serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
        if (k == 3020) serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
        runPasses(R10, 1);
        // The lag of the valve demand committed by the pass before.
        const float expectLag = lag + 0.01f * (valve + valveBefore - 2.0f * lag) / (2.0f * tau + 0.01f);
        const float nowLag = real("SPEED_SIM.LAG_2.LAG_2");
        ASSERT_NEAR(nowLag, expectLag, 1e-3f + 1e-5f * std::fabs(expectLag)) << k;
        lag = nowLag;
        valveBefore = valve;
        valve = real("SPEED_SIM.VLV_PERCENT.ZMINUS1");
        EXPECT_EQ(valve, real("IFACE_OUT_VLV.HP_DMD.A_NAME")) << k;
        const float speed = real("SPEED_SIM.TURB_SPD.A_NAME");
        ASSERT_NEAR(speed, curve(c.px, py, lag), 0.01f + 1e-5f * std::fabs(speed)) << k << " " << lag;
        EXPECT_EQ(real("SPEED_SIM.TURB_SPD_A_SW.A_SW"), speed);
        EXPECT_EQ(real("SPEED_SIM.ENA_SIMSPD.A_SW"), speed);
        if (speed > real("MPU.TSS_01.A_SW") && speed <= real("MPU.MAXSPD_DLY.A_SW")) {
            ++simHigher;
            EXPECT_EQ(boolean("MPU.TURB_SPEED.SEL_3"), 1u) << k;
            EXPECT_EQ(real("MPU.TURB_SPD.A_NAME"), speed) << k;
        }
        lowest = std::min(lowest, lag);
        highest = std::max(highest, lag);
    }
    EXPECT_LT(lowest, 5.0f);
    EXPECT_GT(highest, 30.0f);
    EXPECT_GT(simHigher, 1000);
    EXPECT_EQ(turbine::speedRpm(), 0.0) << "the shaft stood still";
}

INSTANTIATE_TEST_SUITE_P(Curves, SimulatedSpeedProgram, ::testing::ValuesIn(kSimCases),
                         [](const ::testing::TestParamInfo<SimCase>& i) { return std::string(i.param.name); });

// The simulated speed drives the turbine speed only while the internal
// simulation runs, and never in calibration mode; the actuator's milliamp
// output and faults go to the simulation only while it runs and its setting
// allows it. DI 3 closed ends the simulation (and trips); re-entered while
// shut down, then calibration mode entered while the lagged valve still
// gives a speed.
TEST_F(ModulesProgram, OnlyTheInternalSimulationOutsideCalibrationModeDrivesTheSpeed) {
    auto expectActuator = [&](const char* what) {
        const uint32_t on = boolean("SPEED_SIM.ENA_SIM.B_ACTION") & boolean("SPEED_SIM.DIS_ACT_MA.IN_2");
        EXPECT_EQ(boolean("SPEED_SIM.DIS_ACT_MA.AND"), on) << what;
        EXPECT_EQ(boolean("SPEED_SIM.SIM_MODE_ACTS.B_NAME"), on) << what;
        EXPECT_EQ(boolean("SPEED_SIM.ACTFLTS_DIS.NOT"), 1u - on) << what;
    };
    powerUpForSimulation();
    EXPECT_EQ(boolean("SPEED_SIM.DIS_ACT_MA.IN_2"), 1u) << "the setting's default allows it";
    expectActuator("simulation off");
    simulationOn();
    expectActuator("simulation on");
    serviceWrite("SPEED_SIM.DIS_ACT_MA.IN_2", 0);
    runPasses(R80, 2);
    expectActuator("simulation on, not allowed");
    serviceWrite("SPEED_SIM.DIS_ACT_MA.IN_2", 1);
    runPasses(R80, 2);
    expectActuator("simulation on, allowed");
    reset();
    ASSERT_TRUE(runUntil([&] { return ready(); }, 50));
    startCommand();
    ASSERT_TRUE(runUntil([&] { return real("SPEED_SIM.TURB_SPD.A_NAME") > 800.0f; }, 2000));
    EXPECT_EQ(real("SPEED_SIM.ENA_SIMSPD.A_SW"), real("SPEED_SIM.TURB_SPD.A_NAME"));
    // DI 3 closed: the simulation ends; the curve goes on, the speed is gone.
    contact(kTripContact, true);
    ASSERT_TRUE(runUntil([&] { return boolean("SPEED_SIM.ENA__SIM.B_NAME") == 0; }, 10));
    runPasses(R10, 10);  // the 80 ms result reaches the 10 ms group at the next release
    EXPECT_GT(real("SPEED_SIM.TURB_SPD.A_NAME"), 0.0f);
    EXPECT_EQ(real("SPEED_SIM.TURB_SPD_A_SW.A_SW"), real("SPEED_SIM.TURB_SPD.A_NAME"));
    EXPECT_EQ(real("SPEED_SIM.ENA_SIMSPD.A_SW"), 0.0f);
    expectActuator("simulation ended");
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    // Simulation again, shut down, and calibration mode.
    contact(kTripContact, false);
    runPasses(R160, 2);
    simulationOn();
    serviceWrite("MASTER.COMMANDS.IN_4", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("CALMODE.CALMODE.B_NAME") != 0; }, 20)) << "no calibration mode";
    serviceWrite("MASTER.COMMANDS.IN_4", 0);
    runPasses(R10, 20);
    EXPECT_GT(real("SPEED_SIM.TURB_SPD.A_NAME"), 0.0f);
    EXPECT_EQ(real("SPEED_SIM.TURB_SPD_A_SW.A_SW"), 0.0f);
    EXPECT_EQ(real("SPEED_SIM.ENA_SIMSPD.A_SW"), 0.0f);
}

}  // namespace

namespace {

constexpr int R10 = 0, R80 = 3, R160 = 4;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class SpeedModules : public tc_test::AppHarness {
protected:
    void start(int group, std::vector<SliceFn> slices) {
        useSlices(group, std::move(slices));
        startApp();
        tc_test::loadTunableDefaults();
    }
};

// ---- simulated speed --------------------------------------------------------------------

class SimulatedSpeed : public SpeedModules {
protected:
    void SetUp() override {
        SpeedModules::SetUp();
        start(R10, {_R10_TASK_3});
        setCell("CNFG_SETPT.OST_LIMIT.A_NAME", 4000.0);
        setCell("CNFG_SETPT.OSPD_TRIP.A_NAME", 3960.0);
        setCell("SPEED_SIM.ENA__SIM.B_NAME", 1);
        setCell("SPEED_SIM.LAG_2.LAG_TAU", 0.0);  // the shortest lag: settles in a few passes
    }
    // The speed with the valve settled at `percent`.
    float settled(double percent) {
        setCell("SPEED_SIM.VLV_PERCENT.ZMINUS1", percent);
        runPasses(R10, 40);
        return real("SPEED_SIM.ENA_SIMSPD.A_SW");
    }
};

// Valve demands no input gives (the demand stays within 0 .. 100): below
// the first point the first segment goes on; a demand that is no number
// counts as 0.
TEST_F(SimulatedSpeed, ValvesOutsideTheDemandRange) {
    struct Case {
        double y2, valve;
        float speed;
    } cases[] = {
        {100.0, -10.0, -100.0f},
        {0.0, kNaN, 0.0f},
    };
    for (const Case& c : cases) {
        setCell("SPEED_SIM.CURVES_2.Y_2", c.y2);
        EXPECT_NEAR(settled(c.valve), c.speed, 0.05) << c.y2 << " " << c.valve;
        EXPECT_EQ(real("SPEED_SIM.TURB_SPD.A_NAME"), real("SPEED_SIM.ENA_SIMSPD.A_SW"));
    }
}

// ---- HP stroke latch and forward/reverse scaling ------------------------------------------

class StrokeLatch : public SpeedModules {
protected:
    void SetUp() override {
        SpeedModules::SetUp();
        useSlices(R80, {_R80_TASK_18});
        start(R160, {_R160_TASK_35});
        shutDown(true);
    }
    void shutDown(bool sd) {
        setCell("IFACE_IN_VLV.ANY_SD.B_NAME", sd ? 1 : 0);
        setCell("SHUTDOWNS.NOT_SD.NOT", sd ? 0 : 1);
    }
    // A fresh stroke request (the 1.5 s pulse of the stroke enable).
    void request() {
        setCell("IFACE_IN_VLV.HP_STRK_ENBL.IN", 0);
        runPasses(R160, 1);
        setCell("IFACE_IN_VLV.HP_STRK_ENBL.IN", 1);
        runPasses(R160, 2);
    }
    uint32_t latch() { return boolean("HP_DRIVER.STRK_LTCH.LATCH_R"); }
};

// The resets no input gives while the latch stands: the unit out of
// shutdown (the latch needs calibration mode, whose trip keeps the unit shut
// down), the HP fault (no source is designed for it) and a configuration
// error (latched as a trip only at a reset, which calibration mode's trip
// keeps from taking).
TEST_F(StrokeLatch, EachResetClearsTheLatchEvenWhileTheRequestStays) {
    const char* resets[] = {"SHUTDOWNS.NOT_SD.NOT", "IFACE_IN_VLV.HP_FAULT.B_NAME", "SHUTDOWNS.CONFIG_ERROR.B_NAME"};
    for (const char* reset : resets) {
        request();
        ASSERT_EQ(latch(), 1u) << reset;
        EXPECT_EQ(boolean("HP_DRIVER.ENBL_STRK.AND"), 1u);
        EXPECT_EQ(boolean("HP_DRIVER.RST_STRK.OR"), 0u);
        setCell(reset, 1);
        runPasses(R160, 1);  // the request pulse is still on
        ASSERT_EQ(boolean("HP_DRIVER.YES_PLS.ONE_SHOT"), 1u) << reset;
        EXPECT_EQ(boolean("HP_DRIVER.RST_STRK.OR"), 1u) << reset;
        EXPECT_EQ(latch(), 0u) << reset;
        // A request while the reset stands does not set it.
        request();
        EXPECT_EQ(latch(), 0u) << reset;
        runPasses(R160, 20);
        setCell(reset, 0);
        runPasses(R160, 1);  // the pulse has ended: the latch stays clear
        EXPECT_EQ(latch(), 0u) << reset;
    }
}

// ---- the self-tuning PID's commands -------------------------------------------------------

class OptimizerCommands : public SpeedModules {
protected:
    void SetUp() override {
        SpeedModules::SetUp();
        start(R80, {_R80_TASK_26});
        setCell("SPD_CTRL.ENA_OPTI.R_TIME", 100.0);
        runPasses(R80, 20);  // past the pulse of the start, when no time was left
    }
};

// Every combination of the three conditions (on the whole program the
// remote enable drops whenever the speed is below minimum governor, so the
// speed condition never stands alone: speed_control_test.cpp shows the
// setting and the remote enable).
TEST_F(OptimizerCommands, TheCombinationNeedsTheSettingMinimumSpeedAndRemoteControl) {
    for (int k = 0; k < 8; ++k) {
        setCell("IFACE_IN_SPEED.USE_COMBO.B_NAME", k & 1);
        setCell("MPU.SPD_GTEQ_MIN.OR", (k >> 1) & 1);
        setCell("RMT_ENBL.ENABLED.LATCH_R", (k >> 2) & 1);
        runPasses(R160, 2);  // the setting reaches the 80 ms group at a 160 ms frame
        EXPECT_EQ(boolean("SPD_CTRL.ENA_COMBO.AND"), k == 7 ? 1u : 0u) << k;
    }
}

// The pulse runs its second although its cause stays (on the whole program
// the pulse itself ends both causes), and the time left compared with 0
// through values no timer gives (negative, no number).
TEST_F(OptimizerCommands, ATimeOutOrTheEndOfTuningGivesAOneSecondPulse) {
    struct Case {
        const char* cell;
        double on, off;
    } cases[] = {{"SPD_CTRL.ENA_OPTI.R_TIME", 0.0, 100.0}, {"SPD_DYN.OPTI_OFF.DELAY", 1.0, 0.0}};
    for (const Case& c : cases) {
        setCell(c.cell, c.on);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("SPD_CTRL.AUTO_RST.OR"), 1u) << c.cell;
        int on = 1;
        while (on < 40 && boolean("SPD_CTRL.ONE_SHOT.ONE_SHOT") == 1) {
            runPasses(R80, 1);
            ++on;
        }
        // 1.0 s of 80 ms passes: on for 13 passes, although the cause stays.
        EXPECT_EQ(on, 14) << c.cell;
        EXPECT_EQ(boolean("SPD_CTRL.AUTO_RST.OR"), 1u) << c.cell;
        setCell(c.cell, c.off);
        runPasses(R80, 2);
        EXPECT_EQ(boolean("SPD_CTRL.AUTO_RST.OR"), 0u) << c.cell;
        EXPECT_EQ(boolean("SPD_CTRL.ONE_SHOT.ONE_SHOT"), 0u) << c.cell;
    }
}

// Kept on the slices: a negative time left or one that is no number, which
// the optimizer's enable timer never gives.
TEST_F(OptimizerCommands, TheTimeLeftComparesWithZero) {
    struct Case {
        double left;
        uint32_t compare, equal;
    } cases[] = {{5.0, 1, 0}, {0.0, 1, 1}, {-0.5, 0, 0}, {kNaN, 0, 0}, {0.0, 1, 1}, {kNaN, 1, 0}};
    for (const Case& c : cases) {
        setCell("SPD_CTRL.ENA_OPTI.R_TIME", c.left);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_COMPARE"), c.compare) << c.left;
        EXPECT_EQ(boolean("SPD_CTRL.ENA_TO.A_EQUAL"), c.equal) << c.left;
    }
}

// ---- the chassis comparator and the valve limiter message --------------------------------

class ChassisAndMessage : public SpeedModules {};

TEST_F(ChassisAndMessage, TheComparatorSetsAtItsLevelAndHoldsOnNoNumber) {
    start(R10, {_R10_TASK_9});
    EXPECT_EQ(boolean("ORVEX12_IO.A_COMPARE.A_COMPARE"), 0u);  // the accumulator rests at 0
    struct Case {
        double accum, level;
        uint32_t compare, equal;
    } cases[] = {{0.0, 1.0, 0, 0}, {1.0, 1.0, 1, 1}, {kNaN, 1.0, 1, 0}, {0.99, 1.0, 0, 0},
                 {2.0, kNaN, 0, 0}, {-1.0, -1.0, 1, 1}};
    for (const Case& c : cases) {
        setCell("ORVEX12_IO.ACCUM.OUT_1", c.accum);
        setCell("ORVEX12_IO.A_COMPARE.IN_2", c.level);
        runPasses(R10, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.A_COMPARE.A_COMPARE"), c.compare) << c.accum << " " << c.level;
        EXPECT_EQ(boolean("ORVEX12_IO.A_COMPARE.A_EQUAL"), c.equal) << c.accum << " " << c.level;
    }
}

}  // namespace

