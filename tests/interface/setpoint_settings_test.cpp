// The setpoint settings and the remote-cascade commands on the whole
// program, driven through its inputs: the governor, overspeed and critical
// band settings follow their configuration lists, which take the tunables
// over only while the I/O is locked (configure mode) or at power-up; the
// slow rates follow their tunables every pass; the remote-cascade contact
// (the spare contact given that function), the enable sources (a Modbus
// master's coil, the service command, the OPC link) and the cascade
// disable; the delayed Modbus restart after the run pulse; the debounced
// remote-setpoint match of a unit in control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/config/CNFG_SETPT.cells.h"
#include "app/interface/RMT_CAS_EN.cells.h"
#include "app/interface/SIO1.cells.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "tests/interface/program_cases_rig.h"

namespace {

using namespace pc_test;

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

// Each listed cell and its setting and copy (where it has them) hold `v` of
// the case.
template <class Rig>
void expectAll(Rig& rig, double Setting::*v, const std::string& when) {
    for (const Setting& s : kListed) {
        EXPECT_EQ(rig.value(s.list), s.*v) << s.list << " " << when;
        if (s.setting) {
            EXPECT_EQ(rig.value(s.setting), s.*v) << s.setting << " " << when;
        }
        if (s.copy) {
            EXPECT_EQ(rig.value(s.copy), s.*v) << s.copy << " " << when;
        }
    }
}

class SetpointSettings : public ProgramCases {
public:
    double value(const std::string& name) {
        char type = 0;
        cell(name, &type);
        return type == 'B' ? boolean(name) : real(name);
    }
};

// Power-up opens the window: the lists hold the tunables' presets. Entered
// afterwards they are held back, until configure mode opens the window,
// where they are taken over in the pass that first sees it open.
TEST_F(SetpointSettings, ListsTakeTheTunablesOnlyWhileTheWindowIsOpen) {
    startApp();
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 1u) << "power-up opens the window";
    expectAll(*this, &Setting::preset, "at power-up");
    runPasses(R160, 20);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    for (const Setting& s : kListed) tune(s.tunable, s.entered);
    runPasses(R160, 2);
    expectAll(*this, &Setting::preset, "entered with the window shut");
    enterConfigureMode();
    expectAll(*this, &Setting::entered, "in the pass the window opens");
}

TEST_F(SetpointSettings, SlowRatesFollowTheirTunablesWhateverTheWindow) {
    startApp();
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_ONLINE.A_NAME"), 5.0f);
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_OFFLINE.A_NAME"), 5.0f);
    runPasses(R160, 20);
    ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u);
    tune("CNFG_SETPT.SLOW_RATE_ONLINE.IN", 7.5);
    tune("CNFG_SETPT.SLOW_RATE_OFFLINE.IN", 2.5);
    runPasses(R160, 1);
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_ONLINE.A_NAME"), 7.5f);
    EXPECT_EQ(real("CNFG_SETPT.SLOW_RATE_OFFLINE.A_NAME"), 2.5f);
}

// The remote-cascade contact is the spare contact BI07 given the remote
// cascade enable function (14).
class RemoteCascadeCommands : public ProgramCases {
protected:
    static constexpr int kRemoteCascadeContact = ref_test::kSpareContact;
    // A ready unit with the remote speed setpoint and cascade configured;
    // `remote`: the remote cascade setpoint configured as well, on the third
    // analog input; `enableContact`: BI06 carries the cascade enable
    // function (13).
    void startWith(bool remote, bool enableContact) {
        board::setAnalogInputMa(2, 12.0);
        Settings settings = {{"_ub19.FUNCT.IN", 14}};
        if (remote)
            settings.insert(settings.end(), {{"CNFG_CASC.CONFIG_B.IN_4", 1},
                                             {"_ub8.FUNCT.IN", 4},
                                             {"_ub8.RANGE_LO.IN", 0.0},
                                             {"_ub8.RANGE_HI.IN", 100.0}});
        if (enableContact) settings.push_back({"_ub18.FUNCT.IN", 13});
        startWithRemoteAndCascade(settings);
        ASSERT_EQ(boolean("RMT_CAS_EN.RCASC_CF.B_NAME"), remote ? 1u : 0u);
        ASSERT_EQ(boolean("CASC_ENBL.NO_BI_CF.NOT"), enableContact ? 0u : 1u);
    }
    void pass() { runPasses(R160, 1); }
    // The remote-cascade contact closed or opened: 160 ms passes until the
    // commands see it.
    void remoteContact(bool closed) {
        contact(kRemoteCascadeContact, closed);
        ASSERT_GE(passesUntil(R160, [&] { return boolean("RMT_CAS_EN.CONTACT.B_NAME") == (closed ? 1u : 0u); }, 3),
                  0);
    }
};

