// The calibration table against the board's calibration flash: checksum
// rule, defaults, flash transfers and pair access with pair numbers beyond
// the table.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "drivers/ZarnCalibration.h"
#include "host/board.h"
#include "host/vkboard.h"

namespace {

class Calibration : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        ResetZarnCalibration();
    }
};

// A flash block of 44 pairs with a checksum that makes all words sum to
// `sumError` (0: valid).
std::vector<uint8_t> flashBlock(float gain, float offset, uint32_t sumError = 0) {
    ZarnCalTable t{};
    uint32_t sum = 0;
    for (ZarnCalPair& p : t.pair) {
        p = ZarnCalPair{gain, offset};
        sum += std::bit_cast<uint32_t>(gain) + std::bit_cast<uint32_t>(offset);
    }
    t.checksum = 0u - sum + sumError;
    std::vector<uint8_t> bytes(sizeof t);
    std::memcpy(bytes.data(), &t, sizeof t);
    return bytes;
}

struct ValidateCase {
    const char* name;
    std::vector<uint8_t> flash;
    bool valid;
    int32_t expected;  // when not valid and not 0: the exact result
};

class CalibrationValidate : public Calibration, public ::testing::WithParamInterface<ValidateCase> {};

TEST_P(CalibrationValidate, ReadsTheFlashAndJudgesTheTable) {
    board::setCalibrationFlash(GetParam().flash);
    testing::internal::CaptureStdout();
    ASSERT_EQ(ReadCalValues(), 0);
    const int32_t result = ValidateCalChecksum();
    const std::string out = testing::internal::GetCapturedStdout();
    if (GetParam().valid) {
        EXPECT_EQ(result, 0);
    } else {
        EXPECT_NE(result, 0);
    }
    if (GetParam().expected != 0) {
        EXPECT_EQ(result, GetParam().expected);
    }
    EXPECT_EQ(out.find("CAL Values are all zeros") != std::string::npos, GetParam().expected == -1);
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Tables, CalibrationValidate,
    ::testing::Values(ValidateCase{"unit_pairs", flashBlock(1.0f, 0.0f), true, 0},
                      ValidateCase{"other_pairs", flashBlock(1.02f, -0.25f), true, 0},
                      ValidateCase{"sum_off_by_one", flashBlock(1.0f, 0.0f, 1), false, 1},
                      ValidateCase{"sum_off_by_minus_one", flashBlock(1.0f, 0.0f, 0xFFFFFFFFu), false, 0},
                      ValidateCase{"all_words_zero", std::vector<uint8_t>(356, 0), false, -1},
                      ValidateCase{"not_a_number_with_right_sum", flashBlock(kNaN, 0.0f), false, -2},
                      ValidateCase{"infinite_offset_with_right_sum", flashBlock(1.0f, kInf), false, -2}),
    [](const ::testing::TestParamInfo<ValidateCase>& i) { return std::string(i.param.name); });

