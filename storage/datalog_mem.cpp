// Data-log items and rings: the RAM block, the sizing of the rings, the
// sampling once per pass, the continuous-mode hand-over and the status cells.
#include <cstdio>
#include <cstring>

#include "app/interface/DATALOG.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appmain.h"
#include "runtime/sched.h"
#include "storage/datalog.h"

#define DL_DEFINE_GROUP_(G, MS, ...)                                                                \
    DataLogItem *pStatic_##G##LogConfigReals, *pStatic_##G##LogConfigInts, *pStatic_##G##LogConfigBools, \
        *pDynamic_##G##LogConfigReals, *pDynamic_##G##LogConfigInts, *pDynamic_##G##LogConfigBools;     \
    int32_t static_##G##LogConfigRealCount, static_##G##LogConfigIntCount,                              \
        static_##G##LogConfigBoolCount, dynamic_##G##LogConfigRealCount, dynamic_##G##LogConfigIntCount, \
        dynamic_##G##LogConfigBoolCount;                                                                 \
    uint8_t *p_##G##LogRealsBegin, *p_##G##LogRealsMiddle, *p_##G##LogRealsEnd, *p_##G##LogRealsCur,    \
        *p_##G##LogIntsBegin, *p_##G##LogIntsMiddle, *p_##G##LogIntsEnd, *p_##G##LogIntsCur,            \
        *p_##G##LogBoolsBegin, *p_##G##LogBoolsMiddle, *p_##G##LogBoolsEnd, *p_##G##LogBoolsCur;        \
    int32_t DataLog_##G##Cycle;
DL_GROUPS(DL_DEFINE_GROUP_, )

