// Tallwire server core: start and stop, the server tasks, request dispatch,
// the callback table of the application binding, the transport operation
// set through which handlers read requests and write replies, and the
// change-token rules shared by every session.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

// Value record between the request layer and the application binding: a
// type code, then 8 bytes whose meaning follows the code.
struct TwValue {
    uint32_t type;
    union {
        uint8_t u8;
        uint32_t u32;
        float f;
        struct {
            uint32_t seconds;
            uint32_t subSeconds;
        } time;
        void* ptr;
    } data;
};

// Type 68: structure header handed between the request layer and the binding.
struct TwStructHeader {
    uint16_t length;
    uint8_t readLevel;
    uint8_t writeLevel;
    uint8_t* bytes;
};

// Type 112: event record.
struct TwEventRecord {
    uint32_t W[8];
    uint16_t H;
    uint8_t X;
    uint8_t Y;
    uint8_t C[4];
};

// Type 113: latched-list entry.
struct TWEvent {
    uint32_t seconds;
    uint32_t microseconds;
    uint16_t recordNumber;
};

// Type 114: event-data record; its bytes go out from the last to the first.
struct TWEventData {
    uint16_t length;
    uint16_t tag;
    uint8_t* bytes;
};

// Types 116 and 117.
struct TwQuadRecord {
    uint16_t a;
    uint16_t b;
    uint32_t c;
    uint32_t d;
};

// Symbol record filled by descriptor slot 13.
struct TwSymbolRecord {
    const char* name;
    uint32_t handle;
    uint8_t attribute1;
    uint8_t attribute2;
    uint8_t limitsFlag;
    uint8_t extraValueFlag;
    TwValue lowLimit;
    TwValue highLimit;
    TwValue extraValue;
};

// Callback table of the application binding, one member per slot in slot
// order; an empty slot is a null pointer. Status results are the reply
// status byte (0 ok).
struct TwapiDescriptor {
    void (*Connect)();                                                          // 0
    void (*ResetControl)();                                                     // 1
    uint8_t (*ShutdownControl)();                                               // 2
    void (*BeginProgramming)();                                                 // 3
    int (*IsControlRunning)();                                                  // 4
    uint8_t (*SaveValues)();                                                    // 5
    uint8_t (*GetSystemIdentifier)(char* text128);                              // 6
    uint8_t (*GetControlIdentifier)(char* text128);                             // 7
    uint8_t (*SetControlIdentifier)(const char* text);                          // 8
    uint8_t (*GetApplicationIdentifier)(char* text128);                         // 9
    uint8_t (*GetConfigIdentifier)(char* text128);                              // 10
    uint8_t (*SetConfigIdentifier)(const char* text);                           // 11
    uint8_t (*GetProductIdentifier)(char* text128);                             // 12
    uint8_t (*GetSymbolTableEntry)(uint16_t number, TwSymbolRecord* record);    // 13
    uint16_t (*GetSymbolCount)();                                               // 14
    uint8_t (*ReadValForHandle)(uint32_t handle, TwValue* value);               // 15
    uint8_t (*WriteValue)(uint32_t handle, TwValue* value);                     // 16
    uint32_t (*GetDataPacketBytes)(uint32_t handle);                            // 17
    uint8_t (*ReadBytes)(uint32_t handle, const uint8_t** data, uint32_t* size);  // 18
    uint16_t (*GetArraySize)(uint32_t handle);                                  // 19
    uint8_t (*ReadArrayItem)(uint32_t handle, TwValue* value, uint16_t item);   // 20
    uint8_t (*WriteArrayItem)(uint32_t handle, TwValue* value, uint16_t item);  // 21
    uint8_t (*ValidateSecurityItem)(uint8_t level, uint32_t password);          // 22
    uint8_t (*GetValueHandle)(const char* name, uint32_t* handle, uint8_t* type, uint8_t* flags);  // 23
    void (*TcpTwSlave)();                                                       // 24
    void (*TcpTwListener)();                                                    // 25
    void (*TcpTwClose)();                                                       // 26
    uint8_t (*SciPutc)(uint8_t byte);                                           // 27
    uint8_t (*SciGetc)(uint8_t* byte);                                          // 28
    void (*FlushMessage)();                                                     // 29
    uint8_t (*ResetAllowed)();                                                  // 30
    uint8_t (*ShutdownAllowed)();                                               // 31
    uint8_t (*BeginProgrammingVeto)();                                          // 32
    uint8_t (*GetSessionSecurityLevel)();                                       // 33
    uint8_t (*AccountSecurityLogin)(const char* user, const char* password, uint8_t* level);       // 34
    uint8_t (*QueryAccountSecurityLevel)(const char* user, const char* password, uint8_t* level);  // 35
    uint8_t (*EndProgramming)();                                                // 36
    uint8_t (*WriteProgramMemory)(uint32_t address, uint16_t length);           // 37
};

