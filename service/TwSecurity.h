// Security level and change right of the session being served, and the
// binding's security callbacks.
#pragma once

#include <cstdint>

#include "service/Tallwire.h"

// Local level table: {level, password} pairs ended by level -1 (at most 16).
struct SecurityPair {
    int32_t level;
    int32_t password;
};
extern const SecurityPair* locSecurity;

// The platform's account manager "VKPMGetAccountLevel": user, password and
// a level word to fill; it answers a text whose first character says how
// it went ('0' found, '7' wrong password, '8' no such account).
using AccountLevelFn = const char* (*)(const char* user, const char* password, uint32_t* level);
extern AccountLevelFn pGetAccountLevel;

// The level of the session being served (0 without one).
uint8_t GetSessionSecurityLevel();
// The session being served may change values (token state above 1).
bool SessionHasChangeRight();
// A serial or TCP session is being served.
bool HaveSession();
// Sets the change-token state of the session being served.
void SetSessionTokenState(uint8_t state);

namespace twsupport {
void Connect();
uint8_t ValidateSecurityItem(uint8_t level, uint32_t password);
uint8_t QueryAccountSecurityLevel(const char* user, const char* password, uint8_t* level);
uint8_t AccountSecurityLogin(const char* user, const char* password, uint8_t* level);
uint8_t GetSessionSecurityLevel();
}  // namespace twsupport
