// An independent CANopen implementation (the npm package `canopen`, run by
// node through tests/node/canopen_peer.js) joins the bus port, reads the
// controller's identity over SDO and consumes its SYNC.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "canopen/canopen_obj_dctn.h"
#include "tests/canopen/can_fixture.h"
#include "tests/support/paths.h"

extern char** environ;

TEST(CanOpenPeer, NodeCanopenPackageReadsIdentityAndSeesSync) {
    const std::string dir = tc_test::sourceDir() + "/tests/node";
    ASSERT_EQ(::access((dir + "/node_modules/canopen/package.json").c_str(), R_OK), 0)
        << "run `npm install` in " << dir << " (scripts/test.sh does)";

    IdentityB.VendorId = 0x000004D2;
    IdentityB.ProductCode = 99024411;
    IdentityB.Revision = 0x00010003;
    IdentityB.SerialNumber = 123456;
    CanNet net(true, true, hk::ClockMode::RealTime);
    const int port = hostcan::startBusServer(0);
    ASSERT_GT(port, 0);

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string script = dir + "/canopen_peer.js";
    const std::string portText = std::to_string(port);
    const char* argv[] = {"node", script.c_str(), portText.c_str(), "10", "125", "5", nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawnp(&pid, "node", &actions, nullptr, const_cast<char**>(argv), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    std::string result;
    while (result.find('\n') == std::string::npos) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 30000) <= 0) break;
        char buf[512];
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        result.append(buf, static_cast<size_t>(n));
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    hostcan::stopBusServer();

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << result;
    EXPECT_EQ(result, "{\"ok\":true,\"syncs\":5,\"syncCobId\":128,\"identity\":[4,1234,99024411,65539,123456]}\n");
}
