// The protection pieces beside the trip list, through real passes: the 80 ms
// trip commands (delayed keypad trip, remote trip with its local inhibit and
// delay, trip command) with trip 27 entering the shutdown list; the shutdown
// one-shot and the shutdown-or-power-up window of the 10 ms group; and the
// valve limiter in control of the 160 ms group.
#include <string>

#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/protection/SD_LOGIC_trip_cmd.rows.h"
#include "tests/protection/protection_rig.h"

namespace pr_test {
namespace {

class TripCommands : public ProtectionRig {
protected:
    void SetUp() override {
        ProtectionRig::SetUp();
        useSlices(R10, {startUpInFirstFrame, _R10_TASK_1, clockAndTrip1, _R10_TASK_3, _R10_TASK_4, _R10_TASK_8,
                        _R10_TASK_9, _R10_TASK_10, _R10_TASK_11});
        useSlices(R80, {r80::SD_LOGIC_trip_commands});
        useSlices(R160, {_R160_TASK_48, r160::ALM_LOGIC_limiter});
    }
    // Seconds of the 80 ms group as passes.
    void run80(float seconds) { runPasses(R80, static_cast<uint32_t>(seconds / 0.08f + 0.5f)); }
};

TEST_F(TripCommands, TheKeypadTripIsDelayedAndHoldsOffTheRemoteTripForASecond) {
    start();
    setCell("ORVEX12_IO.KEYPAD.TRIP", 1);
    runPasses(R80, 25);
    EXPECT_EQ(boolean("SD_LOGIC.DELAY.DELAY"), 0u) << "the timer reaches 2.0 s in the 26th pass";
    runPasses(R80, 2);
    EXPECT_EQ(boolean("SD_LOGIC.DELAY.DELAY"), 1u);
    EXPECT_EQ(boolean("SD_LOGIC.NOT_LOCAL.NOT"), 0u);
    EXPECT_EQ(boolean("SD_LOGIC.RMT_TRIP_OR.OR"), 1u) << "the key itself";
    // A remote trip set while the key is held waits for 1 s after it is released.
    setCell("SD_LOGIC.USE_RMTTRIP.IN", 1);
    runPasses(R160, 2);
    setCell("SD_LOGIC.RMT_TRIP.IN", 1);
    setCell("ORVEX12_IO.KEYPAD.TRIP", 0);
    runPasses(R80, 1);
    EXPECT_EQ(boolean("SD_LOGIC.DELAY.DELAY"), 0u) << "the delay ends with the key";
    EXPECT_EQ(boolean("SD_LOGIC.ENA_RV_TRIP.AND"), 0u);
    runPasses(R80, 12);
    EXPECT_EQ(boolean("SD_LOGIC.ENA_RV_TRIP.AND"), 0u) << "1.04 s after the release";
    runPasses(R80, 1);
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
    start();
    run80(1.2f);  // past the local inhibit of the start
    setCell("ORVEX12_IO.KEYPAD.TRIP", c.key);
    setCell("SD_LOGIC.USE_RMTTRIP.IN", c.use_rmttrip);
    setCell("SD_LOGIC.USE_DELAY.IN", c.use_delay);
    runPasses(R160, 2);  // the settings reach the 80 ms group
    setCell("SD_LOGIC.RMT_TRIP.IN", c.rmt_trip);
    run80(c.after);
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
    start();
    run80(1.2f);
    setCell("SHUTDOWNS.SD_OVRDS.LIST_27", 1);
    runPasses(R160, 1);
    setCell("SD_LOGIC.USE_RMTTRIP.IN", 1);
    setCell("SD_LOGIC.RMT_TRIP.IN", 1);
    runPasses(R160, 2);
    EXPECT_EQ(boolean("SD_LOGIC.RV_TRIP.B_SW"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_27.B_ALARM"), 0u) << "overridden";
    setCell("SHUTDOWNS.SD_OVRDS.LIST_27", 0);
    runPasses(R160, 2);
    EXPECT_EQ(boolean(sd(27, "B_ALARM")), 1u);
    EXPECT_EQ(boolean(sd(27, "LIGHT")), 1u);
    EXPECT_EQ(boolean(sd(27, "HORN")), 1u);
    EXPECT_EQ(integer("SHUTDOWNS.ANY.FIRST_ALM"), 27);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    // A reset while the remote trip stands keeps it.
    resetShutdowns();
    EXPECT_EQ(boolean(sd(27, "B_ALARM")), 1u);
    setCell("SD_LOGIC.RMT_TRIP.IN", 0);
    runPasses(R80, 1);
    resetShutdowns();
    EXPECT_EQ(boolean(sd(27, "B_ALARM")), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
}

TEST_F(TripCommands, AShutdownGivesAOneSecondPulseAndTheWindowFollowsPowerUpAndShutdown) {
    start(false);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 1u) << "power-up window";
    runPasses(R10, 150);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 0u);
    raiseUnderspeedAtEndOf160();
    runPasses(R10, kUnderspeedLatchPass - 1);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 0u);
    runPasses(R10, 1);
    EXPECT_EQ(boolean("SHUTDOWNS.ANY_SD.B_NAME"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 1u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 1u);
    runPasses(R10, 98);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 1u) << "still within 1.0 s";
    runPasses(R10, 3);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_SHOOT.ONE_SHOT"), 0u);
    EXPECT_EQ(boolean("SHUTDOWNS.SD_PWRUP.OR"), 1u) << "while shut down";
}

struct LimiterCase {
    const char* name;
    int selected, zero_demand, not_sd, hi_lim_not;
    uint32_t on;
};

class LimiterInControl : public TripCommands, public ::testing::WithParamInterface<LimiterCase> {};

// The reference above minimum governor for 5.0 s (the on-delay), then each
// condition alone.
TEST_P(LimiterInControl, OnlyWhenSelectedOutsideZeroDemandRunningAndBelowItsLimit) {
    const LimiterCase& c = GetParam();
    start();
    setCell("SPDC.ABOV_MING.OR", 1);
    setCell("IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME", c.selected);
    setCell("SPDC.A00_STEP.SFC_STEP", c.zero_demand);
    setCell("SHUTDOWNS.NOT_SD.NOT", c.not_sd);
    setCell("ALM_LOGIC.ACT_LSS_HI_LIM_NOT.NOT", c.hi_lim_not);
    runPasses(R160, 34);
    EXPECT_EQ(boolean("ALM_LOGIC.DELAY.DELAY"), 1u);
    EXPECT_EQ(boolean("ALM_LOGIC.VLV_LIM_ALM.AND"), c.on);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), c.on);
}

