// Application initialisation, the generated block initialisation and the
// supervision task.
#include "runtime/appinit.h"
#include "storage/datalog.h"

#include <cstdio>
#include <cstring>

#include "host/hostkernel.h"
#include "storage/eefile.h"
#include "drivers/ZarnChassisStatus.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "platform/CLOCK.h"
#include "platform/send_evt.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appmain.h"
#include "runtime/can_startup.h"
#include "runtime/catalogue_tables.h"
#include "runtime/iogather.h"
#include "canopen/CanVersion.h"
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

const char sys_control_name[] = "Zarn 200";
uint32_t serv_ports_used[5];

// Flags of the block initialisation read by the service side and the
// runtime's exported words.
int32_t has_expansion, conf_enable, ServPort0Sel, debug_tunable_enable, using_quick_serv, using_quick_conf,
    rtc_defined, _FIRST_SERV_HDR_INDEX, _FIRST_CONF_HDR_INDEX, ll_expected, FieldBusUsed, HasEgdBlock, _UseKeyPad,
    num_of_act_corrs, TotalNumEGDConsumers, TotalNumEGDProducers;


// The start-up trace: each step of the application and block initialisation
// is noted in the kernel's scheduling trace (kept only while a trace is on),
// between the task creations the kernel notes itself.
// Each step is also a scheduling point: the start runs below the master
// clock, whose tasks must not wait for the whole initialisation.
void init_step(const char* what) {
    hk::traceNote(std::string("init ") + what);
    hk::checkpoint();
}

namespace {
void step(const char* what) { init_step(what); }
}  // namespace

void preset_sampled_tunables() {
    for (uint32_t k = 0; k < num_samp_presets; ++k)
        std::memcpy(cell_ptr(_samp_presets[k].out), cell_ptr(_samp_presets[k].tune), sizeof(uint32_t));
}

uint32_t init_application() {
    step("application 1 version texts");
    std::strncpy(OSReleaseDate, kRuntimeReleaseDate, sizeof OSReleaseDate - 1);
    std::strncpy(OSVersionNumber, kRuntimeVersion, sizeof OSVersionNumber - 1);
    step("application 2 CAN bus master");
    VmeMasterController = 1;
    step("application 3 application memory");
    init_blk_ram();
    step("application 4 tunables file");
    init_eeram();
    step("application 5 self test");
    init_stest();
    step("application 6 Ethernet ports");
    InitEthPorts();
    step("application 7 account management");
    if (VKGetAccountManagement() != 0) SendAppEvent(3, "Cyber Security Enabled");
    step("application 8 device table");
    init_devs();
    step("application 9 supervision task");
    TTYTaskPid = VKOS_CreateProcess(ttytask, 8192, 40, "ttytask", 0);
    VKOS_ResumeProcess(TTYTaskPid);
    step("application 10 idle-time task");
    FRTimeTaskPid = VKOS_CreateProcess(FRTimeTask, 4096, 251, "FRTimeTask", 0);
    VKOS_ResumeProcess(FRTimeTaskPid);
    step("application 11 display");
    VKIO_devPuts(0, "System Initializing");
    VKIO_devPutc(0, 12);
    step("application 12 controller I/O");
    init_io();
    step("application 13 start event");
    SendAppEvent(12, "");
    step("application 14 blocks");
    init_blks();
    step("application 15 service");
    init_service();
    step("application 16 flags");
    has_fortran = 0;
    step("application 17 save tunables");
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
        rtcells::ORVEX12_IO_CHASS_STATUS_CAL_FLT() = 1;
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

void init_blks_flags() {
    has_expansion = 0;
    AllRgExecuted = 0;
    AllRgExecutedwMMM = 0;
    conf_enable = 1;
    ServPort0Sel = 1;
    debug_tunable_enable = 1;
    using_quick_serv = 0;
    using_quick_conf = 0;
}

void init_blks_service_flags() {
    ll_expected = 0;
    FieldBusUsed = 0;
    HasEgdBlock = 0;
    _UseKeyPad = 0;
    num_of_act_corrs = 0;
    TotalNumEGDConsumers = 0;
    TotalNumEGDProducers = 0;
}

void set_service_pwds() {
    for (uint32_t& u : serv_ports_used) u = 0;
}

void init_service() {}
void _load_conf_values() {}
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
    // The first passes have set some tunables from their limits and the
    // power-up configuration: the file takes those at every start (it is
    // written only when it differs), so that they are never a change a stop
    // loses. What was entered meanwhile is saved only on request.
    update_ee_own_changes();
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
