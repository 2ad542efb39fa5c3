// Relay states, the trip relay, the drive shutdown and the relay output
// channels. On the whole program, driven only through its inputs (trips
// from contacts, keys, the turbine model, analog loops and the service
// tool; the I/O lock through the platform; the relay readback contacts on
// the board): the trip relay on a shutdown and under the I/O lock, the
// first-out test of the external trips, the reset that clears the trip
// relay and the readback faults. On the relay slices alone, each with its
// reason: what no input of the program reaches.
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/discrete/BO_MUX.cells.h"
#include "app/control/SD_LOGIC.cells.h"
#include "app/discrete/VL5_BO.cells.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "platform/vkiobus.h"
#include "runtime/catalogue.h"
#include "tests/discrete/discrete_rig.h"
#include "tests/protection/whole_rig.h"
#include "tests/remote_io/program_rig.h"

namespace di_test {
namespace {

// ---- on the whole program ---------------------------------------------------------------

using ref_test::kSpareContact;
using ref_test::kTripContact;
constexpr int kBi08Contact = 19;

class RelaysProgram : public pr_test::WholeRig {
public:
    // The inputs a trip source gives.
    void close(int input, bool closed) { contact(input, closed); }
    void pressTripKey(bool pressed) { key(pr_test::kTripKey, pressed); }
    void holdShaft(double rpm) { holdShaftAt(rpm); }

protected:
    // Ready to start at standstill with the relay readback contacts wired,
    // the analog inputs at mid range and `extra` entered while the
    // controller powers up.
    void readyWithRelays(const Settings& extra = {}) {
        board::wireRelayReadbacks(true);
        for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
        ready(extra);
    }
    uint32_t tripRelayDriven() { return board::relaysEnergised() & 1u; }
    bool latched(int n) { return boolean(sd(n, "B_ALARM")) != 0; }
    // 10 ms passes until the unit is shut down with `first_out` first.
    void untilShutDown(int first_out) {
        for (int k = 0; k < 1000 && !(on("SHUTDOWNS.ANY_SD.B_NAME") && latched(first_out)); ++k) run10(1);
        ASSERT_TRUE(on("SHUTDOWNS.ANY_SD.B_NAME")) << "no shutdown";
        ASSERT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), first_out);
    }
    // The trips reset from the reset contact once the trip's one-shot is
    // over, and the reset over.
    void resetTrips() {
        run160(8);
        reset();
        ASSERT_TRUE(runUntil([&] { return !on("SHUTDOWNS.ANY_SD.B_NAME"); }, 20))
            << "still shut down; first out " << integer("SHUTDOWNS.ANY.FIRST_ALM");
        waitResetOver();
    }
    // The tunable trip (30) from the service tool, and its end.
    void tunableTrip(bool on) { tune("SHUTDOWNS.TUNABLE_TRIP.IN", on ? 1 : 0); }
};

// Relay 1 carries the trip relay's state by default: energised while
// healthy, dropped on a shutdown (with the 0.5 s shutdown pulse), its
// readback following; energised again once the trips are reset.
TEST_F(RelaysProgram, TripRelayIsEnergisedWhileHealthyAndDropsOnAShutdown) {
    readyWithRelays();
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 2);
    EXPECT_EQ(text("CNFG_BO.RLY_FUN_STRG1.I_TO_STR"), "Summary Shutdown");
    EXPECT_EQ(text("CNFG_BO.RLY02_FDBK.B_TO_STR"), " Energized ");
    EXPECT_EQ(real("CNFG_BO.RELAY_01_FUNCT.OUT_1"), 2.0f);
    EXPECT_EQ(boolean("BO_MUX.TRIP_RLY.B_NAME"), 1u);
    EXPECT_EQ(tripRelayDriven(), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 0u);
    tunableTrip(true);
    untilShutDown(30);
    run10(3);
    EXPECT_EQ(boolean("SHUTDOWNS.RELY_NOT.NOT"), 0u);
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_13"), 0u);
    EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_2"), 1u);
    EXPECT_EQ(tripRelayDriven(), 0u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 0u) << "the readback followed";
    // A shutdown pulse of 0.5 s went with it.
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PLS.ONE_SHOT"), 1u);
    run10(50);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PLS.ONE_SHOT"), 0u);
    run160(1);
    EXPECT_EQ(text("CNFG_BO.RLY02_FDBK.B_TO_STR"), " De-energized ");
    tunableTrip(false);
    resetTrips();
    run10(3);
    EXPECT_EQ(tripRelayDriven(), 1u);
    EXPECT_EQ(text("CNFG_BO.RLY02_FDBK.B_TO_STR"), " Energized ");
}

