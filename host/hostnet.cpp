#include "host/hostnet.h"

#include <cstdio>
#include <cstring>
#include <mutex>

// The host controller's network interface is the loopback.
int VKIPGet(int /*iface*/, char* buf) {
    std::strcpy(buf, "127.0.0.1");
    return 0;
}

namespace hostnet {
namespace {
std::mutex mu;
Interface model;
std::vector<std::string> calls;

void record(const std::string& line) { calls.push_back(line); }

int setAddress(int iface, const char* text, uint32_t Interface::*field, const char* name) {
    uint32_t a = 0;
    if (iface != 0 || VKNetworkIPString2UINT(text, &a) != 0) return -1;
    std::lock_guard<std::mutex> lock(mu);
    model.*field = a;
    record(std::string(name) + " " + text);
    return 0;
}

int getAddress(int iface, uint32_t* out, uint32_t Interface::*field, bool Interface::*fail) {
    std::lock_guard<std::mutex> lock(mu);
    if (iface != 0 || model.*fail) return -1;
    *out = model.*field;
    return 0;
}
}  // namespace

Interface state() {
    std::lock_guard<std::mutex> lock(mu);
    return model;
}
void setState(const Interface& s) {
    std::lock_guard<std::mutex> lock(mu);
    model = s;
}
std::vector<std::string> takeCalls() {
    std::lock_guard<std::mutex> lock(mu);
    std::vector<std::string> out;
    out.swap(calls);
    return out;
}
void reset() {
    std::lock_guard<std::mutex> lock(mu);
    model = Interface{};
    calls.clear();
}
std::string dotted(uint32_t a) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", a >> 24, (a >> 16) & 255u, (a >> 8) & 255u, a & 255u);
    return buf;
}

}  // namespace hostnet

using hostnet::Interface;

int VKNetworkIPString2UINT(const char* text, uint32_t* address) {
    if (text == nullptr) return -1;
    unsigned o[4];
    int used = 0;
    if (std::sscanf(text, "%3u.%3u.%3u.%3u%n", &o[0], &o[1], &o[2], &o[3], &used) != 4 || text[used] != '\0')
        return -1;
    for (unsigned v : o)
        if (v > 255) return -1;
    *address = (o[0] << 24) | (o[1] << 16) | (o[2] << 8) | o[3];
    return 0;
}

int VKIPSet(int iface, const char* text) { return hostnet::setAddress(iface, text, &Interface::address, "VKIPSet"); }
int VKMaskSet(int iface, const char* text) { return hostnet::setAddress(iface, text, &Interface::mask, "VKMaskSet"); }
int VKGatewaySet(int iface, const char* text) {
    return hostnet::setAddress(iface, text, &Interface::gateway, "VKGatewaySet");
}
int VKNetworkAddrGet(int iface, uint32_t* address) {
    return hostnet::getAddress(iface, address, &Interface::address, &Interface::failAddr);
}
int VKNetworkMaskGet(int iface, uint32_t* mask) {
    return hostnet::getAddress(iface, mask, &Interface::mask, &Interface::failMask);
}
int VKGatewayGet(int iface, char* buf) {
    uint32_t a = 0;
    if (hostnet::getAddress(iface, &a, &Interface::gateway, &Interface::failGateway) != 0) return -1;
    std::strcpy(buf, hostnet::dotted(a).c_str());
    return 0;
}
int VKGetEnetAddress(int iface, char* buf) {
    const Interface s = hostnet::state();
    if (iface != 0 || s.failEnet) return -1;
    std::snprintf(buf, 64, "%s", s.enetAddress.c_str());
    return 0;
}

int VNSntp_GetServerAddress(char* buf) {
    uint32_t a = 0;
    if (hostnet::getAddress(0, &a, &Interface::sntpServer, &Interface::failSntpAddr) != 0) return -1;
    std::strcpy(buf, hostnet::dotted(a).c_str());
    return 0;
}
int VNSntp_SetServerAddress(const char* text) {
    return hostnet::setAddress(0, text, &Interface::sntpServer, "VNSntp_SetServerAddress");
}
int VNSntp_GetUpdateRate() { return hostnet::state().sntpRate; }
int VNSntp_SetUpdateRate(int rate) {
    std::lock_guard<std::mutex> lock(hostnet::mu);
    hostnet::model.sntpRate = rate;
    hostnet::record("VNSntp_SetUpdateRate " + std::to_string(rate));
    return 0;
}
int VNSntp_GetServerTimeout() { return hostnet::state().sntpTimeout; }
int VNSntp_SetServerTimeout(int timeout) {
    std::lock_guard<std::mutex> lock(hostnet::mu);
    hostnet::model.sntpTimeout = timeout;
    hostnet::record("VNSntp_SetServerTimeout " + std::to_string(timeout));
    return 0;
}
int VNSntp_ClientTaskActive() { return hostnet::state().sntpActive ? 1 : 0; }
int VNSntp_ClientStart() {
    std::lock_guard<std::mutex> lock(hostnet::mu);
    hostnet::model.sntpActive = true;
    hostnet::record("VNSntp_ClientStart");
    return 0;
}
int VNSntp_ClientStop() {
    std::lock_guard<std::mutex> lock(hostnet::mu);
    hostnet::model.sntpActive = false;
    hostnet::record("VNSntp_ClientStop");
    return 0;
}
int VNSntp_ClientError() { return hostnet::state().sntpError; }
