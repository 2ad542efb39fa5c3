#include "host/hostsym.h"

#include <map>
#include <mutex>
#include <string>

namespace {

std::mutex& tableMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, void*>& table() {
    static std::map<std::string, void*> t;
    return t;
}

}  // namespace

namespace hostsym {

void registerSymbol(const char* name, void* addr) {
    if (name == nullptr) return;
    std::lock_guard<std::mutex> lock(tableMutex());
    if (addr == nullptr) table().erase(name);
    else table()[name] = addr;
}

}  // namespace hostsym

STATUS VKSymFindByName(const char* name, void** addr) {
    if (name == nullptr || addr == nullptr) return ERROR;
    std::lock_guard<std::mutex> lock(tableMutex());
    auto it = table().find(name);
    if (it == table().end()) return ERROR;
    *addr = it->second;
    return OK;
}
