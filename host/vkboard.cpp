// The board library's identity, LED, temperature, calibration-flash and CPU
// request interrupt calls.
#include "host/vkboard.h"

#include <cstring>
#include <mutex>

#include "host/board.h"

namespace board {
namespace {

constexpr int kCalPairs = 44;

std::vector<uint8_t> defaultCalibration() {
    uint32_t words[2 * kCalPairs + 1] = {};
    uint32_t one = 0;
    const float gain = 1.0f;
    std::memcpy(&one, &gain, sizeof one);
    uint32_t sum = 0;
    for (int p = 0; p < kCalPairs; ++p) {
        words[2 * p] = one;
        sum += one;
    }
    words[2 * kCalPairs] = 0u - sum;
    std::vector<uint8_t> flash(kCalFlashSize, 0xFF);  // erased beyond the block
    std::memcpy(flash.data(), words, sizeof words);
    return flash;
}

struct Platform {
    bool runLed = false;
    bool faultLed = false;
    uint64_t runLedWrites = 0;
    uint64_t faultLedWrites = 0;
    CanLed can1 = CanLed::Off;
    CanLed can2 = CanLed::Off;
    float temperature = 35.0f;
    bool temperatureFails = false;
    Identity id{8237001, 100001, 3, "ORVEX12", "ORVEX12-HOST"};
    std::vector<uint8_t> flash = defaultCalibration();
    bool flashFails = false;
};

std::mutex m;
Platform platform;

int copyName(char* buffer, const std::string& name) {
    if (buffer == nullptr) return ERROR;
    const size_t n = name.size() < 39 ? name.size() : 39;
    std::memcpy(buffer, name.data(), n);
    buffer[n] = '\0';
    return 0;
}

bool calLengthOk(int length) { return length > 0 && static_cast<size_t>(length) <= kCalFlashSize; }

}  // namespace

bool runLed() {
    std::lock_guard<std::mutex> g(m);
    return platform.runLed;
}
bool faultLed() {
    std::lock_guard<std::mutex> g(m);
    return platform.faultLed;
}
CanLed canLed1() {
    std::lock_guard<std::mutex> g(m);
    return platform.can1;
}
CanLed canLed2() {
    std::lock_guard<std::mutex> g(m);
    return platform.can2;
}
uint64_t runLedWrites() {
    std::lock_guard<std::mutex> g(m);
    return platform.runLedWrites;
}
uint64_t faultLedWrites() {
    std::lock_guard<std::mutex> g(m);
    return platform.faultLedWrites;
}

void setTemperature(float celsius) {
    std::lock_guard<std::mutex> g(m);
    platform.temperature = celsius;
}
void failTemperatureSensor(bool fail) {
    std::lock_guard<std::mutex> g(m);
    platform.temperatureFails = fail;
}

void setIdentity(const Identity& id) {
    std::lock_guard<std::mutex> g(m);
    platform.id = id;
}
Identity identity() {
    std::lock_guard<std::mutex> g(m);
    return platform.id;
}

std::vector<uint8_t> calibrationFlash() {
    std::lock_guard<std::mutex> g(m);
    return platform.flash;
}
void setCalibrationFlash(const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> g(m);
    platform.flash.assign(kCalFlashSize, 0xFF);
    std::memcpy(platform.flash.data(), bytes.data(), bytes.size() < kCalFlashSize ? bytes.size() : kCalFlashSize);
}
void failCalibrationFlash(bool fail) {
    std::lock_guard<std::mutex> g(m);
    platform.flashFails = fail;
}

void resetPlatform() {
    std::lock_guard<std::mutex> g(m);
    platform = Platform{};
}

}  // namespace board

using board::platform;

STATUS VKRunLed(UINT32 on) {
    std::lock_guard<std::mutex> g(board::m);
    platform.runLed = on != 0;
    ++platform.runLedWrites;
    return OK;
}

STATUS VKFaultLed(UINT32 on) {
    std::lock_guard<std::mutex> g(board::m);
    platform.faultLed = on != 0;
    ++platform.faultLedWrites;
    return OK;
}

STATUS VKCanLed1Off() {
    std::lock_guard<std::mutex> g(board::m);
    platform.can1 = board::CanLed::Off;
    return OK;
}

STATUS VKCanLed2Red() {
    std::lock_guard<std::mutex> g(board::m);
    platform.can2 = board::CanLed::Red;
    return OK;
}

STATUS VKCanLed2Green() {
    std::lock_guard<std::mutex> g(board::m);
    platform.can2 = board::CanLed::Green;
    return OK;
}

STATUS VKCanLed2Off() {
    std::lock_guard<std::mutex> g(board::m);
    platform.can2 = board::CanLed::Off;
    return OK;
}

int VKGetTemperature(float* celsius) {
    std::lock_guard<std::mutex> g(board::m);
    if (celsius == nullptr || platform.temperatureFails) return ERROR;
    *celsius = platform.temperature;
    return 0;
}

UINT32 VKGetIdentityPartNumber(UINT32 slot, UINT32) {
    std::lock_guard<std::mutex> g(board::m);
    return slot == 0 ? platform.id.partNumber : 0;
}

UINT32 VKGetIdentitySerialNumber(UINT32 slot, UINT32) {
    std::lock_guard<std::mutex> g(board::m);
    return slot == 0 ? platform.id.serialNumber : 0;
}

UINT32 VKGetIdentityRevision(UINT32 slot, UINT32) {
    std::lock_guard<std::mutex> g(board::m);
    return slot == 0 ? platform.id.revision : 0;
}

int VKGetModel(char* buffer) {
    std::lock_guard<std::mutex> g(board::m);
    return board::copyName(buffer, platform.id.model);
}

int VKGetTargetName(char* buffer) {
    std::lock_guard<std::mutex> g(board::m);
    return board::copyName(buffer, platform.id.targetName);
}

int VKReadCalibrationData(void* buffer, int length) {
    std::lock_guard<std::mutex> g(board::m);
    if (buffer == nullptr || !board::calLengthOk(length) || platform.flashFails) return ERROR;
    std::memcpy(buffer, platform.flash.data(), static_cast<size_t>(length));
    return 0;
}

int VKWriteCalibrationData(const void* buffer, int length) {
    std::lock_guard<std::mutex> g(board::m);
    if (buffer == nullptr || !board::calLengthOk(length) || platform.flashFails) return ERROR;
    std::memcpy(platform.flash.data(), buffer, static_cast<size_t>(length));
    return 0;
}

STATUS VKCpuRqstConnect(VOIDFUNCPTR routine, long arg) {
    board::connectCpuRequest(routine, arg);
    return OK;
}

STATUS VKCpuRqstInit() {
    board::initCpuRequest();
    return OK;
}
