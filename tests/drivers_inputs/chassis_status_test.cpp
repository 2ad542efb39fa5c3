// The chassis status task and the input gathers in the running application:
// supplies every 250 ms with a failing monitor chip, the status LEDs, the
// board temperature, and the ADC fault cell of the 20 ms gather.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "drivers/ZarnAnalogIns.h"
#include "drivers/ZarnChassisStatus.h"
#include "host/analog_inputs.h"
#include "host/board.h"
#include "host/chips.h"
#include "host/hostkernel.h"
#include "host/vkboard.h"
#include "tests/support/app_harness.h"

namespace {

constexpr int R20 = 1;

class ChassisStatus : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        board::reset();
    }
    // Runs simulated time for `ms` milliseconds.
    void runMs(int ms) { runPasses(R20, static_cast<uint32_t>(ms / 20)); }
};

// What the monitor reports for a pin voltage: the chip's 12-bit code.
float code(double pin) { return static_cast<float>(std::round(pin / 2.5 * 4095.0)) / 4095.0f; }

struct Rail {
    const char* cell;
    int vin;       // monitor input of the rail's channel
    double pin;    // volts at the pin, each rail its own and off its nominal
    float expect;  // volts in the cell
};

TEST_F(ChassisStatus, EverySupplyIsReadIntoItsCellFourTimesASecondAndKeptWhileTheMonitorFails) {
    const float v33 = 2.0f * code(1.6) * 2.5f;
    const Rail rails[] = {
        {"PS_1_2V", 1, 1.25, code(1.25) * 2.5f},
        {"PS_1_4V", 2, 1.37, code(1.37) * 2.5f},
        {"PS_1_8V", 3, 1.83, code(1.83) * 2.5f},
        {"PS_3_3V", 4, 1.6, v33},
        {"PS_5V", 5, 2.1, code(2.1) * 2.333f * 2.5f},
        {"PS_15V", 6, 1.98, code(1.98) * 7.665f * 2.5f},
        // The negative rail uses the 3.3 V reading of the same scan.
        {"PS_N15V", 7, 1.16, code(1.16) * 8.5f * 2.5f - 7.5f * v33},
        {"PS_24V", 0, 2.2, code(2.2) * 10.979f * 2.5f},
    };
    auto cell = [](const Rail& r) { return std::string("ORVEX12_IO.CHASS_STATUS.") + r.cell; };
    for (const Rail& r : rails) board::setSupplyMonitorInput(r.vin, r.pin);
    startApp();
    EXPECT_NE(_ORVEX12_IO_CHASS_STATUS_2278pidTemp, 0);
    bool found = false;
    for (const hk::TaskInfo& t : hk::listTasks()) {
        if (t.id != _ORVEX12_IO_CHASS_STATUS_2278pidTemp) continue;
        found = true;
        EXPECT_EQ(t.name, "ORVEX12_IO_CHASS_STATUS_2278");
        EXPECT_EQ(t.priority, 40);
    }
    EXPECT_TRUE(found);
    // The task starts 1 s after the application.
    EXPECT_EQ(real("ORVEX12_IO.CHASS_STATUS.PS_1_2V"), 0.0f);
    runMs(1100);
    for (const Rail& r : rails) EXPECT_FLOAT_EQ(real(cell(r)), r.expect) << r.cell;
    // A new reading within one period.
    board::setSupplyMonitorInput(1, 1.0);
    runMs(260);
    EXPECT_FLOAT_EQ(real("ORVEX12_IO.CHASS_STATUS.PS_1_2V"), code(1.0) * 2.5f);
    // A failing monitor: every cell keeps its last good value.
    board::failChip(board::Chip::AD7927, true);
    board::setSupplyMonitorInput(1, 0.5);
    board::setSupplyMonitorInput(4, 0.2);
    testing::internal::CaptureStdout();
    runMs(1000);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Voltage Monitor SPI error\n"), std::string::npos);
    EXPECT_FLOAT_EQ(real("ORVEX12_IO.CHASS_STATUS.PS_1_2V"), code(1.0) * 2.5f);
    for (const Rail& r : rails) {
        if (r.vin == 1) continue;  // the 1.2 V rail, read anew above
        EXPECT_FLOAT_EQ(real(cell(r)), r.expect) << r.cell;
    }
    EXPECT_FLOAT_EQ(ps3_3Value, v33);
    // The chip back: the readings follow again.
    board::failChip(board::Chip::AD7927, false);
    runMs(260);
    EXPECT_FLOAT_EQ(real("ORVEX12_IO.CHASS_STATUS.PS_1_2V"), code(0.5) * 2.5f);
    EXPECT_FLOAT_EQ(real("ORVEX12_IO.CHASS_STATUS.PS_3_3V"), 2.0f * code(0.2) * 2.5f);
    // Four readings a second: with a new value set as soon as a reading is
    // seen, the fifth reading comes one second after the first.
    std::vector<int> seenAt;
    double pin = 0.9;
    board::setSupplyMonitorInput(1, pin);
    for (int ms = 20; ms <= 2000 && seenAt.size() < 5; ms += 20) {
        runMs(20);
        if (real("ORVEX12_IO.CHASS_STATUS.PS_1_2V") != code(pin) * 2.5f) continue;
        seenAt.push_back(ms);
        pin -= 0.1;
        board::setSupplyMonitorInput(1, pin);
    }
    ASSERT_EQ(seenAt.size(), 5u) << "the supplies were not read five times in 2 s";
    EXPECT_EQ(seenAt[4] - seenAt[0], 1000);
}

