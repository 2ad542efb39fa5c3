// Glue between the stack and the MSCAN controller driver: opening and closing
// a controller, conversion between CanFrame and the controller buffer layout,
// the interrupt handlers that feed the receive FIFO and drain the transmit
// FIFO, error counting, loop-back of the own SYNC and NMT frames.
#pragma once

#include <cstdint>

#include "canopen/canopen.h"
#include "host/mscan.h"

typedef CanOpenImage* (*CanOpenImageLookup)(uint8_t controllerId);

void CanOpenDriverAttachGetCanOpenImageCallBack(CanOpenImageLookup lookup);
int CanOpenDriverOpen(CanOpenImage* image, int argument);
int CanOpenDriverClose(CanOpenImage* image);
void CanOpenDriverTxRequest(uint8_t controllerId, const CanFrame* frame);
void CanOpenDriverUpdateFlags(CanOpenImage* image);
int CanOpenDriverDisableInterrupts(int* key);
void CanOpenDriverRestoreInterrupts(int key);
int CanOpenDriverGetCanControllerStatus(CanOpenImage* image);
void CanOpenDriverRxRequest();

void CanOpenHandlerRx(uint8_t controllerId, const uint8_t* buffer);
void CanOpenHandlerError(uint8_t controllerId, uint8_t rxFlags);
void CanOpenHandlerTxPush(uint8_t controllerId, const uint8_t* buffer);
int CanOpenHandlerTxPop(uint8_t controllerId, uint8_t* buffer);

// Identity of the board for the own identity object (slot, reserved).
uint32_t VKGetCanOpenRevision(uint32_t a, uint32_t b);
uint32_t VKGetCanOpenSerialNumber(uint32_t a, uint32_t b);
uint32_t VKGetCanOpenPartNumber(uint32_t a, uint32_t b);

// Conversions between the stack's frame and the controller buffer layout.
void CanFrameToMscanBuffer(const CanFrame& frame, uint8_t* buffer);
CanFrame MscanBufferToCanFrame(const uint8_t* buffer);
// The receive FIFO slot (identifier word, data, length) of a frame.
void CanFrameToRxSlot(const CanFrame& frame, uint8_t* slot);
CanFrame RxSlotToCanFrame(const uint8_t* slot);

// Per-controller transmit state (controllers 0..3).
extern uint8_t CanMsgPriority[4];
extern uint8_t MsgOnDeck[4];
extern uint8_t MSCANMessage[4][kMscanBufferBytes];
extern int FifoStatus[4];

// FPGA register holding the free-running timer read when a SYNC is loaded.
constexpr uint32_t kFpgaSyncTimerRegister = 0x8080F026;
