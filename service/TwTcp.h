// Tallwire over TCP: the listener, eight client slots, frame reading and
// writing, channel errors, idle expiry and the operations the request
// layer uses while a TCP session is served.
#pragma once

#include <cstdint>

constexpr int TW_TCP_PORTS = 8;
constexpr uint16_t TW_TCP_PORT = 666;
constexpr uint16_t TW_TCP_MAX_REQUEST = 1024;
constexpr uint16_t TW_TCP_REPLY_BUFFER = 4096;
constexpr uint16_t TW_TCP_HEADER = 3;
constexpr uint32_t TW_TCP_IDLE_LIMIT_MS = 22000;

// Channel-error codes (OR'd with the received frame type).
constexpr uint8_t TW_CHERR_BAD_TYPE = 0xF0;
constexpr uint8_t TW_CHERR_BAD_LENGTH = 0xD0;
constexpr uint8_t TW_CHERR_SHORT = 0xC0;
constexpr uint8_t TW_CHERR_STATE = 0xE0;

struct TwTcpPort {
    int32_t socket;
    uint32_t lastActivityMs;
    uint32_t peerAddress;  // IPv4, host order (127.0.0.1 is 0x7F000001)
    uint16_t pendingLength;
    uint8_t frameType;
    uint8_t inUse;
    uint8_t connected;
    uint8_t securityLevel;
    uint8_t tokenState;
    uint8_t lastChannelError;
};

struct TwTcpBuffers {
    uint8_t request[TW_TCP_MAX_REQUEST];
    uint8_t reply[TW_TCP_REPLY_BUFFER];
    uint16_t extractIndex;
    uint16_t replyLength;  // header included
    uint16_t receivedLength;
};

extern TwTcpPort TWTcpPorts[TW_TCP_PORTS];
extern TwTcpBuffers TheTcpBuffers;
extern TwTcpBuffers* pTcpBuffers;
extern TwTcpPort* pCurTWTcpPort;
extern int listenerSocket;
extern int TWRun;

// Entry points.
void tcpTwSlave();
uint32_t runTcpListener();
void CloseAllSockets();
void ShutdownSocket(int fd);
int AddSocketToPortList(int fd, uint32_t peerAddress);
void FreeCurTcpSocket();
bool CurTcpPortExpired();

// Operations installed into the request layer's operation set.
uint8_t tcpTwExtract();
void tcpTwInsert(uint8_t b);
bool tcpInsertWillOverflow(uint16_t n);
bool tcpDataAvailable(uint16_t n);
bool tcpCanTwExtractString(uint16_t n);
uint16_t tcpCurrentPortRef();
bool tcpPortRefInUse(uint16_t ref);
uint16_t tcpOutputBufferSpace();
uint16_t tcpMaxDataPacketBytes(uint32_t handle);
void TcpSetTokenForAll(uint8_t state);
int TcpChangeExcluded();
void tcpInstallOperations();

// Milliseconds on the 5 ms clock count, as the idle limit measures them.
uint32_t tcpNowMs();
// The TCP port the listener binds: 666 plus the loader's port offset.
uint16_t tcpListenPort();
