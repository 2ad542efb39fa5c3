// State and event messages to the platform, task times and load figures.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/system/_MASTER.cells.h"
#include "host/hostkernel.h"
#include "host/hostsym.h"
#include "host/vkplatform.h"
#include "platform/send_evt.h"
#include "platform/vkiodev.h"
#include "platform/vxwsock2.h"
#include "platform/vkos.h"
#include "runtime/mscloads.h"
#include "runtime/rgtask.h"
#include "runtime/sysinfo.h"
#include "tests/support/runtime_fixture.h"

namespace {

using Messages = tc_test::RuntimeFixture;

TEST_F(Messages, FullRingDropsTheNewestAndKeepsTheQueued) {
    hk::runTask([] {
        AppEventInit();
        // Nobody moves messages yet: 59 fit, the rest are dropped and counted.
        for (int i = 0; i < 70; ++i) {
            char text[32];
            std::snprintf(text, sizeof text, "msg %d", i);
            SendAppEvent(3, text);
        }
        EXPECT_EQ(AppEventDrops, 11u);
        EXPECT_EQ(AppEventEmpty(0), 0);
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
    });
    hk::runTicks(400);
    auto msgs = hostplatform::messages();
    ASSERT_EQ(msgs.size(), 59u);
    for (int i = 0; i < 59; ++i) EXPECT_EQ(msgs[static_cast<size_t>(i)].text, "msg " + std::to_string(i));
    hk::runTask([] { EXPECT_EQ(AppEventEmpty(1), 1); });
    // A new start of the ring after a pass round it is empty; so is the ring after an unload.
    hk::runTask([] {
        AppEventInit();
        EXPECT_EQ(AppEventEmpty(0), 1);
        SendAppEvent(3, "queued");
        AppEventUnload();
        EXPECT_EQ(AppEventEmpty(0), 1);
        EXPECT_EQ(AppEventDrops, 0u);
        AppEventInit();
    });
}

TEST_F(Messages, MessagesQueuedBeforeTheMonitorRunsAreKept) {
    hk::runTask([] {
        AppEventInit();
        SendAppState(8, "Application is initializing");
        CurrentAppState = 8;
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
        SendAppEvent(3, "A text that is far longer than the eighty characters of a message text field, cut");
    });
    hk::runTicks(200);
    auto msgs = hostplatform::messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].code, 2u);
    EXPECT_EQ(msgs[0].state, 8u);
    EXPECT_EQ(msgs[0].text, "Application is initializing");
    EXPECT_EQ(msgs[0].appState, 8u);
    EXPECT_EQ(msgs[1].code, 3u);
    EXPECT_EQ(msgs[1].state, 2u);
    EXPECT_EQ(msgs[1].text.size(), 79u);
}

TEST_F(Messages, CodesAndStatesKeepAllTheirBytes) {
    hk::runTask([] {
        AppEventInit();
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
        SendAppEvent(0x01020304, "wide code");
        SendAppState(0x0A0B0C0D, "wide state");
    });
    hk::runTicks(200);
    auto msgs = hostplatform::messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].code, 0x01020304u);
    EXPECT_EQ(msgs[1].state, 0x0A0B0C0Du);
}

TEST_F(Messages, KillOfAnotherSlotsDatagramRowIsReportedAsState3) {
    int32_t r = 0;
    CpuSlot = 2;
    hk::runTask([&] {
        AppEventInit();
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
        r = vxudpKill_WSock(&devtab[4]);
    });
    CpuSlot = 1;
    hk::runTicks(200);
    EXPECT_EQ(r, VKIO_ERROR);
    auto msgs = hostplatform::messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].code, 2u);
    EXPECT_EQ(msgs[0].state, 3u);
    EXPECT_EQ(msgs[0].text, "vxudpKill_WSock: devptr->dvram not valid");
}

uint32_t be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

TEST_F(Messages, TableFillsSlotAfterSlotWhileThePlatformDoesNotEmptyIt) {
    hk::runTask([] {
        AppEventInit();
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
    });
    hk::runTicks(120);
    void* addr = nullptr;
    ASSERT_EQ(VKSymFindByName("_VxSharedMem", &addr), OK);
    const auto* table = static_cast<const uint8_t*>(addr);
    hostplatform::stop();  // its service task no longer empties the table
    hk::runTask([] {
        CurrentAppState = 6;
        for (uint32_t i = 0; i < 3; ++i) SendAppEvent(10 + i, std::string("event ").append(std::to_string(i)).c_str());
    });
    hk::runTicks(2);
    ASSERT_EQ(be32(table), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        const uint8_t* slot = table + 4 + 88 * i;
        EXPECT_EQ(be32(slot), 10 + i) << i;
        EXPECT_EQ(be32(slot + 4), 2u) << i;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(slot + 8)), std::string("event ").append(std::to_string(i))) << i;
    }
    EXPECT_EQ(be32(table + 1764), 6u);
    // Filled to its twenty slots, the table takes no more: a new message is
    // consumed and lost, and the application-state word keeps the state of
    // the last message taken.
    hk::runTask([] {
        for (uint32_t i = 3; i < 20; ++i) SendAppEvent(10 + i, "filling");
    });
    hk::runTicks(2);
    ASSERT_EQ(be32(table), 20u);
    hk::runTask([] {
        CurrentAppState = 9;
        SendAppEvent(99, "one too many");
    });
    hk::runTicks(2);
    EXPECT_EQ(be32(table), 20u);
    EXPECT_EQ(be32(table + 1764), 6u);
    hk::runTask([] { EXPECT_EQ(AppEventEmpty(0), 1); });
    CurrentAppState = 0;
}

