// Speed-sensor channels 0 and 1: the FPGA times the sensor edges with a
// 64 MHz time base; the master clock pass filters the period counts every
// 5 ms tick (FilterZarnTss) and the 10 ms group publishes the filtered tooth
// frequency and its rate (RunZarnTss). A channel number other than 0 or 1
// makes every routine do nothing.
#pragma once

#include <cstdint>

struct ZarnTssChannel {
    float speed;              // filtered tooth frequency, Hz
    float accel;              // filtered acceleration, Hz/s
    float maxFreq;            // maximum expected tooth frequency, Hz
    float slewPct;            // slew limit, percent of maxFreq per second
    uint32_t status;          // ZARN_TSS_BELOW_MIN, ZARN_TSS_NO_SIGNAL
    int32_t teethPerMeasure;  // teeth timed in one period measurement
    int32_t tau1Ms;           // time constant of filter stages 1 and 2, ms
    int32_t tau2Ms;           // time constant of filter stage 3, ms
    uint32_t inputMode;       // 1 or 2: input conditioning
    uint32_t inputOption;     // 0 or 1, used in input mode 1
    uint32_t openWire;        // 1: sensor supply above the open-wire level
    uint16_t toothCount;      // last tooth count read from the FPGA
};

constexpr uint32_t ZARN_TSS_BELOW_MIN = 0x08;  // below the minimum speed
constexpr uint32_t ZARN_TSS_NO_SIGNAL = 0x10;  // below the absolute minimum

extern ZarnTssChannel stZarnTssData[2];
// 1 once InitZarnTss has set the channel up; the master clock pass filters
// only such channels.
extern uint32_t ZarnTssUsed[2];
// Lowest usable tooth frequency (Hz) by teeth per measurement.
extern const double AbsoluteMinSpeedTable[8];

void InitZarnTss(int ch);
void ConfigZarnTss(int ch);
void FilterZarnTss(int ch);
void RunZarnTss(int ch);
void ReadToothCount(int ch);
// Phase between a channel 0 and a channel 1 edge in degrees; 0.0 above 360.
double ReadZarnSpeedPhase(int ch);

void InitZarnProxVThresh(int ch);
void SetZarnProxVThresh(int ch, double volts);
void SetOpenWireTest(int ch, uint32_t on);
void ReadOpenWire(int ch);
int ReadZarnProxVolts(uint32_t device, uint32_t select, float* volts);
double ReadZarnMpuPs(uint32_t device);

// The filter's decay bound of one tick: the frequency below which samples
// are held while the signal is below the minimum speed (+infinity: none).
// `periodCount` is the larger of the two period registers, a measurement of
// `teethPerMeasure` teeth.
double ZarnTssDecayBound(double minSpeed, int32_t teethPerMeasure, uint32_t periodCount);

// Filter state of a channel, for diagnostics and tests.
struct ZarnTssFilterState {
    double tsTau1, tsTau2, derivScale, minSpeed, slewLimit;
    double lastX1, lastY1, lastY2, lastX3, lastY3;
};
ZarnTssFilterState ZarnTssFilter(int ch);
