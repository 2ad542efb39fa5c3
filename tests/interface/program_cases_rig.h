// The whole program (its own slice table) for the interface's cases, in
// simulated time with the turbine model, driven only through its inputs:
// settings and commands written as the service tool writes them (the OPC
// link's commands as its server writes them), contacts and keys on the
// board, a Modbus master (mbpoll) on the controller's TCP link, and the
// data log's printed files read back by an independent reader.
#pragma once

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <linux/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "platform/vkiobus.h"
#include "storage/datalog.h"
#include "tests/control_speed/program_rig.h"
#include "tests/storage_datalog/datalog_file.h"
#include "tests/support/ports.h"

namespace pc_test {

using ref_test::R10;
using ref_test::R20;
using ref_test::R40;
using ref_test::R80;
using ref_test::R160;

class ProgramCases : public sc_test::ProgramRig {
protected:
    // The lock that configure mode takes stays with the platform until it
    // restarts the control: released before the next case starts.
    void TearDown() override {
        ProgramRig::TearDown();
        UnAssert_IOLOCK();
    }

    // Started, the configuration of a manual start and `settings` entered
    // from the service tool while it powers up, the trip contact closed and
    // the trips reset: past the power-up window, the shaft at rest.
    void startPastPowerUp(const Settings& settings = {}) {
        startConfigured(settings);
        clearTrip();
    }
    // The same without the trips reset (the unit stays tripped).
    void startConfigured(const Settings& settings = {}) {
        startApp();
        enterSettings(false, false, settings);
        runPasses(R160, 20);
        ASSERT_EQ(boolean("MASTER.IO_LOCK_OR_PWR.B_NAME"), 0u) << "still powering up";
    }
    // Simulated time until `cond` holds, at most `ms`.
    bool untilMs(const std::function<bool()>& cond, uint64_t ms = 5000) { return hk::runUntil(cond, ms / 5); }
    // Passes of `group` until `cond` holds, at most `limit`: the passes it
    // took (0: already), or -1 when it never came.
    int passesUntil(int group, const std::function<bool()>& cond, int limit) {
        for (int n = 0; n <= limit; ++n) {
            if (cond()) return n;
            if (n < limit) runPasses(group, 1);
        }
        return -1;
    }

    // A boolean cell and its delayed copy, pass by pass.
    struct DelayTrace {
        std::string in, out;
        std::vector<uint32_t> ins, outs;
    };
    // `passes` more passes of `group` recorded in `t`.
    void record(DelayTrace& t, int group, int passes) {
        for (int k = 0; k < passes; ++k) {
            runPasses(group, 1);
            t.ins.push_back(boolean(t.in));
            t.outs.push_back(boolean(t.out));
        }
    }

