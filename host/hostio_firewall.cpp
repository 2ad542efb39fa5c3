// The platform's firewall rule functions on the host: they log the request
// and succeed (the host's own firewall is not the controller's to change).
#include <cstdio>
#include <cstring>
#include <mutex>

#include "host/hostio.h"

namespace hostio {

namespace {
std::mutex g_mu;
bool g_available = true;
int g_result = 0;
std::vector<std::string> g_log;

int rule(const char* what, int port) {
    std::lock_guard<std::mutex> lk(g_mu);
    std::string line = std::string(what) + " " + std::to_string(port);
    g_log.push_back(line);
    std::printf("firewall: %s\n", line.c_str());
    return g_result;
}
}  // namespace

int VKFirewallAddTCPPortRule(int port) { return rule("add tcp", port); }
int VKFirewallRemoveTCPPortRule(int port) { return rule("remove tcp", port); }
int VKFirewallAddUDPPortRule(int port) { return rule("add udp", port); }
int VKFirewallRemoveUDPPortRule(int port) { return rule("remove udp", port); }

void firewallSetAvailable(bool available) {
    std::lock_guard<std::mutex> lk(g_mu);
    g_available = available;
}

void firewallSetResult(int result) {
    std::lock_guard<std::mutex> lk(g_mu);
    g_result = result;
}

std::vector<std::string> firewallTakeLog() {
    std::lock_guard<std::mutex> lk(g_mu);
    std::vector<std::string> out;
    out.swap(g_log);
    return out;
}

FirewallFn firewallLookup(const char* name) {
    static const struct {
        const char* name;
        FirewallFn fn;
    } kTable[] = {{"VKFirewallAddTCPPortRule", VKFirewallAddTCPPortRule},
                  {"VKFirewallRemoveTCPPortRule", VKFirewallRemoveTCPPortRule},
                  {"VKFirewallAddUDPPortRule", VKFirewallAddUDPPortRule},
                  {"VKFirewallRemoveUDPPortRule", VKFirewallRemoveUDPPortRule}};
    {
        std::lock_guard<std::mutex> lk(g_mu);
        if (!g_available) return nullptr;
    }
    for (const auto& e : kTable)
        if (std::strcmp(e.name, name) == 0) return e.fn;
    return nullptr;
}

}  // namespace hostio
