// The control-status message and the configuration-error list of the
// 160 ms status slice.
#include <functional>
#include <set>

#include "app/control/control_slices.h"
#include "app/protection/LATCH_AE.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/turbine_model.h"
#include "platform/vkiobus.h"
#include "tests/control_valve/valve_rig.h"
#include "tests/support/ref_rig.h"

using namespace valve_test;

namespace {

class Status : public ValveRig {
protected:
    void SetUp() override {
        ValveRig::SetUp();
        run({}, {}, {}, {_R160_TASK_33});
        seconds(0.5);
    }
};

// Each message's condition, in the table's order (first holds wins).
struct Message {
    const char* cell;
    int32_t index;
    const char* text;
};
const Message kMessages[] = {
    {"SPDC.Z01_STEP.SFC_STEP", 2, "Controlled Shutdown"},
    {"IFACE_OUT_VLV.ACT_LSS_HI_LIM_I.B_NAME", 4, "Max Actuator"},
    {"CONT_MESS.VLV_LIM_MESS.AND", 5, "Valve Limiter"},
    {"IFACE_OUT_VLV.ACT_LSS_SEL_3.B_NAME", 7, "Manual Demand"},
    {"CNFG_CHECK.USE_BND1.AND", 8, "Configuration Error"},
    {"IFACE_OUT_START.STRT_INH.B_NAME", 9, "Start Perm Not Met"},
    {"SPDC.A00_STEP.SFC_STEP", 10, "Ready to Start"},
    {"CNFG_START.MAN_START.B_NAME", 11, "Manual Start"},
    {"CNFG_START.AUTO_START.B_NAME", 12, "Auto Start"},
    {"SPDC.B03_STEP.SFC_STEP", 14, "Remote Cascade/Speed"},
    {"SPDC.B02_STEP.SFC_STEP", 15, "Cascade / Speed"},
    {"IFACE_OUT_SPEED.RMT_SPD_ACTIVE.B_NAME", 16, "Remote / Speed"},
    {"SPD_CTRL.ONLINE_DYN.B_NAME", 17, "Speed / On-Line"},
    {"IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME", 18, "Speed / Off-Line"},
};

// Every message by its condition, with the earlier one winning, is shown on
// the whole program (StatusMessages below). Kept on the slices: the
// configuration error's row (no input shows it: a latched configuration
// error always trips the unit, and "Shutdown" comes first) against the rows
// around it, and a pass in which no row holds (message 0: on the program a
// step of the start chart or a select of the valve demand always holds).
constexpr int32_t kConfigMessage = 8;

TEST_F(Status, EachMessageIsSelectedByItsConditionAndTheEarlierOneWins) {
    EXPECT_EQ(integer("CONT_MESS.CNTRL_MESS.MSG_SEL"), 0);
    EXPECT_EQ(text("CONT_MESS.CNTRL_MESS.B_TO_STR"), "Ready to Start");
    // Every row below the configuration error holds; the starting messages
    // need the start sequence running, the on-line message the speed
    // controller in control.
    setCell("IFACE_OUT_START.STARTING.B_NAME", 1);
    setCell("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME", 1);
    for (const Message& m : kMessages)
        if (m.index > kConfigMessage) setCell(m.cell, 1);
    // From the configuration error up: each condition added takes over.
    for (int k = static_cast<int>(std::size(kMessages)) - 1; k >= 0; --k) {
        const Message& m = kMessages[k];
        if (m.index > kConfigMessage) continue;
        SCOPED_TRACE(m.text);
        setCell(m.cell, 1);
        seconds(0.5);
        EXPECT_EQ(integer("CONT_MESS.CNTRL_MESS.MSG_SEL"), m.index);
        EXPECT_EQ(text("CONT_MESS.CNTRL_MESS.B_TO_STR"), m.text);
        EXPECT_EQ(integer("CONT_MESS.CONT_PARA_INT.I_NAME"), m.index);
        EXPECT_EQ(real("CONT_MESS.CNTRL_PARAMTR.A_NAME"), static_cast<float>(m.index));
        EXPECT_EQ(text("CONT_MESS.CONT_PARA.S_NAME"), m.text);
    }
}

// The configuration error's message alone (the others alone are shown on
// the program), and nothing shown again once its latch is reset.
TEST_F(Status, EachMessageAlone) {
    for (const Message& m : kMessages) {
        if (m.index != kConfigMessage) continue;
        SCOPED_TRACE(m.text);
        setCell(m.cell, 1);
        seconds(0.5);
        EXPECT_EQ(integer("CONT_MESS.CNTRL_MESS.MSG_SEL"), m.index);
        EXPECT_EQ(text("CONT_MESS.CNTRL_MESS.B_TO_STR"), m.text);
        setCell(m.cell, 0);
        // A latched configuration error stays until a reset.
        setCell("CONF_LATCH.CFG_SAMPL_OK_OR.IN_3", 1);
        seconds(0.5);
        setCell("CONF_LATCH.CFG_SAMPL_OK_OR.IN_3", 0);
        seconds(0.5);
        EXPECT_EQ(integer("CONT_MESS.CNTRL_MESS.MSG_SEL"), 0);
    }
}

// The shutdown message on the program: from power-up, when the unit comes
// up tripped, until a reset; and again on a trip during a start.
class StatusProgram : public ProgramRig {
protected:
    void expectMessage(int32_t index, const char* text) {
        EXPECT_EQ(integer("CONT_MESS.CNTRL_MESS.MSG_SEL"), index);
        EXPECT_EQ(this->text("CONT_MESS.CNTRL_MESS.B_TO_STR"), text);
        EXPECT_EQ(this->text("CONT_MESS.CONT_PARA.S_NAME"), text);
    }
};

TEST_F(StatusProgram, ShutdownIsShownFromPowerUpUntilAResetAndAgainOnATrip) {
    powerUp();
    ASSERT_TRUE(tripped());
    expectMessage(1, "Shutdown");
    clearTrips();
    seconds(0.5);
    expectMessage(10, "Ready to Start");
    startCommand();
    ASSERT_TRUE(runUntil([&] { return integer("CONT_MESS.CNTRL_MESS.MSG_SEL") == 11; }, 10)) << "no start message";
    expectMessage(11, "Manual Start");
    contact(kTripContact, false);
    ASSERT_TRUE(runUntil([&] { return tripped(); }, 3));
    seconds(0.5);
    expectMessage(1, "Shutdown");
    EXPECT_EQ(integer("CONT_MESS.CONT_PARA_INT.I_NAME"), 1);
    EXPECT_EQ(real("CONT_MESS.CNTRL_PARAMTR.A_NAME"), 1.0f);
}

// The list's inputs by record number.
const char* const kConfigErrors[47] = {
    "CNFG_CHECK_BI.DUPLICATDI.B_NAME",    "CNFG_CHECK_BI.DI01CFG_ER.B_NAME",    "CNFG_CHECK_BI.DI02CFG_ER.B_NAME",
    "CNFG_CHECK_BI.DI03CFG_ER.B_NAME",    "CNFG_CHECK_BI.DI04CFG_ER.B_NAME",    "CNFG_CHECK_BI.DI05CFG_ER.B_NAME",
    "CNFG_CHECK_BI.DI06CFG_ER.B_NAME",    "CNFG_CHECK_BI.DI07CFG_ER.B_NAME",    "CNFG_CHECK_BI.DI08CFG_ER.B_NAME",
    "CNFG_CHECK_AI.DUPLICATE_AI.B_NAME",  "CNFG_CHECK_AI.AI_01_CFG_ER.B_NAME",  "CNFG_CHECK_AI.AI_02_CFG_ER.B_NAME",
    "CNFG_CHECK_AI.AI_03_CFG_ER.B_NAME",  "CNFG_CHECK_AI.AI_04_CFG_ER.B_NAME",  "CNFG_CHECK_BO.RLY1ER.B_NAME",
    "CNFG_CHECK_BO.RLY2ER.B_NAME",        "CNFG_CHECK_BO.RLY3ER.B_NAME",        "CNFG_CHECK_BO.RLY4ER.B_NAME",
    "CNFG_CHECK_AO.AO01CFG_ER.B_NAME",    "CNFG_CHECK_AO.AO02CFG_ER.B_NAME",    "CNFG_CHECK_AO.AO03CFG_ER.B_NAME",
    "CNFG_ACT.ACT1_SCALE_SD.AND",         "CONF_CHECK_CASC.CASC_NO_AI.AND",     "CONF_CHECK_CASC.SPD_LIM_ERR.OR",
    "CONF_CHECK.RMT_CASC_NO_AI.AND",      "CNFG_CHECK_RMT.REMSPD_CFG.B_NAME",   "CNFG_CHECK_RMT.RANG_ERR.AND",
    "CNFG_CHECK.IDLE1_IN_CRIT.AND",       "CNFG_CHECK.MIN_SPD_ERROR_OR.OR",     "CNFG_CHECK.IDL_ERROR.AND",
    "CONF_CHECK_CASC.SETPT_ERR.AND",      "CNFG_CHECK.CRIT_RATE.AND",           "CNFG_CHECK.CRIT_ER_NI.B_SW",
    "CNFG_CHECK.USE_BND1.AND",            "CNFG_CHECK.USE_BND2.AND",            "CNFG_CHECK.USE_BND3.AND",
    "CNFG_CHECK.MIN_MAX_ERR.AND",         "CNFG_CHECK.MAX_GOV_OS_ER.A_COMPARE", "CNFG_CHECK.OS_OSTSP_ER.A_COMPARE",
    "MPU.OST_LIM_GT_MAX_SPD.OR",          "MPU.SPD1_GT_MAX.A_COMPARE",          "MPU.SPD2_GT_MAX.AND",
    "MPU.SP1_MN_CHK.A_COMPARE",           "MPU.SP2_MINERR.AND",                 "START.STRT_IH.SEL_2",
    "CNFG_CHECK.IR_MINERR.B_SW",          "CNFG_CHECK.IR_MAXERR.B_SW",
};

// The list as the service side reads it: the record numbers in order.
std::vector<uint16_t> serviceView() {
    std::vector<uint16_t> ids;
    const uint16_t n = GetLatchAESize(5);
    for (uint16_t k = 0; k < n; ++k) {
        uint16_t id = 0;
        TimerValue t{};
        if (GetNextLatchAEInfo(0xC0C08005u, k, &id, &t) == 1) ids.push_back(id);
    }
    return ids;
}

// Records 1 .. 47 but 28 are shown on the whole program (StatusConfigErrors
// below). Kept on the slices: record 28 (idle inside the critical band always
// has the band's low end at or below idle: record 34 latches with it, never
// alone); the message "Configuration Error"
// (on the program the shutdown a latched error brings comes first), shown on
// record 1; and a channel's record kept once its finding has gone without a
// reset (on the program a channel's finding goes only at a sample of the
// configuration, which also releases the list).
bool onProgram(int n) { return n != 28; }

TEST_F(Status, EachConfigurationErrorLatchesItsRecordUntilAResetAfterItHasGone) {
    for (int n = 1; n <= 47; ++n) {
        SCOPED_TRACE(kConfigErrors[n - 1]);
        if (onProgram(n)) {
            // The message alone, on one record of the group.
            if (n != 1) continue;
        }
        if (n == 44) {
            // The second sensor's failed level below what it can measure,
            // with the sensor used.
            setCell("CONF_VAL_1.USE_MPU2.B_NAME", 1);
            setCell("MPU.MIN_SPD_CK2.MULTIPLY", 300.0);
            setCell("CNFG_SPEED.SPD2_LOW_SP.A_NAME", 300.0);
        } else {
            setCell(kConfigErrors[n - 1], 1);
        }
        seconds(0.5);
        const std::string sel = "CONF_LATCH.ANY.SEL_" + std::to_string(n);
        EXPECT_EQ(boolean(sel), 1u);
        EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 1u);
        EXPECT_EQ(integer("CONF_LATCH.ANY.ALM_NO_" + std::to_string(n)), 1);  // the first latched
        EXPECT_EQ(serviceView(), std::vector<uint16_t>{static_cast<uint16_t>(n)});
        EXPECT_EQ(integer("CONT_MESS.CNTRL_MESS.MSG_SEL"), 8);
        // Gone but not reset: still latched.
        if (n == 44) setCell("CNFG_SPEED.SPD2_LOW_SP.A_NAME", 301.0);
        else setCell(kConfigErrors[n - 1], 0);
        seconds(0.5);
        EXPECT_EQ(boolean(sel), 1u);
        setCell("RESET.RESET.B_NAME", 1);
        seconds(0.32);
        setCell("RESET.RESET.B_NAME", 0);
        EXPECT_EQ(boolean(sel), 0u);
        EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 0u);
        setCell("CONF_VAL_1.USE_MPU2.B_NAME", 0);
    }
    // The spare records never latch.
    seconds(1.0);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.SEL_48"), 0u);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.SEL_49"), 0u);
}

}  // namespace

