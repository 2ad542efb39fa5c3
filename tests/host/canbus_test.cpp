// The host's virtual CAN bus: the frame text form, delivery between
// participants, drop and delay faults, and the TCP bus server on 127.0.0.1.
#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/canbus.h"

namespace {

using hostcan::Frame;
using hostcan::makeFrame;

class CanBus : public ::testing::Test {
protected:
    void SetUp() override { hostcan::reset(); }
    void TearDown() override {
        hostcan::stopBusServer();
        hostcan::reset();
    }
};

TEST(CanFrameText, ParseAndFormat) {
    const struct {
        const char* line;
        bool ok;
        const char* formatted;  // the frame written back
    } cases[] = {
        {"080#", true, "080#"},
        {"70A#05", true, "70A#05"},
        {"60a#4018100400000000", true, "60A#4018100400000000"},
        {"7FF#0102030405060708", true, "7FF#0102030405060708"},
        {"1#ff\r", true, "001#FF"},
        {"800#", false, ""},                     // beyond 11 bits
        {"0800#", false, ""},                    // four id digits
        {"#01", false, ""},                      // no id
        {"123", false, ""},                      // no '#'
        {"123#0", false, ""},                    // odd digit count
        {"123#010203040506070809", false, ""},   // nine bytes
        {"12G#01", false, ""},
        {"123#0G", false, ""},
        {"123#G0", false, ""},
    };
    for (const auto& c : cases) {
        Frame f = makeFrame(0x555, {0xEE});
        EXPECT_EQ(hostcan::parseFrame(c.line, &f), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(hostcan::formatFrame(f), c.formatted) << c.line;
        } else {
            EXPECT_EQ(f, makeFrame(0x555, {0xEE})) << c.line;  // untouched
        }
    }
    // Frames compare by id, length and their data bytes only.
    EXPECT_EQ(makeFrame(0x10, {1, 2}), makeFrame(0x10, {1, 2}));
    EXPECT_FALSE(makeFrame(0x10, {1, 2}) == makeFrame(0x11, {1, 2}));
    EXPECT_FALSE(makeFrame(0x10, {1, 2}) == makeFrame(0x10, {1, 2, 3}));
    EXPECT_FALSE(makeFrame(0x10, {1, 2}) == makeFrame(0x10, {1, 3}));
    EXPECT_EQ(makeFrame(0x10, {1, 2, 3, 4, 5, 6, 7, 8, 9}).len, 8);
}

TEST_F(CanBus, FramesReachEveryOtherParticipantThroughTheFaultRules) {
    std::vector<std::string> a, b;
    const int na = hostcan::attach("a", [&](const Frame& f) { a.push_back(hostcan::formatFrame(f)); });
    const int nb = hostcan::attach("b", [&](const Frame& f) { b.push_back(hostcan::formatFrame(f)); });
    hostcan::send(na, makeFrame(0x180, {}));
    EXPECT_TRUE(hostcan::takeLog().empty());  // no log until it is enabled
    b.clear();
    hostcan::enableLog(true);
    hostcan::send(na, makeFrame(0x181, {1}));
    EXPECT_EQ(a, std::vector<std::string>{});
    EXPECT_EQ(b, std::vector<std::string>{"181#01"});
    // Two frames of id 0x701 dropped, then they pass again.
    hostcan::dropFrames([](const Frame& f) { return f.id == 0x701; }, 2);
    for (int i = 0; i < 3; ++i) hostcan::send(nb, makeFrame(0x701, {static_cast<uint8_t>(i)}));
    hostcan::send(nb, makeFrame(0x702, {}));
    EXPECT_EQ(a, (std::vector<std::string>{"701#02", "702#"}));
    // Delayed frames wait for the release, then go out in order.
    hostcan::delayFrames([](const Frame& f) { return f.id == 0x80; });
    hostcan::send(na, makeFrame(0x80, {}));
    hostcan::send(na, makeFrame(0x80, {9}));
    hostcan::send(na, makeFrame(0x81, {}));
    EXPECT_EQ(b.back(), "081#");
    hostcan::releaseDelayed();
    EXPECT_EQ(b, (std::vector<std::string>{"181#01", "081#", "080#", "080#09"}));
    hostcan::send(na, makeFrame(0x80, {}));  // the release ended the rule
    EXPECT_EQ(b.back(), "080#");
    EXPECT_EQ(hostcan::framesCarried(), 8u);
    EXPECT_EQ(hostcan::takeLog(),
              (std::vector<std::string>{"181#01", "701#02", "702#", "081#", "080#", "080#09", "080#"}));
    EXPECT_TRUE(hostcan::takeLog().empty());
    // All-time drop rules, cleared by clearFaults; a detached node hears nothing.
    hostcan::dropFrames([](const Frame&) { return true; });
    for (int i = 0; i < 5; ++i) hostcan::send(na, makeFrame(0x1, {}));
    EXPECT_EQ(b.size(), 5u);
    hostcan::clearFaults();
    hostcan::detach(nb);
    hostcan::send(na, makeFrame(0x2, {}));
    EXPECT_EQ(b.size(), 5u);
    EXPECT_EQ(hostcan::waitFrames(9, 0), 9u);
}

// A TCP client of the bus server.
struct Client {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    explicit Client(int port) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    }
    ~Client() { ::close(fd); }
    void send(const std::string& s) { ASSERT_EQ(::send(fd, s.data(), s.size(), MSG_NOSIGNAL), static_cast<ssize_t>(s.size())); }
    // Reads until `n` lines have come (or 5 s of silence).
    std::vector<std::string> lines(size_t n) {
        std::string got;
        std::vector<std::string> out;
        while (out.size() < n) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 5000) != 1) break;
            char buf[256];
            const ssize_t k = ::recv(fd, buf, sizeof buf, 0);
            if (k <= 0) break;
            got.append(buf, static_cast<size_t>(k));
            for (size_t nl; (nl = got.find('\n')) != std::string::npos; got.erase(0, nl + 1)) out.push_back(got.substr(0, nl));
        }
        return out;
    }
};

