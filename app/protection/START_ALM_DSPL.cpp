// The start-inhibit display and its message, rebuilt every 160 ms pass.
#include "app/protection/START_ALM_DSPL.h"

#include "app/control/START.cells.h"
#include "app/protection/LATCH_AE.h"
#include "app/protection/SERVICE.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/SPDC.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int kInhibits = 6;
}  // namespace

namespace r160 {

namespace {
struct Inhibit {
    LatchRef<uint32_t> active, sel;
    LatchRef<int32_t> alm_no;
};
#define INHIBIT(k) Inhibit{START.STRT_IH_SEL_##k, START.ALM_DSPL_SEL_##k, START.ALM_DSPL_ALM_NO_##k}
const Inhibit kInhibit[kInhibits + 1] = {INHIBIT(1), INHIBIT(1), INHIBIT(2), INHIBIT(3),
                                         INHIBIT(4), INHIBIT(5), INHIBIT(6)};
#undef INHIBIT
}  // namespace

void START_start_inhibits() {
    // Rebuilt from nothing in every pass, so the first active inhibit is the
    // first-out and the count numbers them.
    START.ALM_DSPL_LATCH1 = 0;
    START.ALM_DSPL_HORN = 0;
    START.ALM_DSPL_FIRST_ALM = 0;
    int32_t count = 0;
    uint32_t any = 0;
    for (int k = 1; k <= kInhibits; ++k) {
        const Inhibit& i = kInhibit[k];
        i.sel.get() = 0;
        i.alm_no.get() = 0;
        const uint32_t active = i.active.get();
        if (active == 1 && START.OR_STARTED_OR == 0) {
            if (count == 0) START.ALM_DSPL_FIRST_ALM = k;
            START.ALM_DSPL_HORN = 1;
            i.sel.get() = 1;
            START.ALM_DSPL_LATCH1 = 1;
            ++count;
            i.alm_no.get() = count;
        }
        if (active == 1) any = 1;
    }
    START.ALM_DSPL_LOGICAL_OR = any;
    SERVICE.PERN_DSP1_OR = bk::OR({START.ALM_DSPL_SEL_3, START.ALM_DSPL_SEL_4});
    SERVICE.SW_M_NSTR_MSG_SEL = bk::MSG_SEL(SERVICE.SW_M_NSTR_B_TO_STR,
                                            {{START.STRT_IH_SEL_3, 1, "\"  Start Perm Not Closed\""},
                                             {START.STRT_IH_SEL_4, 2, "\"Redundant Com Link Err\""},
                                             {START.STRT_IH_SEL_6, 3, "\"Speed in Critical      \""}},
                                            "\"  Start Perms Not Met  \"");
}

}  // namespace r160
