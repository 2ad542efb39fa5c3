// Every request over a real connection, field by field, against the
// scripted binding; and the answers of the build's own binding, whose
// application side is not provided yet.
#include <cstring>

#include "service/TwApiClassic.h"
#include "tw_server_fixture.h"

namespace {

Bytes u32(uint32_t v) {
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
            static_cast<uint8_t>(v)};
}
Bytes u16(uint16_t v) { return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}; }
Bytes text(const std::string& s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}
Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
uint32_t bitsOf(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

class Requests : public TwServer {
protected:
    std::unique_ptr<TwTcpClient> c;
    void SetUp() override {
        TwServer::SetUp();
        c = std::make_unique<TwTcpClient>(port);
        ASSERT_EQ(c->connectSession().type, 0);
    }
    Bytes ask(const Bytes& r) { return c->ask(r); }
};

TEST_F(Requests, SessionAndControl) {
    EXPECT_EQ(ask({0x00}), (Bytes{0x00}));
    Bytes codes{0x00};
    for (const RequestMapEntry& e : RequestMap) codes.push_back(e.code);
    EXPECT_EQ(ask({0x01}), codes);
    EXPECT_EQ(ask({0x30}), (Bytes{0xFF}));

    EXPECT_EQ(ask({0x12}), (Bytes{0x00, 0x00}));
    fake.running = 0;
    EXPECT_EQ(ask({0x12}), (Bytes{0x00, 0x01}));

    EXPECT_EQ(ask({0x11}), (Bytes{0x00}));
    fake.shutdownVeto = 254;
    EXPECT_EQ(ask({0x11}), (Bytes{0xFE}));
    fake.shutdownVeto = 0;
    fake.shutdownStatus = 4;
    EXPECT_EQ(ask({0x11}), (Bytes{0x04}));

    EXPECT_EQ(ask({0x26}), (Bytes{0x00}));
    fake.saveStatus = 254;
    EXPECT_EQ(ask({0x26}), (Bytes{0xFE}));

    // Programming mode: refused while running, then granted with addresses.
    fake.running = 1;
    EXPECT_EQ(ask(cat({{0x44}, u32(0x1000), u32(0x2000)})), (Bytes{0x02}));
    fake.running = 0;
    EXPECT_EQ(ask(cat({{0x44}, u32(0x1000), u32(0x2000)})), (Bytes{0x00}));
    EXPECT_EQ(StartProgramLocation, 0x1000u);
    EXPECT_EQ(EndProgramLocation, 0x2000u);
    fake.programmingVeto = 6;
    EXPECT_EQ(ask(cat({{0x44}, u32(1), u32(2)})), (Bytes{0x06}));
    EXPECT_EQ(ask({0x45}), (Bytes{0x00}));
    EXPECT_EQ(ask(cat({{0x47}, u32(0xABCD), u16(12)})), (Bytes{0x00}));
    EXPECT_EQ(fake.programAddress, 0xABCDu);
    EXPECT_EQ(fake.programLength, 12);

    // A reset is granted now and carried out at the next connect request;
    // a pending programming mode takes precedence.
    fake.resetVeto = 1;
    EXPECT_EQ(ask({0x10}), (Bytes{0x01}));
    fake.resetVeto = 0;
    EXPECT_EQ(ask({0x10}), (Bytes{0x00}));
    EXPECT_EQ(fake.resets, 0);
    TwTcpClient second(port);
    ASSERT_EQ(second.connectSession().type, 0);
    EXPECT_EQ(fake.programmingStarts, 1);
    EXPECT_EQ(fake.resets, 0);
    TwTcpClient third(port);
    ASSERT_EQ(third.connectSession().type, 0);
    EXPECT_EQ(fake.resets, 1);
    EXPECT_EQ(ResetControlRequested, 0);
}

TEST_F(Requests, ValuesByHandle) {
    EXPECT_EQ(ask(cat({{0x20}, text("__SID")})), cat({{0x00}, u32(H_SID), {0x01, 0x02}}));
    EXPECT_EQ(ask(cat({{0x20}, text("X.Y.Z")})), (Bytes{0x01}));
    EXPECT_EQ(ask({0x20, 'a', 'b'}), (Bytes{0x01}));  // no NUL

    EXPECT_EQ(ask(cat({{0x23}, u32(H_BOOL)})), (Bytes{0x00, 0x01}));
    EXPECT_EQ(ask(cat({{0x23}, u32(H_INT)})), (Bytes{0x00, 0x01, 0x02, 0x03, 0x04}));
    EXPECT_EQ(ask(cat({{0x23}, u32(H_FLOAT)})), (Bytes{0x00, 0x3F, 0xC0, 0x00, 0x00}));
    EXPECT_EQ(ask(cat({{0x23}, u32(H_TIME)})), (Bytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}));
    EXPECT_EQ(ask(cat({{0x23}, u32(H_STRING)})), cat({{0x00}, text(kFakeString)}));
    EXPECT_EQ(ask(cat({{0x23}, u32(H_HASH)})), cat({{0x00}, u32(96354)}));
    EXPECT_EQ(ask(cat({{0x23}, u32(H_FAIL)})), (Bytes{0xFE}));
    // A request shorter than its fields reads zeros past its end, not the
    // bytes the previous request left in the buffer: handle 0.
    EXPECT_EQ(ask({0x23, 0x84}), (Bytes{0x01}));
    EXPECT_EQ(ask(cat({{0x23}, u32(0)})), (Bytes{0x01}));

    // Writes: integer, float, type 3 (nothing decoded), texts.
    EXPECT_EQ(ask(cat({{0x25}, u32(H_INT), {4}, u32(9)})), (Bytes{0x00}));
    ASSERT_EQ(fake.writes.size(), 1u);
    EXPECT_EQ(fake.writes[0].second.type, 4u);
    EXPECT_EQ(fake.writes[0].second.data.u32, 9u);
    EXPECT_EQ(ask(cat({{0x25}, u32(H_FLOAT), {32}, u32(bitsOf(2.25f))})), (Bytes{0x00}));
    EXPECT_EQ(fake.writes[1].second.data.f, 2.25f);
    EXPECT_EQ(ask(cat({{0x25}, u32(H_INT), {3}})), (Bytes{0x00}));
    EXPECT_EQ(fake.writes[2].second.type, 3u);
    EXPECT_EQ(ask(cat({{0x25}, u32(H_TIME), {64}, u32(5), u32(6)})), (Bytes{0x00}));
    EXPECT_EQ(fake.writes[3].second.data.time.subSeconds, 6u);
    fake.writeStatus = 3;
    EXPECT_EQ(ask(cat({{0x25}, u32(H_INT), {4}, u32(9)})), (Bytes{0x03}));
    fake.writeStatus = 0;

    // Texts: 127 characters and the NUL fit; 128 characters do not.
    std::string t127(127, 'q');
    EXPECT_EQ(ask(cat({{0x25}, u32(H_STRING), {80}, text(t127)})), (Bytes{0x00}));
    EXPECT_EQ(fake.lastSetText, t127);
    size_t before = fake.writes.size();
    EXPECT_EQ(ask(cat({{0x25}, u32(H_STRING), {80}, text(std::string(128, 'r'))})), (Bytes{0x01}));
    EXPECT_EQ(ask(cat({{0x25}, u32(H_STRING), {80}, Bytes(300, 'r')})), (Bytes{0x01}));
    // Structure on an area-4 handle beyond the (empty) table.
    EXPECT_EQ(ask(cat({{0x25}, u32(0x8A400000), {68}, Bytes(14, 1)})), (Bytes{0x01}));
    EXPECT_EQ(fake.writes.size(), before);
    // A fixed 14-byte structure handle.
    EXPECT_EQ(ask(cat({{0x25}, u32(0x8A500007), {68}, Bytes(14, 0x5A)})), (Bytes{0x00}));
    auto* h = static_cast<TwStructHeader*>(fake.writes.back().second.data.ptr);
    EXPECT_EQ(h->length, 14);
    EXPECT_EQ(h->bytes[13], 0x5A);
}

