// Application binding of the Tallwire server: the callback table the
// server installs, the structure and event-data records the request layer
// shares with it, and the serial byte callbacks.
#pragma once

#include <cstdint>

#include "service/Tallwire.h"

extern const TwapiDescriptor TallwireClassicDescriptor;

// Structure values: {length, read level, write level, data}.
struct StructDataRecord {
    uint16_t length;
    uint8_t readLevel;
    uint8_t writeLevel;
    uint8_t* data;
};
extern const StructDataRecord* StructData;
extern uint32_t StructDataCount;

// Console print of tunable writes (0: off).
extern uint32_t tunable_print;

// Event-data record of type-114 array items.
extern TWEventData TWEventDataRecord;
void AssignTWEventDataPointer(TwValue* value);

// Serial byte callbacks (slots 27 to 29) over the device of the current
// serial port, with the 256-byte output buffer they fill.
constexpr int TW_SCI_BUFFER_SIZE = 256;
extern uint8_t szBuffer[TW_SCI_BUFFER_SIZE];
extern int curIndex;

// The binding's callbacks live in their own namespace: several share their
// names with request handlers or hooks of the server core.
namespace twsupport {
uint8_t SciPutc(uint8_t byte);
uint8_t SciGetc(uint8_t* byte);
void FlushMessage();
void TcpTwSlave();
void TcpTwListener();
void TcpTwClose();
}  // namespace twsupport
