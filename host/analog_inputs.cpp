// Analog input sources and the ADC's conversion.
#include "host/analog_inputs.h"

#include <algorithm>
#include <cmath>

#include "drivers/zarn_regs.h"
#include "host/board.h"

namespace board {
namespace {

// Conversion of the ADC: mA = code x kMaPerCode + kMaAtZero.
constexpr double kMaPerCode = 0.000416127;
constexpr double kMaAtZero = 12.495655;
constexpr int kChannels = ZARN_AIN_COUNT;

struct Source {
    double mA = 4.0;
    double noise = 0.0;
    bool open = false;
    bool loopPowered = false;
    bool rawSet = false;
    int16_t raw = 0;
    uint32_t seed = 1;
};

struct Model {
    Source src[kChannels];
    Model() {
        for (int ch = 0; ch < kChannels; ++ch) src[ch].seed = 0x9E3779B9u * static_cast<uint32_t>(ch + 1);
    }
};

// Guarded by the board's lock, which the register callbacks always hold.
Model model;

// Uniform in [-1, 1), a fixed sequence per channel.
double nextNoise(Source& s) {
    s.seed = s.seed * 1664525u + 1013904223u;
    return static_cast<double>(s.seed >> 8) / static_cast<double>(1u << 23) - 1.0;
}

bool validChannel(int ch) { return ch >= 0 && ch < kChannels; }

int16_t convert(int ch) {
    auto g = lock();
    Source& s = model.src[ch];
    if (s.rawSet) return s.raw;
    double mA = s.mA;
    if (s.open || (s.loopPowered && !analogLoopSupplyOn(ch))) mA = 0.0;
    if (s.noise > 0.0 && mA > 0.0) mA = std::max(0.0, mA + s.noise * nextNoise(s));
    return analogInputCode(mA);
}

}  // namespace

Behaviour analogInputBehaviour() {
    return Behaviour{[](uint32_t a, int, uint32_t stored) -> uint32_t {
                         const uint32_t offset = a - ZARN_AIN_BASE;
                         // Only the first halfword of each 4-byte slot is a result.
                         if (offset % 4 != 0) return stored;
                         // A stopped ADC leaves the last results in place.
                         if (!adcRunning()) return stored;
                         const int16_t code = convert(static_cast<int>(offset / 4));
                         poke16(a, static_cast<uint16_t>(code));
                         return static_cast<uint16_t>(code);
                     },
                     nullptr};
}

namespace {

template <class F>
void withSource(int ch, F f) {
    if (!validChannel(ch)) return;
    auto g = lock();
    f(model.src[ch]);
}

}  // namespace

int16_t analogInputCode(double mA) {
    const double code = std::round((mA - kMaAtZero) / kMaPerCode);
    return static_cast<int16_t>(std::clamp(code, -32768.0, 32767.0));
}

void setAnalogInputMa(int ch, double mA) {
    withSource(ch, [&](Source& s) {
        s.mA = mA;
        s.rawSet = false;
    });
}
void setAnalogInputNoise(int ch, double peakMa) {
    withSource(ch, [&](Source& s) { s.noise = peakMa; });
}
void setAnalogInputOpen(int ch, bool open) {
    withSource(ch, [&](Source& s) { s.open = open; });
}
void setAnalogInputLoopPowered(int ch, bool needsLoopSupply) {
    withSource(ch, [&](Source& s) { s.loopPowered = needsLoopSupply; });
}
void setAnalogInputRaw(int ch, int16_t code) {
    withSource(ch, [&](Source& s) {
        s.raw = code;
        s.rawSet = true;
    });
}

bool analogLoopSupplyOn(int ch) {
    if (!validChannel(ch)) return false;
    return ((peek16(ZARN_AIN_LOOP_POWER) >> ch) & 1u) != 0;
}

bool adcRunning() { return peek16(ZARN_ADC_CONTROL) == 3; }

void setAdcFault(bool faultA, bool faultB) {
    pokeBits16(ZARN_STATUS, ZARN_STATUS_ADC_FAULT_A | ZARN_STATUS_ADC_FAULT_B,
               static_cast<uint16_t>((faultA ? ZARN_STATUS_ADC_FAULT_A : 0) | (faultB ? ZARN_STATUS_ADC_FAULT_B : 0)));
}

void setBacklightFault(bool fault) {
    pokeBits16(ZARN_STATUS, ZARN_STATUS_BACKLIGHT_FAULT, fault ? ZARN_STATUS_BACKLIGHT_FAULT : 0);
}

void resetAnalogInputs() {
    auto g = lock();
    model = Model{};
}

}  // namespace board
