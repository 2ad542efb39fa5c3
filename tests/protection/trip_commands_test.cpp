// The protection pieces beside the trip list: the 80 ms trip commands
// (delayed keypad trip, remote trip with its local inhibit and delay, trip
// command) with trip 27 entering the shutdown list; the shutdown one-shot
// and the shutdown-or-power-up window of the 10 ms group; and the valve
// limiter in control of the 160 ms group. On the whole program, driven
// through the front panel's trip key, the trip and reset contacts, the
// turbine model and the settings and commands of the service tool.
#include <string>

#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/protection/SD_LOGIC_trip_cmd.rows.h"
#include "host/analog_inputs.h"
#include "host/turbine_model.h"
#include "tests/protection/protection_rig.h"
#include "tests/protection/whole_rig.h"

namespace pr_test {
namespace {

class TripCommands : public WholeRig {
protected:
    // Seconds of the 80 ms group as passes.
    void run80s(float seconds) { runPasses(ref_test::R80, static_cast<uint32_t>(seconds / 0.08f + 0.5f)); }
    void tripKey(bool pressed) { key(kTripKey, pressed); }
};

// The key is read and the trip commands computed in the same 80 ms pass.
TEST_F(TripCommands, TheKeypadTripIsDelayedAndHoldsOffTheRemoteTripForASecond) {
    ready();
    tripKey(true);
    runPasses(ref_test::R80, 25);
    EXPECT_EQ(boolean("SD_LOGIC.DELAY.DELAY"), 0u) << "the timer reaches 2.0 s in the 26th pass";
    runPasses(ref_test::R80, 2);
    EXPECT_EQ(boolean("SD_LOGIC.DELAY.DELAY"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.NOT_LOCAL.NOT"), 0u);
    EXPECT_EQ(boolean("SD_LOGIC.RMT_TRIP_OR.OR"), 1u) << "the key itself";
    // A remote trip set while the key is held waits for 1 s after it is released.
    tune("SD_LOGIC.USE_RMTTRIP.IN", 1);
    runPasses(ref_test::R160, 2);
    tune("SD_LOGIC.RMT_TRIP.IN", 1);
    tripKey(false);
    runPasses(ref_test::R80, 1);
    EXPECT_EQ(boolean("SD_LOGIC.DELAY.DELAY"), 0u) << "the delay ends with the key";
    EXPECT_EQ(boolean("SD_LOGIC.ENA_RV_TRIP.AND"), 0u);
    runPasses(ref_test::R80, 12);
    EXPECT_EQ(boolean("SD_LOGIC.ENA_RV_TRIP.AND"), 0u) << "1.04 s after the release";
    runPasses(ref_test::R80, 1);
    EXPECT_EQ(boolean("SD_LOGIC.INHIB_RMT.DELAY"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.ENA_RV_TRIP.AND"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.RV_TRIP.B_SW"), 1u) << "no delay in use";
}

struct RemoteCase {
    const char* name;
    int use_rmttrip, use_delay, rmt_trip, key;
    float after;     // seconds of remote trip before the check
    uint32_t rv_trip, trip_cmd;
};

class RemoteTrip : public TripCommands, public ::testing::WithParamInterface<RemoteCase> {};

TEST_P(RemoteTrip, TheRemoteTripAndTheTripCommand) {
    const RemoteCase& c = GetParam();
    ready();
    tripKey(c.key != 0);
    tune("SD_LOGIC.USE_RMTTRIP.IN", c.use_rmttrip);
    tune("SD_LOGIC.USE_DELAY.IN", c.use_delay);
    runPasses(ref_test::R160, 2);  // the settings reach the 80 ms group
    tune("SD_LOGIC.RMT_TRIP.IN", c.rmt_trip);
    run80s(c.after);
    EXPECT_EQ(boolean("SD_LOGIC.RMT_TRIP.B_NAME"), static_cast<uint32_t>(c.rmt_trip));
    EXPECT_EQ(boolean("SD_LOGIC.RV_TRIP.B_SW"), c.rv_trip);
    EXPECT_EQ(boolean("SD_LOGIC.TRIP_CMD.B_SW"), c.trip_cmd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoteTrip,
    // With the delay in use the stop button is the keypad trip after its
    // delay, so a key just pressed shows which side the command takes.
    ::testing::Values(RemoteCase{"unused_gives_the_stop_button", 0, 1, 0, 1, 0.4f, 0, 0},
                      RemoteCase{"used_gives_the_key_or_remote_trip", 1, 1, 0, 1, 0.4f, 0, 1},
                      RemoteCase{"undelayed", 1, 0, 1, 0, 0.08f, 1, 1}, RemoteCase{"off", 1, 0, 0, 0, 0.4f, 0, 0},
                      RemoteCase{"delay_not_yet", 1, 1, 1, 0, 1.92f, 0, 0},
                      RemoteCase{"delay_elapsed", 1, 1, 1, 0, 2.24f, 1, 1}),
    [](const ::testing::TestParamInfo<RemoteCase>& i) { return std::string(i.param.name); });

TEST_F(TripCommands, TheRemoteTripLatchesTrip27UnlessOverriddenAndAResetReleasesIt) {
    ready();
    tune("SHUTDOWNS.SD_OVRDS.B_ENABLE", 1);
    tune("SHUTDOWNS.SD_OVRDS.IN_27", 1);
    runPasses(ref_test::R160, 1);
    tune("SD_LOGIC.USE_RMTTRIP.IN", 1);
    tune("SD_LOGIC.RMT_TRIP.IN", 1);
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(boolean("SD_LOGIC.RV_TRIP.B_SW"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_27.B_ALARM"), 0u) << "overridden";
    tune("SHUTDOWNS.SD_OVRDS.IN_27", 0);
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(boolean(sd(27, "B_ALARM")), 1u);
    runPasses(ref_test::R80, 1);  // the list reads the 80 ms block through its next copy
    EXPECT_EQ(boolean(sd(27, "LIGHT")), 1u);
    EXPECT_EQ(boolean(sd(27, "HORN")), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 27);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    // A reset while the remote trip stands keeps it.
    runPasses(ref_test::R160, 8);  // past the shutdown's one-shot
    reset();
    EXPECT_EQ(boolean(sd(27, "B_ALARM")), 1u);
    tune("SD_LOGIC.RMT_TRIP.IN", 0);
    runPasses(ref_test::R80, 1);
    reset();
    runPasses(ref_test::R160, 2);
    EXPECT_EQ(boolean(sd(27, "B_ALARM")), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
}

// The window is open from power-up, closes once the power-up is over and
// the trips are reset, and opens again with the next shutdown, whose
// one-shot lasts 1.0 s from the pass the shutdown comes in.
TEST_F(TripCommands, AShutdownGivesAOneSecondPulseAndTheWindowFollowsPowerUpAndShutdown) {
    turbine::enable();
    contact(ref_test::kTripContact, true);
    startApp();
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 1u) << "power-up window";
    enterSettings(false, false);
    runPasses(ref_test::R160, 20);
    clearTrip();
    runPasses(ref_test::R160, 10);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 0u);
    trip();
    ASSERT_GE(passesUntil("SHUTDOWNS.ANY_SD.B_NAME", 20), 0);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 1u);
    runPasses(ref_test::R10, 98);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 1u) << "still within 1.0 s";
    runPasses(ref_test::R10, 3);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 1u) << "while shut down";
}

// The valve limiter in control (the condition of alarm 54): in control at
// rated, a third of rated torque on the shaft, the limiter lowered from the
// service tool.
class Limiter : public TripCommands {
protected:
    void atRated() {
        for (int ch = 0; ch < 4; ++ch) board::setAnalogInputMa(ch, 12.0);
        start(true, true);
        startToRated();
        turbine::setLoad(0.3);
        runPasses(ref_test::R160, 60);
    }
    // The limiter lowered until `done`.
    template <class Done>
    void lowerUntil(Done done) {
        for (int k = 0; k < 40000 && !done(); ++k) {
            if (k % 16 == 0) tune("IFACE_IN_VLV.RSE_LWR.IN_2", 1);
            run10(1);
        }
        tune("IFACE_IN_VLV.RSE_LWR.IN_2", 0);
        run160(2);
    }
    bool selected() { return on("HP_DRIVER.ACT_LSS.SEL_2"); }
    float limiter() { return real("IFACE_IN_VLV.V1LMTR_VAL.A_NAME"); }
};

// Above minimum governor: not selected while it stands open, selected and
// in control once lowered below the demand, and no longer once shut down.
TEST_F(Limiter, InControlOnlyWhenSelectedAndRunning) {
    atRated();
    EXPECT_EQ(boolean("ALM_LOGIC.DELAY.DELAY"), 1u);
    EXPECT_FALSE(selected()) << "the limiter stands open";
    EXPECT_EQ(boolean("ALM_LOGIC.VLV_LIM_ALM.AND"), 0u);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 0u);
    lowerUntil([&] { return selected(); });
    EXPECT_EQ(boolean("ALM_LOGIC.DELAY.DELAY"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.VLV_LIM_ALM.AND"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 1u);
    tune("SHUTDOWNS.TUNABLE_TRIP.IN", 1);
    for (int k = 0; k < 2000 && on("SHUTDOWNS.NOT_SD.NOT"); ++k) run10(1);
    run160(1);
    EXPECT_EQ(boolean("ALM_LOGIC.VLV_LIM_ALM.AND"), 0u) << "shut down";
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 0u);
}

// The shaft held below minimum governor, then above it (below the
// reference, so that the speed controller asks for more than the limiter): the limiter counts as in control
// 5.0 s after the speed has come above minimum governor, and is held 2.0 s
// after it has fallen below again.
TEST_F(Limiter, CountsAfterFiveSecondsAboveMinimumGovernorAndHoldsTwo) {
    atRated();
    lowerUntil([&] { return limiter() < 10.0f; });
    holdShaftAt(2000.0);
    for (int k = 0; k < 200 && on("ALM_LOGIC.DELAY.DELAY"); ++k) run160(1);
    ASSERT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 0u);
    holdShaftAt(3100.0);
    int k = 0;
    for (; k < 100 && !on("SPDC.ABOV_MING.OR"); ++k) run160(1);
    ASSERT_LT(k, 100) << "never above minimum governor";
    // The pass that first sees it above is the first of the delay.
    runPasses(ref_test::R160, 31);
    ASSERT_TRUE(selected()) << "the limiter below the demand";
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 0u) << "the timer reaches 5.0 s in the 33rd pass";
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 1u);
    holdShaftAt(2000.0);
    for (k = 0; k < 100 && on("SPDC.ABOV_MING.OR"); ++k) run160(1);
    ASSERT_LT(k, 100) << "never below minimum governor";
    runPasses(ref_test::R160, 12);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 1u) << "held 2.0 s, ended in the 14th pass";
    runPasses(ref_test::R160, 1);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 0u);
}

