// The pieces of a binary data-log file: the system-information text, the
// header of each variable and the sample columns, all big-endian.
#include <cstdio>
#include <cstring>

#include "app/sys_vars.h"
#include "host/vkboard.h"
#include "platform/vkiodprt.h"
#include "platform/vkosfile.h"
#include "runtime/appinit.h"
#include "storage/datalog.h"

namespace {
uint32_t booleanWordArray[128];
int32_t numBooleanWordsToWrite;

// The label and value pieces of the system-information text, in order.
template <class Sink>
void system_info_pieces(const char* cfgName, int32_t intervalMs, Sink&& put) {
    char target[64] = {};
    VKGetTargetName(target);
    put("Control Name:");
    put(target);
    put("\rDynamic Configuration Name:");
    put(cfgName);
    if (intervalMs >= 0) {
        char ms[VKIO_PRINT_BUF];
        VKIO_sprintf(ms, "%d MS", intervalMs);
        put("\rMIN_INTVL:");
        put(ms);
    }
    put("\rVersion OS:");
    put(OSVersionNumber);
    put("\rRelease Date OS:");
    put(OSReleaseDate);
    put("\rName App:");
    put(sys_text[APP_NAME].s);
    put("\rBuild Date App:");
    put(sys_text[APP_BUILD_DATE].s);
    put("\rCDR Date:");
    put(sys_text[APP_CDR_DATE].s);
    for (int f = 1; f <= 12; ++f) {
        char label[32];
        std::snprintf(label, sizeof label, "\rTIQ File %d:", f);
        put(label);
        put(sys_text[APP_TIQFILE1 + 2 * (f - 1)].s);
        std::snprintf(label, sizeof label, "\rDate TIQ File %d:", f);
        put(label);
        put(sys_text[APP_TIQFILE1 + 2 * (f - 1) + 1].s);
    }
}

int write_bytes(int fd, const void* p, uint32_t n) { return VKOS_WriteFile(fd, p, n) == 1 ? 1 : 0; }

void put_be(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v >> 24);
    at[1] = static_cast<uint8_t>(v >> 16);
    at[2] = static_cast<uint8_t>(v >> 8);
    at[3] = static_cast<uint8_t>(v);
}

// The rows a column walk visits, oldest first, with the newest repeated for
// missing samples; visit(row) for each. Nothing when no row can be visited.
template <class Visit>
void column_walk(int32_t startRow, int32_t rowCount, int32_t samples, uint32_t step, Visit&& visit) {
    const auto s = static_cast<int64_t>(step == 0 ? 1 : step);
    int32_t given = 0;
    int64_t last = -1;
    if (startRow < rowCount)
        for (int64_t r = startRow; r < rowCount && given < samples; r += s, ++given) visit(last = r);
    if (startRow - s >= 0)
        for (int64_t r = 0; r <= startRow - s && given < samples; r += s, ++given) visit(last = r);
    if (last < 0) return;
    for (; given < samples; ++given) visit(last);
}

uint32_t entry(const uint8_t* rows, int32_t wordsPerRow, int32_t column, int64_t row) {
    uint32_t v;
    std::memcpy(&v, rows + (row * wordsPerRow + column) * 4, 4);
    return v;
}
}  // namespace

int WriteU32BE(int fd, uint32_t v) {
    uint8_t b[4];
    put_be(b, v);
    return write_bytes(fd, b, 4);
}

int writeSystemInfoBlob(int fd, const char* cfgName, int32_t intervalMs) {
    system_info_pieces(cfgName, intervalMs,
                       [fd](const char* s) { VKOS_WriteFile(fd, s, static_cast<uint32_t>(std::strlen(s))); });
    VKOS_WriteFile(fd, "\r", 2);  // CR and the terminating NUL
    return 0;
}

int32_t sizeofSystemInfoBlob(const char* cfgName, int32_t intervalMs) {
    int32_t n = 2;
    system_info_pieces(cfgName, intervalMs, [&n](const char* s) { n += static_cast<int32_t>(std::strlen(s)); });
    return n;
}

int WriteCDFVarHeader(int fd, const char* name, const char* description, const char* type, uint32_t w1,
                      uint32_t w2, uint32_t w3) {
    const auto ln = static_cast<uint32_t>(std::strlen(name));
    const auto ld = static_cast<uint32_t>(std::strlen(description));
    const auto lt = static_cast<uint32_t>(std::strlen(type));
    int ok = WriteU32BE(fd, ln + ld + lt + 15);
    ok &= write_bytes(fd, name, ln + 1);
    ok &= write_bytes(fd, description, ld + 1);
    ok &= write_bytes(fd, type, lt + 1);
    ok &= WriteU32BE(fd, w1);
    ok &= WriteU32BE(fd, w2);
    ok &= WriteU32BE(fd, w3);
    return ok;
}

int FinishBooleanWord(int fd, uint32_t* word, uint32_t* bitCount, int32_t flush) {
    int result = 1;
    bool full = false;
    if (*bitCount > 0) {
        booleanWordArray[numBooleanWordsToWrite++] = *word;
        full = numBooleanWordsToWrite == 128;
    }
    if (full || flush == 1) {
        uint8_t bytes[128 * 4];
        for (int32_t k = 0; k < numBooleanWordsToWrite; ++k) put_be(bytes + 4 * k, booleanWordArray[k]);
        // An empty buffer writes no bytes (a write of none succeeds).
        result = write_bytes(fd, bytes, static_cast<uint32_t>(numBooleanWordsToWrite) * 4u);
        numBooleanWordsToWrite = 0;
    }
    *word = 0;
    *bitCount = 0;
    return result;
}

int AddBooleanBit(int fd, uint32_t* word, uint32_t* bitCount, int32_t value) {
    if (value != 0) *word |= 0x80000000u >> *bitCount;
    *bitCount += 1;
    if (*bitCount == 32) return FinishBooleanWord(fd, word, bitCount, 0);
    return 1;
}

int WriteCDFAnalogData(int fd, const uint8_t* rows, int32_t wordsPerRow, int32_t column, int32_t startRow,
                       int32_t rowCount, int32_t samples, uint32_t step) {
    uint8_t buf[128 * 4];
    int held = 0, ok = 1;
    column_walk(startRow, rowCount, samples, step, [&](int64_t r) {
        put_be(buf + 4 * held, entry(rows, wordsPerRow, column, r));
        if (++held == 128) {
            ok &= write_bytes(fd, buf, sizeof buf);
            held = 0;
        }
    });
    if (held > 0) ok &= write_bytes(fd, buf, static_cast<uint32_t>(held) * 4u);
    return ok;
}

int WriteCDFBooleanData(int fd, const uint8_t* rows, int32_t wordsPerRow, int32_t column, int32_t startRow,
                        int32_t rowCount, int32_t samples, uint32_t step) {
    uint32_t word = 0, bits = 0;
    int ok = 1;
    column_walk(startRow, rowCount, samples, step, [&](int64_t r) {
        ok &= AddBooleanBit(fd, &word, &bits, entry(rows, wordsPerRow, column, r) != 0);
    });
    ok &= FinishBooleanWord(fd, &word, &bits, 1);
    return ok;
}