INSTANTIATE_TEST_SUITE_P(Cases, LimiterInControl,
                         ::testing::Values(LimiterCase{"in_control", 1, 0, 1, 1, 1},
                                           LimiterCase{"not_selected", 0, 0, 1, 1, 0},
                                           LimiterCase{"zero_demand_step", 1, 1, 1, 1, 0},
                                           LimiterCase{"shut_down", 1, 0, 0, 1, 0},
                                           LimiterCase{"at_its_high_limit", 1, 0, 1, 0, 0}),
                         [](const ::testing::TestParamInfo<LimiterCase>& i) { return std::string(i.param.name); });

TEST_F(TripCommands, TheLimiterCountsAfterFiveSecondsAboveMinimumGovernorAndHoldsTwo) {
    start();
    setCell("IFACE_OUT_VLV.ACT_LSS_SEL_2.B_NAME", 1);
    setCell("SHUTDOWNS.NOT_SD.NOT", 1);
    setCell("ALM_LOGIC.ACT_LSS_HI_LIM_NOT.NOT", 1);
    runPasses(R160, 2);
    setCell("SPDC.ABOV_MING.OR", 1);
    runPasses(R160, 31);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 0u) << "the timer reaches 5.0 s in the 33rd pass";
    runPasses(R160, 2);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 1u);
    setCell("SPDC.ABOV_MING.OR", 0);
    runPasses(R160, 11);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 1u) << "held 2.0 s, ended in the 14th pass";
    runPasses(R160, 3);
    EXPECT_EQ(boolean("ALM_LOGIC.ON_LIMITER.B_NAME"), 0u);
}

}  // namespace
}  // namespace pr_test
