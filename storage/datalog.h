// The data log of the block TREND_DLOG (module DATALOG): chosen cells are
// sampled once per rate-group pass into RAM rings, one set per group and kind
// (reals, integers, booleans), and the writer task "DATA_LOG_M" turns a
// stretch of that history into a big-endian binary log file.
//
// The RAM block holds, from its start: the static item lists, the dynamic
// item lists (read from "TREND_DLOG.logConfig"), then the rings. While the
// configuration file is read, its second half holds the request records.
#pragma once

#include <cstdint>

#include "runtime/appmem.h"

// One logged cell: 128 bytes, items of one list lie one after another.
struct DataLogItem {
    CellRef cell;   // f32 cell, i32 cell or boolean word
    char path[61];  // "MODULE.BLOCK.FIELD"
    char name[61];  // short name shown in the log file
    char pad_[2];
};
static_assert(sizeof(DataLogItem) == 128);

// One line of the configuration file, before the lists are built: 132 bytes.
struct DataLogCfgRequest {
    CellRef cell;
    char path[61];
    char description[61];
    uint8_t type;  // 'A', 'I' or 'B'
    uint8_t pad_;
    uint32_t rate;  // rate-group code: 7 R10, 6 R20, 5 R40, 4 R80, 3 R160
};
static_assert(sizeof(DataLogCfgRequest) == 132);

// ---- lists and rings, by group and kind ------------------------------------------
#define DL_GROUPS(X, ...) X(R10, 10, __VA_ARGS__) X(R20, 20, __VA_ARGS__) X(R40, 40, __VA_ARGS__) \
    X(R80, 80, __VA_ARGS__) X(R160, 160, __VA_ARGS__)

#define DL_DECLARE_GROUP_(G, MS, ...)                                                              \
    extern DataLogItem *pStatic_##G##LogConfigReals, *pStatic_##G##LogConfigInts,                   \
        *pStatic_##G##LogConfigBools, *pDynamic_##G##LogConfigReals, *pDynamic_##G##LogConfigInts,  \
        *pDynamic_##G##LogConfigBools;                                                              \
    extern int32_t static_##G##LogConfigRealCount, static_##G##LogConfigIntCount,                   \
        static_##G##LogConfigBoolCount, dynamic_##G##LogConfigRealCount,                            \
        dynamic_##G##LogConfigIntCount, dynamic_##G##LogConfigBoolCount;                            \
    extern uint8_t *p_##G##LogRealsBegin, *p_##G##LogRealsMiddle, *p_##G##LogRealsEnd,              \
        *p_##G##LogRealsCur, *p_##G##LogIntsBegin, *p_##G##LogIntsMiddle, *p_##G##LogIntsEnd,       \
        *p_##G##LogIntsCur, *p_##G##LogBoolsBegin, *p_##G##LogBoolsMiddle, *p_##G##LogBoolsEnd,     \
        *p_##G##LogBoolsCur;                                                                        \
    extern int32_t DataLog_##G##Cycle;
DL_GROUPS(DL_DECLARE_GROUP_, )

namespace dlog {
constexpr int kGroups = 5;
constexpr int kKinds = 3;  // reals, integers, booleans
enum Kind { kReals = 0, kInts = 1, kBools = 2 };
inline constexpr int kGroupMs[kGroups] = {10, 20, 40, 80, 160};
inline constexpr int kEntryBytes[kKinds] = {4, 4, 1};
inline constexpr char kTypeLetter[kKinds] = {'A', 'I', 'B'};

// The named globals of one group and kind, reached by index.
struct ListRefs {
    DataLogItem** pStatic;
    int32_t* staticCount;
    DataLogItem** pDynamic;
    int32_t* dynamicCount;
    uint8_t** begin;
    uint8_t** middle;
    uint8_t** end;
    uint8_t** cur;
};
extern const ListRefs kLists[kGroups][kKinds];
extern int32_t* const kCycle[kGroups];

// Kind of a directory type letter, or -1.
int kind_of(char type);
// Group index of a rate-group code 7 .. 3, or -1.
int group_of_code(uint32_t code);
}  // namespace dlog

// ---- the block's internal cells (not in the variable directory) ------------------
struct TrendDlogInternal {
    uint32_t RUN_STATE, RUN_REQ, WRAPPED, PRT_BUSY, PRT_ERR, CFG_ERR;
    int32_t MEM_MB, HIST_SEC, SAMPLE_MS, NUM_BOOL, NUM_REAL, NUM_INT;
    StrCell CFG_NAME;
    TimeCell LOG_TIME;
    uint32_t EVT_STARTED, START_REQ;  // the writer task's own
};
extern TrendDlogInternal TREND_DLOG_internal;