// The I/O lock (granted only while shut down) drops the board's relays:
// shut down from the trip contact, the first out (external trip 1) keeps
// the trip relay commanded (external trips set not to act on it), so its
// readback differs from the command.
TEST_F(RelaysProgram, IoLockDropsTheTripRelayAndItsReadbackReportsTheDifference) {
    readyWithRelays({{"CNFG_OPERATE.CONFIG_B.IN_2", 0}});
    trip();
    untilShutDown(1);
    run10(3);
    ASSERT_EQ(tripRelayDriven(), 1u);
    lockIo();
    run10(3);
    EXPECT_EQ(tripRelayDriven(), 0u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.DISPLAY"), 1u) << "the command stands";
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.READBACK"), 0u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 1u);
    unlockIo();
    run10(3);
    EXPECT_EQ(tripRelayDriven(), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_1.RDBK_FAULT"), 0u);
}

// The first-out test of the external trips: each trip from its own input
// on a unit ready at standstill, one after the other with the trips reset
// in between. External trips 1 .. 5 first keep the trip relay energised
// unless the setting makes external trips act on it.
struct FirstOutSource {
    const char* name;
    int first_out;
    std::function<void(RelaysProgram&, bool)> raise;  // true: raise, false: clear
};
class TripRelayFirstOut : public RelaysProgram {
protected:
    void raiseEach(const std::vector<FirstOutSource>& sources, const std::vector<uint32_t>& energised) {
        for (size_t k = 0; k < sources.size(); ++k) {
            const FirstOutSource& s = sources[k];
            SCOPED_TRACE(s.name);
            s.raise(*this, true);
            untilShutDown(s.first_out);
            run10(3);
            EXPECT_EQ(boolean("BO_MUX.TRIP_RLY.B_NAME"), energised[k]);
            EXPECT_EQ(tripRelayDriven(), energised[k]);
            s.raise(*this, false);
            resetTrips();
            run10(3);
            EXPECT_EQ(tripRelayDriven(), 1u);
        }
    }
    static Settings settings(bool ext_trips_act) {
        return {{"_ub19.FUNCT.IN", 15},   // BI07: external trip 2
                {"_ub20.FUNCT.IN", 18},   // BI08: external trip 5
                {"_ub1.USE_SP2.IN", 1},   // analog input 1's level 2 a trip, no delay
                {"_ub1.TRIP_SP2.IN", 1},
                {"_ub1.ALM_DLY.IN", 0.0},
                {"CNFG_OPERATE.CONFIG_B.IN_2", ext_trips_act ? 1 : 0}};
    }
    void SetUp() override {
        RelaysProgram::SetUp();
        // The external trip contacts closed (healthy) before the start.
        contact(kSpareContact, true);
        contact(kBi08Contact, true);
    }
};
const FirstOutSource kTripContactOpened{"TripContact", 1, [](RelaysProgram& r, bool on) {
                                            r.close(kTripContact, !on);
                                        }};
const FirstOutSource kExternalTrip2{"ExternalTrip2", 9, [](RelaysProgram& r, bool on) {
                                        r.close(kSpareContact, !on);
                                    }};
const FirstOutSource kExternalTrip5{"ExternalTrip5", 12, [](RelaysProgram& r, bool on) {
                                        r.close(kBi08Contact, !on);
                                    }};
const FirstOutSource kKeypad{"KeypadTrip", 2, [](RelaysProgram& r, bool on) {
                                 if (!on) return;
                                 r.pressTripKey(true);
                                 for (int k = 0; k < 1000 && !r.on("SHUTDOWNS.ANY_SD.B_NAME"); ++k) r.run10(1);
                                 r.pressTripKey(false);
                             }};
const FirstOutSource kOverspeed{"Overspeed", 3, [](RelaysProgram& r, bool on) {
                                    r.holdShaft(on ? 3990.0 : 0.0);
                                }};
const FirstOutSource kInput1Level2{"Input1Level2", 13, [](RelaysProgram&, bool on) {
                                       board::setAnalogInputMa(0, on ? 4.0 + 0.16 * 75.0 : 12.0);
                                   }};

TEST_F(TripRelayFirstOut, ExternalTripsFirstKeepTheRelayTheOthersDropIt) {
    readyWithRelays(settings(false));
    // Trip numbers 2 and 13 lie just outside external trips 1 and 5.
    raiseEach({kOverspeed, kTripContactOpened, kKeypad, kExternalTrip2, kExternalTrip5, kInput1Level2},
              {0, 1, 0, 1, 1, 0});
}

TEST_F(TripRelayFirstOut, ExternalTripsConfiguredToActDropIt) {
    readyWithRelays(settings(true));
    raiseEach({kExternalTrip2, kTripContactOpened}, {0, 0});
}

// Power-up: with the shutdown on power-up set (as the tunables file gives
// it, in force from the first frame) and every trip contact closed, the
// power-up trip (8, just below external trip 2) is the first out, and the
// trip relay stays dropped.
bool g_powerUpTripSet = false;
void powerUpTripSetting() {
    if (g_powerUpTripSet) return;
    g_powerUpTripSet = true;
    cells::SD_LOGIC.SD_ON_PWRUP_IN = 1;
}
TEST_F(TripRelayFirstOut, PowerUpTripFirstDropsIt) {
    g_powerUpTripSet = false;
    std::vector<SliceFn> r10{powerUpTripSetting};
    r10.insert(r10.end(), tc_test::programSliceTable()[R10].begin(), tc_test::programSliceTable()[R10].end());
    useSlices(R10, r10);
    board::wireRelayReadbacks(true);
    for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    contact(kTripContact, true);
    turbine::enable();
    startApp();
    enterSettings(false, false, settings(false));
    run160(20);
    ASSERT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 8);
    run10(3);
    EXPECT_EQ(boolean("BO_MUX.TRIP_RLY.B_NAME"), 0u);
    EXPECT_EQ(tripRelayDriven(), 0u);
}

// With the reset set to clear the trip relay, the relay follows its latch:
// it stays dropped after the trip's cause is gone until the reset pulse.
TEST_F(RelaysProgram, WithResetToClearTheTripRelayStaysDroppedUntilTheResetPulse) {
    readyWithRelays({{"CNFG_OPERATE.CONFIG_B.IN_3", 1}});
    ASSERT_EQ(boolean("SHUTDOWNS.RST_CLRTRP.B_NAME"), 1u);
    tunableTrip(true);
    untilShutDown(30);
    run10(10);
    tunableTrip(false);
    run10(60);
    EXPECT_EQ(boolean("SHUTDOWNS.REL_LATCH.LATCH"), 1u);
    EXPECT_EQ(tripRelayDriven(), 0u);
    resetTrips();
    EXPECT_EQ(boolean("SHUTDOWNS.REL_LATCH.LATCH"), 0u);
    EXPECT_EQ(tripRelayDriven(), 1u);
}

// Relay 2 on "Summary Shutdown": its readback fault, pass by pass from the
// pass in which the command changed, with the contact following the relay
// or stuck open.
struct ReadbackCase {
    const char* name;
    int stuck;                     // -1: the contact follows the relay
    std::vector<uint32_t> faults;  // from the pass in which the command changed
};
class RelayReadback : public RelaysProgram, public ::testing::WithParamInterface<ReadbackCase> {};

TEST_P(RelayReadback, FaultWhenTheReadbackDiffersFromTheCommandOfTheFrameBefore) {
    const ReadbackCase& c = GetParam();
    readyWithRelays({{"_ub21.RLY_FUNCT.IN", 2}});
    board::setRelayReadbackStuck(1, c.stuck);
    run10(3);
    ASSERT_EQ(boolean("CNFG_BO.RELAY_2.RDBK_FAULT"), c.stuck == 1 ? 1u : 0u);
    ASSERT_EQ(boolean("_ub21.ENERGIZE_CMD.B_NAME"), 0u);
    tunableTrip(true);
    std::vector<uint32_t> seen;
    for (int pass = 0; pass < 200 && seen.size() < c.faults.size(); ++pass) {
        run10(1);
        if (!seen.empty() || boolean("_ub21.ENERGIZE_CMD.B_NAME") == 1) seen.push_back(boolean("CNFG_BO.RELAY_2.RDBK_FAULT"));
    }
    EXPECT_EQ(seen, c.faults);
}
const ReadbackCase kReadbackCases[] = {
    {"FollowingContactGivesNoFault", -1, {0, 0, 0, 0}},
    {"ContactStuckOpenFaultsTheSecondPassAfterTheChange", 0, {0, 0, 1, 1}},
};
INSTANTIATE_TEST_SUITE_P(Contacts, RelayReadback, ::testing::ValuesIn(kReadbackCases),
                         [](const ::testing::TestParamInfo<ReadbackCase>& i) { return std::string(i.param.name); });

// The level switch of relay 4 on "Actual Speed" (level switch 2): the
// shaft held on the turbine model, the switch's points entered from the
// service tool around the speed it reads. A value x against the points
// (on, off) is the speed read against (on, off) moved by the speed less x.
struct SwitchStep {
    float x;
    uint32_t out;
};
struct SwitchCase {
    const char* name;
    float on, off;
    uint32_t low_switch;
    std::vector<SwitchStep> steps;
};
class LevelSwitchProgram : public RelaysProgram, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(LevelSwitchProgram, TurnsOnAndOffAtItsPointsAndHoldsBetween) {
    const SwitchCase& c = GetParam();
    readyWithRelays({{"_ub23.RLY_FUNCT.IN", 1}, {"_ub23.LVL_SW_FUNCT.IN", 2}, {"_ub23.USE_LVL_SW.IN", 1}});
    holdShaftAt(1000.0);
    run160(10);
    const float speed = real("BO_MUX.SEL_LSW.LIST_2");
    ASSERT_NEAR(speed, 1000.0f, 5.0f);
    const auto value = [&](float x) {
        tune("_ub23.LVL_ON.IN", static_cast<float>(speed + (c.on - x)));
        tune("_ub23.LVL_OFF.IN", static_cast<float>(speed + (c.off - x)));
        // The 160 ms settings reach the relay's fast pass through the copies.
        run160(3);
    };
    // Off to begin with: a value far beyond the off point.
    value(c.on >= c.off ? c.off - 1000.0f : c.off + 1000.0f);
    ASSERT_EQ(boolean("_ub23.LSW_CALC.B_OUT_1"), 0u);
    for (const SwitchStep& step : c.steps) {
        SCOPED_TRACE(step.x);
        value(step.x);
        ASSERT_EQ(real("BO_MUX.SEL_LSW.LIST_2"), speed) << "the shaft held still";
        EXPECT_EQ(boolean("_ub23.LSW_CALC.B_OUT_1"), step.out);
        EXPECT_EQ(boolean("_ub23.ENERGIZE_CMD.B_NAME"), step.out);
        EXPECT_EQ(boolean("CNFG_BO.RELAY_4.DISPLAY"), step.out);
    }
    EXPECT_EQ(boolean("_ub23.LSW_CALC.B_OUT_2"), c.low_switch);
}
const SwitchCase kSwitchCases[] = {
    {"HighSwitchWithAHoldBand", 10.0f, 5.0f, 0, {{7.0f, 0}, {9.99f, 0}, {10.0f, 1}, {7.0f, 1}, {5.0f, 1}, {4.99f, 0}}},
    {"LowSwitchWithAHoldBand", 5.0f, 10.0f, 1,
     {{12.0f, 0}, {7.0f, 0}, {5.01f, 0}, {5.0f, 1}, {7.0f, 1}, {10.0f, 1}, {10.01f, 0}}},
    {"EqualPointsHaveNoHoldBand", 5.0f, 5.0f, 0, {{4.99f, 0}, {5.0f, 1}, {4.99f, 0}}},
};
INSTANTIATE_TEST_SUITE_P(Points, LevelSwitchProgram, ::testing::ValuesIn(kSwitchCases),
                         [](const ::testing::TestParamInfo<SwitchCase>& i) { return std::string(i.param.name); });

// Level switch 1 is the analog value entered from the service tool: it is
// no source that a relay function uses.
TEST_F(RelaysProgram, LevelSwitchOnAnalogNumberOneGivesNoSource) {
    readyWithRelays({{"_ub23.RLY_FUNCT.IN", 1},
                     {"_ub23.LVL_SW_FUNCT.IN", 1},
                     {"_ub23.USE_LVL_SW.IN", 1},
                     {"BO_MUX.SEL_LSW.IN_1", 20.0}});
    run80(2);
    EXPECT_EQ(real("BO_MUX.SEL_LSW.LIST_1"), 20.0f);
    EXPECT_EQ(boolean("_ub23.LSW_CALC.B_OUT_1"), 1u);
    EXPECT_EQ(boolean("_ub23.LSW_CALC_NOT_USED.B_SW"), 0u);
    EXPECT_EQ(boolean("_ub23.ENERGIZE_CMD.B_NAME"), 0u);
    EXPECT_EQ(text("_ub23.LVL_FUNCT_STRNG.S_NAME"), "--- Not Used ---");
    EXPECT_EQ(integer("_ub23.RLY_CHK_USE.I_SW"), 1);
}

// The alarm override of the shutdown list runs for its delay (0.2 s at
// 10 ms) once a latched shutdown has been reset.
TEST_F(RelaysProgram, AlarmOverrideRunsForItsDelayAfterALatchedShutdownClears) {
    readyWithRelays();
    tunableTrip(true);
    untilShutDown(30);
    run10(5);
    EXPECT_EQ(boolean("ALARMS.OVRD_17.OR"), 0u);
    tunableTrip(false);
    run160(8);
    contact(ref_test::kResetContact, true);
    int k = 0;
    for (; k < 200 && on("SHUTDOWNS.ANY.LATCH_AE"); ++k) run10(1);
    ASSERT_LT(k, 200) << "the shutdown never cleared";
    int on_passes = on("ALARMS.OVRD_17.OR") ? 1 : 0;
    for (k = 1; k < 40; ++k) {
        run10(1);
        on_passes += static_cast<int>(boolean("ALARMS.OVRD_17.OR"));
    }
    contact(ref_test::kResetContact, false);
    EXPECT_GE(on_passes, 20);
    EXPECT_LE(on_passes, 21);
}

// The speed-control state of the relay list on a unit started to rated:
// on 0.5 s after the speed PID has the valve select (the limiter not),
// off 0.5 s after it has lost it; a selection shorter than that changes
// nothing. The limiter lowered below the PID's demand from the service
// tool, raised just past it and lowered again at once, and raised again.
TEST_F(RelaysProgram, SpeedControlStateFollowsItsSelectionAfterTheOnAndOffDelays) {
    board::wireRelayReadbacks(true);
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}});
    std::vector<uint32_t> in, out;
    const auto pass = [&] {
        run10(1);
        const uint32_t sel1 = boolean("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME");
        const uint32_t sel2 = boolean("IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME");
        EXPECT_EQ(boolean("BO_MUX.SPD_NOTLMTR.AND"), sel1 && !sel2 ? 1u : 0u);
        EXPECT_EQ(boolean("BO_MUX.VLVLMT_CTL.B_NAME"), sel2);
        EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_11"), sel2);
        EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_5"), boolean("BO_MUX.SPD_CTRL.B_NAME"));
        in.push_back(boolean("BO_MUX.SPD_NOTLMTR.AND"));
        out.push_back(boolean("BO_MUX.SPD_CTRL.B_NAME"));
    };
    const auto passesWhile = [&](const std::function<bool()>& cond, int max) {
        for (int k = 0; k < max && cond(); ++k) pass();
    };
    const auto limiter = [&] { return real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"); };
    const auto pidHasIt = [&] { return in.empty() ? false : in.back() == 1; };
    startCommand();
    passesWhile([&] { return !step("A02_STEP"); }, 60000);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 1);
    passesWhile([&] { return true; }, 20);
    serviceWrite("IFACE_IN_START.IR_EN.IN", 0);
    passesWhile([&] { return !step("A08_STEP"); }, 200000);
    ASSERT_TRUE(step("A08_STEP")) << "never in control";
    turbine::setLoad(0.5);
    passesWhile([&] { return true; }, 1000);
    ASSERT_TRUE(pidHasIt());
    // The limiter lowered until it has the select, for 2 s.
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    passesWhile([&] { return pidHasIt(); }, 3000);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    passesWhile([&] { return true; }, 200);
    // Raised until the PID has it back, then lowered again at once.
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 1);
    passesWhile([&] { return !pidHasIt(); }, 3000);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 0);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    passesWhile([&] { return pidHasIt(); }, 3000);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    passesWhile([&] { return true; }, 200);
    // Raised to the top.
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 1);
    passesWhile([&] { return limiter() < 100.0f; }, 6000);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_1", 0);
    passesWhile([&] { return true; }, 200);

    // Every change of the state 50 passes (0.5 s at 10 ms, within one pass
    // of float rounding) after its input last changed to the same value,
    // the input standing since; an input that stood for less changed
    // nothing.
    int rises = 0, falls = 0, short_pulses = 0;
    size_t changed = 0;
    for (size_t k = 1; k < in.size(); ++k) {
        if (in[k] != in[k - 1]) {
            if (out[k - 1] != in[k - 1] && k - changed < 49) ++short_pulses;
            changed = k;
        }
        if (out[k] != out[k - 1]) {
            SCOPED_TRACE(k);
            EXPECT_EQ(out[k], in[k]) << "the state follows its input";
            EXPECT_GE(k - changed, 50u);
            EXPECT_LE(k - changed, 51u);
            (out[k] ? rises : falls)++;
        }
    }
    EXPECT_GE(rises, 2);
    EXPECT_GE(falls, 2);
    EXPECT_GE(short_pulses, 1) << "no selection shorter than the delay";
    EXPECT_EQ(out.back(), 1u);
}

