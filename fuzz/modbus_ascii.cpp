// Fuzz target: ASCII line decoding, execution and reply framing. Inputs whose
// first byte is odd are sent as a well-formed line (unit address 1, correct
// LRC) so that most of them reach the engine.
#include "fuzz/modbus_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ModSlave* s = fuzzSlave(944, 59);
    ModbusMsgBuf buf{};
    uint8_t line[kModAscLineSize];
    int n = size > kModAscLineSize ? kModAscLineSize : static_cast<int>(size);
    if (n >= 2 && (data[0] & 1)) {
        ModbusMsgBuf req{};
        int body = (kModAscLineSize - 4) / 2 < n - 1 ? (kModAscLineSize - 4) / 2 : n - 1;
        for (int k = 0; k < body; ++k) req.data[k] = data[1 + k];
        req.data[0] = 1;
        req.length = body;
        n = MOD_AscFrame(&req, line);
    } else {
        for (int k = 0; k < n; ++k) line[k] = data[k];
    }
    MOD_AscDecode(line, n, &buf);
    if (fuzzExecute(s, &buf)) {
        uint8_t out[2 * kModDataSize + 4];
        MOD_AscFrame(&buf, out);
    }
    return 0;
}
