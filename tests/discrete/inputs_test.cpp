// Discrete input channels and the contact routing on the whole program (its
// own slice table), driven only through its inputs: the configuration that
// puts a function and an inversion in force, the routing of every channel
// to its function slot, the edge time stamps of the controller inputs and
// the "External Trip 1" latch. Function numbers the service tool refuses
// are entered past its range check. What no input reaches stays on the
// discrete channel slices, each with its reason.
#include <algorithm>
#include <string>
#include <vector>

#include "drivers/ZarnDiscreteIns.h"
#include "runtime/dbug.h"
#include "tests/discrete/discrete_rig.h"

namespace di_test {
namespace {

class DiscreteInputs : public DiscreteProgram {};

struct RouteCase {
    const char* name;
    int channel;
    int function;
    bool invert;
    bool closed;
    uint32_t slot;
};
class ContactRouting : public DiscreteProgram, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(ContactRouting, SignalAfterInversionReachesTheSlotOfItsFunction) {
    const RouteCase& c = GetParam();
    startWith();
    configure(c.channel, c.function, c.invert);
    contact(c.channel, c.closed);
    run(6);
    EXPECT_EQ(boolean(bi(c.channel) + ".SIGNAL.B_NAME"), c.closed ? 1u : 0u);
    EXPECT_EQ(boolean(bi(c.channel) + ".BI_SIGNAL.B_NAME"), c.slot);
    EXPECT_EQ(slot(c.function), c.slot);
}
const RouteCase kRouteCases[] = {
    {"ClosedContactOnInput1", 0, 2, false, true, 1},
    {"OpenContactOnInput1", 0, 2, false, false, 0},
    {"InvertedOpenContactOnInput6", 5, 6, true, false, 1},
    {"InvertedClosedContactOnInput6", 5, 6, true, true, 0},
    {"InvertedOpenContactOnInput8ToSpare30", 7, 30, true, false, 1},
    {"ClosedContactOnRemoteInput1", 8, 19, false, true, 1},
    {"InvertedOpenContactOnRemoteInput16", 23, 31, true, false, 1},
};
INSTANTIATE_TEST_SUITE_P(Channels, ContactRouting, ::testing::ValuesIn(kRouteCases),
                         [](const ::testing::TestParamInfo<RouteCase>& i) { return std::string(i.param.name); });

TEST_F(DiscreteInputs, ConfigurationChangesOnlyInConfigurationModeOnARisingSample) {
    startWith();
    configure(0, 10, true);
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), 10);
    EXPECT_EQ(boolean("_ub13.INVERTED.LATCH"), 1u);
    EXPECT_EQ(integer("_ub13.INV_INH.ACT_OUT"), 1);
    EXPECT_EQ(text("_ub13.TAG.S_NAME"), "Contact BI01");
    EXPECT_EQ(text("_ub13.USAGE.S_NAME"), "Lower Speed Command");
    // Outside configuration mode neither the function nor the inversion
    // moves, though the sample pulser runs on.
    serviceWrite("_ub13.FUNCT.IN", 12);
    serviceWrite("_ub13.INVRT.IN", 0);
    run(8 * 4);
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), 10);
    EXPECT_EQ(boolean("_ub13.INVERTED.LATCH"), 1u);
    // Entering configuration mode clears the inversion at once, in the
    // pass the window opens; the next sample takes the function.
    lock();
    for (int p = 0; p < 20 && boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") == 0; ++p) runPasses(R160, 1);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 1u);
    EXPECT_EQ(boolean("_ub13.INVERTED.LATCH"), 0u);
    const uint32_t sampled = boolean("CALMODE.CFG_SAMPL_OK.B_NAME");
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), sampled ? 12 : 10);
    run(8 * 2);
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), 12);
    // The wizard supplies the function while it is enabled.
    serviceWrite("CNFG_WIZ.WIZARD.IN", 1);
    serviceWrite("CNFG_BI.WIZFUN_BI_CH01.IN", 24);
    run(8 * 3);
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), 24);
    EXPECT_EQ(integer("CNFG_BI.WIZFUN_BI_CH01.I_NAME"), 24);
    // The set-inversion action is 1 only while configuration sets the latch.
    EXPECT_EQ(boolean("_ub13.INV_INH.B_ACTION"), 0u);
    serviceWrite("_ub13.INVRT.IN", 1);
    run(8);
    EXPECT_EQ(boolean("_ub13.INV_INH.B_ACTION"), 1u);
    EXPECT_EQ(boolean("_ub13.INVERTED.LATCH"), 1u);
    closeWindow();
    run(8);
    EXPECT_EQ(boolean("_ub13.INV_INH.B_ACTION"), 0u);
    EXPECT_EQ(boolean("_ub13.INVERTED.LATCH"), 1u);
}

