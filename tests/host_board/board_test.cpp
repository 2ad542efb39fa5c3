// The board model: register space, behaviours, write log, built-in FPGA
// behaviour, chips and platform library calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/chips.h"
#include "host/hostkernel.h"
#include "host/vkboard.h"

namespace {

class Board : public ::testing::Test {
protected:
    void SetUp() override {
        board::reset();
        hk::start(hk::ClockMode::Simulated);
    }
    void TearDown() override { hk::shutdown(); }
};

TEST_F(Board, QuietDefaultState) {
    EXPECT_EQ(board::controlRegister(), 0u);
    EXPECT_FALSE(board::outputsReleased());
    EXPECT_FALSE(board::estopLatched());
    EXPECT_FALSE(board::watchdogEnabled());
    EXPECT_EQ(board::cpuRequestStatus(), 0u);
    EXPECT_EQ(board::cpuRead16(ZARN_STATUS), 0u);
    for (uint32_t r : {ZARN_KEYPAD0, ZARN_KEYPAD1, ZARN_KEYPAD2}) EXPECT_EQ(board::cpuRead16(r), 0u);
    // Analog inputs at 4 mA in the driver's scaling; speed sensors at rest.
    for (int ch = 0; ch < ZARN_AIN_COUNT; ++ch) {
        const auto raw = static_cast<int16_t>(board::cpuRead16(ZARN_AIN_BASE + 4u * static_cast<uint32_t>(ch)));
        EXPECT_NEAR(raw * 0.000416127 + 12.495655, 4.0, 0.001);
    }
    EXPECT_EQ(board::cpuRead32(ZARN_TSS_PERIOD_A0), 0xFFFFFFFFu);
    EXPECT_EQ(board::cpuRead32(ZARN_TSS_PERIOD_B0 + ZARN_TSS_STRIDE), 0xFFFFFFFFu);
    EXPECT_EQ(board::discreteInputs(), 0u);
    EXPECT_EQ(board::relayOutputs(), 0u);
    EXPECT_EQ(board::expanderPorts(), 0x3FFu);  // every LED off
    EXPECT_FALSE(board::runLed());
    EXPECT_FALSE(board::faultLed());
    EXPECT_EQ(board::canLed2(), board::CanLed::Off);
    float t = 0;
    EXPECT_EQ(VKGetTemperature(&t), 0);
    EXPECT_FLOAT_EQ(t, 35.0f);

    // The calibration flash holds a valid table: 89 words summing to 0 with a
    // non-zero checksum word, gains 1.0 and offsets 0.0.
    uint32_t words[89];
    ASSERT_EQ(VKReadCalibrationData(words, 356), 0);
    uint32_t sum = 0;
    for (uint32_t w : words) sum += w;
    EXPECT_EQ(sum, 0u);
    EXPECT_NE(words[88], 0u);
    float gain = 0, offset = -1;
    std::memcpy(&gain, &words[86], 4);
    std::memcpy(&offset, &words[87], 4);
    EXPECT_EQ(gain, 1.0f);
    EXPECT_EQ(offset, 0.0f);
}

TEST_F(Board, RegisterSpaceBehavioursAndWriteLog) {
    // 32-bit registers are two big-endian halves.
    board::cpuWrite32(0x8080E000, 0xA1B2C3D4);
    EXPECT_EQ(board::peek16(0x8080E000), 0xA1B2u);
    EXPECT_EQ(board::peek16(0x8080E002), 0xC3D4u);
    board::poke16(0x8080E002, 0x0001);
    EXPECT_EQ(board::cpuRead32(0x8080E000), 0xA1B20001u);
    board::pokeBits16(0x8080E002, 0x00F0, 0x0FFF);
    EXPECT_EQ(board::peek16(0x8080E002), 0x00F1u);

    // A behaviour sees CPU accesses of its range only; pokes bypass it.
    std::vector<uint32_t> writes;
    board::attach(0x8080E010, 0x8080E01E,
                  board::Behaviour{[](uint32_t a, int, uint32_t stored) { return stored + (a & 0xFF); },
                                   [&](uint32_t a, int w, uint32_t v) {
                                       writes.push_back(a);
                                       writes.push_back(static_cast<uint32_t>(w));
                                       writes.push_back(v);
                                   }});
    board::cpuWrite16(0x8080E012, 5);
    board::cpuWrite16(0x8080E020, 5);  // outside
    board::poke16(0x8080E014, 9);
    EXPECT_EQ(writes, (std::vector<uint32_t>{0x8080E012, 16, 5}));
    EXPECT_EQ(board::cpuRead16(0x8080E012), 5u + 0x12u);
    EXPECT_EQ(board::cpuRead16(0x8080E020), 5u);
    EXPECT_EQ(board::peek16(0x8080E012), 5u);
    // Attaching over part of the range replaces it there; an empty behaviour detaches.
    board::attach(0x8080E010, 0x8080E012, board::Behaviour{});
    EXPECT_EQ(board::cpuRead16(0x8080E012), 5u);
    EXPECT_EQ(board::cpuRead16(0x8080E014), 9u + 0x14u);

    // The log holds CPU writes in order with their time; pokes are not logged.
    hk::runTicks(3);
    board::cpuWrite16(0x8080E030, 0x1234);
    auto log = board::writeLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].address, 0x8080E000u);
    EXPECT_EQ(log[0].width, 32);
    EXPECT_EQ(log[0].value, 0xA1B2C3D4u);
    EXPECT_EQ(log[3].address, 0x8080E030u);
    EXPECT_EQ(log[3].timeNs, hk::nowNs());
    EXPECT_EQ(log[3].timeNs, 3 * hk::kTickNs);
    EXPECT_EQ(board::writeLog(0x8080E010, 0x8080E020).size(), 2u);
    board::setWriteLogCapacity(2);
    log = board::writeLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].address, 0x8080E030u);
    board::clearWriteLog();
    EXPECT_TRUE(board::writeLog().empty());
}

