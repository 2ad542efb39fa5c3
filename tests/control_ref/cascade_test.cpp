// The cascade controller on the whole program, driven only through its
// inputs: configuration, enable and its inhibits, bumpless transfer into and
// out of cascade, the setpoint's raise/lower and tracking rates, the PID's
// answer to a process-value step on the cascade analog input, and the loss
// of that input.
#include <cmath>
#include <utility>
#include <vector>

#include "host/analog_inputs.h"
#include "host/board.h"
#include "tests/control_ref/cascade_rig.h"
#include "tests/support/ref_rig.h"

namespace ref_test {
namespace {

class CascadeOnProgram : public RefRig {};

TEST_F(Cascade, ConfigurationScalesTheSpanAndSamplesTheSpeedLimits) {
    configure();
    EXPECT_EQ(boolean("IFACE_IN_CASC.USE_CASC.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_RMT.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_RMT_N.NOT"), 1u);
    EXPECT_EQ(integer("IFACE_IN_CASC.CASC_INPUT_INT.I_NAME"), 1);
    EXPECT_FLOAT_EQ(real("CNFG_CASC.MAX_SP.A_NAME"), kSpanMax);
    EXPECT_FLOAT_EQ(real("CNFG_CASC.SP_INI.A_NAME"), 50.0f);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.SPD_SP_MIN.SAMP_TUNE"), kMinGov);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.SPD_SP_MAX.SAMP_TUNE"), kMaxGov);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.DIV_1.DIVIDE"), (kMaxGov - kMinGov) / 100.0);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.INV_MX_CAS.DIVIDE"), 50.0 / (kSpanMax / 2));
    EXPECT_FLOAT_EQ(real("CASC_CTRL.INV_SW.A_SW"), 0.01f);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.RTD_SETPT.SAMP_TUNE"), kSpanMax);
    EXPECT_FLOAT_EQ(real("CASC_RATE.FST_RATE.SAMP_TUNE"), 15.0f);
    // A limit above maximum governor is held to it after sampling.
    serviceWrite("CASC_CTRL.SPD_SP_MAX.TUNE", kMaxGov + 100.0);
    runPasses(R160, 1);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.SPD_SP_MAX.SAMP_TUNE"), kMaxGov);
    EXPECT_EQ(boolean("CASC_CTRL.SPD_SP_MAX.LIMITED"), 1u);
    // The process value reaches the controller through the analog input copy.
    EXPECT_NEAR(pvSeen(), kPv, kPvTol);
    EXPECT_EQ(pvSeen(), real("AI_MUX.CASC_IN.A_NAME"));
    EXPECT_EQ(text("CASC_ENBL.WHY_INHIBIT.I_TO_STR"), "Not Inhibited");
    // Remote cascade configured while the I/O is locked.
    tripAndLock();
    serviceWrite("CNFG_CASC.CONFIG_B.IN_4", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_RMT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CAS_RMT.B_NAME"), 1u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_RMT_N.NOT"), 0u);
    serviceWrite("CNFG_CASC.CONFIG_B.IN_4", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_RMT.B_NAME"), 0u);
}

TEST_F(Cascade, NegativeMinimumWidensTheScalingSpanWithHysteresis) {
    configure();
    const struct {
        double min;
        float neg_offset;
        uint32_t neg_min;
    } rows[] = {{-0.5, 0.0f, 0}, {-1.0, -1.0f, 1}, {-0.5, -0.5f, 1}, {0.0, -0.0f, 1}, {0.5, 0.0f, 0}};
    tripAndLock();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.min);
        serviceWrite("CNFG_CASC.CONFIG_A.IN_1", r.min);
        runPasses(R160, 2);
        EXPECT_FLOAT_EQ(real("CASC_SETPT.NEG_OFFSET.A_SW"), r.neg_offset);
        EXPECT_EQ(boolean("CASC_SETPT.NEG_MIN.A_COMPARE"), r.neg_min);
        EXPECT_FLOAT_EQ(real("CASC_CTRL.MAX_CASC.SUBTRACT"), 0.5f * kSpanMax - 0.5f * r.neg_offset);
    }
    // No span at all: the scaling saturates instead of dividing by zero.
    serviceWrite("CNFG_CASC.CONFIG_A.IN_2", 0.0);
    runPasses(R160, 2);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.INV_MX_CAS.DIVIDE"), 1e34f);
}

