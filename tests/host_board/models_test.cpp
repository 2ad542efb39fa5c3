// The board's chip, platform-library and analog-input models: their
// power-up state, argument ranges and what the CPU reads from them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "drivers/zarn_regs.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/chips.h"
#include "host/vkboard.h"

namespace {

class Models : public ::testing::Test {
protected:
    void SetUp() override { board::reset(); }
};

// One supply-monitor conversion of input `vin`: its 12-bit code, or -1.
int supplyCode(int vin) {
    UINT16 word = static_cast<UINT16>(0x8330u | (static_cast<unsigned>(vin) << 10));
    if (AD7927_Read(&word) != 0) return -1;
    EXPECT_EQ((word >> 12) & 7, vin);
    return word & 0xFFF;
}

int sensorCode(UINT32 device, int input) {
    UINT16 word = static_cast<UINT16>(0xC3CAu | (static_cast<unsigned>(input) << 12));
    if (ADT1018_Read(device, &word) != 0) return -1;
    return word >> 4;
}

int code(double volts) { return static_cast<int>(std::lround(volts / 2.5 * 4095.0)); }

TEST_F(Models, ChipsStartAtTheNominalRails) {
    const double rails[8] = {2.186, 1.2, 1.4, 1.8, 1.65, 2.143, 1.957, 1.147};
    for (int vin = 0; vin < 8; ++vin) EXPECT_EQ(supplyCode(vin), code(rails[vin])) << vin;
    for (UINT32 device : {0u, 1u}) {
        const int want[4] = {250, 250, 0, 250};
        for (int input = 0; input < 4; ++input) EXPECT_EQ(sensorCode(device, input), want[input]) << device << input;
    }
    EXPECT_EQ(board::expanderPorts(), 0x3FF);  // every LED off
    EXPECT_EQ(board::expanderWrites(), 0u);
    for (int gpio = 0; gpio < 32; ++gpio) EXPECT_EQ(board::gpioValue(gpio), 0u) << gpio;
}

TEST_F(Models, ChipArgumentsOutsideTheirRangesAreRefused) {
    // Setters ignore what is out of range.
    for (int vin : {-1, 8}) board::setSupplyMonitorInput(vin, 0.5);
    board::setSupplyMonitorInput(7, 0.5);
    board::setSupplyMonitorInput(0, 3.0);  // above full scale: clamped
    board::setSupplyMonitorInput(1, -1.0);
    EXPECT_EQ(supplyCode(7), code(0.5));
    EXPECT_EQ(supplyCode(0), 4095);
    EXPECT_EQ(supplyCode(1), 0);
    EXPECT_EQ(supplyCode(6), code(1.957));
    for (auto [device, input] : std::vector<std::pair<int, int>>{{-1, 0}, {2, 0}, {0, -1}, {0, 4}, {1, 4}})
        board::setSensorMonitorCode(device, input, 777);
    board::setSensorMonitorCode(1, 3, 0x0FFF);  // 11 bits kept
    board::setSensorMonitorCode(0, 0, 5);
    EXPECT_EQ(sensorCode(1, 3), 0x7FF);
    EXPECT_EQ(sensorCode(0, 0), 5);
    EXPECT_EQ(sensorCode(1, 0), 250);
    EXPECT_EQ(sensorCode(0, 3), 250);
    EXPECT_EQ(sensorCode(2, 0), -1);
    EXPECT_EQ(AD7927_Read(nullptr), -1);
    EXPECT_EQ(ADT1018_Read(0, nullptr), -1);
    // Expander ports 0..9; GPIO pins 0..31.
    for (int port : {0, 9, 10}) {
        UINT16 word = static_cast<UINT16>(port << 8);
        EXPECT_EQ(MAX7317_Write(&word, word) == 0, port < 10) << port;
        EXPECT_EQ(board::expanderLedOn(port), port < 10) << port;
    }
    EXPECT_FALSE(board::expanderLedOn(-1));
    EXPECT_EQ(board::expanderWrites(), 2u);
    EXPECT_EQ(MAX7317_Write(nullptr, 0), -1);
    EXPECT_EQ(sysGpioValSet(0, 1), OK);
    EXPECT_EQ(board::gpioValue(0), 1u);
    EXPECT_EQ(sysGpioValSet(31, 1), OK);
    EXPECT_EQ(sysGpioValSet(32, 1), ERROR);
    EXPECT_EQ(board::gpioValue(31), 1u);
    EXPECT_EQ(board::gpioValue(32), 0u);
    EXPECT_EQ(board::gpioValue(-1), 0u);
    // A failing chip refuses each transfer until it works again.
    const struct { board::Chip chip; int (*transfer)(); } chips[] = {
        {board::Chip::AD7927, [] { return supplyCode(2); }},
        {board::Chip::ADT1018, [] { return sensorCode(0, 1); }},
        {board::Chip::MAX7317, [] { UINT16 w = 0x0301; return MAX7317_Write(&w, w) == 0 ? 0 : -1; }},
    };
    for (const auto& c : chips) {
        board::failChip(c.chip, true);
        EXPECT_EQ(c.transfer(), -1);
        for (const auto& other : chips) {
            if (other.chip != c.chip) {
                EXPECT_NE(other.transfer(), -1);
            }
        }
        board::failChip(c.chip, false);
        EXPECT_NE(c.transfer(), -1);
    }
}

TEST_F(Models, PlatformLibraryPowerUpState) {
    EXPECT_FALSE(board::runLed());
    EXPECT_FALSE(board::faultLed());
    EXPECT_EQ(board::runLedWrites(), 0u);
    EXPECT_EQ(board::faultLedWrites(), 0u);
    float celsius = 0.0f;
    EXPECT_EQ(VKGetTemperature(&celsius), 0);
    EXPECT_EQ(celsius, 35.0f);
    EXPECT_EQ(VKGetTemperature(nullptr), ERROR);
    EXPECT_EQ(VKGetIdentityPartNumber(), 8237001u);
    EXPECT_EQ(VKGetIdentitySerialNumber(), 100001u);
    EXPECT_EQ(VKGetIdentityRevision(), 3u);
    EXPECT_EQ(VKGetIdentityPartNumber(1), 0u);
    EXPECT_EQ(VKGetIdentitySerialNumber(1), 0u);
    EXPECT_EQ(VKGetIdentityRevision(1), 0u);
    char name[40];
    EXPECT_EQ(VKGetModel(name), 0);
    EXPECT_STREQ(name, "ORVEX12");
    EXPECT_EQ(VKGetTargetName(name), 0);
    EXPECT_STREQ(name, "ORVEX12-HOST");
    EXPECT_EQ(VKGetModel(nullptr), ERROR);
    // The calibration block: 44 pairs of gain 1.0 and offset 0, a word that
    // makes the sum 0, then erased flash.
    std::vector<uint8_t> flash(board::kCalFlashSize);
    ASSERT_EQ(VKReadCalibrationData(flash.data(), static_cast<int>(flash.size())), 0);
    uint32_t words[89];
    std::memcpy(words, flash.data(), sizeof words);
    for (int p = 0; p < 44; ++p) {
        float gain = 0.0f;
        std::memcpy(&gain, &words[2 * p], sizeof gain);
        EXPECT_EQ(gain, 1.0f) << p;
        EXPECT_EQ(words[2 * p + 1], 0u) << p;
    }
    EXPECT_EQ(words[88], 0u - 44u * 0x3F800000u);
    for (size_t i = sizeof words; i < flash.size(); ++i) ASSERT_EQ(flash[i], 0xFF) << i;
}

TEST_F(Models, LedsNamesAndCalibrationLengths) {
    const struct { UINT32 on; bool lit; } leds[] = {{1, true}, {0, false}, {2, true}, {0, false}};
    uint64_t n = 0;
    for (const auto& l : leds) {
        VKRunLed(l.on);
        VKFaultLed(l.on);
        ++n;
        EXPECT_EQ(board::runLed(), l.lit) << l.on;
        EXPECT_EQ(board::faultLed(), l.lit) << l.on;
        EXPECT_EQ(board::runLedWrites(), n);
        EXPECT_EQ(board::faultLedWrites(), n);
    }
    for (size_t len : {38u, 39u, 40u}) {
        board::Identity id = board::identity();
        id.model = std::string(len, 'm');
        board::setIdentity(id);
        char name[41];
        std::memset(name, 'z', sizeof name);
        EXPECT_EQ(VKGetModel(name), 0);
        EXPECT_EQ(std::string(name), std::string(std::min<size_t>(len, 39), 'm')) << len;
    }
    std::vector<uint8_t> buf(board::kCalFlashSize + 1, 0x11);
    const struct { int length; bool ok; } lengths[] = {{0, false}, {-1, false}, {1, true}, {512, true}, {513, false}};
    for (const auto& l : lengths) {
        EXPECT_EQ(VKWriteCalibrationData(buf.data(), l.length) == 0, l.ok) << l.length;
        EXPECT_EQ(VKReadCalibrationData(buf.data(), l.length) == 0, l.ok) << l.length;
    }
    EXPECT_NE(VKReadCalibrationData(nullptr, 4), 0);
    EXPECT_NE(VKWriteCalibrationData(nullptr, 4), 0);
    // The CAN status LEDs.
    using board::CanLed;
    EXPECT_EQ(board::canLed1(), CanLed::Off);
    EXPECT_EQ(board::canLed2(), CanLed::Off);
    const struct { STATUS (*call)(); CanLed led2; } can[] = {
        {VKCanLed2Red, CanLed::Red}, {VKCanLed2Green, CanLed::Green}, {VKCanLed2Off, CanLed::Off}};
    for (const auto& c : can) {
        EXPECT_EQ(c.call(), OK);
        EXPECT_EQ(board::canLed2(), c.led2);
        EXPECT_EQ(board::canLed1(), CanLed::Off);
    }
    EXPECT_EQ(VKCanLed1Off(), OK);
    EXPECT_EQ(board::canLed1(), CanLed::Off);
    board::setCalibrationFlash({1, 2, 3});
    uint8_t head[4] = {};
    ASSERT_EQ(VKReadCalibrationData(head, 4), 0);
    EXPECT_EQ(std::vector<uint8_t>(head, head + 4), (std::vector<uint8_t>{1, 2, 3, 0xFF}));
}

// What the CPU reads from channel ch's result register.
int16_t result(int ch) { return static_cast<int16_t>(board::cpuRead16(ZARN_AIN_BASE + 4u * static_cast<uint32_t>(ch))); }

TEST_F(Models, AnalogInputSourcesAndTheAdc) {
    EXPECT_FALSE(board::adcRunning());
    board::poke16(ZARN_AIN_BASE, 0x1234);
    EXPECT_EQ(result(0), 0x1234);  // a stopped ADC converts nothing
    for (uint16_t control : {2, 4, 3}) {
        board::poke16(ZARN_ADC_CONTROL, control);
        EXPECT_EQ(board::adcRunning(), control == 3) << control;
    }
    // Every channel starts at the live zero, 4 mA.
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(result(ch), board::analogInputCode(4.0)) << ch;
    // The second halfword of a slot is not a result.
    board::poke16(ZARN_AIN_BASE + 2, 0x0BAD);
    EXPECT_EQ(board::cpuRead16(ZARN_AIN_BASE + 2), 0x0BAD);
    // Channels outside 0..7 are ignored.
    for (int ch : {-1, 8}) {
        board::setAnalogInputMa(ch, 20.0);
        board::setAnalogInputRaw(ch, 5);
        board::setAnalogInputOpen(ch, true);
        EXPECT_FALSE(board::analogLoopSupplyOn(ch));
    }
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(result(ch), board::analogInputCode(4.0)) << ch;
    // A raw code until a current is set again.
    board::setAnalogInputRaw(5, -77);
    EXPECT_EQ(result(5), -77);
    board::setAnalogInputMa(5, 12.0);
    EXPECT_EQ(result(5), board::analogInputCode(12.0));
    // Loop-powered: current only with the channel's own supply bit.
    board::setAnalogInputLoopPowered(6, true);
    EXPECT_EQ(result(6), board::analogInputCode(0.0));
    board::poke16(ZARN_AIN_LOOP_POWER, 1u << 5);
    EXPECT_EQ(result(6), board::analogInputCode(0.0));
    board::poke16(ZARN_AIN_LOOP_POWER, 1u << 6);
    EXPECT_TRUE(board::analogLoopSupplyOn(6));
    EXPECT_EQ(result(6), board::analogInputCode(4.0));
    // Codes clamp at the ends of the range; noise never adds to a dead loop.
    EXPECT_EQ(board::analogInputCode(1000.0), 32767);
    EXPECT_EQ(board::analogInputCode(-1000.0), -32768);
    board::setAnalogInputOpen(2, true);
    board::setAnalogInputNoise(2, 0.5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(result(2), board::analogInputCode(0.0));
    // The same noise sequence on every run, different per channel.
    auto sequence = [](int ch) {
        board::reset();
        board::poke16(ZARN_ADC_CONTROL, 3);
        board::setAnalogInputMa(ch, 10.0);
        board::setAnalogInputNoise(ch, 1.0);
        std::vector<int16_t> s;
        for (int i = 0; i < 8; ++i) s.push_back(result(ch));
        return s;
    };
    const auto first = sequence(1);
    EXPECT_EQ(sequence(1), first);
    EXPECT_NE(sequence(2), first);
    const double step = (board::analogInputCode(11.0) - board::analogInputCode(10.0));
    for (int16_t c : first) EXPECT_LE(std::abs(c - board::analogInputCode(10.0)), step);
}

}  // namespace
