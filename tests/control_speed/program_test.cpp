// Whole-program scenarios of the speed control's neighbours: the program's
// own slice table driven only through its inputs (front-panel keys,
// contacts, tunables as the service tool writes them), pinning in which
// pass the results appear.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/protection/SHUTDOWNS_texts.h"
#include "runtime/appmem.h"
#include "tests/control_speed/program_rig.h"

namespace sc_test {
namespace {

class Program : public ProgramRig {
protected:
    // Past the power-up window with the trip contact closed, the
    // configuration errors of the default I/O overridden and the shutdowns
    // reset from the keypad: nothing latched.
    void startReady() {
        startApp();
        tune("CONF_LATCH.ANY.OVRD", 1);
        hk::runTask([] { board::setDiscreteInput(14, true); });
        runPasses(P160, 20);
        tap(kResetKey[0], kResetKey[1]);
        runPasses(P160, 2);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    }
    bool sameTime(const std::string& a, const std::string& b) {
        return std::memcmp(cell(a), cell(b), sizeof(TimeCell)) == 0;
    }
};

// The trip key: the front-panel trip latches trip 2 in the 10 ms pass after
// the one that computes the key's shutdown input; the first-out text and the
// history's time stamps follow in the tenth slice, and a reset that clears
// the first-out number leaves the text standing.
TEST_F(Program, TripKeyLatchesTripTwoInTheNextPassWithItsFirstOutTextAndTimeStamp) {
    startReady();
    key(kTripKey[0], kTripKey[1], true);
    int pass = 0;
    while (boolean("SD_LOGIC.PUSHBUTTON.B_SW") == 0 && pass < 40) {
        runPasses(P10, 1);
        ++pass;
    }
    ASSERT_EQ(boolean("SD_LOGIC.PUSHBUTTON.B_SW"), 1u) << "the key never reached the shutdown logic";
    EXPECT_EQ(boolean("SHUTDOWNS.SD_02.B_ALARM"), 0u) << "not in the pass that computes the key";
    EXPECT_EQ(boolean("SD_LOGIC.PSHBTN_Z.ZMINUS1_B"), 1u) << "stored and committed in that same pass";
    runPasses(P10, 1);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_02.B_ALARM"), 1u) << "latched in the next pass";
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 2);
    EXPECT_EQ(text("SHUTDOWNS.TRIP_FO.S_MUX_N_1"), kShutdownFirstOutText[1]);
    key(kTripKey[0], kTripKey[1], false);
    runPasses(P10, 5);
    for (int k = 1; k <= 5; ++k) {
        const std::string n = std::to_string(k);
        EXPECT_TRUE(sameTime("SHUTDOWNS.TIME_STAMP_SD" + n + ".T_NAME", "SHUTDOWNS.SD" + n + "_TIME.T_SW")) << k;
    }
    // Reset: the list empties and its first-out number returns to 0; the
    // text stays.
    runPasses(P160, 20);
    tap(kResetKey[0], kResetKey[1]);
    runPasses(P160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 0);
    EXPECT_EQ(text("SHUTDOWNS.TRIP_FO.S_MUX_N_1"), kShutdownFirstOutText[1]);
}

// The history's time stamps: a slot that holds no shutdown follows the
// clock; the slot the trip enters takes the time of the trip and keeps it
// while the clock runs on, as the slot the power-up entered does.
TEST_F(Program, TheTrippedHistorySlotKeepsTheTripTimeWhileTheOthersFollowTheClock) {
    startReady();
    auto stamps = [&] {
        std::vector<TimeCell> t;
        for (int k = 1; k <= 5; ++k) {
            TimeCell c;
            std::memcpy(&c, cell("SHUTDOWNS.SD" + std::to_string(k) + "_TIME.T_SW"), sizeof c);
            t.push_back(c);
        }
        return t;
    };
    auto moved = [](const std::vector<TimeCell>& a, const std::vector<TimeCell>& b) {
        int n = 0;
        for (size_t k = 0; k < a.size(); ++k) n += a[k].sec != b[k].sec || a[k].usec != b[k].usec ? 1 : 0;
        return n;
    };
    // No shutdown since the power-up: the other four follow the clock.
    std::vector<TimeCell> before = stamps();
    runPasses(P160, 15);
    EXPECT_EQ(moved(before, stamps()), 4);
    key(kTripKey[0], kTripKey[1], true);
    runPasses(P160, 2);
    key(kTripKey[0], kTripKey[1], false);
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    runPasses(P160, 2);
    before = stamps();
    runPasses(P160, 15);
    EXPECT_EQ(moved(before, stamps()), 3) << "the tripped slot's stamp must hold";
}

// Configure mode from the service tool's commands, under the calibration
// permissive (the unit tripped, the shaft at rest): entering it sets the latch
// and the I/O lock follows; leaving it drops the latch, saves the tunables
// and releases the lock after its off-delay.
TEST_F(Program, ConfigureModeEnteredAndLeftByTheServiceCommands) {
    startReady();
    runPasses(P160, 15);  // past the reset
    key(kTripKey[0], kTripKey[1], true);
    runPasses(P160, 2);
    key(kTripKey[0], kTripKey[1], false);
    runPasses(P160, 2);
    ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    ASSERT_EQ(boolean("CALMODE.CALPERM.B_NAME"), 1u);
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u);
    tune("MASTER.COMMANDS.IN_2", 1);
    runPasses(P160, 3);
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 1u);
    EXPECT_EQ(boolean("MASTER.CNFG_EXIT.NOT"), 0u);
    int k = 0;
    for (; k < 100 && boolean("MASTER.IOLOCK_CMD.B_NAME") == 0; ++k) runPasses(P160, 1);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 1u);
    runPasses(P160, 10);
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 1u) << "configure mode holds until it is left";
    tune("MASTER.COMMANDS.IN_3", 1);
    uint32_t saved = 0;
    for (k = 0; k < 4; ++k) {
        runPasses(P160, 1);
        saved |= boolean("MASTER.OS_ON_EXIT.ONE_SHOT");
    }
    EXPECT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u);
    EXPECT_EQ(boolean("MASTER.CNFG_EXIT.NOT"), 1u);
    EXPECT_EQ(saved, 1u);
    for (k = 0; k < 100 && boolean("MASTER.IOLOCK_CMD.B_NAME") != 0; ++k) runPasses(P160, 1);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 0u);
}

