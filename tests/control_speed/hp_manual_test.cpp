// The HP manual demand driven from the service interface, through real
// passes: bumpless enable, raise, lower and go-to at the manual rate, the
// entered value's limits, and every condition that disables it.
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/control_slices.h"
#include "tests/control_speed/speed_rig.h"

namespace sc_test {
namespace {

constexpr float kLimiter = 37.5f;  // % the valve limiter holds the demand at
constexpr float kMinGov = -100.0f;

class HpManual : public SpeedRig {
protected:
    void SetUp() override {
        SpeedRig::SetUp();
        useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, speedControlOfTask4, manualLatch, _R10_TASK_5,
                        _R10_TASK_6, _R10_TASK_8, _R10_TASK_10, _R10_TASK_11});
        useSlices(R80, {startComplete});
        useSlices(R160, {_R160_TASK_37, _R160_TASK_38, _R160_TASK_49, _R160_TASK_62});
    }
    // The manual enable latch of the protection slice that computes it.
    static void manualLatch() { r10::HP_MAN_ENBL_latch(); }
    // The start-complete permissive of the 80 ms slice that computes it.
    static void startComplete() { r80::HP_MAN_ENBL_start_complete(); }

    // Speed control out of the way (a reference far above the standing
    // turbine drives its demand to the top), the limiter selected, manual
    // demand configured inside a wide governor range (the turbine's speed of
    // 0 is above the minimum governor).
    void configure() {
        start();
        reference(kRatedRpm);
        setCell("IFACE_IN_VLV.V1LMTR_VAL.A_NAME", kLimiter);
        setCell("CNFG_SETPT.MIN_GOV.A_NAME", kMinGov);
        setCell("CNFG_SETPT.MAX_GOV.A_NAME", 1e6);
        setCell("IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 1);
        setCell("SPDC.A08_STEP.SFC_STEP", 1);  // the start has completed
        runPasses(R160, 3);
    }
    float demand() { return real("HP_MAN_RAMP.MAN_DMD.RAMP"); }
    bool enabled() { return boolean("IFACE_OUT_HP_MAN.ENABLED.B_NAME") != 0; }
    void enable() {
        setCell("IFACE_IN_HP_MAN.ENABLE.B_NAME", 0);
        runPasses(R160, 1);
        setCell("IFACE_IN_HP_MAN.ENABLE.B_NAME", 1);
        runPasses(R160, 3);
        ASSERT_TRUE(enabled());
        // The speed control knows another controller is in charge.
        EXPECT_EQ(boolean("SPD_CTRL.OTHER_EN_CTL.OR"), 1u);
    }
    // 160 ms passes until `cell` reads `value`, at most `max`.
    bool waitFor(const char* cell, uint32_t value, int max) {
        for (int k = 0; k < max; ++k) {
            if (boolean(cell) == value) return true;
            runPasses(R160, 1);
        }
        return boolean(cell) == value;
    }
};

TEST_F(HpManual, EnableIsBumplessAndServiceCommandsMoveAtTheManualRate) {
    configure();
    EXPECT_FLOAT_EQ(demand(), kLimiter);  // tracking while disabled
    enable();
    EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.ENTR_SETPT.SAMP_TUNE"), kLimiter);
    EXPECT_FLOAT_EQ(demand(), kLimiter);
    EXPECT_EQ(boolean("HP_MAN_ENBL.DISABLED.NOT"), 0u);
    // Raise at 0.25 %/s.
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.RAISE.B_ACTION", 1, 4));
    runPasses(R160, 2);
    float a = demand();
    runPasses(R10, 100);
    EXPECT_NEAR(demand() - a, 0.25, 1e-3);
    // Lower as well: lower wins.
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.LOWER.B_ACTION", 1, 4));
    EXPECT_EQ(boolean("HP_MAN_RAMP.RAISE.B_ACTION"), 0u);
    runPasses(R160, 2);
    a = demand();
    runPasses(R10, 100);
    EXPECT_NEAR(a - demand(), 0.25, 1e-3);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 0);
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_2", 0);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.LOWER.B_ACTION", 0, 4));
    runPasses(R160, 2);
    a = demand();
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(demand(), a);
    // Go to an entered value; the command ends when the demand is there.
    setCell("HP_MAN_RAMP.ENTR_SETPT.TUNE", 37.7);
    setCell("HP_MAN_RAMP.GOTO_OS.TRIGGER", 1);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 1, 4));
    setCell("HP_MAN_RAMP.GOTO_OS.TRIGGER", 0);
    EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.ENTR_SETPT_A_SW.A_SW"), 37.7f);
    ASSERT_TRUE(waitFor("HP_MAN_RAMP.GOTO_CMD.B_ACTION", 0, 20));
    EXPECT_FLOAT_EQ(demand(), 37.7f);
    EXPECT_TRUE(enabled());
}

