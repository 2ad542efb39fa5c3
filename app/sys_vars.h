// The two system modules of the variable directory, _SYS_VARS and
// _APP_VARS: texts of the runtime and the build (and the program-file
// count) instead of application cells.
#pragma once

#include <cstdint>

#include "runtime/appmem.h"

// Text slots of the system modules, in directory order.
enum SysText : uint32_t {
    SYS_PRODUCT_NAME,
    APP_NAME,
    APP_BUILD_DATE,
    APP_CDR_DATE,
    APP_CONFIG_ID,
    APP_CONTROL_ID,
    APP_CUSTOM1,
    APP_CUSTOM2,
    APP_CUSTOM3,
    APP_CUSTOM4,
    APP_TIQFILE1,  // then TIQfile1 Date, TIQfile2, TIQfile2 Date, ... TIQfile12 Date
    NUM_SYS_TEXT = APP_TIQFILE1 + 24
};
constexpr uint32_t kNumTiqFiles = 12;

// The coder's date of this build ("2026-04-20 07.44.46") and its program
// files with their build dates.
extern const char _CdrDate[];
struct TiqDefinition {
    const char* name;
    const char* date;
};
extern const TiqDefinition tiq_definitions[kNumTiqFiles];

extern StrCell sys_text[NUM_SYS_TEXT];
// The "TIQ Program Count" of _APP_VARS: the number of program files.
extern int32_t num_tiq_files;

// Fills the texts the build fixes (application name, build and coder dates,
// program files and their dates) and the identifier defaults; the runtime and the tunables file
// overwrite the others with sys_text_set. ("OSRelease Date" and "OsVersion"
// of _SYS_VARS are the runtime's OSReleaseDate and OSVersionNumber.)
void sys_vars_init();
// Copies a text (at most 39 characters) into a system text slot.
void sys_text_set(SysText slot, const char* text);
