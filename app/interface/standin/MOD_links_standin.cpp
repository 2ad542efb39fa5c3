// STAND-IN: the port settings' copies and the Modbus link flags (link in
// use, write enable) the Modbus map reads; see MOD_links_standin.cells.h.
#include "app/interface/standin/MOD_links_standin.cells.h"

#include "app/interface/MESSAGE.cells.h"
#include "app/interface/MOD.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct MOD_links_standin_blocks {
    uint32_t passes;
};
BlockRam<MOD_links_standin_blocks> MOD_links_standin_st;
}  // namespace

namespace r160 {

void MOD_links_standin() {
    // Power-up complete: from the group's second pass on.
    if (MOD_links_standin_st.passes < 2) ++MOD_links_standin_st.passes;
    PWR_UP_MSG.PWR_UP_COMPLETE_DELAY = MOD_links_standin_st.passes >= 2 ? 1u : 0u;
    C_COMM.C1_B_NAME = C_COMM.C1_IN;
    C_COMM.C2_B_NAME = C_COMM.C2_IN;
    C_COMM.C3_I_NAME = C_COMM.C3_IN;
    C_COMM.C4_I_NAME = C_COMM.C4_IN;
    auto& c = CNFG_COMMS;
    c.LINK2_USED_B_NAME = c.LINK2_USED_IN;
    c.LINK3_USED_B_NAME = c.LINK3_USED_IN;
    c.PORT2_COMM_TYP_I_NAME = c.PORT2_COMM_TYP_IN;
    c.PORT3_COMM_TYP_I_NAME = c.PORT3_COMM_TYP_IN;
    c.PORT2_NET_ADDR_I_NAME = c.PORT2_NET_ADDR_IN;
    c.PORT3_NET_ADDR_I_NAME = c.PORT3_NET_ADDR_IN;
    c.PORT2_PROTO_I_NAME = c.PORT2_PROTO_IN;
    c.PORT3_PROTO_I_NAME = c.PORT3_PROTO_IN;
    c.MOD_LINK1_USED_AND = bk::AND({C_COMM.C2_B_NAME, C_COMM.C1_B_NAME});
    c.MOD_LINK2_USED_AND = bk::AND({c.LINK2_USED_B_NAME, C_COMM.C1_B_NAME});
    c.MOD_LINK3_USED_AND = bk::AND({c.LINK3_USED_B_NAME, C_COMM.C1_B_NAME});
    MOD.PORT1_USED_B_NAME = c.MOD_LINK1_USED_AND;
    MOD.PORT2_USED_B_NAME = c.MOD_LINK2_USED_AND;
    MOD.PORT3_USED_B_NAME = c.MOD_LINK3_USED_AND;
    MOD.PORT1_ENBL_WRT_AND = bk::AND({c.PORT1_WRT_ENBL_IN, bk::NOT(MOD.LNK1_ERR_Z_ZMINUS1_B)});
    MOD.PORT2_ENBL_WRT_AND = bk::AND({c.PORT2_WRT_ENBL_IN, bk::NOT(MOD.LNK2_ERR_Z_ZMINUS1_B)});
    MOD.PORT3_ENBL_WRT_AND = bk::AND({c.PORT3_WRT_ENBL_IN, bk::NOT(MOD.LNK3_ERR_Z_ZMINUS1_B)});
}

}  // namespace r160
