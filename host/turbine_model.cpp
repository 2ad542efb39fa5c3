// The turbine rotor on the kernel's tick, driving the speed sensors.
#include "host/turbine_model.h"

#include <cmath>

#include "host/board.h"
#include "host/current_loops.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"

namespace turbine {
namespace {

constexpr double kTickS = static_cast<double>(hk::kTickNs) * 1e-9;
constexpr int kNoHook = 0;

struct State {
    Settings settings;
    bool enabled = false;
    int hook = kNoHook;
    double speedPu = 0.0;
    double peakPu = 0.0;
    double loadPu = 0.0;
    double actuatorMa = 0.0;
    double steamPu = 0.0;
    bool failed[2] = {false, false};
    // Tooth frequency last given to each sensor (-1: none yet), so that a
    // steady shaft leaves the sensor model alone.
    double sentHz[2] = {-1.0, -1.0};
};

State model;  // guarded by the board's lock

double notBelowZero(double v) { return v > 0.0 ? v : 0.0; }

// A shaft speed within the model's range.
double inRange(double pu) { return pu < kMaxSpeedPu ? notBelowZero(pu) : kMaxSpeedPu; }

bool sane(const Settings& s) {
    if (!(s.inertiaTimeS >= kMinInertiaS) || !(s.ratedRpm > 0.0)) return false;
    if (!(s.valveGain >= 0.0) || !(s.frictionPu >= 0.0)) return false;
    if (!(s.closedMa >= 0.0 && s.closedMa <= kMaxClosedMa)) return false;
    if (s.actuatorLoop != 6 && s.actuatorLoop != 7) return false;
    for (int ch = 0; ch < 2; ++ch) {
        if (s.teeth[ch] < 1 || !(s.gear[ch] > 0.0)) return false;
        if (!(topToothHz(s, ch) <= speedsensor::kHighestReadHz)) return false;
    }
    return true;
}

double toothHz(const State& m, int ch) {
    if (m.failed[ch]) return 0.0;
    return m.speedPu * m.settings.ratedRpm * m.settings.gear[ch] * m.settings.teeth[ch] / 60.0;
}

// Gives both sensors the shaft speed from now on (board's lock held).
void driveSensors(State& m) {
    for (int ch = 0; ch < 2; ++ch) {
        const double hz = toothHz(m, ch);
        if (hz == m.sentHz[ch]) continue;
        speedsensor::setToothFrequency(ch, hz);
        m.sentHz[ch] = hz;
    }
}

void setSpeedLocked(State& m, double pu) {
    if (std::isnan(pu)) return;  // no speed at all: the shaft keeps its own
    m.speedPu = inRange(pu);
    m.peakPu = m.speedPu;
    if (m.enabled) driveSensors(m);
}

}  // namespace

double topToothHz(const Settings& s, int ch) {
    return kMaxSpeedPu * s.ratedRpm * s.gear[ch] * s.teeth[ch] / 60.0;
}

void reset() {
    disable();
    auto g = board::lock();
    model = State{};
}

bool configure(const Settings& settings) {
    if (!sane(settings)) return false;
    auto g = board::lock();
    // The shaft keeps its speed in rpm across a change of rated speed.
    const double rpm = model.speedPu * model.settings.ratedRpm;
    const double peak = model.peakPu * model.settings.ratedRpm;
    model.settings = settings;
    model.speedPu = rpm / settings.ratedRpm;
    model.peakPu = peak / settings.ratedRpm;
    if (model.enabled) driveSensors(model);
    return true;
}

Settings settings() {
    auto g = board::lock();
    return model.settings;
}

void enable() {
    {
        auto g = board::lock();
        if (model.enabled) return;
        model.enabled = true;
        model.sentHz[0] = model.sentHz[1] = -1.0;
        driveSensors(model);
        if (model.hook != kNoHook) return;
    }
    // Outside the board's lock: the kernel's lock comes first wherever both
    // are taken (a tick takes the board's lock inside the kernel).
    const int id = hk::addTickHook(tick);
    auto g = board::lock();
    model.hook = id;
}

void disable() {
    int hook = kNoHook;
    {
        auto g = board::lock();
        model.enabled = false;
        hook = model.hook;
        model.hook = kNoHook;
    }
    if (hook != kNoHook) hk::removeTickHook(hook);
}

bool enabled() {
    auto g = board::lock();
    return model.enabled;
}

void setLoad(double pu) {
    auto g = board::lock();
    model.loadPu = notBelowZero(pu);
}

double load() {
    auto g = board::lock();
    return model.loadPu;
}

void rejectLoad(double fraction) {
    const double f = fraction < 0.0 ? 0.0 : (fraction > 1.0 ? 1.0 : fraction);
    auto g = board::lock();
    model.loadPu *= 1.0 - f;
}

double speedPu() {
    auto g = board::lock();
    return model.speedPu;
}

double speedRpm() {
    auto g = board::lock();
    return model.speedPu * model.settings.ratedRpm;
}

void setSpeedRpm(double rpm) {
    auto g = board::lock();
    setSpeedLocked(model, rpm / model.settings.ratedRpm);
}

double peakRpm() {
    auto g = board::lock();
    return model.peakPu * model.settings.ratedRpm;
}

void clearPeak() {
    auto g = board::lock();
    model.peakPu = model.speedPu;
}

double actuatorMa() {
    auto g = board::lock();
    return model.actuatorMa;
}

double steamTorquePu() {
    auto g = board::lock();
    return model.steamPu;
}

void failSensor(int ch, bool failed) {
    if (ch != 0 && ch != 1) return;
    auto g = board::lock();
    model.failed[ch] = failed;
    if (model.enabled) driveSensors(model);
}

void tick() {
    auto g = board::lock();
    State& m = model;
    if (!m.enabled) return;
    const Settings& s = m.settings;
    m.actuatorMa = board::loopCurrentMa(s.actuatorLoop);
    m.steamPu = notBelowZero(s.valveGain * (m.actuatorMa - s.closedMa));
    const double net = m.steamPu - m.loadPu - s.frictionPu * m.speedPu;
    m.speedPu = inRange(m.speedPu + kTickS / s.inertiaTimeS * net);
    if (m.speedPu > m.peakPu) m.peakPu = m.speedPu;
    driveSensors(m);
}

}  // namespace turbine
