// The configuration sequence against simulated nodes built on the npm
// `canopen` package (tests/node/sim_nodes.js), joined through the bus port
// in real time: each kind frame by frame, and each misbehaviour's outcome.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/canopen/orsk_frames.h"
#include "tests/support/peer_nodes.h"

namespace {

struct PeerRun {
    OrskRig rig{true, hk::ClockMode::RealTime};
    int port = hostcan::startBusServer(0);
    std::unique_ptr<tc_test::PeerNodes> nodes;
    explicit PeerRun(const std::vector<std::string>& specs) {
        hostcan::enableLog(false);
        nodes = std::make_unique<tc_test::PeerNodes>(port, specs);
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
