// The analog-input and supply-monitor driver against the board model:
// conversions, loop power, fault bits, backlight, the ADC set-up handshake
// and the supply readings with a failing monitor chip.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drivers/ZarnAnalogIns.h"
#include "drivers/zarn_regs.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/chips.h"

namespace {

// First in this program: later cases run the set-up and reset the indication.
TEST(AnalogDriverLoad, NoSetUpTimeOutIsShownBeforeTheSetUp) { EXPECT_EQ(ZarnAdcSetupTimedOut, 0u); }

class AnalogDriver : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        ps3_3Value = 0.0f;
        ZarnAdcSetupTimedOut = 0;
    }
};

struct RawCase {
    const char* name;
    int16_t raw;
    double mA;
};

TEST(AnalogDriverConversion, RawCodesReadAsTheDriverScalesThem) {
    const RawCase cases[] = {
        {"zero code is mid scale", 0, 12.495655},
        {"most negative live code is about 0 mA", -30028, 0.0},
        {"full scale", 32767, 26.13},
        {"live zero", -20416, 4.0},
    };
    for (const RawCase& c : cases) {
        SCOPED_TRACE(c.name);
        board::reset();
        InitZarnAnalogInsFpga(0);
        board::setAnalogInputRaw(2, c.raw);
        uint32_t fault = 7;
        EXPECT_NEAR(ReadZarnAnalogIn(2, &fault), c.mA, 0.005);
        EXPECT_EQ(fault, 0u);
    }
    uint32_t fault = 0;
    board::setAnalogInputRaw(0, 0);
    EXPECT_EQ(ReadZarnAnalogIn(0, &fault), static_cast<double>(12.495655f));
}

TEST_F(AnalogDriver, ChannelsOutsideTheEightReportAFault) {
    InitZarnAnalogInsFpga(0);
    for (uint32_t ch : {8u, 9u, 100u, 0xFFFFFFFFu}) {
        uint32_t fault = 0;
        EXPECT_EQ(ReadZarnAnalogIn(ch, &fault), 0.0) << ch;
        EXPECT_EQ(fault, 1u) << ch;
    }
    uint32_t fault = 1;
    ReadZarnAnalogIn(7, &fault);
    EXPECT_EQ(fault, 0u);
}

TEST_F(AnalogDriver, SourcesOfTheBoardModelReachTheDriver) {
    InitZarnAnalogInsFpga(0);
    uint32_t fault = 0;
    board::setAnalogInputMa(1, 20.0);
    EXPECT_NEAR(ReadZarnAnalogIn(1, &fault), 20.0, 0.0005);
    // An open loop carries no current.
    board::setAnalogInputOpen(1, true);
    EXPECT_NEAR(ReadZarnAnalogIn(1, &fault), 0.0, 0.0005);
    board::setAnalogInputOpen(1, false);
    // A two-wire transmitter needs the controller's loop supply.
    board::setAnalogInputLoopPowered(1, true);
    EXPECT_NEAR(ReadZarnAnalogIn(1, &fault), 0.0, 0.0005);
    SetZarnAnalogInsLoopPower(1, 2);
    EXPECT_NEAR(ReadZarnAnalogIn(1, &fault), 20.0, 0.0005);
    // Noise stays within its peak, and is not constant.
    board::setAnalogInputNoise(1, 0.1);
    double lo = 100, hi = -100;
    for (int i = 0; i < 200; ++i) {
        const double v = ReadZarnAnalogIn(1, &fault);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, 19.9 - 0.0005);
    EXPECT_LE(hi, 20.1 + 0.0005);
    EXPECT_GT(hi - lo, 0.05);
}

TEST_F(AnalogDriver, StoppedAdcHoldsItsLastResults) {
    board::setAnalogInputMa(3, 16.0);
    InitZarnAnalogInsFpga(0);
    uint32_t fault = 0;
    EXPECT_NEAR(ReadZarnAnalogIn(3, &fault), 16.0, 0.0005);
    ResetFpgaAdcSpi();
    board::setAnalogInputMa(3, 8.0);
    EXPECT_NEAR(ReadZarnAnalogIn(3, &fault), 16.0, 0.0005);
    GetDataRate();
    EXPECT_NEAR(ReadZarnAnalogIn(3, &fault), 8.0, 0.0005);
}