namespace {

// The configuration flags on the whole program: each configuration entered
// from the service tool while the controller powers up (a new start for
// each), the flags read once it has powered up.
class StatusConfig : public ProgramRig {
protected:
    void powerUpWith(Settings extra, bool restart) {
        if (restart) stopApp();
        startApp();
        for (const auto& [name, value] : extra) serviceWrite(name, value);
        runPasses(R160, 20);
    }
};

TEST_F(StatusConfig, TheStartModeFlagsFollowTheConfigurationManualFirst) {
    const struct {
        int man, aut;
        uint32_t man_start, auto_start;
    } cases[] = {{0, 0, 0, 0}, {1, 0, 1, 0}, {0, 1, 0, 1}, {1, 1, 1, 0}};
    bool restart = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.man << c.aut);
        powerUpWith({{"CNFG_START.CONFIG_B.IN_1", static_cast<double>(c.man)},
                     {"CNFG_START.CONFIG_B.IN_2", static_cast<double>(c.aut)}},
                    restart);
        restart = true;
        EXPECT_EQ(boolean("START.MAN_START.B_NAME"), c.man_start);
        EXPECT_EQ(boolean("IFACE_IN_START.MANUAL_START.B_NAME"), c.man_start);
        EXPECT_EQ(boolean("START.AUTO_START.AND"), c.auto_start);
        EXPECT_EQ(boolean("IFACE_IN_START.AUTO_START.B_NAME"), static_cast<uint32_t>(c.aut));
    }
}