class DiscreteInputSlices : public DiscreteRig {};

// Kept on the slices: the program's sample pulse is on only inside the
// configuration window and drops every second pass, so no input holds it
// on from outside configuration mode into it; and its power-up window
// samples in the very first pass, so the stored function is never seen in
// force before a sample.
TEST_F(DiscreteInputSlices, SampleHeldOnSinceOutsideConfigurationModeDoesNotSampleAgain) {
    start();
    // Before any configuration pass the stored function (1, not used) is in
    // force and nothing routes.
    EXPECT_EQ(integer("_ub13.BI_FUNCTION.SAMP_ITUNE"), 1);
    EXPECT_EQ(boolean("_ub13.BI_USED.EQ"), 1u);
    EXPECT_EQ(text("_ub13.BI_FUN_STRG.I_TO_STR"), "---Not Used---");
    configure(0, 10, true);
    setCell("_ub13.FUNCT.IN", 12);
    setCell("_ub13.INVRT.IN", 0);
    setCell("CALMODE.CFG_SAMPL_OK.B_NAME", 1);
    runPasses(R160, 2);
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), 10);
    EXPECT_EQ(boolean("_ub13.INVERTED.LATCH"), 1u);
    setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("_ub13.INVERTED.LATCH"), 0u);
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), 10);
    // The fall and a new rise in configuration mode sample it.
    setCell("CALMODE.CFG_SAMPL_OK.B_NAME", 0);
    runPasses(R160, 1);
    setCell("CALMODE.CFG_SAMPL_OK.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(integer("_ub13.FUNCT_INT.I_NAME"), 12);
}

TEST_F(DiscreteInputs, RemoteNodeWizardSuppliesEachInputsFunction) {
    startWith();
    serviceWrite("VL4_BI.WIZ_4BINS.IN", 1);
    for (int n = 1; n <= 16; ++n) serviceWrite("VL4_BI.WIZFUN_BI_CH" + std::to_string(n) + ".IN", n + 10);
    window(false);
    for (int n = 1; n <= 16; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(integer(bi(7 + n) + ".FUNCT_INT.I_NAME"), n + 10);
        EXPECT_EQ(integer("VLTR_OUTS.VL_BINS_FUN.LIST_" + std::to_string(n)), n + 10);
    }
    // The controller's input 3 keeps its own wizard switch (on by default).
    EXPECT_EQ(integer("_ub15.BI_SW.I_SW"), 4);
    serviceWrite("_ub15.WIZ_ENA.IN", 0);
    run(8);
    EXPECT_EQ(integer("_ub15.BI_SW.I_SW"), 4) << "the hand-entered default is 4 too";
    serviceWrite("_ub15.FUNCT.IN", 9);
    run(8);
    EXPECT_EQ(integer("_ub15.BI_SW.I_SW"), 9);
}

struct FunctionCase {
    const char* name;
    int entered;
    int32_t in_force;
    const char* text;
    uint32_t used, unused, estop, time_stamps;
};

