// The turbine model on the kernel's tick: actuator current in through the
// board's current loops, shaft speed out through the speed-sensor registers.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/current_loops.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"
#include "host/turbine_model.h"

namespace {

constexpr double kLowCountsPerMa = 517.86;  // the actuator's low range
constexpr uint64_t kTicksPerSecond = 200;

// Drives `mA` on actuator loop 6 or 7 as the CPU would: outputs released,
// the actuator enabled in its low range, the PWM count for the current.
void driveActuator(int loop, double mA) {
    const uint16_t enable = loop == 6 ? ZARN_CTRL_ACT6_ENABLE : ZARN_CTRL_ACT7_ENABLE;
    board::cpuWrite16(ZARN_CTRL, static_cast<uint16_t>(board::controlRegister() | ZARN_CTRL_OUTPUTS_RELEASED | enable));
    board::cpuWrite16(loop == 6 ? ZARN_ACT6_COUNT : ZARN_ACT7_COUNT,
                      static_cast<uint16_t>(std::lround(mA * kLowCountsPerMa)));
}

class TurbineModel : public ::testing::Test {
protected:
    void SetUp() override {
        turbine::reset();
        board::reset();
        speedsensor::install();
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override {
        turbine::reset();
        hk::shutdown();
    }
    static void runSeconds(double s) { hk::runTicks(static_cast<uint64_t>(std::lround(s * kTicksPerSecond))); }
    // Friction off unless a case asks for it: the torques are then exact.
    static turbine::Settings frictionless() {
        turbine::Settings s;
        s.frictionPu = 0.0;
        return s;
    }
};

TEST_F(TurbineModel, OffByDefaultNothingTurns) {
    EXPECT_FALSE(turbine::enabled());
    driveActuator(6, 20.0);
    turbine::setSpeedRpm(3000.0);
    runSeconds(1.0);
    EXPECT_DOUBLE_EQ(turbine::speedRpm(), 3000.0);  // not integrated
    EXPECT_EQ(speedsensor::toothFrequency(0), 0.0);  // nor given to the sensors
    EXPECT_EQ(speedsensor::toothFrequency(1), 0.0);
    // Switched on and off again, the shaft freezes where it is.
    turbine::enable();
    runSeconds(0.5);
    const double step = turbine::speedRpm();
    hk::runTicks(1);
    const double stepRpm = turbine::speedRpm() - step;  // one tick's rise
    EXPECT_GT(stepRpm, 0.0);
    turbine::disable();
    EXPECT_FALSE(turbine::enabled());
    const double frozen = turbine::speedRpm();
    runSeconds(0.5);
    EXPECT_EQ(turbine::speedRpm(), frozen);
    EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(0), frozen);
    // On again, it takes the sensors back at once (whatever was done to them
    // meanwhile) and one step a tick, as before.
    speedsensor::setToothFrequency(0, 0.0);
    turbine::enable();
    EXPECT_TRUE(turbine::enabled());
    EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(0), frozen);
    hk::runTicks(1);
    EXPECT_NEAR(turbine::speedRpm() - frozen, stepRpm, 1e-3);
}

// From standstill without load or friction, the speed rises by
// steam torque / starting time per second.
struct RiseCase {
    const char* name;
    double inertiaS;
    int loop;
    double mA;
    double seconds;
    double expectedPu;
};

class TurbineRise : public TurbineModel, public ::testing::WithParamInterface<RiseCase> {};

TEST_P(TurbineRise, SpeedFollowsTheSteamTorqueWithTheStartingTime) {
    const RiseCase& c = GetParam();
    turbine::Settings s = frictionless();
    s.inertiaTimeS = c.inertiaS;
    s.actuatorLoop = c.loop;
    ASSERT_TRUE(turbine::configure(s));
    driveActuator(6, c.loop == 6 ? c.mA : 20.0);  // the other loop must not count
    driveActuator(7, c.loop == 7 ? c.mA : 20.0);
    turbine::enable();
    runSeconds(c.seconds);
    EXPECT_NEAR(turbine::speedPu(), c.expectedPu, 2e-4);
    EXPECT_NEAR(turbine::speedRpm(), c.expectedPu * 3600.0, 1.0);
    EXPECT_NEAR(turbine::actuatorMa(), c.mA, 0.002);
}

