// The data-log writer task "DATA_LOG_M": starts and stops collecting on the
// application's commands, has the data space configured, and prints the
// rings into a binary log file on the print command or, in continuous mode,
// whenever the sampling side hands over a filled half.
#include <cstdio>
#include <cstring>

#include "app/interface/DATALOG.cells.h"
#include "platform/send_evt.h"
#include "platform/vkiodprt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appinit.h"
#include "runtime/appmain.h"
#include "storage/datalog.h"

using namespace dlog;

namespace {
constexpr const char* kBlockName = "TREND_DLOG";
constexpr char kBanner[40] = "Varnekar Binary Datalog File (MOTOROLA)";
constexpr uint32_t kFormatVersion = 0x3F8CCCCDu;  // 1.1f
constexpr char kHeaderBlockName[19] = "DATALOG_TREND_DLOG";
constexpr int kSetWritable = 44;  // file attribute code: clear read-only

TrendDlogInternal& T = TREND_DLOG_internal;
bool printLatch;

constexpr const char* kHeaderError = "ERROR:  Error writing DATA_LOG_M print header";
constexpr const char* kNothingHandedOver = "ERROR:  No DATA_LOG_M data handed over for a continuous print yet";
// [kind][dynamic]
constexpr const char* kListError[kKinds][2] = {
    {"ERROR:  Error writing DATA_LOG_M statically configured analog values",
     "ERROR:  Error writing DATA_LOG_M dynamically configured analog values"},
    {"ERROR:  Error writing DATA_LOG_M statically configured integer values",
     "ERROR:  Error writing DATA_LOG_M dynamically configured integer values"},
    {"ERROR:  Error writing DATA_LOG_M statically configured boolean values",
     "ERROR:  Error writing DATA_LOG_M dynamically configured boolean values"},
};
constexpr const char* kTypeText[kKinds] = {"A4", "I4", "b"};

bool stop_print() { return cells::DATALOG.STOP_PRT_OR == 1; }

// The rows of one ring to print, oldest first: up to two stretches.
struct Stretch {
    const uint8_t* from;
    const uint8_t* to;
};
struct RowPlan {
    Stretch part[2];
    int32_t samples;
    int64_t rowBytes;
};

RowPlan plan_rows(const ListRefs& l, int k) {
    RowPlan p{};
    const int32_t n = *l.staticCount + *l.dynamicCount;
    p.rowBytes = static_cast<int64_t>(n) * kEntryBytes[k];
    const uint8_t* begin = *l.begin;
    const uint8_t* end = *l.end;
    const uint8_t* middle = *l.middle;
    const uint8_t* cur = *l.cur;
    if (n == 0 || begin == nullptr || end <= begin) return p;
    if (cur < begin || cur > end) cur = begin;
    if (middle < begin || middle > end) middle = begin;
    if (cells::DATALOG.TREND_DLOG_CONTINUING) {
        p.part[0] = ContinuousDatalogPrintSection == 2 ? Stretch{middle, end} : Stretch{begin, middle};
    } else if (T.WRAPPED) {
        p.part[0] = {cur, end};
        p.part[1] = {begin, cur};
    } else {
        p.part[0] = {begin, cur};
    }
    int64_t bytes = 0;
    for (const Stretch& s : p.part) bytes += s.to - s.from;
    p.samples = static_cast<int32_t>(bytes / p.rowBytes);
    return p;
}

// Writes the samples of column `col` of a plan; 1 when every write answered 1.
int write_column(int fd, const RowPlan& p, int k, int32_t col) {
    const int64_t at = static_cast<int64_t>(col) * kEntryBytes[k];
    int ok = 1;
    if (k == kBools) {
        uint32_t word = 0, bits = 0;
        for (const Stretch& s : p.part)
            for (const uint8_t* r = s.from; r + p.rowBytes <= s.to; r += p.rowBytes)
                ok &= AddBooleanBit(fd, &word, &bits, r[at] != 0);
        ok &= FinishBooleanWord(fd, &word, &bits, 1);
        return ok;
    }
    uint8_t staged[128 * 4];
    int held = 0;
    for (const Stretch& s : p.part)
        for (const uint8_t* r = s.from; r + p.rowBytes <= s.to; r += p.rowBytes) {
            uint32_t v;
            std::memcpy(&v, r + at, 4);
            staged[4 * held] = static_cast<uint8_t>(v >> 24);
            staged[4 * held + 1] = static_cast<uint8_t>(v >> 16);
            staged[4 * held + 2] = static_cast<uint8_t>(v >> 8);
            staged[4 * held + 3] = static_cast<uint8_t>(v);
            if (++held == 128) {
                ok &= VKOS_WriteFile(fd, staged, sizeof staged) == 1;
                held = 0;
            }
        }
    if (held > 0) ok &= VKOS_WriteFile(fd, staged, static_cast<uint32_t>(held) * 4u) == 1;
    return ok;
}

int write_header(int fd) {
    int ok = VKOS_WriteFile(fd, kBanner, sizeof kBanner) == 1;
    ok &= WriteU32BE(fd, kFormatVersion);
    const char* cfg = T.CFG_NAME.s;
    const int32_t L = sizeofSystemInfoBlob(cfg, T.SAMPLE_MS);
    ok &= WriteU32BE(fd, static_cast<uint32_t>(35 + L));
    ok &= VKOS_WriteFile(fd, kHeaderBlockName, sizeof kHeaderBlockName) == 1;
    ok &= WriteU32BE(fd, T.LOG_TIME.sec);
    ok &= WriteU32BE(fd, T.LOG_TIME.usec);
    ok &= WriteU32BE(fd, static_cast<uint32_t>(computeNumVariables()));
    ok &= WriteU32BE(fd, static_cast<uint32_t>(L));
    writeSystemInfoBlob(fd, cfg, T.SAMPLE_MS);
    return ok;
}

// Every record of one kind; nullptr, or the message of the list that failed.
const char* write_kind(int fd, int k) {
    int ok = 1;
    for (int g = 0; g < kGroups; ++g) {
        const ListRefs& l = kLists[g][k];
        const RowPlan p = plan_rows(l, k);
        const auto spacing = static_cast<uint32_t>(ActualSampleRate(kGroupMs[g]));
        const DataLogItem* lists[2] = {*l.pStatic, *l.pDynamic};
        const int32_t counts[2] = {*l.staticCount, *l.dynamicCount};
        for (int d = 0; d < 2; ++d) {
            for (int32_t i = 0; i < counts[d]; ++i) {
                const DataLogItem& it = lists[d][i];
                ok &= WriteCDFVarHeader(fd, it.name, it.path, kTypeText[k], spacing,
                                        static_cast<uint32_t>(p.samples), static_cast<uint32_t>(d));
                ok &= write_column(fd, p, k, d == 0 ? i : counts[0] + i);
                if (!ok) return kListError[k][d];
                taskDelay(0);  // a column can be long and most writes stay in the cache
            }
            if (stop_print()) return kListError[k][d];
        }
    }
    return nullptr;
}

void end_print(bool failed, const char* event) {
    T.PRT_BUSY = 0;
    if (failed) {
        T.PRT_ERR = 1;
        SendAppEvent(3, event);
    }
    printLatch = true;
}

void print_log() {
    DatalogPrintRequested = 0;
    // In continuous mode a print writes the half last handed over: before
    // the first hand-over there is none, and the rings hold no sample yet.
    if (cells::DATALOG.TREND_DLOG_CONTINUING && ContinuousDatalogPrintSection != 1 &&
        ContinuousDatalogPrintSection != 2) {
        std::printf("%s\n", kNothingHandedOver);
        end_print(true, kNothingHandedOver);
        return;
    }
    DATALOG_TREND_DLOGPrintFlag = 1;
    T.PRT_BUSY = 1;
    T.PRT_ERR = 0;
    char name[VKIO_PRINT_BUF], tmp[VKIO_PRINT_BUF + 4], fin[VKIO_PRINT_BUF + 4];
    if (cells::DATALOG.TREND_DLOG_CONTINUING) {
        VKIO_sprintf(name, "RamLog/%s_%d", kBlockName, ContinuousDatalogPrintSection);
    } else {
        int32_t n = cells::DATALOG.CNTATOI_OUT_1;
        n = n < 1 ? 1 : (n > 5 ? 5 : n);
        VKIO_sprintf(name, "%s%d", kBlockName, n);
    }
    std::snprintf(tmp, sizeof tmp, "%s.tmp", name);
    std::snprintf(fin, sizeof fin, "%s.log", name);

    int fd = VKOS_OpenFileRead(tmp);
    if (fd != 0) {
        VKOS_SetFileAttributes(fd, kSetWritable);
        VKOS_CloseFile(fd);
    }
    fd = VKOS_CreateFileWrite(tmp);
    if (fd == 0) {
        std::printf("Error opening DataLog File %s\n", tmp);
        end_print(true, "Unable to open DATA_LOG_M file for writing");
        return;
    }
    auto fail = [&](const char* event) {
        VKOS_CloseFile(fd);
        VKOS_DeleteFile(tmp);
        end_print(true, event);
    };
    const auto percent = static_cast<uint32_t>(percentDatalogBufferToPrint());
    const uint32_t bytes = DataLogMConfigureSpace + percent * DataLogMDataSpace / 100u;
    if (!VKOS_DriveSpaceAvailable(bytes, static_cast<int>(cells::DATALOG.TREND_DLOG_CONTINUING))) {
        fail("ERROR:  Insufficient disk space for DATA_LOG_M print file");
        return;
    }
    if (!write_header(fd) || stop_print()) {
        fail(kHeaderError);
        return;
    }
    for (int k = 0; k < kKinds; ++k) {
        VKOS_SleepMillisec(5);
        if (const char* err = write_kind(fd, k)) {
            fail(err);
            return;
        }
    }
    VKOS_SleepMillisec(5);
    // The old log is replaced only by a complete new one: the rename is atomic.
    const bool closed = VKOS_CloseFile(fd) == 1;
    if (!closed || VKOS_RenameFile(tmp, fin) != 1) {
        VKOS_DeleteFile(tmp);
        end_print(true, "ERROR:  Unable to complete DATA_LOG_M print file");
        return;
    }
    end_print(false, nullptr);
}
}  // namespace

