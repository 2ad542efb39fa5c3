// The thirty trips and the latched shutdown list through real passes: each
// trip latches with its first-out text and raises the shutdown signal, whose
// input to the valve demand select wins over the speed PID's demand and
// drives the demand to zero; overrides, reset and acknowledge, the order of the
// list and its first-out, and the history of the last five shutdowns.
#include <cstdio>
#include <string>
#include <vector>

#include "app/control/HP_DRIVER.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/IFACE_OUT_SPEED.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "runtime/tune_side_effects.h"
#include "tests/protection/protection_rig.h"

namespace pr_test {
namespace {

struct Raise {
    const char* cell;
    double value;
};
struct TripCase {
    int n;
    std::vector<Raise> raise;
    int first;  // expected first-out (trips 28 and 29 share a condition)
    const char* text;
};

// The overspeed trip level is 0 here (its 160 ms logic does not run), so the
// overspeed trip comes with its permission (NAND_TEST: no external test);
// the test-limit trip comes with the test and the limit at the reference.
const std::vector<TripCase> kTrips = {
    {1, {{"BI_MUX.EXT_TRIP_1.B_NAME", 1}}, 1, "*\"SD_01 - DI 03 External Trip Input 1\""},
    {2, {{"ORVEX12_IO.KEYPAD.TRIP", 1}}, 2, "*\"SD_02 - Front Display Trip Button\""},
    {3, {{"OSPD.NAND_TEST.NAND", 1}}, 3, "*\"SD_03 - Overspeed Trip"},
    {4, {{"MPU_OVRD.MIN_SPD_1.A_NAME", 1e6}, {"CONF_VAL_2.NO_MPU2.NOT", 1}, {"IFACE_IN_START.NOT_SD.B_NAME", 1}}, 4, "*\"SD_04 - All Speed Probes Failed"},
    {5, {{"MOD_BW.MOD1_SW.B_SW", 1}}, 5, "*\"SD_05 - Trip Command from Modbus\""},
    {6, {{"MASTER.IO_LOCK.B_NAME", 1}}, 6, "*\"SD_06 - Configuration Error/IO Lock\""},
    {7, {{"CALMODE.CALMODE.B_NAME", 1}}, 7, "*\"SD_07 - Unit in Calibration Mode\""},
    {9, {{"BI_MUX.CONT_MUX.OUT_15", 0}}, 9, "*\"SD_09 - External Trip 2\""},
    {10, {{"BI_MUX.CONT_MUX.OUT_16", 0}}, 10, "*\"SD_10 - External Trip 3\""},
    {11, {{"BI_MUX.CONT_MUX.OUT_17", 0}}, 11, "*\"SD_11 - External Trip 4\""},
    {12, {{"BI_MUX.CONT_MUX.OUT_18", 0}}, 12, "*\"SD_12 - External Trip 5\""},
    {13, {{"_ub1.TRIP_LVL2.B_NAME", 1}}, 13, "*\"SD_13 - AI Chan 1 Level 2 TRIP\""},
    {14, {{"_ub2.TRIP_LVL2.B_NAME", 1}}, 14, "*\"SD_14 - AI Chan 2 Level 2 TRIP\""},
    {15, {{"_ub3.TRIP_LVL2.B_NAME", 1}}, 15, "*\"SD_15 - AI Chan 3 Level 2 TRIP\""},
    {16, {{"_ub4.TRIP_LVL2.B_NAME", 1}}, 16, "*\"SD_16 - AI Chan 4 Level 2 TRIP\""},
    {17, {{"SD_LOGIC.VL_SUMMARY.B_NAME", 1}}, 17, "*\"SD_17 - TRIP from Veltra Nodes\""},
    {18, {{"IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME", 1}, {"CNFG_SETPT.OST_LIMIT.A_NAME", 3600.0}}, 18, "*\"SD_18 - At Overspeed Test Max SP\""},
    {19,
     {{"ACT_MUX.HP_FLT_ACTOUT.B_NAME", 1}, {"SD_LOGIC.SD_NOT_DLY.DELAY", 1}, {"CNFG_DRIVER.USE_HP1_FLT_SD.B_NAME", 1}},
     19,
     "*\"SD_19 - HP Actuator Fault\""},
    {20, {{"OPC_DATA.OPC_TRIP.AND", 1}}, 20, "*\"SD_20 - Trip Cmd from OPC Device\""},
    {21, {{"_ub1.AND.AND", 1}}, 21, "*\"SD_21 - AI Chan 1 SigFail TRIP\""},
    {22, {{"_ub2.AND.AND", 1}}, 22, "*\"SD_22 - AI Chan 2 SigFail TRIP\""},
    {23, {{"_ub3.AND.AND", 1}}, 23, "*\"SD_23 - AI Chan 3 SigFail TRIP\""},
    {24, {{"_ub4.AND.AND", 1}}, 24, "*\"SD_24 - AI Chan 4 SigFail TRIP\""},
    {25, {{"CNTRL_STOP.STP_COMPLETE.AND", 1}}, 25, "*\"SD_25 - Normal Shutdown Complete\""},
    // The underspeed alarm itself runs here: in control, the speed below the
    // level, the shutdown enabled, the shortest delay.
    {26,
     {{"SPDC.A08_STEP.SFC_STEP", 1}, {"IFACE_IN_SPEED.UNDERSPEED.A_NAME", 1e6}, {"CNFG_SETPT.CONFIG_A.LIST_5", 1e6},
      {"IFACE_IN_SPEED.ENA_USPD_SD.B_NAME", 1}, {"SPDC.UNDERSPD.DLY_TIME", 0.5}},
     26,
     "*\"SD_26 - Underspeed TRIP\""},
    {27, {{"SHUTDOWNS.SD_27.B_ALARM", 1}, {"SHUTDOWNS.SD_27.LIGHT", 1}, {"SHUTDOWNS.SD_27.HORN", 1}}, 27, "*\"SD_27 - Trip Cmd from Farview\""},
    {28, {{"SHUTDOWNS.UNUSED.IN", 1}}, 28, "*\"SD_28 - SPARE\""},
    {29, {{"SHUTDOWNS.UNUSED.IN", 1}}, 28, "*\"SD_28 - SPARE\""},
    {30, {{"SHUTDOWNS.TUNABLE_TRIP.IN", 1}}, 30, "*\"SD_30 - Tunable TRIP (SIM Mode)\""},
};

// With the speed control and the valve demand chain running and the speed
// PID asking for a demand: the speed far below the reference at rated,
// forward acting, the valve limiter open.
inline bool g_configured = false;
class Shutdowns : public ProtectionRig, public ::testing::WithParamInterface<TripCase> {
protected:
    void SetUp() override {
        ProtectionRig::SetUp();
        g_configured = false;
        useSlices(R10, {startUpInFirstFrame, configureInFirstFrame, _R10_TASK_1, clockAndTrip1, _R10_TASK_3,
                        _R10_TASK_4, _R10_TASK_5, _R10_TASK_8, _R10_TASK_9, _R10_TASK_10, _R10_TASK_11});
        useSlices(R40, {_R40_TASK_1, _R40_TASK_2, _R40_TASK_3, _R40_TASK_8});
        useSlices(R160, {_R160_TASK_11, _R160_TASK_48, _R160_TASK_49});
    }
    // In the first frame, before the speed PID first runs (the overspeed-test
    // limit scales its input).
    static void configureInFirstFrame() {
        if (g_configured) return;
        g_configured = true;
        cells::HP_DRIVER.REV_GAIN_A_SW = -1.0f;
        cells::HP_DRIVER.REV_SP_A_SW = 0.0f;
        cells::IFACE_IN_VLV.V1LMTR_VAL_A_NAME = 100.0f;
        cells::CNFG_SETPT.OST_LIMIT_A_NAME = 4000.0f;
        cells::IFACE_OUT_SPEED.SPEED_REF_A_NAME = 3600.0f;
    }
    // The trip input of the demand select wins and the demand is zero.
    void expectValveShut() {
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_" + std::to_string(k)), k == 4 ? 1u : 0u) << k;
        EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), 0.0f);
        EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), 0.0f);
        EXPECT_EQ(real("HP_DRIVER.HP_ACT.A_NAME"), 0.0f);
    }
};

