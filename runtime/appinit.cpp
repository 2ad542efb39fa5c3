// Application initialisation, the generated block initialisation and the
// supervision task.
#include "runtime/appinit.h"
#include "storage/datalog.h"

#include <cstdio>
#include <cstring>

#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/TUTORIAL.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/control/CONF_LATCH.cells.h"
#include "app/interface/VLTR_ALMS.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/CASC_R_L.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/control/MPU.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "drivers/ZarnChassisStatus.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "platform/CLOCK.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appmain.h"
#include "runtime/can_startup.h"
#include "runtime/mscloads.h"
#include "runtime/eth_ports.h"
#include "runtime/neighbours.h"
#include "runtime/rgtask.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"
#include "storage/log_evt.h"
#include "storage/nvlog.h"

char OSReleaseDate[40];
char OSVersionNumber[40];
uint32_t VmeMasterController = 0;
uint32_t has_fortran = 0;
uint32_t ZarnTimeStampEn = 0;
TASK_ID __MASTER_CHASS_2351pid = 0;
TASK_ID LogEventMonitorPID = 0;
TASK_ID _COND_MON_NV_MEM_LOG_10465pid = 0;
TASK_ID _scan_tcpPid = 0;
TASK_ID _DATA_LOG_M_pid = 0;
void* DATA_LOG_M_MEMORY_START = nullptr;
uint32_t DATA_LOG_M_MEMORY_SIZE = 0;

uint32_t PentEthPortIP[8];
uint32_t PentEthPortNum[8];
uint32_t _TWCommandUpdateEE = 0;
uint32_t ttyStatus = 0;
uint32_t* ApplicationSDPermissive = nullptr;

uint32_t init_application() {
    std::strncpy(OSReleaseDate, "2016/12/06", sizeof OSReleaseDate);
    std::strncpy(OSVersionNumber, "1.00-0", sizeof OSVersionNumber);
    VmeMasterController = 1;
    init_blk_ram();
    init_eeram();
    init_stest();
    InitEthPorts();
    if (VKGetAccountManagement() != 0) SendAppEvent(3, "Cyber Security Enabled");
    init_devs();
    TTYTaskPid = VKOS_CreateProcess(ttytask, 8192, 40, "ttytask", 0);
    VKOS_ResumeProcess(TTYTaskPid);
    FRTimeTaskPid = VKOS_CreateProcess(FRTimeTask, 4096, 251, "FRTimeTask", 0);
    VKOS_ResumeProcess(FRTimeTaskPid);
    VKIO_devPuts(0, "System Initializing");
    VKIO_devPutc(0, 12);
    init_io();
    SendAppEvent(12, "");
    init_blks();
    init_service();
    has_fortran = 0;
    update_ee();
    return 0;
}

void init_io() {
    VKIO_devPutc(0, 11);
    VKIO_devPuts(0, "Initializing IO Modules ");
    VKIO_devPutc(0, 12);
    ZarnTimeStampEn = 1;
    init_local();
}

void init_local() {
    if (ReadCalValues() != 0 || ValidateCalChecksum() != 0) {
        SetCalDefaults();
        r20::ORVEX12_IO.CHASS_STATUS_CAL_FLT = 1;
        std::printf("Zarn Calibration Fault - Applying default calibration values.\n");
        SendAppEvent(3, "Zarn Calibration Fault - Applying default calibration values.");
    }
    InitZarnAnalogInsFpga(0);
    InitZarnReadbacksFpga();
    InitZarnBackLight();
    InitZarnActOut(6);
    InitZarnProxVThresh(0);
    InitZarnProxVThresh(1);
    for (int ch = 0; ch < 4; ++ch) InitBooleanOutput(ch);
    for (int ch = 4; ch < 7; ++ch) InitAnalogOut(ch);
    MSCANBConnect(MSCANBInterrupt);
}

void RTinit_blks() {
    CreateAllRgTasks();
    InitTaskTimes(10, _CPUAffinity);
    RTinit_pid_contexts();
}