// The driver's shutdown request and the self-powered actuator's request,
// each condition from its input: the shutdown from the trip contact (the
// driver's breaker is the shutdown relay of the pass before), the trips
// acting on the driver, a reverse-acting driver and the self-powered
// actuator from their settings at power-up, the self-powered setting
// from the service tool, calibration mode from its service command.
struct DriveCase {
    const char* name;
    int breaker, trip_acts, reversed, calibrating, self_powered, self_setting;
    uint32_t shutdown, request;
};
class DriveShutdownProgram : public RelaysProgram, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveShutdownProgram, DriverShutsDownOnlyWhenTripsActAndNeitherReversedNorCalibrating) {
    const DriveCase& c = GetParam();
    readyWithRelays({{"CNFG_OPERATE.CONFIG_B.IN_4", c.trip_acts},
                     {"CNFG_DRIVER.CONFIG_B.IN_1", c.reversed},
                     {"IFACE_IN_VLV.SELF_PWACT.IN", c.self_powered},
                     {"CNFG_ACT.SELFPWR_SW.NO", c.self_setting}});
    if (c.breaker) {
        trip();
        untilShutDown(1);
    }
    if (c.calibrating) {
        tune("MASTER.COMMANDS.IN_4", 1);
        run160(3);
        tune("MASTER.COMMANDS.IN_4", 0);
        ASSERT_TRUE(runUntil([&] { return on("CALMODE.CALMODE.B_NAME"); }, 20)) << "no calibration mode";
    }
    run160(2);
    ASSERT_EQ(boolean("DRVR_SCALE.SD_DVR_BRK.ZMINUS1_B"), static_cast<uint32_t>(c.breaker));
    EXPECT_EQ(boolean("DRVR_SCALE.SDDRV_ACT1.B_NAME"), c.shutdown);
    EXPECT_EQ(boolean("CNFG_ACT.SELFPWR_SW.B_SW"), c.request);
}
const DriveCase kDriveCases[] = {
    {"TripActingOnTheDriver", 1, 1, 0, 0, 0, 0, 1, 1},
    {"NoShutdownDelay", 0, 1, 0, 0, 0, 0, 0, 0},
    {"TripsNotActing", 1, 0, 0, 0, 0, 0, 0, 0},
    {"ReversedDemand", 1, 1, 1, 0, 0, 0, 0, 0},
    {"CalibrationMode", 1, 1, 0, 1, 0, 0, 0, 0},
    {"SelfPoweredTakesItsOwnSetting", 1, 1, 0, 0, 1, 0, 1, 0},
    {"SelfPoweredSettingShutsDown", 0, 0, 0, 0, 1, 1, 0, 1},
};
INSTANTIATE_TEST_SUITE_P(Conditions, DriveShutdownProgram, ::testing::ValuesIn(kDriveCases),
                         [](const ::testing::TestParamInfo<DriveCase>& i) { return std::string(i.param.name); });

