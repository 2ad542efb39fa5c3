// Service protocol batch reads of 100 value handles over one TCP connection
// on 127.0.0.1, in real time: requests per second and p99 latency. The
// server answers on its 10 ms passes, so a request waits for the next pass.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "platform/vkos.h"
#include "runtime/appmain.h"
#include "runtime/rgtask.h"
#include "runtime/value_handles.h"
#include "service/Tallwire.h"
#include "service/TwTcp.h"
#include "tests/support/ports.h"

namespace {

constexpr size_t kHandles = 100;

bool readAll(int fd, uint8_t* p, size_t n) {
    while (n > 0) {
        ssize_t r = recv(fd, p, n, 0);
        if (r <= 0) return false;
        p += r;
        n -= static_cast<size_t>(r);
    }
    return true;
}

// One frame out, one frame back; false when the reply is not a data frame
// whose status is 0.
bool roundTrip(int fd, const std::vector<uint8_t>& frame) {
    if (send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != ssize_t(frame.size())) return false;
    uint8_t head[3];
    if (!readAll(fd, head, 3)) return false;
    std::vector<uint8_t> payload(size_t(head[1]) << 8 | head[2]);
    return readAll(fd, payload.data(), payload.size()) && (head[0] == 0 || (!payload.empty() && payload[0] == 0));
}

std::vector<uint8_t> frame(uint8_t type, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> f(3 + payload.size());
    f[0] = type;
    f[1] = uint8_t(payload.size() >> 8);
    f[2] = uint8_t(payload.size());
    std::copy(payload.begin(), payload.end(), f.begin() + 3);
    return f;
}

void BM_ServiceBatchRead100Handles(benchmark::State& state) {
    hostio::setPortOffset(tc_test::pickPortOffset());
    hk::start(hk::ClockMode::RealTime);
    hk::runTask([] {
        app_inited = VKOS_CreateSemaphore("app_inited", 0, 500);
        AllRgExecutedwMMM = 1;
        InitializeTallwire(1, 0, 0, 0, 0);
        VKOS_FlushSemaphore(app_inited);
    });
    hk::runUntil([] { return listenerSocket > 0; }, 1000);
    bool connected = false;
    int fd = tc_test::loopbackSocket(SOCK_STREAM, hostio::hostPort(TW_TCP_PORT), &connected);
    std::vector<uint8_t> batch{0x28};
    for (size_t k = 0; k < kHandles; ++k) {
        const uint32_t h = HmiValueHandles[k * (sizeofHMIValueArray / kHandles)];
        batch.insert(batch.end(), {uint8_t(h >> 24), uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h)});
    }
    const std::vector<uint8_t> request = frame(1, batch);
    if (!connected || !roundTrip(fd, frame(0, {0}))) {
        state.SkipWithError("no session");
    } else {
        std::vector<double> us;
        for (auto _ : state) {
            const auto t0 = std::chrono::steady_clock::now();
            if (!roundTrip(fd, request)) {
                state.SkipWithError("bad reply");
                break;
            }
            us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
        }
        if (!us.empty()) {
            std::sort(us.begin(), us.end());
            state.counters["req_per_s"] = benchmark::Counter(double(us.size()), benchmark::Counter::kIsRate);
            state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
            state.counters["p50_us"] = us[us.size() / 2];
        }
    }
    close(fd);
    hk::runTask([] { TallwireClose(); });
    hk::shutdown();
}
BENCHMARK(BM_ServiceBatchRead100Handles)->Iterations(300)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