TEST_F(ChassisStatus, StatusLedsAreTakenOverAtTheFirstChangeOnly) {
    board::setTemperature(47.5f);
    startApp();
    runMs(1100);
    EXPECT_EQ(ORVEX12_IO_CHASS_STATUS_2278TemperatureValue, 47.5f);
    // Unchanged commands drive nothing.
    const uint64_t run0 = board::runLedWrites(), fault0 = board::faultLedWrites();
    runMs(1000);
    EXPECT_EQ(board::runLedWrites(), run0);
    EXPECT_EQ(board::faultLedWrites(), fault0);
    // The first change switches both off, then drives the changed one.
    setCell("ORVEX12_IO.CHASS_STATUS.CPU_GREEN_LED", 1);
    runMs(260);
    EXPECT_EQ(board::runLedWrites(), run0 + 2);
    EXPECT_EQ(board::faultLedWrites(), fault0 + 1);
    EXPECT_TRUE(board::runLed());
    EXPECT_FALSE(board::faultLed());
    // Later changes drive only the LED that changed.
    setCell("ORVEX12_IO.CHASS_STATUS.CPU_RED_LED", 1);
    runMs(260);
    EXPECT_EQ(board::runLedWrites(), run0 + 2);
    EXPECT_EQ(board::faultLedWrites(), fault0 + 2);
    EXPECT_TRUE(board::faultLed());
    // The expander LEDs follow their commands every pass.
    setCell("ORVEX12_IO.INIT_BLINK.B_SW", 1);
    setCell("SHUTDOWNS.TRIPPED_LED.B_NAME", 0);
    runMs(260);
    EXPECT_TRUE(board::expanderLedOn(8));
    EXPECT_FALSE(board::expanderLedOn(9));
    setCell("ORVEX12_IO.INIT_BLINK.B_SW", 0);
    setCell("SHUTDOWNS.TRIPPED_LED.B_NAME", 1);
    runMs(260);
    EXPECT_FALSE(board::expanderLedOn(8));
    EXPECT_TRUE(board::expanderLedOn(9));
    // A failing temperature sensor keeps the last temperature.
    board::failTemperatureSensor(true);
    board::setTemperature(80.0f);
    runMs(500);
    EXPECT_EQ(ORVEX12_IO_CHASS_STATUS_2278TemperatureValue, 47.5f);
    // A new start reads no temperature of the last run before its own.
    stopApp();
    startApp();
    EXPECT_EQ(ORVEX12_IO_CHASS_STATUS_2278TemperatureValue, 0.0f);
}

TEST_F(ChassisStatus, ProductModelComesFromThePlatform) {
    board::Identity id = board::identity();
    id.model = "Orvex 12 test rig";
    board::setIdentity(id);
    startApp();
    EXPECT_EQ(text("ORVEX12_IO.CHASS_STATUS.PRODUCT_MODEL"), "Orvex 12 test rig");
}

TEST_F(ChassisStatus, AdcFaultCellFollowsTheFpgaAndAFailedSetUp) {
    struct Case {
        const char* name;
        bool stuckSpi, faultA, faultB;
        uint32_t cell;
    };
    const Case cases[] = {
        {"healthy", false, false, false, 0},
        {"fault A", false, true, false, 1},
        {"fault B", false, false, true, 1},
        {"set-up timed out", true, false, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        board::reset();
        board::setSpiStuck(c.stuckSpi);
        testing::internal::CaptureStdout();
        startApp();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.find("Spif bit error") != std::string::npos, c.stuckSpi);
        runPasses(R20, 2);
        EXPECT_EQ(boolean("ORVEX12_IO.CHASS_STATUS.FPGA_ADC_FLT"), c.stuckSpi ? 1u : 0u);
        board::setAdcFault(c.faultA, c.faultB);
        runPasses(R20, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.CHASS_STATUS.FPGA_ADC_FLT"), c.cell);
        board::setAdcFault(false, false);
        runPasses(R20, 1);
        EXPECT_EQ(boolean("ORVEX12_IO.CHASS_STATUS.FPGA_ADC_FLT"), c.stuckSpi ? 1u : 0u);
        stopApp();
    }
}

}  // namespace
