// CNFG_BI: the input blocks of the controller's discrete inputs at 10 ms
// (contact, first low and high event since arming with their time stamps),
// the wizard's function numbers of the inputs at 160 ms, and the copy of
// input 3's signal.
#include "app/discrete/CNFG_BI.cells.h"

#include "app/control/RESET.cells.h"
#include "app/discrete/BI_CHANNEL.cells.h"
#include "drivers/ZarnDiscreteIns.h"
#include "host/vxworks.h"
#include "runtime/blockkinds.h"

namespace {

constexpr uint32_t kLowMayCapture = 1u, kHighMayCapture = 2u;

// The named cells of input block n.
struct InputCells {
    const cat::Cell<uint32_t>& zarn;
    const cat::Cell<uint32_t>& not_zarn;
    const cat::Cell<uint32_t>& lo_event;
    const cat::Cell<uint32_t>& hi_event;
    const cat::Cell<TimeCell>& lo_time;
    const cat::Cell<TimeCell>& hi_time;
};
#define CNFG_BI_INPUT(NN)                                                                        \
    InputCells{r10::CNFG_BI.BI_##NN##_ZARN_BI_ZARN,    r10::CNFG_BI.BI_##NN##_ZARN_BI_NOT,       \
               r10::CNFG_BI.BI_##NN##_ZARN_LO_TSEVENT, r10::CNFG_BI.BI_##NN##_ZARN_HI_TSEVENT,  \
               r10::CNFG_BI.BI_##NN##_ZARN_LO_TIME,    r10::CNFG_BI.BI_##NN##_ZARN_HI_TIME}
const InputCells kInputs[8] = {CNFG_BI_INPUT(01), CNFG_BI_INPUT(02), CNFG_BI_INPUT(03), CNFG_BI_INPUT(04),
                               CNFG_BI_INPUT(05), CNFG_BI_INPUT(06), CNFG_BI_INPUT(07), CNFG_BI_INPUT(08)};
#undef CNFG_BI_INPUT

// Both events capturable again, both flags down, and the input's latch bits
// cleared in the platform words (under the interrupt lock, as the 5 ms hook
// writes them).
void arm(const InputCells& c, CnfgBiInput& in, uint32_t mask) {
    c.lo_event = 0;
    c.hi_event = 0;
    in.capture = kLowMayCapture | kHighMayCapture;
    const int key = intLock();
    LoEventLatch &= ~mask;
    HiEventLatch &= ~mask;
    intUnlock(key);
}

TimeCell stamp(const SysTimeValue& t) { return {t.sec, t.usec}; }

}  // namespace

void CNFG_BI_init_blks() {
    for (CnfgBiInput& in : CNFG_BI_st.in) in.capture = kLowMayCapture | kHighMayCapture;
}

namespace r10 {

void CNFG_BI_input(int n) {
    const InputCells& c = kInputs[n];
    CnfgBiInput& in = CNFG_BI_st.in[n];
    const int b = kCnfgBiFirstHardwareInput + n;
    const uint32_t mask = 1u << b;
    c.zarn = in.raw;
    c.not_zarn = bk::NOT(in.raw);
    // Input 1 is always armed; the others only while their edge time
    // stamps are wanted.
    if (n > 0 && BI_CHANNEL_use_time_stamps(n) != 1) {
        arm(c, in, mask);
        return;
    }
    if (RESET.TS_RESET_B_NAME == 1) arm(c, in, mask);
    if ((in.lo_snapshot & mask) != 0 && (in.capture & kLowMayCapture) != 0) {
        c.lo_event = 1;
        in.capture &= ~kLowMayCapture;
        c.lo_time = stamp(DinTimeStampLo[b]);
    }
    if ((in.hi_snapshot & mask) != 0 && (in.capture & kHighMayCapture) != 0) {
        c.hi_event = 1;
        in.capture &= ~kHighMayCapture;
        c.hi_time = stamp(DinTimeStampHi[b]);
    }
}

void CNFG_BI_esd_copy() { CNFG_BI.ESD_BI03_B_NAME = _ub15.BI_SIGNAL_B_NAME; }

}  // namespace r10

namespace r160 {

int32_t CNFG_BI_wizard_function(int n) {
    struct Wizard {
        const cat::Cell<int32_t>& in;
        const cat::Cell<int32_t>& copy;
    };
    static const Wizard kWizard[8] = {
        {CNFG_BI.WIZFUN_BI_CH01_IN, CNFG_BI.WIZFUN_BI_CH01_I_NAME},
        {CNFG_BI.WIZFUN_BI_CH02_IN, CNFG_BI.WIZFUN_BI_CH02_I_NAME},
        {CNFG_BI.WIZFUN_BI_CH03_IN, CNFG_BI.WIZFUN_BI_CH03_I_NAME},
        {CNFG_BI.WIZFUN_BI_CH04_IN, CNFG_BI.WIZFUN_BI_CH04_I_NAME},
        {CNFG_BI.WIZFUN_BI_CH05_IN, CNFG_BI.WIZFUN_BI_CH05_I_NAME},
        {CNFG_BI.WIZFUN_BI_CH06_IN, CNFG_BI.WIZFUN_BI_CH06_I_NAME},
        {CNFG_BI.WIZFUN_BI_CH07_IN, CNFG_BI.WIZFUN_BI_CH07_I_NAME},
        {CNFG_BI.WIZFUN_BI_CH08_IN, CNFG_BI.WIZFUN_BI_CH08_I_NAME},
    };
    const Wizard& w = kWizard[n];
    w.copy = w.in;
    return w.copy;
}

}  // namespace r160