TEST_F(Cascade, WhileDisabledTheSetpointTracksTheProcessValueAtTheTrackingRate) {
    configure();
    pv(190.0);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.SETPT.MOVING_UP") != 0; }, 10));
    const float a = setpoint();
    runPasses(R80, 1);
    // 75 times the cascade rate: 375 units/s, 30 a pass.
    EXPECT_NEAR(setpoint() - a, 30.0, 1e-3);
    runPasses(R160, 3);
    EXPECT_FLOAT_EQ(setpoint(), pvSeen());
    EXPECT_NEAR(setpoint(), 190.0, kPvTol);
    EXPECT_EQ(boolean("CASC_SETPT.SETPT.P_LIM_1"), 1u);
    EXPECT_FLOAT_EQ(real("IFACE_OUT_CASC.CASC_SP.A_NAME"), setpoint());
    // Above the range the target is the maximum.
    pv(250.0);
    runPasses(R160, 4);
    EXPECT_FLOAT_EQ(setpoint(), kSpanMax);
}

TEST_F(Cascade, WithoutTrackingPowerUpPutsTheSetpointAtItsInitialValue) {
    configure(false);
    EXPECT_FLOAT_EQ(setpoint(), 50.0f);
    EXPECT_EQ(boolean("CASC_RATE.ENTR_SETPT.AND"), 1u);
    EXPECT_EQ(integer("CASC_SETPT.SETPT.POS_SEL"), 0);
    // It holds: no tracking of the process value.
    pv(150.0);
    runPasses(R160, 5);
    EXPECT_FLOAT_EQ(setpoint(), 50.0f);
}

TEST_F(Cascade, EnableIsBumplessAndTheReferenceStaysMatched) {
    configure();
    runPasses(R160, 5);
    const float before = ref();
    // Setpoints may be entered once the setpoint no longer tracks.
    EXPECT_EQ(boolean("CASC_RATE.EN_TRACK.AND"), 1u);
    EXPECT_EQ(boolean("CASC_RATE.ENTR_SETPT.AND"), 0u);
    enable();
    EXPECT_EQ(boolean("IFACE_OUT_CASC.ENABLED.B_NAME"), 1u);
    EXPECT_EQ(boolean("CASC_RATE.ENTR_SETPT.AND"), 1u);
    EXPECT_TRUE(step("B02_STEP"));
    EXPECT_EQ(boolean("CASC_RATE.CASC_PLS.ONE_SHOT"), 1u);  // from the first pass in cascade
    // The PID followed the speed setpoint while not in control: its demand
    // equals the reference, so the reference does not move.
    for (int k = 0; k < 25; ++k) {
        runPasses(R80, 1);
        EXPECT_NEAR(ref(), before, 0.5);
    }
    EXPECT_NEAR(real("CASC_CTRL.CAS_TO_SPD.ADD"), before, 0.5);
    EXPECT_EQ(boolean("CASC_RATE.N_MATCHED.LATCH"), 0u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHED.NOT"), 1u);
}

TEST_F(Cascade, ADemandAwayFromTheReferenceIsMatchedAtTheUnmatchedRate) {
    // The cascade's speed range starts 100 rpm above the reference: its
    // demand at transfer is that minimum.
    configure(true, false, kMinGov + 100.0);
    EXPECT_NEAR(real("CASC_CTRL.CAS_TO_SPD.ADD"), kMinGov + 100.0, 0.01);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.FDBK_LMT.A_MIN"), -100.0f / 7.0f);
    enable();
    runPasses(R80, 2);
    EXPECT_EQ(boolean("CASC_RATE.N_MATCHED.LATCH"), 1u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.RAISE_VAL"), 1u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.LOWER_VAL"), 0u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.EXCD_DB_2"), 1u);
    // Toward the demand at the unmatched rate (the on-line slow rate, 4/s).
    EXPECT_NEAR(slopeOverOneSecond(), 4.0, 0.1);
    // Within the window (0.2 % of maximum governor) the transfer completes:
    // on entering it (two 80 ms passes later, through the end-of-pass unit
    // delay), not on arriving at the demand.
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_RATE.N_MATCHED.LATCH") == 0; }, 500));
    const double gap = kMinGov + 100.0 - ref();
    EXPECT_LE(gap, 0.002 * kMaxGov);
    EXPECT_GE(gap, 0.002 * kMaxGov - 1.5);
    EXPECT_EQ(boolean("CASC_RATE.SP_CLOSE.NOT"), 1u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.RAISE_VAL"), 0u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.EXCD_DB_2"), 0u);
}

