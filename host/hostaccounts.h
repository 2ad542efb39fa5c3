// The platform's account manager: service-tool accounts with their security
// levels, kept in the plain file "Accounts.txt" of the application root (one
// account per line: user name, password and level separated by blanks;
// blank lines and lines starting with '#' are skipped). Only a regular file
// serves, and only its first kMaxBytes bytes are read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
// Why what lies under the file's name is not read ("it is a named pipe, not
// a regular file", ...); empty when there is no file or a regular one.
// Looks at the name only: never opens it, so a pipe cannot block.
std::string notReadBecause();
// Says on the console why the file is not read, when it is not (once, at
// the platform's start): every log-in is then refused as an unknown user.
void reportAtStart();
}  // namespace hostaccounts
