// The cascade rig: the speed-reference rig with the cascade slices, and
// cascade configured on a turbine in control at minimum governor.
#pragma once

#include <cmath>

#include "app/analog/input_slices.h"
#include "app/analog/output_slices.h"
#include "app/config/config_slices.h"
#include "app/control/RCLTR.cells.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"
#include "tests/control_ref/slice_rig.h"

namespace ref_test {

inline constexpr double kSpanMax = 200.0;  // cascade setpoint range 0 .. 200
inline constexpr double kPv = 120.0;       // process value at the start

class Cascade : public SliceRig {
protected:
    void SetUp() override {
        SliceRig::SetUp();
        useSlices(R20, {_R20_TASK_4, _R20_TASK_7});
        useSlices(R80, {_R80_TASK_13, _R80_TASK_14, _R80_TASK_15, _R80_TASK_16, _R80_TASK_17, _R80_TASK_18,
                        _R80_TASK_19, _R80_TASK_23, _R80_TASK_24, _R80_TASK_25, _R80_TASK_26, _R80_TASK_30});
        // Of the discrete-input slice only the cascade flags: the cases give
        // the discrete-input use flags themselves.
        useSlices(R160, {_R160_TASK_11, r160::RCLTR_cascade, _R160_TASK_15, _R160_TASK_16, _R160_TASK_17, _R160_TASK_20, _R160_TASK_21,
                         _R160_TASK_36, _R160_TASK_37, _R160_TASK_38, _R160_TASK_40, _R160_TASK_44, _R160_TASK_45,
                         _R160_TASK_47, _R160_TASK_48, _R160_TASK_49, _R160_TASK_50, _R160_TASK_51, _R160_TASK_81, _R160_TASK_82});
    }

    // Cascade configured (tracking as given) and its limits sampled by a
    // power-up pulse; the turbine in control at minimum governor.
    void configure(bool track = true, bool inverted = false, double spd_min = kMinGov, double spd_max = kMaxGov) {
        start(false, false);
        startToInControl();
        // The governor limits as the configuration lists take them.
        setCell("CNFG_SETPT.QT_MAX_GOV.IN", kMaxGov);
        setCell("CNFG_SETPT.QT_MIN_GOV.IN", holdMinGov_);
        setCell("CNFG_SETPT.MAX_GOV.A_NAME", kMaxGov);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", holdMinGov_);
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
        setCell("CNFG_CASC.CONFIG_B.IN_1", 1);
        setCell("CNFG_CASC.CONFIG_B.IN_2", inverted ? 1 : 0);
        setCell("CNFG_CASC.CONFIG_B.IN_3", track ? 1 : 0);
        setCell("CNFG_CASC.CONFIG_A.IN_1", 0.0);
        setCell("CNFG_CASC.CONFIG_A.IN_2", kSpanMax);
        setCell("CNFG_CASC.CONFIG_A.IN_3", 50.0);
        setCell("CNFG_CASC.CONFIG_A.IN_4", spd_min);
        setCell("CNFG_CASC.CONFIG_A.IN_5", spd_max);
        setCell("CNFG_CASC.P.A_NAME", 2.0);
        setCell("CNFG_CASC.I.A_NAME", 0.5);
        setCell("CNFG_CASC.SDR.A_NAME", 100.0);
        setCell("CNFG_CASC.SP_RATE.A_NAME", 5.0);
        setCell("CNFG_CASC.SPD_MAX_RATE.A_NAME", 20.0);
        setCell("CNFG_CASC.INPUT.I_NAME", 1);
        setCell("AI_MUX.CASC_IN.A_NAME", kPv);
        setCell("AI_MUX.CASC_IN_MODX.A_NAME", 1.0);
        runPasses(R160, 1);
        // The power-up pulse as its slice gives it, seen by the 80 ms
        // group together with the values computed in the same pass.
        setCell("RESET.PWR_UP_RST.ONE_SHOT", 1);
        runPasses(R160, 2);
        setCell("RESET.PWR_UP_RST.ONE_SHOT", 0);
        setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 0);
        // Long enough for the PID output to settle on its feedback.
        runPasses(R160, 300);
    }
    float setpoint() { return real("CASC_SETPT.SETPT.RAMP"); }
    double holdMinGov_ = kMinGov;  // the configured minimum governor
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
};

}  // namespace ref_test
