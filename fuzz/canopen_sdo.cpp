// Fuzz target: the SDO server and the filing of client responses. Each
// 10-byte record is an NMT state selector, a kind byte and 8 request bytes.
#include <cstddef>
#include <cstdlib>
#include <cstdint>

#include "canopen/canopen.h"
#include "canopen/canopen_sdo.h"
#include "host/hostkernel.h"
#include "runtime/appinit.h"
#include "runtime/can_startup.h"

namespace {

void setUp() {
    static bool done = false;
    if (done) return;
    done = true;
    hk::start(hk::ClockMode::Simulated);
    std::atexit([] { hk::shutdown(); });
    hk::runTask([] {
        VmeMasterController = 1;  // as the application initialisation sets it
        init_can_protocols();
        CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
        CanOpenOpen(1);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    setUp();
    hk::runTask([&] {
        for (size_t p = 0; p + 10 <= size; p += 10) {
            const uint8_t states[] = {NMT_PRE_OPERATIONAL, NMT_OPERATIONAL, NMT_STOPPED};
            COImagesApp.NmtState = states[data[p] % 3];
            const uint8_t* req = data + p + 2;
            if (data[p + 1] & 1) ProcessServerResponseSdo(&COImagesApp, req, 0x580u + (data[p + 1] >> 1));
            else ProcessDefaultSdo(&COImagesApp, req);
        }
    });
    return 0;
}
