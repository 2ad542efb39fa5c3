// The thirty trips and the latched shutdown list on the whole program: each
// trip latches with its first-out text and raises the shutdown signal, whose
// input to the valve demand select wins over the speed PID's demand and
// drives the demand to zero; overrides, reset and acknowledge, the order of
// the list and its first-out, and the history of the last five shutdowns.
// Driven through the program's inputs: contacts, the front panel's trip key,
// analog and actuator loops, the turbine model, the reset contact and the
// settings and commands of the service tool (the Modbus trip through its
// service override, the OPC link's and the remote station's trip commands
// as their servers write them).
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/protection/LATCH_AE.h"
#include "host/analog_inputs.h"
#include "host/current_loops.h"
#include "tests/protection/protection_rig.h"
#include "tests/protection/whole_rig.h"

namespace pr_test {
namespace {

using ref_test::R10;
using ref_test::R20;
using ref_test::R40;
using ref_test::R80;
using ref_test::R160;
using Settings = std::vector<std::pair<const char*, double>>;

class Trips;
using Step = std::function<void(Trips&)>;

// The current loop of the HP actuator.
constexpr int kActuatorLoop = 6;

// The commands that trip from the service side: the Modbus trip through
// its service override, the OPC link's trip command and the remote trip,
// each with what its use needs.
const Settings kServiceTrips = {{"OPC_DATA.ENA_WRITES.IN", 1},
                                {"OPC_DATA.ENA_OPC_TRIP.IN", 1},
                                {"SD_LOGIC.USE_RMTTRIP.IN", 1},
                                {"MOD_BW.MOD1_SW.CTRL", 1}};

class Trips : public WholeRig {
public:
    // A trip's condition raised (true) or taken away, for the trips the
    // service side commands: 5, 20, 27, 28/29 and 30.
    void command(int n, bool on) {
        const double v = on ? 1 : 0;
        switch (n) {
            case 5: tune("MOD_BW.MOD1_SW.NO", v); break;
            case 20: tune("OPC_DATA.BW_LIST.IN_3", v); break;
            case 27: tune("SD_LOGIC.RMT_TRIP.IN", v); break;
            case 28:
            case 29: tune("SHUTDOWNS.UNUSED.IN", v); break;
            case 30: tune("SHUTDOWNS.TUNABLE_TRIP.IN", v); break;
            default: ADD_FAILURE() << "no command for trip " << n;
        }
    }
    bool latched(int n) { return on(any("SEL_", n)); }
    // 10 ms passes until trip n is in the list; false when it never came.
    bool untilLatched(int n, int max = 1000) { return passesUntil(any("SEL_", n), max) >= 0; }
    void holdShaft(double rpm) { holdShaftAt(rpm); }
    void close(int input, bool closed) { contact(input, closed); }
    float value(const std::string& name) { return real(name); }
    void toShaft(double rpm) { shaftAt(rpm); }

protected:
    // Ready to start at standstill, the service trips in use.
    void readyForTrips(const Settings& extra = {}) {
        Settings s = kServiceTrips;
        s.insert(s.end(), extra.begin(), extra.end());
        ready(s);
        ASSERT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    }
    // A trip by its service command, until it is in the list.
    void trip(int n) {
        command(n, true);
        ASSERT_TRUE(untilLatched(n)) << "trip " << n << " never latched";
    }
    using WholeRig::trip;
    // The reset from the reset contact, and its pulses over.
    void resetShutdowns() {
        reset();
        waitResetOver();
    }
};

// ---- each trip on a turbine in control at rated --------------------------

struct TripCase {
    int n;
    Settings settings;  // given while the controller powers up
    Step raise, clear;  // the condition raised and taken away
    int first;          // expected first-out (trips 28 and 29 share a condition)
    const char* text;
    int maxSeconds = 30;
};
void PrintTo(const TripCase& c, std::ostream* os) { *os << "trip " << c.n; }

// The trip key held until trip 2 latches.
void pressTripKey(Trips& r) {
    hk::runTask([] { board::setKey(kTripKey.word, kTripKey.bit, true); });
    r.untilLatched(2);
}
void releaseTripKey(Trips&) {
    hk::runTask([] { board::setKey(kTripKey.word, kTripKey.bit, false); });
}
Step command(int n, bool on) {
    return [n, on](Trips& r) { r.command(n, on); };
}
Step contact(int input, bool closed) {
    return [input, closed](Trips&) { board::setDiscreteInput(input, closed); };
}
// Analog input k above (or back below) its level 2, level 2 a trip.
Step level(int k, bool above) {
    return [k, above](Trips&) { board::setAnalogInputMa(k, above ? 4.0 + 0.16 * 75.0 : 12.0); };
}
Settings levelTrip(int k) {
    static const char* const kUse[4] = {"_ub1.USE_SP2.IN", "_ub2.USE_SP2.IN", "_ub3.USE_SP2.IN", "_ub4.USE_SP2.IN"};
    static const char* const kTrip[4] = {"_ub1.TRIP_SP2.IN", "_ub2.TRIP_SP2.IN", "_ub3.TRIP_SP2.IN",
                                         "_ub4.TRIP_SP2.IN"};
    static const char* const kDly[4] = {"_ub1.ALM_DLY.IN", "_ub2.ALM_DLY.IN", "_ub3.ALM_DLY.IN", "_ub4.ALM_DLY.IN"};
    return {{kUse[k], 1}, {kTrip[k], 1}, {kDly[k], 0.0}};
}
// Analog input k carrying a signal monitor (a vibration input for input 4)
// with its signal-failure trip; its loop opened (or closed again).
Step loopOpen(int k, bool open) {
    return [k, open](Trips&) { board::setAnalogInputOpen(k, open); };
}
Settings signalFailureTrip(int k) {
    static const char* const kSig[4] = {"_ub1.SIGFLT_TRIP.IN", "_ub2.SIGFLT_TRIP.IN", "_ub3.SIGFLT_TRIP.IN",
                                        "_ub4.SIGFLT_TRIP.IN"};
    static const char* const kFunct[4] = {"_ub6.FUNCT.IN", "_ub7.FUNCT.IN", "_ub8.FUNCT.IN", "_ub9.FUNCT.IN"};
    static const int kFunction[4] = {13, 14, 15, 5};
    return {{kFunct[k], kFunction[k]}, {kSig[k], 1}};
}
void nothing(Trips&) {}

// The external overspeed test begun at maximum governor, the reference
// raised to the test limit.
void toTheTestLimit(Trips& r) {
    r.close(ref_test::kRaiseContact, true);
    for (int k = 0; k < 2000 && r.value("IFACE_OUT_SPEED.SPEED_REF.A_NAME") < ref_test::kMaxGov - 0.5; ++k) r.run80(1);
    r.close(ref_test::kRaiseContact, false);
    r.run160(2);
    r.tune("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 1);
    r.run160(5);
    r.tune("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 0);
    r.close(ref_test::kRaiseContact, true);
    for (int k = 0; k < 3000 && !r.latched(18); ++k) r.run80(1);
    r.close(ref_test::kRaiseContact, false);
}

const std::vector<TripCase> kTrips = {
    {1, {}, contact(ref_test::kTripContact, false), contact(ref_test::kTripContact, true), 1,
     "*\"SD_01 - DI 03 External Trip Input 1\""},
    {2, {}, pressTripKey, releaseTripKey, 2, "*\"SD_02 - Front Display Trip Button\""},
    {3, {}, [](Trips& r) { r.toShaft(3990.0); }, nothing, 3, "*\"SD_03 - Overspeed Trip"},
    {4, {{"CNFG_SPEED.CONFIG_B.IN_1", 1}},
     [](Trips&) {
         turbine::failSensor(0);
         turbine::failSensor(1);
     },
     [](Trips&) {
         turbine::failSensor(0, false);
         turbine::failSensor(1, false);
     },
     4, "*\"SD_04 - All Speed Probes Failed"},
    {5, {}, command(5, true), command(5, false), 5, "*\"SD_05 - Trip Command from Modbus\""},
    {9, {{"_ub19.FUNCT.IN", 15}}, contact(ref_test::kSpareContact, false), contact(ref_test::kSpareContact, true), 9,
     "*\"SD_09 - External Trip 2\""},
    {10, {{"_ub19.FUNCT.IN", 16}}, contact(ref_test::kSpareContact, false), contact(ref_test::kSpareContact, true), 10,
     "*\"SD_10 - External Trip 3\""},
    {11, {{"_ub19.FUNCT.IN", 17}}, contact(ref_test::kSpareContact, false), contact(ref_test::kSpareContact, true), 11,
     "*\"SD_11 - External Trip 4\""},
    {12, {{"_ub19.FUNCT.IN", 18}}, contact(ref_test::kSpareContact, false), contact(ref_test::kSpareContact, true), 12,
     "*\"SD_12 - External Trip 5\""},
    {13, levelTrip(0), level(0, true), level(0, false), 13, "*\"SD_13 - AI Chan 1 Level 2 TRIP\""},
    {14, levelTrip(1), level(1, true), level(1, false), 14, "*\"SD_14 - AI Chan 2 Level 2 TRIP\""},
    {15, levelTrip(2), level(2, true), level(2, false), 15, "*\"SD_15 - AI Chan 3 Level 2 TRIP\""},
    {16, levelTrip(3), level(3, true), level(3, false), 16, "*\"SD_16 - AI Chan 4 Level 2 TRIP\""},
    {18, {{"IFACE_IN_SPEED.OSPD_RATE.IN", 20.0}}, toTheTestLimit, nothing, 18, "*\"SD_18 - At Overspeed Test Max SP\""},
    {19, {{"CNFG_DRIVER.CONFIG_B.IN_2", 1}},
     [](Trips&) { board::setLoopFault(kActuatorLoop, board::LoopFault::OpenWire); },
     [](Trips&) { board::setLoopFault(kActuatorLoop, board::LoopFault::None); }, 19, "*\"SD_19 - HP Actuator Fault\""},
    {20, {}, command(20, true), command(20, false), 20, "*\"SD_20 - Trip Cmd from OPC Device\""},
    {21, signalFailureTrip(0), loopOpen(0, true), loopOpen(0, false), 21, "*\"SD_21 - AI Chan 1 SigFail TRIP\""},
    {22, signalFailureTrip(1), loopOpen(1, true), loopOpen(1, false), 22, "*\"SD_22 - AI Chan 2 SigFail TRIP\""},
    {23, signalFailureTrip(2), loopOpen(2, true), loopOpen(2, false), 23, "*\"SD_23 - AI Chan 3 SigFail TRIP\""},
    {24, signalFailureTrip(3), loopOpen(3, true), loopOpen(3, false), 24, "*\"SD_24 - AI Chan 4 SigFail TRIP\""},
    // The load taken off and the controlled-stop contact (BI07) closed: the
    // stop runs to its end.
    {25, {},
     [](Trips& r) {
         turbine::setLoad(0.0);
         r.close(ref_test::kSpareContact, true);
     },
     [](Trips& r) { r.close(ref_test::kSpareContact, false); }, 25, "*\"SD_25 - Normal Shutdown Complete\"", 600},
    // Underspeed at 2900 rpm with its shutdown enabled: the shaft held at
    // 2800 rpm in control, then let go.
    {26, {{"IFACE_IN_SPEED.UNDERSPEED.IN", 2900.0}, {"IFACE_IN_SPEED.ENA_USPD_SD.IN", 1}},
     [](Trips& r) { r.holdShaft(2800.0); }, [](Trips&) { turbine::enable(); }, 26, "*\"SD_26 - Underspeed TRIP\""},
    {27, {}, command(27, true), command(27, false), 27, "*\"SD_27 - Trip Cmd from Farview\""},
    {28, {}, command(28, true), command(28, false), 28, "*\"SD_28 - SPARE\""},
    {29, {}, command(29, true), command(29, false), 28, "*\"SD_28 - SPARE\""},
    {30, {}, command(30, true), command(30, false), 30, "*\"SD_30 - Tunable TRIP (SIM Mode)\""},
};

class Shutdowns : public Trips, public ::testing::WithParamInterface<TripCase> {
protected:
    // The demand is zero. While the speed PID still asks for a demand the
    // trip input of the demand select wins; once the PID's demand is zero
    // as well, the select keeps the earlier input of the tie.
    void expectValveShut(bool tripInputWins) {
        if (tripInputWins) {
            EXPECT_GT(real("SPD_CTRL.SPD_PID_SW.A_SW"), 0.0f);
            for (int k = 1; k <= 4; ++k)
                EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_" + std::to_string(k)), k == 4 ? 1u : 0u) << k;
        }
        EXPECT_EQ(real("HP_DRIVER.ACT_LSS.LSS_BUS"), 0.0f);
        EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), 0.0f);
        EXPECT_EQ(real("HP_DRIVER.HP_ACT.A_NAME"), 0.0f);
        if (!tripInputWins && GetParam().n != 19) {
            EXPECT_LE(board::loopCurrentMa(kActuatorLoop), 4.0 + 1e-3) << "the valve's closed current";
        }
    }
};

TEST_P(Shutdowns, EachTripLatchesWithItsFirstOutTextAndShutsTheValveDown) {
    const TripCase& c = GetParam();
    for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    Settings s = kServiceTrips;
    s.insert(s.end(), c.settings.begin(), c.settings.end());
    if (c.n >= 9 && c.n <= 12) contact(ref_test::kSpareContact, true);
    start(true, true, s);
    startToRated();
    // A third of rated torque on the shaft: the valve stands well open.
    turbine::setLoad(0.3);
    runPasses(R160, 60);
    reset();
    waitResetOver();
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u) << "healthy before the trip";
    // The speed PID's demand reaches the actuator.
    const float demand = real("SPD_CTRL.SPD_PID_SW.A_SW");
    EXPECT_GT(demand, 10.0f);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.SEL_1"), 1u);
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), demand);
    EXPECT_GT(real("HP_DRIVER.HP_ACT.A_NAME"), 10.0f);
    EXPECT_GT(board::loopCurrentMa(kActuatorLoop), 6.0);
    c.raise(*this);
    ASSERT_TRUE(untilLatched(c.first, c.maxSeconds * 100)) << "never latched";
    // The valve's copy of the shutdown signal, in the pass it comes.
    ASSERT_GE(passesUntil("IFACE_IN_VLV.ANY_SD.B_NAME", 20), 0);
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), 0.0f);
    // The overspeed and the controlled stop have taken the PID's demand down
    // themselves.
    if (c.n != 3 && c.n != 25) expectValveShut(true);
    runPasses(R10, 150);  // the slower groups' copies
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
    expectValveShut(false);
    // The condition going away does not release the trip.
    c.clear(*this);
    runPasses(R160, 10);
    EXPECT_EQ(boolean(sd(c.n, "B_ALARM")), 1u);
    EXPECT_EQ(boolean(any("SEL_", c.n)), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    expectValveShut(false);
}

