// System-information words shared by the runtime, the generated logic and
// the service side, and the application cells the master clock pass
// exchanges them with.
#pragma once

#include <cstdint>

struct SysTimeValue {
    uint32_t sec;
    uint32_t usec;
};

extern uint32_t _SYS_INFO_FAULT, _SYS_INFO_ALARM, _SYS_INFO_S_PWD, _SYS_INFO_C_PWD, _SYS_INFO_EE_BUSY,
    _SYS_INFO_RG_SLIP, _SYS_INFO_STOP_PER, _SYS_INFO_LOCK_PER, _SYS_INFO_UPDATE_EE, _SYS_INFO_LOCK_IO,
    _SYS_INFO_ALM_RST, _SYS_INFO_A_FAULT, _SYS_INFO_B_FAULT, _SYS_INFO_C_FAULT, _SYS_INFO_PS1_FLT,
    _SYS_INFO_PS2_FLT, _SYS_INFO_FAN_FLT, _SYS_INFO_TEMP_ALM_A, _SYS_INFO_TEMP_ALM_B, _SYS_INFO_TEMP_ALM_C,
    _SYS_INFO_VKC_OL_EN;
extern SysTimeValue _SYS_INFO_TS_CLOCK, _SYS_INFO_TS_CLOCK_7, _SYS_INFO_TS_CLOCK_6, _SYS_INFO_TS_CLOCK_5,
    _SYS_INFO_TS_CLOCK_4, _SYS_INFO_TS_CLOCK_3;
extern uint16_t _SYS_INFO_TS_SEC_HI, _SYS_INFO_TS_SEC_LO;

// Application cells the runtime and the platform reach: the application
// defines each beside the module that declares the cell, so neither layer
// needs the application's headers. Each returns the cell's storage.
namespace rtcells {
// The calibration permissive (CALMODE.CALPERM.B_NAME): stop and I/O-lock
// permissive of the master clock pass.
uint32_t& CALMODE_CALPERM_B_NAME();

// The cells the device drivers report through (the device table's rows):
// connection state (integer) and set-up fault (boolean).
int32_t& CNFG_SIO_COMM1_PORT_P_STATUS();
uint32_t& CNFG_SIO_COMM1_PORT_FAULT();
int32_t& CNFG_ETHER_NETADDR_1_P_STATUS();
uint32_t& CNFG_ETHER_NETADDR_1_FAULT();
uint32_t& CNFG_ETHER_PORT_5001_FAULT();
int32_t& CNFG_ETHER_NETADDR_2_P_STATUS();
uint32_t& CNFG_ETHER_NETADDR_2_FAULT();
uint32_t& CNFG_ETHER_PORT_5002_FAULT();
uint32_t& SIM_PORT5005_TO_SIM_FAULT();
// The chassis status block's calibration fault, set by the controller I/O
// start when the stored calibration cannot be used.
uint32_t& ORVEX12_IO_CHASS_STATUS_CAL_FLT();
}  // namespace rtcells
