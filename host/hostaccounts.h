// The platform's account manager: service-tool accounts with their security
// levels, kept in the plain file "Accounts.txt" of the application root (one
// account per line: user name, password and level separated by blanks;
// blank lines and lines starting with '#' are skipped). Only a regular file
// serves, and only its first kMaxBytes bytes are read.
#pragma once

#include <cstddef>
#include <cstdint>

// Looks the user up. Answers "0 Account found" with *level set, "7 Wrong
// password", or "8 No such account" (also when the file cannot be read, is
// not a regular file, or an argument is missing). Entered in the platform symbol table under its
// name at start-up.
const char* VKPMGetAccountLevel(const char* user, const char* password, uint32_t* level);

namespace hostaccounts {
constexpr const char* kFileName = "Accounts.txt";
constexpr size_t kMaxBytes = 64 * 1024;
// Enters the routine in the symbol table again (tests that removed it).
void registerAccountManager();
}  // namespace hostaccounts