// The idle time enters a 250-entry ring every LOG_RATE passes once all
// groups have run, and the average is the ring's mean: with the idle time
// steady it climbs by a 250th of it on each sample until the ring is full.
TEST_F(Program, IdleTimeAverageOverARingOf250Samples) {
    startApp();
    // Each pass: the idle time as a real, and how much the average rose.
    std::vector<float> idle, rises;
    auto step = [&](int passes) {
        idle.clear();
        rises.clear();
        float last = real("MASTER.IDLE_TIME_AVG.A_NAME");
        for (int k = 0; k < passes; ++k) {
            runPasses(P40, 1);
            idle.push_back(real("MASTER.I_TO_AN.OUT_1"));
            EXPECT_EQ(idle.back(), static_cast<float>(integer("_MASTER._SYS_INFO.IDLE_TIME")));
            EXPECT_EQ(real("MASTER.IDLE_TIME_AVG.A_NAME"), real("MASTER.IDLE_10S_AVG.RUNNING_AVG"));
            rises.push_back(real("MASTER.IDLE_TIME_AVG.A_NAME") - last);
            last = real("MASTER.IDLE_TIME_AVG.A_NAME");
        }
    };
    // The ring fills from zeros: each sample adds a 250th of itself. The
    // idle time is measured every 401 master-clock ticks, counted on from
    // whatever ran before: long enough for two measurements.
    step(120);
    float seen = 0.0f;
    for (size_t k = 0; k < idle.size(); ++k) {
        EXPECT_NEAR(rises[k], idle[k] / 250.0f, 1e-3f) << k;
        seen += idle[k];
    }
    ASSERT_GT(seen, 0.0f) << "no idle time measured";
    tune("MASTER.IDLE_10S_AVG.LOG_RATE", 5);
    step(50);
    int samples = 0;
    for (size_t k = 0; k < idle.size(); ++k) {
        if (rises[k] == 0.0f) continue;
        ++samples;
        EXPECT_NEAR(rises[k], idle[k] / 250.0f, 1e-3f) << k;
    }
    EXPECT_LE(samples, 10) << "one sample every fifth pass";
    EXPECT_GE(samples, 9) << "one sample every fifth pass";
    // Full: the mean of the last 250 samples.
    tune("MASTER.IDLE_10S_AVG.LOG_RATE", 1);
    step(300);
    double sum = 0.0;
    for (size_t k = idle.size() - 250; k < idle.size(); ++k) sum += idle[k];
    EXPECT_NEAR(real("MASTER.IDLE_TIME_AVG.A_NAME"), sum / 250.0, 1e-2);
}

