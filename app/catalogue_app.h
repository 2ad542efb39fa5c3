// The application's catalogue: every module registered in app/modules.inc,
// the two system modules, and the derivation of the application's tables.
// Included only by the application's table units (app_tables.cpp,
// cross_rate.cpp), which define CAT_CENTRAL first.
#pragma once

#include "runtime/catalogue_central.h"

namespace cat_app_reg {
inline constexpr int kBase = __COUNTER__;
}
#include "app/modules.inc"
namespace cat_app_reg {
inline constexpr int kEnd = __COUNTER__;
}

#include "app/sys_vars.h"

namespace cat {

using AppModules = reg::Collect<AppCat, cat_app_reg::kBase + 1, cat_app_reg::kEnd>::type;
using AppTables = Derive<AppModules>;

template <>
struct CatalogueOf<AppCat> {
    using Tables = AppTables;
    static constexpr AreaSet areas = {
        {mr_b, up_b, dn_b}, {mr_r, up_r, dn_r}, {mr_i, up_i, dn_i}, {mr_t, up_t, dn_t}, {mr_c, up_c, dn_c},
    };
};

// ---- the system modules ------------------------------------------------------------
constexpr CellRef sys_text_ref(uint32_t slot) { return cell_ref(AREA_sys_text, slot * kStrCellBytes); }

inline constexpr FixedRec kSysVars[] = {
    {"Product Name", 'C', sys_text_ref(SYS_PRODUCT_NAME)},
    // The runtime's own texts (runtime/appinit.h).
    {"OSRelease Date", 'C', cell_ref(AREA_os_text, 0)},
    {"OsVersion", 'C', cell_ref(AREA_os_text, kStrCellBytes)},
};

#define CAT_TIQ_FILE(N)                                                     \
    {"TIQfile" #N, 'C', sys_text_ref(APP_TIQFILE1 + 2 * ((N) - 1))},        \
    {"TIQfile" #N " Date", 'C', sys_text_ref(APP_TIQFILE1 + 2 * ((N) - 1) + 1)},
inline constexpr FixedRec kAppVars[] = {
    {"App Name", 'C', sys_text_ref(APP_NAME)},
    {"App Build Date", 'C', sys_text_ref(APP_BUILD_DATE)},
    {"CDR Date", 'C', sys_text_ref(APP_CDR_DATE)},
    {"ConfigID", 'C', sys_text_ref(APP_CONFIG_ID)},
    {"ControlID", 'C', sys_text_ref(APP_CONTROL_ID)},
    {"Custom1", 'C', sys_text_ref(APP_CUSTOM1)},
    {"Custom2", 'C', sys_text_ref(APP_CUSTOM2)},
    {"Custom3", 'C', sys_text_ref(APP_CUSTOM3)},
    {"Custom4", 'C', sys_text_ref(APP_CUSTOM4)},
    // An integer, so it is typed 'I' (read as a text it would show nothing).
    {"TIQ Program Count", 'I', cell_ref(AREA_sys_int, 0)},
    CAT_TIQ_FILE(1) CAT_TIQ_FILE(2) CAT_TIQ_FILE(3) CAT_TIQ_FILE(4) CAT_TIQ_FILE(5) CAT_TIQ_FILE(6)
    CAT_TIQ_FILE(7) CAT_TIQ_FILE(8) CAT_TIQ_FILE(9) CAT_TIQ_FILE(10) CAT_TIQ_FILE(11) CAT_TIQ_FILE(12)
};
#undef CAT_TIQ_FILE

inline constexpr std::array<FixedMod, 2> kSysModules = {{
    {"_SYS_VARS", kSysVars, sizeof(kSysVars) / sizeof(kSysVars[0])},
    {"_APP_VARS", kAppVars, sizeof(kAppVars) / sizeof(kAppVars[0])},
}};

// Sampled tunables whose tunable is not the block's own TUNE: the remote
// cascade setpoint's limits sample the operator interface's tunables, and the
// speed step samples its module's step amount.
inline constexpr std::array<SampSource, 3> kForeignSampled = {{
    {"RMT_CAS", "RMT_CAS_MN", "IFACE_IN_CASC", "QT_RMT_SP_MIN", "A_NAME"},
    {"RMT_CAS", "RMT_CAS_MX", "IFACE_IN_CASC", "QT_RMT_SP_MAX", "A_NAME"},
    {"IFACE_IN_SPEED", "SP_STEP", "IFACE_IN_SPEED", "QT_STEP_AMOUNT", "I_NAME"},
}};

}  // namespace cat
