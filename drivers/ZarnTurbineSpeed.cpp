// Speed-sensor channels: configuration, the 50-sample filter of the master
// clock pass, the per-frame status evaluation, tooth count, phase, proximity
// threshold and the sensor-supply checks.
#include "drivers/ZarnTurbineSpeed.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "drivers/zarn_regs.h"
#include "host/chips.h"
#include "platform/vkiobus.h"

ZarnTssChannel stZarnTssData[2];
uint32_t ZarnTssUsed[2];
const double AbsoluteMinSpeedTable[8] = {0.0, 0.02, 0.03, 0.05, 0.06, 0.08, 0.09, 0.11};

namespace {

constexpr double kTimeBaseHz = 64e6;
constexpr uint32_t kShortestCount = 640;   // faster than 100 kHz: no pulse
constexpr double kHighestFreq = 38500.0;
constexpr uint16_t kThreshPeriodInit = 14222;
constexpr uint16_t kThreshPeriodRun = 5246;  // full scale of the threshold: 30 V
constexpr double kOpenWireVolts = 6.836;

ZarnTssFilterState filt[2];

bool valid(int ch) { return ch == 0 || ch == 1; }

bool sameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

uint32_t regOf(uint32_t channel0Reg, int ch) { return channel0Reg + static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE; }
uint32_t threshRegOf(uint32_t channel0Reg, int ch) {
    return channel0Reg + static_cast<uint32_t>(ch) * ZARN_TSS_THRESH_STRIDE;
}
uint16_t ctrlBit(uint16_t channel0Bit, int ch) { return static_cast<uint16_t>(channel0Bit << ch); }

// Period A changes whenever a measurement completes: read it until two
// consecutive reads agree; when the first two differ the third is used.
uint32_t readPeriodA(int ch) {
    const uint32_t reg = regOf(ZARN_TSS_PERIOD_A0, ch);
    const uint32_t first = VKIO_fpgaRdUint32(reg);
    const uint32_t second = VKIO_fpgaRdUint32(reg);
    if (first == second) return first;
    return VKIO_fpgaRdUint32(reg);
}

// A period count as a tooth frequency: the FPGA times `teethPerMeasure`
// teeth in one measurement, so 64 MHz over the count is the measurement
// rate, and that many times it the rate of the teeth, the unit of every
// speed the channel compares (samples, minimum speed, absolute minimum).
double toothFrequency(int32_t teethPerMeasure, uint32_t count) {
    return teethPerMeasure * kTimeBaseHz / static_cast<double>(count);
}

}  // namespace

double ZarnTssDecayBound(double minSpeed, int32_t teethPerMeasure, uint32_t periodCount) {
    const double signal = toothFrequency(teethPerMeasure, periodCount);
    const double n = std::trunc(std::log2(minSpeed / signal));
    // A negative (or undefined) shift, or one of 32 and more, leaves no bound.
    if (!(n >= 0.0) || n >= 32.0) return INFINITY;
    // An unsigned divisor: as a signed 32-bit value 1 << 31 is negative and
    // would turn the bound negative.
    return minSpeed / static_cast<double>(uint32_t{1} << static_cast<int>(n));
}

ZarnTssFilterState ZarnTssFilter(int ch) { return valid(ch) ? filt[ch] : ZarnTssFilterState{}; }

void InitZarnTss(int ch) {
    if (!valid(ch)) return;
    ZarnTssChannel& c = stZarnTssData[ch];
    ZarnTssFilterState& f = filt[ch];
    VKIO_fpgaModifyUint16(ZARN_CTRL, 0, ctrlBit(ZARN_CTRL_TSS_OPENW0, ch));
    f.tsTau1 = 0.1 / c.tau1Ms;
    f.tsTau2 = 0.1 / c.tau2Ms;
    f.derivScale = 1000.0 / c.tau1Ms;
    ZarnTssUsed[ch] = 1;
    c.status |= ZARN_TSS_BELOW_MIN | ZARN_TSS_NO_SIGNAL;
    c.accel = 0.0f;
    VKIO_fpgaWrUint16(threshRegOf(ZARN_TSS_THRESH_VALUE0, ch), 0);
    VKIO_fpgaWrUint16(threshRegOf(ZARN_TSS_THRESH_PERIOD0, ch), kThreshPeriodRun);
}