INSTANTIATE_TEST_SUITE_P(
    , TurbineRise,
    ::testing::Values(RiseCase{"FullCurrent", 10.0, 6, 20.0, 1.0, 0.125},      // 1.25 rated torque
                      RiseCase{"HalfTheStartingTime", 5.0, 6, 20.0, 1.0, 0.25},
                      RiseCase{"HalfTheTorque", 10.0, 6, 12.0, 2.0, 0.125},    // 0.625 rated torque
                      RiseCase{"OtherActuatorLoop", 10.0, 7, 20.0, 1.0, 0.125},
                      RiseCase{"ValveJustClosed", 10.0, 6, 4.0, 1.0, 0.0},
                      RiseCase{"BelowTheClosingCurrent", 10.0, 6, 2.0, 1.0, 0.0}),
    [](const ::testing::TestParamInfo<RiseCase>& info) { return std::string(info.param.name); });

// At rated speed with friction: the load that balances the steam torque
// holds the speed; a load rejection accelerates the rotor by the rejected
// load / starting time; with no actuator current it slows down by load and
// friction.
struct BalanceCase {
    const char* name;
    double rejected;   // fraction of the load rejected at the start
    double mA;         // actuator current after the rejection (-1: as before)
    double ratePuPerS; // speed change in the first half second
};

class TurbineBalance : public TurbineModel, public ::testing::WithParamInterface<BalanceCase> {};

