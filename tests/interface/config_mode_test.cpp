// Configure mode, the save request and the status texts through real
// passes: entering and leaving configure mode under the calibration
// permissive locks the I/O through the runtime and saves the tunables file,
// which a restart reads back; the texts follow their debounced conditions.
#include <string>

#include "app/config/config_slices.h"
#include "app/interface/interface_slices.h"
#include "platform/vkiobus.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R160 = 4;

class ConfigMode : public tc_test::AppHarness {
protected:
    void start() {
        useSlices(R160, {_R160_TASK_7, _R160_TASK_43});
        startApp();
    }
    void seconds(double s) { runPasses(R160, static_cast<uint32_t>(s / 0.16 + 0.999)); }
    // A command output of the service command list for one pass.
    void command(int n) {
        const std::string c = "MASTER.COMMANDS.OUT_" + std::to_string(n);
        setCell(c, 1);
        runPasses(R160, 1);
        setCell(c, 0);
    }
    void permissive(bool on) { setCell("CALMODE.CAL_PERM.AND", on ? 1 : 0); }
    uint32_t configuring() { return boolean("MASTER.LOCK_IO.LATCH"); }
};

TEST_F(ConfigMode, EnteringLocksTheIoAndLeavingSavesTheTunables) {
    start();
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u) << "not configuring at start: one save pulse";
    seconds(1.2);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);
    permissive(true);
    setCell("SYS_ID.SS_HOURS.IN", 5.0);
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
    setCell("MASTER.LOCK_CMD.IN_1", 1);
    seconds(0.5);
    EXPECT_EQ(configuring(), 0u);
    setCell("MASTER.LOCK_CMD.IN_1", 0);
    permissive(true);
    command(2);
    EXPECT_EQ(configuring(), 1u);
    permissive(false);
    command(3);
    EXPECT_EQ(configuring(), 1u) << "no exit without the permissive";
    permissive(true);
    setCell("MASTER.COMMANDS.OUT_2", 1);
    setCell("MASTER.COMMANDS.OUT_3", 1);
    runPasses(R160, 1);
    EXPECT_EQ(configuring(), 1u) << "enter and exit together: entered";
    setCell("MASTER.COMMANDS.OUT_2", 0);
    runPasses(R160, 1);
    EXPECT_EQ(configuring(), 0u);
    setCell("MASTER.COMMANDS.OUT_3", 0);
    // The service-side lock enters as well.
    setCell("MASTER.LOCK_CMD.IN_1", 1);
    runPasses(R160, 1);
    EXPECT_EQ(configuring(), 1u);
}

TEST_F(ConfigMode, AShortEpisodeNeverLocksButSavesOnLeaving) {
    start();
    seconds(1.2);
    permissive(true);
    command(2);
    bool locked = false;
    for (int k = 0; k < 5; ++k) {
        runPasses(R160, 1);
        locked = locked || boolean("MASTER.IOLOCK_CMD.B_NAME") != 0;
    }
    command(3);
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
    const struct {
        const char* cell;
        uint32_t save;
    } rows[] = {{"MASTER.COMMANDS.OUT_1", 1}, {"MASTER.IH_SAVE_PB.IN_2", 1}, {"MASTER.SAVETUNES.IN_1", 1}};
    for (const auto& r : rows) {
        setCell(r.cell, 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), r.save) << r.cell;
        setCell(r.cell, 0);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u) << r.cell;
    }
    // The button's reset blocks the button and the command, not the service save.
    setCell("MASTER.IH_SAVE_PB.RST_1", 1);
    setCell("MASTER.IH_SAVE_PB.IN_2", 1);
    setCell("MASTER.COMMANDS.OUT_1", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 0u);
    EXPECT_EQ(integer("MASTER.IH_SAVE_PB.ACT_OUT"), 1);
    setCell("MASTER.SAVETUNES.IN_1", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("MASTER.EE_UPDATE.B_NAME"), 1u);
}

TEST_F(ConfigMode, DelayValueVibrationCountAndIdentification) {
    start();
    runPasses(R160, 1);
    EXPECT_EQ(integer("MASTER.APP_OVRD.I_SW"), 14400);
    EXPECT_EQ(integer("MASTER.DLY_IN_SEC.OUT_1"), 14400);
    setCell("MASTER.DISABL_SS.IN", 1);
    runPasses(R160, 1);
    EXPECT_EQ(integer("MASTER.APP_OVRD.I_SW"), 31536000);
    EXPECT_EQ(integer("MASTER.DLY_IN_SEC.OUT_1"), 14400);

    const struct {
        int used[4];
        int32_t sum;
        uint32_t gt, eq, lt;
    } rows[] = {{{0, 0, 0, 0}, 0, 0, 1, 0}, {{0, 1, 0, 0}, 1, 1, 0, 0}, {{1, 1, 1, 1}, 4, 1, 0, 0},
                {{0, 0, 1, 1}, 2, 1, 0, 0}};
    for (const auto& r : rows) {
        for (int k = 0; k < 4; ++k) setCell("AI_MUX.VIB_IN" + std::to_string(k + 1) + "_USED.B_NAME", r.used[k]);
        runPasses(R160, 1);
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
        setCell(used, 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("VLTR_BEAR.BEARTEMP_ON.OR"), 1u) << k;
        EXPECT_EQ(boolean("VLTR_BEAR.ENA_BEAR_MON.B_NAME"), 1u) << k;
        setCell(used, 0);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("VLTR_BEAR.ENA_BEAR_MON.B_NAME"), 0u) << k;
    }
    setCell("VLTR_VIB.WIZ_RQRD.IN", 3);
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

TEST_F(ConfigMode, CascadeTextFollowsTheFirstDebouncedCondition) {
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

TEST_F(ConfigMode, RemoteSetpointTexts) {
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