TEST_P(Shutdowns, EachTripLatchesWithItsFirstOutTextAndShutsTheValveDown) {
    const TripCase& c = GetParam();
    start();
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u) << "healthy before the trip";
    // The speed PID's demand reaches the actuator.
    EXPECT_EQ(real("SPD_CTRL.SPD_PID_SW.A_SW"), 100.0f);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_1"), 1u);
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), 100.0f);
    EXPECT_EQ(real("HP_DRIVER.HP_ACT.A_NAME"), 100.0f);
    for (const Raise& r : c.raise) setCell(r.cell, r.value);
    runPasses(R10, 150);  // the HP fault's 1 s delay, and the slower groups' copies
    EXPECT_EQ(boolean(sd(c.n, "B_ALARM")), 1u);
    EXPECT_EQ(boolean(sd(c.n, "LIGHT")), 1u);
    EXPECT_EQ(boolean(sd(c.n, "HORN")), 1u);
    EXPECT_EQ(boolean(any("SEL_", c.n)), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), c.first);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.LOGICAL_OR"), 1u);
    // The shutdown signal and the copies the valve demand and drivers obey.
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_VLV.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_HP_MAN.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("DATALOG.TURB_TRIP.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 1u);
    EXPECT_EQ(text("SHUTDOWNS.SD_FO_NOW.S_MUX_N_1"), c.text);
    EXPECT_EQ(real("SHUTDOWNS.LAST_TRIP.OUT_1"), static_cast<float>(c.first));
    expectValveShut();
    // The condition going away does not release the trip.
    for (const Raise& r : c.raise) setCell(r.cell, r.value == 0 ? 1 : 0);
    runPasses(R10, 30);
    if (c.n != 27) {  // trip 27's block is the 80 ms logic's
        EXPECT_EQ(boolean(sd(c.n, "B_ALARM")), 1u);
    }
    EXPECT_EQ(boolean(any("SEL_", c.n)), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    expectValveShut();
    if (c.n == 27) {
        EXPECT_EQ(boolean("SHUTDOWNS.ANY.LOGICAL_OR"), 0u) << "no input is 1 now";
    }
}

INSTANTIATE_TEST_SUITE_P(All, Shutdowns, ::testing::ValuesIn(kTrips),
                         [](const auto& i) { return "Trip" + std::to_string(i.param.n); });

class ShutdownList : public ProtectionRig {};

TEST_F(ShutdownList, PowerUpTripLatchesOnlyInsideItsWindowWhenConfigured) {
    start(false);
    EXPECT_EQ(boolean("SD_LOGIC.OVRD_TRIP.NOT"), 1u) << "overridden unless configured";
    EXPECT_EQ(boolean("SD_LOGIC.PU_SD_HIST.AND"), 1u) << "the history's power-up entry";
    setCell("SD_LOGIC.SD_ON_PWRUP.IN", 1);
    runPasses(R10, 20);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_08.B_ALARM"), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 8);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    runPasses(R10, 150);
    resetShutdowns();
    EXPECT_EQ(boolean("SHUTDOWNS.SD_08.B_ALARM"), 0u) << "the window has closed";
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
}

TEST_F(ShutdownList, PowerUpOverrideMasksTheContactTripsAtStart) {
    start(false);
    setCell("BI_MUX.CONT_MUX.OUT_15", 0);  // external trip 2 open from the start
    runPasses(R10, 20);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_09.B_ALARM"), 0u) << "masked during the power-up override";
    runPasses(R10, 60);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_09.B_ALARM"), 1u);
}

struct OverrideCase {
    int n;
    const char* cell;
    double value;
    bool overridable;
};

class ShutdownOverrides : public ProtectionRig, public ::testing::WithParamInterface<OverrideCase> {};

TEST_P(ShutdownOverrides, AnOverrideKeepsItsTripFromLatchingExceptTripsThreeAndSeven) {
    const OverrideCase& c = GetParam();
    start();
    setCell("SHUTDOWNS.SD_OVRDS.B_ENABLE", 1);
    setCell("SHUTDOWNS.SD_OVRDS.IN_" + std::to_string(c.n), 1);
    runPasses(R160, 2);
    setCell(c.cell, c.value);
    runPasses(R10, 50);
    EXPECT_EQ(boolean(sd(c.n, "B_ALARM")), c.overridable ? 0u : 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), c.overridable ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Some, ShutdownOverrides,
                         ::testing::Values(OverrideCase{5, "MOD_BW.MOD1_SW.B_SW", 1, true},
                                           OverrideCase{13, "_ub1.TRIP_LVL2.B_NAME", 1, true},
                                           OverrideCase{30, "SHUTDOWNS.TUNABLE_TRIP.IN", 1, true},
                                           OverrideCase{3, "OSPD.NAND_TEST.NAND", 1, false},
                                           OverrideCase{7, "CALMODE.CALMODE.B_NAME", 1, false},
                                           OverrideCase{9, "BI_MUX.CONT_MUX.OUT_15", 0, false}),
                         [](const auto& i) { return "Trip" + std::to_string(i.param.n); });

TEST_F(ShutdownList, EveryOverrideInputReachesItsListEntryAndTheFourFixedOnesStayOff) {
    const auto fixed = [](int n) { return n == 1 || n == 3 || n == 6 || n == 7; };
    start();
    setCell("SHUTDOWNS.SD_OVRDS.B_ENABLE", 1);
    for (uint32_t v : {1u, 0u}) {
        for (int n = 1; n <= 30; ++n)
            if (!fixed(n)) setCell("SHUTDOWNS.SD_OVRDS.IN_" + std::to_string(n), v);
        runPasses(R160, 2);
        for (int n = 1; n <= 30; ++n)
            EXPECT_EQ(boolean("SHUTDOWNS.SD_OVRDS.LIST_" + std::to_string(n)), fixed(n) ? 0u : v) << n;
    }
}

TEST_F(ShutdownList, OverrideListKeepsItsValuesWhileDisabled) {
    start();
    setCell("SHUTDOWNS.SD_OVRDS.B_ENABLE", 1);
    setCell("SHUTDOWNS.SD_OVRDS.IN_5", 1);
    runPasses(R160, 2);
    setCell("SHUTDOWNS.SD_OVRDS.B_ENABLE", 0);
    setCell("SHUTDOWNS.SD_OVRDS.IN_5", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_OVRDS.LIST_5"), 1u);
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    runPasses(R10, 20);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_05.B_ALARM"), 0u);
}

TEST_F(ShutdownList, ResetReleasesOnlyTripsWhoseConditionHasGoneAndRenumbers) {
    start();
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    runPasses(R10, 2);
    setCell("OPC_DATA.OPC_TRIP.AND", 1);
    runPasses(R80, 1);  // an 80 ms cell: the trip sees it after the next copy
    setCondition(kUnderspeed, true);
    EXPECT_EQ(integer(any("ALM_NO_", 5)), 1);
    EXPECT_EQ(integer(any("ALM_NO_", 20)), 2);
    EXPECT_EQ(integer(any("ALM_NO_", 26)), 3);
    const int32_t stamp20 = static_cast<int32_t>(
        static_cast<TimeCell*>(cell("SHUTDOWNS.ANY.EV_TM_20"))->sec);
    setCell("MOD_BW.MOD1_SW.B_SW", 0);
    setCondition(kUnderspeed, false);
    resetShutdowns();
    EXPECT_EQ(boolean(any("SEL_", 5)), 0u);
    EXPECT_EQ(boolean(any("SEL_", 26)), 0u);
    EXPECT_EQ(integer(any("ALM_NO_", 5)), 0);
    EXPECT_EQ(boolean(any("SEL_", 20)), 1u) << "its condition stands";
    EXPECT_EQ(integer(any("ALM_NO_", 20)), 1);
    EXPECT_EQ(static_cast<int32_t>(static_cast<TimeCell*>(cell("SHUTDOWNS.ANY.EV_TM_20"))->sec), stamp20);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 20);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(SHUTDOWNS_ANY_nIndex[0], 20);
    EXPECT_EQ(SHUTDOWNS_ANY_nIndex[1], 0);
    setCell("OPC_DATA.OPC_TRIP.AND", 0);
    resetShutdowns();
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.LATCH_AE"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 0u);
}

TEST_F(ShutdownList, AListResetAloneDoesNotReleaseALatchedTripBlock) {
    start();
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    runPasses(R10, 3);
    setCell("MOD_BW.MOD1_SW.B_SW", 0);
    setCell("SHUTDOWNS.DLY_SDREAC.B_ACTION", 1);  // the list's reset, not the blocks'
    runPasses(R20, 3);
    setCell("SHUTDOWNS.DLY_SDREAC.B_ACTION", 0);
    runPasses(R20, 1);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_05.B_ALARM"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
}

TEST_F(ShutdownList, AcknowledgeSilencesTheHornAndANewTripSoundsItAgain) {
    start();
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 1u);
    setCell("SHUTDOWNS.ACKNOWLEDG.IN_2", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 0u);
    setCell("SHUTDOWNS.ACKNOWLEDG.IN_2", 0);
    runPasses(R160, 2);
    setCell("OPC_DATA.OPC_TRIP.AND", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 5) << "the first-out stays";
}

