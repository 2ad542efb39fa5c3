// Fuzzes the framed Modbus/TCP receive: the input is the buffer capacity,
// the retry budget and a stream cut into receive results (data segments,
// "nothing yet" and the peer closing). The receive must never write past
// the buffer, never take bytes beyond the frame it returns, and return
// either a frame consistent with its header or a result code.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/vxwsock2.h"

namespace {

// The stream is cut into receive results by a list of operations: 0 means
// "nothing there now", n > 0 hands over at most n bytes; once the list is
// used up the rest comes at once, and then the peer closes.
struct Script {
    std::vector<uint8_t> stream;
    std::vector<uint8_t> ops;
    size_t op = 0;
    size_t pos = 0;       // bytes handed to the receive
    size_t segLeft = 0;   // bytes left in the current segment
    uint32_t waits = 0;
};

void check(bool ok) {
    if (!ok) std::abort();
}

int scriptRecv(void* ctx, uint8_t* p, int n) {
    auto* s = static_cast<Script*>(ctx);
    check(n > 0);
    if (s->segLeft == 0) {
        if (s->op < s->ops.size()) {
            uint8_t o = s->ops[s->op++];
            if (o == 0) return -1;
            s->segLeft = o;
        } else {
            s->segLeft = s->stream.size() - s->pos;
        }
    }
    size_t take = std::min({s->segLeft, s->stream.size() - s->pos, static_cast<size_t>(n)});
    if (take == 0) return 0;  // the peer closed
    std::memcpy(p, s->stream.data() + s->pos, take);
    s->pos += take;
    s->segLeft -= take;
    return static_cast<int>(take);
}

bool scriptWait(void* ctx) {
    ++static_cast<Script*>(ctx)->waits;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    int cap = 1 + data[0] + (data[0] & 1) * 100;  // 1 .. 356 bytes
    uint32_t rounds = data[1] & 15;
    bool plausible = data[2] & 1;  // steer the header towards valid lengths
    size_t nops = std::min<size_t>(data[3] % 16, size - 4);
    Script s;
    s.ops.assign(data + 4, data + 4 + nops);
    s.stream.assign(data + 4 + nops, data + size);
    if (plausible && s.stream.size() > 5) {
        s.stream[4] = 0;
        s.stream[5] = static_cast<uint8_t>(s.stream[5] % 64);
    }
    // Exactly the capacity, so that a write past it is caught.
    std::vector<uint8_t> buf(static_cast<size_t>(cap));
    FrameSource src{scriptRecv, scriptWait, &s};
    int32_t n = mbapFrameReceive(src, buf.data(), cap, rounds);
    check(s.waits <= rounds);
    check(s.pos <= static_cast<size_t>(cap));
    if (n == VKIO_TIMEOUT || n == VKIO_ERROR) return 0;
    check(n >= 7 && n <= cap);
    check(buf[4] == 0 && buf[5] != 0 && n == 6 + buf[5]);
    // Exactly the frame was taken: a pipelined next request stays unread.
    check(s.pos == static_cast<size_t>(n));
    check(std::memcmp(buf.data(), s.stream.data(), static_cast<size_t>(n)) == 0);
    return 0;
}