// Without the kernel running: a death test forks this process.
TEST(BoardAccess, BadAccessesAbort) {
    EXPECT_DEATH(board::cpuRead16(0x80810000), "bad 16-bit FPGA access at 0x80810000");
    EXPECT_DEATH(board::cpuWrite16(0x8080F041, 1), "bad 16-bit");
    EXPECT_DEATH(board::cpuRead32(0x8080F042), "bad 32-bit");
    EXPECT_DEATH(board::cpuRead32(0x8080FFFE), "bad 32-bit");
    EXPECT_DEATH(board::cpuRead16(0x807FFFFE), "bad 16-bit");
}

TEST_F(Board, InterruptStatusAcknowledgeClearsWrittenBits) {
    board::raiseCpuRequest(ZARN_INTR_WDOG_TIMEOUT | ZARN_INTR_CALLBACK);
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_STATUS), 5u);
    board::cpuWrite16(ZARN_INTR_STATUS, 0);  // read-only to the CPU
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_STATUS), 5u);
    board::cpuWrite16(ZARN_INTR_ACK, ZARN_INTR_CALLBACK | ZARN_INTR_POWER_FAIL);
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_STATUS), 1u);
    EXPECT_EQ(board::cpuRead16(ZARN_INTR_ACK), 0u);
    board::cpuWrite16(ZARN_INTR_ACK, ZARN_INTR_WDOG_TIMEOUT);
    EXPECT_EQ(board::cpuRequestStatus(), 0u);
}

std::vector<bool> delivered;  // intContext() of each delivery
void recordDelivery(long arg) {
    EXPECT_EQ(arg, 77);
    delivered.push_back(intContext());
}

TEST_F(Board, CpuRequestDeliveredAtInterruptLevelOnceEnabled) {
    VKCpuRqstConnect(recordDelivery, 77);
    board::raiseCpuRequest(ZARN_INTR_POWER_FAIL);
    hk::runTicks(1);
    EXPECT_TRUE(delivered.empty());  // the platform has not initialised it

    VKCpuRqstInit();  // pending status is delivered as soon as it is enabled
    EXPECT_EQ(board::peek16(ZARN_INTR_ENABLE) & 1u, 1u);
    EXPECT_EQ(board::peek16(ZARN_INTR_SOURCES) & ZARN_INTR_SRC_CPU_RQST, ZARN_INTR_SRC_CPU_RQST);
    hk::runTicks(1);
    EXPECT_EQ(delivered, std::vector<bool>{true});
    board::cpuWrite16(ZARN_INTR_ACK, ZARN_INTR_POWER_FAIL);

    // Raises before the handler runs are served by one delivery. (Raised from
    // a task: from this thread the idle CPU might serve the first at once.)
    hk::runTask([] {
        board::raiseCpuRequest(ZARN_INTR_POWER_FAIL);
        board::raiseCpuRequest(ZARN_INTR_WDOG_TIMEOUT);
    });
    EXPECT_EQ(delivered.size(), 2u);
    EXPECT_EQ(board::cpuRequestsDelivered(), 2u);
    EXPECT_EQ(board::cpuRequestStatus(), 3u);

    // Masked in the FPGA: nothing is delivered.
    board::cpuWrite16(ZARN_INTR_ACK, 3);
    board::cpuWrite16(ZARN_INTR_ENABLE, 0);
    board::raiseCpuRequest(ZARN_INTR_CALLBACK);
    hk::runTicks(1);
    EXPECT_EQ(delivered.size(), 2u);
    board::cpuWrite16(ZARN_INTR_ENABLE, 1);
    hk::runTicks(1);
    EXPECT_EQ(delivered.size(), 3u);
}