struct OrderCase {
    const char* name;
    int gap;  // passes between raising trip 26 and trip 4
    int first;
    int alm4, alm26;
};

class ShutdownOrder : public ProtectionRig, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(ShutdownOrder, TripsTakeSlotsInRecordOrderWithinAPassAndInTimeOrderAcrossPasses) {
    const OrderCase& c = GetParam();
    start();
    armProbeFailure();
    raiseUnderspeedAtEndOf160();
    // Trip 4 latches in the second pass after its last input (through a
    // unit delay): with no gap in the pass in which trip 26 latches.
    runPasses(R10, kUnderspeedLatchPass - 2 + c.gap);
    setCell("IFACE_IN_START.NOT_SD.B_NAME", 1);
    runPasses(R10, 3);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), c.first);
    EXPECT_EQ(integer(any("ALM_NO_", 4)), c.alm4);
    EXPECT_EQ(integer(any("ALM_NO_", 26)), c.alm26);
    EXPECT_EQ(GetLatchAESize(1), 2);
}

INSTANTIATE_TEST_SUITE_P(Both, ShutdownOrder,
                         ::testing::Values(OrderCase{"SamePass", 0, 4, 1, 2}, OrderCase{"NextPass", 1, 26, 2, 1}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(ShutdownList, FirstOutResetLetsTheNextTripBecomeFirstOut) {
    start();
    setCell("OPC_DATA.OPC_TRIP.AND", 1);
    runPasses(R10, 3);
    setCell("SHUTDOWNS.ANY.FA_RST", 1);
    runPasses(R10, 2);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 0);
    setCell("SHUTDOWNS.ANY.FA_RST", 0);
    probesFailed(true);
    runPasses(R10, 3);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 4);
    EXPECT_EQ(integer(any("ALM_NO_", 4)), 2) << "its place in the list is unchanged";
}

