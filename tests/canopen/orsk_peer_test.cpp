// The configuration sequence against simulated nodes built on the npm
// `canopen` package (tests/node/sim_nodes.js), joined through the bus port
// in real time: each kind frame by frame, and each misbehaviour's outcome.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/canopen/orsk_frames.h"

extern char** environ;

namespace {

// The node script as a child process; its stdout is read line by line.
class PeerNodes {
public:
    PeerNodes(int port, const std::vector<std::string>& specs) {
        const char* src = std::getenv("TC_SOURCE_DIR");
        const std::string dir = std::string(src != nullptr ? src : ".") + "/tests/node";
        if (::access((dir + "/node_modules/canopen/package.json").c_str(), R_OK) != 0) return;
        int out[2], in[2];
        if (::pipe(out) != 0 || ::pipe(in) != 0) return;
        posix_spawn_file_actions_t a;
        posix_spawn_file_actions_init(&a);
        posix_spawn_file_actions_adddup2(&a, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&a, in[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&a, out[0]);
        posix_spawn_file_actions_addclose(&a, in[1]);
        const std::string script = dir + "/sim_nodes.js", portText = std::to_string(port);
        std::vector<const char*> argv = {"node", script.c_str(), portText.c_str()};
        for (const auto& s : specs) argv.push_back(s.c_str());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "node", &a, nullptr, const_cast<char**>(argv.data()), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&a);
        ::close(out[1]);
        ::close(in[0]);
        fd_ = out[0];
        stdin_ = in[1];
    }
    ~PeerNodes() {
        if (stdin_ >= 0) ::close(stdin_);
        if (fd_ >= 0) ::close(fd_);
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool started() const { return pid_ > 0; }
    // Reads until `lines` full lines have arrived (or 20 s passed).
    std::vector<std::string> read(size_t lines) {
        std::vector<std::string> out;
        while (out.size() < lines) {
            const size_t nl = buf_.find('\n');
            if (nl != std::string::npos) {
                out.push_back(buf_.substr(0, nl));
                buf_.erase(0, nl + 1);
                continue;
            }
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20000) <= 0) break;
            char b[4096];
            const ssize_t n = ::read(fd_, b, sizeof b);
            if (n <= 0) break;
            buf_.append(b, static_cast<size_t>(n));
        }
        return out;
    }
    // Ends the nodes; one JSON line per node.
    std::vector<std::string> finish(size_t nodes) {
        ::close(stdin_);
        stdin_ = -1;
        auto out = read(nodes);
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
        return out;
    }

private:
    pid_t pid_ = 0;
    int fd_ = -1, stdin_ = -1;
    std::string buf_;
};

struct PeerRun {
    OrskRig rig{true, hk::ClockMode::RealTime};
    int port = hostcan::startBusServer(0);
    std::unique_ptr<PeerNodes> nodes;
    explicit PeerRun(const std::vector<std::string>& specs) {
        hostcan::enableLog(false);
        nodes = std::make_unique<PeerNodes>(port, specs);
    }
    ~PeerRun() { hostcan::stopBusServer(); }
    bool ready() {
        if (!nodes->started() || nodes->read(1) != std::vector<std::string>{"ready"}) return false;
        // The bus server's thread registers the client a moment after the peer's connect.
        for (int i = 0; i < 200 && hostcan::busClients() != 1; ++i) ::usleep(10000);
        return hostcan::busClients() == 1;
    }
    // Configures every node slot; returns whether all ended.
    bool configureAll(int maxPasses = 600) {
        rig.net.take();
        for (int k = 0; k < 4; ++k) rig.start(k);
        for (int i = 0; i < maxPasses; ++i) {
            rig.net.passes(1);
            bool idle = true;
            for (int k = 0; k < 4; ++k) idle = idle && (rig.data(k).Status & ORSK_IDLE) != 0;
            if (idle) return true;
        }
        return false;
    }
};

}  // namespace

TEST(OrskPeers, EachKindConfiguredFrameByFrame) {
    PeerRun run({"aio:1", "rtd:3", "bi:4", "bo:5"});
    ASSERT_TRUE(run.ready()) << "run `npm install` in tests/node (scripts/test.sh does)";
    ASSERT_TRUE(run.configureAll());
    const Lines all = run.rig.net.take();
    for (const KindCase& c : kKinds) {
        EXPECT_EQ(requestsOf(nodeFrames(all, c.id)), requestsOf(expectedSequence(c, true))) << c.name;
        EXPECT_EQ(run.rig.cfgFault(c.slot), 0u) << c.name;
        EXPECT_EQ(run.rig.idFault(c.slot), 0u) << c.name;
        EXPECT_EQ(run.rig.deviceName(c.slot), c.name);
    }
    const auto report = run.nodes->finish(4);
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[3], "{\"kind\":\"bo\",\"id\":5,\"state\":127,\"resets\":1,"
                         "\"writes\":[[5120,5,180],[4119,0,0],[6144,5,250]]}");
}

TEST(OrskPeers, MisbehavingNodes) {
    // analog: wrong module code; RTD: never boots; discrete input: boots
    // twice; relay: answers its vendor id read late, well beyond the limit.
    PeerRun run({"aio:1:code=0x6002", "rtd:3:never", "bi:4:twice", "bo:5:late=3000@1018.1"});
    ASSERT_TRUE(run.ready());
    ASSERT_TRUE(run.configureAll());
    EXPECT_EQ(run.rig.cfgFault(0), 1u);
    EXPECT_EQ(run.rig.idFault(0), 0u);
    EXPECT_EQ(run.rig.deviceName(0), "VL-AIO-10C");
    EXPECT_EQ(run.rig.idFault(1), 1u);
    EXPECT_TRUE(run.rig.lost(1));
    EXPECT_EQ(run.rig.idFault(2), 1u);
    EXPECT_FALSE(run.rig.lost(2));
    EXPECT_EQ(run.rig.cfgFault(3), 1u);
    EXPECT_TRUE(run.rig.lost(3));
    EXPECT_EQ(run.rig.data(3).NibbleB & 0xF, NIB_TIMEOUT);
    EXPECT_EQ(run.rig.deviceName(3), "VL-BO-16C");  // the sequence went on
    const auto report = run.nodes->finish(4);
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0], "{\"kind\":\"aio\",\"id\":1,\"state\":127,\"resets\":1,\"writes\":[[4119,0,0]]}");
    EXPECT_EQ(report[2], "{\"kind\":\"bi\",\"id\":4,\"state\":127,\"resets\":2,\"writes\":[]}");
}

TEST(OrskPeers, AbortsLateAnswersAndSharedIds) {
    // analog: answers every request 300 ms late (within the limit); RTD:
    // aborts the heartbeat write; two discrete-input nodes share id 4.
    PeerRun run({"aio:1:late=300", "rtd:3:abort=1017.0", "bi:4", "bi:4", "bo:5"});
    ASSERT_TRUE(run.ready());
    ASSERT_TRUE(run.configureAll(1200));
    EXPECT_EQ(run.rig.cfgFault(0), 0u);
    EXPECT_FALSE(run.rig.lost(0));
    EXPECT_EQ(run.rig.cfgFault(1), 1u);
    EXPECT_EQ((run.rig.data(1).NibbleA >> 20) & 0xF, NIB_ABORT);
    EXPECT_TRUE(run.rig.lost(1));
    EXPECT_EQ(run.rig.idFault(2), 1u);
    EXPECT_EQ(run.rig.cfgFault(3), 0u);
}
