#include "service/TwDataTypeIO.h"

#include "service/Tallwire.h"

uint8_t TwExtractUint8() { return pTwExtract(); }

uint16_t TwExtractUint16() {
    uint16_t hi = TwExtractUint8();
    uint16_t lo = TwExtractUint8();
    return static_cast<uint16_t>((hi << 8) | lo);
}

uint32_t TwExtractUint32() {
    uint32_t hi = TwExtractUint16();
    uint32_t lo = TwExtractUint16();
    return (hi << 16) | lo;
}

void TwInsertUint8(uint8_t b) { pTwInsert(b); }

void TwInsertUint16(uint16_t v) {
    TwInsertUint8(static_cast<uint8_t>(v >> 8));
    TwInsertUint8(static_cast<uint8_t>(v));
}

void TwInsertUint32(uint32_t v) {
    TwInsertUint16(static_cast<uint16_t>(v >> 16));
    TwInsertUint16(static_cast<uint16_t>(v));
}

void TwExtractString(char* dst) {
    int n = 0;
    while (pDataAvailable(1)) {
        char c = static_cast<char>(TwExtractUint8());
        if (c == '\0') break;
        if (n < TW_TEXT_MAX - 1) dst[n++] = c;
    }
    dst[n] = '\0';
}

void TwInsertString(const char* s) {
    while (*s != '\0' && !pInsertWillOverflow(2)) TwInsertUint8(static_cast<uint8_t>(*s++));
    TwInsertUint8(0);
}