TEST_F(StatusConfig, TheConfigurationSummaryFlags) {
    powerUpWith({}, false);
    EXPECT_EQ(integer("CONF_VAL_1.CONTROLLERS_USED.I_NAME"), 1);
    EXPECT_EQ(boolean("CONF_VAL_1.NO_CASC.NOT"), 1u);
    EXPECT_EQ(boolean("CONF_VAL_2.NO_MPU2.NOT"), 1u);
    EXPECT_EQ(boolean("CONF_VAL_1.IDLE_RTD_N.NOT"), 1u);
    // Cascade with setpoint tracking, the second speed sensor and the
    // idle/rated start configured.
    powerUpWith({{"CNFG_CASC.CONFIG_B.IN_1", 1},
                 {"CNFG_CASC.CONFIG_B.IN_3", 1},
                 {"CNFG_SPEED.CONFIG_B.IN_1", 1},
                 {"CNFG_START.CONFIG_B.IN_2", 1}},
                true);
    EXPECT_EQ(integer("CONF_VAL_1.CASC_USED.I_NAME"), 1);
    EXPECT_EQ(integer("CONF_VAL_1.CONTROLLERS_USED.I_NAME"), 2);
    EXPECT_EQ(integer("CONF_VAL_1.CONTROLLERS_TOTAL.I_NAME"), 2);
    EXPECT_EQ(boolean("CONF_VAL_1.CAS_EN_TRK.AND"), 1u);
    EXPECT_EQ(boolean("CONF_VAL_1.NO_CASC.NOT"), 0u);
    EXPECT_EQ(boolean("CONF_VAL_2.NO_MPU2.NOT"), 0u);
    EXPECT_EQ(boolean("CONF_VAL_1.IDLE_RTD_N.NOT"), 0u);
}

