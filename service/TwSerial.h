// Tallwire over serial devices: the port records, port set-up, the serial
// pass of the server task and the operations the request layer uses while
// a serial session is served.
#pragma once

#include <cstdint>

constexpr int TW_PDU_MAX_DATA = 256;

// Sender state of a reply frame being built or sent.
struct TwOutputDescriptor {
    uint32_t senderState;
    uint16_t crc;
    uint16_t bytesLeft;
    uint16_t stuffedCount;
    uint8_t* position;  // end of the frame built so far
    uint8_t* start;     // start of outputFrame
};

struct TwSerialPort {
    uint8_t inputFrame[TW_PDU_MAX_DATA];
    uint8_t outputFrame[TW_PDU_MAX_DATA];
    uint8_t inUse;
    uint8_t securityLevel;
    uint8_t tokenState;
    uint32_t* deviceNumberRef;
    uint16_t deviceNumber;
    uint8_t channelOpen;
    uint8_t initialised;
    uint32_t replyPending;
    uint32_t receiveState;
    uint32_t frameKind;
    uint8_t frameSequence;
    uint8_t frameAddress;
    uint16_t receiveCrc;
    uint16_t bytesLeft;
    uint8_t* dataPointer;
    uint8_t* inputStart;
    uint8_t receiveEscape;
    uint8_t (*getByte)(uint8_t* byte);
    TwOutputDescriptor outputDescriptor;
    TwOutputDescriptor* currentOutput;
    uint8_t sendEscape;
    uint8_t (*putByte)(uint8_t byte);
    uint8_t transportOpen;
    uint8_t connected;
    uint32_t sessionState;
    uint8_t ownAddress;
    uint8_t sequence;
    uint8_t transportInitialised;
    uint8_t addressedMode;
    void (*connectHook)();
};

extern TwSerialPort* TWSerialPorts;
extern int numSerialTWPorts;
extern TwSerialPort* pCurTWSerialPort;

int TallwireAllocSerialPorts(int count);
// Frees the port array and sets the count to 0.
void TallwireFreeSerialPorts();
// config[1] is the station address.
int TallwireInitSerialPort(uint32_t* deviceNumberRef, const uint16_t* config);
void serialTwSlave();

uint8_t serialTwExtract();
void serialTwInsert(uint8_t b);
bool serialInsertWillOverflow(uint16_t n);
bool CanExtract(uint16_t n);
bool serialCanTwExtractString(uint16_t n);
uint16_t serialCurrentPortRef();
bool serialPortRefInUse(uint16_t ref);
uint16_t serialOutputBufferSpace();
uint16_t serialMaxDataPacketBytes(uint32_t handle);
void SerialSetTokenForAll(uint8_t state);
int SerialChangeExcluded();
void serialInstallOperations();
