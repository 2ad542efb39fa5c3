// The setpoint settings and the remote-cascade commands through real passes:
// the governor, overspeed and critical band settings follow their
// configuration lists, which take the tunables over only while the I/O is
// locked or at power-up; the slow rates follow their tunables every pass;
// the remote-cascade contacts, enable sources and the cascade disable; the
// delayed Modbus restart; the debounced remote-setpoint match.
#include <gtest/gtest.h>

#include <string>

#include "app/config/CNFG_SETPT.cells.h"
#include "app/interface/MESSAGE.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/interface/SIO1.cells.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R40 = 2, R160 = 4;

bool g_defaulted = false;
void defaultsOnce() {
    if (!g_defaulted) tc_test::loadTunableDefaults();
    g_defaulted = true;
}

struct Setting {
    const char* tunable;
    const char* list;
    const char* setting;  // nullptr: the list has no setting cell
    double preset;        // the tunable's default
    double entered;       // a value entered later
    const char* copy;     // the copy another module reads (nullptr: none)
};
const Setting kListed[] = {
    {"CNFG_SETPT.QT_OST_LIMIT.IN", "CNFG_SETPT.CONFIG_A.LIST_1", "CNFG_SETPT.OST_LIMIT.A_NAME", 4000, 4100, nullptr},
    {"CNFG_SETPT.QT_OSPD_TRIP.IN", "CNFG_SETPT.CONFIG_A.LIST_2", "CNFG_SETPT.OSPD_TRIP.A_NAME", 3960, 3990, nullptr},
    {"CNFG_SETPT.QT_MAX_GOV.IN", "CNFG_SETPT.CONFIG_A.LIST_3", "CNFG_SETPT.MAX_GOV.A_NAME", 3780, 3700,
     "IFACE_IN_SPEED.MAX_GOV.A_NAME"},
    {"CNFG_SETPT.CONFIG_A.IN_4", "CNFG_SETPT.CONFIG_A.LIST_4", nullptr, 0, 12, nullptr},
    {"CNFG_SETPT.QT_MIN_GOV.IN", "CNFG_SETPT.CONFIG_A.LIST_5", "CNFG_SETPT.MIN_GOV.A_NAME", 3420, 3300,
     "IFACE_IN_SPEED.MIN_GOV.A_NAME"},
    {"CNFG_SETPT.QT_CRIT_SPD_RATE.IN", "CNFG_SETPT.CONFIG_A.LIST_6", "CNFG_SETPT.CRIT_SPD_RATE.A_NAME", 50, 75, nullptr},
    {"CNFG_SETPT.QT_CRIT_SPD_1_MAX.IN", "CNFG_SETPT.CONFIG_A.LIST_7", "CNFG_SETPT.CRIT_SPD_1_MAX.A_NAME", 2400, 2600,
     "IFACE_IN_START.SET_HIGH1.A_NAME"},
    {"CNFG_SETPT.QT_CRIT_SPD_1_MIN.IN", "CNFG_SETPT.CONFIG_A.LIST_8", "CNFG_SETPT.CRIT_SPD_1_MIN.A_NAME", 2000, 2100,
     "IFACE_IN_START.SET_LOW1.A_NAME"},
    {"CNFG_SETPT.CONFIG_B.IN_1", "CNFG_SETPT.CONFIG_B.LIST_1", "CNFG_SETPT.USE_CRIT_SPD.B_NAME", 0, 1, "CONF_VAL_1.CRIT_BAND1.B_NAME"},
    {"CNFG_SETPT.CONFIG_B.IN_2", "CNFG_SETPT.CONFIG_B.LIST_2", "CNFG_SETPT.USE_RMTSPD.B_NAME", 0, 1, nullptr},
    {"CNFG_SETPT.CONFIG_B.IN_3", "CNFG_SETPT.CONFIG_B.LIST_3", nullptr, 0, 1, nullptr},
};

