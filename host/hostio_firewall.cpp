// The platform's firewall rule functions on the host: they log the request
// and succeed (the host's own firewall is not the controller's to change).
// The controller asks for its own port numbers; the log names the host port
// actually opened, the port offset added.
#include <cstdio>
#include <mutex>

#include "host/hostio.h"
#include "host/hostsym.h"

namespace hostio {

namespace {
std::mutex g_mu;
int g_result = 0;
std::vector<std::string> g_log;

int rule(const char* what, int port) {
    std::lock_guard<std::mutex> lk(g_mu);
    std::string line = std::string(what) + " " + std::to_string(port + portOffset());
    g_log.push_back(line);
    std::printf("firewall: %s\n", line.c_str());
    return g_result;
}
}  // namespace

int VKFirewallAddTCPPortRule(int port) { return rule("add tcp", port); }
int VKFirewallRemoveTCPPortRule(int port) { return rule("remove tcp", port); }
int VKFirewallAddUDPPortRule(int port) { return rule("add udp", port); }
int VKFirewallRemoveUDPPortRule(int port) { return rule("remove udp", port); }

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

void registerFirewallFunctions() {
    hostsym::registerSymbol("VKFirewallAddTCPPortRule", reinterpret_cast<void*>(&VKFirewallAddTCPPortRule));
    hostsym::registerSymbol("VKFirewallRemoveTCPPortRule", reinterpret_cast<void*>(&VKFirewallRemoveTCPPortRule));
    hostsym::registerSymbol("VKFirewallAddUDPPortRule", reinterpret_cast<void*>(&VKFirewallAddUDPPortRule));
    hostsym::registerSymbol("VKFirewallRemoveUDPPortRule", reinterpret_cast<void*>(&VKFirewallRemoveUDPPortRule));
}

}  // namespace hostio
