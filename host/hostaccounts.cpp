#include "host/hostaccounts.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "host/hostfs.h"
#include "host/hostsym.h"

const char* VKPMGetAccountLevel(const char* user, const char* password, uint32_t* level) {
    static const char kFound[] = "0 Account found";
    static const char kWrongPassword[] = "7 Wrong password";
    static const char kNoAccount[] = "8 No such account";
    if (user == nullptr || password == nullptr || level == nullptr) return kNoAccount;
    std::ifstream in(hostfs::applicationRoot() + "/" + hostaccounts::kFileName);
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