class SetpointSettings : public tc_test::AppHarness {
protected:
    void start(std::vector<SliceFn> r160, std::vector<SliceFn> r40 = {}) {
        g_defaulted = false;
        useSlices(R10, {defaultsOnce});
        useSlices(R40, std::move(r40));
        useSlices(R160, std::move(r160));
        startApp();
    }
    double value(const std::string& name) {
        char type = 0;
        cell(name, &type);
        return type == 'B' ? boolean(name) : real(name);
    }
    // Each listed cell and its setting (where it has one) hold `v` of the case.
    void expectAll(double Setting::*v) {
        for (const Setting& s : kListed) {
            EXPECT_EQ(value(s.list), s.*v) << s.list;
            if (s.setting) {
                EXPECT_EQ(value(s.setting), s.*v) << s.setting;
            }
            if (s.copy) {
                EXPECT_EQ(value(s.copy), s.*v) << s.copy;
            }
        }
    }
};

TEST_F(SetpointSettings, ListsTakeTheTunablesOnlyWhileTheWindowIsOpen) {
    start({r160::CNFG_SETPT_config_lists});
    setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
    runPasses(R160, 1);
    expectAll(&Setting::preset);
    // Entered with the window shut: held back, the settings keep the lists.
    setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 0);
    for (const Setting& s : kListed) setCell(s.tunable, s.entered);
    runPasses(R160, 2);
    expectAll(&Setting::preset);
    // A setting or a copy written directly is put back from its list at the
    // next pass.
    for (const Setting& s : kListed) {
        if (s.setting) setCell(s.setting, 1.0);
        if (s.copy) setCell(s.copy, 1.0);
    }
    runPasses(R160, 1);
    expectAll(&Setting::preset);
    // The window opens: taken over in one pass.
    setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
    runPasses(R160, 1);
    expectAll(&Setting::entered);
}

TEST_F(SetpointSettings, SlowRatesFollowTheirTunablesWhateverTheWindow) {
    start({r160::CNFG_SETPT_config_lists});
    runPasses(R160, 1);
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_ONLINE.A_NAME"), 5.0f);
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_OFFLINE.A_NAME"), 5.0f);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    setCell("CNFG_SETPT.SLOW_RATE_ONLINE.IN", 7.5);
    setCell("CNFG_SETPT.SLOW_RATE_OFFLINE.IN", 2.5);
    runPasses(R160, 1);
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_ONLINE.A_NAME"), 7.5f);
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_OFFLINE.A_NAME"), 2.5f);
}

class RemoteCascadeCommands : public SetpointSettings {
protected:
    void SetUp() override {
        SetpointSettings::SetUp();
        start({r160::RMT_CAS_EN_commands});
    }
    void pass() { runPasses(R160, 1); }
};

TEST_F(RemoteCascadeCommands, ConfigurationAndContactPulses) {
    setCell("IFACE_IN_CASC.CAS_RMT.B_NAME", 1);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_CF.B_NAME"), 1u);
    // Closing the enable contact: one pass of BI_ON.
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 1);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.CONTACT.B_NAME"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_ON.B_ACTION"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.CI_NOT.NOT"), 0u);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_ON.B_ACTION"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 0u);
    // Opening it while remote cascade is configured: one pass of BI_OFF,
    // which disables cascade only without a cascade enable contact.
    setCell("CASC_ENBL.NO_BI_CF.NOT", 1);
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 0);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.CI_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
    EXPECT_EQ(integer("RMT_CAS_EN.BI_OFF.ACT_OUT"), 5);
    EXPECT_EQ(boolean("RMT_CAS_EN.CAS_DIS.AND"), 1u);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.CAS_DIS.AND"), 0u);
    setCell("CASC_ENBL.NO_BI_CF.NOT", 0);
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 1);
    pass();
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 0);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.CAS_DIS.AND"), 0u) << "a cascade enable contact is configured";
}