TEST_F(Requests, BatchRequests) {
    EXPECT_EQ(ask(cat({{0x28}, u32(H_BOOL), u32(H_INT), u32(H_FAIL), u32(0)})),
              (Bytes{0x00, 0x00, 0x01, 0x00, 0x01, 0x02, 0x03, 0x04, 0xFE, 0x01}));
    // Six bytes after the code: one handle, then two bytes are too few.
    EXPECT_EQ(ask(cat({{0x28}, u32(H_INT), {0xAA, 0xBB}})), (Bytes{0x00, 0x00, 0x01, 0x02, 0x03, 0x04}));

    EXPECT_EQ(ask(cat({{0x29}, u32(H_INT), {4}, u32(1), u32(H_BOOL), {1}, {1}})), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(fake.writes.size(), 2u);
    fake.writeStatus = 6;
    EXPECT_EQ(ask(cat({{0x29}, u32(H_INT), {4}, u32(1)})), (Bytes{0x00, 0x06}));
}

TEST_F(Requests, BatchReadStopsBeforeAnItemThatDoesNotFit) {
    // 1,024-byte request: 255 string handles and three spare bytes; each
    // item takes 41 bytes of the 4,093-byte reply.
    Bytes req{0x28};
    for (int i = 0; i < 255; ++i) {
        Bytes h = u32(H_STRING);
        req.insert(req.end(), h.begin(), h.end());
    }
    req.resize(1024, 0);
    Bytes reply = ask(req);
    ASSERT_EQ(reply.size(), 1u + 99u * 41u);
    EXPECT_EQ(reply[0], 0x00);
    for (size_t i = 0; i < 99; ++i) {
        ASSERT_EQ(reply[1 + i * 41], 0x00);
        EXPECT_EQ(std::memcmp(&reply[2 + i * 41], kFakeString, 40), 0);
    }
    // The session goes on.
    EXPECT_EQ(ask({0x00}), (Bytes{0x00}));
}

TEST_F(Requests, Arrays) {
    const uint32_t floats = 0x82B00001;
    EXPECT_EQ(ask(cat({{0x24}, u32(floats), u16(1), u16(2)})),
              cat({{0x00}, u32(bitsOf(1.5f)), u32(bitsOf(3.0f))}));
    // Count 0: to the end.
    EXPECT_EQ(ask(cat({{0x24}, u32(floats), u16(3), u16(0)})), cat({{0x00}, u32(bitsOf(4.5f)), u32(bitsOf(6.0f))}));
    // First beyond the end: the first item fails and only its status goes.
    EXPECT_EQ(ask(cat({{0x24}, u32(floats), u16(7), u16(1)})), (Bytes{0x02}));
    EXPECT_EQ(ask(cat({{0x24}, u32(0), u16(0), u16(1)})), (Bytes{0x01}));
    fake.arraySize = 0;
    EXPECT_EQ(ask(cat({{0x24}, u32(floats), u16(0), u16(3)})), (Bytes{0x02}));
    fake.arraySize = 5;

    // Latched-list entries: u16 record, u32 seconds, u32 sub-seconds.
    EXPECT_EQ(ask(cat({{0x24}, u32(H_EVENT_LIST), u16(0), u16(2)})),
              cat({{0x00}, u16(1), u32(1000), u32(500), u16(2), u32(1001), u32(500)}));
    // Event records: 59 bytes each.
    Bytes ev = ask(cat({{0x24}, u32(H_EVENTS), u16(2), u16(1)}));
    ASSERT_EQ(ev.size(), 1u + 59u);
    EXPECT_EQ(Bytes(ev.begin() + 1, ev.begin() + 12), cat({u16(0x4242), {1, 'a', 0, 0, 0}, u32(0x802)}));
    EXPECT_EQ(Bytes(ev.begin() + 12, ev.begin() + 20), cat({u32(0x102), u32(0)}));
    EXPECT_EQ(Bytes(ev.end() - 8, ev.end()), cat({u32(0x402), u32(0x402)}));
    // Event data: u16 tag, then the bytes from the last to the first.
    EXPECT_EQ(ask(cat({{0x24}, u32(H_EVENT_DATA), u16(0), u16(2)})),
              (Bytes{0x00, 0x70, 0x00, 0xA3, 0xA2, 0xA1, 0x70, 0x01, 0xA3, 0xA2, 0xA1}));

    // Write array: floats from item 2; an item's failure is kept and the
    // rest are consumed without being written.
    EXPECT_EQ(ask(cat({{0x27}, u32(floats), u16(2), u32(bitsOf(1.0f)), u32(bitsOf(2.0f))})), (Bytes{0x00}));
    ASSERT_EQ(fake.arrayWrites.size(), 2u);
    EXPECT_EQ(fake.arrayWrites[1], std::make_pair(uint16_t{3}, 2.0f));
    fake.arrayWrites.clear();
    fake.arrayWriteFailAt = 1;
    EXPECT_EQ(ask(cat({{0x27}, u32(floats), u16(0), u32(0), u32(0), u32(0)})), (Bytes{0x02}));
    EXPECT_EQ(fake.arrayWrites.size(), 2u);
    EXPECT_EQ(ask(cat({{0x27}, u32(0), u16(0), u32(0)})), (Bytes{0x01}));
}

TEST_F(Requests, BytesAndSymbols) {
    fake.blob = {10, 11, 12, 13, 14};
    EXPECT_EQ(ask(cat({{0x2B}, u32(H_SID), u32(0), u32(0)})), cat({{0x00}, u32(5), u32(1)}));
    EXPECT_EQ(ask(cat({{0x2B}, u32(H_SID), u32(2), u32(1)})), (Bytes{0x00, 12, 13, 14}));
    EXPECT_EQ(ask(cat({{0x2B}, u32(H_SID), u32(5), u32(1)})), (Bytes{0x02}));
    EXPECT_EQ(ask(cat({{0x2B}, u32(0xC9100000), u32(0), u32(1)})), (Bytes{0x01}));
    fake.blob.assign(5000, 0x42);
    Bytes big = ask(cat({{0x2B}, u32(H_SID), u32(0), u32(1)}));
    EXPECT_EQ(big.size(), 4093u);

    EXPECT_EQ(ask({0x21}), (Bytes{0x00, 0x00, 0x03}));
    EXPECT_EQ(ask(cat({{0x22}, u16(0), u16(0)})), (Bytes{0x00}));
    EXPECT_EQ(ask(cat({{0x22}, u16(3), u16(1)})), (Bytes{0x01}));
    Bytes alpha = cat({text("ALPHA"), u32(0x82000001), {1, 11}});
    Bytes beta = cat({text("BETA"), u32(0x82000002), {2, 12}, u32(bitsOf(-1.0f)), u32(bitsOf(1.0f))});
    Bytes gamma = cat({text("GAMMA"), u32(0x82000003), {3, 13}});
    EXPECT_EQ(ask(cat({{0x22}, u16(0), u16(9)})), cat({{0x00}, u16(0), alpha, beta, gamma}));
    EXPECT_EQ(ask(cat({{0x2A}, u16(1), u16(2)})),
              cat({{0x00}, u16(1), beta, {0, 0}, gamma, {1, 4}, u32(77)}));
    fake.symbolCount = 0;
    EXPECT_EQ(ask({0x21}), (Bytes{0xFF}));
}

TEST_F(Requests, IdentifiersAndSecurity) {
    EXPECT_EQ(ask({0x50}), cat({{0x00}, text("Tallwire Classic v2.05")}));
    EXPECT_EQ(ask({0x51}), cat({{0x00}, text("RTOS 1.00-0")}));
    EXPECT_EQ(ask({0x54}), cat({{0x00}, text("APP")}));
    EXPECT_EQ(ask({0x55}), cat({{0x00}, text("CFG")}));
    EXPECT_EQ(ask({0x57}), cat({{0x00}, text("Zarn 200")}));
    fake.identStatus = 254;
    EXPECT_EQ(ask({0x51}), (Bytes{0xFE}));
    EXPECT_EQ(ask({0x55}), (Bytes{0xFE}));
    EXPECT_EQ(ask({0x57}), (Bytes{0xFE}));
    // The control and application identifiers ignore the slot's status.
    EXPECT_EQ(ask({0x52}), cat({{0x00}, text("CTRL")}));
    EXPECT_EQ(ask({0x54}), cat({{0x00}, text("APP")}));

    EXPECT_EQ(ask(cat({{0x53}, text("NEW ID")})), (Bytes{0x00}));
    EXPECT_EQ(fake.lastSetText, "NEW ID");
    fake.setStatus = 254;
    EXPECT_EQ(ask(cat({{0x56}, text("CONF")})), (Bytes{0xFE}));
    EXPECT_EQ(ask(cat({{0x53}, Bytes(200, 'x')})), (Bytes{0x01}));
    EXPECT_EQ(ask({0x56, 'a'}), (Bytes{0x01}));

    EXPECT_EQ(ask(cat({{0x60, 0x02}, u32(0x1234)})), (Bytes{0x00}));
    EXPECT_EQ(fake.validatedLevel, 2);
    EXPECT_EQ(fake.validatedPassword, 0x1234u);
    fake.validateStatus = 254;
    EXPECT_EQ(ask(cat({{0x60, 0x05}, u32(1)})), (Bytes{0xFE}));

    EXPECT_EQ(ask(cat({{0x61}, text("user"), text("pw")})), (Bytes{0x00, 0x07}));
    EXPECT_EQ(fake.lastUser, "user");
    EXPECT_EQ(fake.lastPassword, "pw");
    EXPECT_EQ(ask(cat({{0x61}, text("user")})), (Bytes{0x01}));
    fake.loginStatus = 2;
    EXPECT_EQ(ask(cat({{0x61}, text("u"), text("p")})), (Bytes{0x02}));
    fake.loginStatus = 0;
    // No text at all: the level of the current session.
    EXPECT_EQ(ask({0x62}), (Bytes{0x00, 0x03}));
    EXPECT_EQ(ask(cat({{0x62}, text("user")})), (Bytes{0x01}));
    EXPECT_EQ(ask(cat({{0x62}, text("user"), text("pw")})), (Bytes{0x00, 0x07}));
    // Without a session-level callback the current level reads as 0.
    fakeDescriptor.GetSessionSecurityLevel = nullptr;
    EXPECT_EQ(ask({0x62}), (Bytes{0x00, 0x00}));
}

// The build's own binding: the application side is not there yet, so
// every request that needs it answers "not provided" (or the status the
// request gives for a missing slot).
class RequestsWithoutApplication : public Requests {
public:
    RequestsWithoutApplication() { useFake = false; }
};

TEST_F(RequestsWithoutApplication, AnswerNotProvided) {
    EXPECT_EQ(ask({0x00}), (Bytes{0x00}));
    EXPECT_EQ(ask({0x50}), cat({{0x00}, text("Tallwire Classic v2.05")}));
    EXPECT_EQ(ask({0x10}), (Bytes{0x01}));
    EXPECT_EQ(ask({0x11}), (Bytes{0x01}));
    EXPECT_EQ(ask({0x12}), (Bytes{0x00, 0x00}));
    EXPECT_EQ(ask(cat({{0x44}, u32(0), u32(0)})), (Bytes{0x04}));
    for (uint8_t code : {0x26, 0x45, 0x47, 0x21, 0x22, 0x2A, 0x28, 0x29, 0x2B, 0x51, 0x52, 0x54, 0x55, 0x57, 0x60,
                         0x61, 0x62})
        EXPECT_EQ(ask({code}), (Bytes{0xFF})) << "request " << int(code);
    EXPECT_EQ(ask(cat({{0x23}, u32(H_INT)})), (Bytes{0xFF}));
    EXPECT_EQ(ask(cat({{0x25}, u32(H_INT), {4}, u32(1)})), (Bytes{0xFF}));
    EXPECT_EQ(ask(cat({{0x27}, u32(H_INT), u16(0), u32(1)})), (Bytes{0xFF}));
    EXPECT_EQ(ask(cat({{0x20}, text("__SID")})), (Bytes{0xFF}));
    EXPECT_EQ(ask(cat({{0x53}, text("x")})), (Bytes{0xFF}));
    EXPECT_EQ(ask(cat({{0x56}, text("x")})), (Bytes{0xFF}));
    // Without an array size and item reader: count 0 when none is asked.
    EXPECT_EQ(ask(cat({{0x24}, u32(0x82B00001), u16(0), u16(0)})), (Bytes{0x02}));
    EXPECT_EQ(ask(cat({{0x24}, u32(0x82B00001), u16(0), u16(1)})), (Bytes{0xFF}));
    EXPECT_EQ(ask(cat({{0x24}, u32(H_EVENT_DATA), u16(0), u16(1)})), (Bytes{0xFF}));
}

}  // namespace