// The second sensor's failed level is checked against the lowest speed it
// can detect (2 % of its maximum, times the buffer): here a maximum of
// 15000 rpm and no buffer, 300 rpm.
TEST_F(StatusConfig, TheSecondSensorCheckComparesItsFailedLevelWithItsRange) {
    const struct {
        double level;
        int used;
        uint32_t err;
    } cases[] = {{299.0, 1, 1}, {300.0, 1, 1}, {300.5, 1, 0}, {200.0, 0, 0}};
    bool restart = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        powerUpWith({{"CNFG_SPEED.SPD2_MAXSPD.IN", 15000.0},
                     {"MPU.BUFFER.IN", 1.0},
                     {"CNFG_SPEED.SPD2_LOW_SP.IN", c.level},
                     {"CNFG_SPEED.CONFIG_B.IN_1", static_cast<double>(c.used)}},
                    restart);
        restart = true;
        EXPECT_EQ(real("MPU.MIN_SPD_CK2.MULTIPLY"), 300.0f);
        EXPECT_EQ(real("MPU_OVRD.MIN_SPD_2.A_NAME"), static_cast<float>(c.level));
        EXPECT_EQ(boolean("MPU.SP2_MINERR.AND"), c.err);
    }
}

}  // namespace

namespace {

// The control-status message on the whole program, traced over every 160 ms
// pass of an automatic start to rated, the raise to maximum governor (the
// on-line dynamics, above the go-on-line speed of 3700 rpm), a controlled
// stop and its abort, the shaft held low (the actuator at its limit) and a
// trip; a manual start with the remote setpoint, cascade and the remote
// cascade setpoint; the manual valve demand holding the valve; and a start
// permissive not met. In each pass whose conditions
// stood since the pass before, the message is the first of the table whose
// condition holds; every message the program can show in these scenarios is
// seen, with its number and text in every copy.
class StatusMessages : public ref_test::RefRig {
protected:
    struct Row {
        int32_t index;
        const char* text;
        std::function<bool()> holds;
    };
    std::vector<Row> table() {
        auto b = [this](const char* c) { return boolean(c) != 0; };
        return {
            {1, "Shutdown", [=] { return b("SHUTDOWNS.ANY_SD.B_NAME"); }},
            {2, "Controlled Shutdown", [=] { return b("SPDC.Z01_STEP.SFC_STEP"); }},
            {4, "Max Actuator", [=] { return b("IFACE_OUT_VLV.ACT_LSS_HI_LIM_I.B_NAME"); }},
            {5, "Valve Limiter", [=] { return b("CONT_MESS.VLV_LIM_MESS.AND"); }},
            {7, "Manual Demand", [=] { return b("IFACE_OUT_VLV.ACT_LSS_SEL_3.B_NAME"); }},
            {8, "Configuration Error", [=] { return b("CONF_LATCH.ANY.LATCH_AE"); }},
            {9, "Start Perm Not Met", [=] { return b("IFACE_OUT_START.STRT_INH.B_NAME"); }},
            {10, "Ready to Start", [=] { return b("SPDC.A00_STEP.SFC_STEP"); }},
            {11, "Manual Start",
             [=] { return b("START.MAN_START.B_NAME") && b("IFACE_OUT_START.STARTING.B_NAME"); }},
            {12, "Auto Start",
             [=] { return b("START.AUTO_START.AND") && b("IFACE_OUT_START.STARTING.B_NAME"); }},
            {14, "Remote Cascade/Speed", [=] { return b("SPDC.B03_STEP.SFC_STEP"); }},
            {15, "Cascade / Speed", [=] { return b("SPDC.B02_STEP.SFC_STEP"); }},
            {16, "Remote / Speed", [=] { return b("IFACE_OUT_SPEED.RMT_SPD_ACTIVE.B_NAME"); }},
            {17, "Speed / On-Line",
             [=] { return b("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME") && b("SPD_CTRL.ONLINE_DYN.B_NAME"); }},
            {18, "Speed / Off-Line", [=] { return b("IFACE_OUT_VLV.ACT_LSS_SEL_1.B_NAME"); }},
        };
    }
    std::set<int32_t> seen_;
    std::string last_;
    // 160 ms passes, each checked.
    void trace(int passes) {
        const auto rows = table();
        for (int k = 0; k < passes; ++k) {
            runPasses(ref_test::R160, 1);
            std::string now;
            for (const Row& r : rows) now += r.holds() ? '1' : '0';
            const int32_t sel = integer("CONT_MESS.CNTRL_MESS.MSG_SEL");
            const std::string text = this->text("CONT_MESS.CNTRL_MESS.B_TO_STR");
            EXPECT_EQ(integer("CONT_MESS.CONT_PARA_INT.I_NAME"), sel);
            EXPECT_EQ(real("CONT_MESS.CNTRL_PARAMTR.A_NAME"), static_cast<float>(sel));
            EXPECT_EQ(this->text("CONT_MESS.CONT_PARA.S_NAME"), text);
            if (now == last_) {
                int32_t want = 10;
                const char* wantText = "Ready to Start";
                for (std::size_t j = 0; j < rows.size(); ++j)
                    if (now[j] == '1') {
                        want = rows[j].index;
                        wantText = rows[j].text;
                        break;
                    }
                EXPECT_EQ(sel, want) << "conditions " << now;
                EXPECT_EQ(text, wantText) << "conditions " << now;
                seen_.insert(sel);
            }
            last_ = now;
        }
    }
    bool traceUntil(const std::function<bool()>& done, int max) {
        for (int k = 0; k < max; ++k) {
            if (done()) return true;
            trace(1);
        }
        return done();
    }
};

TEST_F(StatusMessages, EachMessageIsSelectedByItsConditionAndTheEarlierOneWins) {
    // An automatic start to rated.
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 5.0}, {"IFACE_IN_SPEED.GO_ONLINE.IN", 3700.0}});
    trace(3);
    startCommand();
    ASSERT_TRUE(traceUntil([&] { return step("A02_STEP"); }, 300));
    pulse("IFACE_IN_START.IR_EN.IN", ref_test::R160);
    ASSERT_TRUE(traceUntil([&] { return step("A08_STEP"); }, 1000));
    trace(20);
    // Raised to maximum governor: the on-line dynamics.
    serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 1);
    ASSERT_TRUE(traceUntil([&] { return boolean("SPD_CTRL.ONLINE_DYN.B_NAME") != 0; }, 300)) << "never on-line";
    serviceWrite("SPD_R_L.NONDI_RAZ.IN_2", 0);
    trace(10);
    // A controlled stop, aborted.
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 1);
    ASSERT_TRUE(traceUntil([&] { return step("Z01_STEP"); }, 20));
    serviceWrite("IFACE_IN_START.CNTRL_ST.IN", 0);
    trace(10);
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 1);
    ASSERT_TRUE(traceUntil([&] { return !step("Z01_STEP"); }, 10));
    serviceWrite("IFACE_IN_START.CSD_ABORT.IN", 0);
    trace(20);
    // The shaft held far below the reference: the actuator at its limit.
    holdShaftAt(2000.0);
    ASSERT_TRUE(traceUntil([&] { return boolean("IFACE_OUT_VLV.ACT_LSS_HI_LIM_I.B_NAME") != 0; }, 100));
    trace(10);
    // A trip.
    trip();
    trace(10);
    for (int32_t m : {1, 2, 4, 5, 10, 12, 17, 18}) EXPECT_EQ(seen_.count(m), 1u) << "message " << m << " never seen";
}

