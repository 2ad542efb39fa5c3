// The emulated platform's service task: it reads the shared message table
// whenever its service event is given, under its service mutex.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/hostkernel.h"
#include "host/hostsym.h"
#include "host/vkplatform.h"

namespace {

void put32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24), p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8), p[3] = static_cast<uint8_t>(v);
}

template <typename T>
T* symbol(const char* name) {
    void* addr = nullptr;
    return VKSymFindByName(name, &addr) == OK ? static_cast<T*>(addr) : nullptr;
}

class PlatformTable : public ::testing::Test {
protected:
    void SetUp() override { hk::start(hk::ClockMode::Simulated); }
    void TearDown() override {
        hostplatform::stop();
        hk::shutdown();
    }
    // Writes `count` into the table with the given messages in its slots, then
    // gives the service event as the application's monitor does.
    static void post(uint32_t count, const std::vector<hostplatform::Message>& slots, uint32_t appState) {
        uint8_t* table = symbol<uint8_t>("_VxSharedMem");
        ASSERT_NE(table, nullptr);
        for (size_t i = 0; i < slots.size(); ++i) {
            uint8_t* slot = table + 4 + 88 * i;
            put32(slot, slots[i].code);
            put32(slot + 4, slots[i].state);
            std::memset(slot + 8, 0, 80);
            std::memcpy(slot + 8, slots[i].text.data(), std::min<size_t>(slots[i].text.size(), 80));
        }
        put32(table + 1764, appState);
        put32(table, count);
        const long event = *symbol<long>("_hVxServiceEvent");
        hk::runTask([event] { semGive(event); });
        hk::runTicks(1);
        EXPECT_EQ(table[0] | table[1] | table[2] | table[3], 0) << "the table is emptied";
    }
};

using hostplatform::Message;

TEST_F(PlatformTable, EachSlotIsReadInOrderWithTheStateWord) {
    hostplatform::start(false);
    const std::string full(80, 'f');  // a text that fills its field has no NUL
    post(3, {{2, 8, "initializing", 0}, {3, 2, full, 0}, {0x01020304, 0x0A0B0C0D, "x", 0}}, 0x00010203);
    const std::vector<Message> got = hostplatform::messages();
    ASSERT_EQ(got.size(), 3u);
    const Message want[3] = {{2, 8, "initializing", 0x00010203}, {3, 2, full, 0x00010203},
                             {0x01020304, 0x0A0B0C0D, "x", 0x00010203}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(got[i].code, want[i].code) << i;
        EXPECT_EQ(got[i].state, want[i].state) << i;
        EXPECT_EQ(got[i].text, want[i].text) << i;
        EXPECT_EQ(got[i].appState, want[i].appState) << i;
    }
}

TEST_F(PlatformTable, AtMostTwentySlotsAreRead) {
    hostplatform::start(false);
    std::vector<Message> slots;
    for (uint32_t i = 0; i < 20; ++i) slots.push_back({3, 2, std::string("m").append(std::to_string(i)), 0});
    post(25, slots, 7);
    const std::vector<Message> got = hostplatform::messages();
    ASSERT_EQ(got.size(), 20u);
    EXPECT_EQ(got.back().text, "m19");
    hostplatform::clearMessages();
    post(0, {}, 7);
    EXPECT_TRUE(hostplatform::messages().empty());
}

TEST_F(PlatformTable, ConsoleShowsStatesAndEvents) {
    hostplatform::start(true);
    testing::internal::CaptureStdout();
    // An event without a text is kept in the table but not shown; a state
    // without one is.
    post(4, {{2, 4, "Application running", 0}, {12, 2, "", 0}, {5, 2, "Alarm", 0}, {2, 7, "", 0}}, 4);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "[platform] state 4: Application running\n[platform] event 5: Alarm\n[platform] state 7: \n");
    EXPECT_EQ(hostplatform::messages().size(), 4u);
    EXPECT_EQ(hostplatform::shutdownPermissive(), 1u);
    hostplatform::stop();
    EXPECT_EQ(symbol<uint8_t>("_VxSharedMem"), nullptr);
    EXPECT_EQ(symbol<long>("ApplicationShutdownPermissive"), nullptr);
}

}  // namespace

namespace {

TEST_F(PlatformTable, VersionAnswersAndSettings) {
    hostplatform::start(false);
    uint8_t os[4] = {}, files[8] = {}, abstraction[8] = {};
    ASSERT_EQ(VNVersionGetOSVersion(os), 0);
    EXPECT_EQ(std::vector<uint8_t>(os, os + 4), (std::vector<uint8_t>{6, 9, 3, 3}));
    ASSERT_EQ(VN_StdFiles_GetVersion(files), 0);
    EXPECT_EQ(std::vector<uint8_t>(files, files + 8), (std::vector<uint8_t>{0, 0, 0, 0, 1, 7, 1, 0}));
    ASSERT_EQ(VN_Abstraction_GetVersion(abstraction), 0);
    EXPECT_EQ(std::vector<uint8_t>(abstraction + 4, abstraction + 7), (std::vector<uint8_t>{3, 11, 0}));
    EXPECT_EQ(VNVersionGetFootprintPN(), 61930458u);
    EXPECT_EQ(VNVersionGetFootprintRev(), 105u);
    EXPECT_STREQ(VNVersionGetFootprintVersionString(), "61930458.105");
    char text[16];
    EXPECT_EQ(VNVersionPNIntToString(1234, text, sizeof text), 0);
    EXPECT_STREQ(text, "1234");
    EXPECT_EQ(VNVersionPNIntToString(0, text, sizeof text), -1);
    EXPECT_EQ(VNVersionRevIntToString(7, text, sizeof text), 0);
    EXPECT_STREQ(text, "007");
    // Each answer can fail on its own.
    hostplatform::versions().osOk = false;
    EXPECT_EQ(VNVersionGetOSVersion(os), -1);
    EXPECT_EQ(VN_StdFiles_GetVersion(files), 0);
    hostplatform::versions().stdFilesOk = false;
    EXPECT_EQ(VN_StdFiles_GetVersion(files), -1);
    EXPECT_EQ(VN_Abstraction_GetVersion(abstraction), 0);
    hostplatform::versions().abstractionOk = false;
    EXPECT_EQ(VN_Abstraction_GetVersion(abstraction), -1);
    // Account management, the default I/O path, the SPI semaphore.
    EXPECT_EQ(VKGetAccountManagement(), 0);
    hostplatform::setAccountManagement(2);
    EXPECT_EQ(VKGetAccountManagement(), 2);
    EXPECT_EQ(ioDefPathSet("/HD1/Varnekar"), OK);
    EXPECT_EQ(hostplatform::defaultIoPath(), "/HD1/Varnekar");
    EXPECT_EQ(ioDefPathSet(nullptr), OK);
    EXPECT_EQ(hostplatform::defaultIoPath(), "");
    std::vector<std::string> order;
    hk::runTask([&] {
        VN_WaitSpi5Sem();
        hk::spawnFunction([&] { VN_WaitSpi5Sem(), order.push_back("second"), VN_SignalSpi5Sem(); }, 50, "other");
        order.push_back("first");
        VN_SignalSpi5Sem();
    });
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
    // A new start is a fresh board.
    hostplatform::stop();
    hostplatform::start(false);
    EXPECT_EQ(VKGetAccountManagement(), 0);
    EXPECT_EQ(VNVersionGetOSVersion(os), 0);
}

}  // namespace