// Relay 3 on constant 0, inverted (energised): forcing from the service
// tool in calibration mode overrides the inversion with the force state,
// disabling it returns the force state to 0; outside calibration mode
// forcing is inhibited.
TEST_F(RelaysProgram, ForcedStateOverridesTheInvertedFunctionAndEndsDeEnergised) {
    readyWithRelays({{"_ub22.RLY_FUNCT.IN", 1}, {"_ub22.INVERT.IN", 1}});
    run10(2);
    EXPECT_EQ(boolean("_ub22.ENERGIZE_CMD.B_NAME"), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_3.DISPLAY"), 1u);
    EXPECT_EQ(boolean("CNFG_BO.RELAY_4.DISPLAY"), 0u);
    const auto calibration = [&](bool enter) {
        tune(enter ? "MASTER.COMMANDS.IN_4" : "MASTER.COMMANDS.IN_5", 1);
        run160(3);
        tune(enter ? "MASTER.COMMANDS.IN_4" : "MASTER.COMMANDS.IN_5", 0);
        ASSERT_TRUE(runUntil([&] { return on("CALMODE.CALMODE.B_NAME") == enter; }, 20));
        run160(2);
    };
    // Outside calibration mode the enable does nothing.
    tune("_ub22.ENA_FORCING.IN", 1);
    run160(2);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 0u);
    tune("_ub22.ENA_FORCING.IN", 0);
    tunableTrip(true);
    untilShutDown(30);
    calibration(true);
    // Forcing off with the force state 0.
    tune("_ub22.ENA_FORCING.IN", 1);
    run160(2);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 1u);
    EXPECT_EQ(boolean("_ub22.ENERGIZE_CMD.B_NAME"), 0u) << "the inversion does not apply when forced";
    EXPECT_EQ(boolean("CNFG_BO.RELAY_3.DISPLAY"), 0u);
    tune("_ub22.FORCE_PROTECT.TUNE", 1);
    run160(2);
    EXPECT_EQ(boolean("_ub22.ENERGIZE_CMD.B_NAME"), 1u);
    // Disabling while still enabled: the reset wins; the force state returns to 0.
    tune("_ub22.DIS_FORCING.IN", 1);
    run160(8);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 0u);
    EXPECT_EQ(integer("_ub22.FORCE_PROTECT.TUNE"), 0);
    EXPECT_EQ(boolean("_ub22.DISBL_DLY.DELAY"), 0u);
    tune("_ub22.DIS_FORCING.IN", 0);
    run160(2);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 1u) << "the enable stands";
    // Leaving calibration mode inhibits forcing.
    calibration(false);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 0u);
    calibration(true);
    EXPECT_EQ(boolean("_ub22.FRC_ENBLD.LATCH_R"), 1u);
}

