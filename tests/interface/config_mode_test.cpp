// Configure mode, the save request and the status texts on the whole
// program: entering and leaving configure mode with the service tool's
// commands under the calibration permissive (the unit shut down and the
// shaft below its low speed) locks the I/O through the runtime and saves
// the tunables file, which a restart reads back; the texts follow their
// debounced conditions.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/config/config_slices.h"
#include "app/interface/interface_slices.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "platform/vkiobus.h"
#include "runtime/sysinfo.h"
#include "tests/interface/iface_rig.h"
#include "tests/support/app_harness.h"

namespace {

class ConfigMode : public iface_test::IfaceProgram {
protected:
    void TearDown() override {
        UnAssert_IOLOCK();
        IfaceProgram::TearDown();
    }
    // Started shut down (the trip contact open) at standstill.
    void start() {
        turbine::enable();
        startApp();
    }
    void seconds(double s) { runPasses(R160, static_cast<uint32_t>(s / 0.16 + 0.999)); }
    // A command of the service tool's command list: on for its time (one
    // second) from the next pass.
    void command(int n) {
        tune("MASTER.COMMANDS.IN_" + std::to_string(n), 1);
        runPasses(R160, 1);
    }
    // The calibration permissive: the shaft held at standstill, or turning
    // well above the low speed.
    void permissive(bool on) {
        holdShaftAt(on ? 0.0 : 2500.0);
        for (int k = 0; k < 100 && boolean("CALMODE.CAL_PERM.AND") != (on ? 1u : 0u); ++k) runPasses(R160, 1);
        ASSERT_EQ(boolean("CALMODE.CAL_PERM.AND"), on ? 1u : 0u);
        runPasses(R160, 1);
    }
    // Passes until the command list's output `n` is off again.
    void commandOver(int n) {
        const std::string c = "MASTER.COMMANDS.OUT_" + std::to_string(n);
        for (int k = 0; k < 20 && boolean(c) != 0; ++k) runPasses(R160, 1);
        ASSERT_EQ(boolean(c), 0u);
    }
    uint32_t configuring() { return boolean("MASTER.LOCK_IO.LATCH"); }
};

// The status texts alone, for what the whole-program scenario cannot pin:
// the debounce's exact pass count (its conditions come from other groups,
// whose copies the 160 ms group takes at passes a test cannot line up), two
// conditions raised in the same pass, and speed control disabled (which the
// scenario does not reach).
class ConfigModeSlices : public tc_test::AppHarness {
protected:
    static constexpr int R160 = 4;
    void start() {
        useSlices(R160, {_R160_TASK_7, _R160_TASK_43});
        startApp();
    }
};

TEST_F(ConfigMode, EnteringLocksTheIoAndLeavingSavesTheTunables) {
    start();
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u) << "not configuring at start: one save pulse";
    seconds(1.2);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);
    permissive(true);
    tune("SYS_ID.SS_HOURS.IN", 5.0);
    command(2);
    EXPECT_EQ(configuring(), 1u);
    seconds(1.6);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 0u) << "the lock follows after 2 s";
    seconds(0.6);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 1u);
    seconds(1.5);  // the supervision task locks the I/O
    EXPECT_EQ(Query_IOLOCK(), 1u);
    EXPECT_EQ(boolean("MASTER.IO_LOCK.B_NAME"), 1u);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);

    command(3);
    EXPECT_EQ(configuring(), 0u);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u);
    seconds(1.2);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);
    seconds(5.0);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 1u) << "released 7 s after leaving";
    seconds(2.0);
    EXPECT_EQ(boolean("MASTER.IOLOCK_CMD.B_NAME"), 0u);

    // The saved file carries the value changed while configuring.
    stopApp();
    start();
    EXPECT_EQ(real("SYS_ID.SS_HOURS.IN"), 5.0f);
    EXPECT_EQ(integer("MASTER.APP_OVRD.I_SW"), 18000);
}

