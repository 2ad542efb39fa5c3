#include "app/sys_vars.h"

#include "runtime/catalogue.h"

StrCell sys_text[NUM_SYS_TEXT];
int32_t num_tiq_files;

// The coder's date of this build, as the application identifier carries it.
const char _CdrDate[] = "2026-04-20 07.44.46";

// The program files of this build, in order, each with its own build date
// (year/month/day, time and "UTC").
const TiqDefinition tiq_definitions[kNumTiqFiles] = {
    {"9902-4411_e.100.TIQ4", "2026/02/17 20:20:27 UTC"},  {"ORVX_HW.100.Module", "2026/02/17 20:20:27 UTC"},
    {"VELTRA_HT.100.Module", "2026/02/17 20:20:27 UTC"},  {"CONFIG.100.Module", "2026/02/17 20:20:27 UTC"},
    {"START_SEQ.100.Module", "2026/02/17 20:20:27 UTC"},  {"SPEED_CTRL.100.Module", "2026/02/17 20:20:27 UTC"},
    {"CASC_CTRL.100.Module", "2026/02/17 20:20:27 UTC"},  {"VALVE_DMD.100.Module", "2026/02/17 20:20:27 UTC"},
    {"MANUL_VLV.100.Module", "2026/02/17 20:20:27 UTC"},  {"EVENTS.100.Module", "2026/02/17 20:20:27 UTC"},
    {"COMMS.100.Module", "2026/02/17 20:20:27 UTC"},      {"SIM.100.Module", "2026/02/17 20:20:27 UTC"},
};

void sys_text_set(SysText slot, const char* text) {
    if (slot < NUM_SYS_TEXT) str_cell_copy(sys_text[slot], text);
}

void sys_vars_init() {
    for (auto& t : sys_text) t.s[0] = '\0';
    sys_text_set(APP_NAME, "9902-4411_e");
    sys_text_set(APP_BUILD_DATE, "Mon Apr 20 07:44:46 2026");
    sys_text_set(APP_CONFIG_ID, "Dflt Config ID");
    sys_text_set(APP_CONTROL_ID, "Dflt Control ID");
    for (int k = 0; k < 4; ++k) sys_text_set(SysText(APP_CUSTOM1 + k), "NoVal");
    sys_text_set(APP_CDR_DATE, _CdrDate);
    for (uint32_t f = 0; f < kNumTiqFiles; ++f) {
        sys_text_set(SysText(APP_TIQFILE1 + 2 * f), tiq_definitions[f].name);
        sys_text_set(SysText(APP_TIQFILE1 + 2 * f + 1), tiq_definitions[f].date);
    }
    num_tiq_files = static_cast<int32_t>(kNumTiqFiles);
}
