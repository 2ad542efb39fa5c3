// The device table's rows and the socket address record of the dispatch.
#include <gtest/gtest.h>

#include <cstring>

#include "app/control/SIM.cells.h"
#include "app/interface/CNFG_ETHER.cells.h"
#include "app/interface/CNFG_SIO.cells.h"
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

// Each row reports through the cells of its port's configuration block.
TEST(DeviceTable, RowsReportThroughTheirPortsCells) {
    const struct {
        int dev;
        const int32_t* status;
        const uint32_t* fault;
    } rows[] = {
        {1, &cells::CNFG_SIO.COMM1_PORT_P_STATUS.ref(), &cells::CNFG_SIO.COMM1_PORT_FAULT.ref()},
        {2, &cells::CNFG_ETHER.NETADDR_1_P_STATUS.ref(), &cells::CNFG_ETHER.NETADDR_1_FAULT.ref()},
        {4, nullptr, &cells::CNFG_ETHER.PORT_5001_FAULT.ref()},
        {5, &cells::CNFG_ETHER.NETADDR_2_P_STATUS.ref(), &cells::CNFG_ETHER.NETADDR_2_FAULT.ref()},
        {6, nullptr, &cells::CNFG_ETHER.PORT_5002_FAULT.ref()},
        {7, nullptr, &cells::SIM.PORT5005_TO_SIM_FAULT.ref()},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.dev);
        const DevTabEntry& d = devtab[r.dev];
        EXPECT_EQ(d.statusCell != nullptr ? &d.statusCell() : nullptr, r.status);
        ASSERT_NE(d.faultCell, nullptr);
        EXPECT_EQ(&d.faultCell(), r.fault);
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
