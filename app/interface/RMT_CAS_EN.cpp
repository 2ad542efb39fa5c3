// RMT_CAS_EN: the remote-cascade inhibit list. An input that becomes true
// latches and takes the next number of the pass; the first of the pass is
// the first-out. The reset (on by default) clears the latches every pass,
// so that the list then shows the present inputs.
#include "app/interface/RMT_CAS_EN.cells.h"

#include "app/control/CASC_ENBL.cells.h"
#include "app/control/CASC_RATE.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int kInputs = 4;

struct RMT_CAS_EN_blocks {
    uint32_t latched[kInputs];
};
BlockRam<RMT_CAS_EN_blocks> RMT_CAS_EN_st;
}  // namespace

namespace r80 {

void RMT_CAS_EN_inhibit_list() {
    auto& c = RMT_CAS_EN;
    uint32_t* const sel[kInputs] = {&c.RCASC_IH_SEL_1.ref(), &c.RCASC_IH_SEL_2.ref(), &c.RCASC_IH_SEL_3.ref(),
                                    &c.RCASC_IH_SEL_4.ref()};
    int32_t* const no[kInputs] = {&c.RCASC_IH_ALM_NO_1.ref(), &c.RCASC_IH_ALM_NO_2.ref(),
                                  &c.RCASC_IH_ALM_NO_3.ref(), &c.RCASC_IH_ALM_NO_4.ref()};
    const uint32_t in[kInputs] = {SHUTDOWNS.ANY_SD_B_NAME, CASC_ENBL.INHIBITED_LATCH1,
                                  IFACE_IN_CASC.RMT_CASC_FLT_B_NAME, IFACE_IN_CASC.CASC_RMT_N_NOT};
    uint32_t* const latched = RMT_CAS_EN_st.latched;
    if (c.RCASC_IH_RST != 0) {
        c.RCASC_IH_LATCH1 = 0;
        for (int n = 0; n < kInputs; ++n) {
            *sel[n] = 0;
            *no[n] = 0;
            latched[n] = 0;
        }
    }
    c.RCASC_IH_HORN = 0;
    c.RCASC_IH_FIRST_ALM = 0;
    int32_t count = 0;
    uint32_t any = 0;
    for (int n = 0; n < kInputs; ++n) {
        if (in[n] == 0) continue;
        any = 1;
        if (latched[n] != 0) continue;
        if (count == 0) c.RCASC_IH_FIRST_ALM = n + 1;
        c.RCASC_IH_HORN = 1;
        *sel[n] = 1;
        c.RCASC_IH_LATCH1 = 1;
        latched[n] = 1;
        *no[n] = ++count;
    }
    c.RCASC_IH_LOGICAL_OR = any;
}

}  // namespace r80
