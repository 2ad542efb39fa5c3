// The interface inputs the speed loop reads, through real passes of their
// slices: the routed function contacts (10 ms), the service settings and
// commands (160 ms), the Modbus link fault, the held speed's reset, the
// remote rate and automatic reset settings and the droop feedback limit.
#include <gtest/gtest.h>

#include <string>

#include "app/control/control_slices.h"
#include "app/discrete/discrete_slices.h"
#include "app/interface/interface_slices.h"
#include "app/protection/protection_slices.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R10 = 0, R40 = 2, R80 = 3, R160 = 4;

class InterfaceInputs : public tc_test::AppHarness {
protected:
    double value(const std::string& name) {
        return name.ends_with(".A_NAME") ? real(name) : static_cast<double>(boolean(name));
    }
    void SetUp() override {
        AppHarness::SetUp();
        useSlices(R10, {_R10_TASK_4, _R10_TASK_6});
        useSlices(R40, {_R40_TASK_8});
        useSlices(R80, {_R80_TASK_22});
        useSlices(R160, {_R160_TASK_35, _R160_TASK_45, _R160_TASK_48});
        startApp();
        tc_test::loadTunableDefaults();
    }
};

TEST_F(InterfaceInputs, EachContactFollowsTheFunctionSlotItIsRoutedTo) {
    struct Case {
        int slot;
        const char* cell;
    };
    const Case cases[] = {
        {5, "IFACE_IN_START.STARTCMD.B_NAME"},        {7, "IFACE_IN_START.IDLERATECMD.B_NAME"},
        {8, "IFACE_IN_SPEED.ENA_REM_SPDSP.B_NAME"},   {10, "IFACE_IN_SPEED.OSPD_TEST_SW.B_NAME"},
        {22, "IFACE_IN_VLV.HP_LIM_OPEN.B_NAME"},      {23, "IFACE_IN_VLV.HP_LIM_CLOSE.B_NAME"},
        {27, "IFACE_IN_START.START_PERM_CMD.B_NAME"},
    };
    for (const Case& c : cases) {
        const std::string slot = "BI_MUX.CONT_MUX.OUT_" + std::to_string(c.slot);
        for (int value : {1, 0}) {
            setCell(slot, value);
            runPasses(R10, 1);
            EXPECT_EQ(boolean(c.cell), static_cast<uint32_t>(value)) << c.cell;
            // No other contact moves with it.
            for (const Case& o : cases) {
                if (o.cell == c.cell) continue;
                EXPECT_EQ(boolean(o.cell), 0u) << c.cell << " moved " << o.cell;
            }
        }
    }
}

// The start interface's no-shutdown flag, which the all-probes-failed trip
// reads, follows the shutdown latch in the same pass.
TEST_F(InterfaceInputs, NoShutdownFlagFollowsTheShutdownLatch) {
    for (int latched : {0, 1, 0}) {
        setCell("SHUTDOWNS.ANY.LATCH_AE", latched);
        runPasses(R10, 1);
        EXPECT_EQ(boolean("SHUTDOWNS.NOT_SD.NOT"), static_cast<uint32_t>(!latched));
        EXPECT_EQ(boolean("IFACE_IN_START.NOT_SD.B_NAME"), static_cast<uint32_t>(!latched)) << latched;
    }
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
    runPasses(R160, 1);
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

TEST_F(InterfaceInputs, ModbusLinkFaultResetsTheModbusEntry) {
    for (int fault : {1, 0}) {
        setCell("ALARMS.ANY_MOD1_ALM.AND", fault);
        runPasses(R160, 1);
        EXPECT_EQ(boolean("IFACE_IN_SPEED.MOD_LINK_ALARM.B_NAME"), static_cast<uint32_t>(fault));
        EXPECT_EQ(boolean("MOD_SPD_SP.RST_M1.OR"), static_cast<uint32_t>(fault));
    }
}

TEST_F(InterfaceInputs, HeldSpeedReadsZeroWhileItsResetIsOn) {
    setCell("OSPD.SPEED_HOLD.HSS_BUS", 3456.0);
    for (int reset : {0, 1, 0}) {
        setCell("OSPD.RST_HOLD.OR", reset);
        runPasses(R160, 1);  // the 40 ms group reads the reset through its copy
        runPasses(R40, 1);
        EXPECT_FLOAT_EQ(real("OSPD.HOLD_RST.A_SW"), reset ? 0.0f : 3456.0f) << reset;
    }
}

TEST_F(InterfaceInputs, RemoteRateAndAutomaticResetFollowTheirSettings) {
    setCell("CNFG_SETPT.RMT_SPD_SP_MAX_RT.A_NAME", 75.0);
    serviceWrite("RESET.AT_RST.IN", 1);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("REMOTE.RMT_RATE.A_NAME"), 75.0f);
    EXPECT_EQ(boolean("RESET.AT_RST.B_NAME"), 1u);
    serviceWrite("RESET.AT_RST.IN", 0);
    runPasses(R160, 1);
    EXPECT_EQ(boolean("RESET.AT_RST.B_NAME"), 0u);
}

