// Request handlers of the classic Tallwire protocol, the value codec (type
// codes and their wire forms) and the installation of the request map.
#pragma once

#include <cstdint>

#include "service/Tallwire.h"

// Protocol identifier.
extern const char TallwireVersion[];

constexpr uint8_t TW_REQUEST_MAP_COUNT = 31;
extern const RequestMapEntry RequestMap[TW_REQUEST_MAP_COUNT];

// Text buffers of the handlers and the value buffer that decoded texts and
// structures point into.
extern char String1_128[128];
extern char String2_128[128];
extern uint8_t TwValueBuffer[128];

// Value type codes.
constexpr uint32_t TW_TYPE_BOOL = 1;
constexpr uint32_t TW_TYPE_BYTE = 2;
constexpr uint32_t TW_TYPE_INT = 4;
constexpr uint32_t TW_TYPE_FLOAT = 32;
constexpr uint32_t TW_TYPE_TIME = 64;
constexpr uint32_t TW_TYPE_WORD66 = 66;
constexpr uint32_t TW_TYPE_STRUCT = 68;
constexpr uint32_t TW_TYPE_STRING = 80;
constexpr uint32_t TW_TYPE_HASH = 84;
constexpr uint32_t TW_TYPE_EVENT = 112;
constexpr uint32_t TW_TYPE_LATCH_ENTRY = 113;
constexpr uint32_t TW_TYPE_EVENT_DATA = 114;
constexpr uint32_t TW_TYPE_QUAD_116 = 116;
constexpr uint32_t TW_TYPE_QUAD_117 = 117;

int TwApiClassicInit(const TwapiDescriptor* descriptor);

// Number of reply bytes the value takes in its wire form.
uint32_t SizeOfValue(const TwValue* value);
// Appends the value in its wire form.
void TwInsertValue(const TwValue* value);
// Reads a value of the type code already in value->type from the request;
// the handle decides how a structure is read. Returns the decode status.
uint8_t TwExtractValue(uint32_t handle, TwValue* value);

namespace twapi {
int Ping(uint8_t code);
int QuerySupportedFunctions(uint8_t code);
int ResetControl(uint8_t code);
int ShutdownControl(uint8_t code);
int GetRunStatus(uint8_t code);
int GetValueHandle(uint8_t code);
int GetSymbolTableSize(uint8_t code);
int GetSymbolTable(uint8_t code);
int ReadValue(uint8_t code);
int ReadArray(uint8_t code);
int WriteValue(uint8_t code);
int SaveValues(uint8_t code);
int WriteArray(uint8_t code);
int BatchReadByHandles(uint8_t code);
int BatchWriteByHandles(uint8_t code);
int GetSymbolTableEx(uint8_t code);
int ReadBytes(uint8_t code);
int BeginProgrammingMode(uint8_t code);
int EndProgrammingMode(uint8_t code);
int WriteToProgramMemory(uint8_t code);
int GetProtocolId(uint8_t code);
int GetSystemId(uint8_t code);
int GetControlId(uint8_t code);
int SetControlId(uint8_t code);
int GetApplicationId(uint8_t code);
int GetConfigId(uint8_t code);
int SetConfigId(uint8_t code);
int GetProductId(uint8_t code);
int ValidateSecurity(uint8_t code);
int AccountSecurityLogin(uint8_t code);
int QueryAccountSecurityLevel(uint8_t code);
}  // namespace twapi
