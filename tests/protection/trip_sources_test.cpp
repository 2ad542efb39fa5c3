// Where the trips come from, on the whole program: each trip's condition
// raised through the program's inputs (contacts, keys, analog loops, the
// actuator's current loop, the turbine model, settings and commands written
// as the service tool writes them) on a turbine in control at rated.
// Exactly that trip's entries latch in the shutdown list, with their entry
// text in the event log and the first-out text, and the actuator current
// the plant sees falls to the valve's closed current.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/current_loops.h"
#include "host/hostkernel.h"
#include "host/turbine_model.h"
#include "tests/support/event_log_reader.h"
#include "tests/support/ref_rig.h"

using namespace ref_test;

namespace {

class TripBase;
// The current loop of the HP actuator.
constexpr int kActuatorLoop = 6;
using Step = void (*)(TripBase&);
using Settings = std::vector<std::pair<const char*, double>>;

struct TripSource {
    const char* name;
    std::vector<int> trips;  // the entries this source latches
    Settings settings;       // given while the controller powers up
    Step raise;              // the source raised through the inputs
    Step before = nullptr;   // inputs in place before the controller starts
    int maxSeconds = 30;     // the longest the trip may take to come
};
void PrintTo(const TripSource& s, std::ostream* os) { *os << s.name; }

// The entry texts of the list and the first-out texts as shown.
struct Texts {
    int n;
    const char* entry;
    const char* firstOut;
};
const Texts kTexts[] = {
    {1, "TRIP_01 DI 03 External Trip Input 1", "*\"SD_01 - DI 03 External Trip Input 1\""},
    {2, "TRIP_02 Front Display Trip Button", "*\"SD_02 - Front Display Trip Button\""},
    {3, "TRIP_03 Overspeed Trip", "*\"SD_03 - Overspeed Trip"},
    {4, "TRIP_04 All Speed Probes Failed", "*\"SD_04 - All Speed Probes Failed"},
    {9, "TRIP_09 External Trip Input 2", "*\"SD_09 - External Trip 2\""},
    {10, "TRIP_10 External Trip Input 3", "*\"SD_10 - External Trip 3\""},
    {11, "TRIP_11 External Trip Input 4", "*\"SD_11 - External Trip 4\""},
    {12, "TRIP_12 External Trip Input 5", "*\"SD_12 - External Trip 5\""},
    {13, "TRIP_13 AI Chan 1 Level 2 TRIP", "*\"SD_13 - AI Chan 1 Level 2 TRIP\""},
    {14, "TRIP_14 AI Chan 2 Level 2 TRIP", "*\"SD_14 - AI Chan 2 Level 2 TRIP\""},
    {15, "TRIP_15 AI Chan 3 Level 2 TRIP", "*\"SD_15 - AI Chan 3 Level 2 TRIP\""},
    {16, "TRIP_16 AI Chan 4 Level 2 TRIP", "*\"SD_16 - AI Chan 4 Level 2 TRIP\""},
    {18, "TRIP_18 At Overspeed Test Max Setpoint", "*\"SD_18 - At Overspeed Test Max SP\""},
    {19, "TRIP_19 HP Actuator Fault", "*\"SD_19 - HP Actuator Fault\""},
    {20, "TRIP_20 Trip Cmd from OPC Device", "*\"SD_20 - Trip Cmd from OPC Device\""},
    {21, "TRIP_21 AI Chan 1 SigFail TRIP", "*\"SD_21 - AI Chan 1 SigFail TRIP\""},
    {22, "TRIP_22 AI Chan 2 SigFail TRIP", "*\"SD_22 - AI Chan 2 SigFail TRIP\""},
    {23, "TRIP_23 AI Chan 3 SigFail TRIP", "*\"SD_23 - AI Chan 3 SigFail TRIP\""},
    {24, "TRIP_24 AI Chan 4 SigFail TRIP", "*\"SD_24 - AI Chan 4 SigFail TRIP\""},
    {25, "TRIP_25 Normal Shutdown Complete", "*\"SD_25 - Normal Shutdown Complete\""},
    {26, "TRIP_26 Underspeed Trip", "*\"SD_26 - Underspeed TRIP\""},
    {27, "TRIP_27 Trip Cmd from Farview", "*\"SD_27 - Trip Cmd from Farview\""},
    {28, "TRIP_28 SPARE_28", "*\"SD_28 - SPARE\""},
    {29, "TRIP_29 SPARE_29", "*\"SD_29 - SPARE\""},
    {30, "TRIP_30 Tunable TRIP (SIM Mode)", "*\"SD_30 - Tunable TRIP (SIM Mode)\""},
};
std::string logText(const std::vector<tc_test::LogRow>& rows) {
    std::string t;
    for (const auto& r : rows) t += "\n" + std::to_string(r.ms) + " " + r.what;
    return t;
}
const Texts& texts(int n) {
    for (const Texts& t : kTexts)
        if (t.n == n) return t;
    ADD_FAILURE() << "no texts for trip " << n;
    return kTexts[0];
}

class TripBase : public RefRig {
public:
    void tune(const char* name, double value) { serviceWrite(name, value); }
    void close(int input, bool closed) { contact(input, closed); }
    void run80(int n) { runPasses(R80, n); }
    void run160(int n) { runPasses(R160, n); }
    void run10(int n) { runPasses(R10, n); }
    float value(const char* name) { return real(name); }
    bool on(const char* n) { return boolean(n) != 0; }
    bool latched(int n) { return boolean("SHUTDOWNS.ANY.SEL_" + std::to_string(n)) != 0; }
    void holdShaft(double rpm) { holdShaftAt(rpm); }
    void toShaft(double rpm) { shaftAt(rpm); }

protected:
    std::string latchedList() {
        std::string s;
        for (int n = 1; n <= 30; ++n)
            if (latched(n)) s += std::to_string(n) + " ";
        return s;
    }
};
class TripRig : public TripBase, public ::testing::WithParamInterface<TripSource> {};

TEST_P(TripRig, LatchesItsOwnEntriesAndShutsTheValve) {
    const TripSource& src = GetParam();
    for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    if (src.before) src.before(*this);
    start(true, true, src.settings);
    startToRated();
    // A third of rated torque on the shaft: the valve stands well open.
    turbine::setLoad(0.3);
    runPasses(R160, 60);
    reset();
    // The reset over (its pulse and the list's delayed reset): a trip given
    // while it lasts is wiped by it.
    ASSERT_TRUE(runUntil(
        [&] { return boolean("RESET.RESET.B_NAME") == 0 && boolean("SHUTDOWNS.DLY_SDREAC.B_ACTION") == 0; }, 100));
    runPasses(R160, 2);
    ASSERT_EQ(latchedList(), "") << "latched before the source was raised";
    ASSERT_GT(board::loopCurrentMa(kActuatorLoop), 6.0) << "the valve is open at rated";
    const auto before = tc_test::readEventLog();

    src.raise(*this);
    const auto any = [&] {
        for (int n : src.trips)
            if (latched(n)) return true;
        return false;
    };
    for (int k = 0; k < src.maxSeconds * 100 && !any(); ++k) runPasses(R10, 1);
    ASSERT_TRUE(any()) << "no entry latched";
    runPasses(R160, 5);
    std::string want;
    for (int n : std::set<int>(src.trips.begin(), src.trips.end())) want += std::to_string(n) + " ";
    EXPECT_EQ(latchedList(), want) << "exactly the source's own entries";
    const int first = integer("SHUTDOWNS.ANY.FIRST_ALM");
    EXPECT_EQ(first, src.trips.front());
    EXPECT_EQ(text("SHUTDOWNS.SD_FO_NOW.S_MUX_N_1"), texts(first).firstOut);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    // The valve shut: the demand and the current the plant sees.
    runPasses(R160, 3);
    EXPECT_EQ(real("IFACE_OUT_VLV.LSS_OUT.A_NAME"), 0.0f);
    EXPECT_LE(board::loopCurrentMa(kActuatorLoop), 4.0 + 1e-3);
    const auto rows = tc_test::readEventLog();
    for (int n : src.trips) {
        const std::string row = "SHUTDOWNS.ANY.SEL_" + std::to_string(n) + "|" + texts(n).entry + "|500";
        EXPECT_EQ(tc_test::countRows(rows, row) - tc_test::countRows(before, row), 1) << n << logText(rows);
    }
}

// The front panel's trip key held until the trip latches.
void pressTrip(TripBase& r) {
    hk::runTask([] { board::setKey(0, 7, true); });
    for (int k = 0; k < 1000 && !r.latched(2); ++k) r.run10(1);
    hk::runTask([] { board::setKey(0, 7, false); });
}
// Input BI07 carrying `function`, closed before the start, opened.
template <int kFunction>
TripSource contactOpened(const char* name, int n) {
    return {name, {n}, {{"_ub19.FUNCT.IN", kFunction}}, [](TripBase& r) { r.close(kSpareContact, false); },
            [](TripBase& r) { r.close(kSpareContact, true); }};
}
// Analog input k above its level 2 (70 %) with level 2 a trip, no delay.
template <int k>
TripSource levelTrip(const char* name, int n) {
    static const std::string p = "_ub" + std::to_string(1 + k);
    static const std::string use = p + ".USE_SP2.IN", trip = p + ".TRIP_SP2.IN", dly = p + ".ALM_DLY.IN";
    return {name, {n}, {{use.c_str(), 1}, {trip.c_str(), 1}, {dly.c_str(), 0.0}},
            [](TripBase&) { board::setAnalogInputMa(k, 4.0 + 0.16 * 75.0); }};
}
// Analog input k carrying a function (a signal monitor or a vibration
// input), with its signal-failure trip, its loop opened.
template <int k>
TripSource signalFailureTrip(const char* name, int n) {
    static const std::string sig = "_ub" + std::to_string(1 + k) + ".SIGFLT_TRIP.IN";
    static const std::string funct = "_ub" + std::to_string(6 + k) + ".FUNCT.IN";
    static const int kFunction[4] = {13, 14, 15, 5};
    return {name, {n}, {{funct.c_str(), kFunction[k]}, {sig.c_str(), 1}},
            [](TripBase&) { board::setAnalogInputOpen(k, true); }};
}

const TripSource kSources[] = {
    {"TripContact", {1}, {}, [](TripBase& r) { r.close(kTripContact, false); }},
    {"KeypadTrip", {2}, {}, pressTrip},
    {"Overspeed", {3}, {}, [](TripBase& r) { r.toShaft(3990.0); }},
    {"AllProbesFailed", {4}, {{"CNFG_SPEED.CONFIG_B.IN_1", 1}}, [](TripBase&) {
         turbine::failSensor(0);
         turbine::failSensor(1);
     }},
    contactOpened<15>("ExternalTrip2", 9),
    contactOpened<16>("ExternalTrip3", 10),
    contactOpened<17>("ExternalTrip4", 11),
    contactOpened<18>("ExternalTrip5", 12),
    levelTrip<0>("Input1Level2", 13),
    levelTrip<1>("Input2Level2", 14),
    levelTrip<2>("Input3Level2", 15),
    levelTrip<3>("Input4Level2", 16),
    // An external overspeed test begun at maximum governor, the reference
    // raised to the test limit: trip 18, then trip 3, armed again once the
    // trip has ended the test, with the speed still above its level.
    {"TestLimit", {18, 3}, {{"IFACE_IN_SPEED.OSPD_RATE.IN", 20.0}}, [](TripBase& r) {
         r.close(kRaiseContact, true);
         for (int k = 0; k < 2000 && r.value("IFACE_OUT_SPEED.SPEED_REF.A_NAME") < kMaxGov - 0.5; ++k) r.run80(1);
         r.close(kRaiseContact, false);
         r.run160(2);
         r.tune("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 1);
         r.run160(5);
         r.tune("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 0);
         r.close(kRaiseContact, true);
         for (int k = 0; k < 3000 && !r.latched(18); ++k) r.run80(1);
         r.close(kRaiseContact, false);
     }},
    // The HP actuator's loop broken, its fault configured to trip.
    {"HpActuatorFault", {19}, {{"CNFG_DRIVER.CONFIG_B.IN_2", 1}},
     [](TripBase&) { board::setLoopFault(6, board::LoopFault::OpenWire); }},
    // The OPC link's trip command (command 3), written as the OPC server
    // writes it, with the link's writes and its trip enabled.
    {"OpcTripCommand", {20}, {{"OPC_DATA.ENA_WRITES.IN", 1}, {"OPC_DATA.ENA_OPC_TRIP.IN", 1}},
     [](TripBase& r) { r.tune("OPC_DATA.BW_LIST.IN_3", 1); }},
    signalFailureTrip<0>("Input1SignalFailure", 21),
    signalFailureTrip<1>("Input2SignalFailure", 22),
    signalFailureTrip<2>("Input3SignalFailure", 23),
    signalFailureTrip<3>("Input4SignalFailure", 24),
    // The load taken off and the controlled-stop contact (BI07) closed: the
    // stop runs to its end.
    {"ControlledStop", {25}, {}, [](TripBase& r) {
         turbine::setLoad(0.0);
         r.close(kSpareContact, true);
     },
     nullptr, 600},
    // Underspeed at 2900 rpm with its shutdown enabled: the shaft held at
    // 2800 rpm in control.
    {"Underspeed", {26}, {{"IFACE_IN_SPEED.UNDERSPEED.IN", 2900.0}, {"IFACE_IN_SPEED.ENA_USPD_SD.IN", 1}},
     [](TripBase& r) { r.holdShaft(2800.0); }},
    // The remote trip command written by the remote station, the remote
    // trip in use.
    {"RemoteTripCommand", {27}, {{"SD_LOGIC.USE_RMTTRIP.IN", 1}},
     [](TripBase& r) { r.tune("SD_LOGIC.RMT_TRIP.IN", 1); }},
    {"Spares", {28, 29}, {}, [](TripBase& r) { r.tune("SHUTDOWNS.UNUSED.IN", 1); }},
    {"TunableTrip", {30}, {}, [](TripBase& r) { r.tune("SHUTDOWNS.TUNABLE_TRIP.IN", 1); }},
};

INSTANTIATE_TEST_SUITE_P(Sources, TripRig, ::testing::ValuesIn(kSources),
                         [](const ::testing::TestParamInfo<TripSource>& i) { return std::string(i.param.name); });

}  // namespace