// The droop feedback of the shutdown slice: the delayed speed held at least
// at the lower offset, and read as the upper offset once above it.
TEST_F(InterfaceInputs, DroopFeedbackIsTheDelayedSpeedBetweenTheOffsets) {
    struct Case {
        double z, lower, upper, out;
    };
    const Case cases[] = {
        {3000, 2900, 3700, 3000}, {2800, 2900, 3700, 2900}, {3800, 2900, 3700, 3700},
        {3700, 2900, 3700, 3700}, {2900, 2900, 3700, 2900}, {3000, 3500, 3200, 3500},
        {3300, 3500, 3200, 3200},
    };
    for (const Case& c : cases) {
        setCell("DROOP.Z_SPD.ZMINUS1", c.z);
        setCell("DROOP.ADD_OFSET.ADD", c.lower);
        setCell("DROOP.SUB_RPM2.SUBTRACT", c.upper);
        runPasses(R160, 1);  // the offsets reach the 10 ms group through its copies
        EXPECT_FLOAT_EQ(real("DROOP.LIM_FDBK.A_LIMITER"), static_cast<float>(c.out)) << c.z << " " << c.lower;
    }
}

// The on-line deadband's offsets from the governor limits (160 ms).
TEST_F(InterfaceInputs, DroopOffsetsFollowTheOnLineDeadband) {
    serviceWrite("IFACE_IN_SPEED.ONLINE_DB.IN", 20.0);
    setCell("CNFG_SETPT.MIN_GOV.A_NAME", 3000.0);
    setCell("IFACE_IN_SPEED.MAX_GOV.A_NAME", 3780.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("DROOP.RPM_DB.A_NAME"), 20.0f);
    EXPECT_FLOAT_EQ(real("DROOP.ADD_OFSET.ADD"), 3020.0f);
    EXPECT_FLOAT_EQ(real("DROOP.SUB_RPM2.SUBTRACT"), 3760.0f);
    EXPECT_FLOAT_EQ(real("DROOP.SPD_DB2.A_SW"), 20.0f);
    serviceWrite("DROOP.SPD_DB2.CTRL", 1);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("DROOP.SPD_DB2.A_SW"), 0.0f);
}

// The remote selection's disable, and the window around the remote
// setpoint in which the reference matches it (80 ms). The entry enable,
// which needs the unit running: running_unit_test.cpp.
TEST_F(InterfaceInputs, RemoteSelectionFlagsAndMatchWindow) {
    struct Sel {
        int sel, zsel;
        int notRmt, disable;
    };
    const Sel sels[] = {{1, 0, 0, 0}, {0, 0, 1, 1}, {1, 1, 0, 1}};
    for (const Sel& s : sels) {
        setCell("REMOTE.REM_SEL_SW.B_SW", s.sel);
        setCell("REMOTE.ZSEL.ZMINUS1_B", s.zsel);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("REMOTE.NOT_RMT.NOT"), static_cast<uint32_t>(s.notRmt)) << s.sel << s.zsel;
        EXPECT_EQ(boolean("REMOTE.DISABLE.OR"), static_cast<uint32_t>(s.disable)) << s.sel << s.zsel;
    }
    // A setpoint of 3000 and the default window of 0.5 %: 2985 .. 3015.
    setCell("SPDC.RMT_SPD_KW_SW.CTRL", 0);
    setCell("RMT_SETPT.RMT_DEAD.A_DEADBAND", 3000.0);
    struct Match {
        double ref;
        int hi, hiEq, lo, loEq;
    };
    const Match matches[] = {
        {3000, 1, 0, 1, 0}, {3015, 1, 1, 1, 0}, {3016, 0, 0, 1, 0}, {2985, 1, 0, 1, 1}, {2984, 1, 0, 0, 0},
    };
    for (const Match& m : matches) {
        setCell("SPDC.SPEED_REF.RAMP", m.ref);
        runPasses(R80, 1);
        EXPECT_FLOAT_EQ(real("REMOTE.HI_MATCH.ADD"), 3015.0f);
        EXPECT_FLOAT_EQ(real("REMOTE.LO_MATCH.SUBTRACT"), 2985.0f);
        EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_COMPARE"), static_cast<uint32_t>(m.hi)) << m.ref;
        EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_EQUAL"), static_cast<uint32_t>(m.hiEq)) << m.ref;
        EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_COMPARE"), static_cast<uint32_t>(m.lo)) << m.ref;
        EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_EQUAL"), static_cast<uint32_t>(m.loEq)) << m.ref;
    }
}

}  // namespace
