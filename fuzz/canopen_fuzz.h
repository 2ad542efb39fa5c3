// Shared by the CANopen fuzz targets: the application's CAN2 image set up and
// opened once in simulated time, as the application initialisation does it.
#pragma once

#include <cstdlib>

#include "canopen/canopen.h"
#include "canopen/canopen_mscan.h"
#include "host/hostkernel.h"
#include "host/mscan.h"
#include "runtime/appinit.h"
#include "runtime/can_startup.h"

inline void fuzzCanOpenSetUp(bool connectInterrupt) {
    static bool done = false;
    if (done) return;
    done = true;
    hk::start(hk::ClockMode::Simulated);
    std::atexit([] { hk::shutdown(); });
    hk::runTask([connectInterrupt] {
        VmeMasterController = 1;
        init_can_protocols();
        CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
        if (connectInterrupt) MSCANBConnect(MSCANBInterrupt);
        CanOpenOpen(1);
    });
}
