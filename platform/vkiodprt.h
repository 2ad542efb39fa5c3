// The program's own printf-like formatting engine: output bounded to 256
// bytes, single-precision float conversion, directives for booleans (%B %b
// %K %k) and time values (%t), and over-long numbers fitted into their field
// with '*'. The format is not checked by the compiler (custom directives).
#pragma once

#include <cstdarg>
#include <cstdint>

constexpr int VKIO_PRINT_MAX = 256;  // bytes the engine writes at most
constexpr int VKIO_PRINT_BUF = 257;  // a VKIO_sprintf buffer (output + NUL)

// Formats into out (at most 256 bytes, no NUL); returns the count.
int _xdoprnt(const char* fmt, va_list ap, char* out);
// Formats into buf (257 bytes) and NUL-terminates it; returns the count.
int VKIO_sprintf(char* buf, const char* fmt, ...);
// Formats into a buffer of its own and writes it with VKIO_devWrite; returns the count.
int VKIO_devPrintf(int dev, const char* fmt, ...);

// Digits, most significant first, NUL-terminated.
void _Prt10(uint32_t value, char* buf);
void _Prt8(uint32_t value, char* buf);
void _Prt16(uint32_t value, char* buf, int caseMask);  // caseMask 0 upper, 0x20 lower

// Float converters (single precision); return the text length.
int _realtoascfix(char* buf, int precision, float value);
int _realtoascsci(char* buf, int precision, char expLetter, float value);
// Date and time text of a time value; returns the length.
int _timertoascii(char* buf, uint32_t seconds, uint32_t micro, int precision, char pad);
// H:MM:SS with an optional fraction of ticks; returns the length.
int _timertoascii_old(char* buf, uint32_t ticks, uint32_t ticksPerSecond, int precision);

