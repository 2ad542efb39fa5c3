// Session layer of the serial transport: station address, connect
// handshake and alternating sequence numbers with retransmission of the
// last reply; works on the current serial port record.
#pragma once

#include <cstdint>

int TwTransportInit(uint8_t address);
int TwTransportOpen(void (*connectHook)());
int TwTransportClose();
// 1 when a request frame is ready.
int TwReceive();
// 1 when the reply went out.
int TwSend();
