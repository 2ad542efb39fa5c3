// The discrete channels through real passes of the rate-group runtime:
// DiscreteProgram runs the whole program (its own slice table), driven only
// through its inputs; DiscreteRig runs the discrete channel slices (10, 20
// and 160 ms) alone, for the cases no input of the program reaches.
// Discrete input channel k: controller inputs 0 .. 7 (_ub13 .. _ub20),
// remote inputs 8 .. 23.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/analog/input_slices.h"
#include "app/analog/output_slices.h"
#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/remote_io/remote_io.h"
#include "host/board.h"
#include "platform/CLOCK.h"
#include "runtime/catalogue_tables.h"
#include "tests/support/app_harness.h"
#include "tests/support/program_window.h"
#include "tests/support/tune_defaults.h"

namespace di_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

// The tunables at their defaults (until the tunables file supplies them at
// start-up), as the first thing of the first 10 ms frame.
inline bool g_started = false;
inline void startUpInFirstFrame() {
    if (g_started) return;
    g_started = true;
    tc_test::loadTuneDefaults();
}

// This rig runs no node on the bus: the discrete-input node counts as active
// and reports its input word again at every 20 ms pass (the node block in
// _R20_TASK_19 would clear both).
inline uint32_t g_nodeWord = 0;
inline void discreteNodeActive() {
    cells::CNFG_CAN2.VL_NODE4_BI_ACTIVE = 1;
    RemoteNodeBlocks[kNodeBi].Data[0][0] = g_nodeWord;
}

// Module of discrete input channel k.
inline std::string bi(int k) {
    if (k < 8) return "_ub" + std::to_string(13 + k);
    const int n = k - 7;
    if (n == 1) return "_ub59";
    return "_ub" + std::to_string(n <= 9 ? 65 + n : 50 + n);
}

class DiscreteRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        board::reset();
        g_started = false;
        g_nodeWord = 0;
        useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, _R10_TASK_2, _R10_TASK_6, _R10_TASK_7, _R10_TASK_8,
                        _R10_TASK_10});
        useSlices(R20, {discreteNodeActive, _R20_TASK_5, _R20_TASK_6, _R20_TASK_7, _R20_TASK_19});
        useSlices(R40, {_R40_TASK_5, _R40_TASK_6, _R40_TASK_7, _R40_TASK_8});
        useSlices(R160, {_R160_TASK_18, _R160_TASK_19, _R160_TASK_27, _R160_TASK_54, _R160_TASK_55,
                         _R160_TASK_56, _R160_TASK_57, _R160_TASK_58, _R160_TASK_62, _R160_TASK_63,
                         _R160_TASK_64, _R160_TASK_65, _R160_TASK_66, _R160_TASK_67, _R160_TASK_68,
                         _R160_TASK_69, _R160_TASK_70, _R160_TASK_71, _R160_TASK_72, _R160_TASK_73,
                         _R160_TASK_74, _R160_TASK_75, _R160_TASK_76, _R160_TASK_77, _R160_TASK_78,
                         _R160_TASK_79, _R160_TASK_80, _R160_TASK_81});
        // The time service's zone and daylight-saving state are shared
        // module-level values: every case starts from UTC without DST.
        set_zone(0.0f);
        dst_mode = 0;
        dst_is_active = 0;
    }

    void start() {
        startApp();
        ASSERT_TRUE(g_started);
        runPasses(R160, 1);
        // Past the pass in which the node block clears the node's data words.
        runPasses(R20, 1);
    }

    // Puts function `function` and inversion `invert` of channel k in force
    // the way the application does.
    void configure(int k, int function, bool invert = false) {
        const std::string m = bi(k);
        setCell(m + ".FUNCT.IN", function);
        setCell(m + ".INVRT.IN", invert ? 1 : 0);
        samplePulse(k < 8);
    }

    // Configuration enabled, one sample pulse, and the next 160 ms frames
    // carry the result to the fast groups: of the controller's channels or
    // of the remote nodes' channels.
    void samplePulse(bool controller) {
        const std::string enable = controller ? "MASTER.IO_LOCK_OR_PWR.B_NAME" : "CNFG_CAN2.CNFG_VLTR.B_NAME";
        const std::string sample = controller ? "CALMODE.CFG_SAMPL_OK.B_NAME" : "CNFG_CAN2.SAMPL_LIVE.AND";
        setCell(enable, 1);
        setCell(sample, 0);
        runPasses(R160, 1);
        setCell(sample, 1);
        runPasses(R160, 1);
        setCell(enable, 0);
        setCell(sample, 0);
        runPasses(R160, 2);
    }

    // The contact of channel k: a board input for a controller channel, its
    // bit of the node's input word for a remote one.
    void contact(int k, bool closed) {
        if (k < 8) {
            board::setDiscreteInput(12 + k, closed);
        } else {
            const uint32_t bit = 1u << (k - 8);
            g_nodeWord = closed ? (g_nodeWord | bit) : (g_nodeWord & ~bit);
            RemoteNodeBlocks[kNodeBi].Data[0][0] = g_nodeWord;
        }
    }

    uint32_t slot(int function) { return boolean("BI_MUX.CONT_MUX.OUT_" + std::to_string(function)); }

    // Puts function `function` of relay channel k (0 .. 2 controller relays
    // 2 .. 4, 3 .. 18 remote relays 1 .. 16) in force, with its level-switch
    // number and inversion.
    void configureRelay(int k, int function, int level_switch = 1, bool invert = false) {
        const std::string m = relay(k);
        setCell(m + ".RLY_FUNCT.IN", function);
        setCell(m + ".LVL_SW_FUNCT.IN", level_switch);
        setCell(m + ".INVERT.IN", invert ? 1 : 0);
        samplePulse(k < 3);
    }
    static std::string relay(int k) { return "_ub" + std::to_string(k < 3 ? 21 + k : 72 + k); }
};