INSTANTIATE_TEST_SUITE_P(All, Shutdowns, ::testing::ValuesIn(kTrips),
                         [](const auto& i) { return "Trip" + std::to_string(i.param.n); });

// Trips 6 (a configuration error) and 7 (calibration mode) at standstill:
// the unit declared off from the service tool, the I/O locked through the
// platform, or calibration mode entered with the service tool's command.
struct StandstillCase {
    int n;
    const char* text;
};
class StandstillTrips : public Trips, public ::testing::WithParamInterface<StandstillCase> {};

TEST_P(StandstillTrips, LatchWithTheirFirstOutAndHoldTheDemandAtZero) {
    const StandstillCase& c = GetParam();
    readyForTrips();
    tune("CALMODE.UNIT_OFF.IN_1", 1);
    runPasses(R160, 2);
    if (c.n == 6) {
        lockIo();
    } else {
        pulse("MASTER.COMMANDS.IN_4", R160);
    }
    ASSERT_TRUE(untilLatched(c.n, 300));
    runPasses(R10, 150);
    EXPECT_EQ(boolean(sd(c.n, "B_ALARM")), 1u);
    EXPECT_EQ(boolean(sd(c.n, "LIGHT")), 1u);
    EXPECT_EQ(boolean(sd(c.n, "HORN")), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), c.n);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_VLV.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 1u);
    EXPECT_EQ(text("SHUTDOWNS.SD_FO_NOW.S_MUX_N_1"), c.text);
    EXPECT_EQ(real("SHUTDOWNS.LAST_TRIP.OUT_1"), static_cast<float>(c.n));
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Both, StandstillTrips,
                         ::testing::Values(StandstillCase{6, "*\"SD_06 - Configuration Error/IO Lock\""},
                                           StandstillCase{7, "*\"SD_07 - Unit in Calibration Mode\""}),
                         [](const auto& i) { return "Trip" + std::to_string(i.param.n); });

