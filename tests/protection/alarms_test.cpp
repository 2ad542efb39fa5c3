// The alarm logic and the latched alarm list through real passes: delays,
// overrides, the automatic acknowledge of the horn, blink, the first-out
// text, the derived conditions, and the list accessors of the service side.
#include <string>
#include <vector>

#include "tests/protection/protection_rig.h"

namespace pr_test {
namespace {

class Alarms : public ProtectionRig {
protected:
    // Alarm 57's condition, the manual demand enabled: the latch held with
    // its permissives in place (configured, speed inside the governor range).
    void start(bool pastPowerUp = true) {
        ProtectionRig::start(pastPowerUp);
        setCell("IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 1);
        setCell("HP_MAN_RAMP.NOT_USED.NOT", 0);
        setCell("CNFG_SETPT.MAX_GOV.A_NAME", 1e6);
        setCell("IFACE_IN_HP_MAN.MAX_GOV.A_NAME", 1e6);
        runPasses(R160, 2);  // the 10 ms group sees them from its next copy
    }
    // Passes of the 40 ms group until alarm n latches, at most `limit`.
    int passesToLatch(int n, int limit) {
        char name[40];
        std::snprintf(name, sizeof name, "ALARMS.ALM_%03d.B_ALARM", n);
        for (int k = 1; k <= limit; ++k) {
            runPasses(R40, 1);
            if (boolean(name) == 1) return k;
        }
        return 0;
    }
    std::string alm(int n) {
        char name[40];
        std::snprintf(name, sizeof name, "ALARMS.ALM_%03d.B_ALARM", n);
        return name;
    }
    void resetAlarms() {
        setCell("RESET.RESET.B_NAME", 1);
        runPasses(R80, 2);
        setCell("RESET.RESET.B_NAME", 0);
        runPasses(R80, 1);
    }
};

struct DelayCase {
    double delay;
    int passes;  // 40 ms passes from the first pass that sees the condition
};
class AlarmDelays : public Alarms, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(AlarmDelays, AnAlarmLatchesInTheFirstPassItsTimerHasReachedTheDelay) {
    start();
    setCell("ALARMS.ALM_DELAYS.IN_57", GetParam().delay);
    runPasses(R160, 2);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
    EXPECT_EQ(passesToLatch(57, 40), GetParam().passes);
    EXPECT_EQ(boolean("ALARMS.ANY.SEL_57"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Delays, AlarmDelays,
                         ::testing::Values(DelayCase{0.0, 1}, DelayCase{0.1, 4}, DelayCase{1.0, 26}),
                         [](const auto& i) { return "Passes" + std::to_string(i.param.passes); });

TEST_F(Alarms, AConditionShorterThanItsDelayNeverLatchesAndItsTimerRestarts) {
    start();
    setCell("ALARMS.ALM_DELAYS.IN_57", 1.0);
    runPasses(R160, 2);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
    runPasses(R40, 24);  // 0.96 s
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 0);
    runPasses(R40, 3);
    EXPECT_EQ(boolean(alm(57)), 0u);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
    EXPECT_EQ(passesToLatch(57, 40), 26) << "the timer started again from 0";
}

TEST_F(Alarms, AnOverridePreventsLatchingAndReleasesALatchedAlarmAtTheNextReset) {
    start();
    setCell("ALARMS.ALM_OVRDS.IN_57", 1);
    runPasses(R160, 2);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
    runPasses(R40, 5);
    EXPECT_EQ(boolean(alm(57)), 0u);
    setCell("ALARMS.ALM_OVRDS.IN_57", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(alm(57)), 1u);
    EXPECT_EQ(boolean("ALARMS.ANY.LATCH_AE"), 1u);
    setCell("ALARMS.ALM_OVRDS.IN_57", 1);
    runPasses(R160, 2);
    resetAlarms();
    EXPECT_EQ(boolean(alm(57)), 0u) << "released although its condition stands";
    EXPECT_EQ(boolean("ALARMS.ANY.SEL_57"), 0u) << "the list follows the released block";
    EXPECT_EQ(boolean("ALARMS.ANY.LATCH_AE"), 0u);
}

TEST_F(Alarms, TheHornAcknowledgesItselfAfterItsDelayOncePerNewAlarm) {
    start();
    setCell("ALARMS.ACK_D.DLY_TIME", 5.0);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
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
    const TimerValue t1 = [] {
        uint16_t id = 0;
        TimerValue t{};
        EXPECT_EQ(GetNextLatchAEInfo(2, 0, &id, &t), 1);
        EXPECT_EQ(id, 103);
        return t;
    }();
    EXPECT_GT(t1.seconds, 0u);
    // A second alarm sounds the horn again and is acknowledged again.
    setCell("BI_MUX.EXT_ALM_1.B_NAME", 1);
    runPasses(R40, 2);
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 1u);
    runPasses(R40, 130);
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 0u);
    uint16_t id = 0;
    TimerValue t2{};
    EXPECT_EQ(GetNextLatchAEInfo(2, 0, &id, &t2), 1);
    EXPECT_EQ(id, 103);
    EXPECT_GT(t2.seconds, t1.seconds);
}

struct BlinkCase {
    const char* name;
    int s2, rstNot, blinkOff;
    uint32_t useBlink, blink;
};
class AlarmBlink : public Alarms, public ::testing::WithParamInterface<BlinkCase> {};

TEST_P(AlarmBlink, TheIndicationBlinksWhereEnabledAndIsSteadyOtherwise) {
    const BlinkCase& c = GetParam();
    start();
    setCell("S_ALARMS.S2.B_NAME", c.s2);
    setCell("RESET.RST_NOT.NOT", c.rstNot);
    setCell("F_KEY.BLINK_OFF.ONE_SHOT", c.blinkOff);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("ALARMS.EN_BLINK.AND"), static_cast<uint32_t>(c.blinkOff));
    EXPECT_EQ(boolean("ALARMS.USE_BLNK.AND"), c.useBlink);
    EXPECT_EQ(boolean("ALARMS.BLINK.B_SW"), c.blink);
}

INSTANTIATE_TEST_SUITE_P(Cases, AlarmBlink,
                         ::testing::Values(BlinkCase{"BlinkOn", 1, 1, 1, 1, 1}, BlinkCase{"BlinkOff", 1, 1, 0, 1, 0},
                                           BlinkCase{"NotEnabled", 0, 1, 0, 0, 1},
                                           BlinkCase{"ResetPulse", 1, 0, 0, 0, 1}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(Alarms, TheBlinkLatchEndsWithTheDelayedResetOnceTheHornIsSilent) {
    start();
    setCell("S_ALARMS.S2.B_NAME", 1);
    setCell("RESET.RST_NOT.NOT", 1);
    setCell("ALARMS.ACK_D.DLY_TIME", 0.2);
    setCell("HP_MAN_ENBL.ENABLED.LATCH_R", 1);
    runPasses(R40, 20);
    EXPECT_EQ(boolean("ALARMS.ANY.HORN"), 0u);
    EXPECT_EQ(boolean("ALARMS.BLNK_LTCH.LATCH"), 1u);
    EXPECT_EQ(boolean("ALARMS.USE_BLNK.AND"), 1u) << "still blinking after the horn stopped";
    setCell("RESET.RST.ONE_SHOT", 1);
    runPasses(R160, 1);
    setCell("RESET.RST.ONE_SHOT", 0);
    runPasses(R160, 8);
    EXPECT_EQ(boolean("ALARMS.BLNK_LTCH.LATCH"), 0u);
    EXPECT_EQ(boolean("ALARMS.BLINK.B_SW"), 1u) << "steady";
}

TEST_F(Alarms, FirstOutTextIsKeptAfterAFirstOutReset) {
    start();
    setCell("ORVEX12_IO.KEYPAD.DISP_BKLT_FLT", 1);
    runPasses(R40, 4);
    EXPECT_EQ(integer("ALARMS.FIRST_OUT.I_NAME"), 14);
    EXPECT_EQ(text("ALARMS.ALM_FO.S_MUX_N_1"), "*\"AL_14 Display Backlight Fault\"'");
    setCell("ALARMS.ANY.FA_RST", 1);
    runPasses(R40, 2);
    EXPECT_EQ(integer("ALARMS.ANY.FIRST_ALM"), 0);
    EXPECT_EQ(text("ALARMS.ALM_FO.S_MUX_N_1"), "*\"AL_14 Display Backlight Fault\"'");
}

struct DiffCase {
    const char* name;
    float demand, feedback;
    uint32_t raise, lower, exceed;
    int rdbkFault;
    uint32_t latched;
};
class HpDifference : public Alarms, public ::testing::WithParamInterface<DiffCase> {};

TEST_P(HpDifference, ThePositionDifferenceAlarmsAfterItsDelayUnlessTheReadbackHasFailed) {
    const DiffCase& c = GetParam();
    start();
    setCell("ALM_LOGIC.ENA_HP_DIFF.IN", 1);
    setCell("ALM_LOGIC.QT_DIFF_DLY.IN", 1.0);
    setCell("ALM_LOGIC.QT_HPDIFF_AMT.IN", 10.0);
    setCell("_ub5.DEMAND.A_NAME", c.demand);
    setCell("AI_MUX.HP_FDBK.A_NAME", c.feedback);
    setCell("AI_MUX.HP_RDBK_FLT.B_NAME", c.rdbkFault);
    runPasses(R160, 12);
    EXPECT_EQ(boolean("ALM_LOGIC.HP_CHK.RAISE_VAL"), c.raise);
    EXPECT_EQ(boolean("ALM_LOGIC.HP_CHK.LOWER_VAL"), c.lower);
    EXPECT_EQ(boolean("ALM_LOGIC.HP_CHK.EXCD_DB_2"), c.exceed);
    EXPECT_EQ(boolean("ALARMS.ALM_053.B_ALARM"), c.latched);
}

INSTANTIATE_TEST_SUITE_P(Cases, HpDifference,
                         ::testing::Values(DiffCase{"Raise", 50, 30, 1, 0, 0, 0, 1},
                                           DiffCase{"Lower", 30, 50, 0, 1, 0, 0, 1},
                                           DiffCase{"WithinAmount", 50, 45, 0, 0, 0, 0, 0},
                                           DiffCase{"RaiseAtAmount", 50, 40, 0, 0, 0, 0, 0},
                                           DiffCase{"LowerAtAmount", 40, 50, 0, 0, 0, 0, 0},
                                           DiffCase{"RaiseBeyondBand", 50, -60, 1, 0, 1, 0, 1},
                                           DiffCase{"LowerBeyondBand", -60, 50, 0, 1, 1, 0, 1},
                                           DiffCase{"ReadbackFailed", 50, 30, 1, 0, 0, 1, 0}),
                         [](const auto& i) { return std::string(i.param.name); });

// Switched off, the check reports nothing, however far apart the two are.
TEST_F(Alarms, TheDisabledPositionCheckReportsNothing) {
    start();
    setCell("ALM_LOGIC.ENA_HP_DIFF.IN", 0);
    setCell("ALM_LOGIC.QT_DIFF_DLY.IN", 0.0);
    setCell("_ub5.DEMAND.A_NAME", 50.0);
    setCell("AI_MUX.HP_FDBK.A_NAME", -60.0);
    runPasses(R160, 4);
    for (const char* c : {"ALM_LOGIC.HP_CHK.RAISE_VAL", "ALM_LOGIC.HP_CHK.LOWER_VAL", "ALM_LOGIC.HP_CHK.EXCD_DB_2",
                          "ALM_LOGIC.HP_DIFF.OR", "ALARMS.ALM_053.B_ALARM"})
        EXPECT_EQ(boolean(c), 0u) << c;
}

TEST_F(Alarms, ASignalFailureAlarmsOnlyWhenItsFunctionIsUsedAndItsAlarmEnabled) {
    start();
    setCell("AI_MUX.VIB_IN1_FLT.B_NAME", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALM_030.B_ALARM"), 0u) << "function not used";
    setCell("AI_MUX.VIB_IN1_USED.B_NAME", 1);
    setCell("ALM_LOGIC.VIB1_FLT.IN_2", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALM_030.B_ALARM"), 0u) << "alarm disabled";
    setCell("ALM_LOGIC.VIB1_FLT.IN_2", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALARMS.ALM_030.B_ALARM"), 1u);
    EXPECT_EQ(text("ALARMS.ALM_FO.S_MUX_N_1"), "*\"AL_30 Vibration Input 1 Failed\"");
}

TEST_F(Alarms, EveryOverrideAndDelayReachesItsAlarmFromItsTunable) {
    start();
    const auto hasOverride = [](int n) { return !((n >= 76 && n <= 81) || (n >= 83 && n <= 99)); };
    const auto hasDelay = [&](int n) { return hasOverride(n) && n != 100; };
    for (int n = 1; n <= 100; ++n) {
        if (hasOverride(n)) setCell("ALARMS.ALM_OVRDS.IN_" + std::to_string(n), 1);
        if (hasDelay(n)) setCell("ALARMS.ALM_DELAYS.IN_" + std::to_string(n), n * 0.5);
    }
    runPasses(R160, 1);
    for (int n = 1; n <= 100; ++n) {
        if (hasOverride(n)) {
            EXPECT_EQ(boolean("ALARMS.ALM_OVRDS.LIST_" + std::to_string(n)), 1u) << n;
        }
        if (hasDelay(n)) {
            EXPECT_EQ(real("ALARMS.ALM_DELAYS.LIST_" + std::to_string(n)), n * 0.5f) << n;
        }
    }
}

struct FailureCase {
    const char* name;
    const char* failed;
    const char* used;
    const char* enable;
    int alarm;
};
class SignalFailures : public Alarms, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SignalFailures, EachFailedInputAlarmsOnlyWhileUsedAndEnabled) {
    const FailureCase& c = GetParam();
    start();
    setCell(c.failed, 1);
    setCell(c.enable, 0);
    setCell(c.used, 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(alm(c.alarm)), 0u) << "not enabled";
    setCell(c.enable, 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(alm(c.alarm)), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, SignalFailures,
    ::testing::Values(
        FailureCase{"RemoteSpeed", "AI_MUX.RMT_SPD_FLT.B_NAME", "AI_MUX.RMT_SPD_USED.B_NAME", "ALM_LOGIC.REMSPDSP_FLT.IN_2", 27},
        FailureCase{"Cascade", "AI_MUX.CASC_IN_FLT.B_NAME", "AI_MUX.CASC_USED.B_NAME", "IFACE_IN_CASC.USE_CASC.B_NAME", 28},
        FailureCase{"RemoteCascade", "AI_MUX.RMT_CASC_FLT.B_NAME", "AI_MUX.RMT_CASC_USED.B_NAME", "ALM_LOGIC.REMCASCSP_FLT.IN_2", 29},
        FailureCase{"Vib2", "AI_MUX.VIB_IN2_FLT.B_NAME", "AI_MUX.VIB_IN2_USED.B_NAME", "ALM_LOGIC.VIB2_FLT.IN_2", 31},
        FailureCase{"Vib3", "AI_MUX.VIB_IN3_FLT.B_NAME", "AI_MUX.VIB_IN3_USED.B_NAME", "ALM_LOGIC.VIB3_FLT.IN_2", 32},
        FailureCase{"Vib4", "AI_MUX.VIB_IN4_FLT.B_NAME", "AI_MUX.VIB_IN4_USED.B_NAME", "ALM_LOGIC.VIB4_FLT.IN_2", 33},
        FailureCase{"Bearing1", "AI_MUX.BTEMP1_FLT.B_NAME", "AI_MUX.BEARTEMP1_USED.B_NAME", "ALM_LOGIC.BTEMP1_FLT.IN_2", 34},
        FailureCase{"Bearing2", "AI_MUX.BTEMP2_FLT.B_NAME", "AI_MUX.BEARTEMP2_USED.B_NAME", "ALM_LOGIC.BTEMP2_FLT.IN_2", 35},
        FailureCase{"Bearing3", "AI_MUX.BTEMP3_FLT.B_NAME", "AI_MUX.BEARTEMP3_USED.B_NAME", "ALM_LOGIC.BTEMP3_FLT.IN_2", 36},
        FailureCase{"Bearing4", "AI_MUX.BTEMP4_FLT.B_NAME", "AI_MUX.BEARTEMP4_USED.B_NAME", "ALM_LOGIC.BTEMP4_FLT.IN_2", 37},
        FailureCase{"Signal1", "AI_MUX.SIG_MON_1_FLT.B_NAME", "AI_MUX.SIG_MON_1_USED.B_NAME", "ALM_LOGIC.SIG_MON_1_FLT.IN_2", 38},
        FailureCase{"Signal2", "AI_MUX.SIG_MON_2_FLT.B_NAME", "AI_MUX.SIG_MON_2_USED.B_NAME", "ALM_LOGIC.SIG_MON_2_FLT.IN_2", 39},
        FailureCase{"Signal3", "AI_MUX.SIG_MON_3_FLT.B_NAME", "AI_MUX.SIG_MON_3_USED.B_NAME", "ALM_LOGIC.SIG_MON_3_FLT.IN_2", 40},
        FailureCase{"HpFeedback", "AI_MUX.HP_RDBK_FLT.B_NAME", "AI_MUX.HP_FDBK_USED.B_NAME", "ALM_LOGIC.HP_FDBK_FLT.IN_2", 41}),
    [](const auto& i) { return std::string(i.param.name); });

// The service side's view: list events first (reset, all cleared,
// acknowledge), then the entries oldest first.
TEST_F(Alarms, AccessorsGiveListEventsThenEntriesAndNothingBeyondTheSize) {
    start();
    setCell("ALARMS.ACK_D.DLY_TIME", 0.2);
    for (const char* c : {"BI_MUX.EXT_ALM_2.B_NAME", "HP_MAN_ENBL.ENABLED.LATCH_R", "BI_MUX.EXT_ALM_1.B_NAME"}) {
        setCell(c, 1);
        runPasses(R40, 1);
    }
    runPasses(R40, 10);  // acknowledged
    resetAlarms();       // clears nothing: every condition stands
    ASSERT_EQ(GetLatchAESize(2), 5);
    ASSERT_EQ(GetLatchAESize(0x302), 5) << "only the low byte names the list";
    const uint16_t want[] = {101, 103, 22, 57, 21};
    for (uint32_t k = 0; k < 5; ++k) {
        uint16_t id = 0;
        TimerValue t{};
        EXPECT_EQ(GetNextLatchAEInfo(2, k, &id, &t), 1) << k;
        EXPECT_EQ(id, want[k]) << k;
        EXPECT_GT(t.seconds, 0u) << k;
    }
    struct Miss {
        uint32_t list, index;
    };
    for (const Miss m : {Miss{2, 5}, Miss{2, 102}, Miss{2, 0xFFFFFFFF}, Miss{0, 0}, Miss{6, 0}, Miss{3, 0}}) {
        uint16_t id = 7;
        TimerValue t{};
        EXPECT_EQ(GetNextLatchAEInfo(m.list, m.index, &id, &t), 0) << m.list << " " << m.index;
    }
    EXPECT_EQ(GetLatchAESize(0), 0);
    EXPECT_EQ(GetLatchAESize(6), 0);
}

TEST_F(Alarms, AResetThatEmptiesTheListStampsAllClearedOneMicrosecondAfterTheReset) {
    start();
    setCell("BI_MUX.EXT_ALM_2.B_NAME", 1);
    runPasses(R40, 2);
    setCell("BI_MUX.EXT_ALM_2.B_NAME", 0);
    resetAlarms();
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
