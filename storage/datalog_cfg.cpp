// The data-log configuration file "TREND_DLOG.logConfig": each line names a
// cell to add to the log ("dynamic" items) with the short name the log file
// shows for it. Read whenever the data log is configured and the file's date
// has changed; errors go to the platform log.
#include <cstdio>
#include <cstring>

#include "host/hostlog.h"
#include "platform/send_evt.h"
#include "platform/vkiodprt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/dbug.h"
#include "storage/datalog.h"
#include "storage/eefile.h"

using namespace dlog;

uint32_t iLoadedConfigurationDate;

namespace {
constexpr const char* kCfgFile = "TREND_DLOG.logConfig";
constexpr const char* kFirstLine = "VARNEKAR DATA_LOG_M Configuration File";
constexpr int kTextMax = 60;  // longest path, tag or detail kept

TrendDlogInternal& T = TREND_DLOG_internal;
char szReadBuffer[256];
int iReadBufferCur, iReadBufferEnd;
int cfgErrorReported;
int cfgErrorCount;
char szDLMessage[VKIO_PRINT_BUF];

// Requests read so far (their records lie from pToAddCfgStart).
int requests() { return static_cast<int>((pToAddCfgEnd - pToAddCfgStart) / sizeof(DataLogCfgRequest)); }

const char* message_of(int code) {
    switch (code) {
        case -10: return "%s Configuration error:  Configuration overflow truncated at ('%s')\n";
        case -9: return "%s Configuration error:  Duplicate definition (dynamic/dynamic) for '%s'\n";
        case -8: return "%s Configuration error:  Duplicate definition (static/dynamic) for '%s'\n";
        case -7: return "%s Configuration error:  Duplicate revision string ignored ('%s')\n";
        case -6: return "%s Configuration error:  String truncated to '%s'\n";
        case -5: return "%s Configuration error:  First line of file unexpected '%s'\n";
        case -4: return "%s Configuration error:  Unsupported rate group for '%s'\n";
        case -3: return "%s Configuration error:  Unsupported value type for '%s'\n";
        case -2: return "%s Configuration error:  Could not find '%s'\n";
        default: return "%s Configuration error:  Improper line '%s'\n";
    }
}

void copy_text(char* dst, const char* src, size_t cap) {
    size_t n = 0;
    while (n + 1 < cap && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    std::memset(dst + n, 0, cap - n);
}

void log_message(const char* text) { logMsg("%s", reinterpret_cast<long>(text)); }

// Formats a message of the time and one quoted text into szDLMessage. The
// formatter stops at 256 bytes: the text is cut so that the whole message,
// its closing quote and line feed included, fits.
void format_message(const char* format, const char* now, const char* text) {
    constexpr size_t kMessageMax = VKIO_PRINT_BUF - 1;
    VKIO_sprintf(szDLMessage, format, now, "");
    const size_t fixed = std::strlen(szDLMessage);  // at most kMessageMax
    char cut[VKIO_PRINT_BUF];
    copy_text(cut, text, kMessageMax - fixed + 1);
    VKIO_sprintf(szDLMessage, format, now, cut);
}
}  // namespace

int InitConfiguration() {
    szReadBuffer[0] = '\0';
    iReadBufferCur = iReadBufferEnd = 0;
    cfgErrorReported = 0;
    T.CFG_ERR = 0;
    std::memset(T.CFG_NAME.s, 0, sizeof T.CFG_NAME.s);
    pToAddCfgStart = pToAddCfgEnd = static_cast<uint8_t*>(DATA_LOG_M_MEMORY_START) + DATA_LOG_M_MEMORY_SIZE / 2;
    pDynamicCfgEnd = pDynamicCfgStart;
    for (int g = 0; g < kGroups; ++g)
        for (int k = 0; k < kKinds; ++k) {
            *kLists[g][k].dynamicCount = 0;
            *kLists[g][k].pDynamic = nullptr;
        }
    return 0;
}

int GetNextFileChar(int fd) {
    if (iReadBufferCur >= iReadBufferEnd) {
        const int n = VKOS_ReadFileBytes(fd, szReadBuffer, sizeof szReadBuffer);
        if (n < 1) {
            iReadBufferCur = iReadBufferEnd = 0;
            return 0;
        }
        iReadBufferCur = 0;
        iReadBufferEnd = n;
        VKOS_SleepMillisec(5);
    }
    return static_cast<uint8_t>(szReadBuffer[iReadBufferCur++]);
}

// Keeps at most kDlLineBytes - 1 characters of a line; the rest of an
// over-long line is read and dropped, so the next line starts where it should.
// A NUL byte is no end of the file: the line is read to its end without its
// NUL bytes and the result is -1, so that it can be reported and skipped.
int ReadLine(int fd, char* line) {
    int kept = 0;
    bool any = false;
    bool nul = false;
    for (;;) {
        const int c = GetNextFileChar(fd);
        if (c == 0 && iReadBufferEnd == 0) break;  // the end of the file
        any = true;
        if (c == '\n' || c == '\r') break;
        if (c == 0) nul = true;
        else if (kept < kDlLineBytes - 1) line[kept++] = static_cast<char>(c);
    }
    line[kept] = '\0';
    if (!any) return 0;
    return nul ? -1 : 1;
}

int isWhiteSpace(int c) { return c == ' ' || c == '\t'; }

int isCommentLine(const char* text) {
    while (isWhiteSpace(*text)) ++text;
    return *text == '\0' || *text == '/';
}

// The tag is refused when longer than the 60 characters a path field holds.
int ExtractDetailAndTag(const char* line, char* tag, char* detail) {
    tag[0] = detail[0] = '\0';
    while (isWhiteSpace(*line)) ++line;
    int n = 0;
    while (*line != '\0' && !isWhiteSpace(*line)) {
        if (n >= kTextMax) return 0;
        tag[n++] = *line++;
    }
    tag[n] = '\0';
    while (isWhiteSpace(*line)) ++line;
    copy_text(detail, line, kDlLineBytes);
    return tag[0] != '\0' && detail[0] != '\0';
}

int AddValCfgToRequestList(const char* description, const char* path, char type, CellRef cell,
                           const char* rateGroup) {
    if (kind_of(type) < 0) {
        ReportCfgFileError(-3, path);
        return -3;
    }
    static constexpr struct {
        const char* name;
        uint32_t code;
    } kRates[] = {{"_R10", 7}, {"_R20", 6}, {"_R40", 5}, {"_R80", 4}, {"_R160", 3}, {"_RNone", 3}};
    uint32_t rate = 0;
    for (const auto& r : kRates)
        if (rateGroup != nullptr && std::strcmp(rateGroup, r.name) == 0) rate = r.code;
    if (rate == 0) {
        ReportCfgFileError(-4, path);
        return -4;
    }
    // Each request becomes an item below the request area: refuse the request
    // whose item would reach requests not yet read.
    const auto itemsEnd = pDynamicCfgStart + static_cast<size_t>(requests() + 1) * sizeof(DataLogItem);
    if (itemsEnd > pToAddCfgStart) {
        ReportCfgFileError(-10, path);
        return -10;
    }
    DataLogCfgRequest r{};
    r.cell = cell;
    copy_text(r.path, path, sizeof r.path);
    copy_text(r.description, description, sizeof r.description);
    r.type = static_cast<uint8_t>(type);
    r.rate = rate;
    uint8_t* const at = pToAddCfgEnd;
    std::memcpy(at, &r, sizeof r);
    pToAddCfgEnd += sizeof r;
    const auto* blockEnd = static_cast<uint8_t*>(DATA_LOG_M_MEMORY_START) + DATA_LOG_M_MEMORY_SIZE;
    if (at + 332 > blockEnd) {
        ReportCfgFileError(-10, path);
        return -10;
    }
    return 0;
}

int ReportIfDuplicate(const uint8_t* begin, const uint8_t* end, const char* path, int code) {
    for (const uint8_t* p = begin; p != nullptr && p < end; p += sizeof(DataLogItem)) {
        if (std::strcmp(reinterpret_cast<const DataLogItem*>(p)->path, path) == 0) {
            ReportCfgFileError(code, path);
            return 1;
        }
    }
    return 0;
}

int AddToConfiguration(const DataLogCfgRequest* request) {
    const int g = group_of_code(request->rate);
    const int k = kind_of(static_cast<char>(request->type));
    if (g < 0 || k < 0) return 1;
    auto* item = reinterpret_cast<DataLogItem*>(pDynamicCfgEnd);
    *item = DataLogItem{};
    item->cell = request->cell;
    copy_text(item->path, request->path, sizeof item->path);
    copy_text(item->name, request->description, sizeof item->name);
    const ListRefs& l = kLists[g][k];
    if (*l.pDynamic == nullptr) *l.pDynamic = item;
    *l.dynamicCount += 1;
    const auto* dynBegin = reinterpret_cast<const uint8_t*>(*l.pDynamic);
    const auto* staticBegin = reinterpret_cast<const uint8_t*>(*l.pStatic);
    if (!ReportIfDuplicate(dynBegin, reinterpret_cast<const uint8_t*>(item), item->path, -9))
        ReportIfDuplicate(staticBegin, staticBegin + *l.staticCount * sizeof(DataLogItem), item->path, -8);
    pDynamicCfgEnd += sizeof(DataLogItem);
    return 1;
}

void ReportCfgFileError(int code, const char* text) {
    char now[32];
    VKGetTime(now);
    if (code == 0) {
        cfgErrorCount = 0;
        format_message("%s Loaded new configuration '%s'\n", now, text);
        log_message(szDLMessage);
        return;
    }
    ++cfgErrorCount;
    if (cfgErrorCount >= 6) return;
    VKOS_SleepMillisec(300);
    format_message(message_of(code), now, text);
    if (!cfgErrorReported) {
        T.CFG_ERR = 1;
        SendAppEvent(3, "DATA_LOG_M Configuration error:  See LogFile.txt for details");
        cfgErrorReported = 1;
    }
    log_message(szDLMessage);
    if (cfgErrorCount > 4)
        log_message("Max error count reached.  Further errors from this file will not be logged...\n");
}

void readDynamicConfiguration() {
    const char* why = "";
    int fd = storage_open_read(kCfgFile, &why);
    if (fd < 0) {
        // Something under the name that cannot be read as a file (a pipe,
        // a device): said in the log, then handled as no file.
        char now[32];
        VKGetTime(now);
        char text[kDlLineBytes];
        std::snprintf(text, sizeof text, "%s (%s)", kCfgFile, why);
        format_message("%s Configuration error:  Cannot read the configuration file '%s'; static configuration only\n",
                       now, text);
        log_message(szDLMessage);
        fd = 0;
    }
    if (fd == 0) {
        if (iLoadedConfigurationDate != 0) InitConfiguration();
        iLoadedConfigurationDate = 0;
        str_cell_copy(T.CFG_NAME, "<static configuration only>");
        return;
    }
    uint32_t date = 0;
    if (VKOS_GetFileDate(fd, &date) && date == iLoadedConfigurationDate) {
        VKOS_CloseFile(fd);
        return;
    }
    InitConfiguration();
    iLoadedConfigurationDate = date;
    cfgErrorCount = 0;

    // Loaded only once its first line says what it is.
    char line[kDlLineBytes];
    if (ReadLine(fd, line) < 0 || std::strcmp(line, kFirstLine) != 0) {
        VKOS_CloseFile(fd);
        ReportCfgFileError(-5, line);
        return;
    }
    ReportCfgFileError(0, kCfgFile);
    char tag[kTextMax + 1];
    char detail[kDlLineBytes];
    for (int read = ReadLine(fd, line); read != 0; read = ReadLine(fd, line)) {
        if (read < 0) {
            ReportCfgFileError(-1, line);
            continue;
        }
        if (std::strlen(line) < 3 || isCommentLine(line)) continue;
        if (!ExtractDetailAndTag(line, tag, detail)) {
            ReportCfgFileError(-1, line);
            continue;
        }
        if (std::strlen(detail) > kTextMax) {
            detail[kTextMax] = '\0';
            ReportCfgFileError(-6, detail);
        }
        if (std::strcmp(tag, "[Revision]") == 0) {
            // The text cell holds 39 characters and its NUL.
            if (T.CFG_NAME.s[0] != '\0') ReportCfgFileError(-7, detail);
            else str_cell_copy(T.CFG_NAME, detail);
            continue;
        }
        char type = 0;
        CellRef cell = 0;
        const char* rateGroup = nullptr;
        if (get_dbug_address(tag, &type, 0, &cell, &rateGroup) < 1) {
            ReportCfgFileError(-2, tag);
            continue;
        }
        if (AddValCfgToRequestList(detail, tag, type, cell, rateGroup) == -10) break;
    }
    VKOS_CloseFile(fd);

    // One pass per group and kind, so each dynamic list is contiguous and in
    // file order. Each duplicate check reads the list built so far: a long
    // file gives up the CPU every few items.
    int added = 0;
    for (int g = 0; g < kGroups; ++g)
        for (int k = 0; k < kKinds; ++k)
            for (const uint8_t* p = pToAddCfgStart; p < pToAddCfgEnd; p += sizeof(DataLogCfgRequest)) {
                DataLogCfgRequest r;
                std::memcpy(&r, p, sizeof r);
                if (group_of_code(r.rate) != g || kind_of(static_cast<char>(r.type)) != k) continue;
                AddToConfiguration(&r);
                if (++added % 32 == 0) taskDelay(0);
            }
}
