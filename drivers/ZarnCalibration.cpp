// Calibration table: checksum, defaults, flash transfers, pair access.
#include "drivers/ZarnCalibration.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/vkboard.h"

ZarnCalTable ZarnCalData = {};
uint32_t WriteFlash = 0;

namespace {

constexpr int kPairWords = 2 * static_cast<int>(kZarnCalPairs);

// Wrapping sum of the pair words, each taken as its raw bit pattern.
uint32_t pairWordSum() {
    uint32_t sum = 0;
    for (const ZarnCalPair& p : ZarnCalData.pair) {
        sum += std::bit_cast<uint32_t>(p.m);
        sum += std::bit_cast<uint32_t>(p.b);
    }
    return sum;
}

void recomputeChecksum() { ZarnCalData.checksum = 0u - pairWordSum(); }

bool allPairsFinite() {
    for (const ZarnCalPair& p : ZarnCalData.pair) {
        if (!std::isfinite(p.m) || !std::isfinite(p.b)) return false;
    }
    return true;
}

}  // namespace

static_assert(kPairWords == 88);

int32_t ReadCalValues() {
    unsigned char buffer[kZarnCalBytes];
    std::memcpy(buffer, &ZarnCalData, sizeof buffer);
    const int status = VKReadCalibrationData(buffer, kZarnCalBytes);
    // A failed read keeps whatever the platform put into the buffer; the
    // start-up's defaults replace it.
    std::memcpy(&ZarnCalData, buffer, sizeof buffer);
    if (status != 0) {
        std::printf("Reading calibration values from Flash to RAM has failed!\n");
        return status;
    }
    return 0;
}

int32_t WriteCalValues() {
    unsigned char buffer[kZarnCalBytes];
    std::memcpy(buffer, &ZarnCalData, sizeof buffer);
    const int status = VKWriteCalibrationData(buffer, kZarnCalBytes);
    if (status != 0) {
        std::printf("Writing calibration values from RAM to Flash has failed!\n");
        return status;
    }
    return 0;
}

int32_t ValidateCalChecksum() {
    if (ZarnCalData.checksum == 0) {
        std::printf("\nCAL Values are all zeros.\n");
        return -1;
    }
    const uint32_t sum = pairWordSum() + ZarnCalData.checksum;
    if (sum != 0) return static_cast<int32_t>(sum);
    // A right sum over values that are no numbers would reach the drivers'
    // float-to-count conversions: such a table counts as bad as well.
    if (!allPairsFinite()) return -2;
    return 0;
}

void SetCalDefaults() {
    for (ZarnCalPair& p : ZarnCalData.pair) p = ZarnCalPair{1.0f, 0.0f};
}

void SetSpdCalDefaults() {
    for (uint32_t k = kCalPairSpeedFirst; k < kZarnCalPairs; ++k) ZarnCalData.pair[k] = ZarnCalPair{1.0f, 0.0f};
    recomputeChecksum();
    WriteFlash = 1;
}

int put_cal_mb(uint32_t, uint32_t pair, double gain, double offset) {
    if (pair >= kZarnCalPairs) return 1;
    // A pair that is no finite single-precision number would fail the table
    // at the next start (or silence the readback checks): refused, the table
    // stays as it was.
    const float m = static_cast<float>(gain), b = static_cast<float>(offset);
    if (!std::isfinite(m) || !std::isfinite(b)) return 2;
    ZarnCalData.pair[pair] = ZarnCalPair{m, b};
    recomputeChecksum();
    WriteFlash = 1;
    return 0;
}

int get_cal_mb(uint32_t, uint32_t pair, float* gain, float* offset) {
    if (pair >= kZarnCalPairs) return 1;
    *gain = ZarnCalData.pair[pair].m;
    *offset = ZarnCalData.pair[pair].b;
    return 0;
}

void ResetZarnCalibration() {
    ZarnCalData = ZarnCalTable{};
    WriteFlash = 0;
}