// Every entered number on input 4 and on remote input 5, one after the
// other through the configuration window; 0 and 40 are numbers the service
// tool refuses (its range is 1 .. 31), entered past its range check.
TEST_F(DiscreteInputs, FunctionNumberIsClampedWhenSampledAndGivesItsTextAndSelections) {
    const FunctionCase cases[] = {
        {"ZeroSamplesAsNotUsed", 0, 1, "---Not Used---", 0, 1, 0, 0},
        {"OneIsNotUsed", 1, 1, "---Not Used---", 0, 1, 0, 0},
        {"ThreeIsJustBelowTheTrip", 3, 3, "Speed Raise Command", 1, 0, 0, 0},
        {"FourIsExternalTrip1", 4, 4, "External Trip 1", 1, 0, 1, 1},
        {"FiveIsJustAboveTheTrip", 5, 5, "Start/External Run", 1, 0, 0, 0},
        {"FourteenIsTheLowerRangeBound", 14, 14, "Rmt Process/Casc Setpt Enable", 1, 0, 0, 0},
        {"FifteenOpensTheStampRange", 15, 15, "External Trip 2", 1, 0, 0, 1},
        {"EighteenClosesTheStampRange", 18, 18, "External Trip 5", 1, 0, 0, 1},
        {"NineteenIsTheUpperRangeBound", 19, 19, "External Alarm 1", 1, 0, 0, 0},
        {"ThirtyIsTheLastText", 30, 30, "Spare 30", 1, 0, 0, 0},
        {"ThirtyOneHasNoText", 31, 31, "Not Used", 1, 0, 0, 0},
        {"FortySamplesAs31", 40, 31, "Not Used", 1, 0, 0, 0},
    };
    startWith();
    for (const FunctionCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (int k : {3, 12}) {
            // A number outside 1 .. 31 is refused by the tool.
            if (c.entered >= 1 && c.entered <= 31) serviceWrite(bi(k) + ".FUNCT.IN", c.entered);
            else pokeTunable(bi(k) + ".FUNCT.IN", c.entered);
        }
        window(true);
        for (int k : {3, 12}) {
            SCOPED_TRACE(k);
            const std::string m = bi(k);
            EXPECT_EQ(integer(m + ".BI_FUNCTION.SAMP_ITUNE"), c.in_force);
            EXPECT_EQ(text(m + ".BI_FUN_STRG.I_TO_STR"), c.text);
            EXPECT_EQ(boolean(m + ".BI_USED.GT"), c.used);
            EXPECT_EQ(boolean(m + ".BI_USED.EQ"), c.unused);
            EXPECT_EQ(boolean(m + ".ESTOP.EQ"), c.estop);
            EXPECT_EQ(boolean(m + ".DI_TS_FUNC_RANGE_OR.OR"), c.time_stamps);
        }
    }
}

// The controller's inputs all not used from the tunables file (input 3's
// own wizard switched off): nothing routed, so the trips read healthy.
TEST_F(DiscreteInputs, LaterChannelsWinASharedFunctionAndUnroutedTripsReadHealthy) {
    Settings unused = {{"_ub15.WIZ_ENA.IN", 0}};
    for (int k = 0; k < 8; ++k) unused.push_back({bi(k) + ".FUNCT.IN", 1});
    startWith(unused);
    for (int f = 1; f <= 31; ++f) EXPECT_EQ(slot(f), (f >= 15 && f <= 18) ? 1u : 0u) << f;
    EXPECT_EQ(boolean("BI_MUX.EXT_TRIP_1.B_NAME"), 0u);
    serviceWrite("_ub13.FUNCT.IN", 2);
    serviceWrite("_ub17.FUNCT.IN", 2);
    window(true);
    contact(0, true);
    contact(4, false);
    runPasses(R10, 2);
    EXPECT_EQ(slot(2), 0u) << "input 5 comes after input 1";
    EXPECT_EQ(boolean("BI_MUX.SPD_LWR_CONT.B_NAME"), 0u);
    contact(4, true);
    configure(9, 2);
    contact(9, false);
    run(6);
    EXPECT_EQ(slot(2), 0u) << "a remote input overrides the controller's";
    contact(9, true);
    run(6);
    EXPECT_EQ(slot(2), 1u);
    EXPECT_EQ(boolean("BI_MUX.SPD_LWR_CONT.B_NAME"), 1u);
    EXPECT_EQ(integer("VLTR_OUTS.VL_BINS_FUN.LIST_2"), 2);
    // A trip function routed from an open contact reads the contact.
    configure(3, 16);
    runPasses(R10, 2);
    EXPECT_EQ(slot(16), 0u);
}

struct ContactCase {
    const char* name;
    int function;
};
class NamedContact : public DiscreteProgram, public ::testing::WithParamInterface<ContactCase> {};

