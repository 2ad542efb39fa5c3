// Chassis status block task.
#include "drivers/ZarnChassisStatus.h"

#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "drivers/ZarnAnalogIns.h"
#include "drivers/ZarnGPIOExp.h"
#include "drivers/ZarnHwDepend.h"
#include "host/vkboard.h"
#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/appmem.h"
#include "runtime/iogather.h"

float ORVEX12_IO_CHASS_STATUS_2278TemperatureValue = 0.0f;
int ORVEX12_IO_CHASS_STATUS_2278PSMonInit = 0;
TASK_ID _ORVEX12_IO_CHASS_STATUS_2278pidTemp = 0;

namespace {

constexpr int kSupplyChannels = 8;
constexpr uint32_t kBlinkLedPort = 8;
constexpr uint32_t kTrippedLedPort = 9;

// The block's private cells: the last red and green states written, and
// whether the task has taken the run and fault LEDs over from the platform.
struct ChassisStatusVars {
    uint32_t lastRed;
    uint32_t lastGreen;
    uint32_t tookOver;
};
BlockRam<ChassisStatusVars> chassis_st;

float* supplyCell(int ch) {
    using namespace cells;
    switch (ch) {
        case 0: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_1_2V);
        case 1: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_1_4V);
        case 2: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_1_8V);
        case 3: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_3_3V);
        case 4: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_5V);
        case 5: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_15V);
        case 6: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_N15V);
        default: return &static_cast<float&>(ORVEX12_IO.CHASS_STATUS_PS_24V);
    }
}

// Drives the run and fault LEDs when their commands changed; the first
// change switches both off before the platform's use of them ends.
void driveStatusLeds() {
    using namespace cells;
    ChassisStatusVars& v = chassis_st;
    const uint32_t red = ORVEX12_IO.CHASS_STATUS_CPU_RED_LED;
    const uint32_t green = ORVEX12_IO.CHASS_STATUS_CPU_GREEN_LED;
    if (red == v.lastRed && green == v.lastGreen) return;
    if (v.tookOver == 0) {
        DriveZarnRedLED(0);
        DriveZarnGreenLED(0);
        v.tookOver = 1;
    }
    if (red != v.lastRed) {
        DriveZarnRedLED(red);
        v.lastRed = red;
    }
    if (green != v.lastGreen) {
        DriveZarnGreenLED(green);
        v.lastGreen = green;
    }
}

void onePass() {
    using namespace cells;
    float celsius = 0.0f;
    if (VKGetTemperature(&celsius) == 0) ORVEX12_IO_CHASS_STATUS_2278TemperatureValue = celsius;
    SetZarnGPIOExpLeds(kBlinkLedPort, ORVEX12_IO.INIT_BLINK_B_SW);
    SetZarnGPIOExpLeds(kTrippedLedPort, SHUTDOWNS.TRIPPED_LED_B_NAME);
    driveStatusLeds();
    for (int ch = 0; ch < kSupplyChannels; ++ch) {
        float volts = 0.0f;
        // A failed reading keeps the last good value in the cell.
        if (ReadZarnPSMon(static_cast<uint32_t>(ch), &volts) == 0) *supplyCell(ch) = volts;
    }
}

}  // namespace

void ORVEX12_IO_CHASS_STATUS_2278Temp(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    VKOS_SleepMillisec(1000);
    while (ApplicationRunning == 1) {
        onePass();
        VKOS_SleepMillisec(250);
    }
}

void ORVEX12_IO_CHASS_STATUS_init_blks() {
    using namespace cells;
    // Until the task's first reading a new start knows no temperature, as
    // at power-up: the last run's would fill the unit-temperature average.
    ORVEX12_IO_CHASS_STATUS_2278TemperatureValue = 0.0f;
    ORVEX12_IO_CHASS_STATUS_2278PSMonInit = InitZarnPSMon();
    ORVEX12_IO.CHASS_STATUS_PRODUCT_MODEL = "";
    char model[40] = {};
    VKGetModel(model);
    model[sizeof model - 1] = '\0';
    ORVEX12_IO.CHASS_STATUS_PRODUCT_MODEL = model;
    _ORVEX12_IO_CHASS_STATUS_2278pidTemp =
        VKOS_CreateProcess(ORVEX12_IO_CHASS_STATUS_2278Temp, 8192, 40, "ORVEX12_IO_CHASS_STATUS_2278", 0);
    VKOS_ResumeProcess(_ORVEX12_IO_CHASS_STATUS_2278pidTemp);
}

// The ADC fault of the 20 ms I/O gather; an ADC whose set-up timed out at
// start-up counts as faulty too.
void iogather_R20_fpga_adc_fault() {
    using namespace r20;
    ORVEX12_IO.CHASS_STATUS_FPGA_ADC_FLT = (GetFpgaAdcFault() != 0 || ZarnAdcSetupTimedOut != 0) ? 1u : 0u;
}