TEST_F(ShutdownList, NewEntryCountSaturatesAtTwoAndTheChangeFlagMarksChangingPasses) {
    start();
    const char* cells[] = {"MOD_BW.MOD1_SW.B_SW", "OPC_DATA.OPC_TRIP.AND", kProbesFailed,
                           "CNTRL_STOP.STP_COMPLETE.AND", "SPDC.UDRSPD_SD.AND"};
    for (const char* c : cells) {
        setCondition(c, true);
        runPasses(R80, 1);  // the OPC trip is an 80 ms cell
    }
    EXPECT_EQ(SHUTDOWNS_ANYNewRedFlag, 2);
    EXPECT_EQ(bEventStatusChanged1, 0) << "nothing changed in the last pass";
}

TEST_F(ShutdownList, HistoryKeepsTheLastFiveFirstOutsNewestFirstAndWraps) {
    start();
    runPasses(R10, 100);  // past the counter's start-up override
    const struct {
        const char* cell;
        int n;
        const char* text;
    } trips[] = {{"MOD_BW.MOD1_SW.B_SW", 5, "*\"SD_05 - Trip Command from Modbus\""},
                 {"OPC_DATA.OPC_TRIP.AND", 20, "*\"SD_20 - Trip Cmd from OPC Device\""},
                 {kProbesFailed, 4, "*\"SD_04 - All Speed Probes Failed"},
                 {"CNTRL_STOP.STP_COMPLETE.AND", 25, "*\"SD_25 - Normal Shutdown Complete\""},
                 {"SPDC.UDRSPD_SD.AND", 26, "*\"SD_26 - Underspeed TRIP\""},
                 {"_ub1.TRIP_LVL2.B_NAME", 13, "*\"SD_13 - AI Chan 1 Level 2 TRIP\""}};
    std::vector<int> seen;
    for (const auto& t : trips) {
        setCondition(t.cell, true);
        runPasses(R80, 1);  // the OPC trip is an 80 ms cell
        setCondition(t.cell, false);
        resetShutdowns();
        seen.insert(seen.begin(), t.n);
        runPasses(R160, 1);
        EXPECT_EQ(text("SHUTDOWNS.SD_FO_NOW.S_MUX_N_1"), t.text) << t.n;
    }
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(integer("SHUTDOWNS.LAST_5_SD.I_OUT_" + std::to_string(k)), seen[k - 1]) << k;
    // The wrap after the fifth shutdown cleared the compare, so the sixth
    // counted on from one and the next wrap can come.
    EXPECT_EQ(boolean("SHUTDOWNS.COUNTER.CMP_OUT"), 0u);
    EXPECT_EQ(real("SHUTDOWNS.COUNTER.COUNTER"), 2.0f);
}

