// NMT slave and master, boot-up and SYNC production, over the bus.
#include <gtest/gtest.h>

#include "canopen/canopen.h"
#include "host/hostkernel.h"
#include "tests/canopen/can_fixture.h"

TEST(CanOpenNmt, BootUpOnOpenThenSyncEvery20msInEveryState) {
    CanNet net;
    EXPECT_EQ(net.take(), (Lines{"70A#00"}));
    std::vector<uint64_t> syncTimes;
    const int node = hostcan::attach("sync-clock", [&](const hostcan::Frame& f) {
        if (f.id == 0x80) syncTimes.push_back(hk::nowNs());
    });
    const std::pair<const char*, uint8_t> states[] = {
        {nullptr, NMT_PRE_OPERATIONAL}, {"000#010A", NMT_OPERATIONAL}, {"000#0200", NMT_STOPPED}};
    for (const auto& [command, state] : states) {
        if (command != nullptr) net.send(command);
        net.passes(3);
        EXPECT_EQ(net.image().NmtState, state);
        EXPECT_EQ(net.take(), Lines(3, "080#")) << int(state);
    }
    hostcan::detach(node);
    ASSERT_EQ(syncTimes.size(), 9u);
    for (size_t i = 1; i < syncTimes.size(); ++i) EXPECT_EQ(syncTimes[i] - syncTimes[i - 1], 20'000'000u) << i;
}

// Each step: an NMT frame from the bus, or a master command the controller sends
// itself and takes back through the loop-back; then one pass.
TEST(CanOpenNmt, CommandsFromTheBusAndThroughTheLoopBack) {
    CanNet net;
    net.take();
    struct Step {
        const char* line;
        uint8_t state;
        Lines out = {"080#"};
        void (*master)() = nullptr;
    };
    const Lines boot = {"080#", "70A#00"};
    const Step steps[] = {
        {"000#800A", NMT_PRE_OPERATIONAL},  // 127 -128-> no change
        {"000#010A", NMT_OPERATIONAL},      // 127 -1-> 5
        {"000#010A", NMT_OPERATIONAL},      // 5 -1-> no change
        {"000#800A", NMT_PRE_OPERATIONAL},  // 5 -128-> 127
        {"000#020A", NMT_STOPPED},          // 127 -2-> 4
        {"000#020A", NMT_STOPPED},          // 4 -2-> no change
        {"60A#4017100000000000", NMT_STOPPED},  // stopped: no SDO answer
        {"000#800A", NMT_PRE_OPERATIONAL},  // 4 -128-> 127
        {"000#0200", NMT_STOPPED},          // node 0 applies
        {"000#010A", NMT_OPERATIONAL},      // 4 -1-> 5
        {"000#020A", NMT_STOPPED},          // 5 -2-> 4
        {"000#010B", NMT_STOPPED},          // another node: ignored
        {"000#0100", NMT_OPERATIONAL},
        {"000#030A", NMT_OPERATIONAL},    // unknown specifier: ignored
        {"000#01", NMT_OPERATIONAL},      // wrong length: dropped
        {"000#800A00", NMT_OPERATIONAL},  // wrong length: dropped
        {"000#810A", NMT_PRE_OPERATIONAL, boot},  // reset node from operational: the timer step boots
        {"000#020A", NMT_STOPPED},
        {"000#8100", NMT_PRE_OPERATIONAL, boot},  // from stopped
        {"000#810A", NMT_PRE_OPERATIONAL, boot},  // from pre-operational
        {"000#8200", NMT_PRE_OPERATIONAL, boot},  // reset communication
        {"000#010A", NMT_OPERATIONAL},
        {"000#820A", NMT_PRE_OPERATIONAL, boot},
        {nullptr, NMT_OPERATIONAL, {"000#0100", "080#"}, [] { CanOpenGoOperational(1); }},
        {nullptr, NMT_OPERATIONAL, {"000#8003", "080#"}, [] { CanOpenNodeGoPreOperational(1, 3); }},
        {nullptr, NMT_PRE_OPERATIONAL, {"000#800A", "080#"}, [] { CanOpenNodeGoPreOperational(1, 10); }},
        {nullptr, NMT_PRE_OPERATIONAL, {"000#0105", "080#"}, [] { CanOpenNodeGoOperational(1, 5); }},
    };
    for (const Step& s : steps) {
        if (s.line != nullptr) net.send(s.line);
        else net.task(s.master);
        net.passes(1);
        EXPECT_EQ(net.image().NmtState, s.state) << (s.line ? s.line : s.out[0]);
        EXPECT_EQ(net.take(), s.out) << (s.line ? s.line : s.out[0]);
    }
}
