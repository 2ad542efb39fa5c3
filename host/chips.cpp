// Board chip drivers over simple models of the chips.
#include "host/chips.h"

#include <cmath>
#include <mutex>

namespace board {
namespace {

constexpr int kExpanderPorts = 10;

struct Chips {
    bool fail[3] = {false, false, false};
    // Supply monitor inputs, volts at the pin: the 24 V, 1.2 V, 1.4 V, 1.8 V,
    // 3.3 V, 5 V, 15 V and -15 V rails on their dividers (VIN0..VIN7).
    double supplyVin[8] = {2.186, 1.2, 1.4, 1.8, 1.65, 2.143, 1.957, 1.147};
    // Sensor monitors: probe inputs at 0 V (code 250) and the sensor supply
    // input 2 at 0 V, so that no open wire shows.
    uint16_t sensorCode[2][4] = {{250, 250, 0, 250}, {250, 250, 0, 250}};
    uint16_t expander = (1u << kExpanderPorts) - 1;  // all high: LEDs off
    uint64_t expanderWrites = 0;
    uint32_t gpio[32] = {};
};

std::mutex m;
Chips chips;

bool failing(Chip c) { return chips.fail[static_cast<int>(c)]; }

}  // namespace

void failChip(Chip chip, bool fail) {
    std::lock_guard<std::mutex> g(m);
    chips.fail[static_cast<int>(chip)] = fail;
}

void setSupplyMonitorInput(int vin, double volts) {
    if (vin < 0 || vin > 7) return;
    std::lock_guard<std::mutex> g(m);
    chips.supplyVin[vin] = volts;
}

void setSensorMonitorCode(int device, int input, uint16_t code) {
    if (device < 0 || device > 1 || input < 0 || input > 3) return;
    std::lock_guard<std::mutex> g(m);
    chips.sensorCode[device][input] = static_cast<uint16_t>(code & 0x7FF);
}

uint16_t expanderPorts() {
    std::lock_guard<std::mutex> g(m);
    return chips.expander;
}

bool expanderLedOn(int port) {
    if (port < 0 || port >= kExpanderPorts) return false;
    return ((expanderPorts() >> port) & 1u) == 0;
}

uint64_t expanderWrites() {
    std::lock_guard<std::mutex> g(m);
    return chips.expanderWrites;
}

uint32_t gpioValue(int gpio) {
    if (gpio < 0 || gpio > 31) return 0;
    std::lock_guard<std::mutex> g(m);
    return chips.gpio[gpio];
}

void resetChips() {
    std::lock_guard<std::mutex> g(m);
    chips = Chips{};
}

}  // namespace board

using board::Chip;

int AD7927_Read(UINT16* word) {
    std::lock_guard<std::mutex> g(board::m);
    if (word == nullptr || board::failing(Chip::AD7927)) return -1;
    const int vin = (*word >> 10) & 7;
    double code = std::round(board::chips.supplyVin[vin] / 2.5 * 4095.0);
    code = std::fmin(std::fmax(code, 0.0), 4095.0);
    *word = static_cast<UINT16>((vin << 12) | static_cast<int>(code));
    return 0;
}

int ADT1018_Read(UINT32 device, UINT16* word) {
    std::lock_guard<std::mutex> g(board::m);
    if (word == nullptr || device > 1 || board::failing(Chip::ADT1018)) return -1;
    const int input = (*word >> 12) & 3;
    *word = static_cast<UINT16>(board::chips.sensorCode[device][input] << 4);
    return 0;
}

int MAX7317_Write(UINT16* word, UINT16 /*value: the same word*/) {
    std::lock_guard<std::mutex> g(board::m);
    if (word == nullptr || board::failing(Chip::MAX7317)) return -1;
    const int port = *word >> 8;
    if (port >= board::kExpanderPorts) return -1;
    const uint16_t bit = static_cast<uint16_t>(1u << port);
    board::chips.expander = static_cast<uint16_t>((*word & 1u) ? (board::chips.expander | bit)
                                                               : (board::chips.expander & ~bit));
    ++board::chips.expanderWrites;
    return 0;
}

STATUS sysGpioValSet(UINT32 gpio, UINT32 value) {
    if (gpio > 31) return ERROR;
    std::lock_guard<std::mutex> g(board::m);
    board::chips.gpio[gpio] = value;
    return OK;
}
