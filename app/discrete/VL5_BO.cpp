// VL5_BO: the remote relay-output node's wizard switch and function numbers
// (160 ms) and its output blocks (40 ms): the node output, held at 0 while
// the I/O lock is set, and the readback display.
#include "app/discrete/VL5_BO.cells.h"

#include "app/remote_io/remote_io.h"
#include "platform/vkiobus.h"
#include "runtime/blockkinds.h"

namespace r40 {

void VL5_BO_output(int k, uint32_t command) {
    struct Block {
        const cat::Cell<uint32_t>& display;
        const cat::Cell<uint32_t>& rdbk;
    };
#define VL5_BO_BLOCK(NN) {VL5_BO.BOUT_##NN##_DISPLAY, VL5_BO.BOUT_##NN##_RDBK}
    static const Block kBlocks[16] = {
        VL5_BO_BLOCK(01), VL5_BO_BLOCK(02), VL5_BO_BLOCK(03), VL5_BO_BLOCK(04), VL5_BO_BLOCK(05), VL5_BO_BLOCK(06),
        VL5_BO_BLOCK(07), VL5_BO_BLOCK(08), VL5_BO_BLOCK(09), VL5_BO_BLOCK(10), VL5_BO_BLOCK(11), VL5_BO_BLOCK(12),
        VL5_BO_BLOCK(13), VL5_BO_BLOCK(14), VL5_BO_BLOCK(15), VL5_BO_BLOCK(16),
    };
#undef VL5_BO_BLOCK
    const Block& b = kBlocks[k - 1];
    b.display = command;
    if (IsIOLockSet() != 0) b.display = 0;
    b.rdbk = bk::NOT(VL5_BO_Readback[k - 1]);
}

}  // namespace r40

namespace r160 {

void VL5_BO_wizard() { VL5_BO.WIZ_4RELAYS_B_NAME = VL5_BO.WIZ_4RELAYS_IN; }

int32_t VL5_BO_wizard_function(int k) {
    struct Wizard {
        const cat::Cell<int32_t>& in;
        const cat::Cell<int32_t>& copy;
    };
#define VL5_BO_WIZ(N) {VL5_BO.WIZFUN_RLY_CH##N##_IN, VL5_BO.WIZFUN_RLY_CH##N##_I_NAME}
    static const Wizard kWizard[16] = {
        VL5_BO_WIZ(1),  VL5_BO_WIZ(2),  VL5_BO_WIZ(3),  VL5_BO_WIZ(4),  VL5_BO_WIZ(5),  VL5_BO_WIZ(6),
        VL5_BO_WIZ(7),  VL5_BO_WIZ(8),  VL5_BO_WIZ(9),  VL5_BO_WIZ(10), VL5_BO_WIZ(11), VL5_BO_WIZ(12),
        VL5_BO_WIZ(13), VL5_BO_WIZ(14), VL5_BO_WIZ(15), VL5_BO_WIZ(16),
    };
#undef VL5_BO_WIZ
    const Wizard& w = kWizard[k - 1];
    w.copy = w.in;
    return w.copy;
}

}  // namespace r160