TEST_F(Calibration, AZeroChecksumWordIsRejectedEvenWhenTheSumIsZero) {
    // Pairs whose raw words sum to 0 by themselves: 0x80000000 twice.
    ZarnCalData = ZarnCalTable{};
    ZarnCalData.pair[0].m = -0.0f;
    ZarnCalData.pair[0].b = -0.0f;
    ZarnCalData.checksum = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(ValidateCalChecksum(), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nCAL Values are all zeros.\n");
}

TEST_F(Calibration, AFailedFlashReadReportsThePlatformStatus) {
    board::failCalibrationFlash(true);
    testing::internal::CaptureStdout();
    EXPECT_NE(ReadCalValues(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Reading calibration values from Flash to RAM has failed!\n");
}

TEST_F(Calibration, AFailedFlashWriteReportsIt) {
    board::failCalibrationFlash(true);
    testing::internal::CaptureStdout();
    EXPECT_NE(WriteCalValues(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Writing calibration values from RAM to Flash has failed!\n");
}

TEST_F(Calibration, APutPairIsValidAndSurvivesTheFlash) {
    ASSERT_EQ(put_cal_mb(0, 32, 1.02, -0.5), 0);
    EXPECT_EQ(WriteFlash, 1u);
    EXPECT_EQ(ValidateCalChecksum(), 0);
    ASSERT_EQ(WriteCalValues(), 0);
    ResetZarnCalibration();
    ASSERT_EQ(ReadCalValues(), 0);
    EXPECT_EQ(ValidateCalChecksum(), 0);
    float g = 0, o = 0;
    ASSERT_EQ(get_cal_mb(0, 32, &g, &o), 0);
    EXPECT_EQ(g, 1.02f);
    EXPECT_EQ(o, -0.5f);
}

TEST_F(Calibration, DefaultsLeaveTheChecksumStale) {
    ASSERT_EQ(put_cal_mb(0, 5, 2.0, 1.0), 0);
    SetCalDefaults();
    for (uint32_t k = 0; k < kZarnCalPairs; ++k) {
        float g = 0, o = 1;
        ASSERT_EQ(get_cal_mb(0, k, &g, &o), 0);
        EXPECT_EQ(g, 1.0f) << "pair " << k;
        EXPECT_EQ(o, 0.0f) << "pair " << k;
    }
    EXPECT_NE(ValidateCalChecksum(), 0);
}

TEST_F(Calibration, SpeedDefaultsTouchOnlyTheSpeedPairs) {
    for (uint32_t k = 0; k < kZarnCalPairs; ++k) ASSERT_EQ(put_cal_mb(0, k, 3.0, 2.0), 0);
    WriteFlash = 0;
    SetSpdCalDefaults();
    EXPECT_EQ(WriteFlash, 1u);
    EXPECT_EQ(ValidateCalChecksum(), 0);
    for (uint32_t k = 0; k < kZarnCalPairs; ++k) {
        float g = 0, o = 0;
        get_cal_mb(0, k, &g, &o);
        const bool speed = k >= 38;
        EXPECT_EQ(g, speed ? 1.0f : 3.0f) << "pair " << k;
        EXPECT_EQ(o, speed ? 0.0f : 2.0f) << "pair " << k;
    }
}

TEST_F(Calibration, ResetGivesTheTableAsAtLoad) {
    put_cal_mb(0, 3, 2.0, 1.0);
    ResetZarnCalibration();
    EXPECT_EQ(WriteFlash, 0u);
    const ZarnCalTable zero{};
    EXPECT_EQ(std::memcmp(&zero, &ZarnCalData, sizeof zero), 0);
}

struct PairCase {
    const char* name;
    uint32_t pair;
    int result;
};

class CalibrationPairNumber : public Calibration, public ::testing::WithParamInterface<PairCase> {};

TEST_P(CalibrationPairNumber, OnlyPairsOfTheTableAreTouched) {
    ASSERT_EQ(put_cal_mb(0, 0, 1.0, 0.0), 0);
    WriteFlash = 0;
    const ZarnCalTable before = ZarnCalData;
    float g = 7.0f, o = 7.0f;
    EXPECT_EQ(get_cal_mb(0, GetParam().pair, &g, &o), GetParam().result);
    if (GetParam().result != 0) {
        EXPECT_EQ(g, 7.0f);
        EXPECT_EQ(o, 7.0f);
    }
    EXPECT_EQ(put_cal_mb(0, GetParam().pair, 4.0, 5.0), GetParam().result);
    if (GetParam().result != 0) {
        EXPECT_EQ(std::memcmp(&before, &ZarnCalData, sizeof before), 0);
        EXPECT_EQ(WriteFlash, 0u);
    } else {
        EXPECT_EQ(WriteFlash, 1u);
        EXPECT_EQ(ZarnCalData.pair[GetParam().pair].m, 4.0f);
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, CalibrationPairNumber,
                         ::testing::Values(PairCase{"first", 0, 0}, PairCase{"last", 43, 0},
                                           PairCase{"just_beyond", 44, 1}, PairCase{"far_beyond", 0xFFFFFFFFu, 1}),
                         [](const ::testing::TestParamInfo<PairCase>& i) { return std::string(i.param.name); });

struct ValueCase {
    const char* name;
    double gain, offset;
    bool stored;
};

class CalibrationValue : public Calibration, public ::testing::WithParamInterface<ValueCase> {};

// A pair that is no finite single-precision number is refused and leaves
// the table, its checksum and the flash request as they were.
TEST_P(CalibrationValue, OnlyFiniteSinglePrecisionPairsAreStored) {
    ASSERT_EQ(put_cal_mb(0, 7, 1.5, 0.25), 0);
    WriteFlash = 0;
    const ZarnCalTable before = ZarnCalData;
    const int rc = put_cal_mb(0, 7, GetParam().gain, GetParam().offset);
    EXPECT_EQ(ValidateCalChecksum(), 0);
    if (GetParam().stored) {
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(WriteFlash, 1u);
        EXPECT_EQ(ZarnCalData.pair[7].m, static_cast<float>(GetParam().gain));
        return;
    }
    EXPECT_NE(rc, 0);
    EXPECT_EQ(WriteFlash, 0u);
    EXPECT_EQ(std::memcmp(&before, &ZarnCalData, sizeof before), 0);
}

INSTANTIATE_TEST_SUITE_P(Values, CalibrationValue,
                         ::testing::Values(ValueCase{"ordinary", 2.5, -1.0, true},
                                           ValueCase{"largest_single", 3.4e38, -3.4e38, true},
                                           ValueCase{"gain_not_a_number", std::nan(""), 0.0, false},
                                           ValueCase{"offset_not_a_number", 1.0, std::nan(""), false},
                                           ValueCase{"gain_infinite", kInf, 0.0, false},
                                           ValueCase{"offset_minus_infinite", 1.0, -kInf, false},
                                           ValueCase{"gain_beyond_single", 1e39, 0.0, false},
                                           ValueCase{"offset_beyond_single", 1.0, -1e300, false}),
                         [](const ::testing::TestParamInfo<ValueCase>& i) { return std::string(i.param.name); });

}  // namespace