// Relay 1's function: with adjusting allowed from the service tool the
// number entered by hand is in force; the next configuration sample (in
// configure mode) takes the configured function instead.
TEST_F(RelaysProgram, RelayOneSamplesItsFunctionFromTheNumberEnteredByHand) {
    readyWithRelays({{"CNFG_BO.RLY_FUNCT.IN", 2}});
    tune("CALMODE.ADJUSTOK.IN_2", 1);
    tune("CNFG_BO.RLY_FUNCTION.TUNE", 1);
    run160(2);
    ASSERT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 1);
    trip();
    untilShutDown(1);
    lockIo();
    ASSERT_TRUE(runUntil([&] { return on("CALMODE.CFG_SAMPL_OK.B_NAME"); }, 20)) << "no sample pulse";
    run160(1);
    EXPECT_EQ(integer("CNFG_BO.RLY_FUNCTION.SAMP_ITUNE"), 2);
}

// The actuator's displays and the alarm conditions copied from their
// sources, on a unit at rated: the demand and its readbacks as the driver
// stage computes them from the board's loop, the valve select's high limit
// (a load the valve cannot carry) and the second speed probe's failure on
// the turbine model, with probe 2 in use or not.
class ActuatorDisplaysProgram : public RelaysProgram, public ::testing::WithParamInterface<bool> {};

TEST_P(ActuatorDisplaysProgram, ActuatorDisplaysAndAlarmConditionsCopyTheirSources) {
    const bool probe2 = GetParam();
    board::wireRelayReadbacks(true);
    start(true, true, {{"CNFG_SPEED.CONFIG_B.IN_1", probe2 ? 1 : 0}});
    startToRated();
    const auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        run160(3);
        EXPECT_EQ(real("CNFG_ACT.ACT_01_DISPLAY.A_NAME"), real("_ub5.DEMAND.A_NAME"));
        EXPECT_EQ(real("CNFG_ACT.ACT_01_RDBK.A_NAME"), real("CNFG_ACT.ACT_1.RDBK_RET"));
        EXPECT_EQ(real("CNFG_ACT.ACT_01_SRC.A_NAME"), real("CNFG_ACT.ACT_1.RDBK_SRC"));
        // Both ends of the coil loop carry the drive current.
        EXPECT_NEAR(real("CNFG_ACT.ACT_1.RDBK_RET"), real("CNFG_ACT.ACT_1.RDBK_SRC"), 0.5f);
        EXPECT_GT(real("CNFG_ACT.ACT_1.RDBK_RET"), 1.0f);
        const uint32_t hi = boolean("HP_DRIVER.ACT_LSS.HI_LIM_I");
        EXPECT_EQ(boolean("IFACE_OUT_VLV.ACT_LSS_HI_LIM_I.B_NAME"), hi);
        EXPECT_EQ(boolean("ALM_LOGIC.ACT_LSS_HI_LIM_NOT.NOT"), hi ? 0u : 1u);
        EXPECT_EQ(boolean("ALM_LOGIC.SS2_FLT.AND"), probe2 && on("MPU_OVRD.SS2_FLD.B_SW") ? 1u : 0u);
    };
    turbine::setLoad(0.3);
    run160(30);
    check("at rated");
    EXPECT_GT(real("_ub5.DEMAND.A_NAME"), 4.0f);
    EXPECT_EQ(boolean("HP_DRIVER.ACT_LSS.HI_LIM_I"), 0u);
    // More load than the valve can carry: the demand at its high limit.
    turbine::setLoad(3.0);
    ASSERT_TRUE(runUntil([&] { return on("HP_DRIVER.ACT_LSS.HI_LIM_I"); }, 500)) << "never at the high limit";
    check("at the high limit");
    turbine::setLoad(0.3);
    ASSERT_TRUE(runUntil([&] { return !on("HP_DRIVER.ACT_LSS.HI_LIM_I"); }, 500));
    run160(30);
    // The second probe lost.
    turbine::failSensor(1);
    if (probe2) {
        ASSERT_TRUE(runUntil([&] { return on("MPU_OVRD.SS2_FLD.B_SW"); }, 100)) << "probe 2 never failed";
    } else {
        run160(50);
        EXPECT_EQ(boolean("MPU_OVRD.SS2_FLD.B_SW"), 0u) << "an unused probe's failure is overridden";
    }
    check("probe 2 failed");
    EXPECT_EQ(boolean("ALM_LOGIC.SS2_FLT.AND"), probe2 ? 1u : 0u) << "the second sensor in use or not";
}
INSTANTIATE_TEST_SUITE_P(Probe2, ActuatorDisplaysProgram, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "InUse" : "NotUsed"; });

