#include "runtime/sysinfo.h"

uint32_t _SYS_INFO_FAULT, _SYS_INFO_ALARM, _SYS_INFO_S_PWD, _SYS_INFO_C_PWD, _SYS_INFO_EE_BUSY, _SYS_INFO_RG_SLIP,
    _SYS_INFO_STOP_PER = 1, _SYS_INFO_LOCK_PER = 1, _SYS_INFO_UPDATE_EE, _SYS_INFO_LOCK_IO, _SYS_INFO_ALM_RST,
    _SYS_INFO_A_FAULT, _SYS_INFO_B_FAULT, _SYS_INFO_C_FAULT, _SYS_INFO_PS1_FLT, _SYS_INFO_PS2_FLT,
    _SYS_INFO_FAN_FLT, _SYS_INFO_TEMP_ALM_A, _SYS_INFO_TEMP_ALM_B, _SYS_INFO_TEMP_ALM_C, _SYS_INFO_VKC_OL_EN;
SysTimeValue _SYS_INFO_TS_CLOCK, _SYS_INFO_TS_CLOCK_7, _SYS_INFO_TS_CLOCK_6, _SYS_INFO_TS_CLOCK_5,
    _SYS_INFO_TS_CLOCK_4, _SYS_INFO_TS_CLOCK_3;
uint16_t _SYS_INFO_TS_SEC_HI, _SYS_INFO_TS_SEC_LO;

// Stand-in storage of the application cells until their modules are
// declared in the cell catalogue.
namespace rtcells {
namespace {
// The stop permissive "CALMODE.CALPERM.B_NAME" stands at true until the
// calibration-mode logic computes it.
int32_t words[1] = {1};
}  // namespace
int32_t& CALMODE_CALPERM_B_NAME = words[0];
}  // namespace rtcells
