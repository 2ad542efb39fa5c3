#include "storage/eefile.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/sys_vars.h"
#include "host/hostfs.h"
#include "platform/send_evt.h"
#include "runtime/catalogue_tables.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appinit.h"
#include "runtime/catalogue_tables.h"
#include "runtime/dbug.h"
#include "runtime/neighbours.h"
#include "runtime/sysinfo.h"

char _eeMOEDATE[kEeDateBytes];

uint16_t service_pwds[NumServTasks], debug_pwds[NumServTasks], config_pwds[NumServTasks],
    fault_pwds[NumServTasks], act_corr_pwds[NumServTasks], ee_dnld_pwds[NumServTasks];

char ee_ConfigID[kEeIdBytes], ee_ControlID[kEeIdBytes], ee_Custom1[kEeIdBytes], ee_Custom2[kEeIdBytes],
    ee_Custom3[kEeIdBytes], ee_Custom4[kEeIdBytes];
char OLDee_ConfigID[kEeIdBytes], OLDee_ControlID[kEeIdBytes], OLDee_Custom1[kEeIdBytes],
    OLDee_Custom2[kEeIdBytes], OLDee_Custom3[kEeIdBytes], OLDee_Custom4[kEeIdBytes];

int32_t NumPerAdaptCurve = 0;
AdaptCurveRec AdaptCurPer[1];

int32_t ExistingEEFile = 0;
int32_t new_application_flag = 0;
int32_t ee_file_dirty = 0;

const char* const EE_BIN_HEADER = "EE Tunables Save File (Binary Format)";
const char* const EE_TXT_HEADER = "EE Tunables Save File (Text Format)";

