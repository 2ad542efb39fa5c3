// The application's block initialisation, in its fixed order: the rate-group
// tasks, each module's initial block state in the order of the groups, the
// block tasks, the ports, the Modbus instances, the service server and the
// data log. Each module keeps its own presets in its `*_init_blks`; this file
// only orders them.
#include "app/analog/ACT_CHANNEL.cells.h"
#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/analog/CNFG_AO.cells.h"
#include "app/analog/TUTORIAL.cells.h"
#include "app/analog/UNIT_DEMO.cells.h"
#include "app/analog/VL1_AIO.cells.h"
#include "app/config/CNFG_CAN2.cells.h"
#include "app/config/CNFG_CAN2_nodes.h"
#include "app/config/MASTER.cells.h"
#include "app/control/CASC_R_L.cells.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CNFG_CASC.cells.h"
#include "app/control/CNFG_SPEED.cells.h"
#include "app/control/CONF_LATCH.cells.h"
#include "app/control/HPLM.cells.h"
#include "app/control/HP_LIMTER.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/IFACE_IN_VLV.cells.h"
#include "app/control/MPU.cells.h"
#include "app/control/RMT_CAS.cells.h"
#include "app/control/SIM.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/SPD_CTRL.cells.h"
#include "app/control/SPD_SETPT.cells.h"
#include "app/control/SPEED_SIM.cells.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/discrete/CNFG_BI.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/interface/CNFG_ENET1.cells.h"
#include "app/interface/CNFG_ETHER.cells.h"
#include "app/interface/CNFG_SIO.cells.h"
#include "app/interface/COND_MON.cells.h"
#include "app/interface/DATALOG.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/VLTR_ALMS.cells.h"
#include "app/sys_vars.h"
#include "drivers/ZarnChassisStatus.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "runtime/can_startup.h"
#include "runtime/sched.h"
#include "service/Tallwire.h"
#include "service/TwControl.h"
#include "storage/datalog.h"
#include "storage/log_evt.h"
#include "storage/nvlog.h"

