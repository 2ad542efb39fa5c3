// STAND-IN until the calibration data driver lands: the one reader the
// analog input stages need. Definition in ZarnCalibration_standin.cpp.
#pragma once

#include <cstdint>

// Gain and offset of calibration pair `pair`; non-zero for a pair beyond the
// table (nothing read).
int get_cal_mb(uint32_t ignored, uint32_t pair, float* gain, float* offset);