#define DL_LIST_REFS_(G, K, S)                                                                   \
    {&pStatic_##G##LogConfig##K, &static_##G##LogConfig##S##Count, &pDynamic_##G##LogConfig##K, \
     &dynamic_##G##LogConfig##S##Count, &p_##G##Log##K##Begin, &p_##G##Log##K##Middle,          \
     &p_##G##Log##K##End, &p_##G##Log##K##Cur}
#define DL_GROUP_REFS_(G, MS, ...) \
    {DL_LIST_REFS_(G, Reals, Real), DL_LIST_REFS_(G, Ints, Int), DL_LIST_REFS_(G, Bools, Bool)},
#define DL_CYCLE_REF_(G, MS, ...) &DataLog_##G##Cycle,

TrendDlogInternal TREND_DLOG_internal;
int32_t RequestDatalogPrintOnMFT;
int32_t DatalogPrintRequested;
int32_t ContinuousDatalogCollectSection;
int32_t ContinuousDatalogPrintSection;
int32_t DATALOG_TREND_DLOGPrintFlag;
uint32_t numBytesPerCycle;
uint32_t DataLogMConfigureSpace;
uint32_t DataLogMDataSpace;
int32_t maxItemsInConfiguration;
uint8_t* pDynamicCfgStart;
uint8_t* pDynamicCfgEnd;
uint8_t* pToAddCfgStart;
uint8_t* pToAddCfgEnd;

namespace dlog {
const ListRefs kLists[kGroups][kKinds] = {DL_GROUPS(DL_GROUP_REFS_, )};
int32_t* const kCycle[kGroups] = {DL_GROUPS(DL_CYCLE_REF_, )};

int kind_of(char type) {
    switch (type) {
        case 'A': return kReals;
        case 'I': return kInts;
        case 'B': return kBools;
        default: return -1;
    }
}
int group_of_code(uint32_t code) { return code >= 3 && code <= 7 ? static_cast<int>(7 - code) : -1; }
}  // namespace dlog

using namespace dlog;

namespace {
constexpr uint32_t kMaxBlockBytes = 0x800000;    // 8 MiB at most
constexpr uint32_t kKeepFreeBytes = 0x500000;    // left to the system
TrendDlogInternal& T = TREND_DLOG_internal;
bool sizingReported = false;

int32_t items_of(int g, int k) { return *kLists[g][k].staticCount + *kLists[g][k].dynamicCount; }

bool ring_empty(const ListRefs& l) { return *l.begin == *l.end; }

// One row of a ring: the cells of the static items, then of the dynamic ones.
void append_row(const ListRefs& l, int k) {
    uint8_t*& cur = *l.cur;
    const DataLogItem* lists[2] = {*l.pStatic, *l.pDynamic};
    const int32_t counts[2] = {*l.staticCount, *l.dynamicCount};
    for (int s = 0; s < 2; ++s) {
        const DataLogItem* it = lists[s];
        for (int32_t n = 0; n < counts[s]; ++n, ++it) {
            const auto* src = static_cast<const uint8_t*>(cell_ptr(it->cell));
            if (k == kBools) {
                uint32_t w = 0;
                if (src) std::memcpy(&w, src, 4);
                *cur = static_cast<uint8_t>(w & 0xFFu);
                cur += 1;
            } else {
                uint32_t w = 0;
                if (src) std::memcpy(&w, src, 4);
                std::memcpy(cur, &w, 4);
                cur += 4;
            }
        }
    }
}

// Samples group g when its interval has come (steps 1 to 4 of a group's pass).
void sample_group(int g) {
    int32_t& cycle = *kCycle[g];
    cycle += 1;
    if (cycle * kGroupMs[g] < T.SAMPLE_MS) return;
    cycle = 0;
    const ListRefs* l = kLists[g];
    // A ring that has no room for a row is empty (Begin = End); it is never written.
    for (int k = 0; k < kKinds; ++k)
        if (!ring_empty(l[k]) && *l[k].cur < *l[k].end) append_row(l[k], k);
    bool wrap = false;
    for (int k = 0; k < kKinds; ++k)
        if (!ring_empty(l[k]) && *l[k].cur >= *l[k].end) wrap = true;
    const bool continuing = cells::DATALOG.TREND_DLOG_CONTINUING != 0;
    if (wrap) {
        for (int k = 0; k < kKinds; ++k) *l[k].cur = *l[k].begin;
        T.WRAPPED = 1;
        if (continuing && ContinuousDatalogCollectSection == 2) RequestDatalogPrintOnMFT = 1;
    } else if (continuing && ContinuousDatalogCollectSection == 1) {
        for (int k = 0; k < kKinds; ++k) {
            if (ring_empty(l[k])) continue;
            if (*l[k].cur == *l[k].middle) RequestDatalogPrintOnMFT = 1;
            break;
        }
    }
}

void populate(int g) {
    if (cells::DATALOG.TREND_DLOG_B_ENABLE != 1 || T.RUN_STATE != 1) return;
    sample_group(g);
}

// Once per 160 ms frame, from the 10 ms group.
void cycle_bookkeeping() {
    const bool continuing = cells::DATALOG.TREND_DLOG_CONTINUING != 0;
    if (T.RUN_STATE == T.RUN_REQ) {
        if (continuing && T.RUN_STATE) IncRealTime(&T.LOG_TIME, 160);
    } else if (!continuing || T.LOG_TIME.sec == 0) {
        const TimeCell& tod = cells::ORVEX12_IO.RTC_TOD;
        T.LOG_TIME.sec = tod.sec;
        T.LOG_TIME.usec = tod.usec - tod.usec % 5000u;
    } else if (T.RUN_STATE == 1) {
        IncRealTime(&T.LOG_TIME, 160);
    }
    if (RequestDatalogPrintOnMFT) {
        ContinuousDatalogPrintSection = ContinuousDatalogCollectSection;
        ContinuousDatalogCollectSection = ContinuousDatalogCollectSection % 2 + 1;
        DatalogPrintRequested = 1;
        RequestDatalogPrintOnMFT = 0;
    }
    if (T.RUN_STATE != T.RUN_REQ) {
        T.RUN_STATE = T.RUN_REQ;
        if (T.RUN_STATE == 0) cells::DATALOG.TREND_DLOG_CONTINUING = 0;
    }
}

int32_t rounded_interval(int32_t r) {
    if (r <= 10) return 10;
    if (r <= 20) return 20;
    if (r <= 40) return 40;
    if (r <= 80) return 80;
    if (r <= 160) return 160;
    return (r + 159) / 160 * 160;
}

void empty_rings(uint8_t* at) {
    for (int k = 0; k < kKinds; ++k)
        for (int g = 0; g < kGroups; ++g) {
            const ListRefs& l = kLists[g][k];
            *l.begin = *l.middle = *l.end = *l.cur = at;
        }
}
}  // namespace

int32_t ActualSampleRate(int32_t groupMs) {
    const int32_t s = T.SAMPLE_MS;
    if (groupMs <= 0 || groupMs >= s) return groupMs;
    return (s + groupMs - 1) / groupMs * groupMs;
}

int32_t computeNumVariables() {
    int32_t n = 0;
    for (int g = 0; g < kGroups; ++g)
        for (int k = 0; k < kKinds; ++k) n += items_of(g, k);
    return n;
}

void IncRealTime(TimeCell* t, uint32_t ms) {
    const uint64_t total = static_cast<uint64_t>(ms) * 1000u + t->usec;
    t->sec += static_cast<uint32_t>(total / 1000000u);
    t->usec = static_cast<uint32_t>(total % 1000000u);
}

void TriggerDataLogRefresh() {
    T.RUN_STATE = 0;
    T.RUN_REQ = 0;
}

void UpdateEventEE() {}

int verifyItemsFit(int32_t n) {
    if (maxItemsInConfiguration >= n) return 1;
    std::printf("FATAL ERROR: Not Enough RAM available for DataLogM block values.\n");
    SendAppEvent(6, "FATAL ERROR: Not Enough RAM available for DataLogM block values");
    ApplicationInitedOK = 0;
    return 0;
}

void ResetDataLog() {
    T = TrendDlogInternal{};
    for (int g = 0; g < kGroups; ++g) {
        *kCycle[g] = 0;
        for (int k = 0; k < kKinds; ++k) {
            const ListRefs& l = kLists[g][k];
            *l.pStatic = *l.pDynamic = nullptr;
            *l.staticCount = *l.dynamicCount = 0;
            *l.begin = *l.middle = *l.end = *l.cur = nullptr;
        }
    }
    RequestDatalogPrintOnMFT = DatalogPrintRequested = 0;
    ContinuousDatalogCollectSection = 1;
    ContinuousDatalogPrintSection = 0;
    DATALOG_TREND_DLOGPrintFlag = 0;
    numBytesPerCycle = DataLogMConfigureSpace = DataLogMDataSpace = 0;
    maxItemsInConfiguration = 0;
    pDynamicCfgStart = pDynamicCfgEnd = pToAddCfgStart = pToAddCfgEnd = nullptr;
    iLoadedConfigurationDate = 0;
    sizingReported = false;
}

void LoadStaticDATA_LOG_M_Configuration() {
    ResetDataLog();
    DATA_LOG_M_MEMORY_START = nullptr;
    uint32_t size = 0;
    const long maxChunk = VKOS_FindMaxMemChunk();
    size = maxChunk <= 0 ? 0 : (maxChunk > static_cast<long>(kMaxBlockBytes) ? kMaxBlockBytes
                                                                              : static_cast<uint32_t>(maxChunk));
    uint32_t freeBytes = 0;
    if (VKOS_memAvail(&freeBytes) != 0) {
        size = 0;
    } else if (static_cast<int64_t>(freeBytes) - size <= static_cast<int64_t>(kKeepFreeBytes) - 1) {
        const int64_t s = static_cast<int64_t>(freeBytes) - kKeepFreeBytes;
        size = s < 0 ? 0 : static_cast<uint32_t>(s);
    }
    if (size != 0) {
        T.MEM_MB = static_cast<int32_t>(size / 1048576u);
        DATA_LOG_M_MEMORY_START = VKOS_GetMem(size);
    }
    if (DATA_LOG_M_MEMORY_START == nullptr) {
        DATA_LOG_M_MEMORY_SIZE = 0;
        std::printf("Not Enough RAM available for DATA_LOG_M block.\n");
        SendAppEvent(3, "Not Enough RAM available for DATA_LOG_M block");
        return;
    }
    DATA_LOG_M_MEMORY_SIZE = size;
    // Cleared a slice at a time: clearing megabytes at once would hold the
    // CPU past a tick. The first touch of a fresh page can be slow on a
    // host, so a slice is a few pages only (256 KiB took over 5 ms).
    constexpr uint32_t kClearSlice = 0x8000;
    auto* const block = static_cast<uint8_t*>(DATA_LOG_M_MEMORY_START);
    for (uint32_t at = 0; at < size; at += kClearSlice) {
        std::memset(block + at, 0, size - at < kClearSlice ? size - at : kClearSlice);
        taskDelay(0);
    }
    maxItemsInConfiguration = static_cast<int32_t>(size / 256u);
    if (!BuildStaticDATA_LOG_M_Lists()) return;
    InitConfiguration();
    T.RUN_STATE = T.RUN_REQ = 0;
}

void configure_Log_Dataspace() {
    T.SAMPLE_MS = rounded_interval(cells::DATALOG.MININTVL_I_NAME);
    // Without a block, or with static items that did not fit, no list has a
    // place: nothing is configured, no ring exists, and the error cell says so.
    if (DATA_LOG_M_MEMORY_START == nullptr || pDynamicCfgStart == nullptr) {
        T.CFG_ERR = 1;
        T.HIST_SEC = 0;
        return;
    }
    UpdateStaticDATA_LOG_M_Names();
    readDynamicConfiguration();
    auto& D = cells::DATALOG;
    D.TREND_DLOG_CONTINUING = D.CONTIN_B_SW;
    RequestDatalogPrintOnMFT = 0;
    DatalogPrintRequested = 0;
    ContinuousDatalogCollectSection = 1;
    ContinuousDatalogPrintSection = 0;
    T.LOG_TIME = TimeCell{0, 0};

    const int32_t cycleMs = ActualSampleRate(160);
    int32_t rows[kGroups];
    uint32_t perCycle = 0;
    for (int g = 0; g < kGroups; ++g) {
        rows[g] = cycleMs / ActualSampleRate(kGroupMs[g]);
        perCycle += static_cast<uint32_t>(rows[g]) *
                    static_cast<uint32_t>(4 * items_of(g, kReals) + 4 * items_of(g, kInts) + items_of(g, kBools));
    }
    numBytesPerCycle = perCycle;
    auto* const blockStart = static_cast<uint8_t*>(DATA_LOG_M_MEMORY_START);
    DataLogMConfigureSpace = static_cast<uint32_t>(pDynamicCfgEnd - blockStart);
    // Computed signed: ring space short of two cycles gives N < 1, and then
    // every ring stays empty rather than being laid outside the block. (The
    // configuration reader keeps the items below its request area, so half
    // the block is always left for the rings; this guards the arithmetic.)
    int64_t n = 0;
    if (perCycle != 0)
        n = (static_cast<int64_t>(DATA_LOG_M_MEMORY_SIZE) - DataLogMConfigureSpace) / perCycle - 1;
    const bool fits = perCycle == 0 || n >= 1;
    if (!fits) n = 0;
    DataLogMDataSpace = static_cast<uint32_t>((n + 1) * perCycle);
    T.HIST_SEC = static_cast<int32_t>(static_cast<float>(n + 1) * static_cast<float>(cycleMs) / 1000.0f);
    if (D.TREND_DLOG_CONTINUING) {
        T.HIST_SEC /= 2;
        VKOS_CreateDirectory("RamLog");
    }
    T.WRAPPED = 0;

    if (!fits) {
        DataLogMDataSpace = 0;
        T.HIST_SEC = 0;
        empty_rings(pDynamicCfgEnd);
        T.CFG_ERR = 1;
        if (!sizingReported) {
            sizingReported = true;
            std::printf("DATA_LOG_M: not enough RAM for one sample of the configured items\n");
            SendAppEvent(3, "Not Enough RAM available for DATA_LOG_M samples");
        }
    } else {
        uint8_t* at = pDynamicCfgEnd;
        for (int k = 0; k < kKinds; ++k)
            for (int g = 0; g < kGroups; ++g) {
                const ListRefs& l = kLists[g][k];
                const int64_t rowBytes = static_cast<int64_t>(rows[g]) * items_of(g, k) * kEntryBytes[k];
                *l.begin = *l.cur = at;
                *l.middle = at + n / 2 * rowBytes;
                *l.end = at + n * rowBytes;
                at = *l.end;
            }
    }
    for (int g = 0; g < kGroups; ++g) *kCycle[g] = T.SAMPLE_MS;
    T.NUM_REAL = T.NUM_INT = T.NUM_BOOL = 0;
    for (int g = 0; g < kGroups; ++g) {
        T.NUM_REAL += items_of(g, kReals);
        T.NUM_INT += items_of(g, kInts);
        T.NUM_BOOL += items_of(g, kBools);
    }
}

void populate_R10Data_Log_Values() {
    if (cells::DATALOG.TREND_DLOG_B_ENABLE != 1) return;
    if (_R160_frame_count == 32) cycle_bookkeeping();
    if (T.RUN_STATE == 1) sample_group(0);
}
void populate_R20Data_Log_Values() { populate(1); }
void populate_R40Data_Log_Values() { populate(2); }
void populate_R80Data_Log_Values() { populate(3); }
void populate_R160Data_Log_Values() { populate(4); }

int32_t percentDatalogBufferToPrint() {
    if (cells::DATALOG.TREND_DLOG_CONTINUING) return 50;
    if (T.WRAPPED) return 100;
    for (int g = 0; g < kGroups; ++g)
        for (int k = 0; k < kKinds; ++k) {
            const ListRefs& l = kLists[g][k];
            if (*l.cur == *l.begin) continue;
            const int64_t filled = (*l.cur - *l.begin) / kEntryBytes[k];
            // Cur is never past End, so a ring away from its Begin is not empty.
            const int64_t whole = (*l.end - *l.begin) / kEntryBytes[k];
            return static_cast<int32_t>(filled * 100 / whole);
        }
    return 0;
}

void UpdateDataLogOutputValues() {
    auto& D = cells::DATALOG;
    D.TREND_DLOG_COLLECTING = T.RUN_STATE;
    D.TREND_DLOG_BUF_FULL = T.WRAPPED;
    D.TREND_DLOG_ACTUAL_MEM = T.MEM_MB;
    D.TREND_DLOG_MAX_SEC = T.HIST_SEC;
    D.TREND_DLOG_PRINTING = (DATALOG_TREND_DLOGPrintFlag == 1 || T.PRT_BUSY == 1) ? 1u : 0u;
    D.TREND_DLOG_P_ERROR = T.PRT_ERR;
    D.TREND_DLOG_CFG_ERROR = T.CFG_ERR;
    D.TREND_DLOG_CFG_ID = T.CFG_NAME.s;
    D.TREND_DLOG_ANALOG_CNT = T.NUM_REAL;
    D.TREND_DLOG_BOOL_CNT = T.NUM_BOOL;
    D.TREND_DLOG_INT_CNT = T.NUM_INT;
    DATALOG_TREND_DLOGPrintFlag = 0;
}