// ---- the list, at standstill ---------------------------------------------

class ShutdownList : public Trips {};

// From power-up (the trip contact closed): the power-up trip, configured
// while the controller powers up, latches inside its window only.
TEST_F(ShutdownList, PowerUpTripLatchesOnlyInsideItsWindowWhenConfigured) {
    turbine::enable();
    close(ref_test::kTripContact, true);
    startApp();
    EXPECT_EQ(boolean("SD_LOGIC.OVRD_TRIP.NOT"), 1u) << "overridden unless configured";
    EXPECT_EQ(boolean("SD_LOGIC.PU_SD_HIST.AND"), 1u) << "the history's power-up entry";
    tune("SD_LOGIC.SD_ON_PWRUP.IN", 1);
    runPasses(R10, 20);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_08.B_ALARM"), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 8);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    enterSettings(false, false);
    runPasses(R160, 20);
    clearTrip();
    EXPECT_EQ(boolean("SHUTDOWNS.SD_08.B_ALARM"), 0u) << "the window has closed";
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
}

// The trip contact open from power-up: its trip is masked while the
// power-up override lasts and latches once it is over.
TEST_F(ShutdownList, PowerUpOverrideMasksTheContactTripsAtStart) {
    turbine::enable();
    startApp();
    int masked = 0, standing = 0;
    while (on("SHUTDOWNS.PWR_UP_OVRD.ONE_SHOT") && masked < 1000) {
        EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 0u) << "masked during the power-up override";
        if (on("SHUTDOWNS.SIM_SW.B_SW")) ++standing;
        run10(1);
        ++masked;
    }
    EXPECT_GT(standing, 10) << "the trip's condition stood while masked";
    runPasses(R10, 5);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_01.B_ALARM"), 1u);
}

