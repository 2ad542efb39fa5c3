// Actuator current outputs and the source/return readbacks of every current
// output of the controller: the driver records, dither, ranges, clamps, the
// conversion of the readbacks and their fault checks.
#pragma once

#include <cstdint>

// One actuator or readback channel. Channels 0..5 are the readbacks of the
// analog outputs 1..6; channels 6 and 7 are the PWM actuator outputs.
struct ZarnActChannel {
    uint16_t SourceReadback;
    uint16_t ReturnReadback;
    float SourceRbMa;
    float ReturnRbMa;
    float FiltSrcRbMa;
    float FiltRtnRbMa;
    float MaDemand;
    float MaDemandCal;
    float SlopeMaBits;
    float Dither;
    float DitherCal;
    uint16_t Command;    // 1 high current range, any other value low range
    uint16_t Rategroup;  // period of the calling group, ms
    float S_actout;
    float MaDemandwDither;
    uint32_t Shutdown;
    uint32_t SourceRbErr;
    uint32_t SourceRbHiErr;
    uint32_t SourceRbLoErr;
    uint32_t ReturnRbErr;
    uint32_t ReturnRbHiErr;
    uint32_t ReturnRbLoErr;
};

constexpr uint32_t kZarnActChannels = 8;
constexpr uint32_t kZarnActOut6 = 6;
constexpr uint32_t kZarnActOut7 = 7;
// Largest PWM count and the range maxima, mA.
constexpr float kZarnActMaxCount = 13937.561f;
constexpr float kZarnActHighMaxMa = 210.0f;
constexpr float kZarnActLowMaxMa = 27.5f;

extern ZarnActChannel stZarnActData[kZarnActChannels];

void InitZarnReadbacksFpga();
// Channel 6 or 7: PWM count 0 and period 14222.
void InitZarnActOut(uint32_t ch);
// Raw source and return readbacks of channel ch from the FPGA.
void GatherZarnSrcRetReadback(uint32_t ch);
// Raw readbacks to calibrated, median-filtered mA.
void CalcZarnSrcRetReadback(uint32_t ch);
// Dither, range, enable and calibration: S_actout and MaDemandwDither of
// channel 6 or 7.
void CalcZarnActOutput(uint32_t ch);
// Channel 6 or 7: the count truncated toward zero, low 16 bits, to the PWM
// count register (a count that is not a finite number writes 0).
void WriteZarnActOut(uint32_t ch, double count);
// The six fault flags of channel ch against its demand.
void CheckZarnSrcRetReadbackFaults(uint32_t ch);
// Console listing of the channel record.
void printZarnActData(uint32_t ch);

// Records and hidden state as at load.
void ResetZarnActuator();