// The whole program (its own slice table) with the remote discrete-input
// node (node 4) simulated on the host CAN bus, driven only through its
// inputs: the controller's contacts on the board, the node's contacts in
// the word of its process data, settings from the tunables file at start
// and from the service tool afterwards, put in force through the
// configuration window, and the service tool's reset. The external trip
// contact (input 3) open keeps the unit shut down, so that configure mode
// may be entered.
class DiscreteProgram : public tc_test::ProgramWindow {
protected:
    static constexpr uint32_t kInputPdo = 0x184;

    void SetUp() override {
        ProgramWindow::SetUp();
        addNode(Kind::DiscreteIn, 4);
        nodeWord_ = 0;
        pdo(kInputPdo, words({0}));
        // The time service's zone and daylight-saving state are shared
        // module-level values: every case starts from UTC without DST.
        set_zone(0.0f);
        dst_mode = 0;
        dst_is_active = 0;
    }

    // Starts with `settings` from the tunables file, the node taken in and
    // reporting.
    void startWith(const Settings& settings = {}) {
        settingsAtStart(settings);
        startWithNodes({"CNFG_CAN2.VL4_ENA.IN"}, {"CNFG_CAN2.VL_NODE4_BI.ACTIVE"});
        run(10);
    }
    // Starts with `settings` from the tunables file and runs the first
    // 160 ms pass only: the power-up window still open, no node taken in.
    void startPowerUp(const Settings& settings = {}) {
        settingsAtStart(settings);
        start();
        runPasses(R160, 1);
    }

    // Function `function` and inversion `invert` of channel k entered from
    // the service tool and put in force through the configuration window.
    void configure(int k, int function, bool invert = false) {
        const std::string m = bi(k);
        serviceWrite(m + ".FUNCT.IN", function);
        serviceWrite(m + ".INVRT.IN", invert ? 1 : 0);
        window(k < 8);
    }

    // The contact of channel k: a board input for a controller channel, its
    // bit of the node's input word for a remote one (sent every 100 ms).
    void contact(int k, bool closed) {
        if (k < 8) {
            board::setDiscreteInput(12 + k, closed);
        } else {
            const uint16_t bit = static_cast<uint16_t>(1u << (k - 8));
            nodeWord_ = static_cast<uint16_t>(closed ? (nodeWord_ | bit) : (nodeWord_ & ~bit));
            pdo(kInputPdo, words({nodeWord_}));
        }
    }

    uint32_t slot(int function) { return boolean("BI_MUX.CONT_MUX.OUT_" + std::to_string(function)); }

private:
    uint16_t nodeWord_ = 0;
};

}  // namespace di_test