typedef int (*TwRequestHandler)(uint8_t code);

struct RequestMapEntry {
    uint8_t code;
    TwRequestHandler handler;
};

// Reply statuses.
constexpr uint8_t TW_OK = 0;
constexpr uint8_t TW_BAD_ARGUMENT = 1;
constexpr uint8_t TW_OUT_OF_RANGE = 2;
constexpr uint8_t TW_CHANGE_TOO_LARGE = 3;
constexpr uint8_t TW_NOT_ALLOWED_NOW = 4;
constexpr uint8_t TW_TYPE_MISMATCH = 5;
constexpr uint8_t TW_NOT_WRITABLE = 6;
constexpr uint8_t TW_SECURITY = 254;
constexpr uint8_t TW_NOT_PROVIDED = 255;

// Byte callbacks of the serial side answer this when they cannot take or
// give a byte now.
constexpr uint8_t TW_BYTE_NOT_NOW = 254;

// Change-token states of a session.
constexpr uint8_t TOKEN_NO_SESSION = 0;
constexpr uint8_t TOKEN_EXCLUDED = 1;
constexpr uint8_t TOKEN_ALLOWED = 2;
constexpr uint8_t TOKEN_HOLDER = 3;

// Transport operation set: pointed at the operations of the transport whose
// session is being served, at the start of each pass.
extern uint8_t (*pTwExtract)();
extern void (*pTwInsert)(uint8_t b);
extern bool (*pInsertWillOverflow)(uint16_t n);
extern bool (*pDataAvailable)(uint16_t n);
extern bool (*pCanTwExtractString)(uint16_t n);
extern uint16_t (*pCurrentPortRef)();
extern bool (*pPortRefInUse)(uint16_t ref);
extern uint16_t (*pOutputBufferSpace)();
extern uint16_t (*pMaxDataPacketBytes)(uint32_t handle);
extern void (*pTcpSetTokenForAll)(uint8_t state);
extern void (*pSerialSetTokenForAll)(uint8_t state);
extern int (*pTcpChangeExcluded)();
extern int (*pSerialChangeExcluded)();

// The session operations of one transport, installed together.
struct TwTransportOps {
    uint8_t (*extract)();
    void (*insert)(uint8_t b);
    bool (*insertWillOverflow)(uint16_t n);
    bool (*dataAvailable)(uint16_t n);
    bool (*canExtractString)(uint16_t n);
    uint16_t (*currentPortRef)();
    bool (*portRefInUse)(uint16_t ref);
    uint16_t (*outputBufferSpace)();
    uint16_t (*maxDataPacketBytes)(uint32_t handle);
};
void TwInstallOperations(const TwTransportOps& ops);

// Installed request map and callback table.
extern const RequestMapEntry* pRequestMap;
extern uint8_t RequestMapSize;
extern const TwapiDescriptor* TwapiDescriptorPtr;

// Server state.
extern void (*pSerialTwSlave)();
extern void (*pTcpTwSlave)();
extern void (*pTcpTwListener)();
extern void (*pTcpTwClose)();
extern TASK_ID _TW_SLAVEpid;
extern TASK_ID _TCP_LISTENERpid;
extern uint8_t SecurityReadControlInfo;
extern uint8_t SecurityWriteControlInfo;
extern uint8_t SecurityServiceUser;
extern uint8_t BeginProgrammingRequested;
extern uint8_t ResetControlRequested;
extern uint32_t StartProgramLocation;
extern uint32_t EndProgramLocation;

int InitializeTallwire(int tcpEnabled, int numSerialPorts, int readControlLevel, int writeControlLevel,
                       int serviceUserLevel);
int TallwireClose();
int TallwireOpen(const RequestMapEntry* map, uint8_t count);
void ProcessRequest();
void Connect();
void FlushMessage();
void AllowChangeForAll(int allow);
int ChangeExcluded();
void* AllocZeroedMemory(uint32_t size);

// Task entries.
void TW_SLAVE(long arg);
void TCP_LISTENER(long arg);