TEST_F(Cascade, DroopOffsetsTheTrackedSetpointByTheLaggedDemandSoTheErrorStaysZero) {
    // The reference (minimum governor) sits 5/9 into the cascade's speed
    // range, so the PID's output tracks 55.6 % while disabled.
    minGov_ = 2000.0;
    configure(true, false, 2000.0, kMaxGov);
    serviceWrite("CNFG_CASC.DROOP.A_NAME", 5.0);
    runPasses(R160, 20);
    const float lag = real("CASC_CTRL.CASC_LAG.LAG");
    ASSERT_NEAR(lag, 100.0 * (kMinGov - 2000.0) / (kMaxGov - 2000.0), 0.1);
    // 0.01 x rated setpoint (the span's maximum) x demand % x 0.01 x droop %.
    const float droop = real("CASC_CTRL.DROOP.MULTIPLY");
    EXPECT_NEAR(droop, 0.01 * kSpanMax * lag * 0.01 * 5.0, 1e-3);
    const float pvNow = pvSeen();
    EXPECT_NEAR(pvNow, kPv, kPvTol);
    EXPECT_NEAR(real("CASC_CTRL.CASC_DROOP.ADD"), pvNow + droop, 1e-3);
    EXPECT_NEAR(setpoint(), pvNow + droop, 1e-3);
    EXPECT_NEAR(real("CASC_CTRL.SET_DROOP.SUBTRACT"), pvNow, 1e-3);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.PROC_SP.NC"), pvNow);
    EXPECT_NEAR(real("CASC_CTRL.PROC_SP.NO"), pvNow, 1e-3);
    EXPECT_NEAR(real("CASC_CTRL.CASC_DB.A_LIMITER"), real("CASC_CTRL.SP_MULT.MULTIPLY"), 1e-4);
}

TEST_F(Cascade, ADemandBelowTheReferenceRaisesTheLowerFlag) {
    // A cascade speed range below minimum governor (its hold follows the
    // configured minimum governor): the demand at transfer is its maximum.
    minGov_ = 2000.0;
    configure(true, false, 2000.0, 2900.0);
    enable();
    runPasses(R80, 1);
    EXPECT_NEAR(real("CASC_CTRL.CAS_TO_SPD.ADD"), 2900.0, 0.01);
    EXPECT_EQ(boolean("CASC_RATE.N_MATCHED.LATCH"), 1u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.LOWER_VAL"), 1u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.RAISE_VAL"), 0u);
    EXPECT_EQ(boolean("CASC_RATE.MATCHEDX.EXCD_DB_2"), 1u);
}

