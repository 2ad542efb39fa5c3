// Words and routines the device layer uses from the runtime, the drivers
// and the board library's network calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drivers/ZarnGPIO.h"
#include "runtime/appmain.h"

// Ethernet port table built by the application initialisation: peer IPv4
// address (host order) and port of each device number.
extern uint32_t PentEthPortIP[8];
extern uint32_t PentEthPortNum[8];
// Board library: the dotted IPv4 address of an interface into buf. The host's
// sockets use the loopback, whatever the interface settings below say.
int VKIPGet(int iface, char* buf);

// Board library: the Ethernet interface settings. They act on an in-memory
// model of interface 0 (hostnet::), never on the host's own network. The
// setters take dotted text ("192.168.1.10") and return 0, or non-zero for
// text that is not an address or another interface. The getters return 0,
// or non-zero when the query fails.
int VKIPSet(int iface, const char* text);
int VKMaskSet(int iface, const char* text);
int VKGatewaySet(int iface, const char* text);
int VKGatewayGet(int iface, char* buf);             // dotted text, at least 16 bytes
int VKNetworkAddrGet(int iface, uint32_t* address);  // most significant octet first
int VKNetworkMaskGet(int iface, uint32_t* mask);
// Dotted text to a 32-bit address; 0, or non-zero for a malformed text.
int VKNetworkIPString2UINT(const char* text, uint32_t* address);
// The interface's Ethernet address as text ("00:a0:45:12:34:56"); buf holds
// at least 64 bytes.
int VKGetEnetAddress(int iface, char* buf);

// Platform SNTP client.
int VNSntp_GetServerAddress(char* buf);  // dotted text, at least 16 bytes
int VNSntp_SetServerAddress(const char* text);
int VNSntp_GetUpdateRate();
int VNSntp_SetUpdateRate(int rate);
int VNSntp_GetServerTimeout();
int VNSntp_SetServerTimeout(int timeout);
int VNSntp_ClientTaskActive();
int VNSntp_ClientStart();
int VNSntp_ClientStop();
int VNSntp_ClientError();

namespace hostnet {

// The model's state; tests read and set it.
struct Interface {
    uint32_t address = 0xAC100A0Au;  // 172.16.10.10
    uint32_t mask = 0xFFFF0000u;
    uint32_t gateway = 0x0A000001u;  // 10.0.0.1
    std::string enetAddress = "00:a0:45:1c:2d:3e";
    uint32_t sntpServer = 0x0A000001u;
    int sntpRate = 60;
    int sntpTimeout = 5;
    bool sntpActive = false;
    int sntpError = 0;
    // Queries that fail (each returns non-zero while set).
    bool failAddr = false, failMask = false, failGateway = false, failEnet = false, failSntpAddr = false;
};
Interface state();
void setState(const Interface& s);
// The setter and start/stop calls made so far, as "VKIPSet 192.168.1.10"
// lines; taking empties the list.
std::vector<std::string> takeCalls();
// Back to the defaults above.
void reset();
std::string dotted(uint32_t address);

}  // namespace hostnet
