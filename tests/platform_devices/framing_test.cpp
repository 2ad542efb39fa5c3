// The Modbus/TCP framing on its own, over a scripted receive source.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "platform/vxwsock2.h"

namespace {

// Receive results in order: bytes, -1 (nothing there), or an empty entry
// for the peer closing. Records what each receive asked for.
struct Script {
    std::deque<std::vector<uint8_t>> steps;
    std::vector<int> asked;
    int waits = 0;
};

int recvStep(void* ctx, uint8_t* p, int n) {
    auto* s = static_cast<Script*>(ctx);
    s->asked.push_back(n);
    if (s->steps.empty()) return -1;
    auto& front = s->steps.front();
    if (front.empty()) return 0;
    int take = std::min<int>(n, static_cast<int>(front.size()));
    std::copy(front.begin(), front.begin() + take, p);
    front.erase(front.begin(), front.begin() + take);
    if (front.empty()) s->steps.pop_front();
    return take;
}

bool waitStep(void* ctx) {
    ++static_cast<Script*>(ctx)->waits;
    return true;
}

int32_t run(Script& s, uint8_t* buf, int cap, uint32_t rounds) {
    FrameSource src{recvStep, waitStep, &s};
    return mbapFrameReceive(src, buf, cap, rounds);
}

}  // namespace

TEST(MbapFraming, ReceivesOnlyTheFrameWithinTheCallersBuffer) {
    Script s;
    // Header in bytes, then the rest together with the next request.
    s.steps = {{0, 7}, {0, 0}, {0, 4, 5, 3}, {0, 1, 0, 7, 0, 0}};
    uint8_t buf[16];
    EXPECT_EQ(run(s, buf, sizeof buf, 5), 10);
    EXPECT_EQ(std::vector<uint8_t>(buf, buf + 10), (std::vector<uint8_t>{0, 7, 0, 0, 0, 4, 5, 3, 0, 1}));
    // Never asked for more than the header, then the rest of the frame.
    EXPECT_EQ(s.asked, (std::vector<int>{6, 4, 2, 4, 2}));
    ASSERT_EQ(s.steps.size(), 1u);
    EXPECT_EQ(s.steps.front(), (std::vector<uint8_t>{0, 7, 0, 0}));  // the next request stays
}

TEST(MbapFraming, BudgetCloseAndBadLengths) {
    uint8_t buf[32];
    Script silent;
    EXPECT_EQ(run(silent, buf, sizeof buf, 10), VKIO_TIMEOUT);
    EXPECT_EQ(silent.waits, 10);
    EXPECT_EQ(silent.asked.size(), 11u);
    Script none;
    EXPECT_EQ(run(none, buf, sizeof buf, 0), VKIO_TIMEOUT);
    EXPECT_EQ(none.waits, 0);

    Script closing;
    closing.steps = {{0, 1, 0}, {}};
    EXPECT_EQ(run(closing, buf, sizeof buf, 100), VKIO_TIMEOUT);
    EXPECT_EQ(closing.waits, 0);

    Script zero;
    zero.steps = {{0, 1, 0, 0, 0, 0, 1}};
    EXPECT_EQ(run(zero, buf, sizeof buf, 1), VKIO_ERROR);
    Script high;
    high.steps = {{0, 1, 0, 0, 1, 0, 1}};
    EXPECT_EQ(run(high, buf, sizeof buf, 1), VKIO_ERROR);
    Script tooLong;
    tooLong.steps = {{0, 1, 0, 0, 0, 27, 1}};  // 6 + 27 > 32
    EXPECT_EQ(run(tooLong, buf, sizeof buf, 1), VKIO_ERROR);
    Script fits;
    fits.steps = {std::vector<uint8_t>{0, 1, 0, 0, 0, 26}, std::vector<uint8_t>(26, 9)};
    EXPECT_EQ(run(fits, buf, sizeof buf, 1), 32);
    Script tiny;
    EXPECT_EQ(run(tiny, buf, 6, 1), VKIO_ERROR);  // no frame fits 6 bytes
    EXPECT_TRUE(tiny.asked.empty());
}
