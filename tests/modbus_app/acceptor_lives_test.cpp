// The port-502 acceptor across application lives in one process: a stop
// closes its listener, and a new life listens again without touching any
// descriptor that an earlier life held (its numbers may now belong to files).
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "host/hostfs.h"
#include "host/hostio.h"
#include "host/hostkernel.h"
#include "runtime/appmain.h"
#include "runtime/sysinfo.h"
#include "tests/support/ports.h"
#include "tests/support/runtime_fixture.h"

namespace {

class AcceptorLives : public tc_test::RuntimeFixture {
protected:
    // Whether a client on 127.0.0.1 reaches the Modbus/TCP port now.
    static bool modbusPortAccepts() {
        bool connected = false;
        const int s = tc_test::loopbackSocket(SOCK_STREAM, hostio::hostPort(502), &connected);
        if (s >= 0) ::close(s);
        return connected;
    }
    void stopApplication() {
        rtcells::CALMODE_CALPERM_B_NAME() = 1;
        _SYS_INFO_STOP_PER = 1;
        ASSERT_EQ(stop(), 0u);
    }
};

std::string fileText(int n) {
    std::string t;
    for (int line = 0; line < 200; ++line) t += "file " + std::to_string(n) + " line " + std::to_string(line) + "\n";
    return t;
}

TEST_F(AcceptorLives, ARestartLeavesTheFilesOpenedBetweenTheLivesIntact) {
    ASSERT_EQ(start(), 0u);
    hk::runTicks(100);
    ASSERT_TRUE(modbusPortAccepts());

    stopApplication();
    EXPECT_FALSE(modbusPortAccepts());

    // Files opened while the application is stopped take the lowest free
    // descriptor numbers, among them the ones the first life's sockets held.
    constexpr int kFiles = 48;
    std::vector<int> fds;
    for (int n = 0; n < kFiles; ++n) {
        const std::string name = "between_" + std::to_string(n) + ".txt";
        std::ofstream(root_ + "/" + name) << fileText(n);
        const std::string target = std::string(hostfs::kApplicationRoot) + "/" + name;
        const int fd = hostfs::open(target.c_str(), hostfs::kReadOnly, 0);
        ASSERT_GE(fd, 0);
        fds.push_back(fd);
    }

    ASSERT_EQ(start(), 0u);
    hk::runTicks(100);
    EXPECT_TRUE(modbusPortAccepts());

    // Every file still reads to its end through its descriptor.
    for (int n = 0; n < kFiles; ++n) {
        std::string got;
        char buf[256];
        long r;
        while ((r = hostfs::read(fds[n], buf, sizeof buf)) > 0) got.append(buf, static_cast<size_t>(r));
        EXPECT_EQ(r, 0) << "file " << n;
        EXPECT_EQ(got, fileText(n)) << "file " << n;
        EXPECT_EQ(hostfs::close(fds[n]), 0) << "file " << n;
    }

    // The second life's stop closes its listener as well.
    stopApplication();
    EXPECT_FALSE(modbusPortAccepts());
}

}  // namespace
