#include "runtime/appmain.h"

#include <cstdio>
#include <cstring>

#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "runtime/mscloads.h"
#include "runtime/neighbours.h"
#include "runtime/rgtask.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"
#include "storage/eefile.h"

uint32_t ApplicationIsNotStopped = 0;
uint32_t ApplicationRunning = 0;
int32_t ApplicationInitedOK = 0;
uint32_t ApplicationIsRunning = 0;
TASK_ID RunMasterClockSched = 0;
TASK_ID MThread = 0;
TASK_ID AppEventMonitorPID = 0;
TASK_ID TTYTaskPid = 0;
TASK_ID FRTimeTaskPid = 0;
TASK_ID _tcpscan = 0;
TASK_ID _modSPid[200];
TASK_ID _modMPid[200];
int32_t SlipSent = 0;
char StartupPath[100];
SEM_ID app_inited = 0;

namespace {
// How long the stop waits for a save of the tunables file in progress: a
// save takes well under a second.
constexpr int kSaveEndWaitMs = 5000;
}  // namespace

uint32_t tRGStart() {
    if (ApplicationIsNotStopped == 1) return 0x80000000u;
    CurrentAppState = 7;
    ApplicationIsNotStopped = 1;
    VKOS_SleepMillisec(200);
    ApplicationRunning = 0;

    AppEventInit();
    AppEventMonitorPID = VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
    VKOS_ResumeProcess(AppEventMonitorPID);

    CurrentAppState = 8;
    SendAppState(8, "Application is initializing");
    app_inited = VKOS_CreateSemaphore("app_inited", 0, 500);
    for (int i = 0; i < 200; ++i) {
        _modSPid[i] = -1;
        _modMPid[i] = -1;
    }
    _tcpscan = -1;
    VKClkConnect(RgSchedDoNotRun, 0);
    VKCpuRqstConnect(CpuIntrHandler, 0);
    VKCpuRqstInit();

    ApplicationInitedOK = static_cast<int32_t>(init_application());
    if (AppVerifyVersionCompatibility() != 0) ApplicationInitedOK = -1;

    if (ApplicationInitedOK != 0) {
        CurrentAppState = 18;
        SendAppState(18, "Application is NOT running");
        VKOS_SleepMillisec(4000);
        TallwireClose();
        return 0x80000000u;
    }

    MThread = VKOS_CreateProcess(SlipMonitor, 4096, 40, "SlipMonitor", 0);
    VKOS_ResumeProcess(MThread);
    RunMasterClockSched = VKOS_CreateProcess(RunMasterClockProcess, 4096, 8, "MasterClockProcess", 0);
    VKOS_SleepMillisec(10);

    VKOS_TaskLock();
    VKClkConnect(RgSchedDoRunHook, 0);
    VKOS_FlushSemaphore(app_inited);
    ApplicationRunning = 1;
    VKOS_TaskUnlock();

    CurrentAppState = 9;
    io_lock(0x8000);
    WatchdogEnable();
    SendAppState(9, "Application is running");
    return 0;
}

uint32_t tRGEnd() {
    if (ApplicationIsNotStopped == 0) {
        std::printf("Application is not running!\n");
        return 0;
    }
    if (_SYS_INFO_STOP_PER == 0 && ApplicationRunning == 1) {
        SendAppState(3, "Can not stop. SYS_INFO->STOP_PER field is FALSE.");
        std::printf("Can not stop. SYS_INFO->STOP_PER field is FALSE.\n");
        return 0x80000000u;
    }
    CurrentAppState = 17;
    SendAppState(17, "Application is stopping");
    ApplicationRunning = 0;
    std::printf("Begin tRGEnd\n");

    AllRtCanNtwGoPreOperational();
    Zarn_application_stop_tasks();
    io_lock(0x7FFF);
    // Unhooking the clock ends the master clock passes and with them the
    // watchdog handshake: a stop asked for is no watchdog time-out.
    WatchdogDisable();
    VKClkDisconnect();
    VKOS_SleepMillisec(200);
    // The tasks that save the tunables file end below: a save in progress
    // ends first, so that its file is whole and its changes are told right.
    ee_end_saves(kSaveEndWaitMs);
    ioDefPathSet(StartupPath);
    _DeleteRateGroups();
    ShutdownApplicationMemory();
    DisconnectMsCanInt();
    if (TTYTaskPid != 0) {
        VN_WaitSpi5Sem();
        VKOS_KillProcess(TTYTaskPid);
        VN_SignalSpi5Sem();
        TTYTaskPid = 0;
    }
    VKOS_SleepMillisec(1000);
    VKCleanup();
    for (int i = 0; i < 200; ++i) {
        if (_modSPid[i] > 0) {
            VKOS_KillProcess(_modSPid[i]);
            _modSPid[i] = 0;
        }
        if (_modMPid[i] > 0) {
            VKOS_KillProcess(_modMPid[i]);
            _modMPid[i] = 0;
        }
    }
    if (_tcpscan > 0) {
        VKOS_KillProcess(_tcpscan);
        _tcpscan = 0;
    }
    TallwireClose();
    DeleteDevs();

    ApplicationIsRunning = 0x98765432u;
    CurrentAppState = 10;
    SendAppState(10, "Application is stopped");
    for (int i = 0; i < 40; ++i) {
        VKOS_SleepMillisec(1000);
        if (AppEventEmpty(1) == 1) break;
    }
    VKOS_CloseSemaphore(app_inited);
    app_inited = 0;
    for (TASK_ID* t : {&AppEventMonitorPID, &MThread, &RunMasterClockSched}) {
        if (*t != 0) VKOS_KillProcess(*t);
        *t = 0;
    }
    // "SlipMonitor" kept writing the running heartbeat until it was killed
    // just now: leave the stopped value for the platform.
    ApplicationIsRunning = 0x98765432u;
    ApplicationIsNotStopped = 0;
    std::printf("tRGEnd Done\n");
    return 0;
}

