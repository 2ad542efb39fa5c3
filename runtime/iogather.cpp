// The I/O gathers run by the master clock pass (see runtime/sched.cpp).
#include "runtime/iogather.h"

#include "app/config/CNFG_CAN2.cells.h"
#include "runtime/can_startup.h"
#include "runtime/neighbours.h"

int32_t ORVEX12_IO_EstopInput;
int32_t CNFG_CAN2_CAN2_NTW1_2357_SyncTimer;

namespace {

constexpr int32_t kNetworkOpen = 2;
constexpr int32_t kR20PeriodMs = 20;
constexpr uint32_t kSyncCobId = 0x80;

}  // namespace

// One SYNC on the CAN2 network per 20 ms frame while the network block holds
// the network open.
void iogather_R20_can2_sync() {
    if (cells::CNFG_CAN2.CAN2_NTW1_STATE != kNetworkOpen) return;
    CNFG_CAN2_CAN2_NTW1_2357_SyncTimer += kR20PeriodMs;
    if (CNFG_CAN2_CAN2_NTW1_2357_SyncTimer > kR20PeriodMs - 1) {
        CNFG_CAN2_CAN2_NTW1_2357_SyncTimer = 0;
        CanOpenSendNmtNow(1, kSyncCobId, &NmtCanMessageBufferB, 0);
    }
}

void iogather_R80_estop() { ORVEX12_IO_EstopInput = ReadZarnEstop(); }

void _R10_iogather() {
    iogather_R10_discrete_inputs();
    iogather_R10_actuator();
    iogather_R10_relays();
}

void _R20_iogather() {
    iogather_R20_analog_inputs();
    iogather_R20_analog_outputs();
    iogather_R20_can2_sync();
    iogather_R20_fpga_adc_fault();
}

void _R80_iogather() { iogather_R80_estop(); }