TEST_P(TurbineBalance, LoadAgainstSteamTorque) {
    const BalanceCase& c = GetParam();
    constexpr double kBalanceMa = 16.0;  // 0.9375 rated torque
    driveActuator(6, kBalanceMa);
    turbine::setSpeedRpm(3600.0);
    turbine::enable();
    hk::runTicks(1);
    const double steam = turbine::steamTorquePu();
    EXPECT_NEAR(steam, 0.9375, 2e-4);
    turbine::setLoad(steam - 0.02);  // friction at rated speed takes the rest
    turbine::setSpeedRpm(3600.0);
    runSeconds(5.0);
    EXPECT_NEAR(turbine::speedRpm(), 3600.0, 1e-6);

    turbine::clearPeak();
    turbine::rejectLoad(c.rejected);
    if (c.mA >= 0.0) driveActuator(6, c.mA);
    runSeconds(0.5);
    const double rate = (turbine::speedPu() - 1.0) / 0.5;
    EXPECT_NEAR(rate, c.ratePuPerS, 2e-4);
    EXPECT_NEAR(turbine::peakRpm(), std::max(turbine::speedRpm(), 3600.0), 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    , TurbineBalance,
    ::testing::Values(BalanceCase{"NothingChanges", 0.0, -1.0, 0.0},
                      BalanceCase{"FullLoadRejection", 1.0, -1.0, 0.9175 / 10.0},
                      BalanceCase{"HalfLoadRejection", 0.5, -1.0, 0.9175 / 20.0},
                      BalanceCase{"NoCurrentWithLoad", 0.0, 0.0, -0.9375 / 10.0},
                      BalanceCase{"NoCurrentWithoutLoad", 1.0, 0.0, -0.02 / 10.0}),
    [](const ::testing::TestParamInfo<BalanceCase>& info) { return std::string(info.param.name); });

TEST_F(TurbineModel, WithoutCurrentTheShaftComesToRestAndStays) {
    turbine::setSpeedRpm(360.0);
    turbine::setLoad(0.5);
    turbine::enable();
    runSeconds(0.5);  // 0.1 of rated speed lost in 2 s at half the rated torque
    EXPECT_GT(turbine::speedRpm(), 0.0);
    runSeconds(2.0);
    EXPECT_EQ(turbine::speedRpm(), 0.0);  // the load does not turn it backwards
    EXPECT_EQ(speedsensor::toothFrequency(0), 0.0);
    EXPECT_DOUBLE_EQ(turbine::peakRpm(), 360.0);
    turbine::clearPeak();
    EXPECT_EQ(turbine::peakRpm(), 0.0);
    const uint64_t edges = speedsensor::edges(0);
    runSeconds(1.0);
    EXPECT_EQ(speedsensor::edges(0), edges);
}

// The shaft stays within the model's range: a speed put beyond it, or
// steam driving it there, holds it at twice rated; no speed at all
// changes nothing.
TEST_F(TurbineModel, TheShaftStaysWithinTheModelsRange) {
    turbine::enable();
    turbine::setSpeedRpm(1e30);
    EXPECT_EQ(turbine::speedRpm(), 7200.0);
    turbine::setSpeedRpm(std::nan(""));
    EXPECT_EQ(turbine::speedRpm(), 7200.0);
    driveActuator(6, 20.0);
    runSeconds(0.1);
    EXPECT_EQ(turbine::speedRpm(), 7200.0);
}

TEST_F(TurbineModel, TheSensorsSeeTheShaftThroughTheirWheels) {
    turbine::Settings s = frictionless();
    s.teeth[1] = 30;
    s.gear[1] = 2.0;
    ASSERT_TRUE(turbine::configure(s));
    turbine::setSpeedRpm(3000.0);
    turbine::enable();
    // Both wheels give 3000 teeth a second at 3000 rpm; with 2 teeth per
    // measurement period A counts 2 / 3000 s of 64 MHz.
    board::cpuWrite16(ZARN_TSS_TEETH0, 1);
    board::cpuWrite16(ZARN_TSS_TEETH0 + ZARN_TSS_STRIDE, 1);
    runSeconds(0.1);
    for (int ch : {0, 1}) {
        SCOPED_TRACE(ch);
        EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(ch), 3000.0);
        EXPECT_NEAR(board::cpuRead32(ZARN_TSS_PERIOD_A0 + static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE),
                    2.0 * 64e6 / 3000.0, 2.0);
    }
    // A failed sensor gives no pulses while the other follows the shaft.
    driveActuator(6, 20.0);
    turbine::failSensor(2);  // no such sensor: nothing changes
    for (int ch : {0, 1}) {
        SCOPED_TRACE(ch);
        const int other = 1 - ch;
        turbine::failSensor(ch);
        const double before = turbine::speedRpm();
        runSeconds(0.2);
        EXPECT_EQ(speedsensor::toothFrequency(ch), 0.0);
        EXPECT_NEAR(speedsensor::toothFrequency(other), turbine::speedRpm(), 1e-9);
        EXPECT_GT(turbine::speedRpm(), before);
        turbine::failSensor(ch, false);
        hk::runTicks(1);
        EXPECT_NEAR(speedsensor::toothFrequency(ch), turbine::speedRpm(), 1e-9);
    }
    // A new rated speed keeps the shaft's rpm.
    const double rpm = turbine::speedRpm();
    s.ratedRpm = 6000.0;
    ASSERT_TRUE(turbine::configure(s));
    EXPECT_NEAR(turbine::speedRpm(), rpm, 1e-9);
    EXPECT_NEAR(turbine::speedPu(), rpm / 6000.0, 1e-12);
}