namespace {

constexpr int kEventStartup = 3;
constexpr int kEventWrite = 6;
constexpr int kBinaryMode = 2;
constexpr int kTextMode = 1;
constexpr int kPwdGroups = 6;
constexpr uint16_t kDefaultPwds[kPwdGroups] = {7519, 5917, 6194, 8359, 5689, 6879};
constexpr int kIds = 6;
char* const kIdText[kIds] = {ee_ConfigID, ee_ControlID, ee_Custom1, ee_Custom2, ee_Custom3, ee_Custom4};
char* const kIdShadow[kIds] = {OLDee_ConfigID, OLDee_ControlID, OLDee_Custom1,
                               OLDee_Custom2,  OLDee_Custom3,   OLDee_Custom4};
const char* const kIdDefault[kIds] = {"Dflt Config ID", "Dflt Control ID", "NoVal", "NoVal", "NoVal", "NoVal"};
uint16_t* const kPwdArrays[kPwdGroups] = {service_pwds, debug_pwds, config_pwds,
                                          fault_pwds,   act_corr_pwds, ee_dnld_pwds};
const char* const kKindName[] = {"REAL", "INTEGER", "VKBOOLEAN", "VKTIMER", "STRNG", "MOEDATE", "Structure"};
// Room asked for beyond the heading, the values and the curves.
constexpr uint32_t kSpaceMargin = 460;

// A save in progress: update_ee runs in several tasks, and the host kernel
// switches tasks only at kernel calls, so testing and setting this word
// without a call in between cannot interleave.
int32_t saveRunning = 0;
// The stop has begun: no save starts any more (until init_eeram).
bool savesHeld = false;

char fileName[64];
char tempName[72];
char keptName[96];

// The fingerprint sits in the last bytes of the date field; a date text
// must end before them.
constexpr uint32_t kFingerprintAt = kEeDateBytes - 3;
// The fingerprint found in the last file read (0: none).
uint32_t fileFingerprint = 0;
// The last ReadEETable found a file that it refused to take values from
// (not readable as a file, another heading, date or table): start-up writes
// a fresh one and keeps it aside.
bool refused = false;
// Names tried for keeping a refused file.
constexpr int kMaxKept = 999;
constexpr int kNamesPerPause = 100;
// Creations of the temporary file tried while something takes its name.
constexpr int kCreateAttempts = 3;
// Start-up found a temporary file cut short and no file under the name: it
// may hold the only copy of the values, so it goes aside before a new file
// takes the temporary name.
bool keepCutTemp = false;
// How the file start-up refused or found damaged is kept aside ("Refused",
// "Damaged") once a complete new file is there to take its name; null when
// none waits. Until then it stays under its name, and a start that finds it
// there treats it again the same way.
const char* keepBeforeReplacing = nullptr;
// The last ReadEETable took values from a file of this build that was cut
// short or held values no tunable can have: start-up keeps the file aside
// and writes one with the values in force.
bool damaged = false;
// Values outside their limits reported one by one; the rest are counted.
constexpr uint32_t kMaxValueReports = 10;
// This many values in a row that their tunables cannot have show a file
// whose values have shifted (a piece of it lost or added): none is taken.
constexpr uint32_t kShiftedRun = 3;
// The entries whose change a failed save took into the saved copies: the
// file does not hold them, so a stop still loses them.
std::vector<bool> failedSave;
// The start's own save (update_ee_own_changes) has run since init_eeram.
bool ownChangesSaved = false;
// The entries written from the service side since the last save: a
// tunable the program also sets itself counts as a user's change then.
std::vector<bool> writtenSinceSave;

// What the tunables file may hold for an entry: its name and, for a real or
// an integer, the limits of its tunable.
struct EntryRule {
    char name[96];
    bool limited;
    double lo, hi;
};


uint32_t kindOf(const EeInitEntry& e) { return e.kind & 0xFFFFu; }

// Bytes of an entry in the file; 0 for a kind the file does not hold.
uint32_t entryBytes(const EeInitEntry& e) {
    switch (kindOf(e)) {
        case EE_REAL:
        case EE_INTEGER:
        case EE_VKBOOLEAN:
        case EE_VKTIMER: return 4;
        case EE_STRNG: return kStrCellBytes;
        case EE_MOEDATE: return kEeDateBytes;
        case EE_STRUCT: return (e.kind >> 16) & 0xFFu;
        default: return 0;
    }
}

bool isWord(uint32_t kind) { return kind <= EE_VKTIMER; }

uint32_t word(const void* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Copies a value between a default, a saved copy and a live cell by the
// rule of its kind: one word, or the whole cell.
void copyValue(const EeInitEntry& e, void* to, const void* from) {
    const uint32_t kind = kindOf(e);
    if (isWord(kind)) std::memcpy(to, from, 4);
    else if (kind == EE_STRNG) std::memcpy(to, from, kStrCellBytes);
    else if (kind == EE_STRUCT) std::memcpy(to, from, entryBytes(e));
}

// The entry's default into its saved copy and, with toLive, its live cell.
void applyDefault(const EeInitEntry& e, bool toLive) {
    if (kindOf(e) == EE_MOEDATE) return;
    copyValue(e, e.saved, e.dflt);
    if (toLive && e.live) copyValue(e, e.live, e.dflt);
}

void textCopy(char* to, const char* from, int size) {
    std::strncpy(to, from, static_cast<size_t>(size) - 1);
    to[size - 1] = '\0';
}

// The default passwords and identifiers, with the identifiers' shadows.
void applyDefaultSystemInfo() {
    for (int t = 0; t < NumServTasks; ++t)
        for (int g = 0; g < kPwdGroups; ++g) kPwdArrays[g][t] = kDefaultPwds[g];
    for (int k = 0; k < kIds; ++k) {
        textCopy(kIdText[k], kIdDefault[k], kEeIdBytes);
        textCopy(kIdShadow[k], kIdDefault[k], kEeIdBytes);
    }
}

void publishIdentifiers() {
    for (int k = 0; k < kIds; ++k) sys_text_set(SysText(APP_CONFIG_ID + k), kIdText[k]);
}

// The name and the limits of every table entry, from the variable
// directory (the table holds the tunables and the service inputs in
// directory order).
const EntryRule* entryRules() {
    static EntryRule* rules = nullptr;
    if (rules != nullptr) return rules;
    uint32_t count = 0;
    while (_eeinittab[count].kind != kEeTableEnd) ++count;
    rules = new EntryRule[count + 1]();
    const DbugTables t = app_dbug_tables();
    uint32_t k = 0;
    for (uint32_t h = 1; h + 1 < num_dbug_hdr; ++h) {
        for (uint32_t r = _dbug_hdr[h].first; r <= _dbug_hdr[h].last && r < num_dbug_var; ++r) {
            const DbugVar& v = _dbug_var[r];
            if (v.access != '*' && v.access != 'S') continue;  // the cells the table saves
            while (_eeinittab[k].kind != kEeTableEnd && _eeinittab[k].live == nullptr) ++k;
            const EeInitEntry& e = _eeinittab[k];
            if (e.kind == kEeTableEnd || e.live != cell_ptr(dbug_cell_of(t, v))) continue;
            EntryRule& rule = rules[k++];
            std::snprintf(rule.name, sizeof rule.name, "%s.%s", _dbug_hdr[h].name, v.name);
            const uint32_t off = ref_offset(v.address);
            if (ref_area(v.address) == AREA_an_tune && off / kAnTuneBytes < num_an_tune) {
                rule.limited = true;
                rule.lo = _an_tune[off / kAnTuneBytes].min;
                rule.hi = _an_tune[off / kAnTuneBytes].max;
            } else if (ref_area(v.address) == AREA_int_tune && off / kIntTuneBytes < num_int_tune) {
                rule.limited = true;
                rule.lo = _int_tune[off / kIntTuneBytes].min;
                rule.hi = _int_tune[off / kIntTuneBytes].max;
            }
        }
    }
    return rules;
}

// Why a value read from the file cannot be its tunable's (a damaged
// file's), into `why`; false when it can be.
bool outOfBounds(const EeInitEntry& e, const EntryRule& rule, char* why, size_t size) {
    switch (kindOf(e)) {
        case EE_REAL: {
            float v;
            std::memcpy(&v, e.saved, 4);
            if (!std::isfinite(v)) {
                std::snprintf(why, size, "%g is not a number", double(v));
                return true;
            }
            if (rule.limited && (v < rule.lo || v > rule.hi)) {
                std::snprintf(why, size, "%g is outside its limits %g .. %g", double(v), rule.lo, rule.hi);
                return true;
            }
            return false;
        }
        case EE_INTEGER: {
            int32_t v;
            std::memcpy(&v, e.saved, 4);
            if (rule.limited && (v < rule.lo || v > rule.hi)) {
                std::snprintf(why, size, "%d is outside its limits %.0f .. %.0f", v, rule.lo, rule.hi);
                return true;
            }
            return false;
        }
        case EE_VKBOOLEAN:
            if (word(e.saved) > 1) {
                std::snprintf(why, size, "0x%08X is no boolean", word(e.saved));
                return true;
            }
            return false;
        // A text is whatever a service write stored: any byte up to its NUL.
        default: return false;
    }
}

uint32_t tableBytes() {
    uint32_t n = 0;
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e) n += entryBytes(*e);
    return n;
}

// Exact size of a complete binary file.
uint32_t completeFileBytes() {
    return static_cast<uint32_t>(WriteEEFileHeading(0, kBinaryMode, 1)) + tableBytes() +
           2u * kPwdGroups * NumServTasks + kIds * kEeIdBytes + 4u * static_cast<uint32_t>(getCurvesCount());
}

void reportUnreadable(const char* why) {
    storage_report(kEventStartup, "Initializing EE: Cannot read save-file %s (%s)", ee_file_name(), why);
}

// Opens the file and checks its heading as start-up does: 2 binary, 1 text
// (fd open in both), 0 invalid and -1 missing (fd closed).
int openAndCheck(int* fd) {
    const char* why = "";
    *fd = storage_open_read(ee_file_name(), &why);
    if (*fd < 0) {
        *fd = 0;
        ExistingEEFile = 0;
        _eeMOEDATE[0] = '\0';
        reportUnreadable(why);
        storage_report(kEventStartup, "Initializing EE: Creating new save-file: %s", ee_file_name());
        return 0;
    }
    if (*fd == 0) {
        ExistingEEFile = 0;
        _eeMOEDATE[0] = '\0';
        storage_report(kEventStartup, "Initializing EE: No existing save-file: %s", ee_file_name());
        return -1;
    }
    ExistingEEFile = 1;
    const int mode = ReadValidateEEFileHeading(*fd);
    if (mode == 0) {
        VKOS_CloseFile(*fd);
        _eeMOEDATE[0] = '\0';
        storage_report(kEventStartup, "Initializing EE: Creating new save-file: %s", ee_file_name());
    }
    return mode;
}

// Reads one entry into its saved copy; false on a short read.
bool readEntry(int fd, const EeInitEntry& e) {
    uint8_t buf[256];
    const uint32_t n = entryBytes(e);
    if (n == 0) return true;
    if (VKOS_ReadFile(fd, buf, n) != 1) return false;
    const uint32_t kind = kindOf(e);
    if (isWord(kind)) {
        const uint32_t v = storage_get_be32(buf);
        std::memcpy(e.saved, &v, 4);
    } else {
        std::memcpy(e.saved, buf, n);
        if (kind == EE_MOEDATE)
            fileFingerprint = std::memchr(buf, '\0', kFingerprintAt) == nullptr
                                  ? 0
                                  : (uint32_t{buf[kFingerprintAt]} << 16) | (uint32_t{buf[kFingerprintAt + 1]} << 8) |
                                        buf[kFingerprintAt + 2];
        // A text field always ends in a NUL, whatever the file held.
        if (kind == EE_STRNG || kind == EE_MOEDATE) static_cast<char*>(e.saved)[n - 1] = '\0';
    }
    return true;
}

// The program's own start-up save writes the saved copies, so that a value
// entered but not saved stays out of the file.
bool writeSavedCopies = false;

// Writes one entry, taken from its live cell (the build date for the date
// entry), or from its saved copy in the program's own start-up save.
bool writeEntry(int fd, const EeInitEntry& e) {
    const void* from = writeSavedCopies ? e.saved : e.live;
    uint8_t buf[256] = {};
    const uint32_t n = entryBytes(e);
    if (n == 0) return true;
    const uint32_t kind = kindOf(e);
    if (kind == EE_MOEDATE) {
        textCopy(reinterpret_cast<char*>(buf), _uvMOEDATE, kEeDateBytes);
        if (std::strlen(_uvMOEDATE) < kFingerprintAt) {
            const uint32_t f = ee_fingerprint();
            buf[kFingerprintAt] = static_cast<uint8_t>(f >> 16);
            buf[kFingerprintAt + 1] = static_cast<uint8_t>(f >> 8);
            buf[kFingerprintAt + 2] = static_cast<uint8_t>(f);
        }
    } else if (isWord(kind)) storage_put_be32(buf, word(from));
    else std::memcpy(buf, from, n);
    return VKOS_WriteFile(fd, buf, n) == 1;
}

// True when the live cell differs from the saved copy by the rule of its
// kind (never for the date entry).
bool differs(const EeInitEntry& e) {
    switch (kindOf(e)) {
        case EE_REAL: {
            float l, s;
            std::memcpy(&l, e.live, 4);
            std::memcpy(&s, e.saved, 4);
            return l != s;
        }
        case EE_INTEGER:
        case EE_VKBOOLEAN:
        case EE_VKTIMER: return word(e.live) != word(e.saved);
        case EE_STRNG:
            return std::strncmp(static_cast<const char*>(e.live), static_cast<const char*>(e.saved), kStrCellBytes) !=
                   0;
        case EE_STRUCT: return std::memcmp(e.live, e.saved, entryBytes(e)) != 0;
        default: return false;
    }
}

// Compares the live cell with the saved copy and copies a changed value.
bool takeChange(const EeInitEntry& e) {
    if (kindOf(e) == EE_MOEDATE) {
        if (std::strcmp(_eeMOEDATE, _uvMOEDATE) == 0) return false;
        textCopy(_eeMOEDATE, _uvMOEDATE, kEeDateBytes);
        return true;
    }
    if (!differs(e)) return false;
    copyValue(e, e.saved, e.live);
    return true;
}

// A storage message whose console line also gives the system's reason
// (the errno `err`); the event keeps the text alone.
void reportWithReason(int code, int err, const char* format, ...) __attribute__((format(printf, 3, 4)));
void reportWithReason(int code, int err, const char* format, ...) {
    char text[256];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    std::printf("%s (%s)\n", text, std::strerror(err));
    SendAppEvent(static_cast<uint32_t>(code), text);
}

// An open name that holds a directory: it opens, but its first read fails.
bool isDirectory(int fd) {
    char first;
    return VKOS_ReadFileBytes(fd, &first, 1) < 0;
}

// Whatever stands at the temporary name goes first, so that the file can
// be created anew: a link (to a file, a directory or nothing), a second
// name of a file, a pipe. A directory stays (the save then fails). False,
// with the task's errno, when what is there cannot be removed.
bool clearTempName() {
    errnoSet(0);
    return VKOS_DeleteFile(ee_temp_name()) == 1 || errnoGet() == ENOENT;
}

// The temporary file, created anew and never opened through a link or over
// what exists: writing through a link would write another name's file (the
// tunables file itself, or one outside the root). What takes the name again
// between its clearing and the creation is cleared again, up to
// kCreateAttempts times. The descriptor, or 0 with the task's errno.
int createTemp() {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        if (!clearTempName()) return 0;
        const int fd = VKOS_CreateNewFileWrite(ee_temp_name());
        if (fd != 0 || errnoGet() != EEXIST) return fd;
    }
    return 0;
}