struct OverrideCase {
    int n;
    Settings settings;
    Step raise;
    bool overridable;
};
class ShutdownOverrides : public Trips, public ::testing::WithParamInterface<OverrideCase> {};

TEST_P(ShutdownOverrides, AnOverrideKeepsItsTripFromLatchingExceptTripsThreeAndSeven) {
    const OverrideCase& c = GetParam();
    for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    if (c.n == 9) close(ref_test::kSpareContact, true);
    readyForTrips(c.settings);
    tune("SHUTDOWNS.SD_OVRDS.B_ENABLE", 1);
    tune("SHUTDOWNS.SD_OVRDS.IN_" + std::to_string(c.n), 1);
    runPasses(R160, 2);
    c.raise(*this);
    runPasses(R10, 100);
    EXPECT_EQ(boolean(sd(c.n, "B_ALARM")), c.overridable ? 0u : 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), c.overridable ? 0u : 1u);
}

void calibrationMode(Trips& r) {
    r.tune("CALMODE.UNIT_OFF.IN_1", 1);
    r.run160(2);
    r.tune("MASTER.COMMANDS.IN_4", 1);
    r.run160(1);
    r.tune("MASTER.COMMANDS.IN_4", 0);
    r.run160(2);
}

INSTANTIATE_TEST_SUITE_P(Some, ShutdownOverrides,
                         ::testing::Values(OverrideCase{5, {}, command(5, true), true},
                                           OverrideCase{13, levelTrip(0), level(0, true), true},
                                           OverrideCase{30, {}, command(30, true), true},
                                           OverrideCase{3, {}, [](Trips& r) { r.toShaft(3990.0); }, false},
                                           OverrideCase{7, {}, calibrationMode, false},
                                           OverrideCase{9, {{"_ub19.FUNCT.IN", 15}},
                                                        contact(ref_test::kSpareContact, false), false}),
                         [](const auto& i) { return "Trip" + std::to_string(i.param.n); });