TEST_F(TurbineModel, SettingsOutOfTheirSenseAreRefused) {
    struct Change {
        const char* name;
        void (*spoil)(turbine::Settings&);
    };
    const Change bad[] = {
        {"zero starting time", [](turbine::Settings& s) { s.inertiaTimeS = 0.0; }},
        {"no rated speed", [](turbine::Settings& s) { s.ratedRpm = 0.0; }},
        {"negative gain", [](turbine::Settings& s) { s.valveGain = -0.01; }},
        {"negative friction", [](turbine::Settings& s) { s.frictionPu = -0.01; }},
        {"closing current no number", [](turbine::Settings& s) { s.closedMa = NAN; }},
        // Outside the actuator's current range, 0 .. 210 mA.
        {"closing current below no current", [](turbine::Settings& s) { s.closedMa = -0.001; }},
        {"closing current above the actuator's top", [](turbine::Settings& s) { s.closedMa = 210.001; }},
        {"closing current infinite", [](turbine::Settings& s) { s.closedMa = INFINITY; }},
        {"loop 5", [](turbine::Settings& s) { s.actuatorLoop = 5; }},
        {"loop 8", [](turbine::Settings& s) { s.actuatorLoop = 8; }},
        {"no teeth", [](turbine::Settings& s) { s.teeth[1] = 0; }},
        {"no gear", [](turbine::Settings& s) { s.gear[0] = 0.0; }},
        {"starting time below a step", [](turbine::Settings& s) { s.inertiaTimeS = 0.0049; }},
        // 38600 Hz at twice 3000 rpm: faster than the speed input reads.
        {"a wheel beyond the speed input", [](turbine::Settings& s) { s.teeth[1] = 386; }},
        {"a gear beyond the speed input", [](turbine::Settings& s) { s.gear[0] = 6.44; }},
    };
    turbine::Settings good;
    good.ratedRpm = 3000.0;
    ASSERT_TRUE(turbine::configure(good));
    for (const Change& b : bad) {
        turbine::Settings s = good;
        b.spoil(s);
        EXPECT_FALSE(turbine::configure(s)) << b.name;
        EXPECT_EQ(turbine::settings().ratedRpm, 3000.0) << b.name;
    }
    // The edges that still make sense are taken.
    const Change edge[] = {
        {"no valve", [](turbine::Settings& s) { s.valveGain = 0.0; }},
        {"valve closed at no current", [](turbine::Settings& s) { s.closedMa = 0.0; }},
        {"valve closed at the actuator's top", [](turbine::Settings& s) { s.closedMa = 210.0; }},
        {"no friction", [](turbine::Settings& s) { s.frictionPu = 0.0; }},
        {"one tooth", [](turbine::Settings& s) { s.teeth[0] = 1; }},
        {"loop 7", [](turbine::Settings& s) { s.actuatorLoop = 7; }},
        {"a starting time of one step", [](turbine::Settings& s) { s.inertiaTimeS = 0.005; }},
        // 38500 Hz at twice 1500 rpm: the fastest the speed input reads.
        {"a wheel at the speed input's top", [](turbine::Settings& s) { s.teeth[1] = 770; }},
    };
    for (const Change& e : edge) {
        turbine::Settings s = good;
        s.ratedRpm = 1500.0;
        e.spoil(s);
        EXPECT_TRUE(turbine::configure(s)) << e.name;
        EXPECT_EQ(turbine::settings().ratedRpm, 1500.0) << e.name;
    }
    // Load never below 0; a rejection fraction is held to 0 .. 1.
    turbine::setLoad(-1.0);
    EXPECT_EQ(turbine::load(), 0.0);
    turbine::setLoad(0.8);
    turbine::rejectLoad(-0.5);
    EXPECT_EQ(turbine::load(), 0.8);
    turbine::rejectLoad(0.25);
    EXPECT_NEAR(turbine::load(), 0.6, 1e-12);
    turbine::rejectLoad(2.0);
    EXPECT_EQ(turbine::load(), 0.0);
    // reset() brings back the defaults: off, standing, no load.
    turbine::setLoad(0.4);
    turbine::setSpeedRpm(1200.0);
    turbine::failSensor(0);
    turbine::enable();
    turbine::reset();
    EXPECT_FALSE(turbine::enabled());
    EXPECT_EQ(turbine::settings().ratedRpm, 3600.0);
    EXPECT_EQ(turbine::load(), 0.0);
    EXPECT_EQ(turbine::speedRpm(), 0.0);
    EXPECT_EQ(turbine::peakRpm(), 0.0);
    turbine::setSpeedRpm(600.0);
    turbine::enable();
    EXPECT_DOUBLE_EQ(speedsensor::toothFrequency(0), 600.0);  // sensor 0 no longer failed
}

