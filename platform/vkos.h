// OS services: tasks, semaphores, sleeps and memory, over the real-time kernel.
// Task and signal operations return 1 for success and 0 for failure;
// VKOS_WaitSemaphore returns 0 or -1.
#pragma once

#include <cstdint>

#include "host/vxworks.h"

typedef void (*VKOS_ENTRY)(long arg);

// Interrupt-lock helpers of the runtime's start-up source.
void disableTMR(int* key);
void restoreTMR(int key);

// Tasks
TASK_ID VKOS_CreateProcess(VKOS_ENTRY entry, uint32_t stackSize, int priority, const char* name, long arg);
int VKOS_KillProcess(TASK_ID tid);
int VKOS_SuspendProcess(TASK_ID tid);
int VKOS_SuspendProcess1(TASK_ID tid);
int VKOS_ResumeProcess(TASK_ID tid);
int VKOS_ResumeProcess1(TASK_ID tid);
int VKOS_GetProcessStatus(TASK_ID tid);
int VKOS_SetProcessPriority(TASK_ID tid, int priority);
int VKOS_GetProcessPriority(TASK_ID tid);
TASK_ID VKOS_GetCurrentProcessid();
int VKOS_TaskLock();
int VKOS_TaskUnlock();

// Semaphores
SEM_ID VKOS_CreateSemaphore(const char* name, int initialCount, int maxCount);
int VKOS_WaitSemaphore(SEM_ID sem, int timeoutMs);
int VKOS_SignalSemaphore(SEM_ID sem);
int VKOS_SignalnSemaphore(SEM_ID sem, int n);
int VKOS_FlushSemaphore(SEM_ID sem);
int VKOS_CloseSemaphore(SEM_ID sem);
int VKOS_SemaphoreCount(SEM_ID sem);
SEM_ID VKOS_OpenSemaphore(const char* name);
int VKOS_OpenAndSignalSemaphore(const char* name);
int VKOS_OpenAndSignalnSemaphore(const char* name, int n);
int VKOS_OpenAndWaitSemaphore(const char* name, int timeoutMs);

// Sleeps: the result is that of the last taskDelay.
int VKOS_SleepMillisec(uint32_t ms);
int VKOS_SleepSeconds(uint32_t s);
int VKOS_SleepMinutes(uint32_t m);
int VKOS_SleepHours(uint32_t h);

// Millisecond conversions (exposed for tests).
int VKOS_MsToSleepTicks(uint32_t ms);
int VKOS_MsToWaitTicks(int ms);

// Memory
void* VKOS_GetMem(uint32_t size);
int VKOS_FreeMem(void* p, uint32_t size);
int VKOS_memAvail(uint32_t* freeBytes);
long VKOS_FindMaxMemChunk();
void VKOS_InitMem();
void MallocFail();
