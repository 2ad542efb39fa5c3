// The interface inputs the speed loop reads, on the whole program driven
// only through its inputs: the routed function contacts (10 ms), the
// service settings and commands (160 ms), the Modbus link fault, the held
// speed's reset, the remote rate and automatic reset settings, the droop
// feedback limit and the remote selection's flags and match window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "tests/control_speed/program_rig.h"

namespace {

using namespace ref_test;

class InterfaceInputs : public sc_test::ProgramRig {
protected:
    double value(const std::string& name) {
        return name.ends_with(".A_NAME") ? real(name) : static_cast<double>(boolean(name));
    }
    // Started and past power-up, `settings` entered from the service tool
    // while it powers up (the window in which the configuration lists take
    // them), the trip contact closed. The turbine model stays off: the
    // speed-sensor wheels turn as the test sets them.
    void startWith(const Settings& settings = {}) {
        startApp();
        for (const auto& [name, v] : settings) serviceWrite(name, v);
        contact(kTripContact, true);
        runPasses(R160, 20);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
    }
    // Both wheels at `rpm` (60 teeth, gear 1), until the speed has settled.
    void spin(double rpm) {
        speedsensor::setShaftSpeed(0, rpm, 60);
        speedsensor::setShaftSpeed(1, rpm, 60);
        runPasses(R10, 150);
    }
};

// A contact given a function from the service tool (the spare contact BI07)
// drives that function's input and no other.
struct ContactCase {
    int slot;
    const char* cell;
};
const ContactCase kContactCases[] = {
    {5, "IFACE_IN_START.STARTCMD.B_NAME"},      {7, "IFACE_IN_START.IDLERATECMD.B_NAME"},
    {8, "IFACE_IN_SPEED.ENA_REM_SPDSP.B_NAME"}, {10, "IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME"},
    {22, "IFACE_IN_VLV.HP_LIM_OPEN.B_NAME"},    {23, "IFACE_IN_VLV.HP_LIM_CLOSE.B_NAME"},
    {27, "IFACE_IN_START.START_PERM_CMD.B_NAME"},
};

class RoutedContact : public InterfaceInputs, public ::testing::WithParamInterface<ContactCase> {};

TEST_P(RoutedContact, FollowsTheFunctionSlotItIsRoutedTo) {
    const ContactCase& c = GetParam();
    startWith({{"_ub19.FUNCT.IN", c.slot}});
    const std::string slot = "BI_MUX.CONT_MUX.OUT_" + std::to_string(c.slot);
    for (int closed : {1, 0, 1, 0}) {
        contact(kSpareContact, closed != 0);
        runPasses(R10, 2);
        EXPECT_EQ(boolean(slot), static_cast<uint32_t>(closed));
        EXPECT_EQ(boolean(c.cell), static_cast<uint32_t>(closed)) << c.cell;
        // No other contact moves with it.
        for (const ContactCase& o : kContactCases) {
            if (o.slot == c.slot) continue;
            EXPECT_EQ(boolean(o.cell), 0u) << c.cell << " moved " << o.cell;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Slots, RoutedContact, ::testing::ValuesIn(kContactCases),
                         [](const ::testing::TestParamInfo<ContactCase>& i) {
                             return "Slot" + std::to_string(i.param.slot);
                         });

// The start interface's no-shutdown flag, which the all-probes-failed trip
// reads, follows the shutdown latch in the same pass: through a trip from
// the trip contact and its reset, every 10 ms pass.
TEST_F(InterfaceInputs, NoShutdownFlagFollowsTheShutdownLatch) {
    startWith({{"CONF_LATCH.ANY.OVRD", 1}});
    clearTrip();
    int seen[2] = {0, 0};
    auto everyPass = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(R10, 1);
            const uint32_t latched = boolean("SHUTDOWNS.ANY.LATCH_AE");
            ++seen[latched];
            EXPECT_EQ(boolean("SHUTDOWNS.NOT_SD.NOT"), 1u - latched) << k;
            EXPECT_EQ(boolean("IFACE_IN_START.NOT_SD.B_NAME"), 1u - latched) << k;
        }
    };
    everyPass(20);
    trip();
    everyPass(100);
    contact(kTripContact, true);
    everyPass(100);
    contact(kResetContact, true);
    everyPass(50);
    contact(kResetContact, false);
    everyPass(100);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY.LATCH_AE"), 0u) << "the reset took";
    EXPECT_GT(seen[0], 100);
    EXPECT_GT(seen[1], 100);
}

TEST_F(InterfaceInputs, ServiceSettingsReachTheSpeedInterface) {
    struct Case {
        const char* tunable;
        const char* cell;
        double value;
    };
    const Case cases[] = {
        {"IFACE_IN_SPEED.DROOP_PCT.IN", "IFACE_IN_SPEED.DROOP_PCT.A_NAME", 4.5},
        {"IFACE_IN_SPEED.DISABLE_HOT_START.IN", "IFACE_IN_SPEED.DISABLE_HOT_START.B_NAME", 1},
        {"IFACE_IN_SPEED.DISABLE_OST.IN", "IFACE_IN_SPEED.DISABLE_OST.B_NAME", 1},
        {"IFACE_IN_SPEED.ENABLE_EXT_OST.IN", "IFACE_IN_SPEED.ENABLE_EXT_OST.B_NAME", 1},
        {"IFACE_IN_SPEED.USE_DI_MOMENT.IN", "IFACE_IN_SPEED.USE_DI_MOMENT.B_NAME", 1},
    };
    startWith();
    for (const Case& c : cases) EXPECT_EQ(value(c.cell), 0.0) << c.cell << " default";
    for (const Case& c : cases) serviceWrite(c.tunable, c.value);
    runPasses(R160, 1);
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(value(c.cell), c.value) << c.cell;
}

TEST_F(InterfaceInputs, ServiceRaiseAndLowerAreTheSpeedAndLimiterCommands) {
    struct Case {
        const char* module;
        const char* raise;
        const char* lower;
    };
    startWith();
    for (const Case& c : {Case{"IFACE_IN_SPEED", "H_SER_RSE", "H_SER_LWR"}, Case{"IFACE_IN_VLV", "VLIM_RSE", "VLIM_LWR"}}) {
        const std::string m = c.module;
        serviceWrite(m + ".RSE_LWR.IN_1", 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean(m + "." + c.raise + ".B_NAME"), 1u) << m;
        EXPECT_EQ(boolean(m + "." + c.lower + ".B_NAME"), 0u) << m;
        serviceWrite(m + ".RSE_LWR.IN_1", 0);
        serviceWrite(m + ".RSE_LWR.IN_2", 1);
        runPasses(R160, 1);
        EXPECT_EQ(boolean(m + "." + c.raise + ".B_NAME"), 0u) << m;
        EXPECT_EQ(boolean(m + "." + c.lower + ".B_NAME"), 1u) << m;
        serviceWrite(m + ".RSE_LWR.IN_2", 0);
        runPasses(R160, 1);
        EXPECT_EQ(boolean(m + "." + c.lower + ".B_NAME"), 0u) << m;
    }
}

// No Modbus link that accepts writes is a link fault, which resets the
// Modbus speed entry: link 1 used with its writes enabled clears it, its
// writes disabled again raises it (all from the service tool).
TEST_F(InterfaceInputs, ModbusLinkFaultResetsTheModbusEntry) {
    startWith({{"C_COMM.C1.IN", 1}, {"C_COMM.C2.IN", 1}});
    for (int fault : {1, 0, 1}) {
        serviceWrite("CNFG_COMMS.PORT1_WRT_ENBL.IN", 1 - fault);
        runPasses(R160, 2);
        EXPECT_EQ(boolean("ALARMS.ANY_MOD1_ALM.AND"), static_cast<uint32_t>(fault));
        EXPECT_EQ(boolean("IFACE_IN_SPEED.MOD_LINK_ALARM.B_NAME"), static_cast<uint32_t>(fault));
        // The entry's reset: the link fault or one of its other sources.
        const uint32_t others = boolean("ENTR_SETPT.H_SER_LAT.LATCH_R") | boolean("ENTR_SETPT.H_SER_DIS.OR") |
                                boolean("MOD_SPD_SP.RST_M1.IN_3");
        EXPECT_EQ(boolean("MOD_SPD_SP.RST_M1.OR"), static_cast<uint32_t>(fault) | others);
    }
}

// The held speed reads 0 while its reset is on: the power-up reset's 2 s
// pulse (the only source of the reset), then the held speed of the wheels.
TEST_F(InterfaceInputs, HeldSpeedReadsZeroWhileItsResetIsOn) {
    startApp();
    speedsensor::setShaftSpeed(0, 3456.0, 60);
    int during = 0, after = 0, offSince = -1;
    for (int k = 0; k < 80; ++k) {
        runPasses(R40, 1);
        const float held = real("OSPD.SPEED_HOLD.HSS_BUS");
        if (boolean("RESET.PWR_UP_RST.ONE_SHOT") != 0 && held > 3000.0f) {
            ++during;
            EXPECT_FLOAT_EQ(real("OSPD.HOLD_RST.A_SW"), 0.0f) << k;
        }
        if (boolean("OSPD.RST_HOLD.OR") != 0) offSince = -1;
        else if (offSince < 0) offSince = k;
        // The 160 ms reset reaches the 40 ms group at the next 160 ms release.
        if (offSince >= 0 && k >= offSince + 4) {
            ++after;
            EXPECT_FLOAT_EQ(real("OSPD.HOLD_RST.A_SW"), held) << k;
        }
    }
    EXPECT_GT(during, 5);
    EXPECT_GT(after, 5);
    EXPECT_NEAR(real("OSPD.HOLD_RST.A_SW"), 3456.0f, 0.5f);
}

TEST_F(InterfaceInputs, RemoteRateAndAutomaticResetFollowTheirSettings) {
    startWith();
    serviceWrite("CNFG_SETPT.RMT_SPD_SP_MAX_RT.IN", 75.0);
    serviceWrite("RESET.AT_RST.IN", 1);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("REMOTE.RMT_RATE.A_NAME"), 75.0f);
    EXPECT_EQ(boolean("RESET.AT_RST.B_NAME"), 1u);
    serviceWrite("RESET.AT_RST.IN", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("RESET.AT_RST.B_NAME"), 0u);
}

