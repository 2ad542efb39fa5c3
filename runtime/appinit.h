// Application initialisation, block initialisation and the version gate.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

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

uint32_t init_application();
void init_io();
void init_local();
int init_blks();
void RTinit_blks();
void init_service();
void AllRtCanNtwGoPreOperational();
void ttytask(long arg);

int AppVerifyVersionCompatibility();
int AppVersionVerifyCoderCompatibility(char* actual, int actualSize, char* expected, int expectedSize);
