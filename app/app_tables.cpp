// The application's areas and constant tables, derived at compile time from
// the cells the modules declare (app/modules.inc).
#define CAT_CENTRAL 1
#define CAT_DEFINE_VIEWS 1
#include "app/catalogue_app.h"

using cat::AppTables;
using cat::chunk_of;

static_assert(AppTables::check().what == nullptr,
              "the catalogue's declarations are inconsistent (see cat::check_rows, Derive::check)");

namespace {
constexpr uint32_t size_of(cat::Zone z, cat::Kind k) { return AppTables::area_size(chunk_of(z, k)); }
}  // namespace

uint32_t mr_b[size_of(cat::Z_MR, cat::K_B)];
float mr_r[size_of(cat::Z_MR, cat::K_R)];
int32_t mr_i[size_of(cat::Z_MR, cat::K_I)];
TimeCell mr_t[size_of(cat::Z_MR, cat::K_T)];
StrCell mr_c[size_of(cat::Z_MR, cat::K_C)];
uint32_t up_b[size_of(cat::Z_UP, cat::K_B)];
float up_r[size_of(cat::Z_UP, cat::K_R)];
int32_t up_i[size_of(cat::Z_UP, cat::K_I)];
TimeCell up_t[size_of(cat::Z_UP, cat::K_T)];
StrCell up_c[size_of(cat::Z_UP, cat::K_C)];
uint32_t dn_b[size_of(cat::Z_DN, cat::K_B)];
float dn_r[size_of(cat::Z_DN, cat::K_R)];
int32_t dn_i[size_of(cat::Z_DN, cat::K_I)];
TimeCell dn_t[size_of(cat::Z_DN, cat::K_T)];
StrCell dn_c[size_of(cat::Z_DN, cat::K_C)];

const uint32_t NUM_mr_b = size_of(cat::Z_MR, cat::K_B), NUM_mr_r = size_of(cat::Z_MR, cat::K_R),
               NUM_mr_i = size_of(cat::Z_MR, cat::K_I), NUM_mr_t = size_of(cat::Z_MR, cat::K_T),
               NUM_mr_c = size_of(cat::Z_MR, cat::K_C);
const uint32_t NUM_up_b = size_of(cat::Z_UP, cat::K_B), NUM_up_r = size_of(cat::Z_UP, cat::K_R),
               NUM_up_i = size_of(cat::Z_UP, cat::K_I), NUM_up_t = size_of(cat::Z_UP, cat::K_T),
               NUM_up_c = size_of(cat::Z_UP, cat::K_C);
const uint32_t NUM_dn_b = size_of(cat::Z_DN, cat::K_B), NUM_dn_r = size_of(cat::Z_DN, cat::K_R),
               NUM_dn_i = size_of(cat::Z_DN, cat::K_I), NUM_dn_t = size_of(cat::Z_DN, cat::K_T),
               NUM_dn_c = size_of(cat::Z_DN, cat::K_C);

namespace {
constexpr size_t kSysRows = AppTables::fixed_rows(cat::kSysModules);
constexpr size_t kDirRecords = AppTables::kRows + kSysRows + 2;
constexpr size_t kHdrRecords = AppTables::n + cat::kSysModules.size() + 2;
constexpr auto kDirectory = AppTables::make_directory<kDirRecords>(cat::kSysModules);
constexpr auto kHeaders = AppTables::make_headers<kHdrRecords>(cat::kSysModules);
constexpr size_t kSampTunes = AppTables::count_samp(cat::kForeignSampled);
constexpr auto kSamp = AppTables::make_samp<kSampTunes>(cat::kForeignSampled);
constexpr size_t kSampPresetCount = AppTables::count_samp_presets(cat::kForeignSampled);
constexpr auto kSampPresets = AppTables::make_samp_presets<kSampPresetCount>(cat::kForeignSampled);
constexpr auto kDefaults = AppTables::make_defaults();
constexpr auto kUbNames = AppTables::make_ub_names();
constexpr auto kAliases = AppTables::make_aliases();
}  // namespace

// Every module's chunk bases are instantiated here.
extern const cat::Bases* const* const cat_app_bases;
const cat::Bases* const* const cat_app_bases = cat::ForceBases<cat::AppModules>::all;

const DbugVar* const _dbug_var = kDirectory.data();
const uint32_t num_dbug_var = kDirRecords;
const DbugHdr* const _dbug_hdr = kHeaders.data();
const uint32_t num_dbug_hdr = kHdrRecords;
const AnTune* const _an_tune = AppTables::an_tune.data();
const uint32_t num_an_tune = AppTables::kAn;
const IntTune* const _int_tune = AppTables::int_tune.data();
const uint32_t num_int_tune = AppTables::kInt;
const SampTune* const _samp_tunes = kSamp.data();
const uint32_t num_samp_tunes = kSampTunes;
const SampPreset* const _samp_presets = kSampPresets.data();
const uint32_t num_samp_presets = kSampPresetCount;
const TuneDefault* const _tune_defaults = kDefaults.data();
const uint32_t num_tune_defaults = AppTables::kTunables;
const char* const* const UserBlockNames = kUbNames.data();
const uint32_t numUserBlockNames = AppTables::kUb;
const char* const* const UserBlockOutputMappings = kAliases.data();
const uint32_t numUserBlockOutputMappings = AppTables::kAliases;
