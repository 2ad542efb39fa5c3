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

// One field of the platform state, read under the lock.
template <typename T>
T get(T Platform::*field) {
    std::lock_guard<std::mutex> g(m);
    return platform.*field;
}

template <typename T>
void set(T Platform::*field, T value) {
    std::lock_guard<std::mutex> g(m);
    platform.*field = value;
}

bool runLed() { return get(&Platform::runLed); }
bool faultLed() { return get(&Platform::faultLed); }
CanLed canLed1() { return get(&Platform::can1); }
CanLed canLed2() { return get(&Platform::can2); }
uint64_t runLedWrites() { return get(&Platform::runLedWrites); }
uint64_t faultLedWrites() { return get(&Platform::faultLedWrites); }
std::vector<uint8_t> calibrationFlash() { return get(&Platform::flash); }
Identity identity() { return get(&Platform::id); }

void setTemperature(float celsius) { set(&Platform::temperature, celsius); }
void failTemperatureSensor(bool fail) { set(&Platform::temperatureFails, fail); }
void setIdentity(const Identity& id) { set(&Platform::id, id); }
void failCalibrationFlash(bool fail) { set(&Platform::flashFails, fail); }

void setCalibrationFlash(const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> g(m);
    platform.flash.assign(kCalFlashSize, 0xFF);
    std::memcpy(platform.flash.data(), bytes.data(), bytes.size() < kCalFlashSize ? bytes.size() : kCalFlashSize);
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
    board::set(&board::Platform::can1, board::CanLed::Off);
    return OK;
}

STATUS VKCanLed2Red() {
    board::set(&board::Platform::can2, board::CanLed::Red);
    return OK;
}

STATUS VKCanLed2Green() {
    board::set(&board::Platform::can2, board::CanLed::Green);
    return OK;
}

STATUS VKCanLed2Off() {
    board::set(&board::Platform::can2, board::CanLed::Off);
    return OK;
}

int VKGetTemperature(float* celsius) {
    std::lock_guard<std::mutex> g(board::m);
    if (celsius == nullptr || platform.temperatureFails) return ERROR;
    *celsius = platform.temperature;
    return 0;
}

UINT32 VKGetIdentityPartNumber(UINT32 slot, UINT32) { return slot == 0 ? board::identity().partNumber : 0; }
UINT32 VKGetIdentitySerialNumber(UINT32 slot, UINT32) { return slot == 0 ? board::identity().serialNumber : 0; }
UINT32 VKGetIdentityRevision(UINT32 slot, UINT32) { return slot == 0 ? board::identity().revision : 0; }
float VNReadBacklightPercent() {
    const uint16_t period = board::cpuRead16(0x8080F1F2);
    if (period == 0) return 0.0f;
    const uint16_t count = board::cpuRead16(0x8080F1F0);
    return static_cast<float>(count) * 100.0f / static_cast<float>(period);
}

int VKGetModel(char* buffer) { return board::copyName(buffer, board::identity().model); }
int VKGetTargetName(char* buffer) { return board::copyName(buffer, board::identity().targetName); }

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