TEST_F(ShutdownList, EveryOverrideInputReachesItsListEntryAndTheFourFixedOnesStayOff) {
    const auto fixed = [](int n) { return n == 1 || n == 3 || n == 6 || n == 7; };
    readyForTrips();
    tune("SHUTDOWNS.SD_OVRDS.B_ENABLE", 1);
    // Each input in turn at the bits of its number: no two inputs have the
    // same pattern, so a list entry that took another's input would show.
    for (int bit = 0; bit < 5; ++bit) {
        const auto v = [bit](int n) { return static_cast<uint32_t>((n >> bit) & 1); };
        for (int n = 1; n <= 30; ++n)
            if (!fixed(n)) tune("SHUTDOWNS.SD_OVRDS.IN_" + std::to_string(n), v(n));
        runPasses(R160, 2);
        for (int n = 1; n <= 30; ++n)
            EXPECT_EQ(boolean("SHUTDOWNS.SD_OVRDS.LIST_" + std::to_string(n)), fixed(n) ? 0u : v(n)) << n << " bit " << bit;
    }
}

TEST_F(ShutdownList, OverrideListKeepsItsValuesWhileDisabled) {
    readyForTrips();
    tune("SHUTDOWNS.SD_OVRDS.B_ENABLE", 1);
    tune("SHUTDOWNS.SD_OVRDS.IN_5", 1);
    runPasses(R160, 2);
    tune("SHUTDOWNS.SD_OVRDS.B_ENABLE", 0);
    tune("SHUTDOWNS.SD_OVRDS.IN_5", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_OVRDS.LIST_5"), 1u);
    command(5, true);
    runPasses(R10, 50);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_05.B_ALARM"), 0u);
}

TEST_F(ShutdownList, ResetReleasesOnlyTripsWhoseConditionHasGoneAndRenumbers) {
    readyForTrips();
    trip(5);
    trip(20);
    trip(30);
    EXPECT_EQ(integer(any("ALM_NO_", 5)), 1);
    EXPECT_EQ(integer(any("ALM_NO_", 20)), 2);
    EXPECT_EQ(integer(any("ALM_NO_", 30)), 3);
    const int32_t stamp20 = static_cast<int32_t>(static_cast<TimeCell*>(cell("SHUTDOWNS.ANY.EV_TM_20"))->sec);
    command(5, false);
    command(30, false);
    runPasses(R160, 8);  // past the shutdown's one-shot
    // The pass of the reset that releases slot 0 takes the first-out from
    // that slot before the list is packed: none, not trip 20 moved into it.
    contact(ref_test::kResetContact, true);
    ASSERT_GE(passesUntil(any("SEL_", 5), 100, false), 0) << "the reset never released trip 5";
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 0) << "in the pass that released slot 0";
    EXPECT_EQ(SHUTDOWNS_ANY_nIndex[0], 20);
    resetShutdowns();
    EXPECT_EQ(boolean(any("SEL_", 5)), 0u);
    EXPECT_EQ(boolean(any("SEL_", 30)), 0u);
    EXPECT_EQ(integer(any("ALM_NO_", 5)), 0);
    EXPECT_EQ(boolean(any("SEL_", 20)), 1u) << "its condition stands";
    EXPECT_EQ(integer(any("ALM_NO_", 20)), 1);
    EXPECT_EQ(static_cast<int32_t>(static_cast<TimeCell*>(cell("SHUTDOWNS.ANY.EV_TM_20"))->sec), stamp20);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 20);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(SHUTDOWNS_ANY_nIndex[0], 20);
    EXPECT_EQ(SHUTDOWNS_ANY_nIndex[1], 0);
    command(20, false);
    runPasses(R160, 2);
    resetShutdowns();
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.LATCH_AE"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 0u);
}

TEST_F(ShutdownList, AcknowledgeSilencesTheHornAndANewTripSoundsItAgain) {
    readyForTrips();
    trip(5);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 1u);
    tune("SHUTDOWNS.ACKNOWLEDG.IN_2", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 0u);
    tune("SHUTDOWNS.ACKNOWLEDG.IN_2", 0);
    runPasses(R160, 2);
    trip(20);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.HORN"), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 5) << "the first-out stays";
}

// Trips 20 and 5, both commands of the 80 ms group: given before the same
// pass they latch in the same 10 ms pass, in record order (5 first, though
// given second); given a pass apart, in time order.
struct OrderCase {
    const char* name;
    bool samePass;
    int first;
    int alm5, alm20;
};
class ShutdownOrder : public Trips, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(ShutdownOrder, TripsTakeSlotsInRecordOrderWithinAPassAndInTimeOrderAcrossPasses) {
    const OrderCase& c = GetParam();
    readyForTrips();
    const int events = GetLatchAESize(1);
    command(20, true);
    if (!c.samePass) {
        ASSERT_TRUE(untilLatched(20));
    }
    command(5, true);
    ASSERT_TRUE(untilLatched(5));
    ASSERT_TRUE(untilLatched(20));
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), c.first);
    EXPECT_EQ(integer(any("ALM_NO_", 5)), c.alm5);
    EXPECT_EQ(integer(any("ALM_NO_", 20)), c.alm20);
    EXPECT_EQ(GetLatchAESize(1), events + 2);
}

