// Identifiers, control commands (save, shut down, reset and restart, the I/O
// lock) and the download of the service interface definition.
#pragma once

#include <cstdint>

constexpr int kIdentifierBytes = 32;
// The running copies of the control and configuration identifiers.
extern char ram_ControlID[kIdentifierBytes];
extern char ram_ConfigID[kIdentifierBytes];

// The service interface definition: gzip-compressed XML, generated at build
// time from the cell catalogue.
extern const uint8_t SidZipBuffer[];
extern const uint32_t SidZipBufferSize;

constexpr uint32_t kControlTimeHandle = 0xC9100000u;
constexpr uint32_t kSidHandle = 0xD0100001u;
// The level the service interface definition needs.
constexpr uint8_t SECURITY_NONE = 0;

// On (1) sets the I/O lock when it is not set; off (0) while it is set is
// refused with an application event.
void SetIoLock(int on);
void SetIOLock();
// Restarts the control after a stop (needs the I/O lock and the stop
// permissive); 0.
int RestartControl();
int GetTargetName(char* text);
// The application identifier: "<application> <build date>".
const char* ApplicationIdentifier();
// The block initialisation's part: the change token's handle and the
// running copy of the configuration identifier.
void init_service_binding();

namespace twsupport {
void ResetControl();
uint8_t ShutdownControl();
int IsControlRunning();
uint8_t SaveValues();
uint8_t GetSystemIdentifier(char* text);
uint8_t GetControlIdentifier(char* text);
uint8_t SetControlIdentifier(const char* text);
uint8_t GetApplicationIdentifier(char* text);
uint8_t GetConfigIdentifier(char* text);
uint8_t SetConfigIdentifier(const char* text);
uint8_t GetProductIdentifier(char* text);
uint8_t ReadBytes(uint32_t handle, const uint8_t** data, uint32_t* size);
uint8_t GetValueHandle(const char* name, uint32_t* handle, uint8_t* type, uint8_t* flags);
uint8_t ResetAllowed();
uint8_t ShutdownAllowed();
}  // namespace twsupport