// The relay state list: every 10 ms pass of a unit with the remote speed
// setpoint and cascade on its analog inputs, started to in control, the
// remote setpoint and cascade enabled from the service tool, the on-line
// dynamics from BI08, the shaft held below the underspeed level (entered
// at power-up), an analog loop broken (an alarm), the reset contact, the
// controlled stop from BI07 to its end, then an overspeed: each entry carries the state it stands for
// (an input of a slower group once it has stood for the group's pass),
// and every state the scenario reaches is seen both ways.
struct StateEntry {
    int n;
    const char* source;
    bool moves = true;
};
const StateEntry kStateEntries[] = {
    {2, "SHUTDOWNS.ANY.LATCH_AE"},
    {3, "BO_MUX.ALARM.B_NAME"},
    {4, "BO_MUX.RST_PLS.B_NAME"},
    {5, "BO_MUX.SPD_CTRL.B_NAME"},
    {6, "RMT_ENBL.ENABLED.LATCH_R"},
    {7, "REMOTE.REM_SEL_SW.B_SW"},
    {8, "SHUTDOWNS.SD_03.B_ALARM"},
    {9, "IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME", false},
    {10, "SPDC.UNDER_SPD.B_SW"},
    {11, "HP_DRIVER.ACT_LSS.SEL_2"},
    {12, "SPD_CTRL.ONLINE_DYN.B_NAME"},
    {13, "SHUTDOWNS.RELY_NOT.NOT"},
    {14, "IFACE_OUT_CASC.ENABLED.B_NAME"},
    {15, "RCLTR.OR_CASCADE.OR"},
    {16, "BO_MUX.CASC_CTRL.B_NAME"},
    {17, "RMT_CAS_EN.ENABLED.LATCH_R", false},
    {18, "SPDC.B03_STEP.SFC_STEP", false},
    {19, "BO_MUX.START_IND.B_SW"},
    {20, "IFACE_OUT_START.SD_CLEAR.B_NAME"},
    {21, "IFACE_OUT_SPEED.NSD_IN_PROGRESS.B_NAME"},
};

TEST_F(RelaysProgram, StateListCarriesEachRelayFunctionsSource) {
    board::wireRelayReadbacks(true);
    board::setAnalogInputMa(2, 12.0);
    startWithRemoteAndCascade({{"IFACE_IN_SPEED.UNDERSPEED.IN", 2900.0}, {"_ub20.FUNCT.IN", 9}});
    struct Watched {
        const StateEntry& e;
        uint32_t *src, *entry;
        bool fast;
        uint32_t last;
        int stable;
        std::set<uint32_t> seen;
    };
    std::vector<Watched> watched;
    for (const StateEntry& e : kStateEntries) {
        watched.push_back({e, static_cast<uint32_t*>(cell(e.source)),
                           static_cast<uint32_t*>(cell("BO_MUX.SEL_STATES.LIST_" + std::to_string(e.n))),
                           std::string(dbug_find_in(app_dbug_tables(), e.source)->rate) == "_R10", 2u, 0, {}});
        ASSERT_NE(watched.back().src, nullptr) << e.source;
    }
    int passes = 0;
    const auto pass = [&] {
        run10(1);
        ++passes;
        for (Watched& w : watched) {
            const uint32_t src = *w.src;
            w.stable = w.last == src ? w.stable + 1 : 0;
            if (w.fast || w.stable >= 32) {
                EXPECT_EQ(*w.entry, src) << w.e.n << " " << w.e.source << " pass " << passes;
                w.seen.insert(src);
            }
            w.last = src;
        }
    };
    const auto run = [&](double seconds) {
        for (int k = 0; k < static_cast<int>(seconds * 100.0); ++k) pass();
    };
    const auto until = [&](const std::function<bool()>& done, double seconds) {
        for (int k = 0; k < static_cast<int>(seconds * 100.0) && !done(); ++k) pass();
        return done();
    };
    startCommand();
    ASSERT_TRUE(until([&] { return step("A08_STEP"); }, 400.0)) << "never in control";
    turbine::setLoad(0.3);
    run(5.0);
    // Cascade enabled and disabled again, then the remote speed setpoint
    // enabled.
    tune("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    run(10.0);
    // The process value far off its setpoint: the reference runs to its
    // cascade limit.
    board::setAnalogInputMa(1, 4.0);
    run(20.0);
    board::setAnalogInputMa(1, 20.0);
    run(20.0);
    board::setAnalogInputMa(1, 12.0);
    run(5.0);
    tune("IFACE_IN_CASC.ENA_DIS.IN_2", 1);
    run(5.0);
    tune("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    run(5.0);
    // Below the underspeed level for a while.
    holdShaftAt(2800.0);
    run(3.0);
    turbine::enable();
    shaftAt(ref_test::kMinGov + 100.0);
    run(5.0);
    // The on-line dynamics from BI08 (given that function at power-up).
    contact(kBi08Contact, true);
    run(3.0);
    contact(kBi08Contact, false);
    run(2.0);
    // Analog input 3's loop broken and made again: an alarm.
    board::setAnalogInputOpen(2, true);
    run(3.0);
    board::setAnalogInputOpen(2, false);
    run(1.0);
    contact(ref_test::kResetContact, true);
    run(1.0);
    contact(ref_test::kResetContact, false);
    run(4.0);
    // The controlled stop from BI07, to its end (a trip), then the trips
    // reset.
    turbine::setLoad(0.0);
    contact(kSpareContact, true);
    ASSERT_TRUE(until([&] { return on("SHUTDOWNS.ANY_SD.B_NAME"); }, 600.0)) << "the stop never ended";
    contact(kSpareContact, false);
    run(3.0);
    // An overspeed.
    holdShaftAt(3990.0);
    run(3.0);
    for (const Watched& w : watched) {
        if (w.e.moves) {
            EXPECT_EQ(w.seen.size(), 2u) << w.e.n << " " << w.e.source << " never changed";
        }
    }
    for (int n : {1, 22, 23, 24, 25}) EXPECT_EQ(boolean("BO_MUX.SEL_STATES.LIST_" + std::to_string(n)), 0u) << n;
}

// The remote relay node (node 5) simulated on the CAN bus, taken in by the
// program's own configuration; its readback word in its PDO. Settings of
// the remote relays taken over while live configuration is allowed.
class RemoteRelaysProgram : public rio_test::ProgramWithNodes {
protected:
    static constexpr uint32_t kReadbackPdo = 0x185;
    void SetUp() override {
        ProgramWithNodes::SetUp();
        addNode(Kind::RelayOut, 5);
        pdo(kReadbackPdo, words({0x0000}));
        // A manual start configured, as the tunables file gives it.
        settingsAtStart({{"CNFG_START.CONFIG_B.IN_1", 1}});
        startWithNodes({"CNFG_CAN2.VL5_ENA.IN"}, {"CNFG_CAN2.VL_NODE5_BO.ACTIVE"});
    }
    // Settings entered from the service tool while live configuration of
    // the remote nodes is allowed, then taken over.
    void liveSettings(std::initializer_list<std::pair<std::string, double>> settings) {
        serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 1);
        for (const auto& [name, v] : settings) serviceWrite(name, v);
        run(8 * 4);
        serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 0);
        run(8 * 2);
    }
};

