#include "service/TwTcp.h"

#include <cstring>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/sched.h"
#include "service/Tallwire.h"
#include "service/TallwireSupport.h"
#include "service/TwDataTypeIO.h"

TwTcpPort TWTcpPorts[TW_TCP_PORTS] = {
    {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};
TwTcpBuffers TheTcpBuffers;
TwTcpBuffers* pTcpBuffers = &TheTcpBuffers;
TwTcpPort* pCurTWTcpPort = nullptr;
int listenerSocket = -1;
int TWRun = 1;

namespace {

int slotIndex = 0;

constexpr int kMaxWriteAttempts = 200;

// Budget of one pass, in microseconds of host time: a slot is
// served again only while the pass has used at most kSlotBudgetUs, and the
// next slot in use is taken only while it has used at most kPassBudgetUs. A pass
// that runs out resumes at the next slot in the following pass.
constexpr uint64_t kSlotBudgetUs = 999;
constexpr uint64_t kPassBudgetUs = 1699;

// The part of a reply the socket did not take. It is written again once per
// pass (10 ms apart), 200 writes in all counting the first, then dropped;
// meanwhile its slot reads no further request, so that a client that does
// not read its replies holds up nobody but itself.
struct HeldReply {
    uint8_t bytes[TW_TCP_REPLY_BUFFER];
    int offset;
    int length;
    int attempts;
};
HeldReply heldReplies[TW_TCP_PORTS];

HeldReply& heldReplyOf(const TwTcpPort* port) { return heldReplies[port - TWTcpPorts]; }

// Bytes waiting on the socket, or -1 when they cannot be counted.
int bytesWaiting(int fd) { return hostio::sockBytesWaiting(fd); }

// True once the peer has closed its side (or the connection failed): no
// more bytes will arrive beyond those already waiting.
bool peerClosed(int fd) { return hostio::sockPeerClosed(fd); }

int readBytes(int fd, uint8_t* dst, int n) {
    int r = hostio::sockRecv(fd, dst, n, nullptr, nullptr);
    return r < 0 ? 0 : r;
}

// One write without waiting: the bytes the socket took, or -1 on a hard
// error (the peer is gone).
int writeOnce(int fd, const uint8_t* data, int len) {
    const int r = hostio::sockSendSome(fd, data, len);
    if (r >= 0) return r;
    return r == hostio::SOCK_ERR ? -1 : 0;
}

// Writes len bytes to the current slot's socket; what it does not take is
// held for the following passes. A hard error drops the reply at once; the
// next read frees the slot.
void writeToCurrent(const uint8_t* data, int len) {
    TwTcpPort* port = pCurTWTcpPort;
    if (port == nullptr || port->inUse == 0 || port->socket < 0) return;
    HeldReply& held = heldReplyOf(port);
    if (held.length > 0) return;  // a slot holding a reply reads no request
    int sent = writeOnce(port->socket, data, len);
    if (sent < 0 || sent >= len) return;
    std::memcpy(held.bytes, data + sent, static_cast<size_t>(len - sent));
    held.offset = 0;
    held.length = len - sent;
    held.attempts = 1;
}

// Writes once more what the slot holds of a reply. True when it holds
// nothing afterwards.
bool writeHeldReply(TwTcpPort* port) {
    HeldReply& held = heldReplyOf(port);
    if (held.length == 0) return true;
    int sent = writeOnce(port->socket, held.bytes + held.offset, held.length);
    ++held.attempts;
    if (sent > 0) {
        held.offset += sent;
        held.length -= sent;
    }
    if (sent < 0 || held.attempts >= kMaxWriteAttempts) held.length = 0;
    return held.length == 0;
}

void clearFrameState() {
    pCurTWTcpPort->pendingLength = 0;
    pTcpBuffers->receivedLength = 0;
    pTcpBuffers->replyLength = 0;
}

void tcpReplyChannelError(uint8_t code) {
    pCurTWTcpPort->lastChannelError = code;
    uint8_t frame[3] = {static_cast<uint8_t>(code | pCurTWTcpPort->frameType), 0, 0};
    writeToCurrent(frame, 3);
}

void tcpInsertReplyHeader(uint8_t type) {
    uint16_t payload = static_cast<uint16_t>(pTcpBuffers->replyLength - TW_TCP_HEADER);
    pTcpBuffers->reply[0] = type;
    pTcpBuffers->reply[1] = static_cast<uint8_t>(payload >> 8);
    pTcpBuffers->reply[2] = static_cast<uint8_t>(payload);
}

void TWtcpWrite() {
    writeToCurrent(pTcpBuffers->reply, pTcpBuffers->replyLength);
}

void tcpReplyToConnectRequest() {
    Connect();
    pCurTWTcpPort->connected = 1;
    TwInsertUint16(TW_TCP_MAX_REQUEST);
    TwInsertUint16(TW_TCP_REPLY_BUFFER);
    tcpInsertReplyHeader(0);
    TWtcpWrite();
}

// Reads the header of the next frame into the current slot. Returns false
// when no header is held afterwards.
bool tcpGetHeader() {
    TwTcpPort* port = pCurTWTcpPort;
    if (port->pendingLength != 0) return true;
    int waiting = bytesWaiting(port->socket);
    if (waiting < TW_TCP_HEADER) {
        if (waiting >= 0 && peerClosed(port->socket)) FreeCurTcpSocket();
        return false;
    }
    uint8_t header[3];
    if (readBytes(port->socket, header, 3) != 3) return false;
    port->frameType = header[0];
    uint16_t length = static_cast<uint16_t>((header[1] << 8) | header[2]);
    if (port->frameType > 1) {
        tcpReplyChannelError(TW_CHERR_BAD_TYPE);
        clearFrameState();
        return false;
    }
    if (length == 0 || length > TW_TCP_MAX_REQUEST) {
        tcpReplyChannelError(TW_CHERR_BAD_LENGTH);
        clearFrameState();
        return false;
    }
    port->pendingLength = length;
    return true;
}

// Reads one frame of the current slot; returns the payload length of a
// data request ready for dispatch, else 0.
uint16_t TWtcpRead() {
    TwTcpPort* port = pCurTWTcpPort;
    if (!tcpGetHeader()) return 0;
    int waiting = bytesWaiting(port->socket);
    if (waiting < 0) {
        tcpReplyChannelError(static_cast<uint8_t>(waiting & 0xFF));
        FreeCurTcpSocket();
        return 0;
    }
    uint16_t length = port->pendingLength;
    if (waiting < length) {
        // The rest of the payload is awaited, unless the peer has gone.
        if (peerClosed(port->socket)) FreeCurTcpSocket();
        return 0;
    }
    int got = readBytes(port->socket, pTcpBuffers->request, length);
    if (got < length) got += readBytes(port->socket, pTcpBuffers->request + got, length - got);
    if (got < length) {
        tcpReplyChannelError(TW_CHERR_SHORT);
        clearFrameState();
        return 0;
    }
    port->pendingLength = 0;
    pTcpBuffers->receivedLength = length;
    pTcpBuffers->replyLength = TW_TCP_HEADER;
    if (port->frameType == 0) {
        if (port->connected) tcpReplyChannelError(TW_CHERR_STATE);
        else tcpReplyToConnectRequest();
        return 0;
    }
    if (!port->connected) {
        tcpReplyChannelError(TW_CHERR_STATE);
        return 0;
    }
    pTcpBuffers->extractIndex = 0;
    port->lastActivityMs = tcpNowMs();
    return length;
}

}  // namespace

uint32_t tcpNowMs() { return 5u * sysclock_ticks; }

uint16_t tcpListenPort() { return hostio::hostPort(TW_TCP_PORT); }

uint8_t tcpTwExtract() {
    // Past the received bytes a request reads as zeros.
    if (pTcpBuffers->extractIndex >= pTcpBuffers->receivedLength) return 0;
    return pTcpBuffers->request[pTcpBuffers->extractIndex++];
}

void tcpTwInsert(uint8_t b) {
    // Bytes beyond the reply buffer are dropped.
    if (pTcpBuffers->replyLength >= TW_TCP_REPLY_BUFFER) return;
    pTcpBuffers->reply[pTcpBuffers->replyLength++] = b;
}

bool tcpInsertWillOverflow(uint16_t n) { return pTcpBuffers->replyLength + n > TW_TCP_REPLY_BUFFER; }

bool tcpDataAvailable(uint16_t n) { return pTcpBuffers->extractIndex + n <= pTcpBuffers->receivedLength; }

bool tcpCanTwExtractString(uint16_t n) {
    for (uint32_t i = pTcpBuffers->extractIndex, k = 0; i < pTcpBuffers->receivedLength && k < n; ++i, ++k)
        if (pTcpBuffers->request[i] == 0) return true;
    return false;
}

uint16_t tcpCurrentPortRef() {
    return pCurTWTcpPort == nullptr ? 0 : static_cast<uint16_t>(pCurTWTcpPort->socket + 4096);
}

bool tcpPortRefInUse(uint16_t ref) {
    for (const TwTcpPort& p : TWTcpPorts)
        if (p.inUse && static_cast<uint16_t>(p.socket + 4096) == ref) return true;
    return false;
}

uint16_t tcpOutputBufferSpace() { return TW_TCP_REPLY_BUFFER - TW_TCP_HEADER; }

uint16_t tcpMaxDataPacketBytes(uint32_t handle) {
    const TwapiDescriptor* d = TwapiDescriptorPtr;
    if (d == nullptr || d->GetDataPacketBytes == nullptr) return 0;
    return static_cast<uint16_t>(d->GetDataPacketBytes(handle));
}

void TcpSetTokenForAll(uint8_t state) {
    for (TwTcpPort& p : TWTcpPorts)
        if (p.inUse) p.tokenState = state;
}

int TcpChangeExcluded() {
    for (const TwTcpPort& p : TWTcpPorts)
        if (p.inUse && p.tokenState == TOKEN_HOLDER) return 1;
    return 0;
}

void tcpInstallOperations() {
    static constexpr TwTransportOps ops{tcpTwExtract,    tcpTwInsert,          tcpInsertWillOverflow,
                                        tcpDataAvailable, tcpCanTwExtractString, tcpCurrentPortRef,
                                        tcpPortRefInUse,  tcpOutputBufferSpace, tcpMaxDataPacketBytes};
    TwInstallOperations(ops);
    pTcpSetTokenForAll = TcpSetTokenForAll;
    pTcpChangeExcluded = TcpChangeExcluded;
}

bool CurTcpPortExpired() {
    const TwTcpPort* p = pCurTWTcpPort;
    // Modular difference: the millisecond count wraps.
    return p != nullptr && p->inUse && tcpNowMs() - p->lastActivityMs > TW_TCP_IDLE_LIMIT_MS;
}

void tcpTwSlave() {
    if (_TW_SLAVEpid == 0 || pTcpBuffers == nullptr) return;
    tcpInstallOperations();
    const uint64_t passStart = hk::hostNowNs();
    auto usedUs = [passStart] { return (hk::hostNowNs() - passStart) / 1000; };
    if (slotIndex > TW_TCP_PORTS - 1) slotIndex = 0;
    // The budget is looked at only before a slot in use: empty slots cost
    // no clock read, and the pass still resumes at the slot it stopped at.
    for (; slotIndex < TW_TCP_PORTS; ++slotIndex) {
        TwTcpPort* port = &TWTcpPorts[slotIndex];
        if (!port->inUse) continue;
        if (usedUs() > kPassBudgetUs) break;
        pCurTWTcpPort = port;
        if (!writeHeldReply(port)) continue;
        while (port->inUse) {
            if (TWtcpRead() == 0) {
                if (CurTcpPortExpired()) FreeCurTcpSocket();
                break;
            }
            ProcessRequest();
            tcpInsertReplyHeader(1);
            TWtcpWrite();
            // A scheduling point per request: a queue of requests never holds
            // the CPU from a more urgent task.
            hk::checkpoint();
            if (heldReplyOf(port).length > 0 || usedUs() > kSlotBudgetUs) break;
        }
    }
    pCurTWTcpPort = nullptr;
}

void ShutdownSocket(int fd) { hostio::sockAbort(fd); }

namespace {

// A slot freed: no session state is left for the next one to find.
void releaseSlot(TwTcpPort& p) {
    ShutdownSocket(p.socket);
    heldReplyOf(&p).length = 0;
    p.connected = 0;
    p.securityLevel = 0;
    p.pendingLength = 0;
    p.lastChannelError = 0;
    p.tokenState = 0;
    p.socket = -1;
    p.inUse = 0;
}

}  // namespace

int AddSocketToPortList(int fd, uint32_t peerAddress) {
    for (TwTcpPort& p : TWTcpPorts) {
        if (p.inUse) continue;
        p.lastActivityMs = tcpNowMs();
        p.socket = fd;
        p.peerAddress = peerAddress;
        p.tokenState = ChangeExcluded() ? TOKEN_EXCLUDED : TOKEN_ALLOWED;
        p.inUse = 1;
        return 1;
    }
    return 0;
}

void FreeCurTcpSocket() {
    TwTcpPort* p = pCurTWTcpPort;
    if (p == nullptr || !p->inUse) return;
    const bool holder = p->tokenState == TOKEN_HOLDER;
    releaseSlot(*p);
    if (holder) AllowChangeForAll(1);
}

uint32_t runTcpListener() {
    int fd = hostio::tcpListen(TW_TCP_PORT, 8, nullptr);
    if (fd < 0) return 0x80000000u;
    listenerSocket = fd;
    // A server opened again after a close serves again.
    TWRun = 1;
    for (;;) {
        if (TWRun == 0 || listenerSocket < 0) {
            VKOS_SleepMillisec(10);
            continue;
        }
        // Wait for a connection without holding the CPU; look at TWRun again
        // at least every 50 ms.
        int ready = hostio::sockWaitReadable(listenerSocket, 10);
        if (ready < 0) return 0;
        if (ready == 0 || TWRun == 0 || listenerSocket < 0) continue;
        uint32_t peer = 0;
        int client = hostio::tcpAccept(listenerSocket, &peer);
        if (client < 0) continue;
        if (!AddSocketToPortList(client, peer)) ShutdownSocket(client);
    }
}

void CloseAllSockets() {
    TWRun = 0;
    if (listenerSocket >= 0) VKOS_CloseSocket(listenerSocket);
    listenerSocket = -1;
    for (TwTcpPort& p : TWTcpPorts)
        if (p.inUse) releaseSlot(p);
}
