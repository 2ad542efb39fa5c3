// Host stand-in for the platform's driver of the processor's MSCAN CAN
// controllers. Each open controller is a port of the virtual CAN bus
// (host/canbus.h). A controller has three transmit buffers and a receiver
// and a transmitter flag register; received frames, transmit completions and
// error events reach the driver's interrupt routine at interrupt level
// (hk::postInterrupt), which hands them to the handlers of the controller's
// parameter block.
#pragma once

#include <cstddef>
#include <cstdint>

// Controller buffer layout: the 32-byte image of one message buffer.
constexpr int kMscanBufferBytes = 32;
constexpr int MSCAN_OFS_IDR0 = 0, MSCAN_OFS_IDR1 = 1, MSCAN_OFS_IDR2 = 4, MSCAN_OFS_IDR3 = 5;
constexpr int kMscanDataOffsets[8] = {8, 9, 12, 13, 16, 17, 20, 21};
constexpr int MSCAN_OFS_DLR = 24;
constexpr int MSCAN_OFS_TBPR = 25;
constexpr int MSCAN_OFS_TSRH = 28, MSCAN_OFS_TSRL = 29;

typedef void (*MSCANErrorHandler)(uint8_t controllerId, uint8_t rxFlags);
typedef void (*MSCANRxHandler)(uint8_t controllerId, const uint8_t* buffer);
typedef void (*MSCANTxPushHandler)(uint8_t controllerId, const uint8_t* buffer);
typedef int (*MSCANTxPopHandler)(uint8_t controllerId, uint8_t* buffer);

// Controller parameter block handed to MSCANOpenController. The byte fields
// keep the driver's offsets; the four handlers follow at offset 32 (64-bit
// references on the host).
struct CanControllerParams {
    uint32_t Open;            // non-zero while the driver has the controller open
    uint32_t RegisterBase;
    uint8_t Config;           // 0x08
    uint8_t Control1;         // 0xC0
    uint8_t BusTiming0;
    uint8_t BusTiming1;
    uint8_t RxIntEnable;      // 0x69
    uint8_t AcceptCode[8];
    uint8_t AcceptControl;
    uint8_t AcceptMask[8];
    MSCANErrorHandler ErrorHandler;
    MSCANRxHandler RxHandler;
    MSCANTxPushHandler TxPushHandler;
    MSCANTxPopHandler TxPopHandler;
};
static_assert(offsetof(CanControllerParams, RegisterBase) == 4);
static_assert(offsetof(CanControllerParams, Config) == 8);
static_assert(offsetof(CanControllerParams, RxIntEnable) == 12);
static_assert(offsetof(CanControllerParams, AcceptCode) == 13);
static_assert(offsetof(CanControllerParams, AcceptControl) == 21);
static_assert(offsetof(CanControllerParams, AcceptMask) == 22);
static_assert(offsetof(CanControllerParams, ErrorHandler) == 32);

constexpr uint32_t kMscanRegisterBase[4] = {0x80001300, 0x80001380, 0x80002300, 0x80002380};
constexpr uint32_t MSCAN_REG_RFLG = 8;   // receiver flags: bits 5..4 receiver state, 3..2 transmitter state
constexpr uint32_t MSCAN_REG_TFLG = 12;  // transmitter flags: bit i set = transmit buffer i empty

int MSCANInit(int numControllers, void* controllerMemory);
int MSCANShutdown();
// Returns the controller id on success, -1 otherwise.
int MSCANOpenController(int controllerId, int argument, CanControllerParams* params);
int MSCANCloseController(int controllerId);  // 0, or -1
int MSCANTxRequest(int controllerId, const uint8_t* buffer);

void MSCANAintEnable();
void MSCANBintEnable();
void MSCANCintEnable();
void MSCANDintEnable();
void MSCANAintDisable();
void MSCANBintDisable();
void MSCANCintDisable();
void MSCANDintDisable();

typedef void (*MSCANIsr)();
int MSCANBConnect(MSCANIsr isr);
int MSCANBDisconnect(MSCANIsr isr);
// The driver's interrupt routine of controller B (controller 1).
void MSCANBInterrupt();

// A byte load from a controller register address (register base + offset).
uint8_t MSCANReadRegister8(uint32_t address);

// ---- Host controls for tests ----
namespace mscan {
// Error states 0..3 (3 = bus-off) of the receiver and transmitter: updates
// the receiver flag register and raises an error interrupt. A controller in
// bus-off neither sends nor receives.
void setErrorState(int controllerId, int rxState, int txState);
// While stalled, frames loaded into the transmit buffers are not sent, so the
// buffers stay busy (a bus with no acknowledging node).
void setTxStall(int controllerId, bool stall);
// Frames handed to the bus by the controller so far (for tests).
uint32_t framesSent(int controllerId);
// Forgets every controller (tests).
void reset();
}  // namespace mscan