INSTANTIATE_TEST_SUITE_P(Both, ShutdownOrder,
                         ::testing::Values(OrderCase{"SamePass", true, 5, 1, 2}, OrderCase{"NextPass", false, 20, 2, 1}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(ShutdownList, FirstOutResetLetsTheNextTripBecomeFirstOut) {
    readyForTrips();
    trip(20);
    tune("SHUTDOWNS.ANY.FA_RST", 1);
    runPasses(R10, 2);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 0);
    tune("SHUTDOWNS.ANY.FA_RST", 0);
    trip(30);
    runPasses(R10, 3);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 30);
    EXPECT_EQ(integer(any("ALM_NO_", 30)), 2) << "its place in the list is unchanged";
}

TEST_F(ShutdownList, NewEntryCountSaturatesAtTwoAndTheChangeFlagMarksChangingPasses) {
    readyForTrips();
    for (int n : {5, 20, 27, 30, 28}) {
        command(n, true);
        ASSERT_TRUE(untilLatched(n)) << n;
    }
    ASSERT_TRUE(untilLatched(29));
    runPasses(R10, 2);
    EXPECT_EQ(SHUTDOWNS_ANYNewRedFlag, 2);
    EXPECT_EQ(bEventStatusChanged1, 0) << "nothing changed in the last pass";
}

TEST_F(ShutdownList, HistoryKeepsTheLastFiveFirstOutsNewestFirstAndWraps) {
    readyForTrips();
    runPasses(R10, 100);  // past the counter's start-up override
    EXPECT_EQ(integer("SHUTDOWNS.LAST_5_SD.I_OUT_1"), 1) << "the trip contact open at power-up";
    const struct {
        int n;
        const char* text;
    } trips[] = {{5, "*\"SD_05 - Trip Command from Modbus\""},
                 {20, "*\"SD_20 - Trip Cmd from OPC Device\""},
                 {27, "*\"SD_27 - Trip Cmd from Farview\""},
                 {30, "*\"SD_30 - Tunable TRIP (SIM Mode)\""},
                 {1, "*\"SD_01 - DI 03 External Trip Input 1\""},
                 {28, "*\"SD_28 - SPARE\""}};
    std::vector<int> seen;
    for (const auto& t : trips) {
        if (t.n == 1) {
            trip();
            ASSERT_TRUE(untilLatched(1));
            close(ref_test::kTripContact, true);
        } else {
            trip(t.n);
            command(t.n, false);
        }
        runPasses(R160, 8);  // past the shutdown's one-shot
        // The standing shutdown's slot holds its time stamp: the slot's
        // latch is set.
        const int slot = static_cast<int>(real("SHUTDOWNS.COUNTER.COUNTER"));
        ASSERT_GE(slot, 1);
        ASSERT_LE(slot, 5);
        EXPECT_EQ(boolean("SHUTDOWNS.SD" + std::to_string(slot) + "_LCH.LATCH_R"), 1u) << t.n;
        resetShutdowns();
        ASSERT_FALSE(on("SHUTDOWNS.ANY_SD.B_NAME")) << t.n;
        seen.insert(seen.begin(), t.n);
        runPasses(R160, 1);
        EXPECT_EQ(text("SHUTDOWNS.SD_FO_NOW.S_MUX_N_1"), t.text) << t.n;
    }
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(integer("SHUTDOWNS.LAST_5_SD.I_OUT_" + std::to_string(k)), seen[k - 1]) << k;
    // Seven shutdowns with the one at power-up: the wrap after the fifth
    // cleared the compare, so the sixth and seventh counted on from one and
    // the next wrap can come.
    EXPECT_EQ(boolean("SHUTDOWNS.COUNTER.CMP_OUT"), 0u);
    EXPECT_EQ(real("SHUTDOWNS.COUNTER.COUNTER"), 3.0f);
}

