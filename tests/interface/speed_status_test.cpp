// The speed-control interface status on the whole program: the start
// sequence's step flags through an idle/rated start, a run-back, an
// overspeed test, a controlled stop and a trip; the cascade copies and the
// remote-cascade inhibit with cascade and remote cascade on analog inputs;
// the active dynamics set and the optimizer status LEDs through a tuning
// run on the turbine model; the reference's no-move time-out from the raise
// contact. Settings and commands as the service tool writes them.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/control/control_slices.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "tests/interface/iface_rig.h"
#include "tests/interface/operator_rig.h"

namespace iface_test {
namespace {

// A copy computed from its source: every pass it equals the source of this
// pass or of the pass before (a source of another group or computed later
// in the pass), and the source's value once the source stands still.
struct Copy {
    std::string copy, source;
    double before = 0;
    std::set<double> seen;  // values the copy showed while the source stood still
};

class SpeedStatus : public IfaceProgram {
protected:
    double value(const std::string& name) {
        char type = 0;
        cell(name, &type);
        return type == 'A' ? real(name) : type == 'I' ? integer(name) : boolean(name);
    }
    void check(std::vector<Copy>& copies) {
        for (auto& c : copies) {
            const double now = value(c.source), shown = value(c.copy);
            EXPECT_TRUE(shown == now || shown == c.before) << c.copy << " " << shown << " from " << c.source << " "
                                                            << now << " (before " << c.before << ")";
            if (now == c.before) {
                EXPECT_EQ(shown, now) << c.copy;
                c.seen.insert(now);
            }
            c.before = now;
        }
    }
    static std::vector<Copy> copies(std::initializer_list<std::pair<const char*, const char*>> list) {
        std::vector<Copy> out;
        for (const auto& [copy, source] : list) out.push_back({copy, source, 0, {}});
        return out;
    }
    std::string leds() {
        std::string s;
        for (int n = 1; n <= 16; ++n) s += std::to_string(boolean("SPD_CTRL.QT_STATUS_LEDS.OUT_" + std::to_string(n)));
        return s;
    }
    // The tuner's status on the interface, each output from its own inputs
    // only: checked in every pass whose inputs stood since the pass before;
    // the inputs seen on are kept.
    std::string statusBefore_;
    std::set<std::string> statusSeen_;
    void checkStatusOutputs() {
        auto b = [this](const std::string& c) { return boolean(c) != 0; };
        auto led = [&](int n) { return b("SPD_CTRL.QT_STATUS_LEDS.OUT_" + std::to_string(n)); };
        const std::pair<const char*, bool> inputs[] = {
            {"SPDC.IDLE_1_CMPL.AND", b("SPDC.IDLE_1_CMPL.AND")},
            {"ENTR_SETPT.INVALID_SP.OR", b("ENTR_SETPT.INVALID_SP.OR")},
            {"IFACE_OUT_SPEED.AT_SETPT.OR", b("IFACE_OUT_SPEED.AT_SETPT.OR")},
            {"IFACE_OUT_SPEED.DATA_STEPS.OR", b("IFACE_OUT_SPEED.DATA_STEPS.OR")},
            {"IFACE_OUT_SPEED.SP_NOT_MOVE.NOT", b("IFACE_OUT_SPEED.SP_NOT_MOVE.NOT")},
        };
        std::string now;
        for (const auto& [name, on] : inputs) now += on ? '1' : '0';
        now += leds();
        const bool stood = now == statusBefore_;
        statusBefore_ = now;
        if (!stood) return;
        for (const auto& [name, on] : inputs)
            if (on) statusSeen_.insert(name);
        for (int n = 1; n <= 16; ++n)
            if (led(n)) statusSeen_.insert("LED " + std::to_string(n));
        const bool steps = led(9) || led(10) || led(13) || led(14) || led(15);
        const std::pair<const char*, bool> outputs[] = {
            {"IFACE_OUT_SPEED.IDLE_1_CMPL.B_NAME", inputs[0].second},
            {"IFACE_OUT_SPEED.INVALID_SP.B_NAME", inputs[1].second},
            {"IFACE_OUT_SPEED.OPTI_AT_SETPT.B_NAME", inputs[2].second},
            {"IFACE_OUT_SPEED.OPTI_STEPS_THRESH.B_NAME", inputs[3].second},
            {"IFACE_OUT_SPEED.OPTI_CALC_GAINS.B_NAME", led(7)},
            {"IFACE_OUT_SPEED.OPTI_CMPLT.B_NAME", led(16)},
            {"IFACE_OUT_SPEED.OPTI_FAULT_ABORT.B_NAME", led(11)},
            {"IFACE_OUT_SPEED.OPTI_SETTLING.B_NAME", led(2)},
            {"IFACE_OUT_SPEED.OPTI_STEADY.B_NAME", led(15)},
            {"IFACE_OUT_SPEED.OPTI_STEPDN_ALYZ.B_NAME", led(4)},
            {"IFACE_OUT_SPEED.OPTI_STEPDN_THRE.B_NAME", led(6)},
            {"IFACE_OUT_SPEED.OPTI_STEPUP_ALYZ.B_NAME", led(3)},
            {"IFACE_OUT_SPEED.OPTI_STEPUP_THRE.B_NAME", led(5)},
            {"IFACE_OUT_SPEED.RDY_STATUS.AND", led(1) && inputs[4].second},
            {"IFACE_OUT_SPEED.OPTI_RDY.B_NAME", led(1) && inputs[4].second},
            {"IFACE_OUT_SPEED.STEPS.OR", steps},
            {"IFACE_OUT_SPEED.OPTI_STEP_TESTS.B_NAME", steps},
            {"IFACE_OUT_SPEED.STAT_7812.OR", led(7) || inputs[2].second},
            {"IFACE_OUT_SPEED.STATUS7812.B_NAME", led(7) || inputs[2].second},
        };
        for (const auto& [out, want] : outputs) EXPECT_EQ(b(out), want) << out << " with inputs " << now;
    }
    std::string dynamics() {
        std::string s;
        for (int n = 1; n <= 5; ++n) s += std::to_string(boolean("SPD_CTRL.DYN_ACTIV.OUT_" + std::to_string(n)));
        return s;
    }
};

// The status pieces alone, for the values no input gives.
class SpeedStatusSlices : public op_test::OperatorRig {
protected:
    void startStatus() {
        loaded() = false;
        useSlices(op_test::R10, {loadDefaults});
        useSlices(op_test::R80, {_R80_TASK_19});
        useSlices(op_test::R160, {_R160_TASK_40, _R160_TASK_47});
        startApp();
    }
    static void loadDefaults() {
        if (loaded()) return;
        loaded() = true;
        tc_test::loadTunableDefaults();
    }
    static bool& loaded() {
        static bool b = false;
        return b;
    }
    std::string leds() {
        std::string s;
        for (int n = 1; n <= 16; ++n) s += std::to_string(boolean("SPD_CTRL.QT_STATUS_LEDS.OUT_" + std::to_string(n)));
        return s;
    }
};

// Every 80 ms pass each step's flag follows its step, through an automatic
// start to idle, rated, a run-back to idle and rated again, the reference
// raised to maximum governor and an overspeed test demanded from the
// service tool (the test step, then its end), a controlled stop from the
// service tool (the controlled-stop flags) and a trip.
TEST_F(SpeedStatus, StepFlagsAndControlledStopReachTheInterface) {
    using ref_test::kMaxGov;
    start(true, true, {{"OSPD.DLY_NOMOV.DLY_TIME", 5.0}, {"IFACE_IN_SPEED.OSPD_RATE.IN", 20.0}});
    auto flags = copies({
        {"IFACE_IN_VLV.SD_SEQ_SD.B_NAME", "SPDC.Z00_STEP.SFC_STEP"},
        {"IFACE_IN_VLV.STRT_SEQ_AT_IDL1.B_NAME", "SPDC.A02_STEP.SFC_STEP"},
        {"IFACE_IN_VLV.STRT_SEQ_CMPL.B_NAME", "SPDC.A08_STEP.SFC_STEP"},
        {"IFACE_IN_VLV.STRT_SEQ_OVSPD.B_NAME", "IFACE_OUT_SPEED.OSPD_TEST_EN.B_NAME"},
        {"IFACE_IN_VLV.STRT_SEQ_OVSPD_RST.B_NAME", "SPDC.A10_STEP.SFC_STEP"},
        {"IFACE_IN_VLV.STRT_SEQ_RST.B_NAME", "SPDC.A00_STEP.SFC_STEP"},
        {"IFACE_IN_VLV.STRT_SEQ_RUN_BK.B_NAME", "SPDC.A11_STEP.SFC_STEP"},
        {"IFACE_IN_VLV.STRT_SEQ_TO_IDL1.B_NAME", "SPDC.A01_STEP.SFC_STEP"},
        {"IFACE_IN_VLV.CSD_ENABLED.B_NAME", "CNTRL_STOP.NSD_ENABLED.LATCH_R"},
        {"IFACE_OUT_START.CSD_ENABLED.B_NAME", "CNTRL_STOP.NSD_ENABLED.LATCH_R"},
    });
    uint32_t checked = passes(R160);
    auto watchUntil = [&](const std::function<bool()>& done, int max) {
        for (int k = 0; k < max; ++k) {
            runPasses(R80, 1);
            check(flags);
            if (passes(R160) != checked) {
                checked = passes(R160);
                checkStatusOutputs();
            }
            if (done()) return true;
        }
        return false;
    };
    auto watch = [&](int n) { watchUntil([] { return false; }, n); };
    watch(10);
    startCommand();
    ASSERT_TRUE(watchUntil([&] { return step("A02_STEP"); }, 2000)) << "never at idle";
    watch(10);
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    ASSERT_TRUE(watchUntil([&] { return step("A08_STEP"); }, 3000)) << "never in control";
    watch(20);
    pulse("IFACE_IN_START.IR_DIS.IN", R160);
    ASSERT_TRUE(watchUntil([&] { return step("A11_STEP"); }, 20)) << "no run-back";
    watch(20);
    pulse("IFACE_IN_START.IR_EN.IN", R160);
    ASSERT_TRUE(watchUntil([&] { return step("A08_STEP"); }, 3000)) << "never in control again";
    contact(ref_test::kRaiseContact, true);
    ASSERT_TRUE(watchUntil([&] { return ref() >= kMaxGov - 0.5; }, 2000));
    contact(ref_test::kRaiseContact, false);
    watch(200);  // the reference at rest past the no-movement delay
    serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 1);
    ASSERT_TRUE(watchUntil([&] { return step("A09_STEP"); }, 20)) << "never in the test step";
    serviceWrite("IFACE_IN_SPEED.ENABLE_EXT_OST.IN", 0);
    // Raised above maximum governor in the test: the test-ended step holds.
    contact(ref_test::kRaiseContact, true);
    ASSERT_TRUE(watchUntil([&] { return ref() >= kMaxGov + 140.0; }, 2000));
    contact(ref_test::kRaiseContact, false);
    ASSERT_TRUE(watchUntil([&] { return step("A10_STEP"); }, 400)) << "the test never ended";
    watch(20);
    // The idle's completion flag used (its setting): shown once the stop has
    // taken the reference below idle.
    serviceWrite("SPDC.IDLE_1_CMPL.IN_2", 1);
    pulse("IFACE_IN_START.CNTRL_ST.IN", R160);
    ASSERT_TRUE(watchUntil([&] { return boolean("CNTRL_STOP.NSD_ENABLED.LATCH_R") != 0; }, 50)) << "no controlled stop";
    watch(50);
    trip();
    ASSERT_TRUE(watchUntil([&] { return step("Z00_STEP"); }, 20)) << "no shutdown step";
    watch(20);
    for (const auto& f : flags) EXPECT_EQ(f.seen, (std::set<double>{0, 1})) << f.copy << " not seen both ways";
    EXPECT_EQ(statusSeen_.count("SPDC.IDLE_1_CMPL.AND"), 1u) << "idle never complete";
}

// Every 160 ms pass the cascade's interface copies follow their sources,
// and the remote-cascade inhibit is the OR of its three reasons, each seen
// alone: a unit with cascade and remote cascade configured (the process
// value on analog input 2, the remote cascade setpoint on input 3) at
// standstill shut down, started to in control, cascade and then remote
// cascade enabled, the rates entered, the remote cascade input's loop
// broken and mended, a trip; then the program started again without remote
// cascade configured and taken to in control.
TEST_F(SpeedStatus, CascadeCopiesAndTheRemoteCascadeInhibit) {
    auto watched = copies({
        {"IFACE_OUT_CASC.CASC_PID.A_NAME", "CASC_CTRL.CASC_PID.PID_2"},
        {"IFACE_OUT_CASC.EN_ENTR_SETPT.B_NAME", "CASC_RATE.ENTR_SETPT.AND"},
        {"IFACE_OUT_CASC.RMT_CAS_EN.B_NAME", "RMT_CAS_EN.ENABLED.LATCH_R"},
        {"IFACE_OUT_CASC.RMT_N_MATCH_RATE_SEL.B_NAME", "RMT_CAS_EN.Z_LOOP.ZMINUS1_B"},
        {"IFACE_OUT_CASC.ENTRD_RATE.A_NAME", "CASC_RATE.ENTRD_RATE.SAMP_TUNE"},
        {"IFACE_OUT_CASC.RMT_N_MATCH_RATE.A_NAME", "CASC_RATE.RT_N_MTCH.SAMP_TUNE"},
        {"IFACE_OUT_CASC.INVALID_SP.B_NAME", "CASC_ENTRD.INVALID_SP.OR"},
        {"IFACE_OUT_HP_MAN.DIS_TIMEOUT.I_NAME", "HP_MAN_ENBL.DLY_NOMOV.R_TIME"},
        {"IFACE_OUT_CASC.INHIBITED.B_NAME", "RMT_CAS_EN.INHIBITED.OR"},
    });
    const char* const reasons[] = {"CASC_ENBL.INHIBITED.LATCH1", "IFACE_IN_CASC.RMT_CASC_FLT.B_NAME",
                                   "IFACE_IN_CASC.CASC_RMT_N.NOT"};
    std::map<std::string, int> alone;
    int free = 0;
    std::vector<uint32_t> before(3, 0);
    auto watch = [&](int n) {
        for (int k = 0; k < n; ++k) {
            runPasses(R160, 1);
            check(watched);
            std::vector<uint32_t> now;
            for (const char* r : reasons) now.push_back(boolean(r));
            const uint32_t inhibited = boolean("RMT_CAS_EN.INHIBITED.OR");
            const uint32_t any_now = now[0] | now[1] | now[2], any_before = before[0] | before[1] | before[2];
            EXPECT_TRUE(inhibited == any_now || inhibited == any_before) << inhibited;
            if (now == before) {
                EXPECT_EQ(inhibited, any_now);
                if (any_now == 0) ++free;
                for (int r = 0; r < 3; ++r)
                    if (now[size_t(r)] != 0 && any_now == now[size_t(r)] && now[0] + now[1] + now[2] == 1)
                        ++alone[reasons[r]];
            }
            before = now;
        }
    };
    board::setAnalogInputMa(2, 14.0);
    startWithRemoteAndCascade({{"CNFG_CASC.CONFIG_B.IN_4", 1},
                               {"_ub8.FUNCT.IN", 4},
                               {"_ub8.RANGE_LO.IN", 0.0},
                               {"_ub8.RANGE_HI.IN", 100.0}});
    watch(20);
    startCommand();
    for (int k = 0; k < 400 && !step("A08_STEP"); ++k) watch(1);
    ASSERT_TRUE(step("A08_STEP"));
    watch(30);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    watch(60);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.ENABLED.B_NAME"), 1u);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 0);
    tune("RMT_CAS_EN.OR_ENABLE.IN_4", 1);
    watch(3);
    tune("RMT_CAS_EN.OR_ENABLE.IN_4", 0);
    watch(100);
    tune("CASC_RATE.ENTRD_RATE.TUNE", 3.5);
    tune("CASC_RATE.RT_N_MTCH.TUNE", 7.5);
    watch(20);
    board::setAnalogInputMa(2, 1.0);  // the remote cascade input's loop broken
    watch(40);
    board::setAnalogInputMa(2, 14.0);
    watch(40);
    reset();  // the input's fault cleared from the reset contact
    watch(20);
    trip();
    watch(40);
    // Without remote cascade configured.
    stopApp();
    startWithRemoteAndCascade();
    watch(20);
    startCommand();
    for (int k = 0; k < 400 && !step("A08_STEP"); ++k) watch(1);
    ASSERT_TRUE(step("A08_STEP"));
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    watch(60);
    for (const char* r : reasons) EXPECT_GT(alone[r], 0) << r << " never alone";
    EXPECT_GT(free, 0) << "never without an inhibit";
    // Copies whose sources this scenario moves.
    for (const auto& c : watched) {
        if (c.copy.find("CASC_PID") != std::string::npos || c.copy.find("INVALID_SP") != std::string::npos ||
            c.copy.find("DIS_TIMEOUT") != std::string::npos)
            continue;
        EXPECT_GT(c.seen.size(), 1u) << c.copy << " stood at one value";
    }
}

// The active dynamics set and the optimizer status LEDs through a tuning
// run: the online-dynamics contact (BI07 given function 9) selects the
// offline or online set, a tuning run requested from the service tool on a
// unit at rated under half load steps through the optimizer's states to
// completion (every 160 ms pass one LED per state 1 .. 16, at-setpoint and
// data-steps lamps with their states), and once the optimizer's dynamics
// are in use they win whatever the contact says.
TEST_F(SpeedStatus, OneDynamicsSetIsActive) {
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}, {"_ub19.FUNCT.IN", 9}});
    runPasses(R80, 2);
    EXPECT_EQ(dynamics(), "10000");
    EXPECT_EQ(integer("SPD_CTRL.CALC_GAINS_SW.I_SW"), 1);
    contact(ref_test::kSpareContact, true);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SPD_CTRL.ONLINE_DYN.B_NAME"), 1u);
    EXPECT_EQ(integer("SPD_CTRL.DYN_PACK8.I_OUT"), 1);
    EXPECT_EQ(integer("SPD_CTRL.I_ADD.I_ADD"), 2);
    EXPECT_EQ(dynamics(), "01000");
    startToRated();
    turbine::setLoad(0.5);
    runPasses(R160, 750);
    // Lamps by state: the at-setpoint and data-steps states.
    const std::map<int, std::pair<uint32_t, uint32_t>> lamps = {
        {0, {0, 0}}, {1, {0, 0}}, {5, {0, 1}}, {6, {0, 1}}, {8, {1, 0}}, {12, {1, 0}}, {16, {0, 0}}};
    std::set<int> states;
    int32_t before = integer("SPD_CTRL.SPD_PID.OPTI_STATUS");
    uint32_t optimizerBefore = 0;
    auto watch = [&] {
        runPasses(R160, 1);
        const int32_t status = integer("SPD_CTRL.SPD_PID.OPTI_STATUS");
        auto lit = [](int32_t s) {
            std::string l(16, '0');
            if (s >= 1 && s <= 16) l[size_t(s - 1)] = '1';
            return l;
        };
        const std::string shown = leds();
        checkStatusOutputs();
        EXPECT_TRUE(shown == lit(status) || shown == lit(before)) << shown << " state " << status;
        if (status == before) {
            EXPECT_EQ(shown, lit(status)) << status;
            states.insert(status);
            if (lamps.count(status)) {
                EXPECT_EQ(boolean("IFACE_OUT_SPEED.AT_SETPT.OR"), lamps.at(status).first) << status;
                EXPECT_EQ(boolean("IFACE_OUT_SPEED.DATA_STEPS.OR"), lamps.at(status).second) << status;
            }
            const uint32_t optimizer = boolean("_ub91.OPTIDYN_IN_USE.AND");
            if (optimizer != 0 && optimizerBefore != 0) {
                EXPECT_EQ(dynamics(), "00001") << status;
            }
            optimizerBefore = optimizer;
        }
        before = status;
    };
    // A run to completion with the contact as it stands; the optimizer's
    // dynamics then win whatever the online flag says.
    auto run = [&](bool online, double loadWhileSettling) {
        contact(ref_test::kSpareContact, online);
        for (int k = 0; k < 5; ++k) watch();
        ASSERT_EQ(boolean("SPD_CTRL.ONLINE_DYN.B_NAME"), online ? 1u : 0u);
        ASSERT_EQ(dynamics(), online ? "01000" : "10000");
        serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 1);
        for (int k = 0; k < 3000 && integer("SPD_CTRL.SPD_PID.OPTI_STATUS") != 16; ++k) {
            watch();
            if (integer("SPD_CTRL.SPD_PID.OPTI_STATUS") == 2) turbine::setLoad(loadWhileSettling);
        }
        ASSERT_EQ(integer("SPD_CTRL.SPD_PID.OPTI_STATUS"), 16) << "fault " << integer("SPD_CTRL.SPD_PID.OPTI_FAULT");
        for (int k = 0; k < 5; ++k) watch();
        ASSERT_EQ(boolean("_ub91.OPTIDYN_IN_USE.AND"), 1u);
        EXPECT_EQ(boolean("SPD_CTRL.ONLINE_DYN.B_NAME"), online ? 1u : 0u);
        EXPECT_EQ(dynamics(), "00001") << online;
        EXPECT_EQ(integer("SPD_CTRL.CALC_GAINS_SW.I_SW"), 5);
        // The request released and the tuner reset from the service tool.
        serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 0);
        serviceWrite("SPD_CTRL.ENA_OPTI.RST_1", 1);
        for (int k = 0; k < 5; ++k) watch();
        serviceWrite("SPD_CTRL.ENA_OPTI.RST_1", 0);
        for (int k = 0; k < 20; ++k) watch();
    };
    // The first run settles at the setpoint and steps up first; in the
    // second, load shed while the valve is held lifts the speed above the
    // setpoint (a little, so that it stays inside the tuner's noise band),
    // and the first step is down.
    run(true, 0.5);
    run(false, 0.49);
    // A tuning run aborted: the setpoint moved from the raise contact while
    // the tuner steps.
    serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 1);
    for (int k = 0; k < 3000 && integer("SPD_CTRL.SPD_PID.OPTI_STATUS") < 3; ++k) watch();
    contact(ref_test::kRaiseContact, true);
    for (int k = 0; k < 5; ++k) watch();
    contact(ref_test::kRaiseContact, false);
    for (int k = 0; k < 100 && integer("SPD_CTRL.SPD_PID.OPTI_STATUS") != 11; ++k) watch();
    EXPECT_EQ(integer("SPD_CTRL.SPD_PID.OPTI_STATUS"), 11) << "not aborted";
    for (int k = 0; k < 5; ++k) watch();
    serviceWrite("SPD_CTRL.TIQ_OPTI_RQST.IN", 0);
    for (int k = 0; k < 5; ++k) watch();
    for (int s : {1, 4, 5, 6, 8, 12, 16}) EXPECT_EQ(states.count(s), 1u) << "state " << s << " never shown";
    // Every status input but the idle's (in the start and stop scenario)
    // seen on.
    for (const char* in : {"ENTR_SETPT.INVALID_SP.OR", "IFACE_OUT_SPEED.AT_SETPT.OR", "IFACE_OUT_SPEED.DATA_STEPS.OR",
                           "IFACE_OUT_SPEED.SP_NOT_MOVE.NOT"})
        EXPECT_EQ(statusSeen_.count(in), 1u) << in << " never on";
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(statusSeen_.count("LED " + std::to_string(n)), 1u) << "LED " << n << " never on";
}