TEST_F(AnalogDriver, LoopPowerSetsAndClearsOnlyItsChannelsBit) {
    struct Step {
        uint32_t ch, mode;
        uint16_t expect;
    };
    const Step steps[] = {{0, 2, 0x01}, {3, 2, 0x09}, {7, 2, 0x89}, {3, 1, 0x81},
                          {0, 0, 0x80}, {7, 3, 0x00}, {8, 2, 0x00}, {40, 2, 0x00}};
    for (const Step& s : steps) {
        SetZarnAnalogInsLoopPower(s.ch, s.mode);
        EXPECT_EQ(board::peek16(ZARN_AIN_LOOP_POWER), s.expect) << "ch " << s.ch << " mode " << s.mode;
    }
}

TEST_F(AnalogDriver, FaultBitsOfTheStatusRegister) {
    struct Case {
        bool a, b, backlight;
        uint32_t adc, bl;
    };
    const Case cases[] = {{false, false, false, 0, 0}, {true, false, false, 1, 0}, {false, true, false, 1, 0},
                          {true, true, true, 1, 1},    {false, false, true, 0, 1}};
    for (const Case& c : cases) {
        board::setAdcFault(c.a, c.b);
        board::setBacklightFault(c.backlight);
        EXPECT_EQ(GetFpgaAdcFault(), c.adc) << c.a << c.b << c.backlight;
        EXPECT_EQ(GetBacklightFault(), c.bl) << c.a << c.b << c.backlight;
    }
}

TEST_F(AnalogDriver, DisplayBrightnessClampsAndScales) {
    InitZarnBackLight();
    EXPECT_EQ(board::peek16(ZARN_BACKLIGHT_PERIOD), 6400);
    EXPECT_EQ(board::peek16(ZARN_BACKLIGHT_COUNT), 0);
    const std::pair<int32_t, uint16_t> cases[] = {{150, 6400}, {-5, 0}, {33, 2112}, {100, 6400}, {0, 0},
                                                  {101, 6400}, {1, 64}, {-1, 0}};
    for (auto [percent, count] : cases) {
        SetZarnDisplayBrightness(percent);
        EXPECT_EQ(board::peek16(ZARN_BACKLIGHT_COUNT), count) << percent;
    }
    EXPECT_EQ(InitZarnPSMon(), 0);
    EXPECT_EQ(board::peek16(ZARN_BACKLIGHT_COUNT), 6400);
}

// The set-up writes in the order the ADC expects them.
TEST_F(AnalogDriver, SetUpSequenceStartsThreeTransfersThenContinuousConversion) {
    board::clearWriteLog();
    EXPECT_EQ(InitZarnAnalogInsFpga(0x1234), 0u);
    std::vector<std::pair<uint32_t, uint32_t>> got;
    for (const auto& w : board::writeLog()) got.emplace_back(w.address, w.value);
    const std::vector<std::pair<uint32_t, uint32_t>> want = {
        {ZARN_ADC_CONTROL, 0}, {ZARN_SPI_SET1, 3},    {ZARN_SPI_SET2, 1},       {ZARN_SPI_SET3, 6144},
        {ZARN_SPI_SET4, 96},   {ZARN_SPI_DATA, 22600}, {ZARN_SPI_CMD, 5},       {ZARN_SPI_SET4, 80},
        {ZARN_SPI_DATA, 0x1234}, {ZARN_SPI_CMD, 5},    {ZARN_SPI_SET3, 6144},   {ZARN_SPI_SET4, 96},
        {ZARN_SPI_DATA, 7180}, {ZARN_SPI_CMD, 5},      {ZARN_SPI_CMD, 260},     {ZARN_ADC_CONTROL, 3},
    };
    EXPECT_EQ(got, want);
    EXPECT_EQ(board::spiTransfers(), 3u);
    EXPECT_EQ(ZarnAdcSetupTimedOut, 0u);
}

TEST_F(AnalogDriver, AnyOneTransferWithoutItsDoneBitFailsTheSetUp) {
    struct Case {
        uint32_t missed;
        const char* message;
    };
    const Case cases[] = {{1u << 0, "Spif bit error1.\n"}, {1u << 1, "Spif bit error1.\n"},
                          {1u << 2, "Spif bit error2.\n"}, {0u, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missed);
        board::reset();
        board::setSpiMissedDone(c.missed);
        testing::internal::CaptureStdout();
        EXPECT_EQ(InitZarnAnalogInsFpga(0), c.missed ? 0x80000001u : 0u);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.message);
        EXPECT_EQ(ZarnAdcSetupTimedOut, c.missed ? 1u : 0u);
        EXPECT_EQ(board::spiTransfers(), 3u);
        EXPECT_EQ(board::peek16(ZARN_ADC_CONTROL), 3);
    }
}

