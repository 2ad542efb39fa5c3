// Start-up glue of the CAN2 network: the application's CANopen image of
// controller B and the buffers, timers, tables and callbacks it points at,
// the one-time set-up, the (re)load of the node ids before each open, and the
// stack's receive callback.
#pragma once

#include <cstdint>

#include "canopen/canopen.h"
#include "host/mscan.h"

extern CanOpenImage COImagesApp;
extern uint32_t COisused[4];

extern RxPdoBufferDesc RxPdoBufferArrayB;
extern PdoTimerEntry RxPdoTimerB[9], TxPdoTimerB[9], ConsumerHeartbeatTimerB[9];
extern TimerArray RxPdoTimerArrayB, TxPdoTimerArrayB, ConsumerHeartbeatTimerArrayB;
extern TimersStruct TimersStructB;

extern uint8_t BFifoRx[20 * kRxFifoSlotBytes];
extern uint8_t* pBFifoRx[20];
extern uint8_t BFifoTx[9 * kTxFifoSlotBytes];
extern uint8_t* pBFifoTx[9];

// The CAN driver's controller memory; the image's parameter block lies 48 bytes in.
struct CanControllerMemoryLayout {
    uint8_t Head[48];
    CanControllerParams ControllerB;
};
extern CanControllerMemoryLayout CANControllerMemory;

extern NmtErrCntrlRecord NmtErrCntrlSt1B, NmtErrCntrlSt2B, NmtErrCntrlSt3B, NmtErrCntrlSt4B;
extern NmtErrCtrlEntry CANOpenBNmtErrProfileArea[5];
extern IdTableEntry IdTableB[20];
// The frame buffer of the SYNC the 20 ms group sends.
extern CanFrame NmtCanMessageBufferB;

void init_can_protocols();
void CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
int CallBackBHandler(const CoCallbackEvent* event);
int CallbackAltHandlerRxB(const CoCallbackEvent* event);
void can_sort(int count, IdTableEntry* table);