TEST_F(Cascade, AProcessValueStepMovesTheSpeedReferenceTheWayThatCorrectsIt) {
    configure();
    enable();
    runPasses(R160, 5);
    const float sp = setpoint();
    const float before = ref();
    // The process value falls 20 % of the span below its setpoint.
    pv(sp - 40.0);
    runPasses(R160, 20);
    EXPECT_FLOAT_EQ(setpoint(), sp);  // in control the setpoint no longer tracks
    const float after = ref();
    EXPECT_GT(after, before + 20.0f);
    EXPECT_GT(real("CASC_CTRL.PID_PCT.MULTIPLY"), 0.0f);
    EXPECT_NEAR(real("CASC_CTRL.CAS_TO_SPD.ADD"),
                kMinGov + real("CASC_CTRL.CASC_PID.PID_2") * (kMaxGov - kMinGov) / 100.0, 0.01);
    // A rise above the setpoint lowers it again.
    pv(sp + 40.0);
    runPasses(R160, 20);
    EXPECT_LT(ref(), after - 20.0f);
}

TEST_F(Cascade, InvertedActionRaisesTheReferenceOnARisingProcessValue) {
    configure(true, true);
    enable();
    runPasses(R160, 5);
    const float before = ref();
    pv(setpoint() + 40.0);
    runPasses(R160, 20);
    EXPECT_GT(ref(), before + 20.0f);
}

TEST_F(Cascade, RaiseAndLowerMoveTheSetpointAtTheCascadeRateThenFaster) {
    configure();
    enable();
    const float a = setpoint();
    serviceWrite("IFACE_IN_CASC.RSE_LWR.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.SETPT.MOVING_UP") != 0; }, 10));
    const float b = setpoint();
    runPasses(R80, 25);  // 2 s
    EXPECT_NEAR(setpoint() - b, 2 * 5.0, 0.05);
    EXPECT_GT(b, a);
    EXPECT_EQ(boolean("CASC_SETPT.FAST.OR"), 0u);
    runPasses(R80, 25);  // past the 3 s fast-rate delay
    EXPECT_EQ(boolean("CASC_SETPT.FAST.OR"), 1u);
    const float c = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(setpoint() - c, 2 * 15.0, 0.05);
    // Lower: the raise command is released, the setpoint comes down and
    // stops at the minimum.
    serviceWrite("IFACE_IN_CASC.RSE_LWR.IN_1", 0);
    serviceWrite("IFACE_IN_CASC.RSE_LWR.IN_2", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.SETPT.MOVING_DN") != 0; }, 10));
    ASSERT_TRUE(runUntil([&] { return boolean("CASC_SETPT.FAST.OR") == 0; }, 10));
    runPasses(R160, 2);
    const float d = setpoint();
    runPasses(R80, 25);
    EXPECT_NEAR(d - setpoint(), 2 * 5.0, 0.05);
    EXPECT_EQ(boolean("CASC_R_L.PERM_LOWER.AND"), 1u);
    runPasses(R160, 200);
    EXPECT_FLOAT_EQ(setpoint(), 0.0f);
    EXPECT_EQ(boolean("CASC_SETPT.SETPT.P_LIM_4"), 1u);
}

TEST_F(Cascade, ServiceRaiseIsDroppedAfterSixtySeconds) {
    configure();
    serviceWrite("IFACE_IN_CASC.RSE_LWR.IN_1", 1);
    runPasses(R160, 370);  // 59.2 s
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_RSE.B_NAME"), 1u);
    runPasses(R160, 8);  // on while less than 60 s had run before the pass
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_RSE.B_NAME"), 0u);
    EXPECT_EQ(boolean("IFACE_IN_CASC.RSE_LWR.IN_1"), 0u);
}

// The cascade setpoint's raise and lower contacts on the spare inputs BI07
// and BI08.
const std::vector<std::pair<const char*, double>> kRaiseLowerContacts = {{"_ub19.FUNCT.IN", 11}, {"_ub20.FUNCT.IN", 12}};
constexpr int kCascRaiseContact = kSpareContact, kCascLowerContact = kSpareContact + 1;

