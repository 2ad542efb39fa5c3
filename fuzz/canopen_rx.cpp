// Fuzz target: the receive path of the controller's CANopen node. The input
// is a script of records, each a kind byte and its bytes: a candump line (as
// the bus server reads it), a raw frame into the dispatcher, a controller
// buffer into the receive interrupt handler, a network pass, an NMT state.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "canopen/canopen_pdo.h"
#include "fuzz/canopen_fuzz.h"
#include "host/canbus.h"

namespace {

void runScript(const uint8_t* data, size_t size) {
    size_t p = 0;
    while (p < size) {
        const uint8_t kind = data[p++] % 6;
        switch (kind) {
            case 0: {  // a candump line up to the next newline
                size_t e = p;
                while (e < size && data[e] != '\n') ++e;
                hostcan::Frame f;
                if (hostcan::parseFrame(std::string_view(reinterpret_cast<const char*>(data + p), e - p), &f)) {
                    CanFrame cf{};
                    cf.Id = f.id << 21;
                    cf.Length = f.len;
                    for (int i = 0; i < 8; ++i) cf.Data[i] = f.data[i];
                    CanOpenGenRxProcessor(1, &cf);
                }
                p = e + 1;
                break;
            }
            case 1: {  // raw frame: identifier word, length register, 8 data bytes
                if (size - p < 14) return;
                CanFrame cf{};
                cf.Id = (static_cast<uint32_t>(data[p]) << 24) | (data[p + 1] << 16) | (data[p + 2] << 8) | data[p + 3];
                cf.Length = static_cast<uint16_t>((data[p + 4] << 8) | data[p + 5]);
                for (int i = 0; i < 8; ++i) cf.Data[i] = data[p + 6 + i];
                CanOpenGenRxProcessor(1, &cf);
                p += 14;
                break;
            }
            case 2: {  // a controller buffer through the receive interrupt handler
                if (size - p < kMscanBufferBytes) return;
                CanOpenHandlerRx(1, data + p);
                p += kMscanBufferBytes;
                break;
            }
            case 3:
                CanOpenLatchRxMsgCount(1);
                CanOpen(1, 20);
                CanOpenProcessTimers(1);
                break;
            case 4:
                if (p < size) {
                    const uint8_t states[] = {NMT_INITIALISING, NMT_STOPPED, NMT_OPERATIONAL, NMT_PRE_OPERATIONAL, 9};
                    COImagesApp.NmtState = states[data[p++] % 5];
                }
                break;
            default:
                if (p < size) CanOpenSendPdoNow(1, data[p++], 0);
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzCanOpenSetUp(true);
    hk::runTask([&] { runScript(data, size); });
    return 0;
}