// The platform puts on the drive what this task wrote since its last sync:
// the closed temporary file's data, and after the rename the directory.
// False, with the task's errno, when that failed.
bool platformSync() {
    using SyncFn = int (*)();
    void* sync = VKOS_FindSymbol("is_directory_sync_ee_file_active");
    if (sync == nullptr) return true;
    int r;
    while ((r = reinterpret_cast<SyncFn>(sync)()) > 0) VKOS_SleepMillisec(1);
    return r == 0;
}

// A write that failed: the temporary file goes, the old file stays.
int discard(int fd) {
    VKOS_CloseFile(fd);
    VKOS_DeleteFile(ee_temp_name());
    return 0;
}

// Something is there under the name (a file, or what cannot be read as one).
bool exists(const char* name) {
    const char* why = "";
    const int fd = storage_open_read(name, &why);
    if (fd > 0) VKOS_CloseFile(fd);
    return fd != 0;
}

bool keepRefusedFile(const char* what, const char* from);

// A save interrupted between writing the temporary file and renaming it
// leaves no tunables file but a complete temporary one: it is taken. What
// stands under the name but cannot be read as a file (a directory, a pipe)
// is kept aside first.
void adoptCompleteTemp() {
    const char* why = "";
    const int file = storage_open_read(ee_file_name(), &why);
    bool obstacle = file < 0;
    if (file > 0) {
        obstacle = isDirectory(file);
        why = "not a regular file";
        VKOS_CloseFile(file);
    }
    if (file > 0 && !obstacle) return;
    const int fd = VKOS_OpenFileRead(ee_temp_name());
    if (fd == 0) return;
    uint64_t size = 0;
    VKOS_GetFileSize(fd, &size);
    const bool directory = isDirectory(fd);
    VKOS_seek(fd, 1);
    const bool complete = !directory && ReadValidateEEFileHeading(fd) == kBinaryMode && size == completeFileBytes();
    VKOS_CloseFile(fd);
    if (!complete) {
        if (directory || size == 0) return;
        storage_report(kEventStartup,
                       "Initializing EE: Temporary save-file %s not taken (%llu bytes of %u), no file under %s",
                       ee_temp_name(), static_cast<unsigned long long>(size), completeFileBytes(), ee_file_name());
        keepCutTemp = true;
        return;
    }
    if (obstacle) {
        reportUnreadable(why);
        if (!keepRefusedFile("Refused", ee_file_name())) return;
    }
    if (VKOS_RenameFile(ee_temp_name(), ee_file_name()) == 1)
        storage_report(kEventStartup, "Initializing EE: Adopted complete save-file: %s", ee_temp_name());
}

