// The 80 ms speed-interface pieces on the whole program: the remote speed
// setpoint's filter, deadband and match window (the setpoint on the
// controller's analog input 1 over the governor range), the remote
// selection's disable and entry enable, the remote-cascade inhibit list,
// the minimum-governor flags and the power-up message timing. Settings and
// commands as the service tool writes them, contacts on the board, the
// turbine model behind the speed sensors.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "tests/interface/operator_rig.h"
#include "tests/interface/program_cases_rig.h"

namespace op_test {
namespace {

constexpr double kGovLo = 3000.0, kGovHi = 3800.0;  // the governor range of the rigs
constexpr float kT = 0.08f;
// The filter's gain at the shortest time constant.
const float kMinTauGain = kT / (2.0f * 0.05095541f + kT);

// The remote speed setpoint in use on analog input 1, its range the
// governor range (4 .. 20 mA).
class RemoteSetpointProgram : public pc_test::ProgramCases {
protected:
    static double mA(double rpm) { return 4.0 + (rpm - kGovLo) / (kGovHi - kGovLo) * 16.0; }
    void remote(double rpm) { board::setAnalogInputMa(0, mA(rpm)); }
    Settings remoteSettings(const Settings& extra = {}) {
        Settings all = {{"CNFG_SETPT.CONFIG_B.IN_2", 1},
                        {"_ub6.FUNCT.IN", 2},
                        {"_ub6.RANGE_LO.IN", kGovLo},
                        {"_ub6.RANGE_HI.IN", kGovHi}};
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    }
    float x() { return real("RMT_SETPT.A_LIMITER.A_LIMITER"); }
    float lag() { return real("RMT_SETPT.LAG.LAG_2"); }
    float deriv() { return real("RMT_SETPT.LAG.DERIV"); }
    float dead() { return real("RMT_SETPT.RMT_DEAD.A_DEADBAND"); }

