// The 20 ms pieces of the speed and cascade interface inputs: the faults of
// the analog inputs that carry the cascade, remote cascade and remote speed
// signals, the remote speed setpoint, and a running average of the turbine
// speed over its last 250 passes (5 s).
#include "app/analog/AI_MUX.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/MPU.cells.h"
#include "runtime/appmem.h"
#include "runtime/rgtask.h"

namespace {

constexpr int kAvgSamples = 250;

// The ring of speed samples, its index, and whether the first pass of every
// group has been seen.
struct IFACE_IN_SPEED_AVG_SPEED_8296Avg {
    float slot[kAvgSamples];
    int index;
    bool started;
};
BlockRam<IFACE_IN_SPEED_AVG_SPEED_8296Avg> IFACE_IN_SPEED_avg_st;

}  // namespace

namespace r20 {

void IFACE_IN_CASC_faults() {
    IFACE_IN_CASC.CASC_PV_FLT_B_NAME = AI_MUX.CASC_IN_FLT_B_NAME;
    IFACE_IN_CASC.RMT_CASC_FLT_B_NAME = AI_MUX.RMT_CASC_FLT_B_NAME;
}

void IFACE_IN_SPEED_inputs() {
    auto& s = IFACE_IN_SPEED;
    IFACE_IN_SPEED_AVG_SPEED_8296Avg& a = IFACE_IN_SPEED_avg_st;
    const float speed = MPU.TURB_SPD_A_NAME;
    if (AllRgExecutedwMMM != 0) a.started = true;
    if (s.AVG_SPEED_RST != 0 || !a.started) {
        for (float& v : a.slot) v = speed;
        a.index = 0;
        s.AVG_SPEED_RUNNING_AVG = speed;
    } else {
        a.slot[a.index] = speed;
        float sum = 0.0f;
        for (const float v : a.slot) sum += v;
        s.AVG_SPEED_RUNNING_AVG = sum / static_cast<float>(kAvgSamples);
        a.index = a.index + 1 < kAvgSamples ? a.index + 1 : 0;
    }
    s.CASC_PV_FLT_B_NAME = AI_MUX.CASC_IN_FLT_B_NAME;
    s.REMSP_PV_FLT_B_NAME = AI_MUX.RMT_SPD_FLT_B_NAME;
    s.REM_SPD_SP_A_NAME = AI_MUX.RMT_SPD_SP_A_NAME;
}

}  // namespace r20