// The gates of the condition that no input reaches, each alone, with the
// cells set on the limiter's own slices: the zero-demand step (in it the
// speed controller's demand is zero, so the limiter is never strictly below
// it and never selected), the select's high limit (the limiter is selected
// only strictly below the speed controller's demand, itself at most the
// limit) and a shutdown while the limiter stays selected (the speed
// controller's demand falls to zero with the shutdown) are states no input
// reaches.
class LimiterGates : public ProtectionRig {
protected:
    void SetUp() override {
        ProtectionRig::SetUp();
        useSlices(pr_test::R160, {_R160_TASK_48, r160::ALM_LOGIC_limiter});
    }
};

struct LimiterCase {
    const char* name;
    int selected, zero_demand, not_sd, hi_lim_not;
    uint32_t on;
};

class LimiterGate : public LimiterGates, public ::testing::WithParamInterface<LimiterCase> {};

TEST_P(LimiterGate, OnlyWhenSelectedOutsideZeroDemandRunningAndBelowItsLimit) {
    const LimiterCase& c = GetParam();
    start();
    setCell("SPDC.ABOV_MING.OR", 1);
    setCell("IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME", c.selected);
    setCell("SPDC.A00_STEP.SFC_STEP", c.zero_demand);
    setCell("SHUTDOWNS.NOT_SD.NOT", c.not_sd);
    setCell("ALM_LOGIC.ACT_LSS_HI_LIM_NOT.NOT", c.hi_lim_not);
    runPasses(pr_test::R160, 34);
    EXPECT_EQ(boolean("ALM_LOGIC.DELAY.DELAY"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.VLV_LIM_ALM.AND"), c.on);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), c.on);
}

INSTANTIATE_TEST_SUITE_P(Cases, LimiterGate,
                         ::testing::Values(LimiterCase{"in_control", 1, 0, 1, 1, 1},
                                           LimiterCase{"zero_demand_step", 1, 1, 1, 1, 0},
                                           LimiterCase{"shut_down", 1, 0, 0, 1, 0},
                                           LimiterCase{"at_its_high_limit", 1, 0, 1, 0, 0}),
                         [](const ::testing::TestParamInfo<LimiterCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace pr_test
