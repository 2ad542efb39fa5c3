// Fuzz target: Modbus/TCP frames arriving in segments (as the acceptor and the
// TCP reader assemble them), checked, executed and framed back.
#include <cstring>

#include "fuzz/modbus_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ModSlave* s = fuzzSlave(1888, 118);
    if (size == 0) return 0;
    // The first input byte sets the segment size; the rest is the stream.
    size_t seg = data[0] % 16 + 1;
    const uint8_t* p = data + 1;
    size_t left = size - 1;
    uint8_t frame[kModMbapMax + 2];
    int n = 0;
    while (left > 0) {
        int want = MOD_MbapWanted(frame, n);
        if (want < 0) return 0;  // the connection would be closed
        if (want == 0) {
            if (MOD_MbapFrameLength(frame, n) < 0) __builtin_trap();  // complete frames are always acceptable
            ModbusMsgBuf buf{};
            MOD_MbapTake(frame, n, &buf);
            if (fuzzExecute(s, &buf)) {
                uint8_t out[kModDataSize + 6];
                MOD_MbapFrame(&buf, out);
            }
            n = 0;
            continue;
        }
        size_t take = seg < static_cast<size_t>(want) ? seg : static_cast<size_t>(want);
        if (take > left) take = left;
        std::memcpy(frame + n, p, take);
        n += static_cast<int>(take);
        p += take;
        left -= take;
    }
    return 0;
}
