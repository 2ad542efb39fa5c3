// Field codec of the request layer: big-endian fields read from the request
// and written to the reply through the transport operation set.
#pragma once

#include <cstdint>

// Text fields are at most this long, NUL included.
constexpr int TW_TEXT_MAX = 128;

uint8_t TwExtractUint8();
uint16_t TwExtractUint16();
uint32_t TwExtractUint32();
void TwInsertUint8(uint8_t b);
void TwInsertUint16(uint16_t v);
void TwInsertUint32(uint32_t v);

// Copies the next text field into dst (TW_TEXT_MAX bytes) up to and
// including its NUL; a longer field is cut and the rest of it skipped, and
// dst always ends in a NUL.
void TwExtractString(char* dst);
// Appends the characters of s while two more bytes fit, then a NUL.
void TwInsertString(const char* s);