TEST_F(Cascade, RaiseContactHoldsUntilReleasedAndTheLowerContactWins) {
    configure(true, false, kMinGov, kMaxGov, kRaiseLowerContacts);
    enable();
    const float a = setpoint();
    contact(kCascRaiseContact, true);
    runPasses(R80, 14);
    EXPECT_GT(setpoint(), a + 4.0f);
    EXPECT_EQ(boolean("CASC_R_L.ENAB_RAISE.LATCH_R"), 1u);
    contact(kCascLowerContact, true);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("CASC_R_L.ENAB_RAISE.LATCH_R"), 0u);
    EXPECT_EQ(boolean("CASC_R_L.ENAB_LOWER.LATCH_R"), 1u);
    EXPECT_EQ(boolean("CASC_SETPT.SETPT.MOVING_DN"), 1u);
    contact(kCascRaiseContact, false);
    contact(kCascLowerContact, false);
    runPasses(R80, 3);
    EXPECT_EQ(boolean("CASC_R_L.LOWER.OR"), 0u);
    const float held = setpoint();
    runPasses(R80, 5);
    EXPECT_FLOAT_EQ(setpoint(), held);
}

// The cascade enable contact on BI07 and the remote-cascade enable contact
// on BI08, with remote cascade configured (its setpoint on analog input 3).
constexpr int kCascEnableContact = kSpareContact, kRemoteCascEnableContact = kSpareContact + 1;
std::vector<std::pair<const char*, double>> withRemoteCascade(std::vector<std::pair<const char*, double>> s) {
    s.insert(s.end(), {{"CNFG_CASC.CONFIG_B.IN_4", 1},
                       {"_ub8.FUNCT.IN", 4},
                       {"_ub8.RANGE_LO.IN", 0.0},
                       {"_ub8.RANGE_HI.IN", kSpanMax}});
    return s;
}

TEST_F(Cascade, EnableContactEnablesOnClosingDisablesOnOpeningAndTakesOverTheRemoteContact) {
    configure(true, false, kMinGov, kMaxGov, withRemoteCascade({{"_ub19.FUNCT.IN", 13}, {"_ub20.FUNCT.IN", 14}}));
    EXPECT_EQ(boolean("BI_MUX.CASC_ENBL_USED.B_NAME"), 1u);
    EXPECT_EQ(boolean("CASC_ENBL.NO_BI_CF.NOT"), 0u);
    // With its own contact configured, the remote-cascade enable contact
    // does not enable cascade.
    contact(kRemoteCascEnableContact, true);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
    contact(kRemoteCascEnableContact, false);
    contact(kCascEnableContact, true);
    ASSERT_TRUE(runUntil([&] { return inCascade(); }, 20)) << "the closed contact did not enable cascade";
    EXPECT_EQ(boolean("CASC_ENBL.CONTACT.B_NAME"), 1u);
    contact(kCascEnableContact, false);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
}

// Without it, the remote-cascade enable contact enables cascade.
TEST_F(Cascade, WithoutItsOwnEnableContactTheRemoteCascadeContactEnablesCascade) {
    configure(true, false, kMinGov, kMaxGov, withRemoteCascade({{"_ub20.FUNCT.IN", 14}}));
    EXPECT_EQ(boolean("BI_MUX.CASC_ENBL_USED.B_NAME"), 0u);
    EXPECT_EQ(boolean("CASC_ENBL.NO_BI_CF.NOT"), 1u);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
    contact(kRemoteCascEnableContact, true);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 1u);
}

