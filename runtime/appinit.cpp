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
#include "app/interface/IFACE_MODE.cells.h"
#include "app/interface/CNFG_ETHER.cells.h"
#include "app/interface/CNFG_SIO.cells.h"
#include "app/control/SIM.cells.h"
#include "app/sys_vars.h"
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

namespace {

constexpr int kSerialDevice = 1;

// The serial port's settings in the order the port takes them, with their
// control codes; each has a hidden cell of the value last applied.
constexpr int kSioSettings = 10;
constexpr int kSioControl[kSioSettings] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 14};
int32_t sioApplied[kSioSettings];
uint32_t sioFlushLast;

// The hidden last-applied cells start cleared with the application memory.
void clear_serial_applied() {
    for (int32_t& a : sioApplied) a = 0;
    sioFlushLast = 0;
}

void sioValues(int32_t (&v)[kSioSettings]) {
    const auto& p = cells::CNFG_SIO;
    const int32_t now[kSioSettings] = {p.COMM1_PORT_BAUD, p.COMM1_PORT_BITS,  p.COMM1_PORT_STOP,    p.COMM1_PORT_PARITY,
                                       p.COMM1_PORT_MODE, p.COMM1_PORT_FLOW,  p.COMM1_PORT_ECHO,    p.COMM1_PORT_ENDLINE,
                                       p.COMM1_PORT_IGNCR, p.COMM1_PORT_DRIVER};
    for (int k = 0; k < kSioSettings; ++k) v[k] = now[k];
}

}  // namespace

namespace {

// The start-up trace: each step of the application and block initialisation
// is noted in the kernel's scheduling trace (kept only while a trace is on),
// between the task creations the kernel notes itself.
// Each step is also a scheduling point: the start runs below the master
// clock, whose tasks must not wait for the whole initialisation.
void step(const char* what) {
    hk::traceNote(std::string("init ") + what);
    hk::checkpoint();
}

}  // namespace

