// Application initialisation, block initialisation and the version gate.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

// Date and version of the runtime this module was built with.
inline constexpr char kRuntimeReleaseDate[] = "2016/12/06";
inline constexpr char kRuntimeVersion[] = "1.00-0";
extern char OSReleaseDate[40];
extern char OSVersionNumber[40];
extern uint32_t VmeMasterController;
extern uint32_t has_fortran;
extern uint32_t ZarnTimeStampEn;
extern TASK_ID __MASTER_CHASS_2351pid;
extern TASK_ID LogEventMonitorPID;
extern TASK_ID _COND_MON_NV_MEM_LOG_10465pid;
extern TASK_ID _scan_tcpPid;
extern TASK_ID _DATA_LOG_M_pid;
extern void* DATA_LOG_M_MEMORY_START;
extern uint32_t DATA_LOG_M_MEMORY_SIZE;

// The supervision task: the platform's save request word, the task's
// progress mark (read by the serial device) and the platform's shutdown
// permissive word.
extern uint32_t _TWCommandUpdateEE;
extern uint32_t ttyStatus;
extern uint32_t* ApplicationSDPermissive;

extern const char sys_control_name[];
extern uint32_t serv_ports_used[5];
extern int32_t has_expansion, conf_enable, ServPort0Sel, debug_tunable_enable, using_quick_serv, using_quick_conf,
    rtc_defined, _FIRST_SERV_HDR_INDEX, _FIRST_CONF_HDR_INDEX, ll_expected, FieldBusUsed, HasEgdBlock, _UseKeyPad,
    num_of_act_corrs, TotalNumEGDConsumers, TotalNumEGDProducers;

uint32_t init_application();
void init_io();
void init_local();
// The application's block initialisation (defined with the application):
// every block's initial state, the block tasks and the servers, in a fixed
// order. Called once by init_application.
int init_blks();
// A step of the start-up: noted in the kernel's trace, and a scheduling
// point.
void init_step(const char* what);
// Block initialisation step 3: every sampled tunable's output (SAMP_TUNE,
// SAMP_ITUNE) starts from its stored value, so that the first pass of each
// group sees the stored configuration before any sample.
void preset_sampled_tunables();
void RTinit_blks();
void init_service();
void AllRtCanNtwGoPreOperational();
void ttytask(long arg);

// The runtime's pieces of init_blks.
void init_blks_flags();
void init_blks_service_flags();
void _load_conf_values();

// Serial port (defined with the application's serial-port module):
// sio_control(1) applies every stored setting and opens the port;
// CheckTTYControlPrams applies at most one changed setting per call.
void sio_control(int apply);
void CheckTTYControlPrams();
void set_service_pwds();

int AppVerifyVersionCompatibility();
int AppVersionVerifyCoderCompatibility(char* actual, int actualSize, char* expected, int expectedSize);