TEST_F(ShutdownList, LedTestLightsTheTrippedLedForFiveSeconds) {
    start();
    setCell("SHUTDOWNS.LED_TEST.IN_1", 1);
    special_case_tune(cell("SHUTDOWNS.LED_TEST.IN_1"));  // as a service write does
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 1u);
    runPasses(R160, 31);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.LED_TEST.IN_1"), 0u);
}

}  // namespace
}  // namespace pr_test

namespace pr_test {
namespace {

// The clock held at the last microsecond of a second.
void lastMicrosecondClock() {
    cells::ORVEX12_IO.RTC_TOD = TimeCell{1800000000u, 999999u};
    r10::SHUTDOWNS_external_trip_1();
}

TEST_F(ShutdownList, AllClearedOneMicrosecondAfterTheResetCarriesIntoTheSeconds) {
    useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, lastMicrosecondClock, _R10_TASK_3, _R10_TASK_4, _R10_TASK_9});
    start();
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    runPasses(R10, 2);
    setCell("MOD_BW.MOD1_SW.B_SW", 0);
    resetShutdowns();
    ASSERT_EQ(GetLatchAESize(1), 2);
    uint16_t id = 0;
    TimerValue reset{}, cleared{};
    ASSERT_EQ(GetNextLatchAEInfo(1, 0, &id, &reset), 1);
    EXPECT_EQ(id, 31);
    ASSERT_EQ(GetNextLatchAEInfo(1, 1, &id, &cleared), 1);
    EXPECT_EQ(id, 32);
    EXPECT_EQ(reset.seconds, 1800000000u);
    EXPECT_EQ(reset.microsec, 999999u);
    EXPECT_EQ(cleared.seconds, 1800000001u);
    EXPECT_EQ(cleared.microsec, 0u);
}

}  // namespace
}  // namespace pr_test

