// Fuzz target: the SDO server and the filing of client responses. Each
// 10-byte record is an NMT state selector, a kind byte and 8 request bytes.
#include <cstddef>
#include <cstdint>

#include "canopen/canopen_sdo.h"
#include "fuzz/canopen_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzCanOpenSetUp(false);
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
