// The Modbus links' flags: which links are used, which accept writes (not
// in the pass after a link error), and the per-link alarm flags with their
// summary.
#include "app/discrete/ALARMS.cells.h"
#include "app/interface/MOD.cells.h"
#include "app/interface/CNFG_COMMS.cells.h"
#include "app/interface/C_COMM.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace r160 {

void MOD_link_flags() {
    C_COMM.C1_B_NAME = C_COMM.C1_IN;
    C_COMM.C2_B_NAME = C_COMM.C2_IN;
    CNFG_COMMS.LINK2_USED_B_NAME = CNFG_COMMS.LINK2_USED_IN;
    CNFG_COMMS.LINK3_USED_B_NAME = CNFG_COMMS.LINK3_USED_IN;
#define MOD_LINK_FLAGS(k, USED, ANY_SEL)                                                                        \
    CNFG_COMMS.MOD_LINK##k##_USED_AND = bk::AND({USED, C_COMM.C1_B_NAME});                                     \
    MOD.PORT##k##_USED_B_NAME = CNFG_COMMS.MOD_LINK##k##_USED_AND;                                              \
    MOD.NO_PORT##k##_NOT = bk::NOT(MOD.PORT##k##_USED_B_NAME);                                                  \
    CNFG_COMMS.PORT##k##_WRT_ENBL_B_NAME = CNFG_COMMS.PORT##k##_WRT_ENBL_IN;                                    \
    MOD.LNK##k##_ERR_NOT_NOT = bk::NOT(MOD.LNK##k##_ERR_Z_ZMINUS1_B);                                           \
    MOD.USE_MOD##k##_OR_TRIP_OR = bk::OR({MOD.USE_MOD##k##_OR_TRIP_IN_1, MOD.USE_MOD##k##_OR_TRIP_IN_2});       \
    MOD.PORT##k##_ENBL_WRT_AND = bk::AND(                                                                       \
        {MOD.USE_MOD##k##_OR_TRIP_OR, CNFG_COMMS.PORT##k##_WRT_ENBL_B_NAME, MOD.LNK##k##_ERR_NOT_NOT});         \
    ALARMS.PORT##k##_NO_WRITE_NOT = bk::NOT(MOD.PORT##k##_ENBL_WRT_AND);                                        \
    ALARMS.LINK##k##_ALM_USED_OR = bk::OR({ALARMS.PORT##k##_NO_WRITE_NOT, MOD.NO_PORT##k##_NOT, ANY_SEL});
    MOD_LINK_FLAGS(1, C_COMM.C2_B_NAME, ALARMS.ANY_SEL_46)
    MOD_LINK_FLAGS(2, CNFG_COMMS.LINK2_USED_B_NAME, ALARMS.ANY_SEL_47)
    MOD_LINK_FLAGS(3, CNFG_COMMS.LINK3_USED_B_NAME, ALARMS.ANY_SEL_48)
#undef MOD_LINK_FLAGS
    ALARMS.ANY_MOD1_ALM_AND = bk::AND({ALARMS.LINK1_ALM_USED_OR, ALARMS.LINK2_ALM_USED_OR, ALARMS.LINK3_ALM_USED_OR});
}

}  // namespace r160
