#include "service/TwControl.h"

#include <cstdio>
#include <cstring>

#include "host/vkboard.h"
#include "platform/send_evt.h"
#include "platform/vkiobus.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "runtime/appmain.h"
#include "runtime/dbug.h"
#include "runtime/sysinfo.h"
#include "runtime/value_handles.h"
#include "service/Tallwire.h"
#include "service/TwSecurity.h"
#include "service/TwValues.h"
#include "storage/eefile.h"

char ram_ControlID[kIdentifierBytes];
char ram_ConfigID[kIdentifierBytes];

namespace {

constexpr char kProductName[] = "Zarn 200";
constexpr char kBuildDate[] = "2026-04-20 07.44.46";
constexpr char kDefaultControlId[] = "Dflt Control ID";
constexpr char kDeleteIdentifier[] = "!Delete Identifier";
constexpr int kTextBytes = 128;

// Copies a text of up to 128 bytes into a 32-byte identifier: at most 31
// characters and the NUL.
void copyIdentifier(char* field, const char* text) {
    int n = 0;
    for (; n < kIdentifierBytes - 1 && text[n] != '\0'; ++n) field[n] = text[n];
    for (; n < kIdentifierBytes; ++n) field[n] = '\0';
}

void copyText(char* out, const char* text) { std::snprintf(out, kTextBytes, "%s", text); }

// Set-identifier requests need the level, a session and the change right.
bool mayChange(uint8_t neededLevel) {
    return GetSessionSecurityLevel() >= neededLevel && HaveSession() && SessionHasChangeRight();
}

}  // namespace

const char* ApplicationIdentifier() {
    static char text[kTextBytes];
    std::snprintf(text, sizeof text, "%s %s", uvAppName, kBuildDate);
    return text;
}

void SetIoLock(int on) {
    const bool locked = IsIOLockSet() != 0;
    if (on != 0 && !locked) Assert_IOLOCK();
    else if (on == 0 && locked)
        SendAppEvent(3, "UnLock I/O is not allowed, you must Stop and reStart the application.");
}

void SetIOLock() { SetIoLock(1); }

int RestartControl() {
    if (IsIOLockSet() == 0) return 0;
    if (_SYS_INFO_STOP_PER == 0) {
        static const char kText[] = "Can not unlock because SYS_INFO->STOP_PER field is FALSE.";
        SendAppState(3, kText);
        std::printf("%s\n", kText);
        return 0;
    }
    VKOS_SleepMillisec(1000);
    SendAppEvent(4, "Resetting Control");
    return 0;
}

int GetTargetName(char* text) { return VKGetTargetName(text); }

void init_service_binding() {
    const DbugTables tables = app_dbug_tables();
    const DbugVar* token = dbug_find_in(tables, kChangeTokenCell);
    if (token != nullptr) ChangeTokenHandle = HmiValueHandles[static_cast<uint32_t>(token - _dbug_var) - 1];
    copyIdentifier(ram_ConfigID, ee_ConfigID);
}

namespace twsupport {

void ResetControl() {
    if (SendSysMessage(0x7710, 0x1213, 0, 0) != 0) RestartControl();
}

uint8_t ShutdownAllowed() {
    if (GetSessionSecurityLevel() < SecurityServiceUser) return TW_SECURITY;
    if (_SYS_INFO_LOCK_PER == 0 || !HaveSession() || !SessionHasChangeRight()) return TW_BAD_ARGUMENT;
    return TW_OK;
}

uint8_t ResetAllowed() {
    if (GetSessionSecurityLevel() < SecurityServiceUser) return TW_SECURITY;
    if (IsIOLockSet() == 0 || _SYS_INFO_STOP_PER == 0) return TW_BAD_ARGUMENT;
    if (!HaveSession() || !SessionHasChangeRight()) return TW_BAD_ARGUMENT;
    return TW_OK;
}

uint8_t ShutdownControl() {
    const uint8_t veto = ShutdownAllowed();
    if (veto != TW_OK) return veto;
    if (SendSysMessage(0x7710, 0x1212, 0, 0) != 0) SetIoLock(1);
    return TW_OK;
}

int IsControlRunning() { return IsIOLockSet() == 0 ? 1 : 0; }

uint8_t SaveValues() {
    if (GetSessionSecurityLevel() < SecurityWriteControlInfo) return TW_SECURITY;
    if (!HaveSession() || !SessionHasChangeRight()) return TW_SECURITY;
    if (SendSysMessage(0x7710, 0x1211, 0, 0) == 0) return TW_OK;
    // A save that did not reach the file is not reported as done.
    return update_ee() == 1 ? TW_OK : TW_NOT_ALLOWED_NOW;
}

uint8_t GetSystemIdentifier(char* text) {
    if (GetSessionSecurityLevel() < SecurityReadControlInfo) return TW_SECURITY;
    std::snprintf(text, kTextBytes, "RTOS %.40s", OSVersionNumber);
    return TW_OK;
}

uint8_t GetControlIdentifier(char* text) {
    if (ee_ControlID[0] != '\0' && std::strcmp(ee_ControlID, kDefaultControlId) != 0) copyText(text, ee_ControlID);
    else GetTargetName(text);
    return TW_OK;
}

uint8_t SetControlIdentifier(const char* text) {
    if (!mayChange(SecurityServiceUser)) return TW_SECURITY;
    const char* id = std::strcmp(text, kDeleteIdentifier) == 0 ? kDefaultControlId : text;
    copyIdentifier(ram_ControlID, id);
    copyIdentifier(ee_ControlID, id);
    return TW_OK;
}

uint8_t GetApplicationIdentifier(char* text) {
    copyText(text, ApplicationIdentifier());
    return TW_OK;
}

uint8_t GetConfigIdentifier(char* text) {
    if (GetSessionSecurityLevel() < SecurityReadControlInfo) return TW_SECURITY;
    copyText(text, ee_ConfigID);
    return TW_OK;
}

uint8_t SetConfigIdentifier(const char* text) {
    if (!mayChange(SecurityWriteControlInfo)) return TW_SECURITY;
    // The stored identifier only: the running copy keeps what the
    // controller started with.
    copyIdentifier(ee_ConfigID, text);
    return TW_OK;
}

uint8_t GetProductIdentifier(char* text) {
    if (GetSessionSecurityLevel() < SecurityReadControlInfo) return TW_SECURITY;
    copyText(text, kProductName);
    return TW_OK;
}

uint8_t ReadBytes(uint32_t handle, const uint8_t** data, uint32_t* size) {
    if (handle != kSidHandle) return TW_BAD_ARGUMENT;
    // Every level reaches the definition (its threshold SECURITY_NONE is 0).
    *data = SidZipBuffer;
    *size = SidZipBufferSize;
    return TW_OK;
}

uint8_t GetValueHandle(const char* name, uint32_t* handle, uint8_t* type, uint8_t* flags) {
    if (std::strcmp(name, "_CONTROL_TIME") == 0) {
        *handle = kControlTimeHandle;
        *type = 1;
        *flags = 0x40;
        return TW_OK;
    }
    if (std::strcmp(name, "__SID") == 0) {
        *handle = kSidHandle;
        *type = 1;
        *flags = 2;
        return TW_OK;
    }
    return TW_BAD_ARGUMENT;
}

}  // namespace twsupport
