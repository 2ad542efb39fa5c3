// Discrete inputs with edge time stamps.
#include "drivers/ZarnDiscreteIns.h"

#include "app/discrete/CNFG_BI.cells.h"
#include "drivers/ZarnIntrHandler.h"
#include "drivers/zarn_regs.h"
#include "host/vxworks.h"
#include "platform/vkiobus.h"
#include "runtime/iogather.h"

SysTimeValue DinTimeStampHi[kZarnTimeStampedInputs];
SysTimeValue DinTimeStampLo[kZarnTimeStampedInputs];
uint32_t HiEventLatch = 0;
uint32_t LoEventLatch = 0;
uint32_t LastInputs = 0;
SysTimeValue LastCaptureTime = {0, 0};

namespace {

constexpr int kSamples = 5;  // the current state and the four before it
constexpr uint32_t kStampedMask = (1u << kZarnTimeStampedInputs) - 1u;

// The 20 time-stamped inputs of the sample taken k ms before the current one.
uint32_t sampleWord(int k) {
    const uint32_t lo = VKIO_fpgaRdUint16(zarnDinSampleReg(k, 0));
    const uint32_t hi = VKIO_fpgaRdUint16(zarnDinSampleReg(k, 1));
    return (lo | ((hi & 0xFu) << 16)) & kStampedMask;
}

void stamp(SysTimeValue* table, uint32_t bits, const SysTimeValue& t) {
    for (int n = 0; n < kZarnTimeStampedInputs; ++n) {
        if (bits & (1u << n)) table[n] = t;
    }
}

}  // namespace

uint32_t ReadBooleanInput(int32_t ch) {
    if (ch < 0 || ch > 31) return 0;
    if (ch < 16) return (VKIO_fpgaRdUint16(zarnDinSampleReg(0, 0)) >> ch) & 1u;
    return (VKIO_fpgaRdUint16(zarnDinSampleReg(0, 1)) >> (ch - 16)) & 1u;
}

void UpdateZarnDITimeStamp() {
    const int lock = intLock();
    TimeStampMsCntrZarn += 5;
    if (ZarnTimeStampEn == 1) {
        for (int k = kSamples - 1; k >= 0; --k) {
            const uint32_t x = sampleWord(k);
            if (x == LastInputs) continue;
            const auto u = static_cast<int32_t>(TimeStampMsCntrZarn * 1000u + TimeStampClockZarn.usec -
                                                1000u * static_cast<uint32_t>(k));
            SysTimeValue t;
            t.sec = TimeStampClockZarn.sec + static_cast<uint32_t>(u / 1000000);
            t.usec = static_cast<uint32_t>(u % 1000000);
            if (t.sec == LastCaptureTime.sec && t.usec < LastCaptureTime.usec) t.usec = LastCaptureTime.usec;
            const uint32_t changed = x ^ LastInputs;
            const uint32_t falling = changed & ~x & ~LoEventLatch;
            LoEventLatch |= falling;
            stamp(DinTimeStampLo, falling, t);
            const uint32_t rising = changed & x & ~HiEventLatch;
            HiEventLatch |= rising;
            stamp(DinTimeStampHi, rising, t);
            LastInputs = x;
            LastCaptureTime = t;
        }
    }
    intUnlock(lock);
}

void InitDiscreteIns() { EnableOneMsIntr(); }

// ---- 10 ms I/O gather ----------------------------------------------------------------

void iogather_R10_discrete_inputs() {
    for (int n = 0; n < 8; ++n) {
        CnfgBiInput& in = CNFG_BI_st.in[n];
        in.raw = ReadBooleanInput(kCnfgBiFirstHardwareInput + n);
        in.lo_snapshot = LoEventLatch;
        in.hi_snapshot = HiEventLatch;
    }
}