TEST_F(ShutdownList, LedTestLightsTheTrippedLedForFiveSeconds) {
    readyForTrips();
    tune("SHUTDOWNS.LED_TEST.IN_1", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 1u);
    runPasses(R160, 31);
    EXPECT_EQ(boolean("SHUTDOWNS.TRIPPED_LED.B_NAME"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.LED_TEST.IN_1"), 0u);
}

// The front panel's trip key trips directly, or, with the delay in use,
// only once held for the delay; and not again while a shutdown is latched.
struct KeyCase {
    const char* name;
    int useDelay;
};
class TripKey : public Trips, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(TripKey, TheKeyTripsDirectlyOrThroughItsDelayAndNotAgainWhileShutDown) {
    const KeyCase& c = GetParam();
    readyForTrips();
    tune("SD_LOGIC.USE_DELAY.IN", c.useDelay);
    runPasses(R160, 2);
    key(kTripKey, true);
    runPasses(R80, 6);  // 0.48 s, short of the 2.0 s delay
    EXPECT_EQ(boolean("SHUTDOWNS.SD_02.B_ALARM"), c.useDelay ? 0u : 1u) << "the key at once";
    if (c.useDelay != 0) {
        runPasses(R80, 24);
        EXPECT_EQ(boolean("SD_LOGIC.DELAY.DELAY"), 1u);
        runPasses(R80, 2);
    }
    EXPECT_EQ(boolean("SHUTDOWNS.SD_02.B_ALARM"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.PUSHBUTTON.B_SW"), 0u) << "masked while a shutdown is latched";
    key(kTripKey, false);
}

INSTANTIATE_TEST_SUITE_P(Paths, TripKey, ::testing::Values(KeyCase{"Direct", 0}, KeyCase{"Delayed", 1}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(ShutdownList, TheRemoteTripSettingFollowsItsInput) {
    readyForTrips();
    for (int v : {1, 0, 1}) {
        tune("SD_LOGIC.USE_RMTTRIP.IN", v);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("SD_LOGIC.USE_RMTTRIP.B_NAME"), static_cast<uint32_t>(v));
    }
}

TEST_F(ShutdownList, AResetKeepsTheFirstSlotsTripWhileItStandsAndReleasesTheRest) {
    readyForTrips();
    trip();  // record 1, in slot 0
    ASSERT_TRUE(untilLatched(1));
    trip(5);
    command(5, false);
    runPasses(R160, 8);  // past the shutdown's one-shot
    const auto eventTime = [](uint16_t want) {
        for (uint32_t k = 0; k < GetLatchAESize(1); ++k) {
            uint16_t id = 0;
            TimerValue t{};
            if (GetNextLatchAEInfo(1, k, &id, &t) == 1 && id == want) return uint64_t{t.seconds} * 1000000 + t.microsec;
        }
        return uint64_t{0};
    };
    const uint64_t clearedBefore = eventTime(32);
    resetShutdowns();
    EXPECT_EQ(boolean(any("SEL_", 1)), 1u);
    EXPECT_EQ(integer(any("ALM_NO_", 1)), 1);
    EXPECT_EQ(boolean(any("SEL_", 5)), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.LATCH_AE"), 1u);
    EXPECT_GT(eventTime(31), clearedBefore) << "the reset's event";
    EXPECT_EQ(eventTime(32), clearedBefore) << "no all-cleared";
    EXPECT_EQ(GetLatchAESize(1), clearedBefore != 0 ? 3 : 2) << "the events and the one entry";
    EXPECT_EQ(boolean("SD_LOGIC.CTRL_SD_NT.NOT"), 1u);
}

// The controlled stop's step clears the not-in-controlled-stop flag.
TEST_F(ShutdownList, TheControlledStopStepClearsItsFlag) {
    for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    start(true, true);
    startToRated();
    EXPECT_EQ(boolean("SD_LOGIC.CTRL_SD_NT.NOT"), 1u);
    close(ref_test::kSpareContact, true);  // BI07: the controlled stop
    ASSERT_TRUE(runUntil([&] { return step("Z01_STEP"); }, 100));
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SD_LOGIC.CTRL_SD_NT.NOT"), 0u);
}

// ---- the start inhibits ----------------------------------------------------

// Ready at standstill with a manual start, the start permissive on BI07
// (function 27), its contact closed. The display lists the inhibits while a
// start is attempted and the unit has not started: from the start command's
// pulse on.
class StartInhibits : public Trips {
protected:
    void readyWithPermissive() {
        close(ref_test::kSpareContact, true);
        start(false, false, {{"_ub19.FUNCT.IN", 27}});
        waitResetOver();
    }
    // The start command of the service tool given (and held), until the
    // display has been rebuilt in its pulse.
    void attemptStart() {
        tune("START.START.IN_3", 1);
        for (int k = 0; k < 100 && on("START.OR_STARTED.OR"); ++k) run10(1);
        ASSERT_EQ(boolean("START.OR_STARTED.OR"), 0u) << "no start pulse";
        run160(1);
    }
    void endStart() {
        tune("START.START.IN_3", 0);
        run160(8);
    }
    std::string shown() {
        std::string s;
        for (int k = 1; k <= 6; ++k)
            if (on("START.ALM_DSPL.SEL_" + std::to_string(k))) s += std::to_string(k) + " ";
        return s;
    }
};

struct InhibitCase {
    const char* name;
    int n;
};
class StartInhibitAlone : public StartInhibits, public ::testing::WithParamInterface<InhibitCase> {};

// The unit tripped (1), the start permissive contact open (3): each alone
// is the list's only entry and its first-out.
TEST_P(StartInhibitAlone, EachStartInhibitAloneIsTheFirstOut) {
    const InhibitCase& c = GetParam();
    readyWithPermissive();
    ASSERT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 0u) << "an inhibit stands at the start";
    if (c.n == 1) trip();
    if (c.n == 3) close(ref_test::kSpareContact, false);
    runPasses(R160, 6);
    EXPECT_EQ(shown(), "") << "no start attempted";
    EXPECT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 1u);
    attemptStart();
    EXPECT_EQ(shown(), std::to_string(c.n) + " ");
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_" + std::to_string(c.n)), 1);
    EXPECT_EQ(integer("START.ALM_DSPL.FIRST_ALM"), c.n);
    EXPECT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 1u);
    EXPECT_EQ(boolean("START.ALM_DSPL.HORN"), 1u);
    EXPECT_EQ(boolean("START.ALM_DSPL.LATCH1"), 1u);
    EXPECT_FALSE(step("A01_STEP")) << "not started";
    endStart();
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(boolean("START.ALM_DSPL.HORN"), 0u);
    EXPECT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 1u) << "the inhibit still shows";
}

INSTANTIATE_TEST_SUITE_P(Inhibits, StartInhibitAlone,
                         ::testing::Values(InhibitCase{"Tripped", 1}, InhibitCase{"PermissiveOpen", 3}),
                         [](const auto& i) { return std::string(i.param.name); });

// The permissive contact opened, then the unit tripped: the earlier
// inhibit in the list's order takes the first slot and the later renumbers;
// the message names the permissive.
TEST_F(StartInhibits, StartInhibitsAreListedInOrderWhileTheUnitIsNotStarted) {
    readyWithPermissive();
    close(ref_test::kSpareContact, false);
    runPasses(R160, 6);
    attemptStart();
    EXPECT_EQ(shown(), "3 ");
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_3"), 1);
    EXPECT_EQ(integer("START.ALM_DSPL.FIRST_ALM"), 3);
    EXPECT_EQ(boolean("SERVICE.PERN_DSP1.OR"), 1u);
    EXPECT_EQ(text("SERVICE.SW_M_NSTR.B_TO_STR"), "\"  Start Perm Not Closed\"");
    EXPECT_EQ(integer("SERVICE.SW_M_NSTR.MSG_SEL"), 1);
    endStart();
    trip();
    runPasses(R160, 6);
    attemptStart();
    EXPECT_EQ(shown(), "1 3 ");
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_1"), 1);
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_3"), 2);
    EXPECT_EQ(integer("START.ALM_DSPL.ALM_NO_2"), 0);
    EXPECT_EQ(integer("START.ALM_DSPL.FIRST_ALM"), 1);
    EXPECT_EQ(text("SERVICE.SW_M_NSTR.B_TO_STR"), "\"  Start Perm Not Closed\"");
    // Both gone: nothing shown, and no message of an inhibit.
    endStart();
    close(ref_test::kSpareContact, true);
    clearTrip();
    runPasses(R160, 8);
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(integer("START.ALM_DSPL.FIRST_ALM"), 0);
    EXPECT_EQ(boolean("START.ALM_DSPL.LOGICAL_OR"), 0u);
    EXPECT_EQ(boolean("START.ALM_DSPL.HORN"), 0u);
    EXPECT_EQ(boolean("SERVICE.PERN_DSP1.OR"), 0u);
    EXPECT_EQ(text("SERVICE.SW_M_NSTR.B_TO_STR"), "\"  Start Perms Not Met  \"");
}

}  // namespace
}  // namespace pr_test