TEST_F(Board, WatchdogKeysAndTimeout) {
    using board::cpuWrite16;
    // Disabled: no time-out however long.
    hk::runTicks(100);
    EXPECT_FALSE(board::poll());

    cpuWrite16(ZARN_WDOG_ENABLE, 1);
    board::setWatchdogTimeoutNs(20 * hk::kTickNs);
    auto handshake = [] {
        cpuWrite16(ZARN_WDOG_KEY_A, 0x5555);
        cpuWrite16(ZARN_WDOG_KEY_A, 0xAAAA);
        cpuWrite16(ZARN_WDOG_KEY_B, 0x5555);
        cpuWrite16(ZARN_WDOG_KEY_B, 0xAAAA);
    };
    for (int i = 0; i < 10; ++i) {
        hk::runTicks(15);
        handshake();
        EXPECT_FALSE(board::poll());
    }
    EXPECT_EQ(board::watchdogHandshakes(), 10u);

    // Keys out of order or to the wrong register do not count.
    cpuWrite16(ZARN_WDOG_KEY_A, 0xAAAA);  // bad
    cpuWrite16(ZARN_WDOG_KEY_A, 0x5555);
    cpuWrite16(ZARN_WDOG_KEY_B, 0xAAAA);  // bad
    cpuWrite16(ZARN_WDOG_KEY_A, 0x5555);
    cpuWrite16(ZARN_WDOG_KEY_A, 0xAAAA);
    cpuWrite16(ZARN_WDOG_KEY_B, 0x5555);
    cpuWrite16(ZARN_WDOG_KEY_A, 0xAAAA);  // bad
    EXPECT_EQ(board::watchdogBadKeys(), 3u);
    EXPECT_EQ(board::watchdogHandshakes(), 10u);
    handshake();
    EXPECT_EQ(board::watchdogHandshakes(), 11u);

    // No handshake for longer than the time-out: status bit 0, once.
    hk::runTicks(20);
    EXPECT_FALSE(board::poll());
    hk::runTicks(1);
    EXPECT_TRUE(board::poll());
    EXPECT_FALSE(board::poll());
    EXPECT_EQ(board::cpuRequestStatus(), ZARN_INTR_WDOG_TIMEOUT);
    board::cpuWrite16(ZARN_INTR_ACK, ZARN_INTR_WDOG_TIMEOUT);
    // A handshake re-arms it; so does switching it on again.
    handshake();
    hk::runTicks(21);
    EXPECT_TRUE(board::poll());
    cpuWrite16(ZARN_WDOG_ENABLE, 0);
    cpuWrite16(ZARN_WDOG_ENABLE, 1);
    hk::runTicks(20);
    EXPECT_FALSE(board::poll());
}

TEST_F(Board, EstopLatch) {
    board::setEstopButton(true);
    EXPECT_EQ(board::cpuRead16(ZARN_STATUS) & 1u, 1u);
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_ESTOP_RESET);  // held while pressed
    EXPECT_TRUE(board::estopLatched());
    board::cpuWrite16(ZARN_CTRL, 0);
    board::setEstopButton(false);
    EXPECT_TRUE(board::estopLatched());
    // Other status bits come from the stored register.
    board::pokeBits16(ZARN_STATUS, ZARN_STATUS_BACKLIGHT_FAULT, 0xFFFF);
    EXPECT_EQ(board::cpuRead16(ZARN_STATUS), ZARN_STATUS_BACKLIGHT_FAULT | ZARN_STATUS_ESTOP);
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_ESTOP_RESET);
    EXPECT_EQ(board::cpuRead16(ZARN_STATUS), ZARN_STATUS_BACKLIGHT_FAULT);
}

