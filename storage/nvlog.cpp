#include "storage/nvlog.h"

#include <cstdio>
#include <cstring>

#include "app/interface/COND_MON.cells.h"
#include "host/hostfs.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appmain.h"
#include "storage/eefile.h"

float _NVlogBuffer[kNVlogValues];
int32_t _NVnumWrites = 0;
int32_t ExistingNVFile = 0;
const char* const NV_BIN_HEADER = "NVLog Variables Save File (Binary Format)";
BlockRam<NvMemLogHandOver> COND_MON_NV_MEM_LOG_st;

namespace {

constexpr int kEventWrite = 6;
// Values read or written between two scheduling points.
constexpr int32_t kValuesPerPause = 250;

char fileName[64];
char tempName[72];
// The last problem reported by a read: the task reads the file twelve
// times at start-up, and one problem is reported once, until a read
// succeeds.
char lastReadProblem[160];

// Reports a reading problem (console line and event) unless it was the last
// one reported.
void readProblem(const char* console, const char* event) {
    if (std::strcmp(console, lastReadProblem) == 0) return;
    std::snprintf(lastReadProblem, sizeof lastReadProblem, "%s", console);
    std::printf("%s\n", console);
    SendAppEvent(kEventWrite, event);
}
void readProblem(const char* text) { readProblem(text, text); }

bool writeWord(int fd, uint32_t v) {
    uint8_t b[4];
    storage_put_be32(b, v);
    return VKOS_WriteFile(fd, b, 4) == 1;
}

bool readWord(int fd, uint32_t* v) {
    uint8_t b[4];
    if (VKOS_ReadFile(fd, b, 4) != 1) return false;
    *v = storage_get_be32(b);
    return true;
}

uint32_t bitsOf(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return v;
}

int failWrite(int fd) {
    VKOS_CloseFile(fd);
    VKOS_DeleteFile(nv_temp_name());
    return 0;
}

void pauseAt(int32_t k) {
    if (k > 0 && k % kValuesPerPause == 0) VKOS_SleepMillisec(5);
}

struct NvRead {
    bool found;
    bool failed;    // a read failed or the count was refused
    int32_t n;      // index of the last value read into the buffer (-1: none)
    int32_t count;  // the write counter of the file
};

// Reads the file into the buffer. A count beyond the buffer is refused:
// no value is read.
NvRead readFile() {
    NvRead r{false, false, -1, 0};
    char text[160];
    const char* why = "";
    const int fd = storage_open_read(nv_file_name(), &why);
    ExistingNVFile = fd > 0 ? 1 : 0;
    if (fd < 0) {
        std::snprintf(text, sizeof text, "Error in ReadNVLogTable(cannot read %s: %s)", nv_file_name(), why);
        readProblem(text);
    }
    if (fd <= 0) return r;
    r.found = true;
    char line[kEeLineBytes];
    // Two heading lines, each ended within the bound; else the file is no
    // NV log and none of its bytes count.
    if (hGetLine(fd, line, sizeof line) == 2 || hGetLine(fd, line, sizeof line) == 2) {
        readProblem("Error in ReadNVLogTable(heading)");
        VKOS_CloseFile(fd);
        r.failed = true;
        return r;
    }
    uint32_t n = 0, count = 0;
    if (!readWord(fd, &n)) {
        readProblem("Error in ReadNVLogTable(num_values)");
        r.failed = true;
        n = 0xFFFFFFFFu;
    }
    if (readWord(fd, &count)) {
        r.count = static_cast<int32_t>(count);
    } else {
        readProblem("Error in ReadNVLogTable(count)");
        r.failed = true;
    }
    const int32_t last = static_cast<int32_t>(n);
    if (last >= kNVlogValues) {
        std::snprintf(text, sizeof text, "Error in ReadNVLogTable(num_values %d above %d)", last, kNVlogValues - 1);
        readProblem(text);
        r.failed = true;
    } else if (last < 0) {
        r.n = last;
    } else {
        for (int32_t k = 0; k <= last; ++k) {
            pauseAt(k);
            uint32_t v;
            if (!readWord(fd, &v)) {
                std::snprintf(text, sizeof text, "Error in ReadNVLogTable(value%d)", k);
                readProblem(text, "Error in ReadNVLogTable(value)");
                r.failed = true;
                break;
            }
            std::memcpy(&_NVlogBuffer[k], &v, 4);
        }
        r.n = last;
    }
    VKOS_CloseFile(fd);
    if (!r.failed) lastReadProblem[0] = '\0';
    return r;
}

// A stored counter as COUNT takes it: truncated toward zero, and 0x80000000
// for a value that is not a number or does not fit.
int32_t toCount(float f) {
    if (!(f >= -2147483648.0f && f < 2147483648.0f)) return INT32_MIN;
    return static_cast<int32_t>(f);
}

}  // namespace

const char* nv_file_name() {
    if (fileName[0] == '\0') std::snprintf(fileName, sizeof fileName, "%s.nlg", uvAppName);
    return fileName;
}

const char* nv_temp_name() {
    if (tempName[0] == '\0') std::snprintf(tempName, sizeof tempName, "%s.tmp", nv_file_name());
    return tempName;
}