TEST_F(ConfigMode, CommandsNeedTheCalibrationPermissiveAndEnterWinsOverExit) {
    start();
    seconds(1.2);
    permissive(false);
    command(2);
    EXPECT_EQ(configuring(), 0u);
    commandOver(2);
    tune("MASTER.LOCK_CMD.IN_1", 1);
    seconds(0.5);
    EXPECT_EQ(configuring(), 0u);
    tune("MASTER.LOCK_CMD.IN_1", 0);
    permissive(true);
    command(2);
    EXPECT_EQ(configuring(), 1u);
    commandOver(2);
    permissive(false);
    command(3);
    EXPECT_EQ(configuring(), 1u) << "no exit without the permissive";
    commandOver(3);
    EXPECT_EQ(configuring(), 1u);
    permissive(true);
    // Enter, then exit while enter still stands: entered; once enter is
    // over, exit alone leaves.
    command(2);
    command(3);
    ASSERT_EQ(boolean("MASTER.COMMANDS.OUT_2"), 1u);
    ASSERT_EQ(boolean("MASTER.COMMANDS.OUT_3"), 1u);
    EXPECT_EQ(configuring(), 1u) << "enter and exit together: entered";
    commandOver(2);
    EXPECT_EQ(boolean("MASTER.COMMANDS.OUT_3"), 1u);
    EXPECT_EQ(configuring(), 0u);
    commandOver(3);
    // The service-side lock enters as well.
    tune("MASTER.LOCK_CMD.IN_1", 1);
    runPasses(R160, 1);
    EXPECT_EQ(configuring(), 1u);
}

TEST_F(ConfigMode, AShortEpisodeNeverLocksButSavesOnLeaving) {
    start();
    seconds(1.2);
    permissive(true);
    command(2);
    bool locked = false;
    for (int k = 0; k < 20 && boolean("MASTER.COMMANDS.OUT_2") != 0; ++k) {
        runPasses(R160, 1);
        locked = locked || boolean("MASTER.IOLOCK_CMD.B_NAME") != 0;
    }
    EXPECT_EQ(configuring(), 1u);
    command(3);
    EXPECT_EQ(configuring(), 0u);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u);
    for (int k = 0; k < 60; ++k) {
        runPasses(R160, 1);
        locked = locked || boolean("MASTER.IOLOCK_CMD.B_NAME") != 0;
    }
    EXPECT_FALSE(locked);
    EXPECT_EQ(Query_IOLOCK(), 0u);
}

TEST_F(ConfigMode, SaveButtonCommandAndServiceSave) {
    start();
    seconds(1.2);
    // The save command of the list: a save request while it stands.
    command(1);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u);
    commandOver(1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);
    for (const char* setting : {"MASTER.IH_SAVE_PB.IN_2", "MASTER.SAVETUNES.IN_1"}) {
        tune(setting, 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u) << setting;
        tune(setting, 0);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u) << setting;
    }
    // The button's reset blocks the button and the command, not the service save.
    tune("MASTER.IH_SAVE_PB.RST_1", 1);
    tune("MASTER.IH_SAVE_PB.IN_2", 1);
    command(1);
    EXPECT_EQ(boolean("MASTER.COMMANDS.OUT_1"), 1u);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);
    EXPECT_EQ(integer("MASTER.IH_SAVE_PB.ACT_OUT"), 1);
    tune("MASTER.SAVETUNES.IN_1", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u);
}