TEST_F(StatusMessages, ManualStartRemoteSetpointAndCascade) {
    // The remote cascade setpoint on the third analog input, at mid range.
    board::setAnalogInputMa(2, 12.0);
    startWithRemoteAndCascade({{"_ub20.FUNCT.IN", 8},
                               {"CNFG_CASC.CONFIG_B.IN_4", 1},
                               {"_ub8.FUNCT.IN", 4},
                               {"_ub8.RANGE_LO.IN", 0.0},
                               {"_ub8.RANGE_HI.IN", 100.0}});
    trace(3);
    startCommand();
    ASSERT_TRUE(traceUntil([&] { return step("A08_STEP"); }, 3000));
    trace(20);
    contact(ref_test::kSpareContact + 1, true);
    ASSERT_TRUE(traceUntil([&] { return boolean("IFACE_OUT_SPEED.RMT_SPD_ACTIVE.B_NAME") != 0; }, 40));
    trace(10);
    contact(ref_test::kSpareContact + 1, false);
    trace(20);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    ASSERT_TRUE(traceUntil([&] { return step("B02_STEP"); }, 40)) << "cascade never in control";
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 0);
    trace(10);
    // The remote cascade setpoint takes the cascade.
    serviceWrite("RMT_CAS_EN.OR_ENABLE.IN_4", 1);
    ASSERT_TRUE(traceUntil([&] { return step("B03_STEP"); }, 10)) << "remote cascade never in control";
    serviceWrite("RMT_CAS_EN.OR_ENABLE.IN_4", 0);
    trace(10);
    for (int32_t m : {10, 11, 14, 15, 16, 18}) EXPECT_EQ(seen_.count(m), 1u) << "message " << m << " never seen";
}