int init_blks() {
    init_step("blocks 1 rate groups, task times, PID contexts");
    RTinit_blks();
    init_step("blocks 2 flags");
    init_blks_flags();
    init_step("blocks 3 sampled tunables");
    preset_sampled_tunables();
    init_step("blocks 4 speed-sensor channels");
    CNFG_SPEED_init_blks();
    init_step("blocks 5 channel configuration words");
    CNFG_BI_init_blks();  // discrete inputs' edge capture armed
    rtc_defined = 1;
    init_step("blocks 6 simulator speed curve");
    SPEED_SIM_curve_init_blks();
    init_step("blocks 7 event-log writer");
    LogEventInit();  // the alarm/event-log ring, empty until its writer runs
    LogEventMonitorPID = VKOS_CreateProcess(LogEventMonitor, 8192, 40, "LogEventMonitor", 0);
    VKOS_ResumeProcess(LogEventMonitorPID);
    init_step("blocks 8 10 ms blocks");
    CNFG_ACT_init_blks();     // driver record of the actuator output
    SHUTDOWNS_init_blks();    // shutdown history counter, LED test command, list flags
    ALARMS_init_blks();       // alarm list flags
    TaskCounter_R10Z = TaskCounter_R10;
    init_step("blocks 9 20 ms blocks");
    CNFG_AO_init_blks();  // driver records of the analog outputs' readbacks
    CNFG_CAN2_network_init_blks();
    init_step("blocks 10 remote nodes");
    CNFG_CAN2_node_init_blk(kNodeRtd);  // remote nodes idle and unconfigured, ids in their records
    CNFG_CAN2_node_init_blk(kNodeBi);
    init_step("blocks 11 chassis status");
    VL1_AIO_init_blks();                  // remote analog outputs' readback checks
    ORVEX12_IO_CHASS_STATUS_init_blks();  // supply monitor and chassis status task
    CNFG_CAN2_node_init_blk(kNodeAio);
    CNFG_CAN2_node_init_blk(kNodeBo);
    init_step("blocks 12 40 ms blocks");
    TaskCounter_R20Z = TaskCounter_R20;
    IFACE_IN_init_blks();   // timed commands of the operator interface over
    HP_LIMTER_init_blks();  // valve limiter lag coefficient
    init_step("blocks 13 80 ms blocks");
    TaskCounter_R40Z = TaskCounter_R40;
    SPEED_SIM_init_blks();       // simulator commands over
    IFACE_MODE_identity_init_blks();  // service identity texts and the running control identifier
    VLTR_ALMS_init_blks();       // remote-node list counters
    RMT_CAS_init_blks();         // remote cascade setpoint lag coefficient
    CASC_R_L_init_blks();        // cascade step-test commands over
    CASC_CTRL_init_blks();       // cascade lag coefficient
    CNFG_CAN2_init_blks();       // node initialisation commands over
    init_step("blocks 14 condition log");
    _COND_MON_NV_MEM_LOG_10465pid =
        VKOS_CreateProcess(COND_MON_NV_MEM_LOG_10465, 8192, 40, "COND_MON_NV_MEM_LOG_10465", 0);
    VKOS_ResumeProcess(_COND_MON_NV_MEM_LOG_10465pid);
    init_step("blocks 15 data-log commands and charts");
    DATALOG_commands_init_blks();  // data-log commands over
    SPD_SETPT_init_blks();         // speed tracking lag coefficient
    SPDC_init_blks();              // speed reference charts: Z00 and B00 active
    UNIT_DEMO_init_blks();         // demonstration chart: first step active
    init_step("blocks 16 160 ms blocks");
    TaskCounter_R80Z = TaskCounter_R80;
    ALARMS_led_init_blks();       // lamp-test input over
    MASTER_commands_init_blks();  // master commands over
    IFACE_IN_CASC_init_blks();    // cascade enable/disable and raise/lower commands over
    CNFG_ENET1_init();            // the Ethernet confirmations start elapsed
    COND_MON_init_blks();         // rewrite command over
    CONF_LATCH_init_blks();       // configuration-error list counters
    HPLM_init_blks();             // valve limiter chart: A00 active
    IFACE_IN_HP_MAN_init_blks();  // manual demand raise/lower commands over
    IFACE_MODE_init_blks();       // display heartbeat command over
    MPU_init_blks();              // speed monitor lag coefficient
    SPD_CTRL_init_blks();         // fast/slow preference at 50
    TUTORIAL_init_blks();         // tutorial commands over
    AO_CHANNEL_init_blks();       // output channels' commands over, force setpoints at 4 mA
    ACT_CHANNEL_init_blks();      // actuator commands over, force setpoint closed
    TaskCounter_R160Z = TaskCounter_R160;
    init_step("blocks 17 port device numbers");
    CNFG_ETHER_init_blks();
    CNFG_SIO_init_blks();
    init_step("blocks 18 serial settings");
    sio_control(1);
    init_step("blocks 19 simulator port");
    SIM_port_init_blks();
    init_step("blocks 20 CAN protocols");
    init_can_protocols();
    init_step("blocks 21 service headers");
    _FIRST_SERV_HDR_INDEX = -1;
    _FIRST_CONF_HDR_INDEX = -1;
    _load_conf_values();
    init_step("blocks 22 Modbus TCP acceptor, 23 Modbus slave instances");
    MOD_init_blks();  // Modbus: port numbers, "scan_tcp", the simulator link and the map's links
    init_step("blocks 24 flags");
    init_blks_service_flags();
    num_tiq_files = 12;
    init_service_binding();  // change token handle
    init_step("blocks 25 service server");
    InitializeTallwire(1, 0, 0, 0, 0);
    init_step("blocks 26 data log");
    LoadStaticDATA_LOG_M_Configuration();  // data-log block and static items
    StartDATA_LOG_M();                     // data-log writer task
    return 0;
}