// The storage-busy indication: a pulse of its set length when a save of the
// tunables begins.
TEST_F(Program, StorageBusyPulseWhenTheTunablesAreSaved) {
    startApp();
    runPasses(P160, 40);  // the supervision task looks for saves 4 s after start
    EXPECT_EQ(boolean("MASTER.EE_BUSY.B_NAME"), 0u);
    tune("MASTER.EE_BUSY_OS.DLY_TIME", 0.4);
    tune("MASTER.SAVETUNES.IN_1", 1);
    std::vector<uint32_t> busy;
    for (int k = 0; k < 100; ++k) {
        runPasses(P40, 1);
        busy.push_back(boolean("MASTER.EE_BUSY.B_NAME"));
        if (boolean("_MASTER._SYS_INFO.EE_BUSY") != 0) tune("MASTER.SAVETUNES.IN_1", 0);
    }
    int on = 0, first = -1;
    for (size_t k = 0; k < busy.size(); ++k)
        if (busy[k]) {
            ++on;
            if (first < 0) first = static_cast<int>(k);
        }
    ASSERT_GE(first, 0) << "the save never showed";
    EXPECT_GE(on, 10) << "0.4 s of 40 ms passes";
    EXPECT_LE(on, 11) << "0.4 s of 40 ms passes, the last one reaching the time";
    for (int k = first; k < first + on; ++k) EXPECT_EQ(busy[k], 1u) << "one pulse";
}

// The fast/slow preference of the tuner starts in its middle, 50, holds
// there without a command, and moves from there in whole steps.
TEST_F(Program, FastSlowPreferenceStartsAtFiftyAndMovesInWholeSteps) {
    startApp();
    runPasses(P160, 10);
    EXPECT_EQ(real("SPD_CTRL.FAST_SLOW_RAMP.RAMP"), 50.0f);
    EXPECT_EQ(real("SPD_CTRL.FAST_SLOW.A_NAME"), 50.0f);
    serviceWrite("IFACE_IN_SPEED.ADJ_FAST_SLOW.IN_2", 1);
    runPasses(P160, 2);
    EXPECT_EQ(boolean("SPD_CTRL.FAST_SLOW_RAMP.MOVING_UP"), 1u);
    const float ramp = real("SPD_CTRL.FAST_SLOW_RAMP.RAMP");
    EXPECT_GT(ramp, 50.0f);
    EXPECT_LT(ramp, 51.0f);
    EXPECT_EQ(real("SPD_CTRL.FAST_SLOW.A_NAME"), 50.0f) << "0.32 or 0.64 above 50 truncates to 50";
    runPasses(P160, 3);
    EXPECT_EQ(real("SPD_CTRL.FAST_SLOW.A_NAME"), 51.0f);
}

