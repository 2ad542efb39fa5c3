// The CPU request interrupt of the FPGA: external watchdog time-out, power
// failure and a connectable callback request.
#include "drivers/ZarnIntrHandler.h"

#include "drivers/zarn_regs.h"
#include "host/vxworks.h"
#include "platform/send_evt.h"
#include "platform/vkiobus.h"

uint32_t CpuIntrCount[6] = {0, 0, 0, 0, 0, 0};
CpuIntrCallback pCpuIntrCallbackRoutine = nullptr;
uint32_t CpuIntrCallbackArg = 0;

void EnableOneMsIntr() { VKIO_fpgaModifyUint16(ZARN_INTR_SOURCES, 0, ZARN_INTR_SRC_ONE_MS); }

void CpuIntrHandlerInit() {
    VKIO_fpgaModifyUint16(ZARN_INTR_SOURCES, 0, ZARN_INTR_SRC_CPU_RQST);
    VKIO_fpgaModifyUint16(ZARN_INTR_ENABLE, 0, 1);
}

void CpuIntrCallbackConnect(CpuIntrCallback routine, uint32_t arg) {
    const int key = intLock();
    pCpuIntrCallbackRoutine = routine;
    CpuIntrCallbackArg = arg;
    intUnlock(key);
}

void CpuIntrCallbackDisconnect() { CpuIntrCallbackConnect(nullptr, 0); }

void CpuIntrHandler(long) {
    CpuIntrCount[0] += 1;
    const uint32_t status = VKIO_fpgaRdUint16(ZARN_INTR_STATUS);
    if (status & ZARN_INTR_WDOG_TIMEOUT) {
        CpuIntrCount[1] += 1;
        VKIO_fpgaWrUint16(ZARN_INTR_ACK, ZARN_INTR_WDOG_TIMEOUT);
        SendAppEvent(3, "External Watchdog Timeout!");
    }
    if (status & ZARN_INTR_POWER_FAIL) {
        CpuIntrCount[2] += 1;
        VKIO_fpgaWrUint16(ZARN_INTR_ACK, ZARN_INTR_POWER_FAIL);
        SendAppEvent(3, "Power Failed!");
    }
    if (status & ZARN_INTR_CALLBACK) {
        CpuIntrCount[3] += 1;
        if (pCpuIntrCallbackRoutine != nullptr) {
            pCpuIntrCallbackRoutine(CpuIntrCallbackArg);
        }
        VKIO_fpgaWrUint16(ZARN_INTR_ACK, ZARN_INTR_CALLBACK);
    }
}