    // The filter followed pass by pass: each pass it runs, the lag moves by
    // k (x + x_prev - 2 lag), the derivative is that step over the period
    // and the previous input is this pass's; a pass it does not run leaves
    // all three. Returns the passes it ran.
    struct Model {
        float lag = 0, xprev = 0;
        int ran = 0, firsts = 0;
    };
    void follow(Model& m, float k, int passes, bool mustRun) {
        for (int p = 0; p < passes; ++p) {
            runPasses(R80, 1);
            const float in = x(), now = lag();
            const float d = k * (in + m.xprev - 2.0f * m.lag);
            const bool ran = std::fabs(now - (m.lag + d)) <= 1e-4f * std::max(1.0f, std::fabs(now));
            if (!ran) {
                EXPECT_FALSE(mustRun) << "pass " << p << ": lag " << now << ", expected " << m.lag + d << " from "
                                      << in;
                EXPECT_EQ(now, m.lag) << "pass " << p << ": the lag moved otherwise";
                continue;
            }
            if (m.ran == 0 && in != 0.0f) {
                // The first step of the input counts once (the previous input was 0).
                EXPECT_NEAR(now, k * in, 1e-3f * std::fabs(in));
                ++m.firsts;
            }
            EXPECT_NEAR(deriv(), d / kT, 1e-3f * std::max(1.0f, std::fabs(d / kT))) << "pass " << p;
            m.lag = now;
            m.xprev = in;
            m.ran += in != 0.0f || m.ran > 0 ? 1 : 0;
        }
    }
    // Passes until the filtered value has settled on the input.
    void settle() {
        ASSERT_GE(passesUntil(R80, [this] { return std::fabs(lag() - x()) < 0.001f; }, 400), 0)
            << lag() << " never reached " << x();
    }
};

// Started with the shortest time constant (0) and no deadband, the input
// at 3410 rpm: the filter's first step and every step after, with a
// negative time constant as well; then the deadband of 10 rpm, moved only
// when the filtered value leaves the band; then configure mode taken with
// the remote setpoint no longer in use: the filter holds while the input
// moves, and the switch still follows its own setting.
TEST_F(RemoteSetpointProgram, FilterDeadbandAndHoldWhenNotInUse) {
    EXPECT_NEAR(kMinTauGain, 0.44f, 0.001f);
    remote(3410.0);
    turbine::enable();
    startApp();
    enterSettings(false, false,
                  remoteSettings({{"IFACE_IN_SPEED.RMT_SPD_LAGTAU.IN", 0.0}, {"IFACE_IN_SPEED.RMT_SPD_DB.IN", 0.0}}));
    Model m;
    follow(m, kMinTauGain, 40, false);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
    EXPECT_EQ(m.firsts, 1) << "the filter never started";
    follow(m, kMinTauGain, 40, true);
    EXPECT_NEAR(x(), 3410.0f, 0.1f);
    EXPECT_NEAR(lag(), x(), 0.01f);
    // A deadband of 0: the output is the filtered value every pass.
    for (int p = 0; p < 5; ++p) {
        follow(m, kMinTauGain, 1, true);
        EXPECT_FLOAT_EQ(dead(), lag());
    }
    // A step of the input, and a negative time constant (which the service
    // tool refuses) raised the same way.
    remote(3600.0);
    follow(m, kMinTauGain, 30, true);
    pokeTunable("IFACE_IN_SPEED.RMT_SPD_LAGTAU.IN", -3.0);
    runPasses(R160, 2);
    m.lag = lag();
    m.xprev = x();
    remote(3410.0);
    follow(m, kMinTauGain, 30, true);
    EXPECT_FLOAT_EQ(dead(), lag());
    tune("IFACE_IN_SPEED.RMT_SPD_LAGTAU.IN", 0.0);
    settle();
    const float base = dead();
    EXPECT_NEAR(base, 3410.0f, 0.1f);

    // The deadband: the output moves only when the filtered value leaves
    // the band of 10 rpm around it.
    tune("IFACE_IN_SPEED.RMT_SPD_DB.IN", 10.0);
    runPasses(R160, 2);
    struct {
        double in;
        float out;
    } steps[] = {{5.0, 0.0f}, {10.0, 0.0f}, {25.0, 15.0f}, {20.0, 15.0f}, {8.0, 15.0f}, {0.0, 10.0f}};
    for (const auto& s : steps) {
        remote(base + s.in);
        runPasses(R80, 5);
        settle();
        ASSERT_NEAR(lag(), base + static_cast<float>(s.in), 0.05f);
        EXPECT_NEAR(dead(), base + s.out, 0.05f) << s.in;
    }
    tune("IFACE_IN_SPEED.RMT_SPD_DB.IN", 0.0);
    remote(3500.0);
    runPasses(R80, 5);
    settle();

    // Not in use: taken out in configure mode (shut down first).
    trip();
    runPasses(R160, 4);
    enterConfigureMode();
    tune("CNFG_SETPT.CONFIG_B.IN_2", 0);
    ASSERT_GE(passesUntil(R80, [this] { return boolean("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME") == 0; }, 40), 0);
    runPasses(R80, 3);
    const float held = lag(), heldDeriv = deriv(), out = dead();
    remote(3100.0);
    runPasses(R80, 20);
    EXPECT_NE(x(), held) << "the input did not move";
    EXPECT_EQ(lag(), held);
    EXPECT_EQ(deriv(), heldDeriv);
    EXPECT_EQ(dead(), out);
    EXPECT_EQ(real("SPDC.RMT_SPD_KW_SW.A_SW"), out);
    tune("SPDC.RMT_SPD_KW_SW.CTRL", 1);
    runPasses(R80, 1);
    EXPECT_EQ(real("SPDC.RMT_SPD_KW_SW.A_SW"), 0.0f);
}

// In control at minimum governor with the remote setpoint and cascade
// configured (the remote setpoint at 3400 rpm, no filter lag, no deadband):
// the match window half a percent around the remote setpoint, the
// reference taken by the service tool's go-to to inside the window, onto
// its edges and half an rpm past them; then the remote selection's disable
// and entry enable through the states that give their inputs: running
// without remote or cascade, cascade enabled, remote enabled (selected
// after its one-second delay, as the remote selection's switch is set)
// while
// the reference is outside the window and once it is in control, and shut
// down.
class RemoteMatchProgram : public RemoteSetpointProgram {
protected:
    // The reference taken to `target` by the service tool's go-to.
    void goTo(float target) {
        tune("ENTR_SETPT.ENTR_SETPT.TUNE", target);
        runPasses(R160, 2);
        pulse("IFACE_IN_SPEED.GOTO_ENTR_SP.IN", R160);
        ASSERT_GE(passesUntil(R80, [&] { return ref() == target && real("SPDC.SPEED_REF.RAMP") == target; }, 2000), 0)
            << "the reference " << ref() << " never reached " << target;
        runPasses(R80, 2);
    }
};

TEST_F(RemoteMatchProgram, MatchWindowAndTheRemoteSelectionsDisableAndEntryEnable) {
    startWithRemoteAndCascade({{"IFACE_IN_SPEED.RMT_SPD_LAGTAU.IN", 0.0}, {"IFACE_IN_SPEED.RMT_SPD_DB.IN", 0.0}});
    startToInControl();
    const float sp = real("SPDC.RMT_SPD_KW_SW.A_SW");
    ASSERT_NEAR(sp, 3400.0f, 0.1f);
    EXPECT_EQ(dead(), sp);
    const float window = sp * 0.005f, hi = sp + window, lo = sp - window;
    struct {
        const char* name;
        float ref;
        uint32_t hi, lo, hi_eq, lo_eq;
    } rows[] = {{"inside", std::round(sp), 1, 1, 0, 0},  {"at_the_top", hi, 1, 1, 1, 0},
                {"above", hi + 0.5f, 0, 1, 0, 0},         {"at_the_bottom", lo, 1, 1, 0, 1},
                {"below", lo - 0.5f, 1, 0, 0, 0}};
    for (const auto& r : rows) {
        goTo(r.ref);
        EXPECT_FLOAT_EQ(real("REMOTE.MATCH_WINDOW.MULTIPLY"), window);
        EXPECT_FLOAT_EQ(real("REMOTE.HI_MATCH.ADD"), hi);
        EXPECT_FLOAT_EQ(real("REMOTE.LO_MATCH.SUBTRACT"), lo);
        EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_COMPARE"), r.hi) << r.name;
        EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_COMPARE"), r.lo) << r.name;
        EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_EQUAL"), r.hi_eq) << r.name;
        EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_EQUAL"), r.lo_eq) << r.name;
    }

    const auto selection = [&](const char* state, uint32_t not_rmt, uint32_t disable, uint32_t entry) {
        EXPECT_EQ(boolean("REMOTE.NOT_RMT.NOT"), not_rmt) << state;
        EXPECT_EQ(boolean("REMOTE.DISABLE.OR"), disable) << state;
        EXPECT_EQ(boolean("REMOTE.ENTR_ENBL.AND"), entry) << state;
    };
    // Running, neither remote nor cascade.
    ASSERT_EQ(boolean("START.RUN_CMD.LATCH_R"), 1u);
    ASSERT_EQ(boolean("CASC_RATE.N_CASC_EN.NOT"), 1u);
    selection("running", 1, 1, 1);
    // Cascade enabled.
    pulse("IFACE_IN_CASC.ENA_DIS.IN_1", R160);
    ASSERT_GE(passesUntil(R80, [&] { return boolean("CASC_RATE.N_CASC_EN.NOT") == 0; }, 40), 0);
    runPasses(R80, 1);
    selection("cascade", 1, 1, 0);
    pulse("IFACE_IN_CASC.ENA_DIS.IN_2", R160);
    ASSERT_GE(passesUntil(R80, [&] { return boolean("CASC_RATE.N_CASC_EN.NOT") != 0; }, 40), 0);
    runPasses(R80, 1);
    selection("cascade off", 1, 1, 1);
    // Remote enabled and selected, the reference 200 rpm below the remote
    // setpoint: it moves toward it, and once in the window the remote is in
    // control from the next pass on.
    goTo(std::round(sp) - 200.0f);
    pulse("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", R40);
    ASSERT_GE(passesUntil(R80, [&] { return boolean("REMOTE.REM_SEL_SW.B_SW") != 0; }, 40), 0) << "never selected";
    ASSERT_EQ(boolean("REMOTE.IN_CNTRL.AND"), 0u);
    ASSERT_EQ(boolean("REMOTE.ZSEL.ZMINUS1_B"), 0u);
    selection("selected", 0, 0, 0);
    ASSERT_GE(passesUntil(R80, [&] { return boolean("REMOTE.IN_CNTRL.AND") != 0; }, 400), 0) << "never matched";
    EXPECT_EQ(boolean("REMOTE.DISABLE.OR"), 0u);
    runPasses(R80, 1);
    ASSERT_EQ(boolean("REMOTE.ZSEL.ZMINUS1_B"), 1u);
    selection("in control", 0, 1, 0);
    // Shut down: not running, the remote no longer selected.
    trip();
    ASSERT_GE(passesUntil(R80, [&] { return boolean("START.RUN_CMD.LATCH_R") == 0; }, 40), 0);
    ASSERT_GE(passesUntil(R80, [&] { return boolean("REMOTE.REM_SEL_SW.B_SW") == 0; }, 40), 0);
    runPasses(R80, 2);
    ASSERT_EQ(boolean("CASC_RATE.N_CASC_EN.NOT"), 1u);
    selection("shut down", 1, 1, 0);
}

// The remote-cascade inhibit list on a unit with cascade (process value on
// analog input 2) and remote cascade (its setpoint on analog input 3)
// configured, ready to start. Its inputs: shut down, the cascade inhibited,
// the remote cascade input failed, remote cascade not configured.
class InhibitList : public RemoteSetpointProgram {
protected:
    void startCascade(bool remoteCascade) {
        board::setAnalogInputMa(2, 14.0);
        Settings extra;
        if (remoteCascade)
            extra = {{"CNFG_CASC.CONFIG_B.IN_4", 1}, {"_ub8.FUNCT.IN", 4}, {"_ub8.RANGE_LO.IN", 0.0},
                     {"_ub8.RANGE_HI.IN", 100.0}};
        startWithRemoteAndCascade(extra);
    }
    // The inputs as the list sees them.
    std::string inputs() {
        std::string s;
        for (const char* c : {"SHUTDOWNS.ANY_SD.B_NAME", "CASC_ENBL.INHIBITED.LATCH1",
                              "IFACE_IN_CASC.RMT_CASC_FLT.B_NAME", "IFACE_IN_CASC.CASC_RMT_N.NOT"})
            s += std::to_string(boolean(c));
        return s;
    }
    // Passes until the inputs read `want`; the first alarm of each pass is
    // gathered (its largest) and the first alarm of the pass in which
    // `input` (1 .. 4) first showed.
    void until(const std::string& want, int input = 0) {
        first_ = 0;
        firstOf_ = -1;
        for (int k = 0; k < 400; ++k) {
            runPasses(R80, 1);
            first_ = std::max(first_, integer("RMT_CAS_EN.RCASC_IH.FIRST_ALM"));
            if (input > 0 && firstOf_ < 0 && boolean("RMT_CAS_EN.RCASC_IH.SEL_" + std::to_string(input)) != 0)
                firstOf_ = integer("RMT_CAS_EN.RCASC_IH.FIRST_ALM");
            if (inputs() == want) {
                // The list follows in the same pass; one more pass.
                runPasses(R80, 1);
                first_ = std::max(first_, integer("RMT_CAS_EN.RCASC_IH.FIRST_ALM"));
                ASSERT_EQ(inputs(), want);
                return;
            }
        }
        FAIL() << "the inputs never read " << want << ": " << inputs();
    }
    int32_t first_ = 0, firstOf_ = -1;
    std::string sel() {
        std::string s;
        for (int n = 1; n <= 4; ++n) s += std::to_string(boolean("RMT_CAS_EN.RCASC_IH.SEL_" + std::to_string(n)));
        return s;
    }
    std::string numbers() {
        std::string s;
        for (int n = 1; n <= 4; ++n) s += std::to_string(integer("RMT_CAS_EN.RCASC_IH.ALM_NO_" + std::to_string(n)));
        return s;
    }
};

// With the default reset the list shows the present inputs, numbered in
// their order: both analog loops broken at once (the cascade inhibited by
// its failed process value, the remote cascade input failed), mended and
// reset; then the program started again without remote cascade.
TEST_F(InhibitList, WithTheDefaultResetTheListShowsThePresentInputs) {
    startCascade(true);
    until("0000");
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LOGICAL_OR"), 0u);
    board::setAnalogInputMa(1, 1.0);
    board::setAnalogInputMa(2, 1.0);
    until("0110");
    EXPECT_EQ(sel(), "0110");
    EXPECT_EQ(numbers(), "0120");
    EXPECT_EQ(first_, 2);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.HORN"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 1u);
    board::setAnalogInputMa(1, 12.0);
    board::setAnalogInputMa(2, 14.0);
    runPasses(R160, 4);
    reset();
    until("0000");
    EXPECT_EQ(sel(), "0000");
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.HORN"), 0u);
    stopApp();
    startCascade(false);
    until("0001");
    EXPECT_EQ(sel(), "0001");
    EXPECT_EQ(first_, 4);
}

// Without the reset inputs latch in their order: the remote cascade input
// failed (then mended and reset), a trip (shut down, and with it the
// cascade inhibited), the trip cleared, a trip again, then the reset.
TEST_F(InhibitList, WithoutTheResetInputsLatchInTheirOrder) {
    startCascade(true);
    tune("RMT_CAS_EN.RCASC_IH.RST", 0);
    board::setAnalogInputMa(2, 1.0);
    until("0010");
    EXPECT_EQ(first_, 3);
    board::setAnalogInputMa(2, 14.0);
    runPasses(R160, 4);
    reset();
    until("0000");
    trip();
    until("1100", 1);
    // The new input is the first of its pass; the earlier one stays latched.
    EXPECT_EQ(firstOf_, 1);
    EXPECT_EQ(sel(), "1110");
    EXPECT_EQ(integer("RMT_CAS_EN.RCASC_IH.ALM_NO_1"), 1);
    EXPECT_EQ(integer("RMT_CAS_EN.RCASC_IH.ALM_NO_3"), 1);
    EXPECT_EQ(integer("RMT_CAS_EN.RCASC_IH.ALM_NO_4"), 0);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LOGICAL_OR"), 1u);
    clearTrip();
    until("0000");
    EXPECT_EQ(sel(), "1110");
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.HORN"), 0u);
    EXPECT_EQ(first_, 0);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LOGICAL_OR"), 0u);
    // A latched input that comes again does not latch twice.
    trip();
    int horn = 0;
    for (int k = 0; k < 10; ++k) {
        runPasses(R80, 1);
        horn += static_cast<int>(boolean("RMT_CAS_EN.RCASC_IH.HORN"));
    }
    ASSERT_EQ(inputs(), "1100");
    EXPECT_EQ(horn, 0);
    clearTrip();
    tune("RMT_CAS_EN.RCASC_IH.RST", 1);
    until("0000");
    EXPECT_EQ(sel(), "0000");
    EXPECT_EQ(numbers(), "0000");
}

// Kept on the slices: the governor range limits the remote setpoint, so
// no input gives one that is no number, infinite or near the float range.
class RemoteSetpointSlices : public OperatorRig {
protected:
    void useRemote(double lag_tau, double deadband) {
        setCell("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME", 1);
        setCell("IFACE_IN_SPEED.RMT_SPD_LAGTAU.A_NAME", lag_tau);
        setCell("IFACE_IN_SPEED.RMT_SPD_DB.A_NAME", deadband);
        runPasses(R80, 3);
    }
    float lag() { return real("RMT_SETPT.LAG.LAG_2"); }
    float dead() { return real("RMT_SETPT.RMT_DEAD.A_DEADBAND"); }
};

TEST_F(RemoteSetpointSlices, FailedRemoteSignalIsFilteredAsZero) {
    start();
    useRemote(1.0, 0.0);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 500.0);
    runPasses(R80, 200);
    ASSERT_NEAR(lag(), 500.0f, 0.5f);
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        setCell("RMT_SETPT.A_LIMITER.A_LIMITER", bad);
        runPasses(R80, 200);
        EXPECT_TRUE(std::isfinite(lag()));
        EXPECT_NEAR(lag(), 0.0f, 0.5f) << bad;
        EXPECT_TRUE(std::isfinite(real("RMT_SETPT.LAG.DERIV")));
        EXPECT_TRUE(std::isfinite(dead()));
        setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 500.0);
        runPasses(R80, 200);
        EXPECT_NEAR(lag(), 500.0f, 0.5f) << bad;
    }
}

