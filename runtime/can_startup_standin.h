// STAND-IN until the cell catalogue declares it: the application cell
// "CNFG_CAN2.CAN2_NTW1.RCV_MASK" that the CAN start-up glue writes.
#pragma once

#include <cstdint>

struct CanStartupCellsStandin {
    int32_t CAN2_NTW1_RCV_MASK = 0;
};
extern CanStartupCellsStandin canCellsStandin;
