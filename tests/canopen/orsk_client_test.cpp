// The remote nodes' SDO client, one call at a time, against answers a test
// node puts on the bus: which answers it takes, its time-out, its frames.
#include <gtest/gtest.h>

#include "tests/canopen/orsk_rig.h"

namespace {

// Node slot 2 (discrete input, id 4): requests on 604, answers on 584.
constexpr int kSlot = 2;

struct ClientCase {
    const char* name;
    bool download;
    uint8_t size;
    const char* request;  // the frame the first call sends
    const char* answer;   // what the node answers
    int result;           // of the call after the answer
};

const ClientCase kCases[] = {
    {"UploadTwoBytes", false, 2, "604#4000200000000000", "584#4B00200034120000", ORSK_DONE},
    {"UploadOneByteAnswerToTwo", false, 2, "604#4000200000000000", "584#4F00200034000000", ORSK_BUSY},
    {"UploadUnsizedAnswer", false, 2, "604#4000200000000000", "584#4200200034120000", ORSK_DONE},
    {"UploadSizeZeroAwaitsOneByte", false, 0, "604#4000200000000000", "584#4F00200034000000", ORSK_DONE},
    {"UploadSizeOverFourCountsAsFour", false, 7, "604#4000200000000000", "584#4300200078563412", ORSK_DONE},
    {"UploadThreeBytes", false, 3, "604#4000200000000000", "584#4700200078563400", ORSK_DONE},
    {"UploadAborted", false, 4, "604#4000200000000000", "584#8000200000000206", ORSK_ABORTED},
    {"UploadOtherSubindexIgnored", false, 4, "604#4000200000000000", "584#4300200178563412", ORSK_BUSY},
    {"UploadOtherIndexIgnored", false, 4, "604#4000200000000000", "584#4300210078563412", ORSK_BUSY},
    {"UploadOtherIndexHighIgnored", false, 4, "604#4000200000000000", "584#4301200078563412", ORSK_BUSY},
    {"DownloadSizeZero", true, 0, "604#2F002000AB000000", "584#6000200000000000", ORSK_DONE},
    {"DownloadTwoBytes", true, 2, "604#2B002000AB000000", "584#6000200000000000", ORSK_DONE},
    {"DownloadFourBytes", true, 4, "604#23002000AB000000", "584#6000200000000000", ORSK_DONE},
    {"DownloadAborted", true, 2, "604#2B002000AB000000", "584#8000200000000206", ORSK_ABORTED},
    {"DownloadOtherAnswerIgnored", true, 2, "604#2B002000AB000000", "584#4300200000000000", ORSK_BUSY},
};

class OrskClient : public ::testing::TestWithParam<ClientCase> {};

int call(const ClientCase& c, CanFrame* f) {
    const CO_ORSK_NodeConfig r = *CoOrskNodeRecords[kSlot];
    return c.download ? CO_ORSK_ExpeditedDownload(r, 0x00, 0x20, 0, c.size, f)
                      : CO_ORSK_ExpeditedUpload(r, 0x00, 0x20, 0, c.size, f);
}

}  // namespace

TEST_P(OrskClient, TakesOnlyTheFittingAnswer) {
    const ClientCase c = GetParam();
    OrskRig rig(false);
    rig.drive = false;
    CoOrskNodeData& d = rig.data(kSlot);
    d.Timer = 1234;
    CanFrame f{};
    f.Data[4] = 0xAB;
    int res = 0;
    rig.net.task([&] { res = call(c, &f); });
    EXPECT_EQ(res, ORSK_BUSY);
    EXPECT_EQ(d.Timer, 0);
    EXPECT_NE(d.Status & ORSK_REQUEST, 0u);
    rig.net.passes(1);
    EXPECT_EQ(nodeFrames(rig.net.take(), 4), Lines{c.request});
    rig.net.send(c.answer);
    rig.net.passes(1);
    rig.net.task([&] { res = call(c, &f); });
    EXPECT_EQ(res, c.result);
    EXPECT_EQ(d.Status & ORSK_REQUEST, res == ORSK_BUSY ? ORSK_REQUEST : 0u);
    if (res == ORSK_DONE) {
        hostcan::Frame a;
        ASSERT_TRUE(hostcan::parseFrame(c.answer, &a));
        for (int i = 0; i < 8; ++i) EXPECT_EQ(f.Data[i], a.data[i]) << i;
    }
    if (res == ORSK_BUSY) {
        // Ignored: the request ends as a time-out once the timer passes 2000 ms.
        d.Timer = 2000;
        rig.net.task([&] { res = call(c, &f); });
        EXPECT_EQ(res, ORSK_BUSY);
        d.Timer = 2001;
        rig.net.task([&] { res = call(c, &f); });
        EXPECT_EQ(res, ORSK_TIMEOUT);
        EXPECT_EQ(d.Status & ORSK_REQUEST, 0u);
    }
    EXPECT_TRUE(nodeFrames(rig.net.take(), 4).empty());
}