void ConfigZarnTss(int ch) {
    if (!valid(ch)) return;
    const ZarnTssChannel& c = stZarnTssData[ch];
    ZarnTssFilterState& f = filt[ch];
    VKIO_fpgaWrUint16(regOf(ZARN_TSS_TEETH0, ch), static_cast<uint32_t>(c.teethPerMeasure - 1) & 0xFFFFu);
    const uint16_t mode = ctrlBit(ZARN_CTRL_TSS_MODE0, ch);
    const uint16_t option = ctrlBit(ZARN_CTRL_TSS_OPTION0, ch);
    if (c.inputMode == 1) {
        VKIO_fpgaModifyUint16(ZARN_CTRL, mode, 0);
        if (c.inputOption == 0) VKIO_fpgaModifyUint16(ZARN_CTRL, 0, option);
        else if (c.inputOption == 1) VKIO_fpgaModifyUint16(ZARN_CTRL, option, 0);
    } else if (c.inputMode == 2) {
        VKIO_fpgaModifyUint16(ZARN_CTRL, 0, mode);
    }
    const double maxFreq = c.maxFreq;
    f.minSpeed = maxFreq / 50.0;
    // One sample is 0.1 ms: slewPct is percent of maxFreq per second, bounded
    // to 1 .. 10000.
    if (c.slewPct > 10000.0f) f.slewLimit = maxFreq * 0.01;
    else if (c.slewPct < 1.0f) f.slewLimit = maxFreq * 1e-6;
    else f.slewLimit = maxFreq * static_cast<double>(c.slewPct) * 1e-6;
}

void FilterZarnTss(int ch) {
    if (!valid(ch)) return;
    const ZarnTssChannel& c = stZarnTssData[ch];
    ZarnTssFilterState& f = filt[ch];
    const uint32_t periodA = readPeriodA(ch);
    const uint32_t periodB = VKIO_fpgaRdUint32(regOf(ZARN_TSS_PERIOD_B0, ch));
    const double bound = ZarnTssDecayBound(f.minSpeed, c.teethPerMeasure, periodA > periodB ? periodA : periodB);
    const bool belowMin = (c.status & ZARN_TSS_BELOW_MIN) != 0;
    const int32_t teeth = c.teethPerMeasure;

    // All samples first, in ascending address order, then the arithmetic:
    // with no call inside it the filter state stays in registers.
    uint32_t counts[ZARN_TSS_SAMPLE_COUNT];
    for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT; ++i)
        counts[i] = VKIO_fpgaRdUint32(regOf(ZARN_TSS_SAMPLES0, ch) + 4u * static_cast<uint32_t>(i));
    double lastX1 = f.lastX1, lastY1 = f.lastY1, lastX3 = f.lastX3, lastY2 = f.lastY2, lastY3 = f.lastY3;
    for (int i = 0; i < ZARN_TSS_SAMPLE_COUNT;) {
        const uint32_t sample = counts[i++];
        uint32_t count = sample;
        if (count < kShortestCount) count = 0xFFFFFFFFu;
        double x = toothFrequency(teeth, count);
        if (belowMin && bound < x) x = bound;
        if (x > kHighestFreq) x = kHighestFreq;
        // Stage 1: slew-limited lag with trapezoidal input.
        double d = f.tsTau1 * ((x + lastX1) / 2.0 - lastY1);
        if (std::fabs(d) > f.slewLimit) d = std::copysign(f.slewLimit, d);
        const double y1 = lastY1 + d;
        // Stage 2: lag of stage 1; x3 is its change per sample.
        const double x3 = (lastY1 + y1) / 2.0 - lastY2;
        const double y2 = lastY2 + f.tsTau1 * x3;
        // Stage 3: lag of the rate of stage 2.
        const double y3 = lastY3 + f.tsTau2 * ((x3 + lastX3) / 2.0 - lastY3);
        const bool settled = sameBits(x, lastX1) && sameBits(y1, lastY1) && sameBits(x3, lastX3) &&
                             sameBits(y2, lastY2) && sameBits(y3, lastY3);
        lastX1 = x;
        lastY1 = y1;
        lastX3 = x3;
        lastY2 = y2;
        lastY3 = y3;
        // A step that left every value as it was leaves it so again for the
        // same sample: the rest of a run of equal samples changes nothing.
        if (settled)
            while (i < ZARN_TSS_SAMPLE_COUNT && counts[i] == sample) ++i;
    }
    f.lastX1 = lastX1;
    f.lastY1 = lastY1;
    f.lastX3 = lastX3;
    f.lastY2 = lastY2;
    f.lastY3 = lastY3;
}