TEST_F(Board, OutputsHeldOffWhileLocked) {
    board::cpuWrite16(ZARN_RELAYS, ZARN_RELAYS_ALWAYS | 0x5);
    board::cpuWrite16(zarnAoutCountReg(4), 7000);
    EXPECT_EQ(board::relaysEnergised(), 0u);
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(4)), 0u);
    board::cpuWrite16(ZARN_CTRL, ZARN_CTRL_OUTPUTS_RELEASED);
    EXPECT_EQ(board::relaysEnergised(), 0x5u);
    EXPECT_EQ(board::pwmOutput(zarnAoutCountReg(4)), 7000u);
    EXPECT_EQ(zarnAoutCountReg(4), 0x8080F1A0u);
    EXPECT_EQ(board::relayOutputs(), ZARN_RELAYS_ALWAYS | 0x5u);
}

TEST_F(Board, SpiEngineDoneBit) {
    board::cpuWrite16(ZARN_SPI_CMD, 5);
    EXPECT_EQ(board::cpuRead16(ZARN_SPI_CMD), 5u | ZARN_SPI_DONE);
    board::cpuWrite16(ZARN_SPI_CMD, 260);  // no transfer
    EXPECT_EQ(board::cpuRead16(ZARN_SPI_CMD), 260u);
    board::setSpiStuck(true);
    board::cpuWrite16(ZARN_SPI_CMD, 5);
    EXPECT_EQ(board::cpuRead16(ZARN_SPI_CMD) & ZARN_SPI_DONE, 0u);
    EXPECT_EQ(board::spiTransfers(), 2u);
}

TEST_F(Board, DiscreteInputSampleHistory) {
    hk::runTicks(2);  // 10 ms
    const uint64_t ms = 1'000'000;
    board::setDiscreteInputsAt(11 * ms, 1u << 3);
    board::setDiscreteInputsAt(12 * ms + ms / 2, (1u << 3) | (1u << 17));
    board::setDiscreteInputsAt(14 * ms, 1u << 3);
    hk::runTicks(1);  // 15 ms
    auto sample = [](int k, int word) { return board::cpuRead16(zarnDinSampleReg(k, word)); };
    // k = 4 .. 0 are the samples at 11, 12, 13, 14 and 15 ms.
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(sample(k, 0), 1u << 3) << k;
    EXPECT_EQ(sample(4, 1), 0u);
    EXPECT_EQ(sample(3, 1), 0u);
    EXPECT_EQ(sample(2, 1), 1u << 1);
    EXPECT_EQ(sample(1, 1), 0u);
    EXPECT_EQ(sample(0, 1), 0u);
    EXPECT_EQ(zarnDinSampleReg(4, 1), ZARN_DIN_SAMPLES_FIRST);

    // A change now shows in the current sample only.
    board::setDiscreteInput(0, true);
    EXPECT_EQ(sample(0, 0), (1u << 3) | 1u);
    EXPECT_EQ(sample(1, 0), 1u << 3);
    EXPECT_EQ(board::discreteInputs(), (1u << 3) | 1u);
    hk::runTicks(4);  // old changes are forgotten, the levels stay
    EXPECT_EQ(sample(4, 0), (1u << 3) | 1u);
}