INSTANTIATE_TEST_SUITE_P(Answers, OrskClient, ::testing::ValuesIn(kCases),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(OrskClientSegments, TwentyCharacterTextTakesThreeSegments) {
    OrskRig rig(false);
    rig.drive = false;
    SimRemoteNode node(SimRemoteNode::Kind::DiscreteIn, 4);
    node.texts[SimRemoteNode::key(0x1008, 0)] = "ABCDEFGHIJKLMNOPQRST";
    std::vector<int> results;
    std::string text;
    for (int i = 0; i < 20 && (results.empty() || results.back() != ORSK_DONE); ++i) {
        rig.net.task([&] {
            CanFrame f{};
            const int r = CO_ORSK_SegmentedUpload(*CoOrskNodeRecords[kSlot], 0x08, 0x10, 0, &f);
            if (r == ORSK_BUSY) return;
            results.push_back(r);
            if (r == ORSK_SEG_MORE || r == ORSK_DONE) text.append(reinterpret_cast<char*>(f.Data + 1), 7 - ((f.Data[0] >> 1) & 7));
        });
        rig.net.passes(1);
    }
    EXPECT_EQ(results, (std::vector<int>{ORSK_SEG_INIT, ORSK_SEG_MORE, ORSK_SEG_MORE, ORSK_DONE}));
    EXPECT_EQ(text, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(rig.data(kSlot).Status & ORSK_SEGMENT_COUNT, 3u);
    const Lines frames = nodeFrames(rig.net.take(), 4);
    EXPECT_EQ(frames[2], "604#6000000000000000");
    EXPECT_EQ(frames[4], "604#7000000000000000");
    EXPECT_EQ(frames[6], "604#6000000000000000");
}

TEST(OrskClientSegments, SegmentAnswersWithAbortOrTimeOut) {
    OrskRig rig(false);
    rig.drive = false;
    CoOrskNodeData& d = rig.data(kSlot);
    const CO_ORSK_NodeConfig r = *CoOrskNodeRecords[kSlot];
    int res = 0;
    CanFrame f{};
    auto step = [&] { rig.net.task([&] { res = CO_ORSK_SegmentedUpload(r, 0x08, 0x10, 0, &f); }); };
    d.Status |= ORSK_SEGMENTS;  // in the segment phase, toggle 0
    step();
    EXPECT_EQ(res, ORSK_BUSY);
    rig.net.send("584#8008100000000005");  // node aborts (toggle bit 0 as requested)
    rig.net.passes(1);
    step();
    EXPECT_EQ(res, ORSK_ABORTED);
    step();  // next request uses toggle 1
    rig.net.send("584#3000000000000000");  // bits 7..5 not a segment: ignored
    rig.net.passes(1);
    step();
    EXPECT_EQ(res, ORSK_BUSY);
    d.Timer = 2001;
    step();
    EXPECT_EQ(res, ORSK_TIMEOUT);
    rig.net.passes(1);
    EXPECT_EQ(nodeFrames(rig.net.take(), 4), (Lines{"604#6000000000000000", "604#7000000000000000"}));
}

TEST(OrskClientNmt, ResetWaitsTheFullTimeEvenAfterAnEarlyBootUp) {
    OrskRig rig(false);
    rig.drive = false;
    CoOrskNodeData& d = rig.data(kSlot);
    d.CurrentSDO = 14;
    const CO_ORSK_NodeConfig r = *CoOrskNodeRecords[kSlot];
    int res = 0;
    rig.net.task([&] { res = CO_ORSK_ResetNode(r); });
    EXPECT_EQ(res, ORSK_BUSY);
    rig.net.send("704#00");
    rig.net.passes(1);
    EXPECT_EQ(nodeFrames(rig.net.take(), 4), Lines{"000#8104"});
    d.Timer = 2000;
    rig.net.task([&] { res = CO_ORSK_ResetNode(r); });
    EXPECT_EQ(res, ORSK_BUSY);
    d.Timer = 2001;
    rig.net.task([&] { res = CO_ORSK_ResetNode(r); });
    EXPECT_EQ(res, ORSK_DONE);
    EXPECT_EQ(d.CurrentSDO, 15);
    EXPECT_EQ(d.NibbleA & 0xF, NIB_DONE);
    EXPECT_EQ(d.Status & (ORSK_REQUEST | ORSK_SDO_ERROR), 0u);
}

// A node that does not boot up after its reset is given the full answer
// time, not a pass less, before the reset times out.
TEST(OrskClientNmt, ResetWithoutBootUpTimesOutOnlyPastTheAnswerTime) {
    OrskRig rig(false);
    rig.drive = false;
    CoOrskNodeData& d = rig.data(kSlot);
    d.CurrentSDO = 14;
    const CO_ORSK_NodeConfig r = *CoOrskNodeRecords[kSlot];
    int res = 0;
    rig.net.task([&] { res = CO_ORSK_ResetNode(r); });
    EXPECT_EQ(res, ORSK_BUSY);
    d.Timer = ORSK_ANSWER_MS;
    rig.net.task([&] { res = CO_ORSK_ResetNode(r); });
    EXPECT_EQ(res, ORSK_BUSY);
    EXPECT_EQ(d.NibbleA & 1u, 1u);  // waiting
    EXPECT_EQ(d.Status & ORSK_SDO_ERROR, 0u);
    d.Timer = ORSK_ANSWER_MS + 1;
    rig.net.task([&] { res = CO_ORSK_ResetNode(r); });
    EXPECT_EQ(res, ORSK_DONE);
    EXPECT_EQ(d.NibbleA & 0xF, NIB_TIMEOUT);
    EXPECT_NE(d.Status & ORSK_SDO_ERROR, 0u);
}

TEST(OrskClientNmt, AlarmResetAndClientAbortFrames) {
    OrskRig rig(false);
    rig.drive = false;
    const CO_ORSK_NodeConfig r = *CoOrskNodeRecords[kSlot];
    int alarm = 0, abort = 0;
    rig.net.task([&] {
        alarm = CO_ORSK_ResetNodeAlarm(r);
        CanFrame f{};
        f.Data[4] = 0x11;
        f.Data[7] = 0x44;
        abort = CO_ORSK_Abort_Sdo(r, 0x08, 0x10, 2, &f);
    });
    EXPECT_EQ(alarm, ORSK_DONE);
    EXPECT_EQ(abort, ORSK_DONE);
    EXPECT_EQ(rig.data(kSlot).CurrentSDO, 8);
    rig.net.passes(1);
    EXPECT_EQ(nodeFrames(rig.net.take(), 4), (Lines{"000#8304", "604#8008100211000044"}));
}

// The periodic reads and the waiting states the supervision starts.
TEST(OrskSequenceStates, PeriodicReadsAndPortSelect) {
    OrskRig rig;
    rig.drive = false;
    SimRemoteNode node(SimRemoteNode::Kind::DiscreteIn, 4);
    node.values[SimRemoteNode::key(0x1001, 0)] = 0x81;
    CoOrskNodeData& d = rig.data(kSlot);
    auto runTo = [&](uint8_t state, uint8_t until) {
        rig.net.task([&] { d.CurrentSDO = state; });
        for (int i = 0; i < 200 && d.CurrentSDO != until; ++i) {
            rig.net.passes(1);
            d.Timer += 20;
        }
        return d.CurrentSDO;
    };
    EXPECT_EQ(runTo(1, 2), 2);
    EXPECT_EQ(d.NodeDiag, 0x81);
    EXPECT_EQ(d.MsgSdoStat >> 28, NIB_DONE);
    EXPECT_EQ(runTo(5, 6), 6);
    EXPECT_EQ(d.NodeTemp, 45);
    EXPECT_EQ((d.NibbleA >> 8) & 0xF, NIB_DONE);
    d.ChanCount = 3;
    EXPECT_EQ(runTo(3, 4), 4);
    EXPECT_EQ(d.ChanValue[2], 3);
    EXPECT_EQ(runTo(9, 10), 10);  // port select, then 500 ms of waiting
    EXPECT_EQ(d.NibbleB >> 28, NIB_DONE);
    EXPECT_EQ(runTo(254, 255), 255);
    EXPECT_EQ(node.writes(), (std::vector<SimRemoteNode::Write>{{0x2264, 1, 1}, {0x1010, 1, 0x65766173}}));
    rig.net.task([&] { d.CurrentSDO = 200; });
    rig.net.passes(1);
    EXPECT_EQ(d.CurrentSDO, 0);
}