int32_t EElog(int32_t index, int32_t commit, float value) {
    if (index < 0 || index >= kNVlogValues) return 0;
    _NVlogBuffer[index] = value;
    if (commit == 0) return 0;
    const int fd = VKOS_CreateFileWrite(nv_temp_name());
    if (fd == 0) {
        storage_report(kEventWrite, "Error opening NVlog FileName %s", nv_temp_name());
        return 0;
    }
    ++_NVnumWrites;
    char line1[kEeLineBytes];
    char line2[kEeLineBytes];
    const int n1 = std::snprintf(line1, sizeof line1, "%s\n", NV_BIN_HEADER);
    const uint32_t n2 = static_cast<uint32_t>(storage_app_line(line2, sizeof line2, "\n"));
    const uint32_t bytes = static_cast<uint32_t>(n1) + n2 + 12 + 4 * static_cast<uint32_t>(index) + 256;
    if (VKDriveSpaceAvailable(bytes) != 0) {
        SendAppEvent(kEventWrite, "Insufficient memory space for NVLog file");
        return failWrite(fd);
    }
    if (VKOS_WriteFile(fd, line1, static_cast<uint32_t>(n1)) != 1 || VKOS_WriteFile(fd, line2, n2) != 1) {
        storage_report(kEventWrite, "Error in WriteEETable Heading");
        return failWrite(fd);
    }
    if (!writeWord(fd, static_cast<uint32_t>(index))) {
        storage_report(kEventWrite, "Error in WriteNVlogTable(num_vars)");
        return failWrite(fd);
    }
    if (!writeWord(fd, static_cast<uint32_t>(_NVnumWrites))) {
        storage_report(kEventWrite, "Error in WriteNVlogTable(Count)");
        return failWrite(fd);
    }
    for (int32_t k = 0; k <= index; ++k) {
        pauseAt(k);
        if (!writeWord(fd, bitsOf(_NVlogBuffer[k]))) {
            storage_report(kEventWrite, "Error in WriteEETable(REAL)");
            return failWrite(fd);
        }
    }
    if (VKOS_CloseFile(fd) != 1) {
        storage_report(kEventWrite, "Error flushing file %s", nv_temp_name());
        VKOS_DeleteFile(nv_temp_name());
        return 0;
    }
    // Renamed over the old file in one step: until then the old file stays.
    ExistingNVFile = VKOS_RenameFile(nv_temp_name(), nv_file_name()) == 1 ? 1 : 0;
    if (ExistingNVFile == 0) {
        storage_report(kEventWrite, "Error renaming NVlog file %s", nv_temp_name());
        VKOS_DeleteFile(nv_temp_name());
    }
    return ExistingNVFile;
}

float EEget(int32_t index) {
    if (index < -1 || index >= kNVlogValues) return 0.0f;
    const NvRead r = readFile();
    if (!r.found) return 0.0f;
    if (index == -1) {
        _NVnumWrites = r.count;
        return static_cast<float>(r.count);
    }
    if (index > r.n) return 0.0f;
    return _NVlogBuffer[index];
}

int32_t NVLogReadTable() {
    const NvRead r = readFile();
    if (!r.found || r.failed) return -1;
    return r.n + 1;
}

void COND_MON_NV_MEM_LOG_10465(long) {
    if (app_inited == 0) return;
    VKOS_WaitSemaphore(app_inited, -1);
    auto& M = cells::COND_MON;
    float* const outs[kNvMemLogValues] = {
        &static_cast<float&>(M.NV_MEM_LOG_OUT_1), &static_cast<float&>(M.NV_MEM_LOG_OUT_2),
        &static_cast<float&>(M.NV_MEM_LOG_OUT_3), &static_cast<float&>(M.NV_MEM_LOG_OUT_4),
        &static_cast<float&>(M.NV_MEM_LOG_OUT_5), &static_cast<float&>(M.NV_MEM_LOG_OUT_6),
        &static_cast<float&>(M.NV_MEM_LOG_OUT_7), &static_cast<float&>(M.NV_MEM_LOG_OUT_8),
        &static_cast<float&>(M.NV_MEM_LOG_OUT_9), &static_cast<float&>(M.NV_MEM_LOG_OUT_10),
        &static_cast<float&>(M.NV_MEM_LOG_OUT_11)};
    for (int k = 0; k < kNvMemLogValues; ++k) *outs[k] = EEget(k);
    M.NV_MEM_LOG_COUNT = toCount(EEget(-1));
    VKOS_SleepSeconds(1);
    NvMemLogHandOver& st = COND_MON_NV_MEM_LOG_st;
    for (;;) {
        if (ApplicationRunning == 0) {
            VKOS_SleepMillisec(100);
            continue;
        }
        if (st.LOG_REQ == 1) {
            for (int k = 0; k < kNvMemLogValues - 1; ++k) EElog(k, 0, st.LOG_VAL[k]);
            st.LOG_OK = EElog(kNvMemLogValues - 1, 1, st.LOG_VAL[kNvMemLogValues - 1]) == 1 ? 1 : 0;
            M.NV_MEM_LOG_COUNT += 1;
            st.LOG_REQ = 0;
        }
        VKOS_SleepMillisec(250);
    }
}

void nvlog_reset() {
    lastReadProblem[0] = '\0';
    std::memset(_NVlogBuffer, 0, sizeof _NVlogBuffer);
    _NVnumWrites = 0;
    ExistingNVFile = 0;
}