// The local address (hex, as the kernel lists it) of the TCP socket listening on `port`.
std::string listeningAddress(int port) {
    std::ifstream in("/proc/net/tcp");
    std::string line;
    char want[8];
    std::snprintf(want, sizeof want, ":%04X", port);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string index, local, remote, state;
        fields >> index >> local >> remote >> state;
        if (state == "0A" && local.size() > 8 && local.substr(8) == want) return local.substr(0, 8);
    }
    return "";
}

TEST_F(CanBus, ServerCarriesLinesBothWaysAndSkipsBadOnes) {
    std::vector<std::string> heard;
    const int node = hostcan::attach("node", [&](const Frame& f) { heard.push_back(hostcan::formatFrame(f)); });
    const int port = hostcan::startBusServer(0);
    ASSERT_GT(port, 0);
    EXPECT_EQ(listeningAddress(port), "0100007F");  // 127.0.0.1 only, never every interface
    Client c(port);
    Client d(port);
    for (int i = 0; i < 500 && hostcan::busClients() < 2; ++i) ::usleep(10000);
    ASSERT_EQ(hostcan::busClients(), 2);
    // A bad line and an overlong one are skipped; the good ones arrive in order.
    c.send("701#05\nbad\n" + std::string(100, '1') + "\n181#0102\r\n");
    EXPECT_EQ(hostcan::waitFrames(2, 5000), 2u);
    EXPECT_EQ(heard, (std::vector<std::string>{"701#05", "181#0102"}));
    EXPECT_EQ(d.lines(2), (std::vector<std::string>{"701#05", "181#0102"}));
    hostcan::send(node, makeFrame(0x80, {}));
    EXPECT_EQ(c.lines(1), std::vector<std::string>{"080#"});
    EXPECT_EQ(d.lines(1), std::vector<std::string>{"080#"});
    hostcan::stopBusServer();
    EXPECT_EQ(hostcan::busClients(), 0);
}

}  // namespace
