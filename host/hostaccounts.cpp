#include "host/hostaccounts.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>

#include "host/hostfs.h"
#include "host/hostsym.h"

namespace {

// The accounts file's text, read as every application file is read: only a
// regular file (a pipe or a device under the name is refused without
// waiting), in blocks that are each a kernel call, and no further than
// hostaccounts::kMaxBytes. Empty when there is no file that can serve.
std::string accountsText() {
    const std::string path = std::string(hostfs::kApplicationRoot) + "/" + hostaccounts::kFileName;
    const int fd = hostfs::open(path.c_str(), hostfs::kReadOnly, 0);
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
}  // namespace hostaccounts

namespace {
const bool g_registered = (hostaccounts::registerAccountManager(), true);
}  // namespace
