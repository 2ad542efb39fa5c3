// The alarm/event log: the latched lists hand every event to a ring without
// waiting; the task "LogEventMonitor" appends the ring to "ae_eventlog.csv",
// which is moved to "ae_eventlog.bak" when it reaches 500 KiB.
#pragma once

#include <cstdint>

#include "runtime/appmem.h"

struct LatchAeEntry;

// One queued event: the record (for its text) and its time as it was when
// the event was queued, so that a later reset of the entry cannot change it.
struct LogEventSlot {
    const LatchAeEntry* record;
    TimeCell time;
};

constexpr int kLogEventSlots = 101;
constexpr uint32_t kLogEventMaxKB = 500;

extern LogEventSlot* pLatchAEqueue;  // nullptr until the writer has started
extern int32_t LogEventHead;
extern int32_t LogEventTail;
extern int32_t LogEventLostEvents;

// Queues one event of a latched list; counts it as lost when the ring is
// full or not there yet. Callable from any rate group.
void SendEventlogEntry(const LatchAeEntry* record);
// Start-up: no ring, nothing queued or lost (before the writer is created).
void LogEventInit();
// Body of the task "LogEventMonitor".
void LogEventMonitor(long arg);
// "Jan" .. "Dec" for 1 .. 12, "???" otherwise.
const char* ToMonthString(int month);
// The log line of one event, as written to the file; the length, or -1
// when it does not fit.
int FormatEventLine(char* out, int size, const TimeCell& time, const char* text);