namespace pr_test {
namespace {

TEST_F(ShutdownList, EachStartInhibitAloneIsTheFirstOutIncludingTheFirstAndLast) {
    start();
    for (int k = 1; k <= 6; ++k) {
        const std::string n = std::to_string(k);
        setCell("START.STRT_IH.SEL_" + n, 1);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("START.ALM_DSPL.SEL_" + n), 1u) << k;
        EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_" + n), 1) << k;
        EXPECT_EQ(integer("START.ALM_DSPL.FIRST_ALM"), k);
        EXPECT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 1u) << k;
        setCell("START.STRT_IH.SEL_" + n, 0);
    }
}

TEST_F(ShutdownList, StartInhibitsAreListedInOrderWhileTheUnitIsNotStarted) {
    start();
    setCell("START.STRT_IH.SEL_2", 1);
    setCell("START.STRT_IH.SEL_5", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("START.ALM_DSPL.SEL_2"), 1u);
    EXPECT_EQ(boolean("START.ALM_DSPL.SEL_5"), 1u);
    EXPECT_EQ(boolean("START.ALM_DSPL.SEL_3"), 0u);
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_2"), 1);
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_5"), 2);
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_3"), 0);
    EXPECT_EQ(integer("START.ALM_DSPL.FIRST_ALM"), 2);
    EXPECT_EQ(boolean("START.ALM_DSPL.HORN"), 1u);
    EXPECT_EQ(boolean("START.ALM_DSPL.LATCH1"), 1u);
    EXPECT_EQ(text("SERVICE.SW_M_NSTR.B_TO_STR"), "\"  Start Perms Not Met  \"");
    EXPECT_EQ(integer("SERVICE.SW_M_NSTR.MSG_SEL"), 0);
    setCell("START.STRT_IH.SEL_4", 1);
    runPasses(R160, 2);
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_5"), 3);
    EXPECT_EQ(boolean("SERVICE.PERN_DSP1.OR"), 1u);
    EXPECT_EQ(text("SERVICE.SW_M_NSTR.B_TO_STR"), "\"Redundant Com Link Err\"");
    EXPECT_EQ(integer("SERVICE.SW_M_NSTR.MSG_SEL"), 2);
    setCell("START.OR_STARTED.OR", 1);
    runPasses(R160, 2);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(boolean("START.ALM_DSPL.SEL_" + std::to_string(k)), 0u) << k;
    EXPECT_EQ(integer("START.ALM_DSPL.FIRST_ALM"), 0);
    EXPECT_EQ(boolean("START.ALM_DSPL.HORN"), 0u);
    EXPECT_EQ(boolean("START.ALM_DSPL.LATCH1"), 0u);
    EXPECT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 1u) << "the inhibits still show";
    for (int k : {2, 4, 5}) setCell("START.STRT_IH.SEL_" + std::to_string(k), 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 0u);
}

}  // namespace
}  // namespace pr_test