// ---- states no input of this rig gives --------------------------------------
// On the protection slices alone, their conditions set on their cells: the
// trip from the remote nodes (they sit on the CAN bus, which this rig does
// not run; the remote-alarm tests raise it from the nodes), the list's reset
// without the trip blocks' (both come from the one reset, which releases
// every block whose condition has gone), the clock at the last microsecond
// of a second in the pass of a reset, and the start inhibits the program
// never raises (4, the redundant link, and 6, the critical band, have no
// source), the configuration error's (5) and no start configured (2),
// which both come with the configuration-error trip, and inhibits standing
// once the unit has started (the list is rebuilt only while not started).
namespace pr_test {
namespace {

class ShutdownSlices : public ProtectionRig {};

TEST_F(ShutdownSlices, TheRemoteNodesTripLatchesWithItsFirstOutText) {
    start();
    setCell("SD_LOGIC.VL_SUMMARY.B_NAME", 1);
    runPasses(R10, 150);
    EXPECT_EQ(boolean(sd(17, "B_ALARM")), 1u);
    EXPECT_EQ(boolean(sd(17, "LIGHT")), 1u);
    EXPECT_EQ(boolean(sd(17, "HORN")), 1u);
    EXPECT_EQ(boolean(any("SEL_", 17)), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 17);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(text("SHUTDOWNS.SD_FO_NOW.S_MUX_N_1"), "*\"SD_17 - TRIP from Veltra Nodes\"");
    setCell("SD_LOGIC.VL_SUMMARY.B_NAME", 0);
    runPasses(R10, 30);
    EXPECT_EQ(boolean(sd(17, "B_ALARM")), 1u) << "the condition going away does not release it";
}

TEST_F(ShutdownSlices, AListResetAloneDoesNotReleaseALatchedTripBlock) {
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

// The clock held at the last microsecond of a second.
void lastMicrosecondClock() {
    cells::ORVEX12_IO.RTC_TOD = TimeCell{1800000000u, 999999u};
    r10::SHUTDOWNS_external_trip_1();
}

TEST_F(ShutdownSlices, AllClearedOneMicrosecondAfterTheResetCarriesIntoTheSeconds) {
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

TEST_F(ShutdownSlices, EachStartInhibitAloneIsTheFirstOutIncludingTheFirstAndLast) {
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

TEST_F(ShutdownSlices, StartInhibitsAreListedInOrderWhileTheUnitIsNotStarted) {
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