TEST_F(ConfigMode, DelayValueVibrationCountAndIdentification) {
    start();
    runPasses(R160, 1);
    EXPECT_EQ(integer("MASTER.APP_OVRD.I_SW"), 14400);
    EXPECT_EQ(integer("MASTER.DLY_IN_SEC.OUT_1"), 14400);
    tune("MASTER.DISABL_SS.IN", 1);
    runPasses(R160, 1);
    EXPECT_EQ(integer("MASTER.APP_OVRD.I_SW"), 31536000);
    EXPECT_EQ(integer("MASTER.DLY_IN_SEC.OUT_1"), 14400);

    const struct {
        int used[4];
        int32_t sum;
        uint32_t gt, eq, lt;
    } rows[] = {{{0, 0, 0, 0}, 0, 0, 1, 0}, {{0, 1, 0, 0}, 1, 1, 0, 0}, {{1, 1, 1, 1}, 4, 1, 0, 0},
                {{0, 0, 1, 1}, 2, 1, 0, 0}};
    // The analog inputs' functions changed in configure mode (the I/O
    // locked): vibration k on input k, or none (function 1).
    permissive(true);
    command(2);
    for (int k = 0; k < 100 && boolean("MASTER.IO_LOCK.B_NAME") == 0; ++k) runPasses(R160, 1);
    ASSERT_EQ(boolean("MASTER.IO_LOCK.B_NAME"), 1u);
    auto functions = [&](const int* used, int first) {
        for (int k = 0; k < 4; ++k) tune("_ub" + std::to_string(6 + k) + ".FUNCT.IN", used[k] ? first + k : 1);
        runPasses(R160, 4);
    };
    for (const auto& r : rows) {
        functions(r.used, 5);
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(boolean("AI_MUX.VIB_IN" + std::to_string(k + 1) + "_USED.B_NAME"), uint32_t(r.used[k])) << k;
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(integer("VLTR_VIB.VIBS_USED.OUT_" + std::to_string(k + 1)), r.used[k]) << k;
        EXPECT_EQ(integer("VLTR_VIB.NUM_VIBSIGS.I_ADD"), r.sum);
        EXPECT_EQ(boolean("VLTR_VIB.VIBUSED.GT"), r.gt);
        EXPECT_EQ(boolean("VLTR_VIB.VIBUSED.EQ"), r.eq);
        EXPECT_EQ(boolean("VLTR_VIB.VIBUSED.LT"), r.lt);
        EXPECT_EQ(boolean("VLTR_VIB.ENA_VIB_MON.B_NAME"), r.gt);
    }
    // Bearing-temperature monitoring: on while any of the four is assigned.
    for (int k = 1; k <= 4; ++k) {
        const std::string used = "AI_MUX.BEARTEMP" + std::to_string(k) + "_USED.B_NAME";
        int one[4] = {0, 0, 0, 0};
        one[k - 1] = 1;
        functions(one, 9);
        ASSERT_EQ(boolean(used), 1u);
        EXPECT_EQ(boolean("VLTR_BEAR.BEARTEMP_ON.OR"), 1u) << k;
        EXPECT_EQ(boolean("VLTR_BEAR.ENA_BEAR_MON.B_NAME"), 1u) << k;
        const int none[4] = {0, 0, 0, 0};
        functions(none, 9);
        ASSERT_EQ(boolean(used), 0u);
        EXPECT_EQ(boolean("VLTR_BEAR.ENA_BEAR_MON.B_NAME"), 0u) << k;
    }
    tune("VLTR_VIB.WIZ_RQRD.IN", 3);
    runPasses(R160, 1);
    EXPECT_EQ(integer("VLTR_VIB.WIZ_RQRD.I_NAME"), 3);

    EXPECT_EQ(text("MASTER.TIQ_PN.S_NAME"), "9902-4411");
    EXPECT_EQ(text("MASTER.TIQ_REV.S_NAME"), "4.02");
    EXPECT_EQ(text("MASTER.QT_PN.S_NAME"), "9902-4486");
    EXPECT_EQ(text("MASTER.OPERATOR_PASSWORD.S_NAME"), text("MASTER.OPERATOR_PASSWORD.IN"));
    EXPECT_EQ(text("MASTER.OPERATOR_PASSWORD.S_NAME").size(), 6u);
    EXPECT_EQ(real("MASTER.PART_NUMBER.A_NAME"), 99024408.0f);
    EXPECT_EQ(boolean("MASTER.LOGOUT_TO_OPERATOR.B_NAME"), 1u);
}