// Input 8 carries the function from the tunables file (the power-up window
// puts it in force).
TEST_P(NamedContact, FollowsTheSlotOfItsFunction) {
    const ContactCase& c = GetParam();
    startWith({{"_ub20.FUNCT.IN", c.function}});
    const std::string cell = std::string("BI_MUX.") + c.name + ".B_NAME";
    for (bool closed : {true, false, true}) {
        contact(7, closed);
        runPasses(R10, 2);
        EXPECT_EQ(boolean(cell), closed ? 1u : 0u);
    }
}
const ContactCase kContactCases[] = {
    {"SPD_LWR_CONT", 2},      {"SPD_RAISE_CONT", 3},      {"EXT_RUN_CONT", 5},        {"RESET_CONT", 6},
    {"IDLE_RATED_CONT", 7},   {"RMT_SPD_ENBL_CONT", 8},   {"OVSPD_CONT", 10},         {"CASC_RAISE_CONT", 11},
    {"CASC_LWR_CONT", 12},    {"CASC_ENBL_CONT", 13},     {"RMT_CASC_ENBL_CONT", 14}, {"EXT_ALM_1", 19},
    {"EXT_ALM_2", 20},        {"EXT_ALM_3", 21},          {"VLV_LMT_OPN_CONT", 22},   {"VLV_LMT_CLS_CONT", 23},
    {"SPD_CASC_RAZ", 24},     {"SPD_CASC_LWR", 25},       {"START_PERM", 27},         {"CONTL_SD_CONT", 28},
    {"BI_FUNC_29", 29},       {"BI_FUNC_30", 30},         {"BI_FUNC_28", 31},
};
INSTANTIATE_TEST_SUITE_P(Functions, NamedContact, ::testing::ValuesIn(kContactCases),
                         [](const ::testing::TestParamInfo<ContactCase>& i) { return std::string(i.param.name); });

TEST_F(DiscreteInputs, EachRemoteInputsContactReachesItsPlaceInTheNodeList) {
    startWith();
    for (int n = 1; n <= 16; ++n) {
        SCOPED_TRACE(n);
        for (int m = 1; m <= 16; ++m) contact(7 + m, m == n);
        run(6);
        for (int m = 1; m <= 16; ++m)
            EXPECT_EQ(boolean("VLTR_OUTS.VL_BINS.LIST_" + std::to_string(m)), m == n ? 1u : 0u) << m;
    }
}

// A contact that changes in the node's input word reaches the channel's
// signal and the node's list in the 20 ms pass that receives it.
TEST_F(DiscreteInputs, ARemoteContactReachesTheNodeListInThePassItArrives) {
    startWith({{"_ub59.FUNCT.IN", 4}});
    ASSERT_EQ(boolean("_ub59.ESTOP.EQ"), 1u);
    for (bool closed : {true, false, true}) {
        contact(8, closed);
        const uint32_t want = closed ? 1u : 0u;
        int p = 0;
        for (; p < 10 && boolean("VL4_BI.BIN_01.VL_BIN") != want; ++p) run(1);
        ASSERT_LT(p, 10) << "the node's word never arrived";
        EXPECT_EQ(boolean("_ub59.BI_SIGNAL.B_NAME"), want);
        EXPECT_EQ(boolean("VLTR_OUTS.VL_BINS.LIST_1"), want);
    }
}

// Every input's function port names the display-side variable, first among
// the input's ports; it resolves to no cell.
TEST_F(DiscreteInputs, FunctionPortOfEveryInputNamesTheDisplaySideVariable) {
    const struct {
        const char* outer;
        const char* module;
    } rows[] = {{"CNFG_BI.BI_01", "_ub13"}, {"CNFG_BI.BI_03", "_ub15"}, {"VL4_BI.BI_1", "_ub59"},
                {"VL4_BI.BI_16", "_ub66"}};
    std::vector<std::string> aliases(UserBlockOutputMappings, UserBlockOutputMappings + numUserBlockOutputMappings);
    for (const auto& r : rows) {
        const std::string port = std::string(r.outer) + ".FUNCT_C " + r.module + ".QT_BI_FUNCT.VAR";
        const auto at = std::find(aliases.begin(), aliases.end(), port);
        ASSERT_NE(at, aliases.end()) << port;
        const auto invert = std::find(aliases.begin(), aliases.end(),
                                      std::string(r.outer) + ".INVRT_IN " + r.module + ".INVRT.IN");
        EXPECT_LT(at, invert) << r.outer;
        char module[kDbugModuleBytes], field[kDbugFieldBytes];
        ASSERT_EQ(parseCatBlkFld((std::string(r.outer) + ".FUNCT_C").c_str(), module, field), 1);
        EXPECT_STREQ(module, r.module);
        EXPECT_STREQ(field, "QT_BI_FUNCT.VAR");
        char type = 0;
        CellRef ref = 0;
        const char* rate = nullptr;
        EXPECT_EQ(get_dbug_address((std::string(r.outer) + ".FUNCT_C").c_str(), &type, 0, &ref, &rate), -2);
    }
}