TEST_F(RemoteCascadeCommands, ConfigurationAndContactPulses) {
    startWith(true, false);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_CF.B_NAME"), 1u);
    // Closing the enable contact: one pass of BI_ON.
    remoteContact(true);
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_ON.B_ACTION"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.CI_NOT.NOT"), 0u);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_ON.B_ACTION"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 0u);
    // Opening it while remote cascade is configured: one pass of BI_OFF,
    // which disables cascade only without a cascade enable contact.
    remoteContact(false);
    EXPECT_EQ(boolean("RMT_CAS_EN.CI_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
    EXPECT_EQ(integer("RMT_CAS_EN.BI_OFF.ACT_OUT"), 5);
    EXPECT_EQ(boolean("RMT_CAS_EN.CAS_DIS.AND"), 1u);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.CAS_DIS.AND"), 0u);
}

TEST_F(RemoteCascadeCommands, ReleaseDisablesNothingWithACascadeEnableContact) {
    startWith(true, true);
    remoteContact(true);
    pass();
    remoteContact(false);
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.CAS_DIS.AND"), 0u) << "a cascade enable contact is configured";
}

// Not configured, the release gives no pulse; a pulse given while
// configured is held while the configuration is taken away (in configure
// mode, where the list takes the setting in the next pass).
TEST_F(RemoteCascadeCommands, ReleasePulseKeepsItsValueWhileNotConfigured) {
    // Only the contact's function configured (a configuration error keeps
    // the unit tripped, which the commands do not look at).
    startApp();
    enterSettings(false, false, {{"_ub19.FUNCT.IN", 14}});
    runPasses(R160, 20);
    ASSERT_EQ(boolean("RMT_CAS_EN.RCASC_CF.B_NAME"), 0u);
    remoteContact(true);
    pass();
    remoteContact(false);
    EXPECT_EQ(boolean("RMT_CAS_EN.CI_NOT.NOT"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 0u);
    EXPECT_EQ(integer("RMT_CAS_EN.BI_OFF.ACT_OUT"), 0);
    // Configured in configure mode with the contact closed, then released.
    remoteContact(true);
    enterConfigureMode();
    tune("CNFG_CASC.CONFIG_B.IN_1", 1);
    tune("CNFG_CASC.CONFIG_B.IN_4", 1);
    ASSERT_GE(passesUntil(R160, [this] { return boolean("RMT_CAS_EN.RCASC_CF.B_NAME") == 1u; }, 5), 0);
    pass();
    remoteContact(false);
    ASSERT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
    tune("CNFG_CASC.CONFIG_B.IN_4", 0);
    pass();
    ASSERT_EQ(boolean("RMT_CAS_EN.RCASC_CF.B_NAME"), 0u);
    pass();
    EXPECT_EQ(boolean("RMT_CAS_EN.BI_OFF.B_ACTION"), 1u);
}

// Each source asks for the remote-cascade latch: a Modbus master's coil 14
// on a link with writes enabled, the service tool's enable command, the
// tunable input and the OPC link's command 14 (with its writes enabled).
TEST_F(RemoteCascadeCommands, EachSourceAsksForTheLatch) {
    startWith(true, false);
    modbusLinkWithWrites();
    tune("OPC_DATA.ENA_WRITES.IN", 1);
    pass();
    ASSERT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 0u);
    struct Source {
        const char* name;
        std::function<void(bool)> set;
    };
    const Source sources[] = {
        {"Modbus coil 14", [this](bool on) { EXPECT_EQ(mbpoll("-t 0 -r 14", on ? "1" : "0").first, 0); }},
        {"OR_ENABLE.IN_4", [this](bool on) { tune("RMT_CAS_EN.OR_ENABLE.IN_4", on ? 1 : 0); }},
        {"OPC command 14", [this](bool on) { tune("OPC_DATA.BW_LIST.IN_14", on ? 1 : 0); }},
    };
    // Each source's value reaches the commands within four passes (the
    // map's pass, the Modbus command latch at 80 ms, then the commands).
    auto orEnable = [this](uint32_t v) {
        return passesUntil(R160, [this, v] { return boolean("RMT_CAS_EN.OR_ENABLE.OR") == v; }, 4) >= 0;
    };
    for (const Source& s : sources) {
        s.set(true);
        EXPECT_TRUE(orEnable(1)) << s.name;
        pass();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 1u) << s.name << " held";
        s.set(false);
        EXPECT_TRUE(orEnable(0)) << s.name;
        pass();
        EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 0u) << s.name << " held";
    }
    // The service command is a pulse of its own length.
    tune("IFACE_IN_CASC.ENA_DIS.IN_3", 1);
    pass();
    EXPECT_EQ(boolean("IFACE_IN_CASC.RMT_CAS_ENBL.B_NAME"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 1u) << "service command";
    ASSERT_GE(passesUntil(R160, [this] { return boolean("IFACE_IN_CASC.RMT_CAS_ENBL.B_NAME") == 0u; }, 20), 0);
    EXPECT_EQ(boolean("RMT_CAS_EN.OR_ENABLE.OR"), 0u) << "service command";
}

