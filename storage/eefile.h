// The tunables file: every tunable of the application, the level passwords,
// the identifiers and the adaptive curves, kept across a restart in the file
// "<application>.ee" of the application directory.
//
// init_eeram loads it at start-up (or applies the defaults and writes a fresh
// file); update_ee copies changed live values into the saved copies and
// rewrites the file. The file is always written to "<name>.tmp" and renamed
// over the old one, so a failed save leaves the previous file as it was.
#pragma once

#include <cstdint>

#include "runtime/appmem.h"

// ---- the table of saved values ------------------------------------------------
// Entry kinds (bits 0-15 of EeInitEntry::kind; bits 16-23 the byte size of a
// structure entry).
enum EeKind : uint32_t {
    EE_REAL = 0,
    EE_INTEGER = 1,
    EE_VKBOOLEAN = 2,
    EE_VKTIMER = 3,
    EE_STRNG = 4,
    EE_MOEDATE = 5,
    EE_STRUCT = 6,
};
constexpr uint32_t kEeTableEnd = 0xFFFFFFFFu;
constexpr uint32_t kEeDateBytes = 28;

struct EeInitEntry {
    uint32_t kind;      // EeKind | byte size << 16 (structures)
    const void* dflt;   // the generated default
    void* saved;        // the value as last read from or written to the file
    void* live;         // the application cell (none for the date entry)
};

// Generated from the cell catalogue (app/ee_tables.cpp): the date entry,
// then every tunable in directory order, then the end record.
extern const EeInitEntry* const _eeinittab;
// A hash of the table's layout (every entry's kind and cell name, in order),
// from the same declarations: a file written by a build with another table
// carries another fingerprint.
extern const uint32_t _eeTableFingerprint;
extern const uint32_t _NumEEREAL, _NumEEINTEGER, _NumEEVKBOOLEAN, _NumEEVKTIMER, _NumEESTRNG;
extern float _eeREAL[];
extern int32_t _eeINTEGER[];
extern uint32_t _eeVKBOOLEAN[];
extern uint32_t _eeVKTIMER[];
extern StrCell _eeSTRNG[];

// ---- build identity ------------------------------------------------------------
extern const char uvAppName[];   // application part number and revision
extern const char _uvMOEDATE[];  // the coder's build date text
extern char _eeMOEDATE[kEeDateBytes];  // the date found in the file, "" when none

// ---- passwords, identifiers, curves --------------------------------------------
constexpr int NumServTasks = 1;
extern uint16_t service_pwds[NumServTasks], debug_pwds[NumServTasks], config_pwds[NumServTasks],
    fault_pwds[NumServTasks], act_corr_pwds[NumServTasks], ee_dnld_pwds[NumServTasks];

constexpr int kEeIdBytes = 32;
extern char ee_ConfigID[kEeIdBytes], ee_ControlID[kEeIdBytes], ee_Custom1[kEeIdBytes], ee_Custom2[kEeIdBytes],
    ee_Custom3[kEeIdBytes], ee_Custom4[kEeIdBytes];
extern char OLDee_ConfigID[kEeIdBytes], OLDee_ControlID[kEeIdBytes], OLDee_Custom1[kEeIdBytes],
    OLDee_Custom2[kEeIdBytes], OLDee_Custom3[kEeIdBytes], OLDee_Custom4[kEeIdBytes];

struct AdaptCurveRec {
    float* values;
    uint32_t unused1;
    uint32_t unused2;
    int32_t count;
};
extern int32_t NumPerAdaptCurve;
extern AdaptCurveRec AdaptCurPer[1];

// ---- flags ---------------------------------------------------------------------
extern int32_t ExistingEEFile;        // 1 once a file was opened for reading or written
extern int32_t new_application_flag;  // 1 when start-up applied the defaults
// 1 while the file on the drive is known not to hold the saved values (a
// save failed, or the file was cut short): the next update_ee rewrites it.
extern int32_t ee_file_dirty;

extern const char* const EE_BIN_HEADER;
extern const char* const EE_TXT_HEADER;