TEST_F(HpManual, TheEnteredValueIsHeldToZeroToHundredPercent) {
    configure();
    enable();
    for (const auto& [in, out] : {std::pair{150.0, 100.0f}, {-5.0, 0.0f}, {55.5, 55.5f}}) {
        SCOPED_TRACE(in);
        setCell("HP_MAN_RAMP.ENTR_SETPT.TUNE", in);
        runPasses(R160, 1);
        EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.ENTR_SETPT.SAMP_TUNE"), out);
    }
    EXPECT_FLOAT_EQ(real("HP_MAN_RAMP.SOFT_DIS_RATE.MULTIPLY"), 0.125f);
}

TEST_F(HpManual, ServiceRaiseIsDroppedAfterSixtySeconds) {
    configure();
    serviceWrite("IFACE_IN_HP_MAN.RSE_LWR.IN_1", 1);
    runPasses(R160, 370);
    EXPECT_EQ(boolean("HP_MAN_RAMP.RSE_CMD.B_NAME"), 1u);
    runPasses(R160, 8);  // on while less than 60 s had run before the pass
    EXPECT_EQ(boolean("HP_MAN_RAMP.RSE_CMD.B_NAME"), 0u);
}

TEST_F(HpManual, UntouchedForTwoMinutesItDisablesItself) {
    configure();
    enable();
    runPasses(R160, 740);  // 118.4 s
    EXPECT_TRUE(enabled());
    runPasses(R160, 16);
    EXPECT_FALSE(enabled());
    EXPECT_EQ(boolean("HP_MAN_ENBL.DLY_NOMOV.DELAY"), 1u);
}

struct Disabler {
    const char* what;
    const char* cell;
    double value, normal;
};

TEST_F(HpManual, EachDisableConditionDropsItAndBlocksTheEnable) {
    const Disabler rows[] = {
        {"service disable", "IFACE_IN_HP_MAN.DISABLE.B_NAME", 1, 0},
        {"not configured", "IFACE_IN_HP_MAN.USE_MAN_DMD.B_NAME", 0, 1},
        {"any shutdown", "IFACE_IN_HP_MAN.ANY_SD.B_NAME", 1, 0},
        {"start not complete", "SPDC.A08_STEP.SFC_STEP", 0, 1},
        {"speed below minimum governor", "CNFG_SETPT.MIN_GOV.A_NAME", 1e5, kMinGov},
        {"speed above maximum governor", "CNFG_SETPT.MAX_GOV.A_NAME", -100.0, 1e6},
        {"disable input", "HP_MAN_ENBL.OR_DISABLE.IN_7", 1, 0},
    };
    configure();
    for (const Disabler& d : rows) {
        SCOPED_TRACE(d.what);
        enable();
        setCell(d.cell, d.value);
        runPasses(R160, 2);
        EXPECT_FALSE(enabled());
        EXPECT_EQ(boolean("SPD_CTRL.OTHER_EN_CTL.OR"), 0u);
        EXPECT_EQ(boolean("HP_MAN_ENBL.DISABLED.NOT"), 1u);
        // An enable request while the condition holds is refused.
        setCell("IFACE_IN_HP_MAN.ENABLE.B_NAME", 0);
        runPasses(R160, 1);
        setCell("IFACE_IN_HP_MAN.ENABLE.B_NAME", 1);
        runPasses(R160, 3);
        EXPECT_FALSE(enabled());
        setCell(d.cell, d.normal);
        runPasses(R160, 2);
    }
}

}  // namespace
}  // namespace sc_test