TEST_F(DiscreteInputs, ClockSyncContactIsRoutedToTheClockBlock) {
    startWith({{"_ub19.FUNCT.IN", 26}});
    contact(6, true);
    runPasses(R10, 2);
    EXPECT_EQ(boolean("BI_MUX.TIME_SYNC.B_NAME"), 1u);
    EXPECT_EQ(boolean("ORVEX12_IO.SET_TIME.OR"), 1u);
}

TEST_F(DiscreteInputs, InputTwoCapturesOnlyTheFirstEdgesWhileItsStampsAreWanted) {
    startWith({{"_ub14.FUNCT.IN", 15}});
    contact(1, true);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("CNFG_BI.BI_02_ZARN.HI_TSEVENT"), 1u);
    EXPECT_EQ(boolean("CNFG_BI.BI_02_ZARN.LO_TSEVENT"), 0u);
    const auto* hi = static_cast<const TimeCell*>(cell("CNFG_BI.BI_02_ZARN.HI_TIME"));
    EXPECT_EQ(hi->sec, DinTimeStampHi[13].sec);
    EXPECT_EQ(hi->usec, DinTimeStampHi[13].usec);
    const TimeCell first = *hi;
    contact(1, false);
    runPasses(R10, 3);
    contact(1, true);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("CNFG_BI.BI_02_ZARN.LO_TSEVENT"), 1u);
    EXPECT_EQ(hi->usec, first.usec) << "a later rising edge is not captured";
    EXPECT_EQ(hi->sec, first.sec);
    // A function outside the stamp set disarms at once.
    configure(1, 2);
    EXPECT_EQ(boolean("CNFG_BI.BI_02_ZARN.HI_TSEVENT"), 0u);
    EXPECT_EQ(boolean("CNFG_BI.BI_02_ZARN.LO_TSEVENT"), 0u);
    EXPECT_EQ(HiEventLatch & (1u << 13), 0u);
    EXPECT_EQ(LoEventLatch & (1u << 13), 0u);
    EXPECT_EQ(boolean("CNFG_BI.BI_02_ZARN.BI_ZARN"), 1u);
    EXPECT_EQ(boolean("CNFG_BI.BI_02_ZARN.BI_NOT"), 0u);
}

// The program's reset at power-up is a stamp reset: input 1 is armed by the
// time the power-up reset is over, whatever its function.
TEST_F(DiscreteInputs, InputOneCapturesWhateverItsFunctionButOnlyAfterAStampReset) {
    startPowerUp();
    // During the power-up window the event-time switches show the clock.
    const auto* sw = static_cast<const TimeCell*>(cell("BI_MUX.T_SW3.T_SW"));
    const auto* tod = static_cast<const TimeCell*>(cell("ORVEX12_IO.RTC.TOD"));
    EXPECT_EQ(sw->sec, tod->sec);
    EXPECT_NE(sw->sec, 0u);
    // The power-up reset over (the fast groups' copies of it too).
    for (int p = 0; p < 20 && boolean("RESET.TS_RESET.B_NAME") != 0; ++p) runPasses(R80, 1);
    ASSERT_EQ(boolean("RESET.TS_RESET.B_NAME"), 0u);
    runPasses(R80, 2);
    ASSERT_EQ(boolean("SD_LOGIC.PWR_UP_SD.ONE_SHOT"), 1u);
    contact(0, true);
    runPasses(R10, 3);
    EXPECT_EQ(HiEventLatch & (1u << 12), 1u << 12);
    EXPECT_EQ(boolean("CNFG_BI.BI_01_ZARN.HI_TSEVENT"), 1u);
    const auto* hi = static_cast<const TimeCell*>(cell("CNFG_BI.BI_01_ZARN.HI_TIME"));
    EXPECT_EQ(hi->sec, DinTimeStampHi[12].sec);
    EXPECT_EQ(hi->usec, DinTimeStampHi[12].usec);
    // A stamp reset from the service tool arms it again (once the power-up
    // reset's source is over: the trip's one-shot cut its pulse off).
    for (int p = 0; p < 40 && boolean("RESET.PWR_UP_RST.ONE_SHOT") != 0; ++p) run(4);
    ASSERT_EQ(boolean("RESET.PWR_UP_RST.ONE_SHOT"), 0u);
    resetGiven();
    ASSERT_EQ(boolean("RESET.TS_RESET.B_NAME"), 1u);
    EXPECT_EQ(HiEventLatch & (1u << 12), 0u) << "the reset cleared the latch bit";
    EXPECT_EQ(boolean("CNFG_BI.BI_01_ZARN.HI_TSEVENT"), 0u);
    run(80);
    contact(0, false);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("CNFG_BI.BI_01_ZARN.LO_TSEVENT"), 1u);
    const auto* lo = static_cast<const TimeCell*>(cell("CNFG_BI.BI_01_ZARN.LO_TIME"));
    EXPECT_EQ(lo->sec, DinTimeStampLo[12].sec);
    EXPECT_EQ(lo->usec, DinTimeStampLo[12].usec);
    EXPECT_EQ(boolean("CNFG_BI.BI_01_ZARN.HI_TSEVENT"), 0u);
    // After the power-up window the event-time switch of input 1 shows it.
    run(8 * 4);
    EXPECT_EQ(boolean("SD_LOGIC.PWR_UP_SD.ONE_SHOT"), 0u);
    EXPECT_EQ(sw->usec, lo->usec);
    EXPECT_EQ(sw->sec, lo->sec);
}