TEST_F(Messages, MessageFromInterruptLevel) {
    hk::runTask([] {
        AppEventInit();
        VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
    });
    hk::runTicks(120);
    hk::postInterrupt([] { SendAppEvent(3, "Power Failed!"); });
    hk::runTicks(2);
    auto msgs = hostplatform::messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].text, "Power Failed!");
}

TEST_F(Messages, MissingPlatformTableEndsTheMonitor) {
    hostplatform::stop();
    TASK_ID t = 0;
    hk::runTask([&] {
        AppEventInit();
        t = VKOS_CreateProcess(AppEventMonitor, 8192, 40, "AppEventMonitor", 0);
    });
    EXPECT_EQ(VKOS_GetProcessStatus(t), 0);
}

// CPU time each group's frame takes.
uint64_t g_cost[kNumRateGroups];
template <int G>
void costSlice() { hk::consumeCpu(g_cost[G]); }

TEST_F(Messages, LoadFiguresFollowTheFrameTimes) {
    const uint64_t cost[kNumRateGroups] = {500'000, 2'000'000, 6'000'000, 16'000'000, 4'800'000};
    std::copy(std::begin(cost), std::end(cost), g_cost);
    rg_slices[0] = {costSlice<0>};
    rg_slices[1] = {costSlice<1>};
    rg_slices[2] = {costSlice<2>};
    rg_slices[3] = {costSlice<3>};
    rg_slices[4] = {costSlice<4>};
    ASSERT_EQ(start(), 0u);
    // These slices compute no calibration permissive: the unit at rest has it.
    rtcells::CALMODE_CALPERM_B_NAME() = 1;
    hk::runTicks(2 * 402 + 10);
    const auto& M = cells::_MASTER;
    // Over a 2.01 s load interval: R10 201 frames of 0.5 ms, R20 100 of 2 ms,
    // R40 50 of 6 ms, R80 25 of 16 ms, R160 12 of 4.8 ms, truncated to whole
    // percent; the faster groups' time inside a slower frame is not charged to it.
    EXPECT_EQ(M._SYS_INFO_RG10_LOAD, 5);
    EXPECT_EQ(M._SYS_INFO_RG20_LOAD, 10);
    EXPECT_EQ(M._SYS_INFO_RG40_LOAD, 15);
    EXPECT_EQ(M._SYS_INFO_RG80_LOAD, 19);
    EXPECT_EQ(M._SYS_INFO_RG160_LOAD, 2);
    EXPECT_EQ(M._SYS_INFO_RG5_LOAD, 0);
    EXPECT_EQ(M._SYS_INFO_RG1_LOAD, 0);
    EXPECT_EQ(M._SYS_INFO_M_TOT_LOAD, 51);
    // The idle probe ran in about 60 % of the ticks, scaled by what the groups left.
    // Start-up includes the first tunables save, and the data-log writer
    // wakes every 100 ms: both take ticks from the idle probe (the save
    // pauses 10 ms after every 200 tunables, so the figure follows their count),
    // and so does the serial port's set-up (100 ms before its settings)
    // and the start of each Modbus instance (20 ms each).
    EXPECT_EQ(M._SYS_INFO_IDLE_TIME, 24);
    ASSERT_EQ(stop(), 0u);
}

TEST_F(Messages, TaskTimesChargeFasterGroupsToSlowerOnes) {
    uint32_t keys[10] = {};
    hk::runTask([&] {
        ASSERT_EQ(InitTaskTimes(10, keys), 1);
        // A 20 ms frame of 3 ms during which a 10 ms frame of 1 ms ran.
        StartTaskTimeForRG(3);
        hk::consumeCpu(1'000'000);
        StartTaskTimeForRG(2);
        hk::consumeCpu(1'000'000);
        EndTaskTimeForRG(2);
        hk::consumeCpu(1'000'000);
        EndTaskTimeForRG(3);
        UpdateTaskTimes();
        EXPECT_EQ(TaskTimesRG[2].Elapsed, 1000u);
        EXPECT_EQ(TaskTimesRG[2].Net, 1000u);
        EXPECT_EQ(TaskTimesRG[3].Elapsed, 3000u);
        EXPECT_EQ(TaskTimesRG[3].Net, 2000u);
        // A group whose frame has not ended contributes nothing.
        StartTaskTimeForRG(4);
        UpdateTaskTimes();
        EXPECT_EQ(TaskTimesRG[4].NetSum, 0u);
        KillTaskTimes(10);
        EXPECT_EQ(GetLoadPercentageForRG(2), 0u);
    });
}

}  // namespace
