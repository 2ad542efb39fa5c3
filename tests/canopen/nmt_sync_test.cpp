// NMT slave and master, boot-up and SYNC production, over the bus.
#include <gtest/gtest.h>

#include <algorithm>

#include "canopen/canopen.h"
#include "canopen/canopen_obj_dctn.h"
#include "runtime/can_startup.h"
#include "host/hostkernel.h"
#include "tests/canopen/can_fixture.h"

TEST(CanOpenNmt, BootUpOnOpenThenOneSyncPerPassInEveryState) {
    CanNet net;
    EXPECT_EQ(net.take(), (Lines{"70A#00"}));
    const std::pair<const char*, uint8_t> states[] = {
        {nullptr, NMT_PRE_OPERATIONAL}, {"000#010A", NMT_OPERATIONAL}, {"000#0200", NMT_STOPPED}};
    for (const auto& [command, state] : states) {
        if (command != nullptr) net.send(command);
        net.passes(3);
        EXPECT_EQ(net.image().NmtState, state);
        EXPECT_EQ(net.take(), Lines(3, "080#")) << int(state);
    }
}

// A SYNC latches the frames that arrived before it: the network pass after it
// handles those, and the looped-back SYNC and later frames wait for the next.
TEST(CanOpenSync, ThePassHandlesTheFramesBeforeTheSync) {
    CanNet net(true, false);
    const uint32_t before = NmtErrCntrlSt1B.HeartbeatCount;
    net.send("701#05");
    net.passes(1);
    net.task([] { CanOpenSendNmtNow(1, 0x80, &NmtCanMessageBufferB, 0); });
    net.send("701#05");
    net.passes(1);
    const uint32_t counts[] = {1, 2, 2};
    for (uint32_t count : counts) {
        net.task([] { CanOpen(1, 20); });
        EXPECT_EQ(NmtErrCntrlSt1B.HeartbeatCount - before, count);
    }
    EXPECT_EQ(net.take(), (Lines{"70A#00", "080#"}));
}

// Heartbeats of the remote nodes are counted per node, boot-ups (state 0)
// also apart; an empty frame, an unknown node and the own id count nothing.
TEST(CanOpenNmt, RemoteHeartbeatsAndBootUpsCounted) {
    CanNet net;
    struct Row { const char* line; int node1Beats, node1Boots, node5Beats; };
    const Row rows[] = {{"701#05", 1, 0, 0}, {"701#00", 1, 1, 0}, {"701#", 0, 0, 0},
                        {"702#00", 0, 0, 0}, {"70A#05", 0, 0, 0}, {"705#7F", 0, 0, 1}};
    for (const Row& r : rows) {
        const NmtErrCntrlRecord one = NmtErrCntrlSt1B, five = NmtErrCntrlSt4B;
        net.send(r.line);
        net.passes(1);
        EXPECT_EQ(std::tuple(NmtErrCntrlSt1B.HeartbeatCount - one.HeartbeatCount, NmtErrCntrlSt1B.BootUpCount - one.BootUpCount,
                             NmtErrCntrlSt4B.HeartbeatCount - five.HeartbeatCount),
                  std::tuple(r.node1Beats, r.node1Boots, r.node5Beats))
            << r.line;
    }
}

// Frames the timer step and the SYNC consumer send, pass by pass: 1 where a
// pass sends the frame. The producer heartbeat time counts 20 ms a pass; a
// synchronous TPDO goes out on every n-th SYNC of the operational node.
TEST(CanOpenTimers, HeartbeatAndSynchronousTpdoPerPass) {
    struct Row {
        const char* name;
        uint16_t heartbeatMs;
        uint8_t tpdo3Type;
        const char* frame;
        std::string pattern;
    };
    const Row rows[] = {
        {"heartbeat 19 ms", 19, 254, "70A#05", "111111"},
        {"heartbeat 20 ms", 20, 254, "70A#05", "111111"},
        {"heartbeat 21 ms", 21, 254, "70A#05", "010101"},
        {"heartbeat 40 ms", 40, 254, "70A#05", "010101"},
        {"heartbeat 41 ms", 41, 254, "70A#05", "001001"},
        {"heartbeat off", 0, 254, "70A#05", "000000"},
        {"TPDO every SYNC", 0, 1, "38A#3132333435363738", "111111"},
        {"TPDO every 2nd SYNC", 0, 2, "38A#3132333435363738", "010101"},
        {"TPDO every 3rd SYNC", 0, 3, "38A#3132333435363738", "001001"},
        {"TPDO every 240th SYNC", 0, 240, "38A#3132333435363738", "000000"},
        {"TPDO type 0", 0, 0, "38A#3132333435363738", "000000"},
        {"TPDO type 241", 0, 241, "38A#3132333435363738", "000000"},
        {"TPDO on request", 0, 252, "38A#3132333435363738", "000000"},
    };
    for (const Row& r : rows) {
        CanNet net;
        // The type is written while the PDO is invalid; the reset of the
        // communication then starts its SYNC count.
        const std::string type = "60A#2F021802" + std::string(1, "0123456789ABCDEF"[r.tpdo3Type >> 4]) +
                                 "0123456789ABCDEF"[r.tpdo3Type & 15] + "000000";
        for (const char* line : {"60A#230218018A030080", type.c_str(), "60A#230218018A030000", "000#820A"}) {
            net.send(line);
            net.passes(1);
        }
        net.goOperational();
        net.task([&] {
            ProducerHeartbeatTimeB = r.heartbeatMs;
            TimersStructB.HeartbeatElapsedMs = 0;
            for (int i = 0; i < 8; ++i) COBFifoTx[2 * kTxPdoStride + i] = static_cast<uint8_t>(0x31 + i);  // TPDO 3's objects
        });
        std::string pattern;
        for (int pass = 0; pass < 6; ++pass) {
            net.passes(1);
            const Lines lines = net.take();
            pattern += std::count(lines.begin(), lines.end(), r.frame) == 1 ? '1' : '0';
        }
        EXPECT_EQ(pattern, r.pattern) << r.name;
        net.task([] { ProducerHeartbeatTimeB = 0; });
    }
}