// ---- routines --------------------------------------------------------------------
// Start-up load. 1 when the file of this build was loaded, 0 when the
// defaults were applied.
int init_eeram();
// Saves changed values; 1 when the file holds them afterwards, 0 when a
// needed write failed (it is then retried by the next call). Calls are
// serialised: a second caller waits for the first.
int update_ee();
// As update_ee, but takes only the changes the program makes itself (the
// tunables its sampling blocks write from their configuration inputs); a
// value entered from the service side stays unsaved until a save. The
// supervision task calls it once at every start.
int update_ee_own_changes();
// Writes the whole file (mode 2 binary, else text); useDefaults 1 writes the
// default passwords and identifiers. 1 when the new file is in place.
int WriteEETable(int mode, int useDefaults);
int ReadEETable();
int ReadValidateEEFileHeading(int fd);  // 2 binary, 1 text, 0 invalid
int WriteEEFileHeading(int fd, int mode, int dryRun);
int CheckCurves();
int UpdatePersistantCurves(int mode, int fd);
int getCurvesCount();
int CheckTallWireVars();
// Reads one line of at most size - 1 kept characters into buffer (always
// NUL-terminated; a longer line is cut, the rest up to its line feed is
// read and dropped). 0 at a line feed, 1 when a read failed, 2 when no line
// feed came within kEeLineLimit bytes (the reading stops there: a heading
// line is far shorter, so the file is not one of these stores).
constexpr int kEeLineBytes = 150;
constexpr int kEeLineLimit = 1024;
int hGetLine(int fd, char* buffer, int size);
int PgmEEVal(char* destination, const char* source, int length);

// Opens a store's file for reading: its descriptor, 0 when there is no
// such file, -1 when the name holds something that cannot be read as a
// file (a pipe, a device, no permission); *why then tells what.
int storage_open_read(const char* name, const char** why);

// Storage messages: a console line (with its line feed) and the same text
// as an application event of that code.
void storage_report(int code, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The second heading line of the tunables file and the NV log,
// "Application "<name>" CODER-generated <date>", followed by `end` ("" or
// a line feed). The length of the line.
int storage_app_line(char* line, unsigned size, const char* end);

// Big-endian words of the storage files.
uint32_t storage_get_be32(const uint8_t* p);
void storage_put_be32(uint8_t* p, uint32_t v);

// The tunables file's name and its temporary name.
const char* ee_file_name();
const char* ee_temp_name();
// The name under which start-up kept the last file it refused or found
// damaged ("" when none): "<name>.rejected<n>", the first n from 1 that
// names no file. A file of this build shifted inside its values (values in
// a row that their tunables cannot have) is refused whole: every tunable
// takes its default. One cut short after its date has the values before
// the cut taken; the value cut, those after it, the passwords and the
// identifiers take their defaults. One whose damage lies after the values
// (cut short in the passwords, identifiers or curves, or longer than a
// whole file) has its values taken; the part cut and those after it take
// their defaults. One that holds a stray value its tunable cannot have (a
// real that is not a number or lies outside the tunable's limits, an
// integer outside them, a boolean other than 0 or 1) has its sound values
// taken, the others take their defaults; a text is taken as stored. Each
// damage is reported, and a whole file with the values in force is written;
// only once it is complete is the damaged one kept aside and the new one
// renamed in, so a failed write leaves the damaged file under its name.
// A file whose date field does not name this build's table is taken only
// at a whole file's length, and then like one that names it; values in a
// row that their tunables cannot have refuse it as another table's.
const char* ee_kept_name();
// Tunables whose value in force differs from the one last saved or loaded,
// and those whose save failed or did not end: the changes a stop now would
// lose. The tunables the program sets itself (its sampling blocks') count
// only when written from the service side since the last save; otherwise
// ee_own_changes names them.
int ee_unsaved_changes();
// The service side wrote the tunable cell `cell`.
void ee_note_written(const void* cell);
// The same for the tunables the program sets itself, once the start's own
// save has run (before it, the next start sets them again): their number,
// and their cell names, separated by ", ", into `names` (cut to size).
int ee_own_changes(char* names, unsigned size);
// For the stop: waits up to `boundMs` for a save in progress to end, then
// lets no other save start until the next init_eeram. 1 when no save was
// left running; 0 when the bound passed (that save's changes stay counted
// by ee_unsaved_changes).
int ee_end_saves(int boundMs);
// The fingerprint a file of this build carries in the three bytes after
// the NUL of its date field (never 0; a file without one has zeros there,
// or whatever its writer left).
uint32_t ee_fingerprint();

// Back to the load-time state (tests).
void eefile_reset();
