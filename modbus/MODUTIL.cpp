// Modbus slave: check sums, hexadecimal conversion, table packing and the
// byte-level parts of the RTU, ASCII and Modbus/TCP framings.
#include "modbus/MODUTIL.h"

#include <cstring>

#include "modbus/ModbusSupport.h"

namespace {

constexpr std::array<uint16_t, 256> makeCrcTable() {
    std::array<uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t c = static_cast<uint16_t>(i);
        for (int k = 0; k < 8; ++k) c = (c & 1) ? static_cast<uint16_t>((c >> 1) ^ 0xA001) : static_cast<uint16_t>(c >> 1);
        t[i] = c;
    }
    return t;
}

}  // namespace

constinit const std::array<uint16_t, 256> crctab = makeCrcTable();

uint16_t MOD_Crc(const uint8_t* p, int n, uint16_t crc) {
    for (int k = 0; k < n; ++k) crc = static_cast<uint16_t>(crctab[(crc ^ p[k]) & 0xFF] ^ (crc >> 8));
    return crc;
}

int VKSetModStatusValue(int n, ModbusMsgBuf* buf) {
    switch (static_cast<uint32_t>(n)) {
    case MOD_DEV_OTHER_CPU: buf->status = MOD_ST_OTHER_CPU; return -1;
    case MOD_DEV_ERROR: buf->status = MOD_ST_DEVICE; return -1;
    case MOD_DEV_TIMEOUT: buf->status = MOD_ST_TIMEOUT; return -1;
    default: return n;
    }
}

void btoh(uint8_t* out, uint8_t* sum, uint8_t byte) {
    static const char digits[] = "0123456789ABCDEF";
    out[0] = static_cast<uint8_t>(digits[byte >> 4]);
    out[1] = static_cast<uint8_t>(digits[byte & 0x0F]);
    *sum = static_cast<uint8_t>(*sum + byte);
}

// Characters below ':' count as digits; anything else is taken as a letter of
// either case. Characters that are no hexadecimal digit give a wrong value,
// which the LRC then rejects.
static unsigned hexValue(uint8_t c) {
    return c < ':' ? static_cast<unsigned>(c - '0') : static_cast<unsigned>((c & ~0x20u) - 55u);
}

uint8_t htob(const uint8_t* in, uint8_t* sum) {
    uint8_t b = static_cast<uint8_t>(16u * hexValue(in[0]) + hexValue(in[1]));
    *sum = static_cast<uint8_t>(*sum + b);
    return b;
}

namespace {

// Packs up to 8 elements equal to 1 into one byte, bit 0 first.
template <typename T>
int packElements(const T* elements, int count) {
    int b = 0;
    for (int k = 0; k < count && k < 8; ++k)
        if (elements[k] == 1) b |= 1 << k;
    return b;
}

template <typename T>
int fetchBits(const T* first, int q, uint8_t* out, int remaining) {
    if (q <= 0) return 0;
    int bytes = (q - 1) / 8 + 1;
    for (int k = 0; k < bytes; ++k) {
        int left = remaining - 8 * k;
        out[k] = left > 0 ? static_cast<uint8_t>(packElements(first + 8 * k, left < 8 ? left : 8)) : 0;
    }
    return bytes;
}

}  // namespace

int fetchdig(const uint32_t* first, int q, uint8_t* out, int remaining) { return fetchBits(first, q, out, remaining); }

int fetchdig_short(const int16_t* first, int q, uint8_t* out, int remaining) {
    return fetchBits(first, q, out, remaining);
}

int fetchreg(const int16_t* first, int q, uint8_t* out, int remaining) {
    if (q <= 0) return 0;
    for (int k = 0; k < q; ++k) {
        uint16_t v = k < remaining ? static_cast<uint16_t>(first[k]) : 0;
        out[2 * k] = static_cast<uint8_t>(v >> 8);
        out[2 * k + 1] = static_cast<uint8_t>(v);
    }
    return 2 * q;
}

int packbits(const uint32_t* elements, int count) { return packElements(elements, count); }

int packbits_short(const int16_t* elements, int count) { return packElements(elements, count); }

void storedig(uint32_t* first, int q, const uint8_t* data, int instance, int firstIndex, int force) {
    for (int k = 0; k < q; ++k) {
        int bit = (data[k / 8] >> (k % 8)) & 1;
        if (bit == 1 && (first[k] != 1 || force == 1)) {
            if (MOD_SendSysMessage_S6_CMD(instance, 0x50001, firstIndex + k)) first[k] = 1;
        } else if (bit == 0 && (first[k] != 0 || force == 1)) {
            if (MOD_SendSysMessage_S6_CMD(instance, 0x50000, firstIndex + k)) first[k] = 0;
        }
    }
}