TEST_F(Cascade, ARaiseContactReleasesTheLowerContactsLatchOnlyOnceThatContactIsOpen) {
    configure(true, false, kMinGov, kMaxGov, kRaiseLowerContacts);
    const struct {
        uint32_t lower, raise, enab_lower, enab_raise;
    } rows[] = {
        {1, 0, 1, 0},  // lower contact: its latch sets
        {1, 1, 1, 1},  // raise closes while lower is held: both held
        {0, 0, 1, 1},  // both open: the latches stay
        {0, 1, 0, 1},  // raise closes alone: the lower latch is released
        {1, 1, 1, 0},  // lower closes again: it sets, and releases raise
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.lower << r.raise);
        contact(kCascLowerContact, r.lower != 0);
        contact(kCascRaiseContact, r.raise != 0);
        runPasses(R80, 3);
        EXPECT_EQ(boolean("CASC_R_L.ENAB_LOWER.LATCH_R"), r.enab_lower);
        EXPECT_EQ(boolean("CASC_R_L.ENAB_RAISE.LATCH_R"), r.enab_raise);
        EXPECT_EQ(boolean("CASC_R_L.RMT_LCL_L.AND"), r.lower & r.enab_lower);
    }
}

TEST_F(Cascade, DisableIsBumplessAndTheSpeedControllerKeepsTheReference) {
    configure();
    enable();
    pv(setpoint() - 30.0);
    runPasses(R160, 10);
    EXPECT_GT(ref(), kMinGov + 3.0);
    command("IFACE_IN_CASC.ENA_DIS.IN_2");
    ASSERT_TRUE(runUntil([&] { return !inCascade(); }, 10));
    EXPECT_EQ(boolean("CASC_ENBL.DISABLED.NOT"), 1u);
    runPasses(R80, 1);
    const float in_cascade = ref();
    for (int k = 0; k < 20; ++k) {
        runPasses(R80, 1);
        EXPECT_NEAR(ref(), in_cascade, 1.0);
    }
    EXPECT_TRUE(step("B00_STEP"));
}

TEST_F(Cascade, LossOfTheCascadeInputDropsCascadeAndShowsWhy) {
    configure();
    enable();
    board::setAnalogInputOpen(kCascInput, true);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_IN_CASC.CASC_PV_FLT.B_NAME") != 0; }, 10));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
    EXPECT_EQ(boolean("CASC_ENBL.INHIBITED.LATCH1"), 1u);
    EXPECT_EQ(boolean("CASC_ENBL.INHIBITED.SEL_3"), 1u);
    EXPECT_EQ(text("CASC_ENBL.WHY_INHIBIT.I_TO_STR"), "CASC PV is Failed");
    ASSERT_TRUE(runUntil([&] { return !inCascade(); }, 10));
    // An enable command is refused while the input has failed.
    command("IFACE_IN_CASC.ENA_DIS.IN_1");
    runPasses(R80, 4);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
    // The input restored, its fault is held until a reset.
    board::setAnalogInputOpen(kCascInput, false);
    runPasses(R160, 5);
    EXPECT_EQ(boolean("IFACE_IN_CASC.CASC_PV_FLT.B_NAME"), 1u);
    reset();
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_IN_CASC.CASC_PV_FLT.B_NAME") == 0; }, 20));
    runPasses(R80, 2);
    EXPECT_EQ(text("CASC_ENBL.WHY_INHIBIT.I_TO_STR"), "Not Inhibited");
}

// The inhibit list on the whole program: without cascade configured and
// tripped, both show and the configuration comes first.
TEST_F(CascadeOnProgram, InhibitTextsInTheirOrder) {
    start(false, false);
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 3));
    runPasses(R160, 1);
    EXPECT_EQ(text("CASC_ENBL.WHY_INHIBIT.I_TO_STR"), "No CASC Configured");
    EXPECT_EQ(integer("CASC_ENBL.INHIBITED.ALM_NO_1"), 1);
    EXPECT_EQ(integer("CASC_ENBL.INHIBITED.ALM_NO_2"), 2);
}