// The remote setpoint inhibit list: with its reset RST set (the default) it
// shows the present inputs only; with RST false it keeps what it latched
// after the input drops, until RST is set again. The input here is "remote
// speed setpoint not used", which the configuration taken in the power-up
// window turns off.
struct InhibitCase {
    const char* name;
    int rst;
    uint32_t keptSel, keptLatch;
    int32_t keptNo;
};
class RemoteInhibit : public Program, public ::testing::WithParamInterface<InhibitCase> {};
TEST_P(RemoteInhibit, ListKeepsWhatItLatchedUntilItsReset) {
    const InhibitCase& c = GetParam();
    startApp();
    tune("RMT_ENBL.RMT_SP_INH.RST", c.rst);
    runPasses(P160, 3);
    EXPECT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_SPD.NOT"), 1u);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.SEL_5"), 1u);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.LATCH1"), 1u);
    EXPECT_EQ(integer("RMT_ENBL.RMT_SP_INH.ALM_NO_5"), 1);
    EXPECT_EQ(integer("RMT_ENBL.RMT_SP_INH.FIRST_ALM"), c.rst ? 5 : 0) << "first-out only in its own pass";
    // The remote speed setpoint configured as used: the input drops.
    tune("CNFG_SETPT.CONFIG_B.IN_2", 1);
    runPasses(P160, 3);
    ASSERT_EQ(boolean("IFACE_IN_SPEED.NO_RMT_SPD.NOT"), 0u);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.LOGICAL_OR"), 0u);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.HORN"), 0u);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.SEL_5"), c.keptSel);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.LATCH1"), c.keptLatch);
    EXPECT_EQ(integer("RMT_ENBL.RMT_SP_INH.ALM_NO_5"), c.keptNo);
    // The reset clears it.
    tune("RMT_ENBL.RMT_SP_INH.RST", 1);
    runPasses(P80, 1);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.SEL_5"), 0u);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.LATCH1"), 0u);
    EXPECT_EQ(integer("RMT_ENBL.RMT_SP_INH.ALM_NO_5"), 0);
}
INSTANTIATE_TEST_SUITE_P(Rst, RemoteInhibit,
                         ::testing::Values(InhibitCase{"ResetEveryPass", 1, 0u, 0u, 0},
                                           InhibitCase{"Latching", 0, 1u, 1u, 1}),
                         [](const ::testing::TestParamInfo<InhibitCase>& i) { return std::string(i.param.name); });

// The tuner's held fault by its text: every abort reason has one, so an
// aborted run never shows "None".
TEST_F(Program, EveryTuningAbortHasItsText) {
    startApp();
    runPasses(P160, 20);  // past the start-up reset, which samples the fault
    const struct {
        int code;
        const char* text;
    } rows[] = {{0, "None"},
                {2, "Noise band too wide for PRC_MV_LMT"},
                {3, "Cycle periods spread too wide"},
                {5, "PRC_MV left SP +/- PRC_MV_LMT"},
                {6, "Analysis timed out"},
                {7, "DRP_MV left DRP_REF +/- DRP_MV_LMT"},
                {20, "DRP_MV_LMT changed"}};
    for (const auto& r : rows) {
        tune("_ub91.HOLD_FLT.TUNE", r.code);
        runPasses(P10, 1);
        EXPECT_EQ(text("_ub91.OPID_FLTS.I_TO_STR"), r.text) << r.code;
    }
    for (int code = 1; code <= 20; ++code) {
        tune("_ub91.HOLD_FLT.TUNE", code);
        runPasses(P10, 1);
        EXPECT_NE(text("_ub91.OPID_FLTS.I_TO_STR"), "None") << code;
    }
}