// The manual valve demand configured on a unit at rated with half load: enabled
// from the service tool, it holds the valve (the low-signal select's third
// input) and is shown before the speed controller's messages.
TEST_F(StatusMessages, ManualDemandIsShownWhileItHoldsTheValve) {
    start(true, true, {{"CNFG_START.VLV_LIM_RATE.IN", 25.0}, {"IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 1}});
    startToRated();
    turbine::setLoad(0.5);
    trace(100);
    serviceWrite("IFACE_IN_HP_MAN.ENABLE.B_NAME", 0);
    trace(1);
    serviceWrite("IFACE_IN_HP_MAN.ENABLE.B_NAME", 1);
    ASSERT_TRUE(traceUntil([&] { return boolean("IFACE_OUT_VLV.ACT_LSS_SEL_3.B_NAME") != 0; }, 20))
        << "the manual demand never held the valve";
    trace(10);
    // Disabled: the speed controller has the valve back once the manual
    // demand has run up past it.
    serviceWrite("IFACE_IN_HP_MAN.ENABLE.B_NAME", 0);
    trace(400);
    for (int32_t m : {7, 18}) EXPECT_EQ(seen_.count(m), 1u) << "message " << m << " never seen";
}

// The start permissive on the spare contact BI07, open: the start is
// inhibited, shown before "Ready to Start".
TEST_F(StatusMessages, AStartPermissiveNotMetIsShown) {
    startable_ = false;
    start(true, true, {{"_ub19.FUNCT.IN", 27}});
    trace(10);
    contact(ref_test::kSpareContact, true);
    trace(10);
    for (int32_t m : {9, 10}) EXPECT_EQ(seen_.count(m), 1u) << "message " << m << " never seen";
}

}  // namespace

namespace {

// The configuration-error list on the whole program, for the records raised
// by a channel given a function whose feature is not configured (the remote
// speed setpoint, cascade), by one function given to two channels, or by
// speed settings that contradict each other, the start mode or the speed
// sensors, by the remote speed setpoint or cascade used without their
// inputs or with ranges that do not fit, by the actuator's scaling, or by
// the first relay's error setting: each
// entered from the service tool while the controller powers up (a new start
// for each). The record latches alone, with its number first in the list and
// the service side's view; it stays through a reset while the finding is
// there; put right in configure mode, the finding goes and the list releases
// it at the configuration's next sample, and a reset after it latches
// nothing.
class StatusConfigErrors : public ProgramRig {
protected:
    // The service side's view without the list's reset and all-cleared
    // events (records 50 and 51).
    double setting(const std::string& name) {
        char type = 0;
        cell(name, &type);
        return type == 'A' ? real(name) : type == 'I' ? integer(name) : boolean(name);
    }
    static std::vector<uint16_t> findings() {
        std::vector<uint16_t> ids;
        for (uint16_t id : serviceView())
            if (id < 50) ids.push_back(id);
        return ids;
    }
    void TearDown() override {
        UnAssert_IOLOCK();
        ProgramRig::TearDown();
    }
};

using Entries = std::vector<std::pair<const char*, double>>;
struct Raised {
    int record;
    Entries bad, good;  // the settings that raise it and put it right
};

// A channel's function (twice: on two channels), and back to not used.
Raised function(int record, const char* cell, double f, const char* also = nullptr) {
    Raised r{record, {{cell, f}}, {{cell, 1}}};
    if (also) {
        r.bad.push_back({also, f});
        r.good.push_back({also, 1});
    }
    return r;
}

// Cascade configured on the second analog input (setpoint 0 .. 100, speed
// demand 3100 .. 3700 rpm), then `more`.
Entries cascade(Entries more) {
    Entries all = {{"CNFG_CASC.CONFIG_B.IN_1", 1},    {"_ub7.FUNCT.IN", 3},
                   {"CNFG_CASC.CONFIG_A.IN_2", 100.0}, {"CNFG_CASC.CONFIG_A.IN_3", 50.0},
                   {"CNFG_CASC.CONFIG_A.IN_4", 3100.0}, {"CNFG_CASC.CONFIG_A.IN_5", 3700.0}};
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

// The automatic start configured, then `more`.
Entries autoStart(Entries more) {
    Entries all = {{"CNFG_START.CONFIG_B.IN_1", 0}, {"CNFG_START.CONFIG_B.IN_2", 1}};
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

TEST_F(StatusConfigErrors, EachRecordLatchesAloneStaysWhilePresentAndGoesOnceItIsPutRight) {
    const Raised rows[] = {
        function(1, "_ub19.FUNCT.IN", 27, "_ub20.FUNCT.IN"),  // a contact function twice
        function(2, "_ub13.FUNCT.IN", 8),                      // contacts: remote speed setpoint enable
        function(3, "_ub14.FUNCT.IN", 8),
        // The third contact's function is the wizard's (the trip) until its
        // own wizard enable is off.
        {4, {{"_ub15.WIZ_ENA.IN", 0}, {"_ub15.FUNCT.IN", 8}}, {{"_ub15.FUNCT.IN", 1}, {"_ub15.WIZ_ENA.IN", 1}}},
        function(5, "_ub16.FUNCT.IN", 8),
        function(6, "_ub17.FUNCT.IN", 8),
        function(7, "_ub18.FUNCT.IN", 8),
        function(8, "_ub19.FUNCT.IN", 8),
        function(9, "_ub20.FUNCT.IN", 8),
        function(10, "_ub6.FUNCT.IN", 5, "_ub7.FUNCT.IN"),  // an analog input function twice
        function(11, "_ub6.FUNCT.IN", 3),                     // analog inputs: the cascade input
        function(12, "_ub7.FUNCT.IN", 3),
        function(13, "_ub8.FUNCT.IN", 3),
        function(14, "_ub9.FUNCT.IN", 3),
        function(16, "_ub21.RLY_FUNCT.IN", 6),  // relays 2 .. 4: remote speed setpoint states
        function(17, "_ub22.RLY_FUNCT.IN", 6),
        function(18, "_ub23.RLY_FUNCT.IN", 6),
        function(19, "_ub10.FUNCT.IN", 4),  // analog outputs: the remote speed setpoint
        function(20, "_ub11.FUNCT.IN", 4),
        function(21, "_ub12.FUNCT.IN", 4),
        // The second sensor used with its failed level below what it can
        // detect (2 % of 15000 rpm): raised to just above it.
        {44,
         {{"CNFG_SPEED.SPD2_MAXSPD.IN", 15000.0},
          {"MPU.BUFFER.IN", 1.0},
          {"CNFG_SPEED.SPD2_LOW_SP.IN", 299.0},
          {"CNFG_SPEED.CONFIG_B.IN_1", 1}},
         {{"CNFG_SPEED.SPD2_LOW_SP.IN", 301.0}}},
        // The speed settings against each other (put right: back to what
        // they were).
        {29, {{"CNFG_SPEED.SPD1_LOW_SP.IN", 3000.0}}, {}},  // the first sensor's failed level at minimum governor
        {33, {{"CNFG_SETPT.CONFIG_B.IN_1", 1}}, {}},        // a critical band with a manual start
        {37, {{"CNFG_SETPT.QT_MIN_GOV.IN", 3800.0}}, {}},   // minimum governor at maximum
        // The overspeed test limit at maximum governor (the trip below it).
        {38, {{"CNFG_SETPT.QT_OSPD_TRIP.IN", 3790.0}, {"CNFG_SETPT.QT_OST_LIMIT.IN", 3800.0}}, {}},
        {39, {{"CNFG_SETPT.QT_OSPD_TRIP.IN", 4000.0}}, {}},  // the overspeed trip at the test limit
        {45, {{"CNFG_START.CONFIG_B.IN_1", 0}}, {}},        // no start mode
        // With the automatic start (idle 1000 rpm, governor 3000 .. 3800
        // rpm): the critical band below idle, reaching minimum governor,
        // upside down; idle at minimum governor; rated outside the governor
        // range with the idle/rated start.
        {34, autoStart({{"CNFG_SETPT.CONFIG_B.IN_1", 1}, {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 800.0},
                        {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 900.0}}), {}},
        {35, autoStart({{"CNFG_SETPT.CONFIG_B.IN_1", 1}, {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 2000.0},
                        {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 3100.0}}), {}},
        {36, autoStart({{"CNFG_SETPT.CONFIG_B.IN_1", 1}, {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 2500.0},
                        {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2400.0}}), {}},
        {30, autoStart({{"CNFG_START.CONFIG_A.IN_1", 3000.0}}), {}},
        {46, autoStart({{"CNFG_START.CONFIG_B.IN_10", 1}, {"CNFG_START.CONFIG_A.IN_2", 2900.0}}), {}},
        {47, autoStart({{"CNFG_START.CONFIG_B.IN_10", 1}, {"CNFG_START.CONFIG_A.IN_2", 3900.0}}), {}},
        // A critical band whose rate is no faster than the slow rate.
        {32, autoStart({{"CNFG_SETPT.CONFIG_B.IN_1", 1}, {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", 1500.0},
                        {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", 2000.0}, {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", 5.0}}), {}},
        // The speed sensors: the overspeed test limit above the first's
        // maximum; a tooth frequency at maximum speed above what an input
        // measures (60 rpm x 35 kHz / 300 teeth = 7000 rpm), on the first and
        // on the second (used); the first's failed level below what it can
        // detect (2 % of 15000 rpm).
        {40, {{"CNFG_SPEED.SPD1_MAXSPD.IN", 3990.0}}, {}},
        {41, {{"CNFG_SPEED.SPD1_TEETH.IN", 300}, {"CNFG_SPEED.SPD1_MAXSPD.IN", 8000.0}}, {}},
        {42,
         {{"CNFG_SPEED.CONFIG_B.IN_1", 1}, {"CNFG_SPEED.SPD2_TEETH.IN", 300}, {"CNFG_SPEED.SPD2_MAXSPD.IN", 8000.0}},
         {}},
        {43, {{"CNFG_SPEED.SPD1_MAXSPD.IN", 15000.0}, {"MPU.BUFFER.IN", 1.0}, {"CNFG_SPEED.SPD1_LOW_SP.IN", 299.0}}, {}},
        // The actuator (driving the HP valve) with its 100 % current below
        // its 0 % current.
        {22,
         {{"_ub5.MA_AT_0_RNG0.IN", 20.0},
          {"_ub5.MA_AT_100_RNG0.IN", 4.0},
          {"_ub5.MA_AT_0_RNG1.IN", 20.0},
          {"_ub5.MA_AT_100_RNG1.IN", 4.0}},
         {}},
        // The first relay's error setting.
        {15, {{"CNFG_CHECK_BO.RLY1ER.IN", 1}}, {}},
        // The remote speed setpoint and cascade: used without their inputs;
        // the cascade's speed range below minimum governor, its setpoint
        // range beyond its input's; the remote setpoint's range below
        // minimum governor.
        {26, {{"CNFG_SETPT.CONFIG_B.IN_2", 1}}, {}},
        {23, {{"CNFG_CASC.CONFIG_B.IN_1", 1}, {"CNFG_CASC.CONFIG_A.IN_4", 3100.0}, {"CNFG_CASC.CONFIG_A.IN_5", 3700.0}}, {}},
        {27,
         {{"CNFG_SETPT.CONFIG_B.IN_2", 1}, {"_ub6.FUNCT.IN", 2}, {"_ub6.RANGE_LO.IN", 2000.0}, {"_ub6.RANGE_HI.IN", 3800.0}},
         {}},
        // Put right with the cascade left configured (last: the saved
        // settings keep it for the rows after).
        {25, cascade({{"CNFG_CASC.CONFIG_B.IN_4", 1}}), {{"CNFG_CASC.CONFIG_B.IN_4", 0}}},
        {24, cascade({{"CNFG_CASC.CONFIG_A.IN_4", 2900.0}}), {{"CNFG_CASC.CONFIG_A.IN_4", 3100.0}}},
        {31, cascade({{"CNFG_CASC.CONFIG_A.IN_2", 200.0}}), {{"CNFG_CASC.CONFIG_A.IN_2", 100.0}}},
    };
    bool restart = false;
    for (const Raised& r : rows) {
        SCOPED_TRACE(kConfigErrors[r.record - 1]);
        if (restart) {
            UnAssert_IOLOCK();
            stopApp();
        }
        restart = true;
        startApp();
        enterSettings();
        Entries good = r.good;
        if (good.empty())
            for (const auto& [name, value] : r.bad) good.push_back({name, setting(name)});
        for (const auto& [name, value] : r.bad) serviceWrite(name, value);
        runPasses(R160, 20);
        const std::string sel = "CONF_LATCH.ANY.SEL_" + std::to_string(r.record);
        ASSERT_EQ(boolean(kConfigErrors[r.record - 1]), 1u) << "the finding never came";
        EXPECT_EQ(boolean(sel), 1u);
        EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 1u);
        EXPECT_EQ(integer("CONF_LATCH.ANY.ALM_NO_" + std::to_string(r.record)), 1);  // the first latched
        EXPECT_EQ(findings(), std::vector<uint16_t>{static_cast<uint16_t>(r.record)});
        // Still there: a reset keeps it.
        resetTrips();
        EXPECT_EQ(boolean(sel), 1u);
        // Configure mode (the unit shut down at standstill), the channel put
        // right.
        serviceWrite("MASTER.COMMANDS.IN_2", 1);
        runPasses(R160, 2);
        ASSERT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 1u) << "configure mode not entered";
        for (const auto& [name, value] : good) serviceWrite(name, value);
        // Taken once the I/O is locked.
        for (int k = 0; k < 60 && boolean(kConfigErrors[r.record - 1]) != 0; ++k) runPasses(R160, 1);
        ASSERT_EQ(boolean(kConfigErrors[r.record - 1]), 0u) << "the finding never went";
        // Gone: released at a sample of the configuration, within two
        // passes of the window opening.
        while (boolean(sel) != 0 && boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") == 0) runPasses(R160, 1);
        runPasses(R160, 2);
        EXPECT_EQ(boolean(sel), 0u);
        EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 0u);
        serviceWrite("MASTER.COMMANDS.IN_3", 1);
        for (int k = 0; k < 8 && boolean("MASTER.LOCK_IO.LATCH") != 0; ++k) runPasses(R160, 1);
        ASSERT_EQ(boolean("MASTER.LOCK_IO.LATCH"), 0u) << "configure mode not left";
        resetTrips();
        EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 0u);
        for (uint16_t id : serviceView()) EXPECT_TRUE(id == 50 || id == 51) << id;
    }
}

}  // namespace

namespace {

// A configuration finding still present (the second sensor, used, with its
// failed level below what it can detect: record 44) latches at power-up and
// stays through a reset; the override releases it at the next reset, and
// with the override a reset latches nothing again: the list shows at most the reset and
// all-cleared events.
class StatusFinding : public ProgramRig {};

TEST_F(StatusFinding, AFindingStillPresentStaysThroughAResetAndTheOverrideReleasesIt) {
    startApp();
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, double>>{
             {"CNFG_SPEED.SPD2_MAXSPD.IN", 15000.0},
             {"MPU.BUFFER.IN", 1.0},
             {"CNFG_SPEED.SPD2_LOW_SP.IN", 299.0},
             {"CNFG_SPEED.CONFIG_B.IN_1", 1}})
        serviceWrite(name, value);
    runPasses(R160, 20);
    ASSERT_EQ(boolean("MPU.SP2_MINERR.AND"), 1u);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.SEL_44"), 1u);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 1u);
    resetTrips();
    runPasses(R160, 3);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.SEL_44"), 1u) << "still present: stays through a reset";
    // The override releases it at the list's next sample (the reset).
    serviceWrite("CONF_LATCH.ANY.OVRD", 1);
    runPasses(R160, 3);
    resetTrips();
    runPasses(R160, 3);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.SEL_44"), 0u);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 0u);
    resetTrips();
    runPasses(R160, 3);
    EXPECT_EQ(boolean("CONF_LATCH.ANY.LATCH_AE"), 0u);
    EXPECT_TRUE(serviceView().size() <= 2u);  // at most the reset and all-cleared events
    for (uint16_t id : serviceView()) EXPECT_TRUE(id == 50 || id == 51) << id;
}

}  // namespace
