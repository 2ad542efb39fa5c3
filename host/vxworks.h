// The real-time kernel calls the system uses, provided by the host kernel
// (one emulated CPU, priority scheduling, 5 ms ticks). Names and results
// follow the target kernel's conventions: OK is 0, ERROR is -1.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int STATUS;
typedef long TASK_ID;   // 0 never names a task
typedef long SEM_ID;    // 0 never names a semaphore
typedef uint32_t UINT32;
typedef int32_t INT32;
typedef uint16_t UINT16;
typedef int16_t INT16;
typedef uint8_t UINT8;
typedef unsigned long ULONG;

#ifndef OK
#define OK 0
#endif
#ifndef ERROR
#define ERROR (-1)
#endif

constexpr int WAIT_FOREVER = -1;
constexpr int NO_WAIT = 0;
constexpr int SEM_Q_FIFO = 0;
constexpr int SEM_Q_PRIORITY = 1;
constexpr int VX_FP_TASK = 0x01000000;

// errno values left by failed semaphore calls
constexpr int S_objLib_OBJ_ID_ERROR = 0x3d0001;
constexpr int S_objLib_OBJ_UNAVAILABLE = 0x3d0002;
constexpr int S_objLib_OBJ_DELETED = 0x3d0003;
constexpr int S_objLib_OBJ_TIMEOUT = 0x3d0004;

// A task entry takes ten argument words, as the target kernel passes them.
typedef long (*FUNCPTR)(long, long, long, long, long, long, long, long, long, long);

// Tasks
TASK_ID taskSpawn(const char* name, int priority, int options, size_t stackSize, FUNCPTR entry,
                  long a1 = 0, long a2 = 0, long a3 = 0, long a4 = 0, long a5 = 0, long a6 = 0,
                  long a7 = 0, long a8 = 0, long a9 = 0, long a10 = 0);
STATUS taskDelete(TASK_ID tid);          // 0 deletes the calling task
STATUS taskSuspend(TASK_ID tid);         // 0 suspends the calling task
STATUS taskResume(TASK_ID tid);          // not counted: resuming a task that is not suspended does nothing
bool taskIsSuspended(TASK_ID tid);
bool taskIsReady(TASK_ID tid);
STATUS taskStatusString(TASK_ID tid, char* buf);  // "READY", "PEND", "DELAY", "SUSPEND", "PEND+S", ...
TASK_ID taskIdSelf();                    // 0 outside any task
STATUS taskIdVerify(TASK_ID tid);
STATUS taskPriorityGet(TASK_ID tid, int* priority);
STATUS taskPrioritySet(TASK_ID tid, int priority);
const char* taskName(TASK_ID tid);       // nullptr when no such task
TASK_ID taskNameToId(const char* name);  // ERROR (-1) when none
STATUS taskLock();
STATUS taskUnlock();
STATUS taskDelay(int ticks);             // 0 yields to tasks of equal priority

// Interrupt lock: nestable, per task context; interrupt handlers never run while held.
int intLock();
void intUnlock(int key);
bool intContext();                       // true while an interrupt handler runs

// Counting semaphores
SEM_ID semCCreate(int options, int initialCount);
STATUS semTake(SEM_ID sem, int timeoutTicks);  // -1 forever, 0 poll
STATUS semGive(SEM_ID sem);                    // also from interrupt level
STATUS semFlush(SEM_ID sem);                   // releases the tasks pending now; count stays 0
STATUS semDelete(SEM_ID sem);                  // waiters return ERROR
int semCount(SEM_ID sem);                      // count, or -1 for an invalid id
int semWaiters(SEM_ID sem);                    // tasks pending now

// Clock
ULONG tickGet();
int sysClkRateGet();                           // 200 Hz: one OS tick per 5 ms platform tick

// Memory partition queries (malloc-backed)
typedef struct MemPartStats {
    unsigned long numBytesFree;
    unsigned long numBlocksFree;
    unsigned long maxBlockSizeFree;
    unsigned long numBytesAlloc;
    unsigned long numBlocksAlloc;
} MEM_PART_STATS;
typedef void* PART_ID;
extern PART_ID memSysPartId;
STATUS memPartInfoGet(PART_ID part, MEM_PART_STATS* stats);
long memFindMax();

int errnoGet();
void errnoSet(int value);

// Board library clock hook: routine(arg) is called at interrupt level every 5 ms.
typedef void (*VOIDFUNCPTR)(long);
STATUS VKClkConnect(VOIDFUNCPTR routine, long arg);
STATUS VKClkDisconnect();
// Free-running microsecond counter on the same time base as the ticks.
UINT32 VKGetTimer();
