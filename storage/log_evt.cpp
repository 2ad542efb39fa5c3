// The alarm/event log: the ring between the latched lists and the writer
// task, and the writer that appends "ae_eventlog.csv" in batches.
#include "storage/log_evt.h"

#include <cstdio>
#include <cstring>

#include "app/protection/LATCH_AE.h"
#include "platform/CLOCK.h"
#include "platform/TIME.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appmain.h"

// Set by LogEventInit at every start (static storage: zero before it).
LogEventSlot* pLatchAEqueue;
int32_t LogEventHead;
int32_t LogEventTail;
int32_t LogEventLostEvents;

namespace {

constexpr int kLastSlot = kLogEventSlots - 1;  // 100
constexpr int kBatch = 20;
constexpr uint32_t kIdleMs = 10;
constexpr uint32_t kTroubleMs = 2000;
constexpr int kAppEventError = 6;

LogEventSlot g_ring[kLogEventSlots];

int next_slot(int k) { return k + 1 > kLastSlot ? 0 : k + 1; }

// The platform's log directory routine (found by name on platforms of type 10).
using LogPathFn = const char* (*)();

// The event goes to the platform every time; the console line only when
// asked (once per episode of trouble, not on every retry of a full disk).
void report(const char* format, const char* name, bool console) {
    char text[VKOS_PATH_MAX + 40];
    std::snprintf(text, sizeof text, format, name);
    if (console) std::printf("%s\n", text);
    SendAppEvent(kAppEventError, text);
}

}  // namespace

const char* ToMonthString(int month) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "???";
}

void LogEventInit() {
    pLatchAEqueue = nullptr;
    LogEventHead = 0;
    LogEventTail = 0;
    LogEventLostEvents = 0;
}

void SendEventlogEntry(const LatchAeEntry* record) {
    // Producers of three rate groups can preempt each other here: the head
    // and the lost count change only with interrupts locked.
    const int key = intLock();
    const int32_t head = LogEventHead;
    const int32_t tail = LogEventTail;
    if (pLatchAEqueue == nullptr || head + 1 == tail || (tail == 0 && head >= kLastSlot)) {
        ++LogEventLostEvents;
    } else {
        pLatchAEqueue[head] = LogEventSlot{record, record->time()};
        LogEventHead = next_slot(head);
    }
    intUnlock(key);
}

int FormatEventLine(char* out, int size, const TimeCell& time, const char* text) {
    CalendarTime c{};
    tohms(time.sec, &c);
    const int n = std::snprintf(out, static_cast<size_t>(size), "%d-%s-%02d %02d:%02d:%02d.%03d,%s\n", c.year,
                                ToMonthString(c.month), c.day, c.hour, c.minute, c.second,
                                static_cast<int>(time.usec / 1000u), text);
    return n >= 0 && n < size ? n : -1;
}

void LogEventMonitor(long) {
    for (LogEventSlot& s : g_ring) s = LogEventSlot{nullptr, {0, 0}};
    pLatchAEqueue = g_ring;
    VKOS_WaitSemaphore(app_inited, -1);

    char logName[VKOS_PATH_MAX] = "ae_eventlog.csv";
    char bakName[VKOS_PATH_MAX] = "ae_eventlog.bak";
    if constexpr (platform_type == 10) {
        if (auto fn = reinterpret_cast<LogPathFn>(VKOS_FindSymbol("VNPath_GetApplicationLogPath"))) {
            const char* dir = fn();
            VKOS_pathCat(dir, "ae_eventlog.csv", logName);
            VKOS_pathCat(dir, "ae_eventlog.bak", bakName);
        }
    }

    bool trouble = false;
    char line[VKOS_PATH_MAX + 64];
    for (;;) {
        if (LogEventHead == LogEventTail) {
            VKOS_SleepMillisec(trouble ? kTroubleMs : kIdleMs);
            continue;
        }
        const int fd = VKOS_OpenLogFileForAppending(logName, bakName, kLogEventMaxKB);
        if (fd == 0) {
            if (!trouble) {
                trouble = true;
                report("Error opening \"%s\" file!", logName, true);
            }
            VKOS_SleepMillisec(kTroubleMs);
            continue;
        }
        bool failed = false;
        uint32_t batchBytes = 0;  // written this batch, perhaps still in the write cache
        for (int taken = 0; taken < kBatch && LogEventHead != LogEventTail; ++taken) {
            const LogEventSlot& s = pLatchAEqueue[LogEventTail];
            if (s.record != nullptr) {
                const int n = FormatEventLine(line, sizeof line, s.time, s.record->text);
                // A line that does not fit on the drive is not begun, so the
                // file never holds a cut line; the entry stays queued.
                if (n < 0 || VKOS_DriveSpaceAvailable(batchBytes + static_cast<uint32_t>(n), 0) != 1 ||
                    VKOS_WriteFile(fd, line, static_cast<uint32_t>(n)) != 1) {
                    failed = true;
                    break;
                }
                batchBytes += static_cast<uint32_t>(n);
            }
            LogEventTail = next_slot(LogEventTail);
        }
        if (failed) {
            report("Error writing to \"%s\" file!", logName, !trouble);
            trouble = true;
        } else {
            trouble = false;
        }
        // Read and reported under the lock, and only the reported number is
        // taken off, so that an event lost meanwhile is counted next time.
        int key = intLock();
        const int32_t lost = LogEventLostEvents;
        intUnlock(key);
        if (lost > 0 && LogEventHead == LogEventTail) {
            const int n = std::snprintf(line, sizeof line, "%d LATCH_AE events were not captured in \"%s\"\n",
                                        static_cast<int>(lost), logName);
            // A count that did not reach the file stays for the next report.
            if (n > 0 && n < static_cast<int>(sizeof line) &&
                VKOS_DriveSpaceAvailable(batchBytes + static_cast<uint32_t>(n), 0) == 1 &&
                VKOS_WriteFile(fd, line, static_cast<uint32_t>(n)) == 1) {
                key = intLock();
                LogEventLostEvents -= lost;
                intUnlock(key);
            }
        }
        VKOS_CloseFile(fd);
        VKOS_SleepMillisec(trouble ? kTroubleMs : kIdleMs);
    }
}
