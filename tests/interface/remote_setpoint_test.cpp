// The 80 ms speed-interface pieces through real passes: the remote speed
// setpoint's filter, deadband and match window, the remote-cascade inhibit
// list, the overspeed-test demand, the minimum-governor flags and the
// power-up message timing.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "app/control/control_slices.h"
#include "tests/interface/operator_rig.h"

namespace op_test {
namespace {

class RemoteSetpoint : public OperatorRig {
protected:
    // The filter's settings are 160 ms cells: through the copy at the next
    // 160 ms frame.
    void useRemote(double lag_tau, double deadband) {
        setCell("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME", 1);
        setCell("IFACE_IN_SPEED.RMT_SPD_LAGTAU.A_NAME", lag_tau);
        setCell("IFACE_IN_SPEED.RMT_SPD_DB.A_NAME", deadband);
        runPasses(R80, 3);
    }
    float lag() { return real("RMT_SETPT.LAG.LAG_2"); }
    float dead() { return real("RMT_SETPT.RMT_DEAD.A_DEADBAND"); }
};

TEST_F(RemoteSetpoint, LagTimeZeroUsesTheShortestTimeConstant) {
    start();
    useRemote(0.0, 0.0);
    ASSERT_EQ(lag(), 0.0f);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 1000.0);
    runPasses(R80, 1);
    // k = 0.08 / (2 * 0.05095541 + 0.08) = 0.44; the input's first step
    // counts once (the previous input was 0).
    const float k = 0.08f / (2.0f * 0.05095541f + 0.08f);
    EXPECT_NEAR(k, 0.44f, 0.001f);
    EXPECT_FLOAT_EQ(lag(), k * 1000.0f);
    EXPECT_FLOAT_EQ(real("RMT_SETPT.LAG.DERIV"), k * 1000.0f / 0.08f);
    // A deadband of 0: the output is the filtered value every pass.
    EXPECT_FLOAT_EQ(dead(), lag());
    runPasses(R80, 1);
    EXPECT_FLOAT_EQ(dead(), lag());
    runPasses(R80, 40);
    EXPECT_NEAR(lag(), 1000.0f, 0.01f);
    // A negative time constant is raised the same way.
    setCell("IFACE_IN_SPEED.RMT_SPD_LAGTAU.A_NAME", -3.0);
    runPasses(R80, 3);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 0.0);
    const float before = lag();
    runPasses(R80, 1);
    EXPECT_FLOAT_EQ(lag(), before + k * (0.0f + 1000.0f - 2.0f * before));
}

TEST_F(RemoteSetpoint, FailedRemoteSignalIsFilteredAsZero) {
    start();
    useRemote(1.0, 0.0);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 500.0);
    runPasses(R80, 200);
    ASSERT_NEAR(lag(), 500.0f, 0.5f);
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        setCell("RMT_SETPT.A_LIMITER.A_LIMITER", bad);
        runPasses(R80, 200);
        EXPECT_TRUE(std::isfinite(lag()));
        EXPECT_NEAR(lag(), 0.0f, 0.5f) << bad;
        EXPECT_TRUE(std::isfinite(real("RMT_SETPT.LAG.DERIV")));
        EXPECT_TRUE(std::isfinite(dead()));
        setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 500.0);
        runPasses(R80, 200);
        EXPECT_NEAR(lag(), 500.0f, 0.5f) << bad;
    }
}

TEST_F(RemoteSetpoint, AnOverflowingFilterStartsAgainFromZero) {
    start();
    useRemote(0.0, 0.0);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 3.0e38);
    runPasses(R80, 1);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", -3.0e38);
    runPasses(R80, 1);
    EXPECT_TRUE(std::isfinite(lag()));
    EXPECT_TRUE(std::isfinite(real("RMT_SETPT.LAG.DERIV")));
}

TEST_F(RemoteSetpoint, DeadbandMovesOnlyWhenTheFilteredValueLeavesTheBand) {
    start();
    useRemote(0.0, 10.0);
    struct {
        double in;
        float out;
    } steps[] = {{5.0, 0.0f}, {10.0, 0.0f}, {25.0, 15.0f}, {20.0, 15.0f}, {8.0, 15.0f}, {0.0, 10.0f}};
    for (const auto& s : steps) {
        setCell("RMT_SETPT.A_LIMITER.A_LIMITER", s.in);
        runPasses(R80, 60);  // settled
        ASSERT_NEAR(lag(), static_cast<float>(s.in), 0.01f);
        EXPECT_NEAR(dead(), s.out, 0.01f) << s.in;
    }
}

