// FPGA register access over the board's register space, the I/O lock entry
// points of the service side, and the inert VME entry points.
#include "platform/vkiobus.h"

#include <cstdio>

#include "drivers/ZarnHwDepend.h"
#include "host/board.h"
#include "host/vxworks.h"
#include "runtime/sysinfo.h"

uint32_t VKIO_fpgaRdUint16(uint32_t address) { return board::cpuRead16(address); }

void VKIO_fpgaWrUint16(uint32_t address, uint32_t value) {
    board::cpuWrite16(address, static_cast<uint16_t>(value));
}

uint32_t VKIO_fpgaRdUint32(uint32_t address) {
    const int key = intLock();
    const uint32_t value = board::cpuRead32(address);
    intUnlock(key);
    return value;
}

void VKIO_fpgaWrUint32(uint32_t address, uint32_t value) {
    const int key = intLock();
    board::cpuWrite32(address, value);
    intUnlock(key);
}

namespace {

// Copies `words` 32-bit words with interrupts locked, opening the lock for a
// moment after the first `firstRun` words and then after every `run` words, so
// that a long copy delays the clock interrupt by at most one run.
template <typename CopyWord>
void copyWithBoundedLatency(int words, int firstRun, int run, CopyWord copyWord) {
    if (words <= 0) return;
    int key = intLock();
    int untilRelock = firstRun;
    for (int i = 0; i < words; ++i) {
        copyWord(i);
        if (--untilRelock == 0 && i + 1 < words) {
            intUnlock(key);
            key = intLock();
            untilRelock = run;
        }
    }
    intUnlock(key);
}

}  // namespace

int VKIO_fpgaWrite(uint32_t address, const uint32_t* source, int words) {
    copyWithBoundedLatency(words, 5, 6, [&](int i) {
        board::cpuWrite32(address + 4u * static_cast<uint32_t>(i), source[i]);
    });
    return 0;
}

int VKIO_fpgaRead(uint32_t address, uint32_t* destination, int words) {
    copyWithBoundedLatency(words, 4, 5, [&](int i) {
        destination[i] = board::cpuRead32(address + 4u * static_cast<uint32_t>(i));
    });
    return 0;
}

uint32_t VKIO_fpgaModifyUint16(uint32_t address, uint32_t clearBits, uint32_t setBits) {
    const int key = intLock();
    const uint32_t value = ((board::cpuRead16(address) & ~clearBits) | setBits) & 0xFFFFu;
    board::cpuWrite16(address, static_cast<uint16_t>(value));
    intUnlock(key);
    return value;
}

int VKIO_AssertIOLock() {
    _SYS_INFO_C_PWD = 1;
    return io_lock(0x7FFF);
}

int VKIO_UnAssertIOLock() {
    _SYS_INFO_C_PWD = 0;
    return io_lock(0x8000);
}

void Assert_IOLOCK() {
    if (_SYS_INFO_LOCK_PER == 1) {
        _SYS_INFO_C_PWD = 1;
        VKIO_AssertIOLock();
    }
}

void UnAssert_IOLOCK() { VKIO_UnAssertIOLock(); }

uint32_t Query_IOLOCK() { return _SYS_INFO_C_PWD; }

int IsIOLockSet() { return Query_IOLOCK() > 0 ? 1 : 0; }

int VKIO_vmeOpen() { return 0; }
void VKIO_vmeClose() {}
uint32_t VKIO_vmeRdUint32(uint32_t) { return 0; }
uint32_t VKIO_vmeRdUint16(uint32_t) { return 1234; }
uint32_t VKIO_vmeRdUint8(uint32_t) {
    std::printf("VKIO_vmeRdUint8() not implemented for Undefined CPU\n");
    return 0;
}
uint32_t VKIO_vmeRdReal1616(uint32_t) { return 1234; }
double VKIO_vmeRdReal(uint32_t) { return 1234.0; }
int VKIO_vmeRead(uint32_t, void*, int) { return 0; }
int VKIO_vmeWrite(uint32_t, const void*, int) { return 0; }
int vmeReadCheck(uint32_t) { return 0; }
void VKIO_vmeWrReal(uint32_t, double) {}
void VKIO_vmeWrUint16(uint32_t, uint32_t) {}
void VKIO_vmeWrUint32(uint32_t, uint32_t) {}
void VKIO_vmeWrReal1616(uint32_t, uint32_t) {}
void VKIO_vmeWrUint8(uint32_t, uint32_t) {}
void VKIO_AssertIOReset() {}
void VKIO_UnAssertIOReset() {}
