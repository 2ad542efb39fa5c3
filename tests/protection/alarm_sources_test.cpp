// Where every alarm comes from, on the whole program: for each of the
// hundred alarms, its condition raised through the program's inputs (the
// turbine and board models, contacts, analog loops, settings and commands
// written as the service tool writes them) on a turbine in control at rated.
// Exactly that alarm's entry latches, after its delay, with its entry text
// in the event log and its first-out text; where the alarm has an override,
// the override releases it at the next reset and keeps it off while its
// condition stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/current_loops.h"
#include "host/vkboard.h"
#include "host/turbine_model.h"
#include "tests/support/ref_rig.h"
#include "tests/support/event_log_reader.h"

using namespace ref_test;

namespace {

class AlarmBase;
using Step = std::function<void(AlarmBase&)>;
using Settings = std::vector<std::pair<const char*, double>>;

// One alarm source. `condition` is the cell the alarm reads (only read
// here, to time the delay from the pass it rises in).
struct Source {
    const char* name;
    std::vector<int> alarms;     // the entries this source latches
    const char* condition;
    Settings settings;           // given while the controller powers up
    Step raise;                  // the source raised through the inputs
    bool overridable = true;     // the alarms have an override and a delay
    bool running = true;         // needs the turbine in control at rated
    Step before = nullptr;       // inputs in place before the controller starts
    // A condition that is a pulse (one pass of its group): its alarms are
    // given no delay, and `again` raises it anew once overridden.
    Step again = nullptr;
};

// The entry texts and first-out texts of the alarms with a condition of
// their own; every other alarm is a spare.
struct Texts {
    int n;
    const char* entry;
    const char* firstOut;
};
const Texts kTexts[] = {
    {1, "ALM_001 Speed Probe #1 Failed", "*\"AL_01 Speed Probe #1 Failed\""},
    {2, "ALM_002 Speed Probe #2 Failed", "*\"AL_02 Speed Probe #2 Failed\""},
    {3, "ALM_003 Turbine Tripped", "*\"AL_03 Turbine Tripped\""},
    {4, "ALM_004 Mod Comm Link #1 (Serial)Failed", "*\"AL_04 Mod Comm Link #1 (Serial)Fail\""},
    {5, "ALM_005 Mod Comm Link #2 (ENET1) Failed", "*\"AL_05 Mod Comm Link #2 (ENET1) Fail\""},
    {6, "ALM_006 Mod Comm Link #3 (ENET2) Failed", "*\"AL_06 Mod Comm Link #3 (ENET2) Fail\""},
    {7, "ALM_007 Chassis Summary Alarm", "*\"AL_07 Chassis Summary Alarm\""},
    {8, "ALM_008 Orvex12 Display Fault", "*\"AL_08 Orvex12 Display Fault\""},
    {9, "ALM_009 Internal HW Simulation Enabled", "*\"AL_09 Internal HW Simulation Enabld\""},
    {10, "ALM_010 Actuator Linearization Curve Error", "*\"AL_10 Act Linearization Curve Err\""},
    {11, "ALM_011 Overspeed Test Enabled", "*\"AL_11 Overspeed Test Enabled\""},
    {12, "ALM_012 Stuck In Critical Band", "*\"AL_12 Stuck In Critical Band\""},
    {13, "ALM_013 Speed Difference on MPUs", "*\"AL_13 Speed Difference on MPUs\""},
    {14, "ALM_014 Display Backlight Fault", "*\"AL_14 Display Backlight Fault\"'"},
    {15, "ALM_015 Chass Temp ALM", "*\"AL_15 Chass Temp ALM\""},
    {16, "ALM_016 spare_16", "*\"AL_16 Overspeed Test Mode Active\""},
    {17, "ALM_017 HP Actuator Fault (Act1)", "*\"AL_17 HP Actuator Fault (Act1)\""},
    {19, "ALM_019 RVQ1/CAN1 Comm Fault", "*\"AL_19 RVQ1/CAN1 Comm Fault\""},
    {20, "ALM_020 HP Actuator Fault (RVQ)", "*\"AL_20 HP Actuator Fault (RVQ)\""},
    {21, "ALM_021 External alarm # 1", "*\"AL_21 External alarm # 1\""},
    {22, "ALM_022 External alarm # 2", "*\"AL_22 External alarm # 2\""},
    {23, "ALM_023 External alarm # 3", "*\"AL_23 External alarm # 3\""},
    {27, "ALM_027 Remote Speed Input Failed", "*\"AL_27 Remote Speed Input Failed\""},
    {28, "ALM_028 Process/Cascade Input Failed", "*\"AL_28 Process/Cascade Input Failed\""},
    {29, "ALM_029 Remote Process/Casc Input Failed", "*\"AL_29 Remote Process/Casc SP Failed\""},
    {30, "ALM_030 Vibration Input 1 Failed", "*\"AL_30 Vibration Input 1 Failed\""},
    {31, "ALM_031 Vibration Input 2 Failed", "*\"AL_31 Vibration Input 2 Failed\""},
    {32, "ALM_032 Vibration Input 3 Failed", "*\"AL_32 Vibration Input 3 Failed\""},
    {33, "ALM_033 Vibration Input 4 Failed", "*\"AL_33 Vibration Input 4 Failed\""},
    {34, "ALM_034 Bearing Temp 1 Failed (AI)", "*\"AL_34 Bearing Temp 1 Failed (AI)\""},
    {35, "ALM_035 Bearing Temp 2 Failed (AI)", "*\"AL_35 Bearing Temp 2 Failed (AI)\""},
    {36, "ALM_036 Bearing Temp 3 Failed (AI)", "*\"AL_36 Bearing Temp 3 Failed (AI)\""},
    {37, "ALM_037 Bearing Temp 4 Failed (AI)", "*\"AL_37 Bearing Temp 4 Failed (AI)\""},
    {38, "ALM_038 Customer Signal Input #1 Failed", "*\"AL_38 Custom Signal Input #1 Failed\""},
    {39, "ALM_039 Customer Signal Input #2 Failed", "*\"AL_39 Custom Signal Input #2 Failed\""},
    {40, "ALM_040 Customer Signal Input #3 Failed", "*\"AL_40 Custom Signal Input #3 Failed\""},
    {41, "ALM_041 HP Valve Feedback Failed", "*\"AL_41 HP Valve Feedback Failed\""},
    {42, "ALM_042 AO_01 Readback Fault", "*\"AL_42 AO_01 Readback Fault\""},
    {43, "ALM_043 AO_02 Readback Fault", "*\"AL_43 AO_02 Readback Fault\""},
    {44, "ALM_044 AO_03 Readback Fault", "*\"AL_44 AO_03 Readback Fault\""},
    {45, "ALM_045 AI Chan 1 Level 1 ALM", "*\"AL_45 AI Chan 1 Level 1 ALM\""},
    {46, "ALM_046 AI Chan 1 Level 2 ALM", "*\"AL_46 AI Chan 1 Level 2 ALM\""},
    {47, "ALM_047 AI Chan 2 Level 1 ALM", "*\"AL_47 AI Chan 2 Level 1 ALM\""},
    {48, "ALM_048 AI Chan 2 Level 2 ALM", "*\"AL_48 AI Chan 2 Level 2 ALM\""},
    {49, "ALM_049 AI Chan 3 Level 1 ALM", "*\"AL_49 AI Chan 3 Level 1 ALM\""},
    {50, "ALM_050 AI Chan 3 Level 2 ALM", "*\"AL_50 AI Chan 3 Level 2 ALMt\""},
    {51, "ALM_051 AI Chan 4 Level 1 ALM", "*\"AL_51 AI Chan 4 Level 1 ALM\""},
    {52, "ALM_052 AI Chan 4 Level 2 ALM", "*\"AL_52 AI Chan 4 Level 2 ALM\""},
    {53, "ALM_053 HP Valve Pos Fdbk Diff ALM", "*\"AL_53 HP Valve Pos Fdbk Diff ALM\""},
    {54, "ALM_054 Limiter in Control", "*\"AL_54 Limiter in Control\""},
    {55, "ALM_055 Alarm from Veltra Nodes", "*\"AL_55 Alarm from Veltra Nodes\""},
    {56, "ALM_056 Internal OVERSPEED Reached", "*\"AL_56 Internal Overspeed Reached\""},
    {57, "ALM_057 Manual Valve Control Enabled", "*\"AL_57 Manual Valve Control Enabled\""},
    {58, "ALM_058 Underspeed Alarm", "*\"AL_58 Underspeed Alarm\""},
    {59, "ALM_059 Controlled Stop In Progress", "*\"AL_59 Controlled Stop In Progress\""},
    {60, "ALM_060 Remote Spd Disable - Mod CMD", "*\"AL_60 \""},
    {61, "ALM_061 Remote Spd Disable - OPC CMD", "*\"AL_61 \""},
    {62, "ALM_062 RMT Spd Disable - Cascade Enabled", "*\"AL_62 \""},
    {63, "ALM_063 Remote Spd Disable - DI CMD", "*\"AL_63 \""},
    {82, "ALM_082 TIQ Test Tunable", "*\"AL_82 TIQ Test Tunable\""},
};
std::string entryText(int n) {
    for (const Texts& t : kTexts)
        if (t.n == n) return t.entry;
    char s[40];
    std::snprintf(s, sizeof s, "ALM_%03d spare_%d", n, n);
    return s;
}
std::string firstOutText(int n) {
    for (const Texts& t : kTexts)
        if (t.n == n) return t.firstOut;
    return "*\"AL_" + std::to_string(n) + " \"";
}
// Spares: with an override and a delay, with neither, and with an override only.
bool hasOverride(int n) { return n < 76 || n == 82 || n == 100; }
bool hasDelay(int n) { return n < 76 || n == 82; }

void PrintTo(const Source& s, std::ostream* os) { *os << s.name; }

class AlarmBase : public RefRig {
public:
    void tune(const std::string& name, double value) { serviceWrite(name, value); }
    void close(int input, bool closed) { contact(input, closed); }
    void run80(int n) { runPasses(R80, n); }
    void run160(int n) { runPasses(R160, n); }
    void run10(int n) { runPasses(R10, n); }
    float value(const std::string& name) { return real(name); }
    bool on(const std::string& name) { return boolean(name) != 0; }
    // The shaft held at `rpm` (the turbine model frozen there).
    void holdShaft(double rpm) { holdShaftAt(rpm); }

protected:
    std::set<int> latched() {
        std::set<int> s;
        for (int n = 1; n <= 100; ++n)
            if (boolean("ALARMS.ANY.SEL_" + std::to_string(n)) != 0) s.insert(n);
        return s;
    }
    static std::string str(const std::set<int>& s) {
        std::string t;
        for (int n : s) t += std::to_string(n) + " ";
        return t;
    }
    std::string ovrd(int n) { return "ALARMS.ALM_OVRDS.IN_" + std::to_string(n); }
    std::string delay(int n) { return "ALARMS.ALM_DELAYS.IN_" + std::to_string(n); }
    // 10 ms passes until the cell reads 1, at most `max`; -1 when never.
    int passesUntil(const std::string& name, int max) {
        for (int k = 0; k <= max; ++k) {
            if (boolean(name) != 0) return k;
            runPasses(R10, 1);
        }
        return -1;
    }
};
class AlarmRig : public AlarmBase, public ::testing::WithParamInterface<Source> {};

// The delay the alarms are given here, and the lag from the condition's
// own pass to the 40 ms pass that sees it (a condition of the 160 ms group
// reaches it through the next copy).
constexpr double kDelay = 0.4;
constexpr int kLagPasses = 20;  // 10 ms passes

TEST_P(AlarmRig, LatchesItsOwnEntryAfterItsDelayUnlessOverridden) {
    const Source& src = GetParam();
    // Both speed probes in use, then the source's own settings.
    Settings settings = {{"CNFG_SPEED.CONFIG_B.IN_1", 1}};
    settings.insert(settings.end(), src.settings.begin(), src.settings.end());
    // The analog inputs mid-range (a loop at 0 mA has failed).
    for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
    if (src.before) src.before(*this);
    start(true, true, settings);
    if (src.running) startToRated();
    // Whatever the start left in the list is reset (the trips with it).
    reset();
    runPasses(R160, 2);
    ASSERT_EQ(str(latched()), "") << "latched before the source was raised";
    const bool pulse = src.again != nullptr;
    const double given = pulse ? 0.0 : kDelay;
    for (int n : src.alarms) {
        if (hasDelay(n)) tune(delay(n), given);
        if (hasOverride(n)) tune(ovrd(n), 0);
    }
    runPasses(R160, 2);

    const auto before = tc_test::readEventLog();
    // Raised: the condition rises, and the alarms latch after their delay.
    src.raise(*this);
    const int rise = passesUntil(src.condition, 3000);
    ASSERT_GE(rise, 0) << "the condition " << src.condition << " never rose";
    const uint32_t t0 = passes(R10);
    std::set<int> want(src.alarms.begin(), src.alarms.end());
    std::vector<int> at(101, -1);
    for (int k = 0; k < static_cast<int>(kDelay * 100) + kLagPasses + 4; ++k) {
        for (int n : src.alarms)
            if (at[n] < 0 && boolean("ALARMS.ANY.SEL_" + std::to_string(n)) != 0) at[n] = static_cast<int>(passes(R10) - t0);
        runPasses(R10, 1);
    }
    EXPECT_EQ(str(latched()), str(want)) << "exactly the source's own entries";
    for (int n : src.alarms) {
        SCOPED_TRACE("alarm " + std::to_string(n));
        const int d = hasDelay(n) ? static_cast<int>(given * 100) : 0;
        EXPECT_GE(at[n], d);
        EXPECT_LE(at[n], d + kLagPasses);
    }
    const int first = integer("ALARMS.FIRST_OUT.I_NAME");
    const auto rows = tc_test::readEventLog();
    EXPECT_TRUE(want.count(first)) << first;
    EXPECT_EQ(text("ALARMS.ALM_FO.S_MUX_N_1"), firstOutText(first));
    for (int n : src.alarms) {
        const std::string row = "ALARMS.ANY.SEL_" + std::to_string(n) + "|" + entryText(n) + "|500";
        EXPECT_EQ(tc_test::countRows(rows, row) - tc_test::countRows(before, row), 1) << n;
    }

    // The override releases the entries at the next reset though the
    // condition stands, and keeps them off.
    if (!src.overridable) return;
    for (int n : src.alarms)
        if (hasOverride(n)) tune(ovrd(n), 1);
    runPasses(R160, 2);
    reset();
    if (pulse) {
        src.again(*this);
        ASSERT_GE(passesUntil(src.condition, 3000), 0) << "raised anew";
    }
    runPasses(R10, static_cast<int>(given * 100) + 2 * kLagPasses);
    if (!pulse) {
        EXPECT_EQ(boolean(src.condition), 1u) << "the condition still stands";
    }
    std::set<int> kept;
    for (int n : src.alarms)
        if (!hasOverride(n)) kept.insert(n);
    EXPECT_EQ(str(latched()), str(kept));
    // And once taken off, they latch again.
    for (int n : src.alarms)
        if (hasOverride(n)) tune(ovrd(n), 0);
    runPasses(R160, 2);
    if (pulse) {
        src.again(*this);
        ASSERT_GE(passesUntil(src.condition, 3000), 0) << "raised anew";
    }
    runPasses(R10, static_cast<int>(given * 100) + 2 * kLagPasses);
    EXPECT_EQ(str(latched()), str(want));
}

Step service(const char* cell, double value) {
    return [=](AlarmBase& r) { r.tune(cell, value); };
}

std::vector<int> spares() {
    std::vector<int> v = {10, 16, 18, 19, 20, 24, 25, 26};
    for (int n = 64; n <= 100; ++n)
        if (n != 82) v.push_back(n);
    return v;
}

// Analog input k (0 .. 3) carrying function f, its loop opened.
Source inputFailed(const char* name, int n, const char* condition, int k, int f, Settings more = {}) {
    Settings s = {{nullptr, 0.0}};
    static const char* const kFunct[4] = {"_ub6.FUNCT.IN", "_ub7.FUNCT.IN", "_ub8.FUNCT.IN", "_ub9.FUNCT.IN"};
    s[0] = {kFunct[k], f};
    s.insert(s.end(), more.begin(), more.end());
    return {name, {n}, condition, s, [k](AlarmBase&) { board::setAnalogInputOpen(k, true); }};
}
// Analog input k above level 1 (60 %) or level 2 (70 %) of its range, that
// level in use with no delay of its own.
Source inputLevel(const char* name, int n, const char* condition, int k, int level) {
    static const char* const kUse[2][4] = {{"_ub1.USE_SP1.IN", "_ub2.USE_SP1.IN", "_ub3.USE_SP1.IN", "_ub4.USE_SP1.IN"},
                                           {"_ub1.USE_SP2.IN", "_ub2.USE_SP2.IN", "_ub3.USE_SP2.IN", "_ub4.USE_SP2.IN"}};
    static const char* const kDly[4] = {"_ub1.ALM_DLY.IN", "_ub2.ALM_DLY.IN", "_ub3.ALM_DLY.IN", "_ub4.ALM_DLY.IN"};
    const double mA = 4.0 + 0.16 * (level == 1 ? 65.0 : 75.0);
    return {name, {n}, condition, {{kUse[level - 1][k], 1}, {kDly[k], 0.0}},
            [k, mA](AlarmBase&) { board::setAnalogInputMa(k, mA); }};
}

// Analog output k (0 .. 2, current loops 3 .. 5) showing the shaft speed,
// its loop's wire broken.
Source outputOpen(const char* name, int n, const char* condition, int k) {
    static const char* const kFunct[3] = {"_ub10.FUNCT.IN", "_ub11.FUNCT.IN", "_ub12.FUNCT.IN"};
    return {name, {n}, condition, {{kFunct[k], 2}},
            [k](AlarmBase&) { board::setLoopFault(3 + k, board::LoopFault::OpenWire); }};
}


// A Modbus link put in use while no master polls it: past its time-out
// (silent since power-up) the link has failed.
Source linkInUse(const char* name, int n, const char* condition, const char* used) {
    return {name, {n}, condition, {}, [used](AlarmBase& r) {
                r.tune("C_COMM.C1.IN", 1);
                r.tune(used, 1);
            }};
}

// The remote speed setpoint and cascade configured (cascade on analog
// input 2), with momentary enables.
const Settings kMomentaryCascade = {{"CNFG_CASC.CONFIG_B.IN_1", 1},
                                    {"CNFG_CASC.CONFIG_A.IN_4", kMinGov},
                                    {"CNFG_CASC.CONFIG_A.IN_5", kMaxGov},
                                    {"_ub7.FUNCT.IN", 3},
                                    {"IFACE_IN_SPEED.USE_DI_MOMENT.IN", 1}};
void enableCascade(AlarmBase& r) { r.tune("IFACE_IN_CASC.ENA_DIS.IN_1", 1); }
void cascadeOffAndOnAgain(AlarmBase& r) {
    r.tune("IFACE_IN_CASC.ENA_DIS.IN_2", 1);
    r.run160(20);
    r.tune("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
}

// The reference raised from the raise contact to maximum governor, where an
// overspeed test may begin.
void toMaxGovernor(AlarmBase& r) {
    r.close(kRaiseContact, true);
    for (int k = 0; k < 2000 && r.value("IFACE_OUT_SPEED.SPEED_REF.A_NAME") < kMaxGov - 0.5; ++k) r.run80(1);
    r.close(kRaiseContact, false);
    r.run160(2);
}
// An external overspeed test enabled from the service tool at maximum
// governor.
void externalTest(AlarmBase& r) {
    toMaxGovernor(r);
    r.tune("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 1);
}
// That test, the reference raised from the raise contact until the speed
// stands above the trip level (the reference below the test limit); the
// raise ends in the pass the alarm's condition rises.
void externalTestAboveTheTripLevel(AlarmBase& r) {
    externalTest(r);
    r.run160(5);
    r.close(kRaiseContact, true);
    for (int k = 0; k < 20000 && !r.on("OSPD.OSPD_ALM.B_NAME"); ++k) r.run10(1);
    r.close(kRaiseContact, false);
}
// The valve limiter lowered from the service tool until it is below what
// the speed controller asks (in the pass the alarm's condition rises), and
// left there.
void limiterBelowTheDemand(AlarmBase& r) {
    for (int k = 0; k < 20000 && !r.on("ALM_LOGIC.ON_LIMITER.B_NAME"); ++k) {
        if (k % 16 == 0) r.tune("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
        r.run10(1);
    }
    r.tune("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
}

const Settings kCascade = {
    {"CNFG_CASC.CONFIG_B.IN_1", 1}, {"CNFG_CASC.CONFIG_A.IN_4", kMinGov}, {"CNFG_CASC.CONFIG_A.IN_5", kMaxGov}};
const Settings kRemoteCascade = {{"CNFG_CASC.CONFIG_B.IN_1", 1},
                                 {"CNFG_CASC.CONFIG_A.IN_4", kMinGov},
                                 {"CNFG_CASC.CONFIG_A.IN_5", kMaxGov},
                                 {"CNFG_CASC.CONFIG_B.IN_4", 1},
                                 {"_ub7.FUNCT.IN", 3}};

// Not in this table: alarm 55 (the remote nodes' own alarm list) comes from
// the remote I/O nodes on the CAN bus, and alarm 60 (the remote setpoint
// disabled by a Modbus command) from a master on a Modbus link; this rig has
// neither (the remote-node and the Modbus tests raise them).
const Source kSources[] = {
    // The remote speed setpoint in use on an input ranged to its limits.
    inputFailed("RemoteSpeedInput", 27, "ALM_LOGIC.REMSPDSP_FLT.AND", 0, 2,
                {{"CNFG_SETPT.CONFIG_B.IN_2", 1}, {"_ub6.RANGE_LO.IN", kMinGov}, {"_ub6.RANGE_HI.IN", kMaxGov},
                 {"RMT_SETPT.MIN_SPD.TUNE", kMinGov}, {"RMT_SETPT.MAX_SPD.TUNE", kMaxGov}}),
    // Cascade in use within the governor range (and its remote setpoint).
    inputFailed("CascadeInput", 28, "ALM_LOGIC.CASC_FLT.AND", 1, 3, kCascade),
    inputFailed("RemoteCascadeInput", 29, "ALM_LOGIC.REMCASCSP_FLT.AND", 2, 4, kRemoteCascade),
    inputFailed("Vibration1", 30, "ALM_LOGIC.VIB1_FLT.AND", 3, 5),
    inputFailed("Vibration2", 31, "ALM_LOGIC.VIB2_FLT.AND", 0, 6),
    inputFailed("Vibration3", 32, "ALM_LOGIC.VIB3_FLT.AND", 1, 7),
    inputFailed("Vibration4", 33, "ALM_LOGIC.VIB4_FLT.AND", 2, 8),
    inputFailed("BearingTemp1", 34, "ALM_LOGIC.BTEMP1_FLT.AND", 3, 9),
    inputFailed("BearingTemp2", 35, "ALM_LOGIC.BTEMP2_FLT.AND", 0, 10),
    inputFailed("BearingTemp3", 36, "ALM_LOGIC.BTEMP3_FLT.AND", 1, 11),
    inputFailed("BearingTemp4", 37, "ALM_LOGIC.BTEMP4_FLT.AND", 2, 12),
    inputFailed("SignalMonitor1", 38, "ALM_LOGIC.SIG_MON_1_FLT.AND", 3, 13),
    inputFailed("SignalMonitor2", 39, "ALM_LOGIC.SIG_MON_2_FLT.AND", 0, 14),
    inputFailed("SignalMonitor3", 40, "ALM_LOGIC.SIG_MON_3_FLT.AND", 1, 15),
    inputFailed("HpFeedback", 41, "ALM_LOGIC.HP_FDBK_FLT.AND", 2, 16),
    outputOpen("AnalogOutput1", 42, "CNFG_AO.AO_01_RDBK_FLTALM.B_NAME", 0),
    outputOpen("AnalogOutput2", 43, "CNFG_AO.AO_02_RDBK_FLTALM.B_NAME", 1),
    outputOpen("AnalogOutput3", 44, "CNFG_AO.AO_03_RDBK_FLTALM.B_NAME", 2),
    inputLevel("Input1Level1", 45, "_ub1.ALARM_LVL1.B_NAME", 0, 1),
    inputLevel("Input1Level2", 46, "_ub1.ALARM_LVL2.B_NAME", 0, 2),
    inputLevel("Input2Level1", 47, "_ub2.ALARM_LVL1.B_NAME", 1, 1),
    inputLevel("Input2Level2", 48, "_ub2.ALARM_LVL2.B_NAME", 1, 2),
    inputLevel("Input3Level1", 49, "_ub3.ALARM_LVL1.B_NAME", 2, 1),
    inputLevel("Input3Level2", 50, "_ub3.ALARM_LVL2.B_NAME", 2, 2),
    inputLevel("Input4Level1", 51, "_ub4.ALARM_LVL1.B_NAME", 3, 1),
    inputLevel("Input4Level2", 52, "_ub4.ALARM_LVL2.B_NAME", 3, 2),
    {"ChassisCalibration", {7}, "ORVEX12_IO.CHASS_ALMS.OR", {{"ORVEX12_IO.CAL_FLT.IN_2", 0}},
     service("ORVEX12_IO.CAL_FLT.IN_2", 1), true, true, [](AlarmBase&) { board::failCalibrationFlash(true); }},
    // The chassis at 40 C, then at 90 C: the average of its samples (taken
    // every pass here) passes the limit.
    {"ChassisTemperature", {15}, "ORVEX12_IO.TOO_HOT.A_COMPARE", {},
     [](AlarmBase& r) {
         r.tune("ORVEX12_IO.UNIT_TEMP.PERIOD", 1);
         board::setTemperature(90.0f);
     },
     true, true, [](AlarmBase&) { board::setTemperature(40.0f); }},
    {"HpActuator", {17}, "ACT_MUX.HP_FLT_ACTOUT.B_NAME", {},
     [](AlarmBase&) { board::setLoopFault(6, board::LoopFault::OpenWire); }},
    {"ProbeOne", {1}, "MPU_OVRD.SS1_FLD.B_SW", {}, [](AlarmBase&) { turbine::failSensor(0); }},
    {"ProbeTwo", {2}, "ALM_LOGIC.SS2_FLT.AND", {}, [](AlarmBase&) { turbine::failSensor(1); }},
    {"Tripped", {3}, "ALM_LOGIC.TRIP_ALM.AND", {}, [](AlarmBase& r) {
         r.tune("ALARMS.S1.IN", 1);
         r.close(kTripContact, false);
     }},
    {"SpeedDifference", {13}, "CNFG_SPEED.DIFF_ALM.B_NAME", {}, [](AlarmBase&) {
         turbine::Settings t = turbine::settings();
         t.teeth[1] = 61;  // 60 rpm apart at rated
         turbine::configure(t);
     }},
    {"Backlight", {14}, "ORVEX12_IO.KEYPAD.DISP_BKLT_FLT", {}, [](AlarmBase&) { board::setBacklightFault(true); }},
    {"ExternalAlarm1", {21}, "BI_MUX.EXT_ALM_1.B_NAME", {{"_ub20.FUNCT.IN", 19}}, [](AlarmBase& r) { r.close(19, true); }},
    {"ExternalAlarm2", {22}, "BI_MUX.EXT_ALM_2.B_NAME", {{"_ub20.FUNCT.IN", 20}}, [](AlarmBase& r) { r.close(19, true); }},
    {"ExternalAlarm3", {23}, "BI_MUX.EXT_ALM_3.B_NAME", {{"_ub20.FUNCT.IN", 21}}, [](AlarmBase& r) { r.close(19, true); }},
    {"ManualValve", {57}, "IFACE_OUT_HP_MAN.ENABLED.B_NAME", {{"IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 1}},
     service("IFACE_IN_HP_MAN.ENABLE.B_NAME", 1)},
    {"ControlledStop", {59}, "SPDC.Z01_STEP.SFC_STEP", {}, [](AlarmBase& r) { r.close(kSpareContact, true); }},
    // The Modbus links (serial link 1, Ethernet links 2 and 3).
    linkInUse("SerialLink1", 4, "MOD_LNK_STAT.SIO_LNK1_ALM.B_NAME", "C_COMM.C2.IN"),
    linkInUse("EthernetLink2", 5, "MOD_LNK_STAT.LNK2_ALM.B_NAME", "CNFG_COMMS.LINK2_USED.IN"),
    linkInUse("EthernetLink3", 6, "MOD_LNK_STAT.LNK3_ALM.B_NAME", "CNFG_COMMS.LINK3_USED.IN"),
    // No display has beaten since power-up: once its boot window is over.
    {"Display", {8}, "IFACE_MODE.DISPLAY_FLT.B_NAME", {},
     [](AlarmBase& r) {
         for (int k = 0; k < 2000 && !r.on("IFACE_MODE.BOOT_CMPLT.NOT"); ++k) r.run160(1);
     }},
    // The speed simulation from the service tool, on a tripped unit at
    // standstill in configuration mode.
    {"Simulation", {9}, "SPEED_SIM.ENA__SIM.B_NAME", {},
     [](AlarmBase& r) {
         r.close(kTripContact, false);
         r.run160(3);
         r.tune("IFACE_MODE.CNFG_OR_ABOV.IN_3", 1);
         r.run160(2);
         r.tune("SPEED_SIM.INTERNAL_SIM.IN_1", 1);
     },
     true, false},
    // The external overspeed test enabled from the service tool.
    {"OverspeedTest", {11}, "SPDC.A09_STEP.SFC_STEP", {}, externalTest},
    // The first critical band (2000 .. 2500 rpm) in use; the shaft held
    // inside it for longer than the band may take (at least 15 s).
    {"CriticalBand", {12}, "CRIT_SPD.IN_CRIT.OR",
     {{"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 2000.0},
      {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2500.0},
      {"CNFG_SETPT.CONFIG_B.IN_1", 1},
      {"CRIT_SPD.SET_HIGH1_SUB.IN_2", 0.0},
      {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 2000.0}},
     [](AlarmBase& r) { r.holdShaft(2250.0); }},
    // The HP valve's position feedback on analog input 3 (-100 .. 100 %),
    // the difference check in use (60 %, no delay): the feedback at -100 %.
    {"HpPositionDifference", {53}, "ALM_LOGIC.HP_POS_ERR.B_ALARM",
     {{"_ub8.FUNCT.IN", 16},
      {"_ub8.RANGE_LO.IN", -100.0},
      {"_ub8.RANGE_HI.IN", 100.0},
      {"ALM_LOGIC.ENA_HP_DIFF.IN", 1},
      {"ALM_LOGIC.QT_HPDIFF_AMT.IN", 60.0},
      {"ALM_LOGIC.QT_DIFF_DLY.IN", 0.0}},
     [](AlarmBase&) { board::setAnalogInputMa(2, 4.0); }},
    // The valve limiter lowered below the speed controller's demand, from
    // the service tool or from its lower contact (BI07).
    {"LimiterInControl", {54}, "ALM_LOGIC.ON_LIMITER.B_NAME", {}, limiterBelowTheDemand},
    {"LimiterLowerContact", {54}, "ALM_LOGIC.ON_LIMITER.B_NAME", {{"_ub19.FUNCT.IN", 23}},
     [](AlarmBase& r) {
         r.close(kSpareContact, true);
         for (int k = 0; k < 20000 && !r.on("ALM_LOGIC.ON_LIMITER.B_NAME"); ++k) r.run10(1);
         r.close(kSpareContact, false);
     }},
    // The speed above the trip level in an external overspeed test (the
    // test's own alarm overridden).
    {"ExternalTestOverspeed", {56}, "OSPD.OSPD_ALM.B_NAME",
     {{"ALARMS.ALM_OVRDS.IN_11", 1}, {"IFACE_IN_SPEED.OSPD_RATE.IN", 20.0}}, externalTestAboveTheTripLevel},
    // Underspeed at 2900 rpm: the shaft held at 2800 rpm in control.
    {"Underspeed", {58}, "SPDC.UDRSPD_ALM.AND", {{"IFACE_IN_SPEED.UNDERSPEED.IN", 2900.0}},
     [](AlarmBase& r) { r.holdShaft(2800.0); }},
    // Cascade enabled from the service tool with momentary enables.
    {"CascadeEnabled", {62}, "RMT_ENBL.DISFROMCASC.AND", kMomentaryCascade, enableCascade, true, true, nullptr,
     cascadeOffAndOnAgain},
    // The remote speed setpoint (on analog input 1) and its enable contact
    // (BI07, maintained), the contact opened (the alarm overridden while the
    // unit starts below minimum governor, where it stands too).
    {"RemoteEnableContact", {63}, "RMT_ENBL.BI_DIS.B_SW",
     {{"ALARMS.ALM_OVRDS.IN_63", 1}, {"_ub19.FUNCT.IN", 8}, {"CNFG_SETPT.CONFIG_B.IN_2", 1}, {"_ub6.FUNCT.IN", 2}, {"_ub6.RANGE_LO.IN", kMinGov},
      {"_ub6.RANGE_HI.IN", kMaxGov}},
     [](AlarmBase& r) { r.close(kSpareContact, false); }, true, true,
     [](AlarmBase& r) { r.close(kSpareContact, true); }},
    // The remote setpoint disabled by the OPC link's command 9, written as
    // the OPC server writes it, with the link's writes enabled.
    {"OpcRemoteSpeedDisable", {61}, "OPC_DATA.BW_CMDS.SEL_9", {{"OPC_DATA.ENA_WRITES.IN", 1}},
     service("OPC_DATA.BW_LIST.IN_9", 1)},
    {"TunableAlarm", {82}, "ALARMS.TUNABLE_ALARM.B_NAME", {}, service("ALARMS.TUNABLE_ALARM.IN", 1)},
    {"Spares", spares(), "ALARMS.UNUSED.B_NAME", {}, service("ALARMS.UNUSED.IN", 1)},
};

INSTANTIATE_TEST_SUITE_P(Sources, AlarmRig, ::testing::ValuesIn(kSources),
                         [](const ::testing::TestParamInfo<Source>& i) { return std::string(i.param.name); });

}  // namespace
