// Current loops of the PWM outputs and their readback ADC.
#include "host/current_loops.h"

#include <cmath>

#include "drivers/zarn_regs.h"

namespace board {
namespace {

constexpr double kComplianceV = 24.0;
constexpr double kAoutCountsPerMa = 568.89;
constexpr double kActHighCountsPerMa = 67.546;
constexpr double kActLowCountsPerMa = 517.86;
constexpr int kFirstActuator = 6;

struct Loop {
    double ohms = 250.0;
    LoopFault fault = LoopFault::None;
    double drift = 0.0;
};

struct Model {
    Loop loop[kCurrentLoops];
    Model() {
        loop[6].ohms = 40.0;
        loop[7].ohms = 40.0;
    }
};

// Guarded by the board's lock, which the register callbacks always hold.
Model model;

bool validLoop(int ch) { return ch >= 0 && ch < kCurrentLoops; }

Loop loopOf(int ch) {
    auto g = lock();
    return model.loop[ch];
}

// What the FPGA drives on loop ch: the current the driver pushes, mA, and
// for an actuator whether its high range is on. Reads registers only.
struct Drive {
    double mA;
    bool high;
};
Drive driveOf(int ch) {
    const uint16_t control = peek16(ZARN_CTRL);
    if ((control & ZARN_CTRL_OUTPUTS_RELEASED) == 0) return {0.0, false};
    if (ch < kFirstActuator) return {peek16(zarnAoutCountReg(ch + 1)) / kAoutCountsPerMa, false};
    const bool six = ch == kFirstActuator;
    const bool enabled = (control & (six ? ZARN_CTRL_ACT6_ENABLE : ZARN_CTRL_ACT7_ENABLE)) != 0;
    const bool high = (control & (six ? ZARN_CTRL_ACT6_HIGH : ZARN_CTRL_ACT7_HIGH)) != 0;
    if (!enabled) return {0.0, high};
    const double count = peek16(six ? ZARN_ACT6_COUNT : ZARN_ACT7_COUNT);
    return {count / (high ? kActHighCountsPerMa : kActLowCountsPerMa), high};
}

// The current through the load: the driver's current unless the load needs
// more than the compliance voltage.
double throughLoad(double mA, const Loop& l) {
    if (l.ohms <= 0.0) return mA;
    const double limit = kComplianceV / l.ohms * 1000.0;
    return mA < limit ? mA : limit;
}

struct Currents {
    double source;
    double ret;
};
Currents currentsOf(int ch, const Drive& d, const Loop& l) {
    switch (l.fault) {
        case LoopFault::OpenWire: return {0.0, 0.0};
        case LoopFault::ShortToGround: return {d.mA * (1.0 + l.drift), 0.0};
        case LoopFault::None: break;
    }
    (void)ch;
    const double i = throughLoad(d.mA, l) * (1.0 + l.drift);
    return {i, i};
}

uint16_t toCode(double value) {
    const double code = std::round(value);
    if (!(code > 0.0)) return 0;
    return code > 4095.0 ? uint16_t{4095} : static_cast<uint16_t>(code);
}

// The ADC's codes for the currents: the conversions the readback driver
// inverts (an analog output's source channel reads 0 mA at mid-scale).
uint16_t sourceCode(int ch, const Drive& d, double mA) {
    if (ch < kFirstActuator) return toCode((mA + 40.96048) / 0.04002001);
    return toCode(mA / (d.high ? 0.4002 : 0.0522));
}
uint16_t returnCode(int ch, double mA) { return toCode(mA / (ch < kFirstActuator ? 0.01235 : 0.2001)); }

// Readback channel of a register, and whether it is the return register.
int channelOf(uint32_t address, bool* isReturn) {
    const uint32_t offset = address - ZARN_READBACK_FIRST;  // 0..0x1E
    *isReturn = (offset & 0x8u) != 0;
    const uint32_t pair = (offset & 0x7u) / 2u;
    const uint32_t odd = (offset & 0x10u) != 0 ? 1u : 0u;
    return static_cast<int>(2u * pair + odd);
}

}  // namespace

void setLoopLoad(int ch, double ohms) {
    if (!validLoop(ch)) return;
    auto g = lock();
    model.loop[ch].ohms = ohms;
}

void setLoopFault(int ch, LoopFault fault) {
    if (!validLoop(ch)) return;
    auto g = lock();
    model.loop[ch].fault = fault;
}

void setLoopDrift(int ch, double fraction) {
    if (!validLoop(ch)) return;
    auto g = lock();
    model.loop[ch].drift = fraction;
}

double loopCurrentMa(int ch) {
    if (!validLoop(ch)) return 0.0;
    const Drive d = driveOf(ch);
    return currentsOf(ch, d, loopOf(ch)).source;
}

uint16_t loopSourceCode(int ch) {
    if (!validLoop(ch)) return 0;
    const Drive d = driveOf(ch);
    return sourceCode(ch, d, currentsOf(ch, d, loopOf(ch)).source);
}

uint16_t loopReturnCode(int ch) {
    if (!validLoop(ch)) return 0;
    const Drive d = driveOf(ch);
    return returnCode(ch, currentsOf(ch, d, loopOf(ch)).ret);
}

void resetCurrentLoops() {
    auto g = lock();
    model = Model{};
}

Behaviour currentLoopBehaviour() {
    return Behaviour{[](uint32_t address, int, uint32_t) -> uint32_t {
                         bool isReturn = false;
                         const int ch = channelOf(address, &isReturn);
                         const uint16_t code = isReturn ? loopReturnCode(ch) : loopSourceCode(ch);
                         return static_cast<uint32_t>(code) << 4;
                     },
                     nullptr};
}

}  // namespace board
