// Modbus slave: check sums, hexadecimal conversion, table packing and the
// pure parts of the three framings (request parsing and reply building).
// Nothing here touches a device, so the parsers can be tested and fuzzed on
// byte buffers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/vkiodev.h"

// Read statuses of a request buffer.
constexpr int32_t MOD_ST_GOOD = 0;
constexpr int32_t MOD_ST_CHECKSUM = 9;     // CRC or LRC wrong
constexpr int32_t MOD_ST_SHORT = 10;       // frame too short or malformed
constexpr int32_t MOD_ST_OTHER_CPU = 14;   // device of another CPU slot, or nothing yet
constexpr int32_t MOD_ST_TIMEOUT = 23;     // time-out or connection lost
constexpr int32_t MOD_ST_DEVICE = 25;      // device error
constexpr int32_t MOD_ST_NOTHING = 1;      // empty read (e.g. ended by a flush): nothing received, no error

// Exception codes.
constexpr int MOD_EXC_FUNCTION = 1;
constexpr int MOD_EXC_ADDRESS = 2;
constexpr int MOD_EXC_VALUE = 3;

constexpr int kModDataSize = 256;    // data area: unit address, function code, data
constexpr int kModMaxAdu = 254;      // longest unit address + PDU any transport carries
constexpr int kModMbapMax = 6 + kModMaxAdu;  // longest Modbus/TCP frame (260 bytes)
constexpr int kModAscLineSize = 252; // ASCII line buffer of the serial reader

// One request and, after the engine ran, its reply.
struct ModbusMsgBuf {
    int32_t status;               // read status
    int32_t length;               // bytes from the unit address on, no CRC, LRC or MBAP header
    VKSockAddr peer;              // sender of a datagram or TCP request, destination of the reply
    uint8_t data[kModDataSize];   // data[0] unit address, data[1] function code, data[2..] the rest
    uint8_t mbap[6];              // MBAP header of the TCP request, put back in front of the reply
};

// Device results that end a read.
constexpr uint32_t MOD_DEV_ERROR = 0x80000000u;
constexpr uint32_t MOD_DEV_TIMEOUT = 0x80000001u;
constexpr uint32_t MOD_DEV_OTHER_CPU = 0x80000002u;

// Maps a device result to a status (14, 25, 23) and returns -1, or returns n
// (a byte count) unchanged.
int VKSetModStatusValue(int n, ModbusMsgBuf* buf);

// Modbus CRC (reflected CRC-16, polynomial 0xA001, start 0xFFFF).
extern const std::array<uint16_t, 256> crctab;
uint16_t MOD_Crc(const uint8_t* p, int n, uint16_t crc = 0xFFFF);

// Hexadecimal pairs with a running 8-bit sum.
void btoh(uint8_t* out, uint8_t* sum, uint8_t byte);
uint8_t htob(const uint8_t* in, uint8_t* sum);

// Table packing.
int fetchdig(const uint32_t* first, int q, uint8_t* out, int remaining);
int fetchdig_short(const int16_t* first, int q, uint8_t* out, int remaining);
int fetchreg(const int16_t* first, int q, uint8_t* out, int remaining);
void storedig(uint32_t* first, int q, const uint8_t* data, int instance, int firstIndex, int force);
void storereg(int16_t* first, int q, const uint8_t* data, int instance, int firstIndex, int force);
int packbits(const uint32_t* elements, int count);
int packbits_short(const int16_t* elements, int count);

// Delay queue of 16 {delay, id} slots (no caller in this system).
struct ModQueue {
    int32_t delay[16];
    int32_t id[16];
    int32_t wr;
    int32_t rd;
};
int modqput(ModQueue* q, int delay, int id);
int modqon(const ModQueue* q, int id);
int modqrmv(ModQueue* q);

// RTU (serial or in UDP): the n bytes received into buf->data are checked and
// turned into a request (status 0 and length), status 9 or status 10.
void MOD_RtuCheck(ModbusMsgBuf* buf, int n);
// ASCII: decodes the line of n characters into buf.
void MOD_AscDecode(const uint8_t* line, int n, ModbusMsgBuf* buf);
// Modbus/TCP: the unit-identifier + PDU length of a complete frame of n bytes,
// or -1 when the frame is not acceptable (protocol identifier not 0, length
// outside 2..254, or n not 6 + length).
int MOD_MbapFrameLength(const uint8_t* frame, int n);
// How many bytes of a Modbus/TCP frame are still wanted after n have arrived
// (0 when complete), or -1 when the header already shows the frame is bad.
int MOD_MbapWanted(const uint8_t* frame, int n);
// Moves a checked frame into buf (header saved, unit id + PDU into the data area).
void MOD_MbapTake(const uint8_t* frame, int n, ModbusMsgBuf* buf);

// Reply framing into out; each returns the frame's byte count.
int MOD_RtuFrame(const ModbusMsgBuf* buf, uint8_t* out);   // out: kModDataSize + 2
int MOD_AscFrame(const ModbusMsgBuf* buf, uint8_t* out);   // out: 2 * kModDataSize + 4
int MOD_MbapFrame(const ModbusMsgBuf* buf, uint8_t* out);  // out: kModDataSize + 6