// The remote speed setpoint's inhibit counts only where it is used: not
// configured it is inhibited (the setpoint is not there) but shows no
// inhibit; configured, its input's loss inhibits it.
TEST_F(RemoteCascadeCommands, RemoteSpeedInhibitNeedsTheRemoteSetpointUsed) {
    struct Case {
        bool used;
        double ma;  // the remote setpoint's input
        uint32_t inhibited, out;
    } cases[] = {{false, 12.0, 1, 0}, {true, 12.0, 0, 0}, {true, 0.0, 1, 1}};
    for (const Case& c : cases) {
        board::setAnalogInputMa(0, c.ma);
        Settings settings;
        if (c.used)
            settings = {{"CNFG_SETPT.CONFIG_B.IN_2", 1},
                        {"_ub6.FUNCT.IN", 2},
                        {"_ub6.RANGE_LO.IN", ref_test::kMinGov},
                        {"_ub6.RANGE_HI.IN", ref_test::kMaxGov}};
        startPastPowerUp(settings);
        runPasses(R160, 10);
        EXPECT_EQ(boolean("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME"), c.used ? 1u : 0u);
        EXPECT_EQ(boolean("RMT_ENBL.RMT_SP_INH.LATCH1"), c.inhibited) << c.used << " " << c.ma;
        EXPECT_EQ(boolean("RMT_ENBL.RMT_SPD_INH.AND"), c.out) << c.used << " " << c.ma;
        stopApp();
    }
}

// The Modbus restart is the run pulse delayed one 160 ms pass: through the
// power-up of a unit configured without error, every pass.
TEST_F(SetpointSettings, ModbusRestartFollowsTheRunPulseAfterOnePass) {
    startApp();
    enterSettings(false, false);
    std::vector<uint32_t> run = {boolean("PWR_UP_MSG.RUN_PRGM.ONE_SHOT")};
    std::vector<uint32_t> restart = {boolean("SIO1.DLY_RST_MD.DELAY")};
    for (int k = 0; k < 60; ++k) {
        runPasses(R160, 1);
        run.push_back(boolean("PWR_UP_MSG.RUN_PRGM.ONE_SHOT"));
        restart.push_back(boolean("SIO1.DLY_RST_MD.DELAY"));
    }
    int pulses = 0;
    EXPECT_EQ(restart[0], 0u);
    for (size_t k = 1; k < run.size(); ++k) {
        pulses += run[k] != 0 && run[k - 1] == 0;
        EXPECT_EQ(restart[k], run[k] != 0 && run[k - 1] != 0 ? 1u : 0u) << "pass " << k;
    }
    EXPECT_EQ(pulses, 1) << "the power-up's run pulse";
}