// Each step: an NMT frame from the bus (and, where given, a second frame
// right behind it in the same pass), or a master command the controller
// sends itself and takes back through the loop-back; then one pass.
TEST(CanOpenNmt, CommandsFromTheBusAndThroughTheLoopBack) {
    CanNet net;
    net.take();
    struct Step {
        const char* line;
        uint8_t state;
        Lines out = {"080#"};
        void (*master)() = nullptr;
        const char* next = nullptr;
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
        // Reset node from operational or stopped: the node waits in state 0,
        // and a frame received before its boot-up boots it and is dropped:
        // the start is not taken, the SDO request not answered.
        {"000#810A", NMT_PRE_OPERATIONAL, boot, nullptr, "000#010A"},
        {"000#010A", NMT_OPERATIONAL},
        {"000#810A", NMT_PRE_OPERATIONAL, boot},  // reset node from operational: the timer step boots
        {"000#020A", NMT_STOPPED},
        {"000#8100", NMT_PRE_OPERATIONAL, boot, nullptr, "60A#4017100000000000"},
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
        if (s.next != nullptr) net.send(s.next);
        net.passes(1);
        EXPECT_EQ(net.image().NmtState, s.state) << (s.line ? s.line : s.out[0]);
        EXPECT_EQ(net.take(), s.out) << (s.line ? s.line : s.out[0]);
    }
}

// TIME runs only where the dictionary has the COB-id TIME object: bit 30 of
// it produces (28 bits of milliseconds, then the days), bit 31 consumes a
// frame of at least 6 bytes.
TEST(CanOpenTime, ProducedAndConsumedByTheTimeObject) {
    static uint32_t timeCob = 0;
    static const OdEntry timeOd[] = {{0x1012, OD_CODE_VAR, OD_TYPE_UNSIGNED32, OD_ACCESS_RW, &timeCob},
                                     {0xFFFF, 255, 255, 255, nullptr}};
    struct Row {
        const char* name;
        uint32_t cob;  // 0: no TIME object
        const char* received;
        Lines sent;
        TimeOfDay after;
    };
    const Row rows[] = {
        {"no TIME object", 0, "100#FFFFFFFF3412", {"080#"}, {0xF1234567, 0x0102}},
        {"producer", 0x40000100, "100#FFFFFFFF3412", {"100#674523010201", "080#"}, {0xF1234567, 0x0102}},
        {"consumer", 0x80000100, "100#FFFFFFFF3412", {"080#"}, {0x0FFFFFFF, 0x1234}},
        {"both, a short frame", 0xC0000100, "100#FFFFFFFF34", {"100#674523010201", "080#"}, {0xF1234567, 0x0102}},
    };
    for (const Row& r : rows) {
        CanNet net;
        net.take();
        TimeOfDay record{0xF1234567, 0x0102};
        timeCob = r.cob;
        net.task([&] {
            COImagesApp.TimeRecord = &record;
            if (r.cob != 0) {
                COImagesApp.ObjectDictionary = timeOd;
                COImagesApp.OdCount = 2;
            }
            EXPECT_EQ(CanOpenSendTime(1), 0);
        });
        net.send(r.received);
        net.passes(1);
        EXPECT_EQ(net.take(), r.sent) << r.name;
        EXPECT_EQ(std::pair(record.Milliseconds, record.Days), std::pair(r.after.Milliseconds, r.after.Days)) << r.name;
        net.task([] {
            COImagesApp.TimeRecord = nullptr;
            COImagesApp.ObjectDictionary = CANOpenBCommProfileArea.data();
            COImagesApp.OdCount = kOdCount;
        });
    }
}