void RunZarnTss(int ch) {
    if (!valid(ch)) return;
    ZarnTssChannel& c = stZarnTssData[ch];
    const ZarnTssFilterState& f = filt[ch];
    // The table has eight entries; teethPerMeasure is not bounded here.
    const int32_t k = c.teethPerMeasure < 0 ? 0 : (c.teethPerMeasure > 7 ? 7 : c.teethPerMeasure);
    const double a = AbsoluteMinSpeedTable[k];
    const uint32_t periodB = VKIO_fpgaRdUint32(regOf(ZARN_TSS_PERIOD_B0, ch));
    const uint32_t periodA = readPeriodA(ch);
    const double sA = toothFrequency(c.teethPerMeasure, periodA);
    const double sB = toothFrequency(c.teethPerMeasure, periodB);
    const double m = f.minSpeed;
    if (sA < m || sB < m) {
        c.status |= ZARN_TSS_BELOW_MIN;
        if (a > sA || a > sB) c.status |= ZARN_TSS_NO_SIGNAL;
        else if (a < sB) c.status &= ~ZARN_TSS_NO_SIGNAL;
    } else if (a < sB) {
        c.status &= ~ZARN_TSS_NO_SIGNAL;
        if (sB > m) c.status &= ~ZARN_TSS_BELOW_MIN;
    }
    c.speed = static_cast<float>(f.lastY2);
    c.accel = static_cast<float>(f.lastY3 * f.derivScale);
}

void ReadToothCount(int ch) {
    if (!valid(ch)) return;
    stZarnTssData[ch].toothCount = static_cast<uint16_t>(VKIO_fpgaRdUint16(regOf(ZARN_TSS_TOOTH_COUNT0, ch)));
}

double ReadZarnSpeedPhase(int ch) {
    if (!valid(ch)) return 0.0;
    const float count = static_cast<float>(VKIO_fpgaRdUint32(ZARN_TSS_PHASE));
    const double phase = count / kTimeBaseHz * stZarnTssData[ch].speed * 360.0;
    return phase > 360.0 ? 0.0 : phase;
}

void InitZarnProxVThresh(int ch) {
    if (!valid(ch)) return;
    VKIO_fpgaWrUint16(threshRegOf(ZARN_TSS_THRESH_VALUE0, ch), 0);
    VKIO_fpgaWrUint16(threshRegOf(ZARN_TSS_THRESH_PERIOD0, ch), kThreshPeriodInit);
}

void SetZarnProxVThresh(int ch, double volts) {
    if (!valid(ch)) return;
    uint32_t code;
    if (volts < 4.0) code = 699;
    else if (volts > 20.0) code = 3497;
    else code = static_cast<uint32_t>(volts / 30.0 * kThreshPeriodRun);
    VKIO_fpgaWrUint16(threshRegOf(ZARN_TSS_THRESH_VALUE0, ch), code);
}

void SetOpenWireTest(int ch, uint32_t on) {
    if (!valid(ch)) return;
    const uint16_t bit = ctrlBit(ZARN_CTRL_TSS_OPENW0, ch);
    if (on == 1) VKIO_fpgaModifyUint16(ZARN_CTRL, bit, 0);
    else VKIO_fpgaModifyUint16(ZARN_CTRL, 0, bit);
}

void ReadOpenWire(int ch) {
    if (!valid(ch)) return;
    stZarnTssData[ch].openWire = ReadZarnMpuPs(static_cast<uint32_t>(ch)) > kOpenWireVolts ? 1 : 0;
}

int ReadZarnProxVolts(uint32_t device, uint32_t select, float* volts) {
    UINT16 word = static_cast<UINT16>(0xC3CAu | ((select & 3u) << 12));
    if (ADT1018_Read(device, &word) != 0) std::printf("Voltage Monitor SPI error\n");
    *volts = static_cast<float>(((word >> 4) & 0x7FFu) * 0.02 - 5.0);
    return 0;
}

double ReadZarnMpuPs(uint32_t device) {
    UINT16 word = 0xE3CA;
    if (ADT1018_Read(device, &word) != 0) std::printf("MPU Voltage Monitor SPI error\n");
    return ((word >> 4) & 0x7FFu) * 0.0175;
}