// Kept on the slices, without the program's power-up reset: block
// initialisation arms every input for both edges, so input 1 takes its
// first edge at once; a second edge of the same kind waits for a stamp
// reset.
TEST_F(DiscreteInputSlices, InputOneIsArmedAtStartAndAgainOnlyByAStampReset) {
    start();
    contact(0, true);
    runPasses(R10, 3);
    EXPECT_EQ(HiEventLatch & (1u << 12), 1u << 12);
    EXPECT_EQ(boolean("CNFG_BI.BI_01_ZARN.HI_TSEVENT"), 1u);
    const auto* hi = static_cast<const TimeCell*>(cell("CNFG_BI.BI_01_ZARN.HI_TIME"));
    const TimeCell first = *hi;
    EXPECT_EQ(first.sec, DinTimeStampHi[12].sec);
    EXPECT_EQ(first.usec, DinTimeStampHi[12].usec);
    contact(0, false);
    runPasses(R10, 3);
    contact(0, true);
    runPasses(R10, 3);
    EXPECT_EQ(hi->sec, first.sec);
    EXPECT_EQ(hi->usec, first.usec) << "the second rising edge waits for a stamp reset";
    setCell("RESET.TS_RESET.B_NAME", 1);
    runPasses(R80, 2);
    setCell("RESET.TS_RESET.B_NAME", 0);
    runPasses(R80, 2);
    EXPECT_EQ(HiEventLatch & (1u << 12), 0u) << "the reset cleared the latch bit";
    contact(0, false);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("CNFG_BI.BI_01_ZARN.LO_TSEVENT"), 1u);
    EXPECT_EQ(boolean("CNFG_BI.BI_01_ZARN.HI_TSEVENT"), 0u);
}

// Input 3 carries "External Trip 1", inverted, as delivered: open is a trip.
TEST_F(DiscreteInputs, ExternalTripOneLatchesOnlyAfterThePowerUpOverrideAndResetsWhenClear) {
    startPowerUp({{"SHUTDOWNS.PWR_UP_OVRD.DLY_TIME", 2.0}});
    contact(2, false);
    run(8 * 3);
    EXPECT_EQ(boolean("BI_MUX.EXT_TRIP_1.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 0u);
    run(8 * 10);
    EXPECT_EQ(boolean("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.HORN"), 1u);
    // A reset while the trip is still demanded leaves it latched (given past
    // the trip's one-shot, which cuts a reset off).
    run(8 * 8);
    resetGiven();
    ASSERT_EQ(boolean("RESET.RESET.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 1u);
    contact(2, true);
    run(8);
    ASSERT_EQ(boolean("RESET.RESET.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.LIGHT"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.HORN"), 0u);
    run(80);
    // Simulation (entered by a configure-level user while shut down, here
    // from the service tool's trip): the latch follows input 3's raw
    // contact, not function 4. Input 3 open ends no simulation.
    serviceWrite("SHUTDOWNS.TUNABLE_TRIP.IN", 1);
    run(8 * 2);
    serviceWrite("_ub15.WIZ_ENA.IN", 0);  // input 3's own wizard, on as delivered
    configure(2, 1, true);
    contact(2, false);
    serviceWrite("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
    serviceWrite("SPEED_SIM.INTERNAL_SIM.IN_1", 1);
    run(4 * 15);
    ASSERT_EQ(boolean("SPEED_SIM.ENA__SIM.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 0u);
    contact(2, true);
    runPasses(R10, 2);
    EXPECT_EQ(boolean("BI_MUX.EXT_TRIP_1.B_NAME"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 1u);
}

}  // namespace
}  // namespace di_test
