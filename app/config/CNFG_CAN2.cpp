// The remote nodes' configuration gates and network timers at 160 ms, and
// the own node's go-operational command at 10 ms.
#include "app/config/CNFG_CAN2.cells.h"

#include "app/config/MASTER.cells.h"
#include "app/control/MPU.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {

constexpr float kGoOperPulse = 1.0f;
constexpr float kNotOperDelay = 2.0f;
constexpr float kInitCommand = 1.0f;

struct CNFG_CAN2_blocks {
    bk::OneShotState go_oper_rst;
    bk::DelayState no_operdly;
    bk::SvcCmdState<5> init_nodes;
};
BlockRam<CNFG_CAN2_blocks> CNFG_CAN2_st;

}  // namespace

void CNFG_CAN2_init_blks() { bk::SVC_CMD_INIT(CNFG_CAN2_st.init_nodes, kInitCommand); }

void CNFG_CAN2_init_command_written(int k, uint32_t value) {
    bk::SVC_CMD_WRITTEN(CNFG_CAN2_st.init_nodes, k, value, kInitCommand);
}

namespace r10 {

void CNFG_CAN2_go_oper() {
    CNFG_CAN2.GO_OPER_AND = bk::AND({CNFG_CAN2.GO_OPER_IN_1, MPU.PWR_UP_DLY_DELAY, CNFG_CAN2.NOT_NOT});
}

}  // namespace r10

namespace r160 {

void CNFG_CAN2_config_gates() {
    CNFG_CAN2.CNFG_LIVE_B_NAME = CNFG_CAN2.CNFG_LIVE_IN;
    CNFG_CAN2.CNFG_IO_OR = bk::OR({CNFG_CAN2.CNFG_LIVE_B_NAME, MASTER.IO_LOCK_OR_PWR_B_NAME});
    CNFG_CAN2.CNFG_VLTR_B_NAME = CNFG_CAN2.CNFG_IO_OR;
    CNFG_CAN2.PULSER_NOT = bk::NOT(CNFG_CAN2.PULSER_NOT);
    CNFG_CAN2.SAMPL_LIVE_AND = bk::AND({CNFG_CAN2.CNFG_VLTR_B_NAME, CNFG_CAN2.PULSER_NOT});
}

void CNFG_CAN2_timers() {
    CNFG_CAN2.ENA_VL_OR = bk::OR({CNFG_CAN2.USE_VL_B_NAME, CNFG_CAN2.ENA_VL_IN_2});
    bk::ONE_SHOT(CNFG_CAN2_st.go_oper_rst, CNFG_CAN2.GO_OPER_RST_ONE_SHOT, &CNFG_CAN2.GO_OPER_RST_R_TIME.ref(),
                 CNFG_CAN2.NMT_STATUS_5_EQ, kGoOperPulse, bk::T160);
    bk::DELAY(CNFG_CAN2_st.no_operdly, CNFG_CAN2.NO_OPERDLY_DELAY, &CNFG_CAN2.NO_OPERDLY_R_TIME.ref(),
              CNFG_CAN2.NOT_OPER_OR, kNotOperDelay, 0.0f, bk::T160);
}

}  // namespace r160

namespace r80 {

void CNFG_CAN2_node_enables() {
    auto& c = CNFG_CAN2;
    c.VL_RST_OR = bk::OR({c.CAN2_RST_OR, c.VL_RST_IN_2});
    c.NO_IOLOCK_NOT = bk::NOT(MASTER.IO_LOCK_B_NAME);
    c.VL1_ENA_B_NAME = c.VL1_ENA_IN;
    c.VL1_ENABLE_AND = bk::AND({c.NO_IOLOCK_NOT, c.VL1_ENA_B_NAME});
    c.VL2_ENA_B_NAME = c.VL2_ENA_IN;
    c.VL2_ENABLE_AND = bk::AND({c.NO_IOLOCK_NOT, c.VL2_ENA_B_NAME});
    c.VL3_ENA_B_NAME = c.VL3_ENA_IN;
    c.VL3_ENABLE_AND = bk::AND({c.NO_IOLOCK_NOT, c.VL3_ENA_B_NAME});
    c.VL4_ENA_B_NAME = c.VL4_ENA_IN;
    c.VL4_ENABLE_AND = bk::AND({c.NO_IOLOCK_NOT, c.VL4_ENA_B_NAME});
    c.VL5_ENA_B_NAME = c.VL5_ENA_IN;
    c.VL5_ENABLE_AND = bk::AND({c.NO_IOLOCK_NOT, c.VL5_ENA_B_NAME});
    c.USE_DEG_F_B_NAME = c.USE_DEG_F_IN;
}

void CNFG_CAN2_init_commands() {
    auto& c = CNFG_CAN2;
    auto& s = CNFG_CAN2_st;
    c.INIT_ALL_B_NAME = c.INIT_ALL_IN != 0 ? 1u : 0u;
    bk::SVC_CMD(s.init_nodes, 1, c.INIT_NODES_IN_1, c.INIT_NODES_OUT_1, kInitCommand, bk::T80);
    bk::SVC_CMD(s.init_nodes, 2, c.INIT_NODES_IN_2, c.INIT_NODES_OUT_2, kInitCommand, bk::T80);
    bk::SVC_CMD(s.init_nodes, 3, c.INIT_NODES_IN_3, c.INIT_NODES_OUT_3, kInitCommand, bk::T80);
    bk::SVC_CMD(s.init_nodes, 4, c.INIT_NODES_IN_4, c.INIT_NODES_OUT_4, kInitCommand, bk::T80);
    bk::SVC_CMD(s.init_nodes, 5, c.INIT_NODES_IN_5, c.INIT_NODES_OUT_5, kInitCommand, bk::T80);
    c.VL1_INIT_OR = bk::OR({c.INIT_NODES_OUT_1, c.INIT_ALL_B_NAME, c.VL1_INIT_IN_3});
}

}  // namespace r80

namespace r80 {

void CNFG_CAN2_power_up() {
    auto& c = CNFG_CAN2;
    c.NONE_ACTIV_NOR = bk::NOR({c.VL_NODE1_AIO_ACTIVE, c.VL_NODE3_RTD_8C_ACTIVE, c.VL_NODE4_BI_ACTIVE,
                                c.VL_NODE5_BO_ACTIVE});
    c.ALL_PWRUP_AND = bk::AND({c.NONE_ACTIV_NOR, c.VL_NODE1_AIO_ID_FAULT, c.VL_NODE3_RTD_8C_ID_FAULT,
                               c.VL_NODE4_BI_ID_FAULT, c.VL_NODE5_BO_ID_FAULT, c.ENA_VL_OR, c.ALL_PWRUP_IN_7});
}

}  // namespace r80