TEST_F(RemoteSetpointSlices, AnOverflowingFilterStartsAgainFromZero) {
    start();
    useRemote(0.0, 0.0);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 3.0e38);
    runPasses(R80, 1);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", -3.0e38);
    runPasses(R80, 1);
    EXPECT_TRUE(std::isfinite(lag()));
    EXPECT_TRUE(std::isfinite(real("RMT_SETPT.LAG.DERIV")));
}

// The power-up message from the program's first pass: its one-second pulse
// once the power-up delay is up, and the complete flag one second later.
TEST_F(RemoteSetpointProgram, PowerUpMessageAndCompleteFlag) {
    startApp();
    int shown = 0, up = -1, complete = -1;
    for (int p = 0; p < 40; ++p) {
        if (up < 0 && boolean("PWR_UP_MSG.PWR_UP_DLY.DELAY") != 0) up = p;
        if (complete < 0 && boolean("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY") != 0) complete = p;
        shown += static_cast<int>(boolean("PWR_UP_MSG.INI_DSPLY.ONE_SHOT"));
        runPasses(R80, 1);
    }
    ASSERT_GE(up, 0);
    EXPECT_LE(up, 2);
    EXPECT_EQ(shown, 13);
    EXPECT_EQ(complete, up + 13);
    EXPECT_EQ(boolean("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY"), 1u);
}

