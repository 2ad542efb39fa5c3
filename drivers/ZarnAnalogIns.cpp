// Analog inputs over the FPGA ADC, and the supply-voltage monitor.
#include "drivers/ZarnAnalogIns.h"

#include <cstdio>

#include "drivers/zarn_regs.h"
#include "host/chips.h"
#include "platform/vkiobus.h"

float ps3_3Value = 0.0f;
uint32_t ZarnAdcSetupTimedOut = 0;

namespace {

constexpr int kSpiWaitReads = 10000;
constexpr uint32_t kBacklightPeriod = 6400;

// Reads the SPI status until its "done" bit shows; false after the last read.
bool spiWaitDone() {
    for (int i = 0; i < kSpiWaitReads; ++i) {
        if (VKIO_fpgaRdUint16(ZARN_SPI_CMD) & ZARN_SPI_DONE) return true;
    }
    return false;
}

// Starts one transfer and waits for it; a time-out prints `message`.
bool spiTransfer(const char* message) {
    VKIO_fpgaWrUint16(ZARN_SPI_CMD, 5);
    if (spiWaitDone()) return true;
    std::printf("%s", message);
    return false;
}

}  // namespace

uint32_t InitZarnAnalogInsFpga(uint32_t setting) {
    bool ok = true;
    VKIO_fpgaWrUint16(ZARN_ADC_CONTROL, 0);
    VKIO_fpgaWrUint16(ZARN_SPI_SET1, 3);
    VKIO_fpgaWrUint16(ZARN_SPI_SET2, 1);
    VKIO_fpgaWrUint16(ZARN_SPI_SET3, 6144);
    VKIO_fpgaWrUint16(ZARN_SPI_SET4, 96);
    VKIO_fpgaWrUint16(ZARN_SPI_DATA, 22600);
    ok = spiTransfer("Spif bit error1.\n") && ok;
    VKIO_fpgaWrUint16(ZARN_SPI_SET4, 80);
    VKIO_fpgaWrUint16(ZARN_SPI_DATA, setting & 0xFFFFu);
    ok = spiTransfer("Spif bit error1.\n") && ok;
    VKIO_fpgaWrUint16(ZARN_SPI_SET3, 6144);
    VKIO_fpgaWrUint16(ZARN_SPI_SET4, 96);
    VKIO_fpgaWrUint16(ZARN_SPI_DATA, 7180);
    ok = spiTransfer("Spif bit error2.\n") && ok;
    VKIO_fpgaWrUint16(ZARN_SPI_CMD, 260);
    VKIO_fpgaWrUint16(ZARN_ADC_CONTROL, 3);
    ZarnAdcSetupTimedOut = ok ? 0u : 1u;
    return ok ? 0u : 0x80000001u;
}

double ReadZarnAnalogIn(uint32_t ch, uint32_t* fault) {
    if (ch >= static_cast<uint32_t>(ZARN_AIN_COUNT)) {
        *fault = 1;
        std::printf("Unknown Analog Input Channel\n");
        return 0.0;
    }
    const auto raw = static_cast<int16_t>(VKIO_fpgaRdUint16(ZARN_AIN_BASE + 4u * ch));
    *fault = 0;
    return static_cast<float>(static_cast<float>(raw) * 0.000416127f + 12.495655f);
}

void SetZarnAnalogInsLoopPower(uint32_t ch, uint32_t mode) {
    if (ch >= static_cast<uint32_t>(ZARN_AIN_COUNT)) return;
    const uint32_t bit = 1u << ch;
    uint32_t reg = VKIO_fpgaRdUint16(ZARN_AIN_LOOP_POWER);
    reg = mode == 2 ? (reg | bit) : (reg & ~bit);
    VKIO_fpgaWrUint16(ZARN_AIN_LOOP_POWER, reg & 0xFFFFu);
}

uint32_t GetFpgaAdcFault() {
    if (VKIO_fpgaRdUint16(ZARN_STATUS) & ZARN_STATUS_ADC_FAULT_A) return 1;
    if (VKIO_fpgaRdUint16(ZARN_STATUS) & ZARN_STATUS_ADC_FAULT_B) return 1;
    return 0;
}

uint32_t GetBacklightFault() { return (VKIO_fpgaRdUint16(ZARN_STATUS) & ZARN_STATUS_BACKLIGHT_FAULT) ? 1u : 0u; }

void InitZarnBackLight() {
    VKIO_fpgaWrUint16(ZARN_BACKLIGHT_COUNT, 0);
    VKIO_fpgaWrUint16(ZARN_BACKLIGHT_PERIOD, kBacklightPeriod);
}

void SetZarnDisplayBrightness(int32_t percent) {
    if (percent > 100) percent = 100;
    uint32_t count = 0;
    if (percent >= 0) count = static_cast<uint32_t>(static_cast<float>(percent * 6400) * 0.01f);
    VKIO_fpgaWrUint16(ZARN_BACKLIGHT_COUNT, count);
}

int InitZarnPSMon() {
    VKIO_fpgaWrUint16(ZARN_BACKLIGHT_COUNT, kBacklightPeriod);
    return 0;
}

int ReadZarnPSMon(uint32_t ch, float* volts) {
    auto word = static_cast<UINT16>(0x8330u | (((ch + 1u) & 7u) << 10));
    const int status = AD7927_Read(&word);
    if (status != 0) {
        // A failed transfer leaves no reading: the caller keeps its last one.
        std::printf("Voltage Monitor SPI error\n");
        return status;
    }
    const float v = static_cast<float>(word & 0xFFFu) / 4095.0f;
    float out = 0.0f;
    switch (ch) {
        case 0:
        case 1:
        case 2: out = v * 2.5f; break;
        case 3:
            out = 2.0f * v * 2.5f;
            ps3_3Value = out;
            break;
        case 4: out = v * 2.333f * 2.5f; break;
        case 5: out = v * 7.665f * 2.5f; break;
        case 6: out = v * 8.5f * 2.5f - 7.5f * ps3_3Value; break;
        case 7: out = v * 10.979f * 2.5f; break;
        default: out = 0.0f; break;
    }
    *volts = out;
    return 0;
}

int GetDataRate() {
    VKIO_fpgaWrUint16(ZARN_ADC_CONTROL, 0);
    VKIO_fpgaWrUint16(ZARN_ADC_CONTROL, 3);
    return 0;
}

void ResetFpgaAdcSpi() { VKIO_fpgaWrUint16(ZARN_ADC_CONTROL, 0); }