// States outside 1 .. 16, which the optimizer never reports: no LED.
TEST_F(SpeedStatusSlices, OptimizerStatusLightsOneOfSixteenLeds) {
    startStatus();
    struct {
        int status;
        const char* leds;
        uint32_t at_setpt, data_steps;
    } rows[] = {
        {0, "0000000000000000", 0, 0},  {1, "1000000000000000", 0, 0},  {5, "0000100000000000", 0, 1},
        {6, "0000010000000000", 0, 1},  {8, "0000000100000000", 1, 0},  {12, "0000000000010000", 1, 0},
        {16, "0000000000000001", 0, 0}, {17, "0000000000000000", 0, 0}, {-1, "0000000000000000", 0, 0},
    };
    for (const auto& r : rows) {
        setCell("SPD_CTRL.SPD_PID.OPTI_STATUS", r.status);
        runPasses(op_test::R160, 2);
        EXPECT_EQ(leds(), r.leds) << r.status;
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.AT_SETPT.OR"), r.at_setpt) << r.status;
        EXPECT_EQ(boolean("IFACE_OUT_SPEED.DATA_STEPS.OR"), r.data_steps) << r.status;
    }
}

// The raise contact moves the reference; once it is released the no-move
// time-out counts down 30 s, shown in whole seconds; the entered rate
// follows its setting.
TEST_F(SpeedStatus, NoMoveTimeOutCountsDownThirtySeconds) {
    start(false, false);
    startToInControl();
    tune("IFACE_IN_SPEED.SP_GOTO_RT.IN", 25.0);
    contact(ref_test::kRaiseContact, true);
    runPasses(R160, 3);
    EXPECT_EQ(boolean("OSPD.MV_REF.OR"), 1u);
    EXPECT_EQ(boolean("OSPD.NO_MV.NOT"), 0u);
    EXPECT_EQ(real("IFACE_OUT_SPEED.ENTRD_RATE.A_NAME"), 25.0f);
    contact(ref_test::kRaiseContact, false);
    ASSERT_GT(passesUntil(R160, "OSPD.NO_MV.NOT", 1, 20), 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("OSPD.NO_MV.NOT"), 1u);
    EXPECT_EQ(integer("IFACE_OUT_SPEED.DIS_TIMEOUT.I_NAME"), 29);
    runPasses(R160, 186);  // 29.76 s more
    EXPECT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 0u);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("OSPD.DLY_NOMOV.DELAY"), 1u);
    EXPECT_EQ(integer("IFACE_OUT_SPEED.DIS_TIMEOUT.I_NAME"), 0);
}

}  // namespace
}  // namespace iface_test
