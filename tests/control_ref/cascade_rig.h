// The cascade rig: cascade configured on the whole program and the turbine
// in control, driven only through the program's inputs: the settings
// entered from the service tool while it powers up, the cascade's process
// value on the controller's analog input 2, contacts on the board, the I/O
// lock through the platform's entry point.
#pragma once

#include <cmath>
#include <string>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "tests/protection/whole_rig.h"
#include "tests/support/ref_rig.h"

namespace ref_test {

inline constexpr double kSpanMax = 200.0;     // cascade setpoint range 0 .. 200
inline constexpr double kPv = 120.0;          // process value at the start
inline constexpr double kPvRangeMax = 300.0;  // the input's range 0 .. 300 holds the setpoint range
inline constexpr int kCascInput = 1;          // analog input 2
inline constexpr double kPvTol = 0.02;        // a few steps of the input's converter

class Cascade : public pr_test::WholeRig {
protected:
    // The process value the transmitter on analog input 2 sends.
    void pv(double v) { board::setAnalogInputMa(kCascInput, 4.0 + 16.0 * v / kPvRangeMax); }
    // The process value as the cascade controller sees it.
    float pvSeen() { return real("IFACE_IN_CASC.CASC_IN_NAME.A_NAME"); }

    // Cascade configured (tracking as given) with `extra` settings, entered
    // while the controller powers up; a manual start to the speed
    // controller in control at minimum governor (or, with minGov_ set below
    // it, at the governor's former minimum reached by an entered setpoint).
    void configure(bool track = true, bool inverted = false, double spd_min = kMinGov, double spd_max = kMaxGov,
                   const Settings& extra = {}) {
        pv(kPv);
        Settings s = {{"CNFG_CASC.CONFIG_B.IN_1", 1},
                      {"CNFG_CASC.CONFIG_B.IN_2", inverted ? 1 : 0},
                      {"CNFG_CASC.CONFIG_B.IN_3", track ? 1 : 0},
                      {"CNFG_CASC.CONFIG_A.IN_1", 0.0},
                      {"CNFG_CASC.CONFIG_A.IN_2", kSpanMax},
                      {"CNFG_CASC.CONFIG_A.IN_3", 50.0},
                      {"CNFG_CASC.CONFIG_A.IN_4", spd_min},
                      {"CNFG_CASC.CONFIG_A.IN_5", spd_max},
                      {"CNFG_CASC.P.A_NAME", 2.0},
                      {"CNFG_CASC.I.A_NAME", 0.5},
                      {"CNFG_CASC.SDR.A_NAME", 100.0},
                      {"CNFG_CASC.SP_RATE.A_NAME", 5.0},
                      {"CNFG_CASC.SPD_MAX_RATE.A_NAME", 20.0},
                      {"CNFG_CASC.INPUT.I_NAME", 1},
                      {"_ub7.FUNCT.IN", 3},
                      {"_ub7.RANGE_LO.IN", 0.0},
                      {"_ub7.RANGE_HI.IN", kPvRangeMax},
                      {"CNFG_SETPT.QT_MIN_GOV.IN", minGov_}};
        s.insert(s.end(), extra.begin(), extra.end());
        start(false, false, s);
        startToInControl();
        if (minGov_ < kMinGov) {
            serviceWrite("ENTR_SETPT.ENTR_SETPT.TUNE", kMinGov);
            runPasses(R160, 2);
            pulse("IFACE_IN_SPEED.GOTO_ENTR_SP.IN", R160);
            ASSERT_TRUE(runUntil([&] { return ref() == static_cast<float>(kMinGov); }, 1000)) << "never there";
        }
        // Long enough for the PID output to settle on its feedback.
        runPasses(R160, 300);
    }
    float setpoint() { return real("CASC_SETPT.SETPT.RAMP"); }
    double minGov_ = kMinGov;  // the configured minimum governor
    // Cascade in control as the 80 ms group sees it (the flag is computed at
    // 160 ms and reaches the 80 ms group with the next 160 ms frame).
    bool inCascade() { return boolean("CASC_RATE.N_CASC_EN.NOT") == 0; }
    // A service command: the momentary tunable set once.
    void command(const std::string& cell) {
        serviceWrite(cell, 1);
        runPasses(R160, 1);
    }
    void enable() {
        command("IFACE_IN_CASC.ENA_DIS.IN_1");
        ASSERT_TRUE(runUntil([&] { return inCascade(); }, 20)) << "cascade never took control";
    }
    // The unit tripped from the trip contact, at rest, and the I/O locked: the
    // configuration window open, as for a change of the configuration.
    void tripAndLock() {
        trip();
        ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 5));
        shaftAt(0.0);  // the shaft has come to rest
        runPasses(R160, 3);
        lockIo();
        runPasses(R160, 2);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 1u);
    }
};

}  // namespace ref_test
