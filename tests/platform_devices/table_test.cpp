// The device table's rows and the socket address record of the dispatch.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/vkiodev.h"

namespace {

TEST(DeviceTable, EveryRowHasItsNumberKindOwnerAndPort) {
    const struct {
        const char* name;
        char kind;
        uint8_t cpuSlot;
        uint16_t port;
        bool status, fault;
    } rows[] = {
        {"null", DEV_KIND_NULL, 0, 0, false, false},
        {"serial COMM1", DEV_KIND_SERIAL, 1, 0, true, true},
        {"Modbus/TCP connection 1", DEV_KIND_TCP, 1, 0, true, true},
        {"Modbus/TCP listener", DEV_KIND_TCP_LISTEN, 1, 0, false, false},
        {"UDP 5001", DEV_KIND_UDP, 1, 5001, false, true},
        {"Modbus/TCP connection 2", DEV_KIND_TCP, 1, 0, true, true},
        {"UDP 5002", DEV_KIND_UDP, 1, 5002, false, true},
        {"UDP 5005", DEV_KIND_UDP, 1, 5005, false, true},
    };
    ASSERT_EQ(ndevs, 8);
    for (int n = 0; n < ndevs; ++n) {
        SCOPED_TRACE(rows[n].name);
        const DevTabEntry& d = devtab[n];
        EXPECT_EQ(d.devNum, n);
        EXPECT_EQ(d.kind, rows[n].kind);
        EXPECT_EQ(d.cpuSlot, rows[n].cpuSlot);
        EXPECT_EQ(d.port, rows[n].port);
        EXPECT_EQ(d.statusCell != nullptr, rows[n].status);
        EXPECT_EQ(d.faultCell != nullptr, rows[n].fault);
        for (int m = 0; m < n; ++m) EXPECT_NE(d.holder, devtab[m].holder) << m;
    }
}

TEST(DeviceTable, RecordsAreFoundOnlyForTheirKindOfRow) {
    int records[8];
    void* saved[8];
    for (int n = 0; n < ndevs; ++n) saved[n] = *devtab[n].holder, *devtab[n].holder = &records[n];
    EXPECT_EQ(socketDvramOf(0), nullptr);
    EXPECT_EQ(serialDvramOf(0), nullptr);
    EXPECT_EQ(static_cast<void*>(serialDvramOf(1)), &records[1]);
    EXPECT_EQ(socketDvramOf(1), nullptr);
    for (int n = 2; n < ndevs; ++n) {
        EXPECT_EQ(static_cast<void*>(socketDvramOf(n)), &records[n]) << n;
        EXPECT_EQ(serialDvramOf(n), nullptr) << n;
    }
    for (int n : {-1, 8}) {
        EXPECT_EQ(socketDvramOf(n), nullptr) << n;
        EXPECT_EQ(serialDvramOf(n), nullptr) << n;
    }
    for (int n = 0; n < ndevs; ++n) *devtab[n].holder = saved[n];
}

TEST(SocketAddress, NetworkOrderFieldsRoundTrip) {
    const VKSockAddr a = vkSockAddr(0xC0A80102u, 0x1389);
    uint8_t bytes[16];
    std::memcpy(bytes, &a, sizeof bytes);
    const uint8_t want[16] = {16, 2, 0x13, 0x89, 0xC0, 0xA8, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], want[i]) << i;
    EXPECT_EQ(vkSockAddrIp(a), 0xC0A80102u);
    EXPECT_EQ(vkSockAddrPort(a), 0x1389);
}

}  // namespace
