// The serial device (line "/tyCo/0") and the null operations.
#pragma once

#include <cstdint>

#include "platform/vkiodev.h"

int32_t xttyinit_VxCpu(const DevTabEntry* dev);
int32_t xttyopen_VxCpu(const DevTabEntry* dev);
int32_t xttyclose_VxCpu(const DevTabEntry* dev);
int32_t xttyread_VxCpu(const DevTabEntry* dev, void* buf, int len);
int32_t xttywrite_VxCpu(const DevTabEntry* dev, const void* buf, int len);
int32_t xttygetc_VxCpu(const DevTabEntry* dev);
int32_t xttyputc_VxCpu(const DevTabEntry* dev, int ch);
int32_t xttycntl_VxCpu(const DevTabEntry* dev, int code, long a, long b);

// Receive hook installed in the tty driver: called at interrupt level per
// received character with the device's SerialDvram; non-zero discards it.
int tyIRdHookFunction(void* rec, int ch);

// The silent interval (microseconds) of the record's line settings.
uint32_t ttySilentInterval(const SerialDvram* rec);
