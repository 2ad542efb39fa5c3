// The 80 ms remote-node lists, the reset pulse, the unit-delay commit and
// the 20 ms chassis and shutdown delays through real passes in simulated
// time. The RTD channel and event slices are not part of this rig: a slice
// ahead of the lists sets the event blocks' outputs the way those slices
// leave them.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/analog/AI_ALARM_LEVELS.cells.h"
#include "app/analog/input_slices.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/control_slices.h"
#include "app/control/unit_delays_r80.h"
#include "app/interface/interface_slices.h"
#include "app/remote_io/remote_io.h"
#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "storage/log_evt.h"
#include "tests/support/app_harness.h"
#include "tests/support/event_log_reader.h"

namespace ra_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

// Level-2 trips and level alarms of the RTD node's event blocks, as the RTD
// slices leave them for the lists.
inline std::array<uint32_t, 8> g_rtdTrip{}, g_rtdAlarm1{};
inline void rtdEvents() {
    using namespace r80;
    uint32_t* trips[8] = {&_ub51.TRIP_LVL2_B_NAME.ref(), &_ub52.TRIP_LVL2_B_NAME.ref(), &_ub53.TRIP_LVL2_B_NAME.ref(),
                          &_ub54.TRIP_LVL2_B_NAME.ref(), &_ub55.TRIP_LVL2_B_NAME.ref(), &_ub56.TRIP_LVL2_B_NAME.ref(),
                          &_ub57.TRIP_LVL2_B_NAME.ref(), &_ub58.TRIP_LVL2_B_NAME.ref()};
    uint32_t* alarms[8] = {&_ub51.ALARM_LVL1_B_NAME.ref(), &_ub52.ALARM_LVL1_B_NAME.ref(),
                           &_ub53.ALARM_LVL1_B_NAME.ref(), &_ub54.ALARM_LVL1_B_NAME.ref(),
                           &_ub55.ALARM_LVL1_B_NAME.ref(), &_ub56.ALARM_LVL1_B_NAME.ref(),
                           &_ub57.ALARM_LVL1_B_NAME.ref(), &_ub58.ALARM_LVL1_B_NAME.ref()};
    for (int k = 0; k < 8; ++k) {
        *trips[k] = g_rtdTrip[k];
        *alarms[k] = g_rtdAlarm1[k];
    }
}
inline void unitDelays80() {
    r80::unit_delays_store();
    r80::unit_delays_commit();
}
inline bool g_defaults = false;
inline void defaultsOnce() {
    if (g_defaults) return;
    g_defaults = true;
    tc_test::loadTunableDefaults();
}

using tc_test::LogRow;

class RemoteRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        g_defaults = false;
        g_rtdTrip.fill(0);
        g_rtdAlarm1.fill(0);
        useSlices(R10, {defaultsOnce, r10::ORVEX12_IO_clock});
        useSlices(R20, {_R20_TASK_7});
        useSlices(R80, {_R80_TASK_1, _R80_TASK_2, rtdEvents, _R80_TASK_12, _R80_TASK_18, _R80_TASK_21, unitDelays80});
    }
    // Starts with the remote nodes in use and runs past the reset pulse of
    // the start.
    void start(bool nodesInUse = true) {
        startApp();
        setCell("CNFG_CAN2.ENA_VL.OR", nodesInUse ? 1 : 0);
        runPasses(R80, 30);
    }
    // The remote-node reset as the network block gives it: held for a pass.
    void resetLists() {
        setCell("CNFG_CAN2.VL_RST.IN_2", 1);
        runPasses(R80, 1);
        setCell("CNFG_CAN2.VL_RST.IN_2", 0);
        runPasses(R80, 1);
    }
    int passesUntil(int group, const std::string& name, uint32_t value, int limit) {
        for (int k = 1; k <= limit; ++k) {
            runPasses(group, 1);
            if (boolean(name) == value) return k;
        }
        return 0;
    }
    long long ms(const std::string& name) {
        const TimeCell* t = static_cast<TimeCell*>(cell(name));
        return static_cast<long long>(t->sec) * 1000 + t->usec / 1000;
    }
    // The event-log rows, read back by Python's csv module once the writer
    // has caught up.
    std::vector<LogRow> eventLog() {
        EXPECT_TRUE(hk::runUntil([] { return LogEventHead == LogEventTail; }, 2000));
        runPasses(R10, 2);
        return tc_test::readEventLog();
    }
    static int count(const std::vector<LogRow>& rows, const std::string& what) { return tc_test::countRows(rows, what); }
};

}  // namespace ra_test