TEST_F(Board, ChipDrivers) {
    // Supply monitor: the driver's command for channel ch addresses VIN ch+1;
    // the defaults give the nominal rails in the driver's scaling.
    const double scale[8] = {2.5, 2.5, 2.5, 5.0, 2.333 * 2.5, 7.665 * 2.5, 8.5 * 2.5, 10.979 * 2.5};
    const double rail[8] = {1.2, 1.4, 1.8, 3.3, 5.0, 15.0, -15.0, 24.0};
    for (int ch = 0; ch < 8; ++ch) {
        UINT16 word = static_cast<UINT16>(0x8330 | (((ch + 1) & 7) << 10));
        ASSERT_EQ(AD7927_Read(&word), 0);
        EXPECT_EQ(word >> 12, (ch + 1) & 7);
        double v = (word & 0xFFF) / 4095.0 * scale[ch];
        if (ch == 6) v -= 7.5 * 3.3;
        EXPECT_NEAR(v, rail[ch], std::fabs(rail[ch]) * 0.01) << ch;
    }
    board::setSupplyMonitorInput(2, 3.0);  // above full scale
    UINT16 word = 0x8330 | (2 << 10);
    AD7927_Read(&word);
    EXPECT_EQ(word, 0x2FFF);
    board::failChip(board::Chip::AD7927, true);
    word = 0x8330;
    EXPECT_NE(AD7927_Read(&word), 0);
    EXPECT_EQ(word, 0x8330);

    // Sensor monitor: input in bits 13..12, code back in bits 14..4.
    board::setSensorMonitorCode(1, 2, 500);
    word = 0xE3CA;
    ASSERT_EQ(ADT1018_Read(1, &word), 0);
    EXPECT_EQ((word >> 4) & 0x7FF, 500);
    word = 0xC3CA;
    ASSERT_EQ(ADT1018_Read(1, &word), 0);
    EXPECT_NEAR(((word >> 4) & 0x7FF) * 0.02 - 5.0, 0.0, 1e-9);  // probe at 0 V
    word = 0xC3CA;
    EXPECT_NE(ADT1018_Read(2, &word), 0);
    EXPECT_EQ(word, 0xC3CA);

    // Expander: ports 0..9, output level in bit 0.
    UINT16 cmd = 0x0300;
    EXPECT_EQ(MAX7317_Write(&cmd, cmd), 0);
    EXPECT_TRUE(board::expanderLedOn(3));
    cmd = 0x0301;
    EXPECT_EQ(MAX7317_Write(&cmd, cmd), 0);
    EXPECT_FALSE(board::expanderLedOn(3));
    cmd = 0x0A00;
    EXPECT_NE(MAX7317_Write(&cmd, cmd), 0);
    EXPECT_EQ(board::expanderWrites(), 2u);

    EXPECT_EQ(sysGpioValSet(31, 1), OK);
    EXPECT_EQ(board::gpioValue(31), 1u);
    EXPECT_EQ(sysGpioValSet(32, 1), ERROR);
}

TEST_F(Board, PlatformLibrary) {
    VKRunLed(1);
    VKFaultLed(1);
    VKFaultLed(0);
    EXPECT_TRUE(board::runLed());
    EXPECT_FALSE(board::faultLed());
    EXPECT_EQ(board::faultLedWrites(), 2u);
    VKCanLed2Red();
    EXPECT_EQ(board::canLed2(), board::CanLed::Red);
    VKCanLed2Green();
    EXPECT_EQ(board::canLed2(), board::CanLed::Green);
    VKCanLed2Off();
    EXPECT_EQ(board::canLed2(), board::CanLed::Off);
    VKCanLed1Off();
    EXPECT_EQ(board::canLed1(), board::CanLed::Off);

    board::setTemperature(61.5f);
    float t = 0;
    EXPECT_EQ(VKGetTemperature(&t), 0);
    EXPECT_FLOAT_EQ(t, 61.5f);
    board::failTemperatureSensor(true);
    t = -1;
    EXPECT_NE(VKGetTemperature(&t), 0);
    EXPECT_EQ(t, -1.0f);

    board::setIdentity({1234567, 42, 7, "M", std::string(50, 'x')});
    EXPECT_EQ(VKGetIdentityPartNumber(), 1234567u);
    EXPECT_EQ(VKGetIdentitySerialNumber(), 42u);
    EXPECT_EQ(VKGetIdentityRevision(), 7u);
    EXPECT_EQ(VKGetIdentitySerialNumber(1, 0), 0u);
    char name[40];
    std::memset(name, '#', sizeof name);
    EXPECT_EQ(VKGetTargetName(name), 0);
    EXPECT_EQ(std::string(name), std::string(39, 'x'));  // cut to fit a text cell
    EXPECT_EQ(VKGetModel(name), 0);
    EXPECT_STREQ(name, "M");

    // Calibration flash: what is written is read back; bad lengths and a
    // failing flash are refused.
    uint8_t block[356];
    for (size_t i = 0; i < sizeof block; ++i) block[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(VKWriteCalibrationData(block, 356), 0);
    uint8_t back[356] = {};
    EXPECT_EQ(VKReadCalibrationData(back, 356), 0);
    EXPECT_EQ(std::memcmp(block, back, sizeof block), 0);
    EXPECT_NE(VKReadCalibrationData(back, 0), 0);
    EXPECT_NE(VKReadCalibrationData(back, static_cast<int>(board::kCalFlashSize) + 1), 0);
    board::failCalibrationFlash(true);
    EXPECT_NE(VKWriteCalibrationData(block, 356), 0);
    EXPECT_NE(VKReadCalibrationData(back, 356), 0);
    board::failCalibrationFlash(false);
    board::setCalibrationFlash(std::vector<uint8_t>(356, 0));
    EXPECT_EQ(VKReadCalibrationData(back, 356), 0);
    EXPECT_EQ(back[100], 0u);
}

}  // namespace