void DataLogTaskPass() {
    auto& D = cells::DATALOG;
    if (D.TREND_DLOG_B_ENABLE != 1) return;
    if (D.EVENT_STP_OR == 1) {
        if (T.EVT_STARTED == 1) T.EVT_STARTED = T.START_REQ = T.RUN_REQ = 0;
    } else if (D.EVENT_STRT_OR == 1 && T.RUN_STATE == 0 && T.PRT_BUSY == 0 && T.EVT_STARTED == 0) {
        T.EVT_STARTED = 1;
        T.START_REQ = 1;
    }
    if (T.START_REQ == 1 && T.RUN_REQ == 0) {
        configure_Log_Dataspace();
        T.RUN_REQ = 1;
    }
    if (D.PRINT_OR == 0) printLatch = false;
    const bool command = D.PRINT_OR == 1 && T.RUN_STATE == 0 && T.PRT_BUSY == 0 && !printLatch;
    if (command || DatalogPrintRequested == 1) print_log();
}

void DATA_LOG_M() {
    printLatch = false;
    VKOS_WaitSemaphore(app_inited, -1);
    VKOS_SleepMillisec(1000);
    for (;;) {
        VKOS_SleepMillisec(100);
        DataLogTaskPass();
    }
}

namespace {
void data_log_entry(long) { DATA_LOG_M(); }
}  // namespace

void StartDATA_LOG_M() {
    _DATA_LOG_M_pid = VKOS_CreateProcess(data_log_entry, 8192, 42, "DATA_LOG_M", 0);
    if (_DATA_LOG_M_pid) VKOS_ResumeProcess(_DATA_LOG_M_pid);
}
