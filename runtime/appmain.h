// Start and stop entry points, the clock hooks, slip supervision and the
// module state they share.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

extern uint32_t ApplicationIsNotStopped;
extern uint32_t ApplicationRunning;
extern int32_t ApplicationInitedOK;
extern uint32_t ApplicationIsRunning;
extern TASK_ID RunMasterClockSched;
extern TASK_ID MThread;
extern TASK_ID AppEventMonitorPID;
extern TASK_ID TTYTaskPid;
extern TASK_ID FRTimeTaskPid;
extern TASK_ID _tcpscan;
extern TASK_ID _modSPid[200];
extern TASK_ID _modMPid[200];
extern int32_t SlipSent;
extern char StartupPath[100];
extern SEM_ID app_inited;

uint32_t tRGStart();
uint32_t tRGEnd();
int RgSchedDoRun(long arg);
void RgSchedDoRunHook(long arg);  // RgSchedDoRun in the clock hook's form
void RgSchedDoNotRun(long arg);
void RunMasterClockProcess(long arg);
void _Slip_Error(int rate);
void SlipMonitor(long arg);
void ShutdownApplicationMemory();
void DisconnectMsCanInt();
void enable();

// Exported stubs for the platform.
void _ResumeRateGroups();
void PublishRGFrameCounts();
void GetRGFrameCounts();
void PelkinComStartDPRam();
void mft_broadcast();
void SignalIOPflags();
void StartRTNs();
void _RTN1SignalMFT();
void reset_ombra_modules();
void disableComm();
void restoreComm();
void StopAllSpiSequences();
void init_stest();
int CheckRGFrameCounts();
int ConvertToSlot();
int SendSysMessage(int code, int a, int b, int c);
void key_broadcast();
int key_broadcast_count();