TEST_F(RemoteRelaysProgram, RemoteRelayOutputIsHeldOffUnderTheIoLockWhileItsCommandShows) {
    liveSettings({{"_ub75.RLY_FUNCT.IN", 1}, {"_ub75.INVERT.IN", 1}});  // "--- Not Used ---" inverted
    EXPECT_EQ(boolean("_ub75.ENERGIZE_CMD.B_NAME"), 1u);
    EXPECT_EQ(boolean("VL5_BO.BOUT_01.DISPLAY"), 1u);
    EXPECT_EQ(boolean("VL5_BO.BOUT_01.RDBK"), 1u) << "the inverse of the node's readback bit";
    lock();
    run(4);
    EXPECT_EQ(boolean("VL5_BO.BOUT_01.DISPLAY"), 0u);
    EXPECT_EQ(boolean("_ub75.ENERGIZE_CMD.B_NAME"), 1u);
    EXPECT_EQ(text("_ub75.STATUS_STRNG.S_NAME"), " Energized ");
}

TEST_F(RemoteRelaysProgram, RemoteReadbackShowsTheInverseOfEachOutputsOwnBit) {
    for (int k = 1; k <= 16; ++k) {
        SCOPED_TRACE(k);
        pdo(kReadbackPdo, words({static_cast<uint16_t>(1u << (k - 1))}));
        run(12);
        for (int m = 1; m <= 16; ++m) {
            const std::string block = std::string("VL5_BO.BOUT_") + (m < 10 ? "0" : "") + std::to_string(m);
            EXPECT_EQ(boolean(block + ".RDBK"), m == k ? 0u : 1u) << m;
        }
    }
}

// A function selects its state and the texts follow the number in force;
// the node's wizard supplies each remote relay's function while it is
// enabled, the controller's wizard those of relays 2 .. 4 (taken in
// configure mode).
TEST_F(RemoteRelaysProgram, FunctionSelectsItsStateAndTextsFollowTheNumberInForce) {
    liveSettings({{"_ub90.RLY_FUNCT.IN", 13}});  // remote relay 16: "Repeat of Trip Relay"
    run(8);
    EXPECT_EQ(text("_ub90.FUNCT_STRNG.S_NAME"), "Repeat of Trip Relay");
    EXPECT_EQ(boolean("_ub90.RLY_USED.GT"), 1u);
    ASSERT_EQ(boolean("_ub90.ENERGIZE_CMD.B_NAME"), 0u) << "shut down since power-up";
    // The trip contact closed and the trips reset from the reset contact:
    // a healthy trip relay.
    board::setDiscreteInput(ref_test::kTripContact, true);
    run(8 * 8);
    board::setDiscreteInput(ref_test::kResetContact, true);
    run(8 * 3);
    board::setDiscreteInput(ref_test::kResetContact, false);
    for (int p = 0; p < 400 && boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; ++p) run(1);
    run(8);
    EXPECT_EQ(boolean("_ub90.ENERGIZE_CMD.B_NAME"), 1u) << "healthy trip relay; first out " << integer("SHUTDOWNS.ANY.FIRST_ALM") << " sd " << boolean("SHUTDOWNS.ANY_SD.B_NAME")  << " rely " << boolean("SHUTDOWNS.RELY_NOT.NOT") << " conf " << integer("CONF_LATCH.ANY.FIRST_ALM") << " lockpwr " << boolean("MASTER.IO_LOCK_OR_PWR.B_NAME");
    liveSettings({{"_ub90.RLY_FUNCT.IN", 25}});
    EXPECT_EQ(integer("_ub90.FUNCT_INT.I_NAME"), 25);
    EXPECT_EQ(text("_ub90.FUNCT_STRNG.S_NAME"), "Spare 25");
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 1);
    serviceWrite("VL5_BO.WIZ_4RELAYS.IN", 1);
    for (int k = 1; k <= 16; ++k) serviceWrite("VL5_BO.WIZFUN_RLY_CH" + std::to_string(k) + ".IN", k + 4);
    run(8 * 4);
    serviceWrite("CNFG_CAN2.CNFG_LIVE.IN", 0);
    run(8 * 2);
    for (int k = 1; k <= 16; ++k) {
        EXPECT_EQ(integer("_ub" + std::to_string(74 + k) + ".FUNCT_INT.I_NAME"), k + 4) << "remote relay " << k;
        EXPECT_EQ(integer("VL5_BO.WIZFUN_RLY_CH" + std::to_string(k) + ".I_NAME"), k + 4);
    }
    // The controller's wizard, in configure mode (the unit shut down from
    // the trip contact).
    board::setDiscreteInput(ref_test::kTripContact, false);
    for (int p = 0; p < 400 && boolean("SHUTDOWNS.ANY_SD.B_NAME") == 0; ++p) run(1);
    serviceWrite("CNFG_WIZ.WIZARD.IN", 1);
    serviceWrite("CNFG_BO.WIZFUN_RLY_CH2.IN", 11);
    serviceWrite("CNFG_BO.WIZFUN_RLY_CH4.IN", 12);
    lock();
    run(8 * 4);
    EXPECT_EQ(integer("_ub21.FUNCT_INT.I_NAME"), 11);
    EXPECT_EQ(integer("_ub23.FUNCT_INT.I_NAME"), 12);
    EXPECT_EQ(real("CNFG_BO.RELAY_04_FUNCT.OUT_1"), 12.0f);
    // Without the wizard relay 2 takes its own setting: "Summary Alarm",
    // texted once in force.
    serviceWrite("CNFG_WIZ.WIZARD.IN", 0);
    serviceWrite("_ub21.RLY_FUNCT.IN", 3);
    run(8 * 4);
    EXPECT_EQ(text("_ub21.FUNCT_STRNG.S_NAME"), "Summary Alarm");
    EXPECT_EQ(real("CNFG_BO.RELAY_02_FUNCT.OUT_1"), 3.0f);
}

