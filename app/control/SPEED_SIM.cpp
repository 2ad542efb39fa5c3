// SPEED_SIM at 160 ms: the configuration numbers of the chassis analog
// inputs and outputs that the turbine simulator receives, and the simulated
// load.
#include "app/control/SPEED_SIM.cells.h"

#include "app/analog/AI_CHANNEL.cells.h"
#include "app/analog/AO_CHANNEL.cells.h"
#include "app/control/SIM.cells.h"
#include "runtime/blockkinds.h"

namespace r160 {

void SPEED_SIM_config() {
    SPEED_SIM.AI_KW_TO_MW_DIVIDE = _ub8.MAX_SAMP_TUNE / 1000.0f;
    SPEED_SIM.ANIN_CNFIG_OUT_1 = bk::int_to_real(_ub6.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.ANIN_CNFIG_OUT_2 = bk::int_to_real(_ub7.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.ANIN_CNFIG_OUT_3 = bk::int_to_real(_ub8.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.ANIN_CNFIG_OUT_4 = bk::int_to_real(_ub9.FUN_NUM_SAMP_ITUNE);
    SPEED_SIM.RO_CONFIG_OUT_1 = bk::int_to_real(_ub10.FUNCT_INT_I_NAME);
    SPEED_SIM.RO_CONFIG_OUT_2 = bk::int_to_real(_ub11.FUNCT_INT_I_NAME);
    SPEED_SIM.RO_CONFIG_OUT_3 = bk::int_to_real(_ub12.FUNCT_INT_I_NAME);
    SPEED_SIM.LOAD_MW_A_SW = bk::SW<float>(SIM.GEN_UNIT_B_NAME, SPEED_SIM.LOAD_MW_NC, SPEED_SIM.LOAD_MW_NO);
}

}  // namespace r160