int init_blks() {
    RTinit_blks();
    AllRgExecuted = 0;
    AllRgExecutedwMMM = 0;
    AI_CHANNEL_init_blks();  // analog input channels: sampled function numbers and ranges
    CNFG_AO_init_blks();     // driver records of the analog outputs' readbacks
    CNFG_ACT_init_blks();    // driver record of the actuator output
    AO_CHANNEL_init_blks();  // output channels' service commands over
    ACT_CHANNEL_init_blks();
    CNFG_SPEED_init_blks();  // speed-sensor channels 0 and 1
    SPDC_init_blks();        // speed reference charts: Z00 and B00 active
    HPLM_init_blks();        // valve limiter chart: A00 active
    UNIT_DEMO_init_blks();   // demonstration chart: first step active
    TUTORIAL_init_blks();    // tutorial commands over
    CONF_LATCH_init_blks();  // configuration-error list counters
    VLTR_ALMS_init_blks();   // remote-node list counters
    DATALOG_commands_init_blks();  // data-log commands over
    LogEventInit();          // the alarm/event-log ring, empty until its writer runs
    LogEventMonitorPID = VKOS_CreateProcess(LogEventMonitor, 8192, 40, "LogEventMonitor", 0);
    VKOS_ResumeProcess(LogEventMonitorPID);
    SHUTDOWNS_init_blks();   // shutdown history counter, LED test command, list flags
    ALARMS_init_blks();      // alarm list flags
    ALARMS_led_init_blks();       // lamp-test input over
    MASTER_commands_init_blks();  // master commands over
    SPEED_SIM_init_blks();        // simulator commands over
    CNFG_ENET1_init();       // the Ethernet confirmations start elapsed
    ORVEX12_IO_CHASS_STATUS_init_blks();  // supply monitor and chassis status task
    LoadStaticDATA_LOG_M_Configuration();  // data-log block and static items
    StartDATA_LOG_M();  // data-log writer task
    TaskCounter_R10Z = TaskCounter_R10;
    TaskCounter_R20Z = TaskCounter_R20;
    TaskCounter_R40Z = TaskCounter_R40;
    TaskCounter_R80Z = TaskCounter_R80;
    TaskCounter_R160Z = TaskCounter_R160;
    init_can_protocols();
    CNFG_CAN2_nodes_init_blks();  // remote nodes idle, ids in their records
    CNFG_CAN2_init_blks();        // node initialisation commands over
    _COND_MON_NV_MEM_LOG_10465pid = VKOS_CreateProcess(COND_MON_NV_MEM_LOG_10465, 8192, 40, "COND_MON_NV_MEM_LOG_10465", 0);
    VKOS_ResumeProcess(_COND_MON_NV_MEM_LOG_10465pid);
    IFACE_IN_CASC_init_blks();     // cascade enable/disable and raise/lower commands over
    IFACE_IN_HP_MAN_init_blks();   // manual demand raise/lower commands over
    CASC_R_L_init_blks();          // cascade step-test commands over
    IFACE_IN_init_blks();  // timed commands of the operator interface over
    MOD_init_blks();  // Modbus: "scan_tcp", the simulator link and the map's links 1-3
    MPU_init_blks();  // speed monitor lag coefficient
    init_service_binding();  // change token handle, running control identifier
    InitializeTallwire(1, 0, 0, 0, 0);
    return 0;
}

void init_service() {}
void AllRtCanNtwGoPreOperational() {}

void ttytask(long) {
    VKOS_WaitSemaphore(app_inited, -1);
    VKOS_SleepMillisec(4000);
    _SYS_INFO_PS1_FLT = 0;
    _SYS_INFO_FAN_FLT = 0;
    _SYS_INFO_PS2_FLT = 0;
    ApplicationSDPermissive = static_cast<uint32_t*>(VKOS_FindSymbol("ApplicationShutdownPermissive"));
    if (!ApplicationSDPermissive)
        std::printf("Error finding Task Entry point for ApplicationShutdownPermissive\n");
    uint32_t published = 2;
    bool saveLatch = false, lockLatch = false;
    for (;;) {
        VKOS_SleepMillisec(400);
        CheckTTYControlPrams();
        if (_SYS_INFO_STOP_PER != published) {
            if (ApplicationSDPermissive) *ApplicationSDPermissive = _SYS_INFO_STOP_PER;
            published = _SYS_INFO_STOP_PER;
        }
        ttyStatus = 2;
        if (ApplicationRunning == 0 && ApplicationSDPermissive) *ApplicationSDPermissive = 1;
        if (_TWCommandUpdateEE == 1) {
            _TWCommandUpdateEE = 0;
            update_ee();
        }
        ttyStatus = 3;
        if (_SYS_INFO_UPDATE_EE == 1) {
            if (!saveLatch) {
                saveLatch = true;
                update_ee();
            }
        } else {
            saveLatch = false;
        }
        ttyStatus = 4;
        if (_SYS_INFO_LOCK_IO == 1) {
            if (!lockLatch) {
                lockLatch = true;
                Assert_IOLOCK();
            }
        } else if (lockLatch) {
            RestartControl();
            lockLatch = false;
        }
        ttyStatus = 5;
        if (I2C_ClockNeedsUpdated > 0) {
            I2C_ClockNeedsUpdated = 0;
            SetI2C_Clock();
        }
        ttyStatus = 6;
    }
}
