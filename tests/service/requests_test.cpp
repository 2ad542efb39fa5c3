// Every request over a real connection against the scripted binding, and
// the "not provided" answers of the build's own binding.
#include <cstring>

#include "service/TwApiClassic.h"
#include "tw_server_fixture.h"

namespace {

Bytes u32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }
Bytes u16(uint16_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
Bytes f32(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u32(u);
}
Bytes text(const std::string& s) { return Bytes(s.c_str(), s.c_str() + s.size() + 1); }
Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(TwServer, EveryRequestsReplyLayout) {
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    Bytes codes{0x00};
    for (const RequestMapEntry& e : RequestMap) codes.push_back(e.code);
    const Bytes alpha = cat({text("ALPHA"), u32(0x82000001), {1, 11}});
    const Bytes beta = cat({text("BETA"), u32(0x82000002), {2, 12}, f32(-1.0f), f32(1.0f)});
    const Bytes gamma = cat({text("GAMMA"), u32(0x82000003), {3, 13}});
    struct Row { Bytes request, reply; };
    const Row rows[] = {
        {{0x00}, {0x00}}, {{0x01}, codes}, {{0x30}, {0xFF}}, {{0x10}, {0x00}}, {{0x11}, {0x00}},
        {{0x12}, {0x00, 0x01}}, {{0x26}, {0x00}}, {{0x45}, {0x00}},
        {cat({{0x44}, u32(0x1000), u32(0x2000)}), {0x00}},
        {cat({{0x47}, u32(0xABCD), u16(12)}), {0x00}},
        {cat({{0x20}, text("__SID")}), cat({{0x00}, u32(H_SID), {0x01, 0x02}})},
        {{0x20, 'a', 'b'}, {0x01}},  // no NUL
        {cat({{0x23}, u32(H_BOOL)}), {0x00, 0x01}},
        {cat({{0x23}, u32(H_INT)}), {0x00, 0x01, 0x02, 0x03, 0x04}},
        // Fixed fields past the end read 0, not the previous request's bytes
        // (which would make the handle H_INT).
        {{0x23, 0x84, 0x00, 0x00}, {0x01}},
        {cat({{0x23}, u32(H_FLOAT)}), cat({{0x00}, f32(1.5f)})},
        {cat({{0x23}, u32(H_TIME)}), {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}},
        {cat({{0x23}, u32(H_STRING)}), cat({{0x00}, text(kFakeString)})},
        {cat({{0x23}, u32(H_HASH)}), cat({{0x00}, u32(96354)})},
        {cat({{0x23}, u32(H_FAIL)}), {0xFE}},
        // Record values: every field in its place.
        {cat({{0x23}, u32(H_EVENT)}), cat({{0x00, 0x12, 0x34, 0x01, 0xC0, 0xC1, 0xC2, 0xC3}, u32(8), u32(1), u32(0),
                                           u32(2), u32(0), u32(3), u32(0), u32(5), u32(0), u32(6), u32(7), u32(4), u32(4)})},
        {cat({{0x23}, u32(H_EVENT_SHORT)}), cat({{0x00, 0x43, 0x21, 0x00, 0xD0, 0xD1, 0xD2, 0xD3}, u32(8), u32(6), u32(7),
                                                 u32(4), u32(4)})},
        {cat({{0x23}, u32(H_LATCH)}), cat({{0x00, 0x02, 0x04}, u32(0x21222324), u32(0x25262728)})},
        {cat({{0x23}, u32(H_EVDATA)}), {0x00, 0x01, 0x02, 0x0C, 0x0B, 0x0A}},
        {cat({{0x23}, u32(H_QUAD116)}), cat({{0x00, 0x21, 0x22, 0x23, 0x24}, u32(0x25262728), u32(0x292A2B2C)})},
        {cat({{0x23}, u32(H_QUAD117)}), cat({{0x00, 0x21, 0x22, 0x23, 0x24}, u32(0x25262728), u32(0x292A2B2C)})},
        // Structures: handles of bits 28-20 0x0A5 are 14 bytes; other handles have no layout.
        {cat({{0x23}, u32(H_STRUCT)}), {0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {cat({{0x25}, u32(H_STRUCT), {68}, Bytes(14, 0x5A)}), {0x00}},
        {cat({{0x25}, u32(H_INT), {68}, Bytes(14, 0x5A)}), {0x01}},
        {cat({{0x25}, u32(H_INT), {4}, u32(9)}), {0x00}},
        {cat({{0x25}, u32(H_TIME), {64}, u32(5), u32(6)}), {0x00}},
        // Type-80 values: 127 characters and the NUL fit; 128, or no NUL, do not.
        {cat({{0x25}, u32(H_STRING), {80}, text(std::string(127, 'q'))}), {0x00}},
        {cat({{0x25}, u32(H_STRING), {80}, text(std::string(128, 'r'))}), {0x01}},
        {cat({{0x25}, u32(H_STRING), {80}, Bytes(300, 'r')}), {0x01}},
        {cat({{0x28}, u32(H_BOOL), u32(H_INT), u32(H_FAIL), u32(0), {0xAA, 0xBB}}),
         {0x00, 0x00, 0x01, 0x00, 0x01, 0x02, 0x03, 0x04, 0xFE, 0x01}},
        {cat({{0x29}, u32(H_INT), {4}, u32(1), u32(H_BOOL), {1}, {1}}), {0x00, 0x00, 0x00}},
        {cat({{0x24}, u32(H_FLOATS), u16(3), u16(0)}), cat({{0x00}, f32(4.5f), f32(6.0f)})},  // count 0: to the end
        {cat({{0x24}, u32(H_FLOATS), u16(7), u16(1)}), {0x02}},
        {cat({{0x27}, u32(H_FLOATS), u16(2), f32(1.0f), f32(2.0f)}), {0x00}},
        {cat({{0x2B}, u32(H_SID), u32(0), u32(0)}), cat({{0x00}, u32(5), u32(1)})},
        {cat({{0x2B}, u32(H_SID), u32(2), u32(1)}), {0x00, 12, 13, 14}},
        {cat({{0x2B}, u32(H_SID), u32(5), u32(1)}), {0x02}},
        {{0x21}, {0x00, 0x00, 0x03}},
        {cat({{0x22}, u16(0), u16(9)}), cat({{0x00}, u16(0), alpha, beta, gamma})},
        {cat({{0x2A}, u16(1), u16(2)}), cat({{0x00}, u16(1), beta, {0, 0}, gamma, {1, 4}, u32(77)})},
        {{0x50}, cat({{0x00}, text("Tallwire Classic v2.05")})}, {{0x51}, cat({{0x00}, text("RTOS 1.00-0")})},
        {{0x52}, cat({{0x00}, text("CTRL")})}, {{0x54}, cat({{0x00}, text("APP")})},
        {{0x55}, cat({{0x00}, text("CFG")})}, {{0x57}, cat({{0x00}, text("Zarn 200")})},
        {cat({{0x53}, text("NEW ID")}), {0x00}},
        {cat({{0x53}, text("ID")}), {0x00}},  // ends at its own NUL
        {cat({{0x56}, Bytes(200, 'x')}), {0x01}},
        {cat({{0x60, 0x02}, u32(0x1234)}), {0x00}},
        {cat({{0x61}, text("user"), text("pw")}), {0x00, 0x07}},
        {cat({{0x61}, text("user")}), {0x01}},
        {{0x62}, {0x00, 0x03}},
        {cat({{0x62}, text("user"), text("pw")}), {0x00, 0x07}},
    };
    for (const Row& r : rows) EXPECT_EQ(c.ask(r.request), r.reply) << "request " << int(r.request[0]);
    EXPECT_EQ(StartProgramLocation, 0x1000u);
    ASSERT_EQ(fake.writes.size(), 6u);
    EXPECT_EQ(fake.writes[0].second.type, 68u);
    EXPECT_EQ(fake.writes[2].second.data.time.subSeconds, 6u);
    EXPECT_EQ(fake.lastSetText, "ID");
    EXPECT_EQ(fake.arrayWrites.back(), std::make_pair(uint16_t{3}, 2.0f));
}

// An extra value goes into the extended symbol table when its size fits a
// byte: a text of 254 characters and its NUL does, one more character does not.
TEST_F(TwServer, ExtraValuesUpTo255Bytes) {
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    const Bytes gamma = cat({text("GAMMA"), u32(0x82000003), {3, 13}});
    for (size_t n : {254, 255}) {
        fake.extraText.assign(n, 'x');
        const Bytes extra = n == 254 ? cat({{1, 255}, text(fake.extraText)}) : Bytes{0, 0};
        EXPECT_EQ(c.ask(cat({{0x2A}, u16(2), u16(1)})), cat({{0x00}, u16(2), gamma, extra})) << n;
    }
}

TEST_F(TwServer, TheBuildsOwnBindingLeavesSymbolTablesAndProgrammingOut) {
    hk::runTask([] { TwApiClassicInit(&TallwireClassicDescriptor); });
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    struct Row { Bytes request, reply; };
    const Row rows[] = {
        {{0x00}, {0x00}}, {{0x44}, {0x04}}, {{0x45}, {0xFF}}, {{0x47}, {0xFF}}, {{0x21}, {0xFF}},
        {cat({{0x22}, u16(0), u16(1)}), {0xFF}}, {cat({{0x2A}, u16(0), u16(1)}), {0xFF}}, {{0x99}, {0xFF}},
    };
    for (const Row& r : rows) EXPECT_EQ(c.ask(r.request), r.reply) << "request " << int(r.request[0]);
}

TEST_F(TwServer, BatchReadStopsBeforeAnItemThatDoesNotFit) {
    // 255 string handles in 1,024 bytes; each item takes 41 bytes of the 4,093-byte reply.
    Bytes req{0x28};
    for (int i = 0; i < 255; ++i) req = cat({req, u32(H_STRING)});
    req.resize(1024, 0);
    TwTcpClient c(port);
    ASSERT_EQ(c.connectSession(), kConnectReply);
    Bytes reply = c.ask(req);
    ASSERT_EQ(reply.size(), 1u + 99u * 41u);
    for (size_t i = 0; i < 99; ++i) ASSERT_EQ(Bytes(&reply[1 + i * 41], &reply[42 + i * 41]), cat({{0}, text(kFakeString)}));
    EXPECT_EQ(c.ask({0x00}), (Bytes{0x00}));
}

}  // namespace