// Cascade configured and the unit tripped: the trip shows; an enable while
// tripped leaves the latch off; once reset the enable latches, with its
// message, and the delayed latch's pulse comes one pass later for one pass.
TEST_F(CascadeOnProgram, TheTripInhibitsAndDisableWinsOverEnable) {
    startWithRemoteAndCascade();
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 3));
    runPasses(R160, 1);
    EXPECT_EQ(text("CASC_ENBL.WHY_INHIBIT.I_TO_STR"), "Unit is TRIPPED");
    EXPECT_EQ(integer("CASC_ENBL.INHIBITED.ALM_NO_1"), 0);
    // Enable while the shutdown lasts: the latch stays off.
    serviceWrite("CASC_ENBL.OR_ENABLE.IN_4", 1);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("CASC_ENBL.PLS_ON.B_ACTION"), 0u);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
    serviceWrite("CASC_ENBL.OR_ENABLE.IN_4", 0);
    clearTrip();
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLEDMES.B_ACTION"), 0u);
    EXPECT_EQ(text("CASC_ENBL.WHY_INHIBIT.I_TO_STR"), "Not Inhibited");
    serviceWrite("CASC_ENBL.OR_ENABLE.IN_4", 1);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 1u);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLEDMES.B_ACTION"), 1u);  // the "enabled" message
    // The delayed latch's pulse comes one pass later, for one pass.
    EXPECT_EQ(boolean("CASC_ENBL.PLS_ENABL.B_ACTION"), 0u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_ENBL.PLS_ENABL.B_ACTION"), 1u);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_ENBL.PLS_ENABL.B_ACTION"), 0u);
    // A trip disables it.
    trip();
    ASSERT_TRUE(runUntil([&] { return boolean("SHUTDOWNS.ANY_SD.B_NAME") != 0; }, 3));
    runPasses(R80, 1);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), 0u);
}

// With momentary enables, enabling the remote speed setpoint disables
// cascade, but only once the remote setpoint is in fact enabled: a request
// refused (its input has failed) leaves cascade in control.
struct RemoteRequestCase {
    const char* name;
    bool inputFailed;
    uint32_t remoteEnabled, cascadeEnabled;
};
class RemoteRequestUnderCascade : public RefRig, public ::testing::WithParamInterface<RemoteRequestCase> {};

TEST_P(RemoteRequestUnderCascade, OnlyAnAcceptedRemoteRequestEndsCascade) {
    const RemoteRequestCase& c = GetParam();
    startWithRemoteAndCascade({{"IFACE_IN_SPEED.USE_DI_MOMENT.IN", 1}});
    startToInControl();
    runPasses(R160, 10);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_CASC.ENABLED.B_NAME") != 0; }, 20)) << "cascade";
    runPasses(R160, 20);  // past the service command's pulse
    ASSERT_EQ(boolean("IFACE_OUT_CASC.ENABLED.B_NAME"), 1u);
    if (c.inputFailed) {
        board::setAnalogInputOpen(0, true);
        ASSERT_TRUE(runUntil([&] { return boolean("IFACE_IN_SPEED.REMSP_PV_FLT.B_NAME") != 0; }, 20));
    }
    serviceWrite("IFACE_IN_SPEED.ENA_DIS_REM.IN_1", 1);
    runPasses(R160, 10);
    EXPECT_EQ(boolean("IFACE_OUT_SPEED.RMT_SPD_ENABLED.B_NAME"), c.remoteEnabled);
    EXPECT_EQ(boolean("IFACE_OUT_CASC.ENABLED.B_NAME"), c.cascadeEnabled);
    EXPECT_EQ(boolean("RMT_ENBL.ENABLED.LATCH_R"), c.remoteEnabled);
    EXPECT_EQ(boolean("CASC_ENBL.ENABLED.LATCH_R"), c.cascadeEnabled);
}

INSTANTIATE_TEST_SUITE_P(Requests, RemoteRequestUnderCascade,
                         ::testing::Values(RemoteRequestCase{"Refused", true, 0, 1},
                                           RemoteRequestCase{"Accepted", false, 1, 0}),
                         [](const ::testing::TestParamInfo<RemoteRequestCase>& i) { return std::string(i.param.name); });