// The match of the reference with the remote setpoint, debounced 0.2 s on
// and 0.12 s off, on a unit in control with the remote setpoint enabled and
// moved on its analog input: every 40 ms pass.
TEST_F(SetpointSettings, RemoteMatchIsDebouncedBothWays) {
    startWithRemoteAndCascade({{"MESSAGE.SP_EQ_RMT.DLY_TIME", 0.2}, {"MESSAGE.SP_EQ_RMT.NEG_DTIME", 0.12}});
    startToInControl();
    tune("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    DelayTrace t{"SPDC.SPEED_REF.P_LIM_12", "MESSAGE.SP_EQ_RMT.DELAY", {}, {}};
    record(t, R40, 600);
    // The remote setpoint moved away and back, in steps.
    for (double ma : {13.0, 12.0, 12.5, 12.0, 14.0, 12.0, 11.0}) {
        board::setAnalogInputMa(0, ma);
        record(t, R40, 300);
    }
    // On 0.2 s of 0.04 s steps (the single-precision timer reaches 0.2 only
    // after its sixth step, so in the seventh pass), off after 0.12 s (the
    // fourth pass); a shorter level leaves the match as it was.
    EXPECT_GE(delayedLevels(t.ins, t.outs, 6, 3), 4);
}

// ---- states no input reaches ----------------------------------------------

class SettingsOnTheirSlices : public OnTheirSlices {
protected:
    void start(std::vector<SliceFn> r160) { startSlices({{R160, std::move(r160)}}); }
};

// A setting or a copy written other than by its list is put back at the next
// pass: no module of the program writes them but the list, so no input
// reaches this.
TEST_F(SettingsOnTheirSlices, ASettingWrittenDirectlyIsPutBackFromItsList) {
    start({r160::CNFG_SETPT_config_lists});
    setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 1);
    runPasses(R160, 1);
    setCell("MASTER.IO_LOCK_OR_PWR.B_NAME", 0);
    for (const Setting& s : kListed) {
        if (s.setting) setCell(s.setting, 1.0);
        if (s.copy) setCell(s.copy, 1.0);
    }
    runPasses(R160, 1);
    auto value = [this](const std::string& name) {
        char type = 0;
        cell(name, &type);
        return type == 'B' ? static_cast<double>(boolean(name)) : static_cast<double>(real(name));
    };
    for (const Setting& s : kListed) {
        if (s.setting) {
            EXPECT_EQ(value(s.setting), s.preset) << s.setting;
        }
        if (s.copy) {
            EXPECT_EQ(value(s.copy), s.preset) << s.copy;
        }
    }
}

// A run pulse of one pass is too short for the restart: the program's run
// pulse always lasts its 0.5 s, so no input gives a shorter one.
TEST_F(SettingsOnTheirSlices, ModbusRestartIgnoresARunPulseOfOnePass) {
    start({r160::SIO1_modbus_restart});
    runPasses(R160, 1);
    setCell("PWR_UP_MSG.RUN_PRGM.ONE_SHOT", 1);
    runPasses(R160, 1);
    setCell("PWR_UP_MSG.RUN_PRGM.ONE_SHOT", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("SIO1.DLY_RST_MD.DELAY"), 0u);
}

// Neither inhibited nor used: a remote setpoint not used is always
// inhibited in the program, so no input gives this row.
TEST_F(SettingsOnTheirSlices, RemoteSpeedInhibitOffWhenNeitherInhibitedNorUsed) {
    start({r160::RMT_CAS_EN_commands});
    setCell("RMT_ENBL.RMT_SP_INH.LATCH1", 0);
    setCell("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("RMT_ENBL.RMT_SPD_INH.AND"), 0u);
}

}  // namespace