    // Configure mode entered from the service tool while shut down: the
    // I/O lock follows it, and with it the configuration lists' window
    // (which stays open until the platform restarts the control).
    void enterConfigureMode() {
        serviceWrite("MASTER.COMMANDS.IN_2", 1);
        ASSERT_GE(passesUntil(R160, [this] { return boolean("MASTER.IO_LOCK_OR_PWR.B_NAME") == 1u; }, 60), 0)
            << "configure mode not entered";
    }
    // mbpoll, a Modbus master, run once against link 2 (Modbus TCP, slave
    // 2) with `options` ("-t 0 -r 14": coil 14) and the values it writes
    // ("" to read), while simulated time goes on in 10 ms passes; its exit
    // status and what it printed.
    std::pair<int, std::string> mbpoll(const std::string& options, const std::string& values = "") {
        const std::string command = "mbpoll -m tcp -p " + std::to_string(hostio::hostPort(502)) + " -a 2 -1 -o 2 " +
                                    options + " 127.0.0.1 " + values + " 2>&1";
        std::atomic<bool> done{false};
        std::pair<int, std::string> result{-1, ""};
        std::thread master([&] {
            FILE* p = popen(command.c_str(), "r");
            char buf[4096];
            for (size_t n; p != nullptr && (n = fread(buf, 1, sizeof buf, p)) > 0;) result.second.append(buf, n);
            if (p != nullptr) {
                const int status = pclose(p);
                result.first = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            done = true;
        });
        // Simulated time goes on only while the program has something of
        // the master's to take or owes it an answer; while the master waits
        // for the host (its request or the answer on the way, its own
        // pauses) it stands, so that the passes an exchange takes do not
        // depend on how busy the host is. Then no faster than about ten
        // times real time, so that the master's own real-time waits see the
        // controller answer.
        std::map<std::pair<int, uint16_t>, std::pair<uint64_t, uint64_t>> seen;  // sent, read when it last sent
        for (int k = 0; k < 20000 && !done;) {
            if (!programOwesMaster(seen)) {
                usleep(100);
                continue;
            }
            runPasses(R10, 1);
            usleep(1000);
            ++k;
        }
        master.join();
        return result;
    }
    // Whether the program has a connection of the Modbus map's port to
    // accept, a request waiting on one, or has read a request since it last
    // sent on that connection. `seen` keeps, per connection, the bytes sent
    // and the bytes read when it last sent.
    static constexpr uint8_t kTcpListen = 10;  // the state of a listening socket in TCP_INFO
    static bool programOwesMaster(std::map<std::pair<int, uint16_t>, std::pair<uint64_t, uint64_t>>& seen) {
        bool owes = false;
        for (int fd : tc_test::socketsOnPort(SOCK_STREAM, hostio::hostPort(502))) {
            tcp_info ti{};
            socklen_t len = sizeof ti;
            if (getsockopt(fd, IPPROTO_TCP, TCP_INFO, &ti, &len) != 0) continue;
            pollfd p{fd, POLLIN, 0};
            if (ti.tcpi_state == kTcpListen) {
                owes = owes || poll(&p, 1, 0) == 1;
                continue;
            }
            sockaddr_in peer{};
            socklen_t pl = sizeof peer;
            if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &pl) != 0) continue;
            int unread = 0;
            if (ioctl(fd, FIONREAD, &unread) != 0) continue;
            const uint64_t read = ti.tcpi_bytes_received - static_cast<uint64_t>(unread > 0 ? unread : 0);
            // A connection first seen has sent nothing yet as far as `seen`
            // knows: what the program has read on it by then is owed an
            // answer unless it has sent since.
            auto& [sent, readWhenSent] = seen[{fd, peer.sin_port}];
            if (sent != ti.tcpi_bytes_sent) {
                sent = ti.tcpi_bytes_sent;
                readWhenSent = read;
            }
            owes = owes || unread > 0 || read > readWhenSent;
        }
        return owes;
    }
    // Modbus used, link 2 in use with its writes enabled, from the service tool.
    void modbusLinkWithWrites() {
        tune("C_COMM.C1.IN", 1);
        tune("CNFG_COMMS.LINK2_USED.IN", 1);
        tune("CNFG_COMMS.PORT2_WRT_ENBL.IN", 1);
        ASSERT_GE(passesUntil(R160, [this] { return integer("MOD.PORT2_COMM_USED.I_SW") == 2; }, 20), 0);
    }

    // The data log's printed files under the application root.
    std::string hostFile(const std::string& name) { return hostfs::applicationRoot() + "/" + name; }
    bool logExists(const std::string& name) { return std::filesystem::exists(hostFile(name)); }
    std::string readLog(const std::string& name) { return dl_test::readDataLogFile(hostFile(name)); }
    static bool collecting() { return TREND_DLOG_internal.RUN_STATE == 1; }
};

// Checks, pass by pass, that `out` is `in` delayed: a level of `in` that
// starts at pass k shows in `out` from pass k + on (rising) or k + off
// (falling) for as long as it lasts; a shorter level leaves `out` as it
// was. Returns how many levels came through.
inline int delayedLevels(const std::vector<uint32_t>& in, const std::vector<uint32_t>& out, size_t on, size_t off) {
    int through = 0;
    for (size_t k = 1; k < in.size() && k < out.size(); ++k) {
        if (in[k] == in[k - 1]) continue;
        size_t end = k;
        while (end < in.size() && in[end] == in[k]) ++end;
        const size_t delay = in[k] != 0 ? on : off;
        for (size_t j = k; j < end && j < out.size(); ++j)
            EXPECT_EQ(out[j], j >= k + delay ? in[k] : out[k - 1]) << "pass " << j << " of a level from pass " << k;
        through += out[k - 1] != in[k] && end - k > delay;
    }
    return through;
}

// The cases no input of the program reaches: only the slices given run,
// the tunables at their defaults from the first 10 ms frame on.
inline bool g_slicesDefaulted = false;
class OnTheirSlices : public tc_test::AppHarness {
protected:
    static void defaultsInFirstFrame() {
        if (g_slicesDefaulted) return;
        g_slicesDefaulted = true;
        tc_test::loadTunableDefaults();
    }
    // Starts with `slices` (group, its slices); the 10 ms group loads the
    // defaults before its own slices.
    void startSlices(const std::vector<std::pair<int, std::vector<SliceFn>>>& slices) {
        g_slicesDefaulted = false;
        useSlices(R10, {defaultsInFirstFrame});
        for (const auto& [group, fns] : slices) {
            std::vector<SliceFn> all = group == R10 ? std::vector<SliceFn>{defaultsInFirstFrame} : std::vector<SliceFn>{};
            all.insert(all.end(), fns.begin(), fns.end());
            useSlices(group, all);
        }
        startApp();
    }
};

}  // namespace pc_test