TEST_F(RemoteSetpoint, NotInUseTheFilterHoldsAndTheSwitchStillFollowsItsSetting) {
    start();
    useRemote(0.0, 0.0);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 800.0);
    runPasses(R80, 60);
    setCell("IFACE_IN_SPEED.USE_RMT_SPD_SP.B_NAME", 0);
    runPasses(R80, 3);
    const float held = lag(), deriv = real("RMT_SETPT.LAG.DERIV"), out = dead();
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 100.0);
    runPasses(R80, 20);
    EXPECT_EQ(lag(), held);
    EXPECT_EQ(real("RMT_SETPT.LAG.DERIV"), deriv);
    EXPECT_EQ(dead(), out);
    EXPECT_EQ(real("SPDC.RMT_SPD_KW_SW.A_SW"), out);
    setCell("SPDC.RMT_SPD_KW_SW.CTRL", 1);
    runPasses(R80, 1);
    EXPECT_EQ(real("SPDC.RMT_SPD_KW_SW.A_SW"), 0.0f);
}

struct MatchCase {
    const char* name;
    double ref;
    uint32_t hi, lo, hi_eq, lo_eq;
};

class MatchWindow : public RemoteSetpoint, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchWindow, ReferenceWithinHalfAPercentOfTheRemoteSetpoint) {
    start();
    useRemote(0.0, 0.0);
    setCell("RMT_SETPT.A_LIMITER.A_LIMITER", 1000.0);
    runPasses(R80, 60);
    ASSERT_FLOAT_EQ(real("SPDC.RMT_SPD_KW_SW.A_SW"), 1000.0f);
    setCell("SPDC.SPEED_REF.RAMP", GetParam().ref);
    runPasses(R80, 1);
    EXPECT_FLOAT_EQ(real("REMOTE.MATCH_WINDOW.MULTIPLY"), 5.0f);
    EXPECT_FLOAT_EQ(real("REMOTE.HI_MATCH.ADD"), 1005.0f);
    EXPECT_FLOAT_EQ(real("REMOTE.LO_MATCH.SUBTRACT"), 995.0f);
    EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_COMPARE"), GetParam().hi);
    EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_COMPARE"), GetParam().lo);
    EXPECT_EQ(boolean("REMOTE.MATCH_HI.A_EQUAL"), GetParam().hi_eq);
    EXPECT_EQ(boolean("REMOTE.MATCH_LO.A_EQUAL"), GetParam().lo_eq);
}

INSTANTIATE_TEST_SUITE_P(Window, MatchWindow,
                         ::testing::Values(MatchCase{"inside", 1000.0, 1, 1, 0, 0},
                                           MatchCase{"at_the_top", 1005.0, 1, 1, 1, 0},
                                           MatchCase{"above", 1005.5, 0, 1, 0, 0},
                                           MatchCase{"at_the_bottom", 995.0, 1, 1, 0, 1},
                                           MatchCase{"below", 994.5, 1, 0, 0, 0}),
                         [](const ::testing::TestParamInfo<MatchCase>& i) { return std::string(i.param.name); });

TEST_F(RemoteSetpoint, RemoteSelectionDisableAndEntryEnable) {
    start();
    struct {
        uint32_t selected, zsel, casc_off, run;
        uint32_t not_rmt, disable, entry;
    } rows[] = {
        {1, 0, 1, 1, 0, 0, 0}, {1, 1, 1, 1, 0, 1, 0}, {0, 0, 1, 1, 1, 1, 1},
        {0, 0, 0, 1, 1, 1, 0}, {0, 0, 1, 0, 1, 1, 0},
    };
    for (const auto& r : rows) {
        setCell("REMOTE.REM_SEL_SW.B_SW", r.selected);
        setCell("REMOTE.ZSEL.ZMINUS1_B", r.zsel);
        setCell("CASC_RATE.N_CASC_EN.NOT", r.casc_off);
        setCell("START.RUN_CMD.LATCH_R", r.run);
        runPasses(R80, 1);
        EXPECT_EQ(boolean("REMOTE.NOT_RMT.NOT"), r.not_rmt);
        EXPECT_EQ(boolean("REMOTE.DISABLE.OR"), r.disable) << r.selected << r.zsel;
        EXPECT_EQ(boolean("REMOTE.ENTR_ENBL.AND"), r.entry) << r.selected << r.casc_off << r.run;
    }
}

class InhibitList : public RemoteSetpoint {
protected:
    void inputs(uint32_t sd, uint32_t inhibited, uint32_t failed, uint32_t not_cfg) {
        setCell("SHUTDOWNS.ANY_SD.B_NAME", sd);
        setCell("CASC_ENBL.INHIBITED.LATCH1", inhibited);
        setCell("IFACE_IN_CASC.RMT_CASC_FLT.B_NAME", failed);
        setCell("IFACE_IN_CASC.CASC_RMT_N.NOT", not_cfg);
        // The configuration flag is a 160 ms cell whose copy reaches the list
        // after the next 160 ms pass: four 80 ms passes, over which the first
        // alarm (set for one pass) is gathered.
        first_ = 0;
        for (int k = 0; k < 4; ++k) {
            runPasses(R80, 1);
            first_ = std::max(first_, integer("RMT_CAS_EN.RCASC_IH.FIRST_ALM"));
        }
    }
    int32_t first_ = 0;
    std::string sel() {
        std::string s;
        for (int n = 1; n <= 4; ++n) s += std::to_string(boolean("RMT_CAS_EN.RCASC_IH.SEL_" + std::to_string(n)));
        return s;
    }
    std::string numbers() {
        std::string s;
        for (int n = 1; n <= 4; ++n) s += std::to_string(integer("RMT_CAS_EN.RCASC_IH.ALM_NO_" + std::to_string(n)));
        return s;
    }
};

