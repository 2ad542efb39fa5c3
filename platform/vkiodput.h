// Typed put routines: one value of a given kind written to a device in a
// field of fixed width, built in a stack buffer and written with one
// VKIO_devWrite, whose result they return.
#pragma once

#include <cstdint>

int32_t VKIO_devPuts(int dev, const char* s);
int32_t VKIO_devPut_char(int dev, int ch, int width);
int32_t VKIO_devPut_dig(int dev, int state, int width);
int32_t VKIO_devPut_bool(int dev, int state, int width);
int32_t VKIO_devPut_strn(int dev, const char* s, int width);
int32_t VKIO_devPut_int(int dev, int32_t value, int width);
int32_t VKIO_devPut_real(int dev, int width, int precision, float value);
int32_t VKIO_devPut_wtimer(int dev, uint32_t seconds, uint32_t micro, int width);
int32_t VKIO_devPut_dtimer(int dev, long unused, int length);

// Supporting routines. Each returns the length of what it wrote.
int inttoasc(int32_t value, char* buf, int base);
int sput_lstrn(char* out, const char* text, int length, int width, char pad);
int sput_rstrn(char* out, const char* text, int length, int width, char pad);
int sput_xtimer(char* out, uint32_t seconds, uint32_t micro, int width, uint32_t ticksPerSecond);
int realtoasc(char* buf, int precision, float value);
