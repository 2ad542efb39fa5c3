// Fuzz target: RTU request parsing, execution and reply framing. Inputs whose
// first byte is odd get a correct CRC (and unit address 1) so that most of
// them reach the engine.
#include <cstring>

#include "fuzz/modbus_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ModSlave* s = fuzzSlave(1888, 118);
    ModbusMsgBuf buf{};
    int n = size > 252 ? 252 : static_cast<int>(size);
    std::memcpy(buf.data, data, static_cast<size_t>(n));
    if (n >= 3 && (data[0] & 1)) {
        buf.data[0] = 1;
        uint16_t crc = MOD_Crc(buf.data, n - 2);
        buf.data[n - 2] = static_cast<uint8_t>(crc);
        buf.data[n - 1] = static_cast<uint8_t>(crc >> 8);
    }
    MOD_RtuCheck(&buf, n);
    if (fuzzExecute(s, &buf)) {
        uint8_t out[kModDataSize + 2];
        MOD_RtuFrame(&buf, out);
    }
    return 0;
}