// The cascade and remote-setpoint texts every 160 ms pass of a scenario on
// a unit with the remote speed setpoint, cascade and remote cascade on
// analog inputs: shut down and ready, in control with the remote setpoint
// enabled and disabled from the service tool, cascade and then remote
// cascade enabled, the valve limiter lowered below the controllers'
// demand, the remote cascade input's loop broken, a trip. Each text is the
// first of its debounced conditions (a condition counts once it has stood
// for five passes, 0.64 s, and stops at once); every text is seen.
TEST_F(ConfigMode, CascadeAndRemoteSetpointTextsFollowTheirConditions) {
    struct Debounced {
        const char* delay;
        std::function<uint32_t()> input;
        std::vector<uint32_t> history;
        uint32_t out = 0;
    };
    auto cell = [this](const char* name) { return [this, name] { return boolean(name); }; };
    auto valve = cell("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME");
    auto remoteCascade = cell("IFACE_OUT_CASC.REM_CAS_SEL.B_NAME");
    std::vector<Debounced> delays = {
        {"MESSAGE.B02_STEP_DELAY.DELAY", cell("SPDC.B02_STEP.SFC_STEP"), {}, 0},
        {"MESSAGE.CASC_CTL_DELAY.DELAY", [&] { return boolean("SPDC.B02_STEP.SFC_STEP") & valve(); }, {}, 0},
        {"MESSAGE.CASC_RMT_DELAY.DELAY", [&] { return remoteCascade() & valve(); }, {}, 0},
        {"MESSAGE.CAS_INHIBITED_DELAY.DELAY", cell("CASC_ENBL.INHIBITED.LATCH1"), {}, 0},
        {"MESSAGE.ENABLEDMES_DELAY.DELAY", cell("CASC_ENBL.ENABLEDMES.B_ACTION"), {}, 0},
        {"MESSAGE.REM_CAS_SEL_DELAY.DELAY", remoteCascade, {}, 0},
        {"MESSAGE.RMT_CAS_EN_DELAY.DELAY", cell("IFACE_OUT_CASC.RMT_CAS_EN.B_NAME"), {}, 0},
    };
    // Texts by number, as the operator sees them.
    const std::map<int32_t, std::string> cascadeTexts = {{0, "Cascade is Disabled"},
                                                         {1, "Cascade Control with Remote Setpoint"},
                                                         {2, "Cascade Active With Remote Setpoint"},
                                                         {3, "Cascade is In Control"},
                                                         {4, "Cascade Active/ No Speed Control"},
                                                         {5, "Cascade is Enabled"},
                                                         {6, "Cascade is Inhibited"}};
    const std::map<int32_t, std::string> remoteTexts = {
        {0, "Disabled"}, {1, "In Control"}, {2, "Active"}, {3, "Enabled"}, {4, "Inhibited"}};
    const std::map<int32_t, std::string> promptTexts = {
        {0, "\"Yes to Enable     \""}, {1, "\"No to Disable     \""}, {2, "\"Yes/No Inactive   \""}};
    // The first true entry's number, else 0.
    auto first = [](std::initializer_list<std::pair<uint32_t, int32_t>> entries) {
        for (const auto& [on, n] : entries) {
            if (on != 0) return n;
        }
        return 0;
    };
    std::set<int32_t> cascadeSeen, remoteSeen, promptSeen, remoteCascadeSeen;
    std::vector<std::vector<uint32_t>> remoteInputs;
    int flickers = 0;
    std::set<uint32_t> notInControlSeen;
    auto watch = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(R160, 1);
            for (auto& d : delays) {
                d.history.push_back(d.input());
                if (d.history.size() > 6) d.history.erase(d.history.begin());
                const uint32_t out = boolean(d.delay);
                int same = 0;  // the latest inputs equal to the output
                for (auto it = d.history.rbegin(); it != d.history.rend() && *it == out; ++it) ++same;
                if (d.history.size() == 6 && same == 0) {
                    bool still = true;
                    for (uint32_t v : d.history) still = still && v == d.history.back();
                    EXPECT_FALSE(still) << d.delay << " not following an input that stood for 0.96 s";
                }
                if (out != d.out) {
                    EXPECT_GE(same, 2) << d.delay << " changed before its input stood for 0.5 s";
                }
                d.out = out;
            }
            // The cascade texts from the debounced conditions of this pass.
            const int32_t c = first({{boolean("MESSAGE.CASC_RMT_DELAY.DELAY"), 1},
                                     {boolean("MESSAGE.REM_CAS_SEL_DELAY.DELAY"), 2},
                                     {boolean("MESSAGE.CASC_CTL_DELAY.DELAY"), 3},
                                     {boolean("MESSAGE.B02_STEP_DELAY.DELAY"), 4},
                                     {boolean("MESSAGE.ENABLEDMES_DELAY.DELAY"), 5},
                                     {boolean("MESSAGE.CAS_INHIBITED_DELAY.DELAY"), 6}});
            EXPECT_EQ(integer("MESSAGE.F_CASC.MSG_SEL"), c);
            EXPECT_EQ(text("MESSAGE.F_CASC.B_TO_STR"), cascadeTexts.at(c));
            cascadeSeen.insert(c);
            const int32_t rc = first({{boolean("MESSAGE.CASC_RMT_DELAY.DELAY"), 1},
                                      {boolean("MESSAGE.REM_CAS_SEL_DLY.DELAY"), 2},
                                      {boolean("MESSAGE.RMT_CAS_EN_DELAY.DELAY"), 3},
                                      {boolean("MESSAGE.INHIBITED_DLY.DELAY"), 4}});
            EXPECT_EQ(integer("MESSAGE.F_RMT_CASC.MSG_SEL"), rc);
            EXPECT_EQ(text("MESSAGE.F_RMT_CASC.B_TO_STR"), remoteTexts.at(rc));
            remoteCascadeSeen.insert(rc);
            EXPECT_EQ(boolean("MESSAGE.INHIBITED_DLY.DELAY"), boolean("IFACE_OUT_CASC.INHIBITED.B_NAME"));
            // The remote setpoint's texts from their conditions, which come
            // from other groups: checked once the conditions have stood
            // still over three passes.
            const std::vector<uint32_t> in = {
                boolean("IFACE_OUT_SPEED.RMT_SPD_ACTIVE.B_NAME"), valve(), boolean("MESSAGE.SP_EQ_RMT.DELAY"),
                boolean("IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME"), boolean("RMT_ENBL.INHIBITED.OR"),
                boolean("RMT_ENBL.OR_DISABLE.OR"), boolean("IFACE_OUT_SPEED.SPD_CTRL_DISABLED.B_NAME")};
            remoteInputs.push_back(in);
            if (remoteInputs.size() > 3) remoteInputs.erase(remoteInputs.begin());
            auto remote = [&](const std::vector<uint32_t>& v) {
                return first({{v[0] & v[1] & v[2], 1}, {v[0], 2}, {v[3], 3}, {v[4], 4}});
            };
            auto prompt = [&](const std::vector<uint32_t>& v) { return first({{v[3], 1}, {v[5], 2}}); };
            const int32_t r = integer("MESSAGE.F_RMT.MSG_SEL"), m = integer("MESSAGE.F_RMT_MSG.MSG_SEL");
            const uint32_t notInControl = boolean("MESSAGE.SPD_NOT_IN_CTRL.NOT");
            bool still = true;
            for (const auto& v : remoteInputs) still = still && v == in;
            if (still) {
                EXPECT_EQ(r, remote(in));
                EXPECT_EQ(m, prompt(in));
                // The valve's selection flag is a 10 ms signal that may flip
                // between the passes read here: counted, not failed at once.
                if (notInControl != 1u - in[1]) ++flickers;
                EXPECT_EQ(boolean("MESSAGE.SPD_NOT_DISABLED.NOT"), 1u - in[6]);
                EXPECT_EQ(boolean("MESSAGE.SPD_ACTIVE.AND"), (1u - in[6]) & notInControl);
                remoteSeen.insert(r);
                notInControlSeen.insert(notInControl);
                promptSeen.insert(m);
            }
            EXPECT_EQ(text("MESSAGE.F_RMT.B_TO_STR"), remoteTexts.at(r));
            EXPECT_EQ(text("MESSAGE.F_RMT_MSG.B_TO_STR"), promptTexts.at(m));
        }
    };
    board::setAnalogInputMa(2, 14.0);
    startWithRemoteAndCascade({{"CNFG_CASC.CONFIG_B.IN_4", 1},
                               {"_ub8.FUNCT.IN", 4},
                               {"_ub8.RANGE_LO.IN", 0.0},
                               {"_ub8.RANGE_HI.IN", 100.0}});
    watch(10);
    trip();
    watch(20);
    clearTrip();
    watch(10);
    startCommand();
    for (int k = 0; k < 400 && !step("A08_STEP"); ++k) watch(1);
    ASSERT_TRUE(step("A08_STEP"));
    watch(20);
    // The remote speed setpoint enabled, then disabled.
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    watch(400);
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_2", 1);
    watch(40);
    // Remote cascade enabled, then cascade.
    tune("RMT_CAS_EN.OR_ENABLE.IN_4", 1);
    watch(3);
    tune("RMT_CAS_EN.OR_ENABLE.IN_4", 0);
    watch(30);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    watch(60);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 0);
    watch(150);
    // Remote cascade disabled: cascade alone in control; enabled again.
    tune("RMT_CAS_EN.OR_DISABLE.IN_8", 1);
    watch(3);
    tune("RMT_CAS_EN.OR_DISABLE.IN_8", 0);
    watch(60);
    tune("RMT_CAS_EN.OR_ENABLE.IN_4", 1);
    watch(3);
    tune("RMT_CAS_EN.OR_ENABLE.IN_4", 0);
    watch(100);
    // The limiter lowered below the controllers' demand: the valve not in
    // speed control.
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
    for (int k = 0; k < 300 && valve() != 0; ++k) watch(1);
    watch(20);
    serviceWrite("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
    watch(20);
    board::setAnalogInputMa(2, 1.0);  // the remote cascade input's loop broken
    watch(40);
    trip();
    watch(40);
    EXPECT_EQ(cascadeSeen, (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(remoteCascadeSeen, (std::set<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(remoteSeen, (std::set<int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(promptSeen, (std::set<int32_t>{0, 1, 2}));
    EXPECT_LE(flickers, 2);
    EXPECT_EQ(notInControlSeen, (std::set<uint32_t>{0, 1}));
}

TEST_F(ConfigModeSlices, CascadeTextFollowsTheFirstDebouncedCondition) {
    start();
    runPasses(R160, 1);
    EXPECT_EQ(text("MESSAGE.F_CASC.B_TO_STR"), "Cascade is Disabled");
    EXPECT_EQ(integer("MESSAGE.F_CASC.MSG_SEL"), 0);
    const struct {
        const char* cell;
        int32_t number;
        const char* text;
    } rows[] = {
        {"CASC_ENBL.INHIBITED.LATCH1", 6, "Cascade is Inhibited"},
        {"CASC_ENBL.ENABLEDMES.B_ACTION", 5, "Cascade is Enabled"},
        {"SPDC.B02_STEP.SFC_STEP", 4, "Cascade Active/ No Speed Control"},
        {"IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME", 3, "Cascade is In Control"},
        {"IFACE_OUT_CASC.REM_CAS_SEL.B_NAME", 1, "Cascade Control with Remote Setpoint"},
    };
    for (const auto& r : rows) {
        setCell(r.cell, 1);
        runPasses(R160, 4);  // the timer has passed 0.48 s only
        EXPECT_NE(integer("MESSAGE.F_CASC.MSG_SEL"), r.number) << r.cell;
        runPasses(R160, 1);
        EXPECT_EQ(integer("MESSAGE.F_CASC.MSG_SEL"), r.number) << r.cell;
        EXPECT_EQ(text("MESSAGE.F_CASC.B_TO_STR"), r.text) << r.cell;
    }
    // Remote cascade selected without the valve in control.
    setCell("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME", 0);
    runPasses(R160, 5);
    EXPECT_EQ(integer("MESSAGE.F_CASC.MSG_SEL"), 2);
    EXPECT_EQ(text("MESSAGE.F_CASC.B_TO_STR"), "Cascade Active With Remote Setpoint");
    EXPECT_EQ(integer("MESSAGE.F_RMT_CASC.MSG_SEL"), 2);
    EXPECT_EQ(text("MESSAGE.F_RMT_CASC.B_TO_STR"), "Active");
    EXPECT_EQ(boolean("MESSAGE.SPD_NOT_IN_CTRL.NOT"), 1u);
    EXPECT_EQ(boolean("MESSAGE.SPD_ACTIVE.AND"), 1u);
}

TEST_F(ConfigModeSlices, RemoteSetpointTexts) {
    start();
    runPasses(R160, 1);
    const struct {
        const char* cell;
        int32_t number;
        const char* text;
        int32_t prompt;
        const char* prompt_text;
    } rows[] = {
        {nullptr, 0, "Disabled", 0, "\"Yes to Enable     \""},
        {"RMT_ENBL.OR_DISABLE.OR", 0, "Disabled", 2, "\"Yes/No Inactive   \""},
        {"RMT_ENBL.INHIBITED.OR", 4, "Inhibited", 2, "\"Yes/No Inactive   \""},
        {"IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME", 3, "Enabled", 1, "\"No to Disable     \""},
        {"IFACE_OUT_SPEED.RMT_SPD_ACTIVE.B_NAME", 2, "Active", 1, "\"No to Disable     \""},
        {"IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME", 2, "Active", 1, "\"No to Disable     \""},
        {"MESSAGE.SP_EQ_RMT.DELAY", 1, "In Control", 1, "\"No to Disable     \""},
    };
    for (const auto& r : rows) {
        if (r.cell) setCell(r.cell, 1);
        runPasses(R160, 2);
        const char* what = r.cell ? r.cell : "none";
        EXPECT_EQ(integer("MESSAGE.F_RMT.MSG_SEL"), r.number) << what;
        EXPECT_EQ(text("MESSAGE.F_RMT.B_TO_STR"), r.text) << what;
        EXPECT_EQ(integer("MESSAGE.F_RMT_MSG.MSG_SEL"), r.prompt) << what;
        EXPECT_EQ(text("MESSAGE.F_RMT_MSG.B_TO_STR"), r.prompt_text) << what;
    }
    // The remote cascade texts: the inhibit follows at once.
    EXPECT_EQ(text("MESSAGE.F_RMT_CASC.B_TO_STR"), "Disabled");
    setCell("IFACE_OUT_CASC.INHIBITED.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(integer("MESSAGE.F_RMT_CASC.MSG_SEL"), 4);
    setCell("IFACE_OUT_CASC.RMT_CAS_EN.B_NAME", 1);
    runPasses(R160, 5);
    EXPECT_EQ(integer("MESSAGE.F_RMT_CASC.MSG_SEL"), 3);
    EXPECT_EQ(text("MESSAGE.F_RMT_CASC.B_TO_STR"), "Enabled");
    setCell("IFACE_OUT_SPEED.SPD_CTRL_DISABLED.B_NAME", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MESSAGE.SPD_NOT_DISABLED.NOT"), 0u);
    EXPECT_EQ(boolean("MESSAGE.SPD_ACTIVE.AND"), 0u);
}

}  // namespace
