#include "app/sys_vars.h"

#include "runtime/catalogue.h"

StrCell sys_text[NUM_SYS_TEXT];
int32_t num_tiq_files;

namespace {
// The program files of this build, in order.
constexpr const char* kTiqFiles[kNumTiqFiles] = {
    "9902-4411_e.100.TIQ4", "ORVX_HW.100.Module",    "VELTRA_HT.100.Module",
    "CONFIG.100.Module",    "START_SEQ.100.Module",  "SPEED_CTRL.100.Module",
    "CASC_CTRL.100.Module", "VALVE_DMD.100.Module",  "MANUL_VLV.100.Module",
    "EVENTS.100.Module",    "COMMS.100.Module",      "SIM.100.Module",
};
}  // namespace

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
    for (uint32_t f = 0; f < kNumTiqFiles; ++f) sys_text_set(SysText(APP_TIQFILE1 + 2 * f), kTiqFiles[f]);
    num_tiq_files = static_cast<int32_t>(kNumTiqFiles);
}
