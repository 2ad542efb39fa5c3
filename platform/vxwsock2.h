// Socket devices: the TCP rows ('f' connection handed over by the Modbus/TCP
// acceptor, 'q' the acceptor's listening port) and the UDP rows ('c').
#pragma once

#include <cstdint>

#include "platform/vkiodev.h"

// TCP family
int32_t vxtcpinit_WSock(const DevTabEntry* dev);
int32_t vxtcpopen_WSock(const DevTabEntry* dev);
int32_t vxtcpclose_WSock(const DevTabEntry* dev);
int32_t vxtcpread_WSock(const DevTabEntry* dev, void* buf, int len);
int32_t vxtcpwrite_WSock(const DevTabEntry* dev, const void* buf, int len);
int32_t vxtcpgetc_WSock(const DevTabEntry* dev);
int32_t vxtcpputc_WSock(const DevTabEntry* dev, int ch);
int32_t vxtcprecv_WSock(const DevTabEntry* dev, void* buf, int len, int flags, VKSockAddr* from, int* fromLen);
int32_t vxtcpsend_WSock(const DevTabEntry* dev, const void* buf, int len, int flags, const VKSockAddr* to,
                        int toLen);
int32_t vxtcpcntl_WSock(const DevTabEntry* dev, int code, long a, long b);
int32_t vxtcpKill_WSock(const DevTabEntry* dev);
int32_t vxtcpupdate_WSock(const DevTabEntry* dev);
int32_t QLMvxtcprecv_WSock(const DevTabEntry* dev, void* buf, int len, int flags, VKSockAddr* from,
                           int* fromLen);

// UDP family
int32_t vxudpinit_WSock(const DevTabEntry* dev);
int32_t vxudpopen_WSock(const DevTabEntry* dev);
int32_t vxudpclose_WSock(const DevTabEntry* dev);
int32_t vxudpread_WSock(const DevTabEntry* dev, void* buf, int len);
int32_t vxudpwrite_WSock(const DevTabEntry* dev, const void* buf, int len);
int32_t vxudpgetc_WSock(const DevTabEntry* dev);
int32_t vxudpputc_WSock(const DevTabEntry* dev, int ch);
int32_t vxudprecvfrom_WSock(const DevTabEntry* dev, void* buf, int len, int flags, VKSockAddr* from,
                            int* fromLen);
int32_t vxudpsendto_WSock(const DevTabEntry* dev, const void* buf, int len, int flags, const VKSockAddr* to,
                          int toLen);
int32_t vxudpcntl_WSock(const DevTabEntry* dev, int code, long a, long b);
int32_t vxudpKill_WSock(const DevTabEntry* dev);
int32_t xudpupdate_WSock(const DevTabEntry* dev);

// Multicast helpers: socket, group address text, interface number.
int32_t vxMCastAddMembership(int sock, const char* group, int iface);
int32_t vxMCastDropMembership(int sock, const char* group, int iface);
int32_t vxMCastSetIF(int sock, int iface);

// The framing of one Modbus/TCP request (MBAP header of 6 bytes, then
// length bytes, length = the big-endian word in bytes 4-5), separated from
// the socket so that it can be tested and fuzzed on its own.
struct FrameSource {
    // One receive of at most n bytes into p: a count (> 0), 0 when the peer
    // closed, or a negative value when nothing could be received.
    int (*recv)(void* ctx, uint8_t* p, int n);
    // Waits up to one retry round (10 ms) for more data; false when the
    // waiting task was deleted.
    bool (*wait)(void* ctx);
    void* ctx;
};
// Receives one whole frame into buf (capacity cap) within `rounds` failed
// receives. Never receives beyond the frame, so the bytes of a pipelined next
// request stay unread, and never writes past cap. Returns the frame length,
// VKIO_TIMEOUT (budget used up or peer closed) or VKIO_ERROR (a length of 0,
// above 255, or a frame that does not fit the buffer).
int32_t mbapFrameReceive(const FrameSource& src, uint8_t* buf, int cap, uint32_t rounds);
