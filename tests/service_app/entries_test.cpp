// Entry points of the module that the platform calls by name: the display
// cursor controls reach the serial device's bytes on a pseudo-terminal; the
// chassis announcement, the console print flag and the entries that answer
// a fixed value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "platform/ttyvxppc.h"
#include "platform/vkiodev.h"
#include "runtime/app_entries.h"
#include "runtime/appmain.h"
#include "service/TallwireSupport.h"
#include "tests/support/pty_pair.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ModuleEntries : public ::testing::Test {
protected:
    testsupport::PtyPair pty;

    void SetUp() override {
        ASSERT_TRUE(pty.ok() && pty.openPeer());
        hostio::setTtyPath("/tyCo/0", pty.path(0));
        hk::start(hk::ClockMode::Simulated);
        ApplicationRunning = 1;
        int32_t r = -1;
        hk::runTask([&] { r = VKIO_devInit(1); });
        ASSERT_EQ(r, VKIO_DONE);
    }
    void TearDown() override {
        hk::runTask([] { DeleteDevs(); });
        hk::shutdown();
    }
};

TEST_F(ModuleEntries, DisplayControlsPutTheirCursorBytesOnTheDevice) {
    struct Row { const char* what; int32_t (*call)(int dev); Bytes sent; };
    const Row rows[] = {
        {"clear screen", [](int dev) { return clear_screen(dev); }, {1}},
        {"clear line 3", [](int dev) { return clear_line(dev, 3); }, {14}},
        {"cursor to column 5, row 1", [](int dev) { return gotoxy(dev, 5, 1); }, {5 + 128 + 64}},
        {"cursor to column 0, row 0", [](int dev) { return gotoxy(dev, 0, 0); }, {128}},
    };
    for (const Row& r : rows) {
        int32_t result = -1;
        hk::runTask([&] { result = r.call(1); });
        EXPECT_EQ(result, VKIO_DONE) << r.what;
        EXPECT_EQ(pty.read(r.sent.size(), 5000), r.sent) << r.what;
        // A device the table does not hold reports the device's error.
        hk::runTask([&] { result = r.call(ndevs); });
        EXPECT_EQ(result, VKIO_ERROR) << r.what;
    }
}

TEST_F(ModuleEntries, TheChassisIsAnnouncedOncePerNewNumber) {
    testing::internal::CaptureStdout();
    hk::runTask([] {
        putModInitedStatus(2);
        putModInitedStatus(2);
        putModInitedStatus(3);
        putModInitedStatus(2);
    });
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Initializing Chassis 2 Modules...Initializing Chassis 3 Modules...Initializing Chassis 2 Modules...");
    EXPECT_EQ(chassisNumber, 2);
    // The dots go to the display, not to the serial line.
    EXPECT_TRUE(pty.read(1, 300).empty());
}

TEST_F(ModuleEntries, FixedAnswersAndFlags) {
    EXPECT_EQ(resync_rmts(), 0);
    EXPECT_EQ(StartActCorrectionBlock(), -1);
    for (int32_t v : {0, 7, -5, 0x7FFFFFFF}) EXPECT_EQ(get_real_time1(v), v);
    tunable_print = 1;
    _check_service_print();
    EXPECT_EQ(tunable_print, 0u);
    _FIRST_DBUG_HDR_INDEX = 0;
    init_first_dbug_service();
    EXPECT_EQ(_FIRST_DBUG_HDR_INDEX, 1u);
    // The entries with nothing to do leave the flags as they are.
    tunable_print = 1;
    for (void (*entry)() : {resync_ftios, resync_control, ft_rmt_run, init_ll_ram, reinit_rtc, reset_sio4c,
                            ActCorrReloadResync, Coder_New_App_ee_init, reset_io_modules,
                            KillEthernetStatusMonitorProcess})
        entry();
    EXPECT_EQ(tunable_print, 1u);
    EXPECT_EQ(_FIRST_DBUG_HDR_INDEX, 1u);
    tunable_print = 0;
}

}  // namespace
