// The controller clock block RTC of ORVEX12_IO at 10 ms: the local time of
// day from the time service, a check that the clock advances, and the
// setting of the clock from the tunables (date on the set-date command,
// time of day on the set-time command or the synchronisation contact, all
// at once on RST).
#include <cstdint>

#include "app/control/ORVEX12_IO.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "platform/CLOCK.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

// Edge memories of the settable fields and of RST.
enum Edge { kYears, kMonths, kDays, kDow, kHours, kMinutes, kSeconds, kAll, kEdges };

struct ORVEX12_IO_RTC_blocks {
    CalendarTime time;
    int32_t last_ms;
    int32_t forgive;
    uint32_t edge[kEdges];
};
BlockRam<ORVEX12_IO_RTC_blocks> ORVEX12_IO_RTC_st;

// Passes without a change of the millisecond that are forgiven.
constexpr int32_t kForgivenPasses = 400;
constexpr uint32_t kPassUs = 10000;
constexpr uint32_t kUsPerSecond = 1000000;

// One rising-edge command: armed while the command is 0, acts once when it
// is 1 and armed.
bool rising(Edge e, uint32_t command) {
    uint32_t& armed = ORVEX12_IO_RTC_st.edge[e];
    if (command == 0) {
        armed = 1;
        return false;
    }
    if (armed == 0) return false;
    armed = 0;
    return true;
}

}  // namespace

// The block's records under the names the rest of the program knows.
CalendarTime& ORVEX12_IO_RTC_2310_time = ORVEX12_IO_RTC_st.time;
int32_t& ORVEX12_IO_RTC_2310_LastMs = ORVEX12_IO_RTC_st.last_ms;
int32_t& ORVEX12_IO_RTC_2310_Forgive = ORVEX12_IO_RTC_st.forgive;

namespace r10 {

void ORVEX12_IO_clock() {
    const auto& io = ORVEX12_IO;
    CalendarTime& t = ORVEX12_IO_RTC_2310_time;
    io.SET_TIME_OR = bk::OR({io.SET_CLOCK_B_NAME, BI_MUX.TIME_SYNC_B_NAME});
    set_zone(io.ADD_HALF_ADD);
    get_time(&t);
    io.RTC_YEARS = t.year;
    io.RTC_MONTHS = t.month;
    io.RTC_DAYS = t.day;
    io.RTC_HOURS = t.hour;
    io.RTC_MINUTES = t.minute;
    io.RTC_SECONDS = t.second;
    io.RTC_DAYOFWEEK = static_cast<int32_t>(t.weekday);
    io.RTC_F_SECS = static_cast<int32_t>(t.microsec / 1000);
    TimeCell tod{tontp(&t), t.microsec};
    // Advance check: a stalled millisecond is extrapolated by one pass until
    // too many passes have gone by without a change.
    if (io.RTC_F_SECS != ORVEX12_IO_RTC_2310_LastMs) {
        ORVEX12_IO_RTC_2310_LastMs = io.RTC_F_SECS;
        ORVEX12_IO_RTC_2310_Forgive = 0;
        io.RTC_FAULT = 0;
    } else {
        const int32_t before = ORVEX12_IO_RTC_2310_Forgive++;
        if (before > kForgivenPasses) io.RTC_FAULT = 1;
        else tod.usec += kPassUs;
        if (tod.usec >= kUsPerSecond) {
            tod.sec += 1;
            tod.usec -= kUsPerSecond;
        }
    }
    io.RTC_TOD = tod;
    // Date on the set-date command.
    const uint32_t set_date = io.SET_CLOCK_B_NAME;
    if (rising(kYears, set_date)) set_years(io.RTC_YEAR_IN);
    if (rising(kMonths, set_date)) set_months(io.RTC_MONTH_IN);
    if (rising(kDays, set_date)) set_days(io.RTC_DAY_IN);
    if (rising(kDow, set_date)) set_dow(io.RTC_DOW_IN);
    // Time of day on the set-time command or the synchronisation contact.
    const uint32_t set_time = io.SET_TIME_OR;
    if (rising(kHours, set_time)) set_hours(io.RTC_HOUR_IN);
    if (rising(kMinutes, set_time)) set_minutes(io.RTC_MIN_IN);
    if (rising(kSeconds, set_time)) set_seconds(io.RTC_SEC_IN);
    if (rising(kAll, io.RTC_RST)) {
        set_all(io.RTC_YEAR_IN, io.RTC_MONTH_IN, io.RTC_DAY_IN, io.RTC_HOUR_IN, io.RTC_MIN_IN, io.RTC_SEC_IN);
        set_dow(io.RTC_DOW_IN);
    }
}

}  // namespace r10