// ---- on the relay slices alone ----------------------------------------------------------

class Relays : public DiscreteRig {
protected:
    // Starts with the relay readback contacts wired, the outputs released and
    // relay 1's function (2: the trip relay state) put in force.
    void startWithTripRelay() {
        board::wireRelayReadbacks(true);
        start();
        VKIO_UnAssertIOLock();
        setCell("CALMODE.ADJUSTOK.OR", 1);
        runPasses(R160, 2);
        setCell("CALMODE.ADJUSTOK.OR", 0);
        runPasses(R10, 3);
    }
    void shutdown(bool on, int first_out = 3) {
        setCell("SHUTDOWNS.ANY_SD.B_NAME", on ? 1 : 0);
        setCell("SHUTDOWNS.ANY.LATCH_AE", on ? 1 : 0);
        setCell("SHUTDOWNS.ANY.FIRST_ALM", on ? first_out : 0);
    }
    uint32_t tripRelayDriven() { return board::relaysEnergised() & 1u; }
};

// A shutdown with no first out is one no input gives: every trip that
// latches the list is its first out.
TEST_F(Relays, ShutdownWithNoFirstOutDropsTheTripRelay) {
    startWithTripRelay();
    shutdown(true, 0);
    runPasses(R10, 3);
    EXPECT_EQ(boolean("BO_MUX.TRIP_RLY.B_NAME"), 0u);
    EXPECT_EQ(tripRelayDriven(), 0u);
}

// A function number above the last one is clamped to it when sampled; the
// service tool refuses such a number (outside the setting's range), so no
// input gives it.
TEST_F(Relays, FunctionNumberAboveTheLastIsClampedToIt) {
    start();
    configureRelay(18, 40);
    EXPECT_EQ(integer("_ub90.FUNCT_INT.I_NAME"), 25);
    EXPECT_EQ(text("_ub90.FUNCT_STRNG.S_NAME"), "Spare 25");
}

// An unused second probe's failure is overridden before it reaches the
// alarm condition, so no input shows the condition's own gate on the probe
// being in use: on the slices alone.
TEST_F(Relays, SecondProbeAlarmConditionNeedsTheProbeInUse) {
    useSlices(R10, {startUpInFirstFrame, _R10_TASK_6, _R10_TASK_7});
    start();
    setCell("MPU_OVRD.SS2_FLD.B_SW", 1);
    setCell("CONF_VAL_1.USE_MPU2.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("ALM_LOGIC.SS2_FLT.AND"), 1u);
    setCell("CONF_VAL_1.USE_MPU2.B_NAME", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("ALM_LOGIC.SS2_FLT.AND"), 0u) << "the second sensor is not used";
}

// A level-switch value that is not a number is one no source gives (the
// speed, the analog inputs and the entered value are numbers): it holds
// the switch either way.
TEST_F(Relays, LevelSwitchHoldsOnAValueThatIsNotANumber) {
    start();
    setCell("_ub23.USE_LVL_SW.IN", 1);
    setCell("_ub23.LVL_ON.IN", 10.0);
    setCell("_ub23.LVL_OFF.IN", 5.0);
    configureRelay(2, 1, 2);  // relay 4 on "Actual Speed"
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, uint32_t> steps[] = {{10.0f, 1}, {nan, 1}, {4.99f, 0}, {nan, 0}};
    for (const auto& [x, out] : steps) {
        SCOPED_TRACE(x);
        setCell("BO_MUX.SEL_LSW.LIST_2", x);
        runPasses(R80, 2);
        EXPECT_EQ(boolean("_ub23.LSW_CALC.B_OUT_1"), out);
        EXPECT_EQ(boolean("_ub23.ENERGIZE_CMD.B_NAME"), out);
    }
}

// A delay that is no number keeps the on-delay counting: a state that had
// come on goes off and stays off while the delay is no number. No input
// gives one (the setting's range is 0 .. 3 s): on the relay slices alone.
TEST_F(Relays, SpeedControlStateDropsWhileItsOnDelayIsNoNumber) {
    start();
    setCell("HP_DRIVER.ACT_LSS.SEL_1", 1);
    runPasses(R10, 60);
    ASSERT_EQ(boolean("BO_MUX.SPD_CTRL.B_NAME"), 1u);
    setCell("BO_MUX.DLY_LSS1.DLY_TIME", std::numeric_limits<double>::quiet_NaN());
    for (int pass = 0; pass < 5; ++pass) {
        runPasses(R10, 1);
        EXPECT_EQ(boolean("BO_MUX.DLY_LSS1.DELAY"), 0u) << pass;
        EXPECT_EQ(integer("BO_MUX.DLY_LSS1.R_TIME"), 0) << pass;
    }
    // A number again: the time counted meanwhile has passed it.
    setCell("BO_MUX.DLY_LSS1.DLY_TIME", 0.02);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("BO_MUX.DLY_LSS1.DELAY"), 1u);
}



}  // namespace
}  // namespace di_test
