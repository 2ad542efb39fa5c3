#include "host/vkplatform.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "host/hostaccounts.h"
#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "host/hostsym.h"

namespace hostplatform {
namespace {

constexpr int kSlots = 20;
uint8_t g_table[1768];
long g_mutex = 0;
long g_event = 0;
uint32_t g_permissive = 0;
bool g_console = false;
TASK_ID g_task = 0;
std::mutex g_lock;  // guards the recorded messages against host threads
std::vector<Message> g_messages;
std::function<void(const Message&)> g_hook;
Versions g_versions;
int g_accounts = 0;
long g_spi = 0;
std::string g_ioPath;

uint32_t be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The platform's service task: empties the table whenever the event is given.
void serviceTask() {
    for (;;) {
        semTake(g_event, WAIT_FOREVER);
        semTake(g_mutex, WAIT_FOREVER);
        uint32_t n = std::min<uint32_t>(be32(g_table), kSlots);
        std::vector<Message> got;
        for (uint32_t i = 0; i < n; ++i) {
            const uint8_t* slot = g_table + 4 + 88 * i;
            Message m{be32(slot), be32(slot + 4), std::string(reinterpret_cast<const char*>(slot + 8), strnlen(reinterpret_cast<const char*>(slot + 8), 80)),
                      be32(g_table + 1764)};
            got.push_back(m);
        }
        std::memset(g_table, 0, 4);
        semGive(g_mutex);
        for (const auto& m : got) {
            // An event without a text (code 12 once the controller's I/O is
            // initialised) tells the operator nothing: the table keeps it.
            if (g_console && (m.code == 2 || !m.text.empty())) {
                if (m.code == 2)
                    std::printf("[platform] state %u: %s\n", m.state, m.text.c_str());
                else
                    std::printf("[platform] event %u: %s\n", m.code, m.text.c_str());
                std::fflush(stdout);
            }
            if (g_hook) g_hook(m);
            std::lock_guard<std::mutex> l(g_lock);
            g_messages.push_back(m);
        }
    }
}

}  // namespace

void start(bool console) {
    // A platform start is a fresh board: no messages recorded, the versions
    // and account setting the platform reports by default.
    {
        std::lock_guard<std::mutex> l(g_lock);
        g_messages.clear();
    }
    g_versions = Versions{};
    g_accounts = 0;
    g_console = console;
    if (console) hostaccounts::reportAtStart();
    std::memset(g_table, 0, sizeof g_table);
    g_mutex = semCCreate(SEM_Q_PRIORITY, 1);
    g_event = semCCreate(SEM_Q_PRIORITY, 0);
    g_spi = semCCreate(SEM_Q_PRIORITY, 1);
    g_permissive = 1;
    hostsym::registerSymbol("_VxSharedMem", g_table);
    hostsym::registerSymbol("_hVxServiceMutex", &g_mutex);
    hostsym::registerSymbol("_hVxServiceEvent", &g_event);
    hostsym::registerSymbol("ApplicationShutdownPermissive", &g_permissive);
    hostsym::registerSymbol("is_directory_sync_ee_file_active",
                            reinterpret_cast<void*>(&is_directory_sync_ee_file_active));
    // More urgent than the application's message monitor, so the table is
    // emptied as soon as each message arrives.
    g_task = hk::spawnFunction(serviceTask, 35, "tPlatformSvc");
}

void stop() {
    if (g_task) taskDelete(g_task);
    g_task = 0;
    hostsym::registerSymbol("_VxSharedMem", nullptr);
    hostsym::registerSymbol("_hVxServiceMutex", nullptr);
    hostsym::registerSymbol("_hVxServiceEvent", nullptr);
    hostsym::registerSymbol("ApplicationShutdownPermissive", nullptr);
    hostsym::registerSymbol("is_directory_sync_ee_file_active", nullptr);
}

std::vector<Message> messages() {
    std::lock_guard<std::mutex> l(g_lock);
    return g_messages;
}

void clearMessages() {
    std::lock_guard<std::mutex> l(g_lock);
    g_messages.clear();
}

void onMessage(std::function<void(const Message&)> fn) { g_hook = std::move(fn); }
Versions& versions() { return g_versions; }
void setAccountManagement(int value) { g_accounts = value; }
uint32_t shutdownPermissive() { return g_permissive; }
std::string defaultIoPath() { return g_ioPath; }

}  // namespace hostplatform

using hostplatform::g_versions;

int VNVersionGetOSVersion(uint8_t* record) {
    if (!g_versions.osOk) return -1;
    std::memcpy(record, g_versions.os, 4);
    return 0;
}
uint32_t VNVersionGetFootprintPN() { return g_versions.footprintPn; }
uint32_t VNVersionGetFootprintRev() { return g_versions.footprintRev; }
int VNVersionPNIntToString(uint32_t pn, char* text, int size) {
    if (pn == 0) return -1;
    std::snprintf(text, static_cast<size_t>(size), "%u", pn);
    return 0;
}
int VNVersionRevIntToString(uint32_t rev, char* text, int size) {
    std::snprintf(text, static_cast<size_t>(size), "%03u", rev);
    return 0;
}
const char* VNVersionGetFootprintVersionString() {
    static char text[32];
    std::snprintf(text, sizeof text, "%u.%03u", g_versions.footprintPn, g_versions.footprintRev);
    return text;
}
int VN_StdFiles_GetVersion(uint8_t* record) {
    if (!g_versions.stdFilesOk) return -1;
    std::memcpy(record + 4, g_versions.stdFiles, 3);
    return 0;
}
int VN_Abstraction_GetVersion(uint8_t* record) {
    if (!g_versions.abstractionOk) return -1;
    std::memcpy(record + 4, g_versions.abstraction, 3);
    return 0;
}
const char* vxWorksVersion = "6.9";
int VKGetAccountManagement() { return hostplatform::g_accounts; }
void VKCleanup() {}
void VN_WaitSpi5Sem() { semTake(hostplatform::g_spi, WAIT_FOREVER); }
void VN_SignalSpi5Sem() { semGive(hostplatform::g_spi); }
STATUS ioDefPathSet(const char* path) {
    hostplatform::g_ioPath = path ? path : "";
    return OK;
}
