// Runs the analog output and actuator driver stages through real passes of
// the rate-group runtime, with the board's current loops behind the PWM
// outputs and the calibration table read from the board's flash at start.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/analog/input_slices.h"
#include "app/analog/output_slices.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "drivers/ZarnActuator.h"
#include "drivers/ZarnCalibration.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/current_loops.h"
#include "host/turbine_model.h"
#include "platform/vkiobus.h"
#include "tests/support/app_harness.h"
#include "tests/support/ref_rig.h"

namespace ao_test {

constexpr int R10 = 0, R20 = 1, R160 = 4;

inline bool g_defaultsLoaded = false;

// Stores a calibration table in the board's flash: every pair (1, 0)
// except the ones given, with a right checksum.
inline void storeCalibration(std::initializer_list<std::tuple<uint32_t, double, double>> pairs) {
    SetCalDefaults();
    for (const auto& [k, m, b] : pairs) put_cal_mb(0, k, m, b);
    put_cal_mb(0, 0, 1.0, 0.0);
    ASSERT_EQ(WriteCalValues(), 0);
    ResetZarnCalibration();
}

class OutputRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        board::reset();
        ResetZarnCalibration();
        ResetZarnActuator();
        g_defaultsLoaded = false;
        rig_ = this;
        running_ = false;
        startUpCells_.clear();
        useSlices(R10, {startUpInFirstFrame, _R10_TASK_5, _R10_TASK_6});
        useSlices(R20, {_R20_TASK_4, _R20_TASK_5});
        useSlices(R160, {_R160_TASK_51, _R160_TASK_52, _R160_TASK_53, _R160_TASK_62});
    }

    // Starts the application and lets the 160 ms settings reach the
    // faster groups through the copies at the next 160 ms frame.
    void start() {
        startApp();
        running_ = true;
        runPasses(R160, 1);
        for (int k = 0; k < 3; ++k) setCell(channel(k) + ".FUNCT.IN", k + 2);
        for (int k = 0; k < 3; ++k) setCell(channel(k) + ".RANGE_LO.IN", 4.0);
        for (int k = 0; k < 3; ++k) setCell(channel(k) + ".RANGE_HI.IN", 20.0);
        sampleConfiguration();
    }

    // Module of output channel k (0 .. 2).
    static std::string channel(int k) { return "_ub" + std::to_string(10 + k); }

    // Puts the channels' configuration in force the way the application
    // does: configuration enable on and the sample pulse on every second
    // 160 ms pass for 1.28 s (the function number makes a round trip
    // through the 20 ms group first), then the next 160 ms frames carry it
    // to the 20 ms group.
    void sampleConfiguration() {
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
        for (int pass = 0; pass < 8; ++pass) {
            setCell("CALMODE.CFG_SAMPL_OK.B_NAME", pass % 2);
            runPasses(R160, 1);
        }
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 0);
        setCell("CALMODE.CFG_SAMPL_OK.B_NAME", 0);
        runPasses(R160, 2);
    }

    // The signal output k selects (function k + 2, range 4 .. 20, so the
    // signal is the current in mA): the speed, the speed setpoint (40 ms)
    // and the remote speed setpoint (80 ms), each through the selection
    // list.
    void outputMa(int k, double mA) {
        static const char* const source[] = {"MPU.TURB_SPD.A_NAME", "AO_MUX.SPD_SETPT.A_NAME",
                                             "AO_MUX.RMT_SPD_SP.A_NAME"};
        setCell(source[k], mA);
    }

    static void flashCalibration(std::initializer_list<std::tuple<uint32_t, double, double>> pairs) {
        storeCalibration(pairs);
    }

    // The actuator's configuration: HP demand function, range (0 low,
    // 1 high), 0 % and 100 % currents. Before the start it is set in the
    // first frame as the stored tunables and with the configuration enable
    // on, so that the range reaches the driver during start-up.
    void configureActuator(int range, double ma0, double ma100) {
        const std::string r = std::to_string(range);
        const std::pair<std::string, double> cells[] = {{"_ub5.ACT_RANGE_SEL.TUNE", range},
                                                        {"_ub5.HW_RANGE.IN", range + 1},
                                                        {"_ub5.ACT_FUNCTION.TUNE", 2},
                                                        {"_ub5.FUNCT.IN", 2},
                                                        {"_ub5.ACT_MIN_VAL.TUNE", ma0},
                                                        {"_ub5.ACT_MAX_VAL.TUNE", ma100},
                                                        {"_ub5.MA_AT_0_RNG" + r + ".IN", ma0},
                                                        {"_ub5.MA_AT_100_RNG" + r + ".IN", ma100},
                                                        {"MASTER.IO_LOCK_OR_PWR.B_NAME", 1}};
        for (const auto& c : cells) {
            if (!running_) startUpCells_.push_back(c);
            else setCell(c.first, c.second);
        }
        if (running_) sampleConfiguration();
    }
    // An HP demand of `percent` through the valve demand chain: the valve
    // limiter selected (speed control disabled, manual control and trip
    // demand out of the select), forward acting, with the reverse setpoint
    // below 0 for a demand above 100 %. It reaches the 10 ms group at the
    // next 160 ms frame.
    void hpDemand(double percent) {
        setCell("SPD_CTRL.SPD_SW_DLY.DELAY", 1);
        setCell("HP_DRIVER.REV_GAIN.A_SW", -1.0);
        setCell("HP_DRIVER.REV_SP.A_SW", percent > 100.0 ? 100.0 - percent : 0.0);
        setCell("IFACE_IN_VLV.V1LMTR_VAL.A_NAME", percent > 100.0 ? 100.0 : percent);
    }