// The tuner enable follows the service tool's request 0.1 s later (the
// first 40 ms pass at or after it) and drops at once with the enable's
// reset; the tuner's fault reset is the delayed enable or the reset
// command's pulse.
TEST_F(Program, TunerEnableFollowsAfterATenthOfASecondAndResetsTheTunerFault) {
    startApp();
    runPasses(P160, 20);
    ASSERT_EQ(boolean("SPD_CTRL.OPTI_FLT_RST.OR"), 0u);
    tune("SPD_CTRL.TIQ_OPTI_RQST.IN", 1);
    runPasses(P40, 1);
    ASSERT_EQ(boolean("SPD_CTRL.ENA_OPTI.B_ACTION"), 1u);
    int passes = 0;
    while (boolean("SPD_CTRL.ENA_OPTI_DELAY.DELAY") == 0 && passes < 10) {
        EXPECT_EQ(boolean("SPD_CTRL.OPTI_FLT_RST.OR"), 0u) << passes;
        runPasses(P40, 1);
        ++passes;
    }
    EXPECT_EQ(passes, 3);  // 0.12 s
    runPasses(P80, 1);
    EXPECT_EQ(boolean("SPD_CTRL.OPTI_FLT_RST.OR"), 1u) << "the delayed enable resets the tuner's fault";
    tune("SPD_CTRL.TIQ_OPTI_RQST.IN", 0);
    tune("SPD_CTRL.ENA_OPTI.RST_1", 1);
    runPasses(P40, 1);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_OPTI.B_ACTION"), 0u);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_OPTI_DELAY.DELAY"), 0u);
    tune("SPD_CTRL.ENA_OPTI.RST_1", 0);
    runPasses(P80, 1);
    EXPECT_EQ(boolean("SPD_CTRL.OPTI_FLT_RST.OR"), 0u);
    // The reset key: its pulse resets the tuner's fault too.
    key(kResetKey[0], kResetKey[1], true);
    int seen = 0;
    for (int k = 0; k < 6; ++k) {
        runPasses(P80, 1);
        seen += static_cast<int>(boolean("SPD_CTRL.OPTI_FLT_RST.OR"));
        EXPECT_EQ(boolean("SPD_CTRL.OPTI_FLT_RST.OR"), boolean("RESET.RESET.B_NAME")) << k;
    }
    key(kResetKey[0], kResetKey[1], false);
    EXPECT_GT(seen, 0) << "the reset never reached the tuner";
    runPasses(P160, 4);
    EXPECT_EQ(boolean("SPD_CTRL.OPTI_FLT_RST.OR"), 0u);
}

// The tuning enable by its action type, with the shortest run time (10 s):
// the stored and limited type ends its run when the time runs out and takes
// the next request; the time-limited type runs once while the request is
// held; the delayed type enables once the time has run out and stays.
struct EnableCase {
    const char* name;
    int type;
    bool held;
    // The enable at 5 s, 15 s and, after a second request at 20 s, at 25 s.
    uint32_t at5, at15, at25;
};
class TuningEnable : public Program, public ::testing::WithParamInterface<EnableCase> {};
TEST_P(TuningEnable, TheRunEndsOrRepeatsByItsActionType) {
    const EnableCase& c = GetParam();
    startApp();
    tune("SPD_CTRL.ENA_OPTI.ACT_Q", c.type);
    tune("SPD_CTRL.ENA_OPTI.D_TIME", 10.0);
    runPasses(P160, 10);
    ASSERT_EQ(boolean("SPD_CTRL.ENA_OPTI.B_ACTION"), 0u);
    auto seconds = [&](double s) { runPasses(P40, static_cast<uint32_t>(s * 25.0 + 0.5)); };
    auto request = [&] {
        tune("SPD_CTRL.TIQ_OPTI_RQST.IN", 1);
        if (c.held) return;
        seconds(0.2);
        tune("SPD_CTRL.TIQ_OPTI_RQST.IN", 0);
    };
    request();
    seconds(5.0);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_OPTI.B_ACTION"), c.at5);
    seconds(10.0);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_OPTI.B_ACTION"), c.at15);
    seconds(5.0);
    if (!c.held) request();
    seconds(5.0);
    EXPECT_EQ(boolean("SPD_CTRL.ENA_OPTI.B_ACTION"), c.at25);
}
INSTANTIATE_TEST_SUITE_P(Types, TuningEnable,
                         ::testing::Values(EnableCase{"StoredAndLimited", 8, false, 1u, 0u, 1u},
                                           EnableCase{"TimeLimited", 3, true, 1u, 0u, 0u},
                                           EnableCase{"TimeDelayed", 4, true, 0u, 1u, 1u}),
                         [](const ::testing::TestParamInfo<EnableCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace sc_test