// Kept on the slices: the power-up delay's input is a constant 1, so no
// input takes the delay back down.
TEST_F(RemoteSetpointSlices, TheCompleteFlagFallsWithThePowerUpDelay) {
    start();
    setCell("PWR_UP_MSG.PWR_UP_DLY.DELAY", 1);
    runPasses(R80, 20);
    EXPECT_EQ(boolean("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY"), 1u);
    setCell("PWR_UP_MSG.PWR_UP_DLY.DELAY", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY"), 0u);
}

// The minimum governor (3200 rpm, a speed the probes measure exactly)
// against the setpoint through a start and a raise, and against the held
// speed; below idle (1000 rpm less 5.5 with the default hysteresis) the
// speed is under idle.
TEST_F(RemoteSetpointProgram, MinimumGovernorAgainstSetpointAndSpeed) {
    start(false, false, {{"CNFG_SETPT.QT_MIN_GOV.IN", 3200.0}});
    runPasses(R80, 3);
    EXPECT_EQ(real("CNFG_SETPT.MIN_GOV.A_NAME"), 3200.0f);
    const auto setpointRow = [&](uint32_t cmp, uint32_t eq) {
        const float sp = real("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME");
        EXPECT_EQ(boolean("MPU.SETPT_MIN.A_COMPARE"), cmp) << sp;
        EXPECT_EQ(boolean("MPU.SETPT_MIN.A_EQUAL"), eq) << sp;
    };
    startCommand();
    ASSERT_GE(passesUntil(R80, [&] { return ref() > 2000.0f; }, 2000), 0);
    runPasses(R80, 2);
    setpointRow(1, 0);
    ASSERT_GE(passesUntil(R80, [&] { return step("A08_STEP"); }, 3000), 0) << "never in control";
    runPasses(R80, 4);
    ASSERT_EQ(ref(), 3200.0f);
    setpointRow(1, 1);
    contact(ref_test::kRaiseContact, true);
    ASSERT_GE(passesUntil(R80, [&] { return ref() >= 3500.0f; }, 2000), 0);
    contact(ref_test::kRaiseContact, false);
    runPasses(R80, 2);
    setpointRow(0, 0);
    struct {
        double speed;
        uint32_t cmp, eq;
    } rows[] = {{2500, 1, 0}, {3200, 1, 1}, {3201, 0, 0}};
    for (const auto& r : rows) {
        holdShaftAt(r.speed);
        runPasses(R80, 12);
        const float v = real("MPU.TURB_SPD.A_NAME");
        EXPECT_EQ(boolean("MPU.SPD_LT_MIN.A_COMPARE"), r.cmp) << r.speed << " measured " << v;
        EXPECT_EQ(boolean("MPU.SPD_LT_MIN.A_EQUAL"), r.eq) << r.speed << " measured " << v;
    }
    EXPECT_EQ(boolean("MPU.SPD_LT_IDL.NOT"), 0u);
    holdShaftAt(990.0);
    runPasses(R80, 12);
    EXPECT_EQ(boolean("MPU.SPD_LT_IDL.NOT"), 1u);
}

}  // namespace
}  // namespace op_test