// The droop feedback of the shutdown slice: the delayed speed (off line the
// speed itself) held at least at the lower offset, and read as the upper
// offset once above it. The governor range 2880 .. 3720 rpm; the on-line
// deadband 20 rpm puts the offsets at 2900 and 3700, 520 rpm at 3400 and
// 3200 (crossed).
TEST_F(InterfaceInputs, DroopFeedbackIsTheDelayedSpeedBetweenTheOffsets) {
    struct Case {
        double rpm, deadband, lower, upper;
        const char* regime;  // "speed", "lower", "upper"
    };
    const Case cases[] = {
        {3000, 20, 2900, 3700, "speed"}, {2800, 20, 2900, 3700, "lower"}, {3800, 20, 2900, 3700, "upper"},
        {3000, 520, 3400, 3200, "lower"}, {3300, 520, 3400, 3200, "upper"},
    };
    startWith({{"CNFG_SETPT.QT_MIN_GOV.IN", 2880.0}, {"CNFG_SETPT.QT_MAX_GOV.IN", 3720.0}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rpm);
        // A deadband above its limit of 50 rpm, which the service tool
        // refuses, is written to the cell to show the crossed offsets.
        if (c.deadband <= 50.0) serviceWrite("IFACE_IN_SPEED.ONLINE_DB.IN", c.deadband);
        else pokeTunable("IFACE_IN_SPEED.ONLINE_DB.IN", c.deadband);
        spin(c.rpm);
        runPasses(R160, 2);  // the offsets reach the 10 ms group through its copies
        ASSERT_EQ(boolean("SPD_CTRL.ONLINE_DYN.B_NAME"), 0u);
        EXPECT_FLOAT_EQ(real("DROOP.ADD_OFSET.ADD"), static_cast<float>(c.lower));
        EXPECT_FLOAT_EQ(real("DROOP.SUB_RPM2.SUBTRACT"), static_cast<float>(c.upper));
        const float z = real("DROOP.Z_SPD.ZMINUS1");
        EXPECT_NEAR(z, c.rpm, 0.5);
        const std::string regime = c.regime;
        const float want = regime == "speed" ? z : static_cast<float>(regime == "lower" ? c.lower : c.upper);
        EXPECT_FLOAT_EQ(real("DROOP.LIM_FDBK.A_LIMITER"), want);
    }
}

