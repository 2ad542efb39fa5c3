// The binding's rules that a service tool cannot reach over TCP in this
// build: a level table with pairs, a platform without an account manager,
// float arrays, the text hash and the platform's entry points.
#include "host/hostaccounts.h"
#include "host/hostsym.h"
#include "service/TallwireSupport.h"
#include "service/TwControl.h"
#include "service/TwSecurity.h"
#include "service/TwTcp.h"
#include "service/TwValues.h"
#include "service_app.h"

using namespace svc_test;

namespace {

class Binding : public tc_test::RuntimeFixture {
protected:
    TwTcpPort session{};
    void SetUp() override {
        RuntimeFixture::SetUp();
        session.inUse = 1;
        session.tokenState = TOKEN_ALLOWED;
        pCurTWTcpPort = &session;
    }
    void TearDown() override {
        pCurTWTcpPort = nullptr;
        locSecurity = saved;
        ArrayValuesHMI0 = nullptr;
        numHMIblocks = 0;
        RuntimeFixture::TearDown();
    }
    template <class F>
    auto inTask(F f) {
        decltype(f()) r{};
        hk::runTask([&] { r = f(); });
        return r;
    }
    const SecurityPair* saved = locSecurity;
};

TEST_F(Binding, LevelTableWithPairs) {
    static const SecurityPair table[] = {{2, 1111}, {5, 2222}, {-1, 0}};
    locSecurity = table;
    struct Row { uint8_t from, ask; uint32_t password; uint8_t status, level; };
    const Row rows[] = {
        {0, 2, 2222, 0, 2},    // a password of a higher level serves
        {0, 5, 1111, 254, 0},  // not the other way round
        {5, 2, 9999, 0, 2},    // going down needs no password
        {5, 3, 2222, 254, 5},  // no pair for level 3
        {5, 5, 2222, 0, 5},    // its own password
        {3, 0, 9999, 0, 0},    // level 0 always
    };
    for (const Row& r : rows) {
        session.securityLevel = r.from;
        EXPECT_EQ(inTask([&] { return twsupport::ValidateSecurityItem(r.ask, r.password); }), r.status)
            << int(r.from) << " -> " << int(r.ask);
        EXPECT_EQ(session.securityLevel, r.level) << int(r.from) << " -> " << int(r.ask);
    }
}

TEST_F(Binding, WithoutAnAccountManagerBothRequestsAnswerNotProvidedUntilItIsThere) {
    std::ofstream(root_ + "/" + hostaccounts::kFileName) << "op pw 11\n";
    pGetAccountLevel = nullptr;
    hostsym::registerSymbol("VKPMGetAccountLevel", nullptr);
    uint8_t level = 9;
    EXPECT_EQ(inTask([&] { return twsupport::QueryAccountSecurityLevel("op", "pw", &level); }), 255);
    EXPECT_EQ(level, 0);
    EXPECT_EQ(inTask([&] { return twsupport::AccountSecurityLogin("op", "pw", &level); }), 255);
    hostaccounts::registerAccountManager();
    EXPECT_EQ(inTask([&] { return twsupport::QueryAccountSecurityLevel("op", "pw", &level); }), 0);
    EXPECT_EQ(level, 11);
    EXPECT_EQ(session.securityLevel, 0);
    EXPECT_EQ(inTask([&] { return twsupport::AccountSecurityLogin("op", "pw", &level); }), 0);
    EXPECT_EQ(session.securityLevel, 11);
    // Without a session nothing is saved.
    pCurTWTcpPort = nullptr;
    EXPECT_EQ(inTask([] { return twsupport::SaveValues(); }), 254);
    EXPECT_EQ(inTask([] { return WriteValueRed(handleOf("DATALOG.PRINT.IN_2"), 1, 1); }), 4);
    // Without a session only the reply carries the level.
    pCurTWTcpPort = nullptr;
    EXPECT_EQ(inTask([&] { return twsupport::AccountSecurityLogin("op", "pw", &level); }), 0);
    EXPECT_EQ(inTask([] { return twsupport::GetSessionSecurityLevel(); }), 0);
}

TEST_F(Binding, FloatArraysKeepTheirOrderWhileTheControlRuns) {
    static float values[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    static float loose[3] = {1.0f, 2.0f, 3.0f};
    static const HmiArray arrays[] = {{0, 1, values, 4, 0, 0.0f, 10.0f}, {0, 1, loose, 3, 1, 0.0f, 10.0f}};
    ArrayValuesHMI0 = arrays;
    numHMIblocks = 2;
    const uint32_t h = 0x82B00001;
    auto put = [&](uint16_t item, float v) {
        return inTask([&] {
            TwValue t{};
            t.type = 32;
            t.data.f = v;
            return twsupport::WriteArrayItem(h, &t, item);
        });
    };
    auto get = [&](uint16_t item) {
        TwValue t{};
        const uint8_t s = inTask([&] { return twsupport::ReadArrayItem(h, &t, item); });
        return s == 0 ? t.data.f : -100.0f - float(s);
    };
    EXPECT_EQ(put(1, 2.5f), 254);  // write level 1
    session.securityLevel = 1;
    struct Row { uint16_t item; float value; uint8_t status; };
    const Row rows[] = {
        {0, 2.0f, 2}, {0, 0.5f, 0}, {3, 3.0f, 2}, {3, 9.0f, 0}, {1, 3.0f, 2},
        {1, 2.5f, 0}, {2, 11.0f, 2}, {4, 5.0f, 1}, {2, -1.0f, 2},
    };
    for (const Row& r : rows) EXPECT_EQ(put(r.item, r.value), r.status) << r.item << " " << r.value;
    EXPECT_EQ(get(0), 0.5f);
    EXPECT_EQ(get(1), 2.5f);
    EXPECT_EQ(get(3), 9.0f);
    EXPECT_EQ(get(4), -101.0f);
    EXPECT_EQ(inTask([&] { return twsupport::GetArraySize(h); }), 0);
    EXPECT_EQ(put(0, 0.25f), 0);
    // The array's limits themselves are values it takes.
    EXPECT_EQ(put(3, 10.0f), 0);
    EXPECT_EQ(put(0, 0.0f), 0);
    EXPECT_EQ(get(3), 10.0f);
    EXPECT_EQ(put(0, 0.25f), 0);
    // An array free of order takes any value within its limits.
    TwValue t{};
    t.type = 32;
    t.data.f = 9.0f;
    EXPECT_EQ(inTask([&] { return twsupport::WriteArrayItem(0x82B00002, &t, 0); }), 0);
    EXPECT_EQ(loose[0], 9.0f);
    session.tokenState = TOKEN_EXCLUDED;
    EXPECT_EQ(put(0, 0.75f), 254);
    EXPECT_EQ(get(0), 0.25f);
}

TEST_F(Binding, OnlyLevel15TakesTheTokenWithoutTheChangeRight) {
    hk::runTask([] { init_service_binding(); });
    ASSERT_EQ(ChangeTokenHandle, handleOf(kChangeTokenCell));
    session.tokenState = TOKEN_EXCLUDED;
    for (uint8_t level : {14, 16}) {
        session.securityLevel = level;
        EXPECT_EQ(inTask([] { return WriteValueRed(ChangeTokenHandle, 1, 1); }), 4) << int(level);
    }
    session.securityLevel = 15;
    EXPECT_EQ(inTask([] { return WriteValueRed(ChangeTokenHandle, 1, 1); }), 0);
    EXPECT_EQ(session.tokenState, TOKEN_HOLDER);
    // Another value than the token is still refused to a level-15 session without the right.
    session.tokenState = TOKEN_EXCLUDED;
    EXPECT_EQ(inTask([] { return WriteValueRed(handleOf("DATALOG.PRINT.IN_2"), 1, 1); }), 4);
}

TEST_F(Binding, PlatformEntryPoints) {
    const uint32_t text = handleOf("TUTORIAL.S_TUNABLE.IN");
    const uint32_t index = text & 0xFFFFF;
    str_cell_copy(*static_cast<StrCell*>(cell_ptr(HmiDataVals[index].cell)), "abc");
    uint32_t hash = 0;
    EXPECT_EQ(ReadStringHash(index, &hash), 0);
    EXPECT_EQ(hash, 96354u);
    // Packet sizes by type.
    EXPECT_EQ(twsupport::GetDataPacketBytes(text), 128u);
    EXPECT_EQ(twsupport::GetDataPacketBytes(handleOf("DATALOG.PRINT.IN_2")), 1u);
    EXPECT_EQ(twsupport::GetDataPacketBytes(0xC9100000), 8u);
    EXPECT_EQ(twsupport::GetDataPacketBytes(handleOf("DATALOG.SPEED.A_NAME")), 4u);
    EXPECT_EQ(GetValueIndex(0), -1);
    // Directory records by number: the named ones, up to the empty last.
    const uint32_t named = num_dbug_var - 2;
    EXPECT_EQ(GetValueIndex(0x81000000 | (named - 1)), int32_t(named - 1));
    EXPECT_EQ(GetValueIndex(0x81000000 | named), -1);
    EXPECT_EQ(GetValueType(0x08000000), 66u);
    EXPECT_EQ(GetValueType(0x03000000), 255u);
    // A text cut or padded to n characters; n of the whole buffer or more is refused.
    char dest[130];
    std::memset(dest, 'x', sizeof dest);
    EXPECT_EQ(WriteNVString(dest, "abcdef", 3), 1);
    EXPECT_EQ(std::string(dest, 5), std::string("abc\0x", 5));
    EXPECT_EQ(WriteNVString(dest, "ab", 5), 1);
    EXPECT_EQ(std::string(dest, 7), std::string("ab\0\0\0\0x", 7));
    EXPECT_EQ(WriteNVString(dest, std::string(200, 'q').c_str(), 119), 1);
    EXPECT_EQ(dest[119], '\0');
    EXPECT_EQ(WriteNVString(dest, "z", 120), 0);
    EXPECT_EQ(dest[0], 'q');
    // n of 0 empties the text; a negative n is refused.
    EXPECT_EQ(WriteNVString(dest, "z", -1), 0);
    EXPECT_EQ(dest[0], 'q');
    EXPECT_EQ(WriteNVString(dest, "z", 0), 1);
    EXPECT_EQ(dest[0], '\0');
    // Reads by record number, bounded by the table.
    const uint32_t real = handleOf("DATALOG.LOAD_LVL1.IN_2") & 0xFFFFF;
    *static_cast<float*>(SidGetTuneAddressReal(real)) = 42.0f;
    float f = 0;
    EXPECT_EQ(SVP_LL_MW_R_READ(real, &f), 0);
    EXPECT_EQ(f, 42.0f);
    int32_t i = 0;
    EXPECT_EQ(SVP_LL_MW_I_READ(sizeofHMIValueArray, &i), 1);
    EXPECT_EQ(SidGetTuneAddressReal(sizeofHMIValueArray), nullptr);
    // The short form of a write: type and one word.
    session.securityLevel = 0;
    EXPECT_EQ(inTask([&] { return WriteValueRed(handleOf("DATALOG.PRINT.IN_2"), 1, 7); }), 0);
    EXPECT_EQ(*static_cast<uint32_t*>(cell_ptr(HmiDataVals[handleOf("DATALOG.PRINT.IN_2") & 0xFFFFF].cell)), 1u);
}

}  // namespace