private:
    // First thing of the first 10 ms frame: the tunable defaults, then the
    // cells the test configured before the start.
    static void startUpInFirstFrame() {
        if (g_defaultsLoaded) return;
        g_defaultsLoaded = true;
        tc_test::loadTunableDefaults();
        for (const auto& c : rig_->startUpCells_) rig_->setCell(c.first, c.second);
    }
    static inline OutputRig* rig_ = nullptr;
    std::vector<std::pair<std::string, double>> startUpCells_;
    bool running_ = false;
};

// The whole program (its own slice table) with the outputs configured from
// the service tool while it powers up: the actuator on the HP demand, low
// range (4 .. 20 mA, the turbine model's valve); output 1 the shaft speed over 0 .. 4000 rpm, output 2
// the speed setpoint over 2000 .. 4000 rpm, output 3 the HP valve demand
// over 0 .. 100 %, each with its readback alarm enabled. Driven only by the
// turbine model, contacts and service writes.
class OutputProgram : public ref_test::RefRig {
protected:
    // The lock that configure mode takes stays with the platform until it
    // restarts the control: released before the next case starts.
    void TearDown() override {
        RefRig::TearDown();
        UnAssert_IOLOCK();
    }
    // With `remote_and_cascade`, the remote speed setpoint, the cascade and
    // the remote cascade setpoint configured as well (their inputs on the
    // controller's analog inputs 1 .. 3 at mid range).
    void startConfigured(const Settings& extra = {}, bool remote_and_cascade = false) {
        ResetZarnCalibration();
        ResetZarnActuator();
        Settings all = {{"_ub5.FUNCT.IN", 2},         {"_ub5.HW_RANGE.IN", 1},
                        {"_ub10.FUNCT.IN", 2},        {"_ub10.RANGE_LO.IN", 0},
                        {"_ub10.RANGE_HI.IN", 4000},  {"_ub11.FUNCT.IN", 3},
                        {"_ub11.RANGE_LO.IN", 2000},  {"_ub11.RANGE_HI.IN", 4000},
                        {"_ub12.FUNCT.IN", 9},        {"_ub12.RANGE_LO.IN", 0},
                        {"_ub12.RANGE_HI.IN", 100}};
        for (int k = 0; k < 3; ++k) all.push_back({kEnableReadback[k], 1});
        all.insert(all.end(), extra.begin(), extra.end());
        if (!remote_and_cascade) return start(false, false, all);
        board::setAnalogInputMa(2, 12.0);
        all.push_back({"_ub8.FUNCT.IN", 4});
        all.push_back({"CNFG_CASC.CONFIG_B.IN_4", 1});
        startWithRemoteAndCascade(all);
    }
    // Started as startConfigured() does, the settings saved with the
    // service tool's save command, and started again from the saved file:
    // what the program takes only at start-up (the actuator's hardware range
    // reaches the driver then) is in force. The shaft is held at standstill
    // from each start on (a 0 % current above the model valve's closed
    // current would open it).
    void startConfiguredAndRestart(const Settings& extra = {}) {
        startConfigured(extra);
        if (HasFatalFailure()) return;
        holdShaftAt(0.0);
        serviceWrite("MASTER.COMMANDS.IN_1", 1);
        runPasses(ref_test::R160, 3);
        serviceWrite("MASTER.COMMANDS.IN_1", 0);
        runPasses(ref_test::R160, 10);  // the file written
        stopApp();
        startConfigured(extra);
        holdShaftAt(0.0);
    }
    // Configure mode entered from the service tool while shut down: the I/O
    // lock follows it, and with it the configuration window, in which the
    // channels take their settings again.
    void enterConfigureMode() {
        serviceWrite("MASTER.COMMANDS.IN_2", 1);
        ASSERT_TRUE(runUntil([&] { return boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") == 1u; }, 120))
            << "configure mode not entered";
        serviceWrite("MASTER.COMMANDS.IN_2", 0);
    }
    // The configuration window's sample pulses for 1.28 s, then the next
    // 160 ms frames carry what they took to the faster groups.
    void sampleInConfigureMode() {
        runPasses(ref_test::R160, 10);
        runPasses(ref_test::R10, 1);
    }
    static std::string channel(int k) { return "_ub" + std::to_string(10 + k); }
    // The milliamps of a signal on a range.
    static float ma(double signal, double lo, double hi) {
        return static_cast<float>(4.0 + 16.0 * (signal - lo) / (hi - lo));
    }
    // Shut down from the trip contact, the shaft stopped.
    void shutDown() {
        trip();
        holdShaftAt(0.0);
        ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") == 1u; }, 50));
    }
    // Calibration mode entered (true) or left by the service tool's commands.
    void calibration(bool on) {
        const char* command = on ? "MASTER.COMMANDS.IN_4" : "MASTER.COMMANDS.IN_5";
        serviceWrite(command, 1);
        runPasses(ref_test::R160, 3);
        serviceWrite(command, 0);
        ASSERT_TRUE(runUntil([&] { return boolean("CALMODE.CALMODE.B_NAME") == (on ? 1u : 0u); }, 20));
        runPasses(ref_test::R160, 2);
    }

    // The actuator's force setpoint sent to `percent` with the service
    // tool's go-to command, held for `passes` 160 ms passes.
    void actuatorGoTo(double percent, uint32_t passes) {
        serviceWrite("_ub5.ENTR_SETPT.TUNE", percent);
        serviceWrite("_ub5.COMMANDS.IN_5", 1);
        runPasses(ref_test::R160, passes);
        serviceWrite("_ub5.COMMANDS.IN_5", 0);
    }

    static constexpr const char* kFunct[] = {"_ub10.FUNCT.IN", "_ub11.FUNCT.IN", "_ub12.FUNCT.IN"};
    static constexpr const char* kLo[] = {"_ub10.RANGE_LO.IN", "_ub11.RANGE_LO.IN", "_ub12.RANGE_LO.IN"};
    static constexpr const char* kHi[] = {"_ub10.RANGE_HI.IN", "_ub11.RANGE_HI.IN", "_ub12.RANGE_HI.IN"};
    // The spare entries 15 .. 17 of the output selection list.
    static constexpr const char* kSpareEntry[] = {"AO_MUX.SEL_OUTS.IN_15", "AO_MUX.SEL_OUTS.IN_16",
                                                  "AO_MUX.SEL_OUTS.IN_17"};
    static constexpr const char* kEnableReadback[] = {"_ub10.ENBL_RDBK_FLT.IN", "_ub11.ENBL_RDBK_FLT.IN",
                                                      "_ub12.ENBL_RDBK_FLT.IN"};
};

}  // namespace ao_test