int RgSchedDoRun(long /*arg*/) {
    UpdateZarnDITimeStamp();
    VKOS_ResumeProcess(RunMasterClockSched);
    return 0;
}

// The clock hook takes a routine without result.
void RgSchedDoRunHook(long arg) { RgSchedDoRun(arg); }

void RgSchedDoNotRun(long /*arg*/) { UpdateClockTime(); }

void RunMasterClockProcess(long /*arg*/) {
    for (;;) {
        MasterClockSched();
        VKOS_SuspendProcess(VKOS_GetCurrentProcessid());
    }
}

void _Slip_Error(int rate) {
    if (SlipSent == 0) SlipSent = rate;
    ApplicationRunning = 0;
    VKClkConnect(RgSchedDoNotRun, 0);
    SendAppState(18, "Application is NOT running");
}

void SlipMonitor(long /*arg*/) {
    VKOS_SleepMillisec(1000);
    _SYS_INFO_RG_SLIP = 0;
    for (;;) {
        if (SlipSent != 0) {
            char text[120];
            std::snprintf(text, sizeof text, "RateGroup%d Slip detected, all I/O is disabled", SlipSent);
            SendAppEvent(6, text);
            std::printf("\n\n");
            std::printf("RateGroup Slip #%d\n", SlipSent);
            std::printf("\n\n");
            SlipSent = 0;
            _SYS_INFO_RG_SLIP = 1;
            AllRgExecutedwMMM = 0;
        }
        ApplicationIsRunning = 0x12345678u;
        VKOS_SleepMillisec(100);
    }
}

void ShutdownApplicationMemory() {
    if (__MASTER_CHASS_2351pid > 0) VKOS_KillProcess(__MASTER_CHASS_2351pid);
    KillTaskTimes(10);
    if (LogEventMonitorPID) VKOS_KillProcess(LogEventMonitorPID);
    CanOpenClose(1);
    VKCanLed2Off();
    if (_COND_MON_NV_MEM_LOG_10465pid) VKOS_KillProcess(_COND_MON_NV_MEM_LOG_10465pid);
    if (_scan_tcpPid) VKOS_KillProcess(_scan_tcpPid);
    if (_DATA_LOG_M_pid) VKOS_KillProcess(_DATA_LOG_M_pid);
    if (DATA_LOG_M_MEMORY_START != nullptr) {
        VKOS_FreeMem(DATA_LOG_M_MEMORY_START, DATA_LOG_M_MEMORY_SIZE);
        DATA_LOG_M_MEMORY_START = nullptr;
    }
    if (FRTimeTaskPid) VKOS_KillProcess(FRTimeTaskPid);
}

void DisconnectMsCanInt() { MSCANBDisconnect(MSCANBInterrupt); }

// Interrupt levels are always enabled on the host; kept as the exported entry.
void enable() {}

void _ResumeRateGroups() {}
void PublishRGFrameCounts() {}
void GetRGFrameCounts() {}
void PelkinComStartDPRam() {}
void mft_broadcast() {}
void SignalIOPflags() {}
void StartRTNs() {}
void _RTN1SignalMFT() {}
void reset_ombra_modules() {}
void disableComm() {}
void restoreComm() {}
void StopAllSpiSequences() {}
void init_stest() {}
int CheckRGFrameCounts() { return 0; }
int ConvertToSlot() { return 0; }
int SendSysMessage(int, int, int, int) { return 1; }

namespace {
int keyBroadcastCalls = 0;
}
void key_broadcast() {
    if (++keyBroadcastCalls > 200) keyBroadcastCalls = 0;
}
int key_broadcast_count() { return keyBroadcastCalls; }