TEST_F(InhibitList, WithTheDefaultResetTheListShowsThePresentInputs) {
    start();
    inputs(0, 0, 0, 0);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LOGICAL_OR"), 0u);
    inputs(0, 1, 1, 0);
    EXPECT_EQ(sel(), "0110");
    EXPECT_EQ(numbers(), "0120");
    EXPECT_EQ(first_, 2);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.HORN"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 1u);
    inputs(0, 0, 0, 1);
    EXPECT_EQ(sel(), "0001");
    EXPECT_EQ(first_, 4);
    inputs(0, 0, 0, 0);
    EXPECT_EQ(sel(), "0000");
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 0u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.HORN"), 0u);
}

TEST_F(InhibitList, WithoutTheResetInputsLatchInTheirOrder) {
    start();
    setCell("RMT_CAS_EN.RCASC_IH.RST", 0);
    inputs(0, 0, 1, 0);
    EXPECT_EQ(first_, 3);
    inputs(1, 0, 0, 0);
    // The new input is the first of its pass; the earlier one stays latched.
    EXPECT_EQ(sel(), "1010");
    EXPECT_EQ(numbers(), "1010");
    EXPECT_EQ(first_, 1);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LOGICAL_OR"), 1u);
    inputs(0, 0, 0, 0);
    EXPECT_EQ(sel(), "1010");
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LATCH1"), 1u);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.HORN"), 0u);
    EXPECT_EQ(first_, 0);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.LOGICAL_OR"), 0u);
    // A latched input that comes again does not latch twice.
    inputs(1, 0, 0, 0);
    EXPECT_EQ(boolean("RMT_CAS_EN.RCASC_IH.HORN"), 0u);
    setCell("RMT_CAS_EN.RCASC_IH.RST", 1);
    inputs(0, 0, 0, 0);
    EXPECT_EQ(sel(), "0000");
    EXPECT_EQ(numbers(), "0000");
}

TEST_F(RemoteSetpoint, MinimumGovernorAgainstSetpointAndSpeed) {
    start();
    setCell("CNFG_SETPT.MIN_GOV.A_NAME", 3000);
    runPasses(R80, 3);
    struct {
        double setpoint, speed;
        uint32_t sp_cmp, sp_eq, spd_cmp, spd_eq;
    } rows[] = {{2000, 2500, 1, 0, 1, 0}, {3000, 3000, 1, 1, 1, 1}, {3500, 3001, 0, 0, 0, 0}};
    for (const auto& r : rows) {
        setCell("IFACE_OUT_SPEED.Z_SETPOINT.A_NAME", r.setpoint);
        setCell("MPU.TURB_SPD.A_NAME", r.speed);
        runPasses(R80, 2);
        EXPECT_EQ(boolean("MPU.SETPT_MIN.A_COMPARE"), r.sp_cmp) << r.setpoint;
        EXPECT_EQ(boolean("MPU.SETPT_MIN.A_EQUAL"), r.sp_eq) << r.setpoint;
        EXPECT_EQ(boolean("MPU.SPD_LT_MIN.A_COMPARE"), r.spd_cmp) << r.speed;
        EXPECT_EQ(boolean("MPU.SPD_LT_MIN.A_EQUAL"), r.spd_eq) << r.speed;
    }
    // Below idle (1000 rpm, less 5.5 with the default hysteresis) the speed
    // is under idle.
    setCell("IFACE_IN_SPEED.IDLE_1.A_NAME", 1000);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("MPU.SPD_LT_IDL.NOT"), 0u);
    setCell("MPU.TURB_SPD.A_NAME", 990);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("MPU.SPD_LT_IDL.NOT"), 1u);
}

TEST_F(RemoteSetpoint, PowerUpMessageAndCompleteFlag) {
    start();
    setCell("PWR_UP_MSG.PWR_UP_DLY.DELAY", 1);
    int shown = 0;
    for (int p = 0; p < 20; ++p) {
        runPasses(R80, 1);
        shown += static_cast<int>(boolean("PWR_UP_MSG.INI_DSPLY.ONE_SHOT"));
        EXPECT_EQ(boolean("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY"), p >= 13 ? 1u : 0u) << p;
    }
    EXPECT_EQ(shown, 13);
    setCell("PWR_UP_MSG.PWR_UP_DLY.DELAY", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("PWR_UP_MSG.PWR_UP_COMPLETE.DELAY"), 0u);
}

}  // namespace
}  // namespace op_test