void storereg(int16_t* first, int q, const uint8_t* data, int instance, int firstIndex, int force) {
    for (int k = 0; k < q; ++k) {
        uint16_t v = static_cast<uint16_t>(data[2 * k] << 8 | data[2 * k + 1]);
        if (static_cast<uint16_t>(first[k]) != v || force == 1) {
            if (MOD_SendSysMessage_S6_CMD(instance, 0x60000 + v, firstIndex + k)) first[k] = static_cast<int16_t>(v);
        }
    }
}

int modqput(ModQueue* q, int delay, int id) {
    if ((q->wr + 1) % 16 == q->rd) return -1;
    for (int k = q->rd; k != q->wr; k = (k + 1) % 16) delay -= q->delay[k];
    q->delay[q->wr] = delay;
    q->id[q->wr] = id;
    q->wr = (q->wr + 1) % 16;
    return 1;
}

int modqon(const ModQueue* q, int id) {
    for (int k = q->rd; k != q->wr; k = (k + 1) % 16)
        if (q->id[k] == id) return 1;
    return 0;
}

int modqrmv(ModQueue* q) {
    if (q->rd == q->wr) return -1;
    q->rd = (q->rd + 1) % 16;
    return 1;
}

void MOD_RtuCheck(ModbusMsgBuf* buf, int n) {
    if (n <= 0) {
        buf->status = MOD_ST_NOTHING;
        return;
    }
    if (n <= 4) {
        buf->status = MOD_ST_SHORT;
        return;
    }
    buf->length = n - 2;
    buf->status = MOD_Crc(buf->data, n) == 0 ? MOD_ST_GOOD : MOD_ST_CHECKSUM;
}

void MOD_AscDecode(const uint8_t* line, int n, ModbusMsgBuf* buf) {
    if (n <= 0) {
        buf->status = MOD_ST_NOTHING;
        return;
    }
    int start = 0;
    while (start < n && line[start] != ':') ++start;
    int r = start < n ? n - start - 1 : -1;
    if (r <= 5) {
        buf->status = MOD_ST_SHORT;
        return;
    }
    const uint8_t* p = line + start + 1;
    int count = (r - 3) / 2;
    uint8_t sum = 0;
    for (int k = 0; k < count; ++k) buf->data[k] = htob(p + 2 * k, &sum);
    htob(p + 2 * count, &sum);
    buf->length = count;
    buf->status = sum == 0 ? MOD_ST_GOOD : MOD_ST_CHECKSUM;
}

int MOD_MbapWanted(const uint8_t* frame, int n) {
    if (n < 6) return 6 - n;
    int len = frame[4] << 8 | frame[5];
    if (frame[2] != 0 || frame[3] != 0 || len < 2 || len > kModMaxAdu) return -1;
    return n > 6 + len ? -1 : 6 + len - n;
}

int MOD_MbapFrameLength(const uint8_t* frame, int n) {
    if (n < 6 || MOD_MbapWanted(frame, n) != 0) return -1;
    return n - 6;
}

void MOD_MbapTake(const uint8_t* frame, int n, ModbusMsgBuf* buf) {
    std::memcpy(buf->mbap, frame, 6);
    std::memcpy(buf->data, frame + 6, static_cast<size_t>(n - 6));
    buf->length = n - 6;
    buf->status = MOD_ST_GOOD;
}

int MOD_RtuFrame(const ModbusMsgBuf* buf, uint8_t* out) {
    int len = buf->length;
    if (len > kModMaxAdu) len = kModMaxAdu;
    if (len <= 0) {
        out[0] = 0xFF;
        out[1] = 0xFF;
        return 2;
    }
    std::memcpy(out, buf->data, static_cast<size_t>(len));
    uint16_t crc = MOD_Crc(buf->data, len);
    out[len] = static_cast<uint8_t>(crc);
    out[len + 1] = static_cast<uint8_t>(crc >> 8);
    return len + 2;
}

int MOD_AscFrame(const ModbusMsgBuf* buf, uint8_t* out) {
    int len = buf->length;
    if (len > kModMaxAdu) len = kModMaxAdu;
    if (len < 0) len = 0;
    uint8_t sum = 0;
    out[0] = ':';
    for (int k = 0; k < len; ++k) btoh(out + 1 + 2 * k, &sum, buf->data[k]);
    uint8_t dummy = 0;
    btoh(out + 1 + 2 * len, &dummy, static_cast<uint8_t>(-sum));
    out[2 * len + 3] = '\n';
    return 2 * len + 4;
}

int MOD_MbapFrame(const ModbusMsgBuf* buf, uint8_t* out) {
    int len = buf->length;
    if (len > kModMaxAdu) len = kModMaxAdu;
    if (len < 0) len = 0;
    std::memcpy(out, buf->mbap, 5);
    out[5] = static_cast<uint8_t>(len);
    std::memcpy(out + 6, buf->data, static_cast<size_t>(len));
    return len + 6;
}
