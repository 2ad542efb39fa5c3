// Factory calibration of the controller's analog channels: the RAM copy of
// the table kept in the board's calibration flash, its checksum rule, its
// defaults and the transfers to and from flash.
#pragma once

#include <cstdint>

constexpr uint32_t kZarnCalPairs = 44;
constexpr int kZarnCalBytes = 356;

// One calibration pair: a value is calibrated as value * m + b.
struct ZarnCalPair {
    float m;
    float b;
};

// 44 pairs, then the checksum word: the two's complement of the wrapping sum
// of the 88 pair words (raw bit patterns), so that all 89 words sum to 0.
struct ZarnCalTable {
    ZarnCalPair pair[kZarnCalPairs];
    uint32_t checksum;
};
static_assert(sizeof(ZarnCalTable) == kZarnCalBytes, "the flash block is 356 bytes");

extern ZarnCalTable ZarnCalData;
// Set to 1 whenever a pair changes in RAM: a request to store the table.
extern uint32_t WriteFlash;

// Pair numbers of the drivers and channel stages.
constexpr uint32_t kCalPairAnalogOut1 = 8;     // analog outputs 1..6: 8..13
constexpr uint32_t kCalPairAct6Low = 14;       // actuator 6, 7 demand, low range: 14, 15
constexpr uint32_t kCalPairSrcLow = 16;        // readback channels 0..7 source, low range: 16..23
constexpr uint32_t kCalPairRtnLow = 24;        // readback channels 0..7 return, low range: 24..31
constexpr uint32_t kCalPairAct6High = 32;      // actuator 6 high range: demand, source, return
constexpr uint32_t kCalPairAct7High = 35;      // actuator 7 high range: demand, source, return
constexpr uint32_t kCalPairSpeedFirst = 38;    // speed calibration 38..43

// Flash to RAM; 0, or the platform's non-zero status (with a console line).
int32_t ReadCalValues();
// RAM to flash; 0, or non-zero (with a console line).
int32_t WriteCalValues();
// 0 when the table is valid. A zero checksum word gives -1 ("all zeros");
// a table whose sum is right but which holds a pair that is not a finite
// number gives -2; otherwise the wrapping sum of all 89 words.
int32_t ValidateCalChecksum();
// Every pair (1.0, 0.0); the checksum word is left as it was.
void SetCalDefaults();
// Speed pairs to (1.0, 0.0), checksum recomputed, WriteFlash = 1.
void SetSpdCalDefaults();
// Stores one pair (as single precision), recomputes the checksum and sets
// WriteFlash. A pair beyond the table changes nothing and returns 1.
int put_cal_mb(uint32_t ignored, uint32_t pair, double gain, double offset);
// Reads one pair. A pair beyond the table reads nothing and returns 1.
int get_cal_mb(uint32_t ignored, uint32_t pair, float* gain, float* offset);

// The table as at load (all words 0) and WriteFlash 0.
void ResetZarnCalibration();