// After the date entry was read: true when the file's values are this
// build's by its date; else the file is reported and refused.
bool valuesOfThisBuild() {
    if (std::strcmp(_eeMOEDATE, _uvMOEDATE) == 0) return true;
    storage_report(kEventStartup, "Error in ReadEETable(MOEDATE): values of another build date");
    _eeMOEDATE[0] = '\0';
    refused = true;
    storage_report(kEventStartup, "Initializing EE: Creating new save-file: %s", ee_file_name());
    return false;
}

// A file of this build's date that does not name this build's table and
// whose structure is not this table's (`why`): none of its values is
// taken. 0, ReadEETable's result.
int anotherTable(int fd, const char* why) {
    VKOS_CloseFile(fd);
    storage_report(kEventStartup, "Error in ReadEETable(MOEDATE): values of another table");
    storage_report(kEventStartup, "Error in ReadEETable: not this table's structure: %s", why);
    _eeMOEDATE[0] = '\0';
    refused = true;
    storage_report(kEventStartup, "Initializing EE: Creating new save-file: %s", ee_file_name());
    return 0;
}

// Reads the passwords, the identifiers and the curves after the values
// (none when `whole` is false: the file ended before them). Each part read
// whole is taken; the part that a short read cut and every part after it
// take their defaults. What took its defaults, or that
// bytes beyond a whole file were left, or null when the file ended where a
// whole one ends.
const char* readTail(int fd, bool whole) {
    uint16_t pwds[kPwdGroups * NumServTasks];
    for (int g = 0; g < kPwdGroups * NumServTasks && whole; ++g) {
        uint8_t buf[2];
        whole = VKOS_ReadFile(fd, buf, 2) == 1;
        pwds[g] = static_cast<uint16_t>((buf[0] << 8) | buf[1]);
    }
    if (!whole) {
        for (int t = 0; t < NumServTasks; ++t)
            for (int g = 0; g < kPwdGroups; ++g) kPwdArrays[g][t] = kDefaultPwds[g];
    } else {
        for (int g = 0; g < kPwdGroups * NumServTasks; ++g) kPwdArrays[g % kPwdGroups][g / kPwdGroups] = pwds[g];
    }
    const char* cut = whole ? nullptr : "passwords and identifiers take defaults";
    for (int k = 0; k < kIds; ++k) {
        char text[kEeIdBytes];
        if (whole && VKOS_ReadFile(fd, text, kEeIdBytes) == 1) {
            text[kEeIdBytes - 1] = '\0';
            textCopy(kIdText[k], text, kEeIdBytes);
        } else {
            if (cut == nullptr) cut = "identifiers from the cut on take defaults";
            whole = false;
            textCopy(kIdText[k], kIdDefault[k], kEeIdBytes);
        }
        textCopy(kIdShadow[k], kIdText[k], kEeIdBytes);
    }
    if (whole && UpdatePersistantCurves(1, fd) != 0) {
        storage_report(kEventWrite, "Error in ReadEETable(CAL_CUR)");
        return "curves cut short";
    }
    if (cut != nullptr) return cut;
    char beyond;
    return VKOS_ReadFileBytes(fd, &beyond, 1) != 0 ? "bytes beyond a whole file left" : nullptr;
}

