#include "runtime/app_entries.h"

#include <cstdio>

#include "platform/vkiodev.h"
#include "service/TallwireSupport.h"

int32_t chassisNumber = -1;
uint32_t _FIRST_DBUG_HDR_INDEX = 0;

namespace {
constexpr int kDisplayDevice = 0;
constexpr int kControlGotoXY = 11;
constexpr int kControlClearScreen = 12;
constexpr int kControlClearLine = 13;
}  // namespace

void putModInitedStatus(int32_t chassis) {
    if (chassis != chassisNumber) {
        chassisNumber = chassis;
        std::printf("Initializing Chassis %d Modules...", static_cast<int>(chassis));
    }
    VKIO_devPutc(kDisplayDevice, '.');
}

int32_t clear_line(int dev, int line) { return VKIO_devControl(dev, kControlClearLine, line, 0); }
int32_t clear_screen(int dev) { return VKIO_devControl(dev, kControlClearScreen, 0, 0); }
int32_t gotoxy(int dev, int x, int y) { return VKIO_devControl(dev, kControlGotoXY, x, y); }

int32_t resync_rmts() { return 0; }
int32_t StartActCorrectionBlock() { return -1; }
int32_t get_real_time1(int32_t value) { return value; }
void _check_service_print() { tunable_print = 0; }
void init_first_dbug_service() { _FIRST_DBUG_HDR_INDEX = 1; }

void resync_ftios() {}
void resync_control() {}
void ft_rmt_run() {}
void init_ll_ram() {}
void reinit_rtc() {}
void reset_sio4c() {}
void ActCorrReloadResync() {}
void Coder_New_App_ee_init() {}
void reset_io_modules() {}
void KillEthernetStatusMonitorProcess() {}
