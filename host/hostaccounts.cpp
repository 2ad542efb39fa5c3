#include "host/hostaccounts.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "host/hostfs.h"
#include "host/hostsym.h"

namespace {

// The accounts file's path on the target.
std::string targetPath() { return std::string(hostfs::kApplicationRoot) + "/" + hostaccounts::kFileName; }

// The accounts file's text, read as every application file is read: only a
// regular file (a pipe or a device under the name is refused without
// waiting), in blocks that are each a kernel call, and no further than
// hostaccounts::kMaxBytes. Empty when there is no file that can serve.
std::string accountsText() {
    const int fd = hostfs::open(targetPath().c_str(), hostfs::kReadOnly, 0);
    if (fd < 0) return {};
    std::string text;
    char block[4096];
    while (text.size() < hostaccounts::kMaxBytes) {
        const size_t want = std::min(sizeof block, hostaccounts::kMaxBytes - text.size());
        const long n = hostfs::read(fd, block, want);
        if (n <= 0) break;
        text.append(block, static_cast<size_t>(n));
    }
    hostfs::close(fd);
    return text;
}

}  // namespace

const char* VKPMGetAccountLevel(const char* user, const char* password, uint32_t* level) {
    static const char kFound[] = "0 Account found";
    static const char kWrongPassword[] = "7 Wrong password";
    static const char kNoAccount[] = "8 No such account";
    if (user == nullptr || password == nullptr || level == nullptr) return kNoAccount;
    std::istringstream in(accountsText());
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name, pass;
        long value = -1;
        if (!(fields >> name) || name[0] == '#' || name != user) continue;
        if (!(fields >> pass >> value) || value < 0 || value > 255) continue;
        if (pass != password) return kWrongPassword;
        *level = static_cast<uint32_t>(value);
        return kFound;
    }
    return kNoAccount;
}

namespace hostaccounts {
void registerAccountManager() {
    hostsym::registerSymbol("VKPMGetAccountLevel", reinterpret_cast<void*>(&VKPMGetAccountLevel));
}

std::string notReadBecause() {
    const std::string path = hostfs::hostPath(targetPath().c_str());
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? "" : std::string("it cannot be looked at: ") + std::strerror(errno);
    const char* kind = S_ISDIR(st.st_mode)    ? "a directory"
                       : S_ISFIFO(st.st_mode) ? "a named pipe"
                       : S_ISREG(st.st_mode)  ? nullptr
                                              : "a device or a socket";
    return kind == nullptr ? "" : std::string("it is ") + kind + ", not a regular file";
}

void reportAtStart() {
    const std::string why = notReadBecause();
    if (why.empty()) return;
    std::printf("controller: the accounts file '%s' is not read: %s; every account log-in is refused as an "
                "unknown user (status 2)\n",
                hostfs::hostPath(targetPath().c_str()).c_str(), why.c_str());
    std::fflush(stdout);
}
}  // namespace hostaccounts

namespace {
const bool g_registered = (hostaccounts::registerAccountManager(), true);
}  // namespace