// A file none of whose values are taken: closed, the reason reported when
// given (a damaged file of this build), and start-up applies the defaults
// and keeps it aside. 0, ReadEETable's result.
int refuseValues(int fd, const char* damage) {
    VKOS_CloseFile(fd);
    if (damage != nullptr) {
        storage_report(kEventWrite, "Error in ReadEETable: damaged, no value taken: %s", damage);
        _eeMOEDATE[0] = '\0';
        refused = true;
        damaged = true;
        storage_report(kEventStartup, "Initializing EE: Creating new save-file: %s", ee_file_name());
    }
    return 0;
}

// A refused file (`from`: the file, or a temporary file cut short) is
// renamed to the first free "<name>.rejected<n>", never over another file,
// so that a fresh file takes its place and nothing of it is lost. When it
// cannot be kept the console says why and what to do; it then stays, and
// no new file replaces it.
bool keepRefusedFile(const char* what, const char* from) {
    int err = 0;
    for (int n = 1; n <= kMaxKept && err == 0; ++n) {
        // A look at many taken names lets other tasks run between.
        if (n % kNamesPerPause == 0) VKOS_SleepMillisec(10);
        char name[sizeof keptName];
        std::snprintf(name, sizeof name, "%s.rejected%d", ee_file_name(), n);
        if (exists(name)) continue;
        if (VKOS_RenameFile(from, name) == 1) {
            std::memcpy(keptName, name, sizeof keptName);
            storage_report(kEventStartup, "Initializing EE: %s save-file kept as %s", what, name);
            return true;
        }
        err = errnoGet();
    }
    if (err != 0) {
        reportWithReason(kEventWrite, err, "Error keeping the %s save-file %s", what, from);
    } else {
        storage_report(kEventWrite, "Error keeping the %s save-file %s", what, from);
        std::printf("No free name to keep it: %s.rejected1 .. %s.rejected%d are taken\n", ee_file_name(),
                    ee_file_name(), kMaxKept);
    }
    storage_report(kEventWrite, "%s stays and no new file replaces it: move it or the kept files away", from);
    return false;
}

}  // namespace

int storage_open_read(const char* name, const char** why) {
    errnoSet(0);
    const int fd = VKOS_OpenFileRead(name);
    if (fd != 0) return fd;
    const int err = errnoGet();
    if (err == 0 || err == ENOENT) return 0;
    *why = err == hostfs::kNotAFile ? "not a regular file" : std::strerror(err);
    return -1;
}

const char* ee_kept_name() { return keptName; }

uint32_t ee_fingerprint() {
    const uint32_t f = (_eeTableFingerprint ^ (_eeTableFingerprint >> 24)) & 0xFFFFFFu;
    return f != 0 ? f : 1;
}

void storage_report(int code, const char* format, ...) {
    char text[256];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    std::printf("%s\n", text);
    SendAppEvent(static_cast<uint32_t>(code), text);
}

uint32_t storage_get_be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

void storage_put_be32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

int storage_app_line(char* line, unsigned size, const char* end) {
    return std::snprintf(line, size, "Application \"%s\" CODER-generated %s%s", uvAppName, _uvMOEDATE, end);
}

const char* ee_file_name() {
    if (fileName[0] == '\0') std::snprintf(fileName, sizeof fileName, "%s.ee", uvAppName);
    return fileName;
}

const char* ee_temp_name() {
    if (tempName[0] == '\0') std::snprintf(tempName, sizeof tempName, "%s.tmp", ee_file_name());
    return tempName;
}

int hGetLine(int fd, char* buffer, int size) {
    int kept = 0;
    for (int n = 0;; ++n) {
        if (n == kEeLineLimit) {
            buffer[kept] = '\0';
            return 2;
        }
        char c;
        if (VKOS_ReadFile(fd, &c, 1) != 1) {
            buffer[kept] = '\0';
            return 1;
        }
        if (c == '\n') break;
        if (c == '\r') continue;
        if (kept == 0 && (c == ' ' || c == '\t')) continue;
        if (kept < size - 1) buffer[kept++] = c;
    }
    buffer[kept] = '\0';
    return 0;
}

int PgmEEVal(char* destination, const char* source, int length) {
    std::strncpy(destination, source, static_cast<size_t>(length));
    return 0;
}

int ReadValidateEEFileHeading(int fd) {
    char line[kEeLineBytes];
    // A line without its line feed within the bound is no heading line.
    if (hGetLine(fd, line, sizeof line) == 2) line[0] = '\0';
    int mode = 0;
    if (std::strcmp(line, EE_BIN_HEADER) == 0) mode = kBinaryMode;
    else if (std::strcmp(line, EE_TXT_HEADER) == 0) mode = kTextMode;
    if (mode == 0) {
        storage_report(kEventStartup, "Error in ReadValidateEEFileHeading (Cannot read FileMode marker)");
        return 0;
    }
    char expected[kEeLineBytes];
    storage_app_line(expected, sizeof expected, "");
    if (hGetLine(fd, line, sizeof line) == 2) line[0] = '\0';
    if (std::strcmp(line, expected) != 0) {
        storage_report(kEventStartup, "Error in ReadValidateEEFileHeading (Invalid ApplicationName or CoderDate)");
        return 0;
    }
    return mode;
}

