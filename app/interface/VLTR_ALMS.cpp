// VLTR_ALMS: the remote nodes' fault summaries. Node 2 has enables but no
// node, so it has no faults.
#include "app/interface/VLTR_ALMS.cells.h"

#include "app/config/CNFG_CAN2.cells.h"
#include "runtime/blockkinds.h"

namespace r80 {

void VLTR_ALMS_override() {
    auto& c = VLTR_ALMS;
    c.NOT_USED_NOT = bk::NOT(CNFG_CAN2.ENA_VL_OR);
    c.OVRD_ALMS_OR = bk::OR({c.OVRD_ALMS_IN_1, c.NOT_USED_NOT});
}

void VLTR_ALMS_node_faults() {
    auto& c = VLTR_ALMS;
    auto& n = CNFG_CAN2;
    c.VL1_CFLT_ENA_AND = bk::AND({n.VL_NODE1_AIO_COMM_FLT_1, n.VL1_ENABLE_AND});
    c.VL2_CFLT_ENA_AND = 0;
    c.VL3_CFLT_ENA_AND = bk::AND({n.VL_NODE3_RTD_8C_COMM_FLT_1, n.VL3_ENABLE_AND});
    c.VL4_CFLT_ENA_AND = bk::AND({n.VL_NODE4_BI_COMM_FLT_1, n.VL4_ENABLE_AND});
    c.VL5_CFLT_ENA_AND = bk::AND({n.VL_NODE5_BO_COMM_FLT_1, n.VL5_ENABLE_AND});
    c.VL1_FLT_OR = bk::OR({n.VL_NODE1_AIO_NODE_FLT, n.VL_NODE1_AIO_CFG_FAULT, n.VL_NODE1_AIO_ID_FAULT});
    c.VL1_FLT_ENA_AND = bk::AND({c.VL1_FLT_OR, n.VL1_ENABLE_AND});
    c.VL2_FLT_OR = 0;
    c.VL2_FLT_ENA_AND = 0;
    c.VL3_FLT_OR = bk::OR({n.VL_NODE3_RTD_8C_NODE_FLT, n.VL_NODE3_RTD_8C_CFG_FAULT, n.VL_NODE3_RTD_8C_ID_FAULT});
    c.VL3_FLT_ENA_AND = bk::AND({c.VL3_FLT_OR, n.VL3_ENABLE_AND});
    c.VL4_FLT_OR = bk::OR({n.VL_NODE4_BI_NODE_FLT, n.VL_NODE4_BI_CFG_FAULT, n.VL_NODE4_BI_ID_FAULT});
    c.VL4_FLT_ENA_AND = bk::AND({c.VL4_FLT_OR, n.VL4_ENABLE_AND});
    c.VL5_FLT_OR = bk::OR({n.VL_NODE5_BO_NODE_FLT, n.VL_NODE5_BO_CFG_FAULT, n.VL_NODE5_BO_ID_FAULT});
    c.VL5_FLT_ENA_AND = bk::AND({c.VL5_FLT_OR, n.VL5_ENABLE_AND});
}

}  // namespace r80
