// STAND-IN until the cell catalogue declares them: the application cells that
// the CAN start-up glue reads and writes.
#pragma once

#include <cstdint>

// ---- application cells (cell catalogue) ----
// "CNFG_CAN2.CAN2_NTW1.NODE_ID", "CNFG_CAN2.CAN2_NTW1.CAN_BAUD", "CNFG_CAN2.CAN2_NTW1.RCV_MASK"
// and the NODE_ID cells of "CNFG_CAN2.VL_NODE1_AIO", "CNFG_CAN2.VL_NODE3_RTD_8C",
// "CNFG_CAN2.VL_NODE4_BI", "CNFG_CAN2.VL_NODE5_BO"; the hidden network-enabled
// flag of block CNFG_CAN2.CAN2_NTW1 (the boolean after "CNFG_CAN2.CAN2_NTW1.RED_LED").
struct CanStartupCellsStandin {
    int32_t CAN2_NTW1_NODE_ID = 10;
    int32_t CAN2_NTW1_CAN_BAUD = 2;
    int32_t CAN2_NTW1_RCV_MASK = 0;
    int32_t CAN2_NTW1_NTW_ENABLED = 0;
    int32_t VL_NODE1_AIO_NODE_ID = 1;
    int32_t VL_NODE3_RTD_8C_NODE_ID = 3;
    int32_t VL_NODE4_BI_NODE_ID = 4;
    int32_t VL_NODE5_BO_NODE_ID = 5;
};
extern CanStartupCellsStandin canCellsStandin;