int WriteEEFileHeading(int fd, int mode, int dryRun) {
    char line1[kEeLineBytes];
    char line2[kEeLineBytes];
    const int n1 = std::snprintf(line1, sizeof line1, "%s\n", mode == kBinaryMode ? EE_BIN_HEADER : EE_TXT_HEADER);
    const int n2 = storage_app_line(line2, sizeof line2, "\n");
    if (dryRun != 0) return n1 + n2;
    if (VKOS_WriteFile(fd, line1, static_cast<uint32_t>(n1)) != 1) {
        storage_report(kEventWrite, "Error in WriteEETable Heading (FirstLine FileMode)");
        return 1;
    }
    if (VKOS_WriteFile(fd, line2, static_cast<uint32_t>(n2)) != 1) {
        storage_report(kEventWrite, "Error in WriteEETable Heading (SecondLine _uvAppName _uvMOEDATE)");
        return 1;
    }
    return 0;
}

int getCurvesCount() {
    int n = 0;
    for (int c = 0; c < NumPerAdaptCurve; ++c) n += AdaptCurPer[c].count;
    return n;
}

int UpdatePersistantCurves(int mode, int fd) {
    if (getCurvesCount() == 0) return 0;
    if (mode < 0 || mode > 3) {
        storage_report(kEventWrite, "Error in EE Table(CAL_CUR)");
        return 0;
    }
    int result = 0;
    for (int c = 0; c < NumPerAdaptCurve; ++c) {
        for (int v = 0; v < AdaptCurPer[c].count; ++v) {
            float& live = AdaptCurPer[c].values[v];
            uint8_t buf[4];
            if (mode == 0 || mode == 2) {
                uint32_t bits;
                std::memcpy(&bits, &live, 4);
                storage_put_be32(buf, bits);
                if (VKOS_WriteFile(fd, buf, 4) != 1) return 1;
                continue;
            }
            if (VKOS_ReadFile(fd, buf, 4) != 1) return 1;
            const uint32_t bits = storage_get_be32(buf);
            float stored;
            std::memcpy(&stored, &bits, 4);
            if (mode == 1) live = stored;
            else if (stored != live) result = 1;
        }
    }
    return result;
}

int CheckCurves() {
    int fd = 0;
    const int mode = openAndCheck(&fd);
    if (mode <= 0) return -1;
    int result = 0;
    if (getCurvesCount() > 0) {
        // The values, passwords and identifiers before the curves are read past.
        uint32_t skip = tableBytes() + 2u * kPwdGroups * NumServTasks + kIds * kEeIdBytes;
        uint8_t buf[256];
        while (skip > 0) {
            const uint32_t n = skip < sizeof buf ? skip : static_cast<uint32_t>(sizeof buf);
            if (VKOS_ReadFile(fd, buf, n) != 1) break;
            skip -= n;
        }
        result = UpdatePersistantCurves(3, fd);
    }
    VKOS_CloseFile(fd);
    return result;
}

int CheckTallWireVars() {
    for (int k = 0; k < kIds; ++k)
        if (std::strncmp(kIdText[k], kIdShadow[k], kEeIdBytes) != 0) return 1;
    return 0;
}

int ReadEETable() {
    _eeMOEDATE[0] = '\0';
    fileFingerprint = 0;
    int fd = 0;
    const int mode = openAndCheck(&fd);
    refused = mode == 0;
    if (mode <= 0) return 0;
    if (mode != kBinaryMode) {
        VKOS_CloseFile(fd);
        return 0;
    }
    // A file cut short inside the values keeps the values before the cut;
    // the value cut and every one after it take their defaults.
    uint64_t size = 0;
    VKOS_GetFileSize(fd, &size);
    const uint32_t whole = completeFileBytes();
    char sizeWhy[64];
    std::snprintf(sizeWhy, sizeof sizeWhy, "%llu bytes, not %u", static_cast<unsigned long long>(size), whole);
    // The file names this build's table in its date field; one that does
    // not (written by another writer, or by a build with another table) is
    // taken only at a whole file's length, and its values are then judged
    // one by one like those of any file of this build.
    bool named = true;
    uint32_t outside = 0, run = 0, lost = 0;
    const EeInitEntry* cut = nullptr;
    const EntryRule* rules = entryRules();
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e) {
        if (cut == nullptr && !readEntry(fd, *e)) {
            // Only entries with bytes in the file, of the kinds named, can fail.
            storage_report(kEventWrite, "Error in ReadEETable(%s)", kKindName[kindOf(*e)]);
            // Cut before its date matched: nothing shows the file is this build's.
            if (kindOf(*e) == EE_MOEDATE) return refuseValues(fd, sizeWhy);
            cut = e;
        }
        if (cut != nullptr) {
            applyDefault(*e, false);
            ++lost;
            continue;
        }
        if (kindOf(*e) == EE_MOEDATE) {
            if (!valuesOfThisBuild()) return refuseValues(fd, nullptr);
            named = fileFingerprint == ee_fingerprint();
            if (!named && size != whole) return anotherTable(fd, sizeWhy);
        }
        // Values that no tunable can have take their defaults; several in a
        // row show values read from the wrong place.
        char why[96];
        if (!outOfBounds(*e, rules[e - _eeinittab], why, sizeof why)) {
            run = 0;
            continue;
        }
        if (outside++ < kMaxValueReports)
            storage_report(kEventStartup, "Error in ReadEETable(%s): %s: %s; its default is taken",
                           kKindName[kindOf(*e)], rules[e - _eeinittab].name, why);
        applyDefault(*e, false);
        if (++run == kShiftedRun) {
            std::snprintf(why, sizeof why, "%u in a row out of limits", run);
            return named ? refuseValues(fd, why) : anotherTable(fd, why);
        }
    }
    // Damage after the values costs only what it hit.
    const char* const tail = readTail(fd, cut == nullptr);
    VKOS_CloseFile(fd);
    if (outside > kMaxValueReports)
        storage_report(kEventStartup, "Error in ReadEETable: %u more values outside their limits take their defaults",
                       outside - kMaxValueReports);
    if (cut != nullptr) {
        storage_report(kEventWrite, "Error in ReadEETable: cut short inside the values: %s", sizeWhy);
        storage_report(kEventWrite, "Error in ReadEETable: values cut off from %s", rules[cut - _eeinittab].name);
        storage_report(kEventWrite, "Error in ReadEETable: %u values, the %s", lost, tail);
    } else if (tail != nullptr) {
        storage_report(kEventWrite, "Error in ReadEETable: damaged after the values: %s", sizeWhy);
        storage_report(kEventWrite, "Error in ReadEETable: values taken; %s", tail);
    }
    if (outside != 0 || tail != nullptr) {
        damaged = true;
        ee_file_dirty = 1;
    }
    return 1;
}

