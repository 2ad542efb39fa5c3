// Model of the turbine the controller drives: a rotor whose shaft speed
// follows the steam torque against the load, turning the wheels of both
// speed sensors. It closes the loop for software-in-the-loop runs and tests.
//
// Per unit: speed in rated speed, torques in rated torque. Once per 5 ms
// tick, while enabled,
//   steam torque  = valveGain * (I - closedMa), never below 0, where I is the
//                   current that flows in the actuator's current loop as the
//                   board model has it (board::loopCurrentMa)
//   friction      = frictionPu * speed (friction and windage)
//   speed        += 0.005 s / inertiaTimeS * (steam - load - friction),
//                   never below 0 (the load does not turn the shaft backwards)
//                   nor above kMaxSpeedPu
// and both speed-sensor channels are set to the new shaft speed from the
// tick on (tooth frequency = rpm * gear * teeth / 60).
//
// Off by default: nothing moves until enable(). While enabled, the model
// owns both speed-sensor channels; it rides on the kernel's tick (see
// hk::addTickHook), so it advances in simulated and in real time alike.
//
// All functions are thread-safe (the model's state is guarded by the
// board's lock); tick() is what the kernel calls at every tick.
#pragma once

#include "drivers/ZarnActuator.h"

namespace turbine {

struct Settings {
    // Mechanical starting time: seconds for rated torque to accelerate the
    // rotor from standstill to rated speed (twice the inertia constant H).
    double inertiaTimeS = 10.0;
    double ratedRpm = 3600.0;
    // Steam torque per mA of actuator current above closedMa: the default
    // gives 1.25 rated torque at 20 mA, the top of the 4 .. 20 mA range.
    double valveGain = 1.25 / 16.0;
    // Actuator current at which the valve just closes, within the
    // actuator's current range (0 .. kMaxClosedMa).
    double closedMa = 4.0;
    // Friction and windage torque at rated speed (proportional to speed).
    double frictionPu = 0.02;
    // Current loop of the actuator that positions the valve (6 or 7).
    int actuatorLoop = 6;
    // Speed-sensor wheels, channels 0 and 1, as the application configures
    // them (teeth, gear ratio to the turbine shaft).
    int teeth[2] = {60, 60};
    double gear[2] = {1.0, 1.0};
};

// Off, default settings, shaft at standstill, no load, no failed sensor,
// peak forgotten.
void reset();

// The shortest starting time the model steps through: one 5 ms tick.
constexpr double kMinInertiaS = 0.005;

// The top of the actuator's current range (its high range), mA: the
// highest closing current a valve can have. A tripped unit switches its
// actuator off, so its loop carries no current: a valve that closes below
// 0 mA would stay open and turn a tripped unit's shaft by itself, whatever
// the gain. With closedMa from 0 the steam torque at no current is 0 for
// every gain, so no setting the model takes turns a tripped unit's shaft.
constexpr double kMaxClosedMa = kZarnActHighMaxMa;

// Tooth frequency of channel `ch`'s wheel at the model's top speed
// (kMaxSpeedPu times rated).
double topToothHz(const Settings& settings, int ch);

// Settings take effect at the next tick. A setting out of its sense
// (inertiaTimeS below kMinInertiaS, ratedRpm not above 0, a negative gain
// or friction, closedMa outside 0 .. kMaxClosedMa, an actuator loop other
// than 6 or 7, teeth below 1, gear not above 0) or one that turns a wheel at top speed faster than the speed
// input reads (speedsensor::kHighestReadHz) is refused: returns false and
// changes nothing.
bool configure(const Settings& settings);
Settings settings();

// Switching on sets both sensors to the shaft speed at once and integrates
// from the next tick; switching off freezes the shaft where it is (the
// sensors keep turning at that speed).
void enable();
void disable();
bool enabled();

// Load torque, per unit of rated torque (0 = no load; never below 0).
void setLoad(double pu);
double load();
// Load rejection: the load drops by `fraction` (0 .. 1) of itself at once
// (a breaker opening with 1.0).
void rejectLoad(double fraction = 1.0);

// The model's range of shaft speeds: 0 to this many times rated speed. The
// shaft never turns faster, whatever the steam or a speed put.
constexpr double kMaxSpeedPu = 2.0;

// Shaft speed now.
double speedRpm();
double speedPu();
// Puts the shaft at `rpm` (a start state), held within the model's range
// (a speed that is not a number changes nothing); the sensors follow at
// once when enabled.
void setSpeedRpm(double rpm);

// Highest shaft speed since reset(), clearPeak() or setSpeedRpm().
double peakRpm();
void clearPeak();

// What the last tick saw: the actuator current (mA) and the steam torque (pu).
double actuatorMa();
double steamTorquePu();

// A failed speed sensor gives no pulses whatever the shaft does, until
// restored with failed = false.
void failSensor(int ch, bool failed = true);

// One 5 ms step of the model (the kernel's tick hook while enabled; does
// nothing while off). Returns at once when disabled.
void tick();

}  // namespace turbine