// The cascade setpoint's raise and lower contacts on the controller's spare
// inputs BI07 and BI08: while closed, each moves the setpoint its way; open,
// the setpoint stays; analog output 1 shows it.
TEST_F(CascadeOnProgram, TheRaiseAndLowerContactsMoveTheCascadeSetpoint) {
    startWithRemoteAndCascade({{"_ub19.FUNCT.IN", 11}, {"_ub20.FUNCT.IN", 12}, {"_ub10.FUNCT.IN", 6}});
    startToInControl();
    runPasses(R160, 10);
    serviceWrite("IFACE_IN_CASC.ENA_DIS.IN_1", 1);
    ASSERT_TRUE(runUntil([&] { return boolean("IFACE_OUT_SPEED.CASCADE_ENABLED.B_NAME") != 0; }, 20)) << "cascade";
    runPasses(R160, 20);
    const struct {
        int contact;
        int sign;
    } moves[] = {{kSpareContact, 1}, {kSpareContact + 1, -1}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m.contact);
        const float before = real("CASC_SETPT.SETPT.RAMP");
        contact(m.contact, true);
        runPasses(R160, 10);
        contact(m.contact, false);
        runPasses(R160, 3);
        const float moved = real("CASC_SETPT.SETPT.RAMP");
        EXPECT_GT((moved - before) * m.sign, 0.5f) << before << " -> " << moved;
        runPasses(R160, 5);
        EXPECT_FLOAT_EQ(real("CASC_SETPT.SETPT.RAMP"), moved) << "stays once open";
        EXPECT_FLOAT_EQ(real("_ub10.VAL.A_NAME"), moved) << "analog output 1";
    }
}

TEST_F(Cascade, AnotherControllerOnTheValveStopsTheErrorThatWouldRaise) {
    configure();
    enable();
    serviceWrite("CASC_CTRL.NOT_SPDCTL.IN_3", 1);
    pv(setpoint() - 40.0);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("CASC_CTRL.EN_LMTR.AND"), 1u);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.PROC_MULT.MULTIPLY"), real("CASC_CTRL.SP_MULT.MULTIPLY"));
    // A lowering error still goes through.
    pv(setpoint() + 40.0);
    runPasses(R80, 2);
    EXPECT_EQ(boolean("CASC_CTRL.EN_LMTR.AND"), 0u);
    EXPECT_GT(real("CASC_CTRL.CASC_DB.A_LIMITER"), real("CASC_CTRL.SP_MULT.MULTIPLY"));
}

}  // namespace
}  // namespace ref_test

namespace ref_test {
namespace {

class CascadeRange : public RefRig {};

// A cascade input ranged below zero with its setpoint range inside it: the
// range's maximum is sampled as the rated setpoint, as configured.
TEST_F(CascadeRange, ASetpointRangeBelowZeroIsSampledAsConfigured) {
    startWithRemoteAndCascade({{"_ub7.RANGE_LO.IN", -100.0},
                               {"_ub7.RANGE_HI.IN", 0.0},
                               {"CNFG_CASC.CONFIG_A.IN_1", -50.0},
                               {"CNFG_CASC.CONFIG_A.IN_2", -10.0},
                               {"CNFG_CASC.CONFIG_A.IN_3", -30.0}});
    runPasses(R160, 5);
    EXPECT_EQ(boolean("CONF_CHECK_CASC.SETPT_ERR.AND"), 0u);
    EXPECT_FLOAT_EQ(real("CASC_SETPT.MAX_SETPT.A_NAME"), -10.0f);
    EXPECT_FLOAT_EQ(real("CASC_CTRL.RTD_SETPT.SAMP_TUNE"), -10.0f);
}

}  // namespace
}  // namespace ref_test
