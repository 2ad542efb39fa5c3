#include "runtime/sched.h"

#include "app/control/ORVEX12_IO.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/system/_MASTER.cells.h"
#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/mscloads.h"
#include "runtime/neighbours.h"
#include "runtime/rgtask.h"
#include "runtime/sysinfo.h"

int32_t _R10_frame_count, _R20_frame_count, _R40_frame_count, _R80_frame_count, _R160_frame_count;
int32_t _R10_slip_count, _R20_slip_count, _R40_slip_count, _R80_slip_count, _R160_slip_count;
TASK_ID _R10_pid, _R20_pid, _R40_pid, _R80_pid, _R160_pid;
uint32_t TaskCounter_R10, TaskCounter_R20, TaskCounter_R40, TaskCounter_R80, TaskCounter_R160;
uint32_t TaskCounter_R10Z, TaskCounter_R20Z, TaskCounter_R40Z, TaskCounter_R80Z, TaskCounter_R160Z;
uint8_t vl_R10_watchdog, vl_R20_watchdog, vl_R40_watchdog, vl_R80_watchdog, vl_R160_watchdog;
uint32_t sched_move_R10_R20, sched_move_R10_R40, sched_move_R10_R80, sched_move_R10_R160, sched_move_R20_R40,
    sched_move_R20_R80, sched_move_R20_R160, sched_move_R40_R80, sched_move_R40_R160, sched_move_R80_R160;
uint32_t _RGSlipCounter[9];
uint16_t key, OldKey, sKey;
uint32_t RtcSeconds;
float GatherTime;
uint32_t vk_sleep_ticks, vkspl_resched, ll_tick_count, sysclock_ticks, vkspl_sysclock_ticks;
uint32_t TimeOutTimer;
uint32_t SuspendLogTime[2];
int RGSuspendValues[8];

// Edge time-stamp base of the discrete inputs (controller I/O drivers).
SysTimeValue TimeStampClockZarn;
uint32_t TimeStampMsCntrZarn;