uint32_t init_application() {
    step("application 1 version texts");
    std::strncpy(OSReleaseDate, "2016/12/06", sizeof OSReleaseDate - 1);
    std::strncpy(OSVersionNumber, "1.00-0", sizeof OSVersionNumber - 1);
    step("application 2 CAN bus master");
    VmeMasterController = 1;
    step("application 3 application memory");
    init_blk_ram();
    clear_serial_applied();
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
    step("blocks 1 rate groups, task times, PID contexts");
    RTinit_blks();
    step("blocks 2 flags");
    init_blks_flags();
    step("blocks 3 sampled tunables");
    AI_CHANNEL_init_blks();  // analog input channels: sampled function numbers and ranges
    step("blocks 4 speed-sensor channels");
    CNFG_SPEED_init_blks();
    step("blocks 5 channel configuration words");
    rtc_defined = 1;
    step("blocks 7 event-log writer");
    LogEventInit();  // the alarm/event-log ring, empty until its writer runs
    LogEventMonitorPID = VKOS_CreateProcess(LogEventMonitor, 8192, 40, "LogEventMonitor", 0);
    VKOS_ResumeProcess(LogEventMonitorPID);
    step("blocks 8 10 ms blocks");
    CNFG_ACT_init_blks();    // driver record of the actuator output
    ACT_CHANNEL_init_blks();  // actuator service commands over
    SHUTDOWNS_init_blks();   // shutdown history counter, LED test command, list flags
    ALARMS_init_blks();      // alarm list flags
    TaskCounter_R10Z = TaskCounter_R10;
    step("blocks 9 20 ms blocks");
    CNFG_AO_init_blks();     // driver records of the analog outputs' readbacks
    AO_CHANNEL_init_blks();  // output channels' service commands over
    init_can2_network_block();
    step("blocks 10 remote nodes");
    CNFG_CAN2_nodes_init_blks();  // remote nodes idle, ids in their records
    step("blocks 11 chassis status");
    ORVEX12_IO_CHASS_STATUS_init_blks();  // supply monitor and chassis status task
    step("blocks 12 40 ms blocks");
    TaskCounter_R20Z = TaskCounter_R20;
    IFACE_IN_init_blks();  // timed commands of the operator interface over
    step("blocks 13 80 ms blocks");
    TaskCounter_R40Z = TaskCounter_R40;
    SPEED_SIM_init_blks();        // simulator commands over
    init_service_identity();
    VLTR_ALMS_init_blks();   // remote-node list counters
    CASC_R_L_init_blks();    // cascade step-test commands over
    CNFG_CAN2_init_blks();   // node initialisation commands over
    step("blocks 14 condition log");
    _COND_MON_NV_MEM_LOG_10465pid =
        VKOS_CreateProcess(COND_MON_NV_MEM_LOG_10465, 8192, 40, "COND_MON_NV_MEM_LOG_10465", 0);
    VKOS_ResumeProcess(_COND_MON_NV_MEM_LOG_10465pid);
    step("blocks 15 data-log commands and charts");
    DATALOG_commands_init_blks();  // data-log commands over
    SPDC_init_blks();        // speed reference charts: Z00 and B00 active
    UNIT_DEMO_init_blks();   // demonstration chart: first step active
    step("blocks 16 160 ms blocks");
    TaskCounter_R80Z = TaskCounter_R80;
    ALARMS_led_init_blks();       // lamp-test input over
    MASTER_commands_init_blks();  // master commands over
    IFACE_IN_CASC_init_blks();    // cascade enable/disable and raise/lower commands over
    CNFG_ENET1_init();            // the Ethernet confirmations start elapsed
    CONF_LATCH_init_blks();       // configuration-error list counters
    HPLM_init_blks();             // valve limiter chart: A00 active
    IFACE_IN_HP_MAN_init_blks();  // manual demand raise/lower commands over
    MPU_init_blks();              // speed monitor lag coefficient
    TUTORIAL_init_blks();         // tutorial commands over
    TaskCounter_R160Z = TaskCounter_R160;
    step("blocks 17 port device numbers");
    init_port_devices();
    step("blocks 18 serial settings");
    sio_control(1);
    step("blocks 19 simulator port");
    cells::SIM.PORT5005_TO_SIM_UDP_P = 7;
    cells::SIM.PORT5005_TO_SIM_P_STATUS = 1;
    step("blocks 20 CAN protocols");
    init_can_protocols();
    step("blocks 21 service headers");
    _FIRST_SERV_HDR_INDEX = -1;
    _FIRST_CONF_HDR_INDEX = -1;
    _load_conf_values();
    step("blocks 22 Modbus TCP acceptor, 23 Modbus slave instances");
    MOD_init_blks();  // Modbus: port numbers, "scan_tcp", the simulator link and the map's links
    step("blocks 24 flags");
    init_blks_service_flags();
    init_service_binding();  // change token handle, running control identifier
    step("blocks 25 service server");
    InitializeTallwire(1, 0, 0, 0, 0);
    step("blocks 26 data log");
    LoadStaticDATA_LOG_M_Configuration();  // data-log block and static items
    StartDATA_LOG_M();                     // data-log writer task
    return 0;
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

void init_can2_network_block() {
    auto& n = cells::CNFG_CAN2;
    n.CAN2_NTW1_GRN_LED = 0;
    n.CAN2_NTW1_RED_LED = 0;
    n.CAN2_NTW1_RXTXERRS = 0;
    n.CAN2_NTW1_RXOVRFLOW = 0;
    n.CAN2_NTW1_TXOVRFLOW = 0;
    n.CAN2_NTW1_TX_WARN = 0;
    n.CAN2_NTW1_RX_WARN = 0;
    n.CAN2_NTW1_TX_ERR = 0;
    n.CAN2_NTW1_RX_ERR = 0;
    n.CAN2_NTW1_STATE = 0;
    n.CAN2_NTW1_BUS_OFF = 1;
    CNFG_CAN2_CAN2_NTW1_2357_SyncTimer = 0;
    n.CAN2_PORT_VERSION = static_cast<int32_t>(CanVersion());
}

void join_app_id(char (&out)[40], const char* name, const char* date) {
    // The name, a blank and the date, cut to the cell: at most 39 bytes and
    // the terminating NUL.
    std::snprintf(out, sizeof out, "%s %s", name, date);
}

void init_service_identity() {
    auto& t = cells::IFACE_MODE;
    char appId[40];
    join_app_id(appId, uvAppName, _CdrDate);
    t.TALLWIRE_APP_ID = appId;
    t.TALLWIRE_PRODUCT_ID = sys_control_name;
    t.TALLWIRE_PROTOCOL_ID = "Tallwire Classic v2.05";
    t.TALLWIRE_SYSTEM_ID = OSVersionNumber;
}

void init_port_devices() {
    auto& e = cells::CNFG_ETHER;
    e.NETADDR_1_TCP_P = 2;
    e.NETADDR_2_TCP_P = 5;
    e.PORT_5001_UDP_P = 4;
    e.PORT_5001_P_STATUS = 1;
    e.PORT_5002_UDP_P = 6;
    e.PORT_5002_P_STATUS = 1;
    cells::CNFG_SIO.COMM1_PORT_SIO_PORT = kSerialDevice;
    cells::CNFG_SIO.COMM1_PORT_P_STATUS = 1;
}

void init_blks_service_flags() {
    ll_expected = 0;
    FieldBusUsed = 0;
    HasEgdBlock = 0;
    _UseKeyPad = 0;
    num_of_act_corrs = 0;
    TotalNumEGDConsumers = 0;
    TotalNumEGDProducers = 0;
    num_tiq_files = 12;
}

void set_service_pwds() {
    for (uint32_t& u : serv_ports_used) u = 0;
}

void sio_control(int apply) {
    VKOS_SleepMillisec(100);
    if (apply != 1) return;
    int32_t v[kSioSettings];
    sioValues(v);
    for (int k = 0; k < kSioSettings; ++k) VKIO_devControl(kSerialDevice, kSioControl[k], v[k], 0);
    VKIO_devControl(kSerialDevice, 15, 1, 0);
}

void CheckTTYControlPrams() {
    const uint32_t flush = cells::CNFG_SIO.COMM1_PORT_P_FLUSH;
    if (flush != sioFlushLast) {
        if (flush == 1) VKIO_devControl(kSerialDevice, 16, 1, 0);
        sioFlushLast = flush;
        return;
    }
    int32_t v[kSioSettings];
    sioValues(v);
    for (int k = 0; k < kSioSettings; ++k) {
        if (v[k] != sioApplied[k]) {
            VKIO_devControl(kSerialDevice, kSioControl[k], v[k], 0);
            sioApplied[k] = v[k];
            return;
        }
    }
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