TEST_F(AnalogDriver, StuckSpiEngineTimesOutEachTransferAndStillStartsTheAdc) {
    board::setSpiStuck(true);
    testing::internal::CaptureStdout();
    EXPECT_EQ(InitZarnAnalogInsFpga(0), 0x80000001u);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Spif bit error1.\nSpif bit error1.\nSpif bit error2.\n");
    EXPECT_EQ(ZarnAdcSetupTimedOut, 1u);
    EXPECT_EQ(board::peek16(ZARN_ADC_CONTROL), 3);
    // The engine recovers: the next set-up clears the indication.
    board::setSpiStuck(false);
    EXPECT_EQ(InitZarnAnalogInsFpga(0), 0u);
    EXPECT_EQ(ZarnAdcSetupTimedOut, 0u);
}

struct SupplyCase {
    uint32_t ch;
    int vin;       // monitor input the channel selects
    double pin;    // volts at the pin
    float expect;  // volts the driver reports
};

TEST_F(AnalogDriver, SupplyChannelsSelectTheirInputAndScale) {
    // Codes: pin volts / 2.5 x 4095, rounded by the chip.
    auto v = [](double pin) { return static_cast<float>(std::round(pin / 2.5 * 4095.0)) / 4095.0f; };
    board::setSupplyMonitorInput(4, 1.65);  // 3.3 V rail first, for the negative rail
    float volts = 0.0f;
    ASSERT_EQ(ReadZarnPSMon(3, &volts), 0);
    const float v33 = 2.0f * v(1.65) * 2.5f;
    EXPECT_FLOAT_EQ(volts, v33);
    EXPECT_FLOAT_EQ(ps3_3Value, v33);
    const SupplyCase cases[] = {
        {0, 1, 1.2, v(1.2) * 2.5f},
        {1, 2, 1.4, v(1.4) * 2.5f},
        {2, 3, 1.8, v(1.8) * 2.5f},
        {4, 5, 2.143, v(2.143) * 2.333f * 2.5f},
        {5, 6, 0.8, v(0.8) * 7.665f * 2.5f},
        {6, 7, 1.147, v(1.147) * 8.5f * 2.5f - 7.5f * v33},
        {7, 0, 2.186, v(2.186) * 10.979f * 2.5f},
        {8, 1, 1.0, 0.0f},
    };
    for (const SupplyCase& c : cases) {
        board::setSupplyMonitorInput(c.vin, c.pin);
        volts = -99.0f;
        EXPECT_EQ(ReadZarnPSMon(c.ch, &volts), 0) << c.ch;
        EXPECT_FLOAT_EQ(volts, c.expect) << c.ch;
    }
}

TEST_F(AnalogDriver, NegativeRailBeforeAnyThreeVoltReadingSubtractsNothing) {
    board::setSupplyMonitorInput(7, 2.0);
    float volts = 0.0f;
    ASSERT_EQ(ReadZarnPSMon(6, &volts), 0);
    EXPECT_FLOAT_EQ(volts, static_cast<float>(std::round(2.0 / 2.5 * 4095.0)) / 4095.0f * 8.5f * 2.5f);
}

TEST_F(AnalogDriver, FailedMonitorReadReturnsTheChipStatusAndLeavesTheValue) {
    float volts = 0.0f;
    ASSERT_EQ(ReadZarnPSMon(3, &volts), 0);
    const float good33 = ps3_3Value;
    board::failChip(board::Chip::AD7927, true);
    testing::internal::CaptureStdout();
    for (uint32_t ch : {0u, 3u, 6u}) {
        float v = 123.0f;
        EXPECT_NE(ReadZarnPSMon(ch, &v), 0) << ch;
        EXPECT_EQ(v, 123.0f) << ch;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Voltage Monitor SPI error\nVoltage Monitor SPI error\nVoltage Monitor SPI error\n");
    EXPECT_EQ(ps3_3Value, good33);
}

}  // namespace