namespace pr_test {
namespace {

struct KeyCase {
    const char* name;
    int useDelay;
    const char* source;  // the input that trips through the key path
};
class TripKey : public ProtectionRig, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(TripKey, TheKeyTripsDirectlyOrThroughItsDelayAndNotAgainWhileShutDown) {
    const KeyCase& c = GetParam();
    start();
    setCell("SD_LOGIC.USE_DELAY.IN", c.useDelay);
    runPasses(R160, 2);
    const char* other = std::string(c.source) == "ORVEX12_IO.KEYPAD.TRIP" ? "SD_LOGIC.DELAY.DELAY" : "ORVEX12_IO.KEYPAD.TRIP";
    setCell(other, 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_02.B_ALARM"), 0u) << "the other input is not in use";
    setCell(other, 0);
    setCell(c.source, 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_02.B_ALARM"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.PUSHBUTTON.B_SW"), 0u) << "masked while a shutdown is latched";
}

TEST_F(ShutdownList, TheRemoteTripSettingFollowsItsInput) {
    start();
    for (int v : {1, 0, 1}) {
        setCell("SD_LOGIC.USE_RMTTRIP.IN", v);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("SD_LOGIC.USE_RMTTRIP.B_NAME"), static_cast<uint32_t>(v));
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, TripKey,
                         ::testing::Values(KeyCase{"Direct", 0, "ORVEX12_IO.KEYPAD.TRIP"},
                                           KeyCase{"Delayed", 1, "SD_LOGIC.DELAY.DELAY"}),
                         [](const auto& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace pr_test

namespace pr_test {
namespace {

TEST_F(ShutdownList, AResetKeepsTheFirstSlotsTripWhileItStandsAndReleasesTheRest) {
    start();
    setCell("BI_MUX.EXT_TRIP_1.B_NAME", 1);  // record 1, in slot 0
    runPasses(R10, 2);
    setCell("MOD_BW.MOD1_SW.B_SW", 1);
    runPasses(R10, 2);
    setCell("MOD_BW.MOD1_SW.B_SW", 0);
    resetShutdowns();
    EXPECT_EQ(boolean(any("SEL_", 1)), 1u);
    EXPECT_EQ(integer(any("ALM_NO_", 1)), 1);
    EXPECT_EQ(boolean(any("SEL_", 5)), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.LATCH_AE"), 1u);
    EXPECT_EQ(GetLatchAESize(1), 2) << "the reset and the entry, no all-cleared";
    EXPECT_EQ(boolean("SD_LOGIC.CTRL_SD_NT.NOT"), 1u);
    setCell("SPDC.Z01_STEP.SFC_STEP", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SD_LOGIC.CTRL_SD_NT.NOT"), 0u);
}

}  // namespace
}  // namespace pr_test
