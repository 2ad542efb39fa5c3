// Small entry points of the application module that the platform, the
// runtime or an older tool calls by name: the chassis announcement, the
// display cursor controls over the device table, and the entries that have
// nothing to do in this controller.
#pragma once

#include <cstdint>

// The last chassis number announced by putModInitedStatus (-1: none yet).
extern int32_t chassisNumber;
// Directory header from which a debug service starts its walk.
extern uint32_t _FIRST_DBUG_HDR_INDEX;

// Announces "Initializing Chassis %d Modules..." on the console when the
// chassis number is new, and puts a '.' on the display device every call.
void putModInitedStatus(int32_t chassis);

// Display controls of a device: the device's control result.
int32_t clear_line(int dev, int line);
int32_t clear_screen(int dev);
int32_t gotoxy(int dev, int x, int y);

int32_t resync_rmts();              // 0
int32_t StartActCorrectionBlock();  // -1
int32_t get_real_time1(int32_t value);  // its argument
void _check_service_print();        // tunable_print := 0
void init_first_dbug_service();     // _FIRST_DBUG_HDR_INDEX := 1

// Entries with nothing to do here.
void resync_ftios();
void resync_control();
void ft_rmt_run();
void init_ll_ram();
void reinit_rtc();
void reset_sio4c();
void ActCorrReloadResync();
void Coder_New_App_ee_init();
void reset_io_modules();
void KillEthernetStatusMonitorProcess();