int WriteEETable(int mode, int useDefaults) {
    const uint32_t needed = static_cast<uint32_t>(WriteEEFileHeading(0, mode, 1)) + tableBytes() + kSpaceMargin +
                            4u * static_cast<uint32_t>(getCurvesCount());
    // A cut temporary file found at the start goes aside before its name is
    // written again.
    if (keepCutTemp) {
        if (!keepRefusedFile("Refused", ee_temp_name())) return 0;
        keepCutTemp = false;
    }
    const int fd = createTemp();
    if (fd == 0) {
        reportWithReason(kEventWrite, errnoGet(), "Error opening EE FileName %s", ee_temp_name());
        return 0;
    }
    if (VKDriveSpaceAvailable(needed) != 0) {
        SendAppEvent(kEventWrite, "Insufficient memory space for EE date file");
        char text[64];
        std::snprintf(text, sizeof text, "%u bytes are needed", needed);
        SendAppEvent(kEventWrite, text);
        return discard(fd);
    }
    if (WriteEEFileHeading(fd, mode, 0) != 0) return discard(fd);
    if (mode == kBinaryMode) {
        if (useDefaults != 0) applyDefaultSystemInfo();
        int pause = 0;
        for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e) {
            if (pause > 199) {
                VKOS_SleepMillisec(10);
                pause = 0;
            } else {
                ++pause;
            }
            if (!writeEntry(fd, *e)) {
                storage_report(kEventWrite, "Error in WriteEETable(%s)", kKindName[kindOf(*e)]);
                return discard(fd);
            }
        }
        bool systemFailed = false;
        for (int t = 0; t < NumServTasks && !systemFailed; ++t) {
            uint8_t buf[2 * kPwdGroups];
            for (int g = 0; g < kPwdGroups; ++g) {
                buf[2 * g] = static_cast<uint8_t>(kPwdArrays[g][t] >> 8);
                buf[2 * g + 1] = static_cast<uint8_t>(kPwdArrays[g][t]);
            }
            systemFailed = VKOS_WriteFile(fd, buf, sizeof buf) != 1;
        }
        for (int k = 0; k < kIds; ++k) {
            if (VKOS_WriteFile(fd, kIdText[k], kEeIdBytes) != 1) systemFailed = true;
            textCopy(kIdShadow[k], kIdText[k], kEeIdBytes);
        }
        if (UpdatePersistantCurves(useDefaults != 0 ? 2 : 0, fd) != 0) {
            std::printf("Error in WriteEETable(Adapt REAL value)\n");
            SendAppEvent(kEventWrite, "Error in WriteEETable(CAL_CUR)");
        }
        if (systemFailed) {
            storage_report(kEventWrite, "Error in WriteEETable(system information)");
            return discard(fd);
        }
    }
    if (VKOS_CloseFile(fd) != 1) {
        storage_report(kEventWrite, "Error closing EE file %s", ee_temp_name());
        VKOS_DeleteFile(ee_temp_name());
        return 0;
    }
    // The new file's data is on the drive before it replaces the old one: a
    // power cut then leaves one whole file under the name.
    if (!platformSync()) {
        reportWithReason(kEventWrite, errnoGet(), "Error syncing EE file %s", ee_temp_name());
        VKOS_DeleteFile(ee_temp_name());
        return 0;
    }
    // The new file is complete: a file start-up refused goes aside only now,
    // and one that cannot be kept is not replaced.
    if (keepBeforeReplacing != nullptr && exists(ee_file_name()) &&
        !keepRefusedFile(keepBeforeReplacing, ee_file_name())) {
        VKOS_DeleteFile(ee_temp_name());
        return 0;
    }
    // The rename replaces the old file in one step; until it succeeds the
    // old file stays, and the complete temporary file is kept for start-up.
    if (VKOS_RenameFile(ee_temp_name(), ee_file_name()) != 1) {
        reportWithReason(kEventWrite, errnoGet(), "Error renaming EE file %s", ee_temp_name());
        return 0;
    }
    keepBeforeReplacing = nullptr;
    ExistingEEFile = 1;
    // The new name reaches the drive too; until it has, the save has not
    // ended (its changes stay unsaved and the next save writes again).
    if (!platformSync()) {
        reportWithReason(kEventWrite, errnoGet(), "Error syncing the directory of EE file %s", ee_file_name());
        return 0;
    }
    return 1;
}

int init_eeram() {
    saveRunning = 0;
    savesHeld = false;
    ownChangesSaved = false;
    failedSave.clear();
    writtenSinceSave.clear();
    ee_file_dirty = 0;
    refused = false;
    damaged = false;
    keepBeforeReplacing = nullptr;
    keepCutTemp = false;
    keptName[0] = '\0';
    adoptCompleteTemp();
    ReadEETable();
    int loaded = 0;
    if (std::strcmp(_eeMOEDATE, _uvMOEDATE) == 0) {
        new_application_flag = 0;
        for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e)
            if (e->live) copyValue(*e, e->live, e->saved);
        textCopy(_eeMOEDATE, _uvMOEDATE, kEeDateBytes);
        loaded = 1;
        // A damaged file is kept as it was, and a whole one with the values
        // in force takes its place at once.
        if (damaged) {
            keepBeforeReplacing = "Damaged";
            ee_file_dirty = WriteEETable(kBinaryMode, 0) == 1 ? 0 : 1;
        }
    } else {
        if (refused) keepBeforeReplacing = damaged ? "Damaged" : "Refused";
        new_application_flag = 1;
        for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e) applyDefault(*e, true);
        textCopy(_eeMOEDATE, _uvMOEDATE, kEeDateBytes);
        // The defaults hold also when the fresh file cannot be written.
        applyDefaultSystemInfo();
        ee_file_dirty = WriteEETable(kBinaryMode, 1) == 1 ? 0 : 1;
    }
    publishIdentifiers();
    set_service_pwds();
    return loaded;
}

