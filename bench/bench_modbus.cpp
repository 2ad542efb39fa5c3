// Modbus/TCP register reads over one connection on 127.0.0.1, in real time:
// requests per second and p99 latency of the slave engine, and of a libmodbus
// server measured the same way in the same run (when built with libmodbus).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "host/hostio.h"
#include "host/hostkernel.h"
#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"
#include "platform/vkiodev.h"
#include "platform/vkos.h"
#include "tests/support/ports.h"

#ifdef TC_HAVE_LIBMODBUS
#include <modbus.h>
#endif

namespace {

constexpr int kRegs = 10;

int connectTo(uint16_t port) {
    bool connected = false;
    int fd = tc_test::loopbackSocket(SOCK_STREAM, port, &connected);
    if (!connected) {
        close(fd);
        return -1;
    }
    return fd;
}

bool readAll(int fd, uint8_t* p, size_t n) {
    while (n > 0) {
        ssize_t r = recv(fd, p, n, 0);
        if (r <= 0) return false;
        p += r;
        n -= static_cast<size_t>(r);
    }
    return true;
}

// Sends "read input registers 0..9" to unit 1 and waits for each reply;
// reports the request rate and the 99th percentile of the round trips.
void measure(benchmark::State& state, uint16_t port) {
    int fd = connectTo(port);
    if (fd < 0) {
        state.SkipWithError("no connection");
        return;
    }
    uint16_t tid = 0;
    auto request = [&] {
        ++tid;
        uint8_t req[12] = {static_cast<uint8_t>(tid >> 8), static_cast<uint8_t>(tid), 0, 0, 0, 6, 1, 4, 0, 0, 0, kRegs};
        send(fd, req, sizeof req, MSG_NOSIGNAL);
        uint8_t rep[9 + 2 * kRegs];
        return readAll(fd, rep, sizeof rep) && rep[7] == 4 && rep[8] == 2 * kRegs;
    };
    // The first request also waits for the hand-over of the connection.
    if (!request()) {
        state.SkipWithError("no reply");
        close(fd);
        return;
    }
    std::vector<double> us;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        if (!request()) {
            state.SkipWithError("bad reply");
            break;
        }
        us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
    close(fd);
    if (us.empty()) return;
    std::sort(us.begin(), us.end());
    state.counters["req_per_s"] = benchmark::Counter(static_cast<double>(us.size()), benchmark::Counter::kIsRate);
    state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
    state.counters["p50_us"] = us[us.size() / 2];
}

void BM_SlaveEngineTcpReadRegisters(benchmark::State& state) {
    static int32_t area[16];
    static uint32_t coils[22], inputs[90], we = 1;
    static int16_t inRegs[50], holdRegs[5];
    static float timeout = 10.0f;
    static TcpModRoute routes[] = {{1, 0, 1}, {-1, -1, -1}};
    area[0] = 2;  // port cell: TCP device 2
    area[1] = 1;  // slave address
    area[5] = -1;
    for (int k = 0; k < 50; ++k) inRegs[k] = static_cast<int16_t>(k);
    hostio::setPortOffset(tc_test::pickPortOffset());
    MOD_AreaBase[1] = area;
    TCPMods = routes;
    ApplicationRunning = 1;
    hk::start(hk::ClockMode::RealTime);
    hk::runTask([] {
        init_devs();
        _scan_tcpPid = VKOS_CreateProcess(scan_tcp, 8192, 40, "scan_tcp", 0);
        modbus(&area[0], &area[1], &area[2], 0, coils, 0, 22, inputs, 0, 90, inRegs, 0, 50, holdRegs, 0, 5, &area[3],
               &area[4], &area[5], 0, 0, &timeout, &we, &we);
    });
    hk::runUntil([] { return area[5] == 0; }, 1000);  // the instance is up
    measure(state, hostio::hostPort(502));
    hk::shutdown();
}
BENCHMARK(BM_SlaveEngineTcpReadRegisters)->Iterations(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);

#ifdef TC_HAVE_LIBMODBUS
void BM_LibmodbusTcpReadRegisters(benchmark::State& state) {
    const int port = 40000 + static_cast<int>(getpid() % 20000);
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
    modbus_mapping_t* map = modbus_mapping_new(22, 90, 5, 50);
    for (int k = 0; k < 50; ++k) map->tab_input_registers[k] = static_cast<uint16_t>(k);
    int listenFd = modbus_tcp_listen(ctx, 1);
    std::thread server([&] {
        int s = listenFd;
        if (modbus_tcp_accept(ctx, &s) < 0) return;
        uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        for (;;) {
            int rc = modbus_receive(ctx, query);
            if (rc > 0) modbus_reply(ctx, query, rc, map);
            else if (rc == -1) break;
        }
    });
    measure(state, static_cast<uint16_t>(port));
    server.join();
    close(listenFd);
    modbus_mapping_free(map);
    modbus_close(ctx);
    modbus_free(ctx);
}
BENCHMARK(BM_LibmodbusTcpReadRegisters)->Iterations(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
