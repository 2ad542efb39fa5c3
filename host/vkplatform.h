// The emulated controller platform around the application: its shared
// message table with service mutex and event (and the service task that
// reads them), version queries, account management, the SPI semaphore and
// the shutdown-permissive word.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/vxworks.h"

namespace hostplatform {

struct Message {
    uint32_t code;
    uint32_t state;
    std::string text;
    uint32_t appState;  // application state word of the table when read
};

// Creates the platform's objects and its service task; call after hk::start.
// With `console` each message that reaches the table is printed.
void start(bool console);
void stop();

// Messages the platform has read from its table, in order.
std::vector<Message> messages();
void clearMessages();
// Called (in the platform's service task) for each message as it arrives.
void onMessage(std::function<void(const Message&)> fn);

// Version answers of the platform (defaults: what the module was built for).
struct Versions {
    uint8_t os[4] = {6, 9, 3, 3};
    bool osOk = true;
    uint32_t footprintPn = 61930458;
    uint32_t footprintRev = 105;
    uint8_t stdFiles[3] = {1, 7, 1};
    bool stdFilesOk = true;
    uint8_t abstraction[3] = {3, 11, 0};
    bool abstractionOk = true;
};
Versions& versions();

void setAccountManagement(int value);
uint32_t shutdownPermissive();  // the platform word "ApplicationShutdownPermissive"
std::string defaultIoPath();

}  // namespace hostplatform

// Platform library calls.
int VNVersionGetOSVersion(uint8_t* record);
uint32_t VNVersionGetFootprintPN();
uint32_t VNVersionGetFootprintRev();
int VNVersionPNIntToString(uint32_t pn, char* text, int size);
int VNVersionRevIntToString(uint32_t rev, char* text, int size);
const char* VNVersionGetFootprintVersionString();
int VN_StdFiles_GetVersion(uint8_t* record);
int VN_Abstraction_GetVersion(uint8_t* record);
extern const char* vxWorksVersion;
int VKGetAccountManagement();
void VKCleanup();
void VN_WaitSpi5Sem();
void VN_SignalSpi5Sem();
STATUS ioDefPathSet(const char* path);