// A tripped unit switches its actuator off: no current flows, and with the
// valve closing anywhere in the actuator's range (0 .. 210 mA) no steam
// reaches the shaft whatever the gain; it stays at rest. Just above the
// closing current the same valve turns it.
TEST_F(TurbineModel, ATrippedUnitsShaftStaysStillAtTheEndsOfTheClosingRange) {
    constexpr double kHighCountsPerMa = 67.546;  // the actuator's high range
    for (const double closedMa : {0.0, 210.0}) {
        SCOPED_TRACE(closedMa);
        turbine::Settings s = frictionless();
        s.valveGain = 100.0;
        s.closedMa = closedMa;
        ASSERT_TRUE(turbine::configure(s));
        turbine::setSpeedRpm(0.0);
        // Tripped: the actuator's enable bit clear, its count left as it was.
        driveActuator(6, 20.0);
        board::cpuWrite16(ZARN_CTRL, static_cast<uint16_t>(board::controlRegister() & ~ZARN_CTRL_ACT6_ENABLE));
        turbine::enable();
        runSeconds(2.0);
        EXPECT_EQ(turbine::actuatorMa(), 0.0);
        EXPECT_EQ(turbine::steamTorquePu(), 0.0);
        EXPECT_EQ(turbine::speedRpm(), 0.0);
        // On again in the high range, 0.05 mA above the closing current
        // (the driver's top count gives 206 mA: a valve closed at 210 mA
        // never opens).
        const double mA = std::min(closedMa + 0.05, 13937.561 / kHighCountsPerMa);
        board::cpuWrite16(ZARN_CTRL, static_cast<uint16_t>(board::controlRegister() | ZARN_CTRL_ACT6_ENABLE |
                                                            ZARN_CTRL_ACT6_HIGH));
        board::cpuWrite16(ZARN_ACT6_COUNT, static_cast<uint16_t>(mA * kHighCountsPerMa));
        runSeconds(0.1);
        if (closedMa == 0.0) {
            EXPECT_NEAR(turbine::steamTorquePu(), 100.0 * turbine::actuatorMa(), 1e-9);
            EXPECT_GT(turbine::speedRpm(), 0.0);
        } else {
            EXPECT_GT(turbine::actuatorMa(), 206.0);
            EXPECT_EQ(turbine::speedRpm(), 0.0);
        }
        turbine::disable();
        board::cpuWrite16(ZARN_CTRL, 0);
    }
}

// The model rides on the tick in real time as well: one step for every
// tick the real clock gives while it is on.
TEST(TurbineModelRealTime, AdvancesWithTheRealClock) {
    turbine::reset();
    board::reset();
    speedsensor::install();
    turbine::Settings s;
    s.frictionPu = 0.0;
    ASSERT_TRUE(turbine::configure(s));
    hk::start(hk::ClockMode::RealTime);
    driveActuator(6, 20.0);
    // Ticks counted around each switch: those between the inner counts are
    // surely stepped (the last of them perhaps just after the switch-off),
    // none outside the outer counts.
    const uint64_t before = hk::ticks();
    turbine::enable();
    const uint64_t on = hk::ticks();
    // At least 20 ticks while on: a loaded host may drop ticks it could not
    // run in time, so the wait is for the ticks, within a bound.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (hk::ticks() - on < 20 && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const uint64_t stillOn = hk::ticks();
    turbine::disable();
    const uint64_t after = hk::ticks();
    const double pu = turbine::speedPu();
    hk::shutdown();
    turbine::reset();
    constexpr double kStep = 1.25 * 0.005 / 10.0;  // 1.25 rated torque, 5 ms of a 10 s starting time
    EXPECT_GE(stillOn - on, 20u);
    EXPECT_GE(pu, (static_cast<double>(stillOn - on) - 1.0) * kStep - 1e-9);
    EXPECT_LE(pu, static_cast<double>(after - before) * kStep + 1e-9);
}

}  // namespace
