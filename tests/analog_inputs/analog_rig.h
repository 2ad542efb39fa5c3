// The analog input channels through real passes of the rate-group runtime:
// AnalogProgram runs the whole program (its own slice table), driven only
// through its inputs; AnalogRig runs the analog input slices (20 ms and
// 160 ms) alone, for the cases no input of the program reaches. Channel k:
// controller inputs 0 .. 3, remote-node inputs 4 .. 11.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/input_slices.h"
#include "app/remote_io/remote_io.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "runtime/catalogue_tables.h"
#include "tests/support/app_harness.h"
#include "tests/support/program_window.h"
#include "tests/support/tune_defaults.h"

namespace ai_test {

constexpr int R20 = 1, R80 = 3, R160 = 4;

// Start-up steps that need the tunables at their defaults (until the
// tunables file supplies them at start-up): the defaults, then the channels'
// block initialisation. Runs as the first thing of the first 10 ms frame.
inline bool g_started = false;
inline void startUpInFirstFrame() {
    if (g_started) return;
    g_started = true;
    tc_test::loadTuneDefaults();
    AI_CHANNEL_init_blks();
}

// Module of channel k and of its alarm levels.
inline std::string channel(int k) { return "_ub" + std::to_string(k < 4 ? 6 + k : 29 + k); }
inline std::string alarms(int k) { return "_ub" + std::to_string(k < 4 ? 1 + k : 21 + k); }

class AnalogRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        board::reset();
        g_started = false;
        useSlices(0, {startUpInFirstFrame});
        useSlices(R20, {_R20_TASK_1, _R20_TASK_2, _R20_TASK_3, _R20_TASK_4, _R20_TASK_7, _R20_TASK_8, _R20_TASK_9,
                        _R20_TASK_10, _R20_TASK_11, _R20_TASK_12, _R20_TASK_13, _R20_TASK_14, _R20_TASK_15,
                        _R20_TASK_16, _R20_TASK_17, _R20_TASK_18});
        useSlices(R160, {_R160_TASK_1, _R160_TASK_2, _R160_TASK_3, _R160_TASK_4, _R160_TASK_5, _R160_TASK_6,
                         _R160_TASK_58, _R160_TASK_59, _R160_TASK_62, _R160_TASK_65, _R160_TASK_71, _R160_TASK_80});
    }

    // Starts the application. The first frames run before the first I/O
    // gather, so the controller stages see 0 mA there and latch low (the
    // remote ones too, until the node reports): one reset clears that.
    void start() {
        startApp();
        ASSERT_TRUE(g_started);
        for (int n = 0; n < 8; ++n) setNodeWord(n, 12 * 1024);
        runPasses(R160, 2);
        reset();
    }

    // The common reset command (80 ms group) for one 80 ms frame; it reaches
    // the 20 ms group through the copies at its frame boundaries.
    void reset() {
        setCell("RESET.RESET.B_NAME", 1);
        runPasses(R20, 8);
        setCell("RESET.RESET.B_NAME", 0);
        runPasses(R20, 8);
    }

    // Puts a new function number and range of channel k in force the way
    // the application does: configuration enable on, one sample pulse, and
    // the next 160 ms frames carry it to the 20 ms group.
    void configure(int k, int function, double lo, double hi) {
        const std::string m = channel(k);
        setCell(m + ".FUNCT.IN", function);
        setCell(m + ".RANGE_LO.IN", lo);
        setCell(m + ".RANGE_HI.IN", hi);
        const std::string enable = k < 4 ? "MASTER.IO_LOCK_OR_PWR.B_NAME" : "CNFG_CAN2.CNFG_VLTR.B_NAME";
        const std::string sample = k < 4 ? "CALMODE.CFG_SAMPL_OK.B_NAME" : "CNFG_CAN2.SAMPL_LIVE.AND";
        setCell(enable, 1);
        setCell(sample, 0);
        runPasses(R160, 1);
        setCell(sample, 1);
        runPasses(R160, 1);
        setCell(enable, 0);
        setCell(sample, 0);
        runPasses(R160, 2);
    }

    // The raw word of remote input n (0 .. 7) as the active analog node's
    // receive PDOs deliver it (four inputs a PDO, two a data word).
    void setNodeWord(int n, uint16_t word) {
        setCell("CNFG_CAN2.VL_NODE1_AIO.ACTIVE", 1);
        uint32_t& w = RemoteNodeBlocks[kNodeAio].Data[1 + n / 4][(n % 4) / 2];
        const int shift = 16 * (n % 2);
        w = (w & ~(0xFFFFu << shift)) | static_cast<uint32_t>(word) << shift;
    }
    // The current of channel k: the board's source for a controller input,
    // the node's word for a remote one.
    void setMa(int k, double mA) {
        if (k < 4) board::setAnalogInputMa(k, mA);
        else setNodeWord(k - 4, static_cast<uint16_t>(std::lround(mA * 1024.0)));
    }
    // The current that gives `value` on a range 0 .. 100.
    void setValue(int k, double value) { setMa(k, 4.0 + 0.16 * value); }
};

// The whole program (its own slice table) with the remote analog node
// (node 1) simulated on the host CAN bus, driven only through its inputs:
// the controller's inputs on the board's current loops, the node's inputs
// in the words of its process data, settings from the tunables file at
// start and from the service tool afterwards, put in force through the
// configuration window (the unit stays shut down: the external trip
// contact is open), and the service tool's reset.
class AnalogProgram : public tc_test::ProgramWindow {
protected:
    void SetUp() override {
        ProgramWindow::SetUp();
        addNode(Kind::AnalogIO, 1);
        for (auto& w : words_) w = rio_test::nodeMa(12.0);
        sendWords();
        pdo(0x481, words({0, 0}));
        for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    }

    // Starts with `settings` from the tunables file, the node taken in and
    // reporting; the latches its silence before it came up left are reset.
    void startWith(const Settings& settings = {}) {
        settingsAtStart(settings);
        startWithNodes({"CNFG_CAN2.VL1_ENA.IN"}, {"CNFG_CAN2.VL_NODE1_AIO.ACTIVE"});
        run(10);
        reset();
    }

    // A new function number and range of channel k entered from the service
    // tool and put in force through the configuration window.
    void configure(int k, int function, double lo, double hi) {
        const std::string m = channel(k);
        serviceWrite(m + ".FUNCT.IN", function);
        serviceWrite(m + ".RANGE_LO.IN", lo);
        serviceWrite(m + ".RANGE_HI.IN", hi);
        window(k < 4);
    }

    // The current of channel k: the board's loop for a controller input,
    // the node's word for a remote one (the top bit its fault flag).
    void setMa(int k, double mA) {
        if (k < 4) board::setAnalogInputMa(k, mA);
        else nodeWord(k - 4, rio_test::nodeMa(mA));
    }
    void nodeWord(int n, uint16_t w) {
        words_[n] = w;
        sendWords();
    }
    // The current that gives `value` on a range 0 .. 100.
    void setValue(int k, double value) { setMa(k, 4.0 + 0.16 * value); }

private:
    void sendWords() {
        pdo(0x281, words({words_[0], words_[1], words_[2], words_[3]}));
        pdo(0x381, words({words_[4], words_[5], words_[6], words_[7]}));
    }
    uint16_t words_[8] = {};
};

}  // namespace ai_test