TEST_F(RemoteCascadeCommands, ReleasePulseKeepsItsValueWhileNotConfigured) {
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 1);
    pass();
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 0);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.CI_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 0u);
    EXPECT_EQ(integer("RMT_CAS_EN.BI_OFF.ACT_OUT"), 0);
    // Set while configured, then held while not.
    setCell("IFACE_IN_CASC.CAS_RMT.B_NAME", 1);
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 1);
    pass();
    setCell("BI_MUX.RMT_CASC_ENBL_CONT.B_NAME", 0);
    pass();
    ASSERT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
    setCell("IFACE_IN_CASC.CAS_RMT.B_NAME", 0);
    pass();
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
}

TEST_F(RemoteCascadeCommands, EachSourceAsksForTheLatch) {
    const char* sources[] = {"MOD_BW.BW_CMD.SEL_14", "IFACE_IN_CASC.RMT_CAS_ENBL.B_NAME", "RMT_CAS_EN.OR_ENABLE.IN_4",
                             "OPC_DATA.BW_CMDS.SEL_14"};
    for (const char* s : sources) {
        setCell(s, 1);
        pass();
        pass();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 1u) << s;
        setCell(s, 0);
        pass();
        pass();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 0u) << s;
    }
}

TEST_F(RemoteCascadeCommands, RemoteSpeedInhibitNeedsTheRemoteSetpointUsed) {
    struct Case {
        int inhibited, used, out;
    } cases[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}};
    for (const Case& c : cases) {
        setCell("RMT_ENBL.RMT_SP_INH.LATCH1", c.inhibited);
        setCell("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME", c.used);
        pass();
        pass();
        EXPECT_EQ(boolean("RMT_ENBL.RMT_SPD_INH.AND"), static_cast<uint32_t>(c.out)) << c.inhibited << c.used;
    }
}

TEST_F(SetpointSettings, ModbusRestartFollowsTheRunPulseAfterOnePass) {
    start({r160::SIO1_modbus_restart});
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SIO1.DLY_RST_MD.DELAY"), 0u);
    setCell("PWR_UP_MSG.RUN_PRGM.ONE_SHOT", 1);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SIO1.DLY_RST_MD.DELAY"), 0u);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SIO1.DLY_RST_MD.DELAY"), 1u);
    setCell("PWR_UP_MSG.RUN_PRGM.ONE_SHOT", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SIO1.DLY_RST_MD.DELAY"), 0u);
    // A pulse of one pass is too short.
    setCell("PWR_UP_MSG.RUN_PRGM.ONE_SHOT", 1);
    runPasses(R160, 1);
    setCell("PWR_UP_MSG.RUN_PRGM.ONE_SHOT", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SIO1.DLY_RST_MD.DELAY"), 0u);
}

TEST_F(SetpointSettings, RemoteMatchIsDebouncedBothWays) {
    start({}, {r40::MESSAGE_remote_equal});
    setCell("MESSAGE.SP_EQ_RMT.DLY_TIME", 0.2);
    setCell("MESSAGE.SP_EQ_RMT.NEG_DTIME", 0.12);
    runPasses(R40, 1);
    // Passes of 40 ms until the match shows `level` (at most 20).
    auto passesUntil = [&](uint32_t level) {
        int n = 0;
        for (; boolean("MESSAGE.SP_EQ_RMT.DELAY") != level && n < 20; ++n) runPasses(R40, 1);
        return n;
    };
    setCell("SPDC.SPEED_REF.P_LIM_12", 1);
    // 0.2 s of 0.04 s passes: the single-precision timer reaches 0.2 only
    // after its sixth step, so the match shows in the seventh pass.
    EXPECT_EQ(passesUntil(1), 7);
    setCell("SPDC.SPEED_REF.P_LIM_12", 0);
    EXPECT_EQ(passesUntil(0), 4);
}

}  // namespace