// ---- counters and flags -----------------------------------------------------------
extern int32_t RequestDatalogPrintOnMFT;
extern int32_t DatalogPrintRequested;
extern int32_t ContinuousDatalogCollectSection;
extern int32_t ContinuousDatalogPrintSection;
extern int32_t DATALOG_TREND_DLOGPrintFlag;
extern uint32_t numBytesPerCycle;
extern uint32_t DataLogMConfigureSpace;
extern uint32_t DataLogMDataSpace;
extern int32_t maxItemsInConfiguration;
// The RAM block (declared by the runtime, which gives it back at stop).
extern void* DATA_LOG_M_MEMORY_START;
extern uint32_t DATA_LOG_M_MEMORY_SIZE;
// Item-list area of the block.
extern uint8_t* pDynamicCfgStart;
extern uint8_t* pDynamicCfgEnd;
extern uint8_t* pToAddCfgStart;
extern uint8_t* pToAddCfgEnd;

// ---- items and rings -----------------------------------------------------------
void LoadStaticDATA_LOG_M_Configuration();
int verifyItemsFit(int32_t n);
void configure_Log_Dataspace();
void populate_R10Data_Log_Values();
void populate_R20Data_Log_Values();
void populate_R40Data_Log_Values();
void populate_R80Data_Log_Values();
void populate_R160Data_Log_Values();
void UpdateDataLogOutputValues();
int32_t percentDatalogBufferToPrint();
int32_t ActualSampleRate(int32_t groupMs);
int32_t computeNumVariables();
void IncRealTime(TimeCell* t, uint32_t ms);
void TriggerDataLogRefresh();
void UpdateEventEE();

// ---- static configuration -------------------------------------------------------------
constexpr int kStaticItems = 84;
struct StaticDataLogRow {
    const char* path;  // the cell's name (a user-block output by its outside name), as the log shows it
    const char* name;  // short name
};
extern const StaticDataLogRow kStaticDataLogRows[kStaticItems];
// Rows of each list, in list order: R10 Reals, R10 Ints, R10 Bools, R20 Reals,
// R40 Reals .. R160 Bools (R20 Ints and Bools have none).
extern const int kStaticListRows[dlog::kGroups][dlog::kKinds];
// Writes the static items into the block; 0 when they did not fit.
int BuildStaticDATA_LOG_M_Lists();
void UpdateStaticDATA_LOG_M_Names();

// ---- configuration file -----------------------------------------------------------
constexpr int kDlLineBytes = 256;  // a line of at most 255 characters
int InitConfiguration();
void readDynamicConfiguration();
int GetNextFileChar(int fd);
int ReadLine(int fd, char* line);
int isCommentLine(const char* text);
int isWhiteSpace(int c);
int ExtractDetailAndTag(const char* line, char* tag, char* detail);
int AddValCfgToRequestList(const char* description, const char* path, char type, CellRef cell,
                           const char* rateGroup);
int AddToConfiguration(const DataLogCfgRequest* request);
int ReportIfDuplicate(const uint8_t* begin, const uint8_t* end, const char* path, int code);
void ReportCfgFileError(int code, const char* text);
// Modification date of the loaded file, 0 when none.
extern uint32_t iLoadedConfigurationDate;

// ---- record writers ---------------------------------------------------------------
int writeSystemInfoBlob(int fd, const char* cfgName, int32_t intervalMs);
int32_t sizeofSystemInfoBlob(const char* cfgName, int32_t intervalMs);
int WriteCDFVarHeader(int fd, const char* name, const char* description, const char* type, uint32_t w1,
                      uint32_t w2, uint32_t w3);
int AddBooleanBit(int fd, uint32_t* word, uint32_t* bitCount, int32_t value);
int FinishBooleanWord(int fd, uint32_t* word, uint32_t* bitCount, int32_t flush);
int WriteCDFAnalogData(int fd, const uint8_t* rows, int32_t wordsPerRow, int32_t column, int32_t startRow,
                       int32_t rowCount, int32_t samples, uint32_t step);
int WriteCDFBooleanData(int fd, const uint8_t* rows, int32_t wordsPerRow, int32_t column, int32_t startRow,
                        int32_t rowCount, int32_t samples, uint32_t step);
// Big-endian u32 write (1 when written).
int WriteU32BE(int fd, uint32_t v);

// ---- writer task --------------------------------------------------------------------
void DATA_LOG_M();
// Creates and resumes the task (init_blks, after LoadStaticDATA_LOG_M_Configuration).
void StartDATA_LOG_M();
// One pass of the task's loop after its 100 ms sleep (the loop body).
void DataLogTaskPass();
// Returns the module's state to that of a fresh start (start-up).
void ResetDataLog();
