// The alarm logic and the latched alarm list on the whole program: delays,
// overrides, the automatic acknowledge of the horn, blink, the first-out
// text, the derived conditions, and the list accessors of the service side.
// Driven through the program's inputs: the external alarm contacts, the
// analog loops, the display's backlight, the reset contact and the settings
// and commands of the service tool.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "app/protection/LATCH_AE.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/vkboard.h"
#include "tests/protection/whole_rig.h"

namespace pr_test {
namespace {

using ref_test::R10;
using ref_test::R40;
using ref_test::R80;
using ref_test::R160;
using Settings = std::vector<std::pair<const char*, double>>;

// The spare contacts carry the external alarms: BI08 (discrete input 19)
// "External Alarm 1" (alarm 21), BI07 (discrete input 18) "External Alarm 2"
// (alarm 22).
constexpr int kAlarm1Contact = 19, kAlarm2Contact = 18;
constexpr const char* kAlarm1 = "BI_MUX.EXT_ALM_1.B_NAME";

class Alarms : public WholeRig {
protected:
    void ready(const Settings& extra = {}) {
        Settings s = {{"_ub20.FUNCT.IN", 19}, {"_ub19.FUNCT.IN", 20}};
        s.insert(s.end(), extra.begin(), extra.end());
        // The analog inputs mid-range (a loop at 0 mA has failed).
        for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
        WholeRig::ready(s);
        ASSERT_EQ(boolean("ALARMS.ANY.LATCH_AE"), 0u) << "an alarm stands after the start";
    }
    // External alarm 1's contact closed, and the 10 ms passes until the
    // program's condition has risen.
    void raiseAlarm1() {
        contact(kAlarm1Contact, true);
        ASSERT_GE(passesUntil(kAlarm1, 100), 0);
    }
    void clearAlarm1() {
        contact(kAlarm1Contact, false);
        for (int k = 0; k < 100 && on(kAlarm1); ++k) run10(1);
    }
    // The time of the list's acknowledge event (one of the events ahead of
    // the entries).
    static TimerValue acknowledged() {
        for (uint32_t k = 0; k < 3; ++k) {
            uint16_t id = 0;
            TimerValue t{};
            if (GetNextLatchAEInfo(2, k, &id, &t) == 1 && id == 103) return t;
        }
        ADD_FAILURE() << "no acknowledge event";
        return TimerValue{};
    }
    // Passes of the 40 ms group until alarm n latches, at most `limit`.
    int passesToLatch(int n, int limit) {
        for (int k = 1; k <= limit; ++k) {
            runPasses(R40, 1);
            if (boolean(alm(n)) == 1) return k;
        }
        return 0;
    }
};

// The 40 ms passes from the one after the condition rises: the alarm reads
// it from there, and latches once its timer has reached the delay.
struct DelayCase {
    double delay;
    int passes;
};
class AlarmDelays : public Alarms, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(AlarmDelays, AnAlarmLatchesInTheFirstPassItsTimerHasReachedTheDelay) {
    ready();
    tune("ALARMS.ALM_DELAYS.IN_21", GetParam().delay);
    runPasses(R160, 2);
    raiseAlarm1();
    EXPECT_EQ(passesToLatch(21, 40), GetParam().passes);
    EXPECT_EQ(boolean("ALARMS.ANY.SEL_21"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Delays, AlarmDelays,
                         ::testing::Values(DelayCase{0.0, 1}, DelayCase{0.1, 4}, DelayCase{1.0, 26}),
                         [](const auto& i) { return "Passes" + std::to_string(i.param.passes); });

TEST_F(Alarms, AConditionShorterThanItsDelayNeverLatchesAndItsTimerRestarts) {
    ready();
    tune("ALARMS.ALM_DELAYS.IN_21", 1.0);
    runPasses(R160, 2);
    raiseAlarm1();
    runPasses(R40, 24);  // 0.96 s
    clearAlarm1();
    runPasses(R40, 3);
    EXPECT_EQ(boolean(alm(21)), 0u);
    raiseAlarm1();
    EXPECT_EQ(passesToLatch(21, 40), 26) << "the timer started again from 0";
}

TEST_F(Alarms, AnOverridePreventsLatchingAndReleasesALatchedAlarmAtTheNextReset) {
    ready();
    tune("ALARMS.ALM_OVRDS.IN_21", 1);
    runPasses(R160, 2);
    raiseAlarm1();
    runPasses(R40, 5);
    EXPECT_EQ(boolean(alm(21)), 0u);
    tune("ALARMS.ALM_OVRDS.IN_21", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(alm(21)), 1u);
    EXPECT_EQ(boolean("ALARMS.ANY.LATCH_AE"), 1u);
    tune("ALARMS.ALM_OVRDS.IN_21", 1);
    runPasses(R160, 2);
    reset();
    EXPECT_TRUE(on(kAlarm1)) << "the condition stands";
    EXPECT_EQ(boolean(alm(21)), 0u) << "released although its condition stands";
    EXPECT_EQ(boolean("ALARMS.ANY.SEL_21"), 0u) << "the list follows the released block";
    EXPECT_EQ(boolean("ALARMS.ANY.LATCH_AE"), 0u);
}

TEST_F(Alarms, TheHornAcknowledgesItselfAfterItsDelayOncePerNewAlarm) {
    ready();
    tune("ALARMS.ACK_D.DLY_TIME", 5.0);
    runPasses(R160, 2);
    raiseAlarm1();
    runPasses(R40, 2);
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 1u);
    EXPECT_EQ(boolean("ALARMS.ANY_HORN_ONE_SHOT.ONE_SHOT"), 1u);
    int k = 0;
    while (boolean("ALARMS.ANY.HORN") == 1 && k < 200) {
        runPasses(R40, 1);
        ++k;
    }
    EXPECT_GE(k, 124);  // 5.0 s and one pass for the unit delay, from the second pass
    EXPECT_LE(k, 127);
    const TimerValue t1 = acknowledged();
    EXPECT_GT(t1.seconds, 0u);
    // A second alarm sounds the horn again and is acknowledged again.
    contact(kAlarm2Contact, true);
    ASSERT_GE(passesUntil("BI_MUX.EXT_ALM_2.B_NAME", 100), 0);
    runPasses(R40, 2);
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 1u);
    runPasses(R40, 130);
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 0u);
    const TimerValue t2 = acknowledged();
    EXPECT_GT(uint64_t{t2.seconds} * 1000000 + t2.microsec, uint64_t{t1.seconds} * 1000000 + t1.microsec);
}

// The alarm indication of a latched alarm, the horn still sounding: where
// blinking is enabled (S2) it follows the blink rhythm, in either of its
// phases; while the reset's one-second pulse lasts, and where blinking is
// not enabled, it is steady.
struct BlinkCase {
    const char* name;
    int s2;
    bool inResetPulse;
    uint32_t blinkOff;  // the rhythm's phase looked at
    uint32_t useBlink, blink;
};
class AlarmBlink : public Alarms, public ::testing::WithParamInterface<BlinkCase> {};

TEST_P(AlarmBlink, TheIndicationBlinksWhereEnabledAndIsSteadyOtherwise) {
    const BlinkCase& c = GetParam();
    ready();
    tune("S_ALARMS.S2.IN", c.s2);
    tune("ALARMS.ACK_D.DLY_TIME", 60.0);
    runPasses(R160, 2);
    raiseAlarm1();
    runPasses(R160, 2);
    if (c.inResetPulse) {
        contact(ref_test::kResetContact, true);
        for (int k = 0; k < 100 && on("RESET.RST_NOT.NOT"); ++k) run10(1);
        ASSERT_EQ(boolean("RESET.RST_NOT.NOT"), 0u) << "no reset pulse";
    }
    // The rhythm's phase, in a pass in which the alarm logic has seen it.
    for (int k = 0; k < 40 && boolean("F_KEY.BLINK_OFF.ONE_SHOT") != c.blinkOff; ++k) run160(1);
    run160(1);
    for (int k = 0; k < 40 && boolean("F_KEY.BLINK_OFF.ONE_SHOT") != c.blinkOff; ++k) run160(1);
    runPasses(R40, 1);
    ASSERT_EQ(boolean("F_KEY.BLINK_OFF.ONE_SHOT"), c.blinkOff);
    if (c.inResetPulse) {
        ASSERT_EQ(boolean("RESET.RST_NOT.NOT"), 0u) << "the reset pulse is over";
    }
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 1u);
    EXPECT_EQ(boolean("ALARMS.EN_BLINK.AND"), c.blinkOff);
    EXPECT_EQ(boolean("ALARMS.USE_BLNK.AND"), c.useBlink);
    EXPECT_EQ(boolean("ALARMS.BLINK.B_SW"), c.blink);
}

