// VL4_BI: the wizard switch, the wizard's function numbers and the trip
// indexes of the remote discrete-input node's channels (160 ms), and their
// contacts (20 ms).
#include "app/discrete/VL4_BI.cells.h"

#include "app/config/CNFG_CAN2.cells.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "app/remote_io/remote_io.h"
#include "runtime/blockkinds.h"

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

namespace r160 {
void VL4_BI_trip_numbers() {
    struct Trip {
        const cat::Cell<int32_t>& function;
        const cat::Cell<int32_t>& offset;
        const cat::Cell<int32_t>& index;
    };
#define VL4_BI_TRIP(NN, UB) {UB.FUNCT_INT_I_NAME, VL4_BI.FUNC_TO_TRIP_##NN##_IN_2, VL4_BI.FUNC_TO_TRIP_##NN##_I_SUBTRACT}
    static const Trip kTrips[16] = {
        VL4_BI_TRIP(01, _ub59), VL4_BI_TRIP(02, _ub67), VL4_BI_TRIP(03, _ub68), VL4_BI_TRIP(04, _ub69),
        VL4_BI_TRIP(05, _ub70), VL4_BI_TRIP(06, _ub71), VL4_BI_TRIP(07, _ub72), VL4_BI_TRIP(08, _ub73),
        VL4_BI_TRIP(09, _ub74), VL4_BI_TRIP(10, _ub60), VL4_BI_TRIP(11, _ub61), VL4_BI_TRIP(12, _ub62),
        VL4_BI_TRIP(13, _ub63), VL4_BI_TRIP(14, _ub64), VL4_BI_TRIP(15, _ub65), VL4_BI_TRIP(16, _ub66),
    };
#undef VL4_BI_TRIP
    for (const Trip& t : kTrips) t.index = bk::I_SUBTRACT(t.function, t.offset);
}
}  // namespace r160

namespace r20 {
void VL4_BI_contacts() {
    const bool active = CNFG_CAN2.VL_NODE4_BI_ACTIVE != 0;
    const cat::Cell<uint32_t>* const contacts[16] = {
        &VL4_BI.BIN_01_VL_BIN, &VL4_BI.BIN_02_VL_BIN, &VL4_BI.BIN_03_VL_BIN, &VL4_BI.BIN_04_VL_BIN,
        &VL4_BI.BIN_05_VL_BIN, &VL4_BI.BIN_06_VL_BIN, &VL4_BI.BIN_07_VL_BIN, &VL4_BI.BIN_08_VL_BIN,
        &VL4_BI.BIN_09_VL_BIN, &VL4_BI.BIN_10_VL_BIN, &VL4_BI.BIN_11_VL_BIN, &VL4_BI.BIN_12_VL_BIN,
        &VL4_BI.BIN_13_VL_BIN, &VL4_BI.BIN_14_VL_BIN, &VL4_BI.BIN_15_VL_BIN, &VL4_BI.BIN_16_VL_BIN,
    };
    for (int ch = 0; ch < 16; ++ch)
        *contacts[ch] = active ? static_cast<uint32_t>(VL4_BI_RawChan[ch] & 1) : 0u;
}
}  // namespace r20