namespace {
// A tunable that a sampling block writes from its configuration input: the
// program's own change.
bool sampledTunable(const EeInitEntry& e) {
    for (uint32_t k = 0; k < num_samp_presets; ++k)
        if (cell_ptr(_samp_presets[k].tune) == e.live) return true;
    return false;
}

// Saves the changes of the entries `take` accepts (all when null).
int saveChanges(bool (*take)(const EeInitEntry&)) {
    while (saveRunning != 0 || savesHeld) VKOS_SleepMillisec(10);
    saveRunning = 1;
    _SYS_INFO_EE_BUSY = 1;
    bool changed = false;
    int pause = 0;
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e) {
        if (pause > 200) {
            VKOS_SleepMillisec(10);
            pause = 0;
        } else {
            ++pause;
        }
        if ((take == nullptr || kindOf(*e) == EE_MOEDATE || take(*e)) && takeChange(*e)) {
            // The saved copy holds the change now, the file not yet: until a
            // write has ended it counts as unsaved, also for a stop that ends
            // this task before then.
            const size_t k = static_cast<size_t>(e - _eeinittab);
            if (failedSave.size() <= k) failedSave.resize(k + 1, false);
            failedSave[k] = true;
            changed = true;
        }
    }
    int result = 1;
    if (changed || ee_file_dirty != 0 || CheckTallWireVars() != 0 || CheckCurves() != 0) {
        writeSavedCopies = take != nullptr;
        result = WriteEETable(kBinaryMode, 0);
        writeSavedCopies = false;
        ee_file_dirty = result == 1 ? 0 : 1;
        if (result == 1) {
            publishIdentifiers();
            failedSave.clear();
            writtenSinceSave.clear();
        }
    }
    VKOS_SleepMillisec(200);
    _SYS_INFO_EE_BUSY = 0;
    saveRunning = 0;
    return result;
}
}  // namespace

int update_ee() { return saveChanges(nullptr); }

int update_ee_own_changes() {
    const int result = saveChanges(sampledTunable);
    ownChangesSaved = true;
    return result;
}

namespace {
// An entry whose value in force the file does not hold: changed since the
// last save or load, or its save failed or did not end.
bool unsaved(const EeInitEntry& e) {
    const size_t k = static_cast<size_t>(&e - _eeinittab);
    return differs(e) || (k < failedSave.size() && failedSave[k]);
}

// A change of the program's own: a tunable it sets itself, not written
// from the service side since the last save.
bool ownChange(const EeInitEntry& e) {
    const size_t k = static_cast<size_t>(&e - _eeinittab);
    return sampledTunable(e) && !(k < writtenSinceSave.size() && writtenSinceSave[k]);
}
}  // namespace

int ee_unsaved_changes() {
    int n = 0;
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e)
        n += !ownChange(*e) && unsaved(*e) ? 1 : 0;
    return n;
}

int ee_own_changes(char* names, unsigned size) {
    int n = 0;
    size_t used = 0;
    if (size > 0) names[0] = '\0';
    for (const EeInitEntry* e = _eeinittab; ownChangesSaved && e->kind != kEeTableEnd; ++e) {
        if (!ownChange(*e) || !unsaved(*e)) continue;
        if (used < size) {
            const int w = std::snprintf(names + used, size - used, "%s%s", n == 0 ? "" : ", ",
                                        entryRules()[e - _eeinittab].name);
            used += static_cast<size_t>(w);
        }
        ++n;
    }
    return n;
}

void ee_note_written(const void* cell) {
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e) {
        if (e->live != cell) continue;
        const size_t k = static_cast<size_t>(e - _eeinittab);
        if (writtenSinceSave.size() <= k) writtenSinceSave.resize(k + 1, false);
        writtenSinceSave[k] = true;
    }
}

int ee_end_saves(int boundMs) {
    for (int waited = 0; saveRunning != 0 && waited < boundMs; waited += 10) VKOS_SleepMillisec(10);
    const int ended = saveRunning == 0 ? 1 : 0;
    if (ended == 0)
        storage_report(kEventWrite, "Error in update_ee: the save in progress did not end within %d ms", boundMs);
    // Held from here on: a save asked for during the stop waits and ends
    // with its task, before it has taken any change.
    savesHeld = true;
    return ended;
}

void eefile_reset() {
    saveRunning = 0;
    savesHeld = false;
    ownChangesSaved = false;
    failedSave.clear();
    writtenSinceSave.clear();
    refused = false;
    damaged = false;
    keepBeforeReplacing = nullptr;
    keepCutTemp = false;
    fileFingerprint = 0;
    keptName[0] = '\0';
    ee_file_dirty = 0;
    ExistingEEFile = 0;
    new_application_flag = 0;
    _eeMOEDATE[0] = '\0';
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e)
        if (kindOf(*e) != EE_MOEDATE) std::memset(e->saved, 0, entryBytes(*e));
    for (int k = 0; k < kIds; ++k) {
        std::memset(kIdText[k], 0, kEeIdBytes);
        std::memset(kIdShadow[k], 0, kEeIdBytes);
    }
    for (uint16_t* p : kPwdArrays) std::memset(p, 0, sizeof(uint16_t) * NumServTasks);
}