// The on-line deadband's offsets from the governor limits (160 ms).
TEST_F(InterfaceInputs, DroopOffsetsFollowTheOnLineDeadband) {
    startWith({{"CNFG_SETPT.QT_MIN_GOV.IN", 3000.0}, {"CNFG_SETPT.QT_MAX_GOV.IN", 3780.0}});
    serviceWrite("IFACE_IN_SPEED.ONLINE_DB.IN", 20.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("CNFG_SETPT.MIN_GOV.A_NAME"), 3000.0f);
    EXPECT_FLOAT_EQ(real("IFACE_IN_SPEED.MAX_GOV.A_NAME"), 3780.0f);
    EXPECT_FLOAT_EQ(real("DROOP.RPM_DB.A_NAME"), 20.0f);
    EXPECT_FLOAT_EQ(real("DROOP.ADD_OFSET.ADD"), 3020.0f);
    EXPECT_FLOAT_EQ(real("DROOP.SUB_RPM2.SUBTRACT"), 3760.0f);
    EXPECT_FLOAT_EQ(real("DROOP.SPD_DB2.A_SW"), 20.0f);
    serviceWrite("DROOP.SPD_DB2.CTRL", 1);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("DROOP.SPD_DB2.A_SW"), 0.0f);
}

// The remote selection's disable, and the window around the remote
// setpoint in which the reference matches it (80 ms), on a unit in control
// with the remote setpoint on analog input 1 (3400 rpm at mid range): the
// remote enabled from the service tool, the reference ramping to the remote
// setpoint through the window, then the setpoint stepped down, which the
// reference follows. Every 80 ms pass: the disable is the selection's absence or
// the remote in control in the pass before; the window is 0.5 % either side.
// Last the remote is disabled and the reference raised past the window.
// The entry enable, which needs the unit running: running_unit_test.cpp.
TEST_F(InterfaceInputs, RemoteSelectionFlagsAndMatchWindow) {
    startWithRemoteAndCascade();
    startToInControl();
    int selections[3] = {0, 0, 0};  // not selected, selected, selected and in control before
    int regions[3] = {0, 0, 0};     // below the window, in it, above it
    constexpr float kNear = 4.0f;   // the reference's largest step in 80 ms
    float window = 0.005f;
    // The delay's output as the pass read it: stored at the end of the
    // pass before.
    uint32_t zsel = boolean("REMOTE.ZSEL.ZMINUS1_B");
    auto everyPass = [&](int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(R80, 1);
            const uint32_t sel = boolean("REMOTE.REM_SEL_SW.B_SW");
            EXPECT_EQ(boolean("REMOTE.NOT_RMT.NOT"), 1u - sel);
            EXPECT_EQ(boolean("REMOTE.DISABLE.OR"), (zsel != 0 || sel == 0) ? 1u : 0u);
            ++selections[sel == 0 ? 0 : (zsel != 0 ? 2 : 1)];
            zsel = boolean("REMOTE.ZSEL.ZMINUS1_B");
            EXPECT_EQ(zsel, boolean("REMOTE.IN_CNTRL.AND")) << "stored at the end of the pass";

            const float sp = real("SPDC.RMT_SPD_KW_SW.A_SW");
            const float ref = real("SPDC.SPEED_REF.RAMP");
            const float hi = real("REMOTE.HI_MATCH.ADD"), lo = real("REMOTE.LO_MATCH.SUBTRACT");
            EXPECT_FLOAT_EQ(real("REMOTE.MATCH_WINDOW.MULTIPLY"), sp * window);
            EXPECT_FLOAT_EQ(hi, sp + sp * window);
            EXPECT_FLOAT_EQ(lo, sp - sp * window);
            // The 80 ms pass compared the reference of the 40 ms pass before
            // the one read here: near an edge a moving reference may lie on
            // either side.
            if (std::fabs(hi - ref) > kNear) {
                EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_COMPARE"), hi >= ref ? 1u : 0u) << ref;
                EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_EQUAL"), 0u) << ref;
            }
            if (std::fabs(ref - lo) > kNear) {
                EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_COMPARE"), ref >= lo ? 1u : 0u) << ref;
                EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_EQUAL"), 0u) << ref;
            }
            ++regions[ref < lo ? 0 : (ref > hi ? 2 : 1)];
        }
    };
    everyPass(10);
    EXPECT_FLOAT_EQ(real("SPDC.RMT_SPD_KW_SW.A_SW"), real("RMT_SETPT.RMT_DEAD.A_DEADBAND"));
    EXPECT_NEAR(real("RMT_SETPT.RMT_DEAD.A_DEADBAND"), 3400.0f, 1.0f);
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    everyPass(400);
    // The reference at the remote setpoint: with a window of 0 both ends
    // of the window are the setpoint, and the reference equals both.
    ASSERT_EQ(real("SPDC.SPEED_REF.RAMP"), real("SPDC.RMT_SPD_KW_SW.A_SW"));
    window = 0.0f;
    serviceWrite("REMOTE.MATCH_WINDOW.IN_2", 0.0);
    everyPass(2);
    for (const char* flag : {"MATCH_HI.A_COMPARE", "MATCH_HI.A_EQUAL", "MATCH_LO.A_COMPARE", "MATCH_LO.A_EQUAL"})
        EXPECT_EQ(boolean(std::string("REMOTE.") + flag), 1u) << flag;
    window = 0.005f;
    serviceWrite("REMOTE.MATCH_WINDOW.IN_2", 0.005);
    everyPass(2);
    board::setAnalogInputMa(0, 11.0);  // 3350 rpm, which the reference follows
    everyPass(100);
    // The remote disabled and the reference raised from the service tool
    // past the window.
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_2", 1);
    everyPass(20);
    serviceWrite("IFACE_IN_SPEED.RSE_LWR.IN_1", 1);
    everyPass(200);
    serviceWrite("IFACE_IN_SPEED.RSE_LWR.IN_1", 0);
    EXPECT_GT(selections[0], 5);
    EXPECT_GT(selections[1], 5);
    EXPECT_GT(selections[2], 5);
    EXPECT_GT(regions[0], 5);
    EXPECT_GT(regions[1], 5);
    EXPECT_GT(regions[2], 0);
}

}  // namespace