namespace {

struct Group {
    const char* name;
    VKOS_ENTRY entry;
    uint32_t stack;
    int priority;
    int32_t firstRelease;
    int32_t reload;
    int periodMs;
    int code;
    uint32_t timeIndex;
    uint16_t keyBefore;
    int32_t* frame;
    int32_t* slip;
    TASK_ID* pid;
    uint32_t* counter;
    uint32_t* expected;
    uint8_t* releases;
    uint32_t* flags[4];  // copy flags raised at release
    void (*gather)();
};

Group groups[kNumRateGroups] = {
    {"_R10", _R10_TASK, 32960, 11, 4, 2, 10, 7, 2, 0x0707, &_R10_frame_count, &_R10_slip_count, &_R10_pid,
     &TaskCounter_R10, &TaskCounter_R10Z, &vl_R10_watchdog, {}, _R10_iogather},
    {"_R20", _R20_TASK, 33308, 12, 6, 4, 20, 6, 3, 0x0706, &_R20_frame_count, &_R20_slip_count, &_R20_pid,
     &TaskCounter_R20, &TaskCounter_R20Z, &vl_R20_watchdog, {&sched_move_R10_R20}, _R20_iogather},
    {"_R40", _R40_TASK, 33344, 13, 10, 8, 40, 5, 4, 0x0705, &_R40_frame_count, &_R40_slip_count, &_R40_pid,
     &TaskCounter_R40, &TaskCounter_R40Z, &vl_R40_watchdog, {&sched_move_R10_R40, &sched_move_R20_R40}, nullptr},
    {"_R80", _R80_TASK, 32768, 14, 18, 16, 80, 4, 5, 0x0704, &_R80_frame_count, &_R80_slip_count, &_R80_pid,
     &TaskCounter_R80, &TaskCounter_R80Z, &vl_R80_watchdog,
     {&sched_move_R10_R80, &sched_move_R20_R80, &sched_move_R40_R80}, _R80_iogather},
    {"_R160", _R160_TASK, 32804, 15, 34, 32, 160, 3, 6, 0x0703, &_R160_frame_count, &_R160_slip_count, &_R160_pid,
     &TaskCounter_R160, &TaskCounter_R160Z, &vl_R160_watchdog,
     {&sched_move_R10_R160, &sched_move_R20_R160, &sched_move_R40_R160, &sched_move_R80_R160}, nullptr},
};

void exchangeSysInfo() {
    cells::_MASTER._SYS_INFO_SYS_FLT = static_cast<int32_t>(_SYS_INFO_FAULT);
    cells::_MASTER._SYS_INFO_S_PWD = static_cast<int32_t>(_SYS_INFO_S_PWD);
    cells::_MASTER._SYS_INFO_C_PWD = static_cast<int32_t>(_SYS_INFO_C_PWD);
    cells::_MASTER._SYS_INFO_EE_BUSY = static_cast<int32_t>(_SYS_INFO_EE_BUSY);
    cells::_MASTER._SYS_INFO_RG_SLIP = static_cast<int32_t>(_SYS_INFO_RG_SLIP);
    _SYS_INFO_STOP_PER = rtcells::CALMODE_CALPERM_B_NAME();
    _SYS_INFO_LOCK_PER = rtcells::CALMODE_CALPERM_B_NAME();
    _SYS_INFO_UPDATE_EE = static_cast<uint32_t>(cells::MASTER.EE_UPDATE_B_NAME);
    _SYS_INFO_LOCK_IO = static_cast<uint32_t>(cells::MASTER.IOLOCK_CMD_B_NAME);
    cells::_MASTER._SYS_INFO_SYS_ALM = static_cast<int32_t>(_SYS_INFO_ALARM);
    _SYS_INFO_ALM_RST = static_cast<uint32_t>(cells::_MASTER._SYS_INFO_ALM_RST);
}

void r160TimeStamp() {
    const TimeCell tod = cells::ORVEX12_IO.RTC_TOD;
    _SYS_INFO_TS_CLOCK = {tod.sec, tod.usec};
    int k = intLock();
    TimeStampClockZarn = _SYS_INFO_TS_CLOCK;
    TimeStampMsCntrZarn = 0;
    intUnlock(k);
    RtcSeconds = _SYS_INFO_TS_CLOCK.sec;
    _SYS_INFO_TS_SEC_HI = static_cast<uint16_t>(_SYS_INFO_TS_CLOCK.sec >> 16);
    _SYS_INFO_TS_SEC_LO = static_cast<uint16_t>(_SYS_INFO_TS_CLOCK.sec & 0xFFFF);
}

void handleGroup(int gi) {
    Group& g = groups[gi];
    --*g.frame;
    if (*g.frame > 0) {
        if (*g.frame == 1) {
            key = g.keyBefore;
            if (gi == 4) VKIO_fpgaWrUint16(0x8080F024, 1);
        }
        if (gi == 4) {
            switch (*g.frame) {
                case 30: _SYS_INFO_TS_CLOCK_7 = _SYS_INFO_TS_CLOCK; break;
                case 28: _SYS_INFO_TS_CLOCK_6 = _SYS_INFO_TS_CLOCK; break;
                case 24: _SYS_INFO_TS_CLOCK_5 = _SYS_INFO_TS_CLOCK; break;
                case 16: _SYS_INFO_TS_CLOCK_4 = _SYS_INFO_TS_CLOCK; break;
                default: break;
            }
        }
        return;
    }
    if (gi == 0) sKey = 0x0707;
    if (gi == 4) {
        vk_sleep_ticks = 0;
        cells::_MASTER._SYS_INFO_SYS_ALM = static_cast<int32_t>(_SYS_INFO_ALARM);
        vkspl_resched = 0;
    }
    for (uint32_t* f : g.flags)
        if (f) *f = 1;
    *g.frame = g.reload;
    ++*g.releases;

    int resumed = VKOS_ResumeProcess(*g.pid);
    if (resumed == 1 && ++*g.expected == *g.counter) {
        if (*g.slip > 0) --*g.slip;
        StartTaskTimeForRG(g.timeIndex);
    } else {
        *g.slip += 64;
        if (*g.slip > 128) {
            int k = intLock();
            _Slip_Error(g.periodMs);
            cells::_MASTER._SYS_INFO_RG_SLIP = 1;
            intUnlock(k);
        } else {
            *g.expected = *g.counter;
        }
    }
    if (*g.slip > 0) ++_RGSlipCounter[g.code];

    if (g.gather) g.gather();
    if (gi == 4) r160TimeStamp();
}

}  // namespace

void MasterClockSched() {
    OldKey = key;
    VKIO_fpgaWrUint16(0x80805554, 0x5555);
    VKIO_fpgaWrUint16(0x80805554, 0xAAAA);
    VKIO_fpgaWrUint16(0x8080AAAA, 0x5555);
    VKIO_fpgaWrUint16(0x8080AAAA, 0xAAAA);
    exchangeSysInfo();
    key = 0x070A;
    UpdateTaskTimes();
    if (TimeOutTimer++ > 400) {
        TimeOutTimer = 0;
        LoadStep();
    }
    for (int gi = 0; gi < kNumRateGroups; ++gi) handleGroup(gi);
    GatherTime = static_cast<float>(VKIO_fpgaRdUint16(0x8080F028) >> 1);
    for (int ch = 0; ch < 2; ++ch)
        if (ZarnTssUsed[ch] != 0) FilterZarnTss(ch);
    broadcast_io();
}

TASK_ID CreateAllRgTasks() {
    for (Group& g : groups) {
        *g.frame = g.firstRelease;
        *g.slip = 0;
        *g.pid = VKOS_CreateProcess(g.entry, g.stack, g.priority, g.name, 0);
    }
    return _R160_pid;
}

void _DeleteRateGroups() {
    for (Group& g : groups) VKOS_KillProcess(*g.pid);
}

void _SuspendRateGroups() {
    SuspendLogTime[1] = VKGetTimer();
    for (int gi = kNumRateGroups - 1; gi >= 0; --gi)
        RGSuspendValues[groups[gi].code] = VKOS_SuspendProcess(*groups[gi].pid);
}

void broadcast_io() {
    ++ll_tick_count;
    ++vkspl_sysclock_ticks;
    ++sysclock_ticks;
}
