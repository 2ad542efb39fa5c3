// Runs the speed-control slices (with the speed sensing before them and the
// actuator stage after them) through real passes of the rate-group runtime
// in simulated time; with the turbine model of the host layer the loop is
// closed: actuator current in, shaft speed out through the speed sensors.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/input_slices.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/control_slices.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/MPU.cells.h"
#include "app/discrete/discrete_slices.h"
#include "drivers/ZarnActuator.h"
#include "drivers/ZarnCalibration.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"
#include "tests/support/app_harness.h"

namespace sc_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

inline bool g_defaultsLoaded = false;

// The plant configuration the speed control is tested with: a 3600 rpm
// turbine, its overspeed trip at 110 % (3960 rpm) and the overspeed-test
// limit at 4000 rpm, minimum and maximum governor 3000 and 3780 rpm.
constexpr double kRatedRpm = 3600.0, kTripRpm = 3960.0, kOstLimitRpm = 4000.0;
constexpr double kMinGovRpm = 3000.0, kMaxGovRpm = 3780.0;

// The speed error the controller cannot resolve: the error whose
// proportional action moves the demand by one actuator count. One count of
// the 4 .. 20 mA range (517.86 counts per mA) is 100 / (16 x 517.86) % of the
// demand; the PID works on speed in percent of the overspeed-test limit.
inline double countTolerance(double pGain) {
    const double countPct = 100.0 / (16.0 * 517.86);
    return countPct / pGain * kOstLimitRpm / 100.0;
}

// The cells of that configuration: actuator function 2 (HP demand, 4 .. 20
// mA), forward acting, the valve limiter open, the speed limits, the speed
// sensors' override levels, and the I/O lock that opens the window in which
// the configuration is sampled.
inline constexpr std::pair<const char*, double> kPlantCells[] = {
    {"_ub5.ACT_FUNCTION.TUNE", 2},
    {"HP_DRIVER.REV_GAIN.A_SW", -1.0},
    {"HP_DRIVER.REV_SP.A_SW", 0.0},
    {"IFACE_IN_VLV.V1LMTR_VAL.A_NAME", 100.0},
    {"CNFG_SETPT.OST_LIMIT.A_NAME", kOstLimitRpm},
    {"CNFG_SETPT.OSPD_TRIP.A_NAME", kTripRpm},
    {"CNFG_SETPT.MAX_GOV.A_NAME", kMaxGovRpm},
    {"IFACE_IN_SPEED.MIN_GOV.A_NAME", kMinGovRpm},
    {"IFACE_IN_SPEED.MAX_GOV.A_NAME", kMaxGovRpm},
    {"IFACE_IN_SPEED.GO_ONLINE.A_NAME", 1e6},
    {"MPU_OVRD.MIN_SPD_1.A_NAME", 250.0},
    {"MPU_OVRD.MIN_SPD_2.A_NAME", 250.0},
    {"MASTER.IO_LOCK_OR_PWR.B_NAME", 1},
};

class SpeedRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        board::reset();
        ResetZarnCalibration();
        ResetZarnActuator();
        turbine::reset();
        speedsensor::install();
        g_defaultsLoaded = false;
        useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, speedControlOfTask4, _R10_TASK_5, _R10_TASK_6, _R10_TASK_8,
                        _R10_TASK_10, _R10_TASK_11});
        useSlices(R40, {_R40_TASK_8});
        useSlices(R160, {_R160_TASK_49, _R160_TASK_62});
    }
    // The speed-control pieces of the fourth slice, without the trips that
    // share it (the tests drive the shutdown cells themselves).
    static void speedControlOfTask4() {
        r10::MPU_turbine_speed();
        r10::SPD_CTRL_dynamics();
    }
    void TearDown() override {
        turbine::reset();
        AppHarness::TearDown();
    }

    // Starts the application with the actuator in its 4 .. 20 mA range on
    // the HP demand, forward acting, and the plant configuration above.
    void start() {
        startApp();
        runPasses(R160, 1);
        for (const auto& c : kPlantCells) setCell(c.first, c.second);
        for (int pass = 0; pass < 8; ++pass) {
            setCell("CALMODE.CFG_SAMPL_OK.B_NAME", pass % 2);
            runPasses(R160, 1);
        }
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 0);
        runPasses(R160, 2);
    }

    // The speed reference the setpoint chain takes (40 ms).
    void reference(double rpm) { setCell("IFACE_OUT_SPEED.SPEED_REF.A_NAME", rpm); }

    // Runs simulated seconds in whole 10 ms passes.
    void runSeconds(double s) { runPasses(R10, static_cast<uint32_t>(s * 100.0 + 0.5)); }

    // The turbine at `rpm`, on line with `load` (pu), closing the loop.
    void closeLoop(double rpm, double load) {
        turbine::setSpeedRpm(rpm);
        turbine::setLoad(load);
        turbine::enable();
    }

protected:
    // First thing of the first 10 ms frame: the tunable defaults, then the
    // block initialisation that reads them.
    static void startUpInFirstFrame() {
        if (g_defaultsLoaded) return;
        g_defaultsLoaded = true;
        tc_test::loadTunableDefaults();
        CNFG_SPEED_init_blks();
        CNFG_ACT_init_blks();
    }
};

}  // namespace sc_test
