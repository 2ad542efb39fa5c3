// The NV condition log: the condition-monitoring values of the block
// COND_MON.NV_MEM_LOG kept across restarts in the file "<application>.nlg",
// rewritten whole on each capture.
#pragma once

#include <cstdint>

#include "runtime/appmem.h"

constexpr int32_t kNVlogValues = 2001;  // indexes 0 .. 2000
constexpr int kNvMemLogValues = 11;

extern float _NVlogBuffer[kNVlogValues];
extern int32_t _NVnumWrites;
extern int32_t ExistingNVFile;
extern const char* const NV_BIN_HEADER;

// The block's cells that the variable directory does not name: the values
// of a capture waiting to be written, the request and the last write's result.
struct NvMemLogHandOver {
    float LOG_VAL[kNvMemLogValues];
    uint32_t LOG_REQ;
    uint32_t LOG_OK;
};
extern BlockRam<NvMemLogHandOver> COND_MON_NV_MEM_LOG_st;

// Stores value at index; with commit != 0 writes values 0 .. index to the
// file. 1 when the new file is in place, else 0 (also for an index outside
// 0 .. 2000, which stores nothing).
int32_t EElog(int32_t index, int32_t commit, float value);
// Reads the file into the buffer; value index, or for -1 the write counter.
// 0.0 when the file is missing, for an index above the file's last value
// and for a file whose count does not fit the buffer.
float EEget(int32_t index);
// Reads the file into the buffer: the number of values, -1 when the file is
// missing, a read fails or its count does not fit the buffer.
int32_t NVLogReadTable();
// Task "COND_MON_NV_MEM_LOG_10465".
void COND_MON_NV_MEM_LOG_10465(long arg);

const char* nv_file_name();
const char* nv_temp_name();
// Back to the load-time state (tests).
void nvlog_reset();
