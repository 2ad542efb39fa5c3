// VL4_BI at 160 ms: the wizard switch and the wizard's function numbers of
// the remote discrete-input node's channels.
#include "app/discrete/VL4_BI.cells.h"

namespace r160 {

void VL4_BI_wizard() { VL4_BI.WIZ_4BINS_B_NAME = VL4_BI.WIZ_4BINS_IN; }

int32_t VL4_BI_wizard_function(int n) {
    struct Wizard {
        const cat::Cell<int32_t>& in;
        const cat::Cell<int32_t>& copy;
    };
#define VL4_BI_WIZ(N) {VL4_BI.WIZFUN_BI_CH##N##_IN, VL4_BI.WIZFUN_BI_CH##N##_I_NAME}
    static const Wizard kWizard[16] = {
        VL4_BI_WIZ(1),  VL4_BI_WIZ(2),  VL4_BI_WIZ(3),  VL4_BI_WIZ(4),  VL4_BI_WIZ(5),  VL4_BI_WIZ(6),
        VL4_BI_WIZ(7),  VL4_BI_WIZ(8),  VL4_BI_WIZ(9),  VL4_BI_WIZ(10), VL4_BI_WIZ(11), VL4_BI_WIZ(12),
        VL4_BI_WIZ(13), VL4_BI_WIZ(14), VL4_BI_WIZ(15), VL4_BI_WIZ(16),
    };
#undef VL4_BI_WIZ
    const Wizard& w = kWizard[n - 1];
    w.copy = w.in;
    return w.copy;
}

}  // namespace r160