INSTANTIATE_TEST_SUITE_P(Cases, AlarmBlink,
                         ::testing::Values(BlinkCase{"BlinkOn", 1, false, 1, 1, 1},
                                           BlinkCase{"BlinkOff", 1, false, 0, 1, 0},
                                           BlinkCase{"NotEnabled", 0, false, 0, 0, 1},
                                           BlinkCase{"ResetPulse", 1, true, 0, 0, 1}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(Alarms, TheBlinkLatchEndsWithTheDelayedResetOnceTheHornIsSilent) {
    ready();
    tune("S_ALARMS.S2.IN", 1);
    tune("ALARMS.ACK_D.DLY_TIME", 0.2);
    runPasses(R160, 2);
    raiseAlarm1();
    runPasses(R40, 20);
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 0u);
    EXPECT_EQ(boolean("ALARMS.BLNK_LTCH.LATCH"), 1u);
    EXPECT_EQ(boolean("ALARMS.USE_BLNK.AND"), 1u) << "still blinking after the horn stopped";
    reset();
    runPasses(R160, 8);
    EXPECT_EQ(boolean(alm(21)), 1u) << "its condition stands";
    EXPECT_EQ(boolean("ALARMS.BLNK_LTCH.LATCH"), 0u);
    EXPECT_EQ(boolean("ALARMS.USE_BLNK.AND"), 0u);
    EXPECT_EQ(boolean("ALARMS.BLINK.B_SW"), 1u) << "steady";
}

TEST_F(Alarms, FirstOutTextIsKeptAfterAFirstOutReset) {
    ready();
    board::setBacklightFault(true);
    ASSERT_GE(passesUntil("ORVEX12_IO.KEYPAD.DISP_BKLT_FLT", 100), 0);
    runPasses(R40, 4);
    EXPECT_EQ(integer("ALARMS.FIRST_OUT.I_NAME"), 14);
    EXPECT_EQ(text("ALARMS.ALM_FO.S_MUX_N_1"), "*\"AL_14 Display Backlight Fault\"'");
    tune("ALARMS.ANY.FA_RST", 1);
    runPasses(R40, 2);
    EXPECT_EQ(integer("ALARMS.ANY.FIRST_ALM"), 0);
    EXPECT_EQ(text("ALARMS.ALM_FO.S_MUX_N_1"), "*\"AL_14 Display Backlight Fault\"'");
}

// The HP valve's position feedback on analog input 3, ranged -200 .. 200 %,
// the difference check in use with a 1 s delay, against the actuator's
// demand of a unit ready to start. Each case gives the feedback `by` below
// the demand (a negative `by` is above it) and the amount at `amount`, or,
// for 0, at exactly the difference the program reads.
struct DiffCase {
    const char* name;
    double by, amount;
    uint32_t raise, lower, exceed;
    bool readbackFailed;
    uint32_t latched;
};
class HpDifference : public Alarms, public ::testing::WithParamInterface<DiffCase> {
protected:
    static double ma(double pct) { return 4.0 + 16.0 * (pct + 200.0) / 400.0; }
};

TEST_P(HpDifference, ThePositionDifferenceAlarmsAfterItsDelayUnlessTheReadbackHasFailed) {
    const DiffCase& c = GetParam();
    ready({{"_ub8.FUNCT.IN", 16}, {"_ub8.RANGE_LO.IN", -200.0}, {"_ub8.RANGE_HI.IN", 200.0}});
    const float demand = real("_ub5.DEMAND.A_NAME");
    board::setAnalogInputMa(2, ma(demand - c.by));
    runPasses(R160, 4);
    const float amount = c.amount != 0.0 ? static_cast<float>(c.amount) : std::fabs(demand - real("AI_MUX.HP_FDBK.A_NAME"));
    tune("ALM_LOGIC.ENA_HP_DIFF.IN", 1);
    tune("ALM_LOGIC.QT_DIFF_DLY.IN", 1.0);
    tune("ALM_LOGIC.QT_HPDIFF_AMT.IN", amount);
    if (c.readbackFailed) board::setAnalogInputOpen(2, true);
    runPasses(R160, 12);
    EXPECT_EQ(boolean("AI_MUX.HP_RDBK_FLT.B_NAME"), c.readbackFailed ? 1u : 0u);
    EXPECT_EQ(boolean("ALM_LOGIC.HP_CHK.RAISE_VAL"), c.raise);
    EXPECT_EQ(boolean("ALM_LOGIC.HP_CHK.LOWER_VAL"), c.lower);
    EXPECT_EQ(boolean("ALM_LOGIC.HP_CHK.EXCD_DB_2"), c.exceed);
    EXPECT_EQ(boolean("ALM_LOGIC.HP_POS_ERR.B_ALARM"), c.latched);
    EXPECT_EQ(boolean("ALARMS.ALM_053.B_ALARM"), c.latched);
}

INSTANTIATE_TEST_SUITE_P(Cases, HpDifference,
                         ::testing::Values(DiffCase{"Raise", 20, 10, 1, 0, 0, false, 1},
                                           DiffCase{"Lower", -20, 10, 0, 1, 0, false, 1},
                                           DiffCase{"WithinAmount", 5, 10, 0, 0, 0, false, 0},
                                           DiffCase{"RaiseAtAmount", 10, 0, 0, 0, 0, false, 0},
                                           DiffCase{"LowerAtAmount", -10, 0, 0, 0, 0, false, 0},
                                           DiffCase{"RaiseBeyondBand", 110, 10, 1, 0, 1, false, 1},
                                           DiffCase{"LowerBeyondBand", -110, 10, 0, 1, 1, false, 1},
                                           DiffCase{"ReadbackFailed", 20, 10, 1, 0, 1, true, 0}),
                         [](const auto& i) { return std::string(i.param.name); });

// Switched off, the check reports nothing, however far apart the two are.
TEST_F(Alarms, TheDisabledPositionCheckReportsNothing) {
    ready({{"_ub8.FUNCT.IN", 16}, {"_ub8.RANGE_LO.IN", -200.0}, {"_ub8.RANGE_HI.IN", 200.0}});
    tune("ALM_LOGIC.ENA_HP_DIFF.IN", 0);
    tune("ALM_LOGIC.QT_DIFF_DLY.IN", 0.0);
    board::setAnalogInputMa(2, 4.0);
    runPasses(R160, 4);
    ASSERT_LT(real("AI_MUX.HP_FDBK.A_NAME"), real("_ub5.DEMAND.A_NAME") - 150.0f);
    for (const char* c : {"ALM_LOGIC.HP_CHK.RAISE_VAL", "ALM_LOGIC.HP_CHK.LOWER_VAL", "ALM_LOGIC.HP_CHK.EXCD_DB_2",
                          "ALM_LOGIC.HP_DIFF.OR", "ALARMS.ALM_053.B_ALARM"})
        EXPECT_EQ(boolean(c), 0u) << c;
}

// Vibration input 1's alarm: a failed loop on an input that carries no
// function raises nothing; on the input that carries vibration 1, only with
// its alarm enabled.
TEST_F(Alarms, ASignalFailureAlarmsOnlyWhenItsFunctionIsUsedAndItsAlarmEnabled) {
    ready({{"_ub9.FUNCT.IN", 5}});
    tune("ALM_LOGIC.VIB1_FLT.IN_2", 1);
    board::setAnalogInputOpen(2, true);  // input 3, no function
    runPasses(R160, 4);
    EXPECT_EQ(boolean("ALARMS.ALM_030.B_ALARM"), 0u) << "function not used";
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_FLT.B_NAME"), 0u);
    tune("ALM_LOGIC.VIB1_FLT.IN_2", 0);
    board::setAnalogInputOpen(3, true);  // input 4, vibration 1
    runPasses(R160, 4);
    EXPECT_EQ(boolean("AI_MUX.VIB_IN1_FLT.B_NAME"), 1u);
    EXPECT_EQ(boolean("ALARMS.ALM_030.B_ALARM"), 0u) << "alarm disabled";
    tune("ALM_LOGIC.VIB1_FLT.IN_2", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALM_030.B_ALARM"), 1u);
    EXPECT_EQ(text("ALARMS.ALM_FO.S_MUX_N_1"), "*\"AL_30 Vibration Input 1 Failed\"");
}

TEST_F(Alarms, EveryOverrideAndDelayReachesItsAlarmFromItsTunable) {
    ready();
    // All 100 of each: every override in turn at the bits of its number (no
    // two alike), every delay its own value.
    for (int bit = 0; bit < 7; ++bit) {
        const auto v = [bit](int n) { return static_cast<uint32_t>((n >> bit) & 1); };
        for (int n = 1; n <= 100; ++n) {
            tune("ALARMS.ALM_OVRDS.IN_" + std::to_string(n), v(n));
            if (bit == 0) tune("ALARMS.ALM_DELAYS.IN_" + std::to_string(n), n * 0.5);
        }
        runPasses(R160, 1);
        for (int n = 1; n <= 100; ++n) {
            EXPECT_EQ(boolean("ALARMS.ALM_OVRDS.LIST_" + std::to_string(n)), v(n)) << n << " bit " << bit;
            EXPECT_EQ(real("ALARMS.ALM_DELAYS.LIST_" + std::to_string(n)), n * 0.5f) << n;
        }
    }
}

// Each analog function's failure alarm: the function on analog input k
// (with what its use needs configured), the loop opened; the alarm comes
// only once enabled (from its tunable, or for cascade from its
// configuration entered in configure mode).
struct FailureCase {
    const char* name;
    int input, function;
    const char* enable;  // the alarm's enable tunable (nullptr: cascade's configuration)
    int alarm;
    Settings more;
};
class SignalFailures : public Alarms, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SignalFailures, EachFailedInputAlarmsOnlyWhileUsedAndEnabled) {
    const FailureCase& c = GetParam();
    static const char* const kFunct[4] = {"_ub6.FUNCT.IN", "_ub7.FUNCT.IN", "_ub8.FUNCT.IN", "_ub9.FUNCT.IN"};
    Settings s = {{kFunct[c.input], c.function}};
    s.insert(s.end(), c.more.begin(), c.more.end());
    if (c.enable != nullptr) {
        ready(s);
        tune(c.enable, 0);
    } else {
        // The cascade input without cascade configured is a configuration
        // error: the unit stays tripped.
        for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
        turbine::enable();
        startApp();
        enterSettings(false, false, s);
        runPasses(R160, 20);
        ASSERT_EQ(boolean("AI_MUX.CASC_USED.B_NAME"), 1u);
    }
    board::setAnalogInputOpen(c.input, true);
    runPasses(R160, 4);
    EXPECT_EQ(boolean(alm(c.alarm)), 0u) << "not enabled";
    if (c.enable != nullptr) {
        tune(c.enable, 1);
    } else {
        lockIo();
        tune("CNFG_CASC.CONFIG_B.IN_1", 1);
        runPasses(R160, 5);
        unlockIo();
    }
    runPasses(R160, 4);
    EXPECT_EQ(boolean(alm(c.alarm)), 1u);
}

const Settings kRemoteSpeed = {{"CNFG_SETPT.CONFIG_B.IN_2", 1},
                               {"_ub6.RANGE_LO.IN", ref_test::kMinGov},
                               {"_ub6.RANGE_HI.IN", ref_test::kMaxGov},
                               {"RMT_SETPT.MIN_SPD.TUNE", ref_test::kMinGov},
                               {"RMT_SETPT.MAX_SPD.TUNE", ref_test::kMaxGov}};
const Settings kCascadeRange = {{"CNFG_CASC.CONFIG_A.IN_4", ref_test::kMinGov},
                                {"CNFG_CASC.CONFIG_A.IN_5", ref_test::kMaxGov}};
const Settings kRemoteCascade = {{"CNFG_CASC.CONFIG_B.IN_1", 1},
                                 {"CNFG_CASC.CONFIG_A.IN_4", ref_test::kMinGov},
                                 {"CNFG_CASC.CONFIG_A.IN_5", ref_test::kMaxGov},
                                 {"CNFG_CASC.CONFIG_B.IN_4", 1},
                                 {"_ub7.FUNCT.IN", 3}};

INSTANTIATE_TEST_SUITE_P(
    Inputs, SignalFailures,
    ::testing::Values(FailureCase{"RemoteSpeed", 0, 2, "ALM_LOGIC.REMSPDSP_FLT.IN_2", 27, kRemoteSpeed},
                      FailureCase{"Cascade", 1, 3, nullptr, 28, kCascadeRange},
                      FailureCase{"RemoteCascade", 2, 4, "ALM_LOGIC.REMCASCSP_FLT.IN_2", 29, kRemoteCascade},
                      FailureCase{"Vib2", 0, 6, "ALM_LOGIC.VIB2_FLT.IN_2", 31, {}},
                      FailureCase{"Vib3", 1, 7, "ALM_LOGIC.VIB3_FLT.IN_2", 32, {}},
                      FailureCase{"Vib4", 2, 8, "ALM_LOGIC.VIB4_FLT.IN_2", 33, {}},
                      FailureCase{"Bearing1", 3, 9, "ALM_LOGIC.BTEMP1_FLT.IN_2", 34, {}},
                      FailureCase{"Bearing2", 0, 10, "ALM_LOGIC.BTEMP2_FLT.IN_2", 35, {}},
                      FailureCase{"Bearing3", 1, 11, "ALM_LOGIC.BTEMP3_FLT.IN_2", 36, {}},
                      FailureCase{"Bearing4", 2, 12, "ALM_LOGIC.BTEMP4_FLT.IN_2", 37, {}},
                      FailureCase{"Signal1", 3, 13, "ALM_LOGIC.SIG_MON_1_FLT.IN_2", 38, {}},
                      FailureCase{"Signal2", 0, 14, "ALM_LOGIC.SIG_MON_2_FLT.IN_2", 39, {}},
                      FailureCase{"Signal3", 1, 15, "ALM_LOGIC.SIG_MON_3_FLT.IN_2", 40, {}},
                      FailureCase{"HpFeedback", 2, 16, "ALM_LOGIC.HP_FDBK_FLT.IN_2", 41, {}}),
    [](const auto& i) { return std::string(i.param.name); });

// The service side's view: list events first (reset, all cleared,
// acknowledge), then the entries oldest first.
TEST_F(Alarms, AccessorsGiveListEventsThenEntriesAndNothingBeyondTheSize) {
    ready();
    tune("ALARMS.ACK_D.DLY_TIME", 0.2);
    runPasses(R160, 2);
    contact(kAlarm2Contact, true);
    ASSERT_GE(passesUntil("ALARMS.ANY.SEL_22", 100), 0);
    tune("ALARMS.TUNABLE_ALARM.IN", 1);
    ASSERT_GE(passesUntil("ALARMS.ANY.SEL_82", 100), 0);
    raiseAlarm1();
    ASSERT_GE(passesUntil("ALARMS.ANY.SEL_21", 100), 0);
    runPasses(R40, 10);  // acknowledged
    reset();             // clears nothing: every condition stands
    // The all-cleared event is the one of the reset that readied the unit.
    ASSERT_EQ(GetLatchAESize(2), 6);
    ASSERT_EQ(GetLatchAESize(0x302), 6) << "only the low byte names the list";
    const uint16_t want[] = {101, 102, 103, 22, 82, 21};
    for (uint32_t k = 0; k < 6; ++k) {
        uint16_t id = 0;
        TimerValue t{};
        EXPECT_EQ(GetNextLatchAEInfo(2, k, &id, &t), 1) << k;
        EXPECT_EQ(id, want[k]) << k;
        EXPECT_GT(t.seconds, 0u) << k;
    }
    struct Miss {
        uint32_t list, index;
    };
    for (const Miss m : {Miss{2, 6}, Miss{2, 102}, Miss{2, 0xFFFFFFFF}, Miss{0, 0}, Miss{6, 0}, Miss{3, GetLatchAESize(3)}}) {
        uint16_t id = 7;
        TimerValue t{};
        EXPECT_EQ(GetNextLatchAEInfo(m.list, m.index, &id, &t), 0) << m.list << " " << m.index;
    }
    EXPECT_EQ(GetLatchAESize(0), 0);
    EXPECT_EQ(GetLatchAESize(6), 0);
}

TEST_F(Alarms, AResetThatEmptiesTheListStampsAllClearedOneMicrosecondAfterTheReset) {
    ready();
    contact(kAlarm2Contact, true);
    ASSERT_GE(passesUntil("ALARMS.ANY.SEL_22", 100), 0);
    contact(kAlarm2Contact, false);
    runPasses(R160, 2);
    reset();
    ASSERT_EQ(GetLatchAESize(2), 2);
    uint16_t id[2] = {};
    TimerValue t[2] = {};
    for (int k = 0; k < 2; ++k) ASSERT_EQ(GetNextLatchAEInfo(2, k, &id[k], &t[k]), 1);
    EXPECT_EQ(id[0], 101);
    EXPECT_EQ(id[1], 102);
    const uint64_t reset = uint64_t{t[0].seconds} * 1000000 + t[0].microsec;
    const uint64_t cleared = uint64_t{t[1].seconds} * 1000000 + t[1].microsec;
    EXPECT_EQ(cleared, reset + 1);
    EXPECT_LT(t[1].microsec, 1000000u);
    EXPECT_EQ(boolean("ALARMS.ANY.LATCH_AE"), 0u);
    EXPECT_EQ(boolean("ALARMS.ALL_CLEAR.NOT"), 1u);
}

}  // namespace
}  // namespace pr_test
