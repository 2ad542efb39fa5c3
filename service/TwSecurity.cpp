// Security levels and the change right of the session being served: the
// reset on connect, validation of a level with a password from the local
// level table, and account log-in through the platform's account manager.
#include "service/TwSecurity.h"

#include "platform/vkosfile.h"
#include "service/TwSerial.h"
#include "service/TwTcp.h"

// Only the end pair in this build: only level 0 validates locally.
const SecurityPair locSecurityDefault[] = {{-1, 0}};
const SecurityPair* locSecurity = locSecurityDefault;

AccountLevelFn pGetAccountLevel = nullptr;

namespace {
constexpr int kMaxSecurityPairs = 16;

void setSessionLevel(uint8_t level) {
    if (pCurTWSerialPort != nullptr) pCurTWSerialPort->securityLevel = level;
    else if (pCurTWTcpPort != nullptr) pCurTWTcpPort->securityLevel = level;
}

// Some pair of the table, up to its end pair, has a level at or above
// `level` and the password.
bool passwordCoversLevel(int32_t level, uint32_t password) {
    for (int i = 0; i < kMaxSecurityPairs && locSecurity[i].level != -1; ++i)
        if (locSecurity[i].level >= level && static_cast<uint32_t>(locSecurity[i].password) == password) return true;
    return false;
}
}  // namespace

uint8_t GetSessionSecurityLevel() {
    if (pCurTWSerialPort != nullptr) return pCurTWSerialPort->securityLevel;
    if (pCurTWTcpPort != nullptr) return pCurTWTcpPort->securityLevel;
    return 0;
}

bool SessionHasChangeRight() {
    if (pCurTWSerialPort != nullptr) return pCurTWSerialPort->tokenState > TOKEN_EXCLUDED;
    if (pCurTWTcpPort != nullptr) return pCurTWTcpPort->tokenState > TOKEN_EXCLUDED;
    return false;
}

bool HaveSession() { return pCurTWSerialPort != nullptr || pCurTWTcpPort != nullptr; }

void SetSessionTokenState(uint8_t state) {
    if (pCurTWSerialPort != nullptr) pCurTWSerialPort->tokenState = state;
    else if (pCurTWTcpPort != nullptr) pCurTWTcpPort->tokenState = state;
}

namespace twsupport {

void Connect() { setSessionLevel(0); }

uint8_t ValidateSecurityItem(uint8_t level, uint32_t password) {
    if (level == 0) {
        setSessionLevel(0);
        return TW_OK;
    }
    const uint8_t current = GetSessionSecurityLevel();
    for (int i = 0; i < kMaxSecurityPairs && locSecurity[i].level != -1; ++i) {
        if (locSecurity[i].level != level) continue;
        if (static_cast<uint32_t>(locSecurity[i].password) == password || level <= current ||
            passwordCoversLevel(level, password)) {
            setSessionLevel(level);
            return TW_OK;
        }
    }
    return TW_SECURITY;
}

uint8_t QueryAccountSecurityLevel(const char* user, const char* password, uint8_t* level) {
    *level = 0;
    if (pGetAccountLevel == nullptr) {
        pGetAccountLevel = reinterpret_cast<AccountLevelFn>(VKOS_FindSymbol("VKPMGetAccountLevel"));
        if (pGetAccountLevel == nullptr) return TW_NOT_PROVIDED;
    }
    uint32_t word = 0;
    const char* answer = pGetAccountLevel(user, password, &word);
    if (answer == nullptr) return TW_BAD_ARGUMENT;
    switch (answer[0]) {
        case '7': return TW_SECURITY;
        case '8': return TW_OUT_OF_RANGE;
        case '0':
            *level = static_cast<uint8_t>(word);
            return TW_OK;
        default: return TW_BAD_ARGUMENT;
    }
}

uint8_t AccountSecurityLogin(const char* user, const char* password, uint8_t* level) {
    const uint8_t status = QueryAccountSecurityLevel(user, password, level);
    if (status != TW_OK) return status;
    setSessionLevel(*level);
    return TW_OK;
}

uint8_t GetSessionSecurityLevel() { return ::GetSessionSecurityLevel(); }

}  // namespace twsupport
