// The CAN2 start-up glue: image set-up, node-id reload, COB-id table, callback.
#include <gtest/gtest.h>

#include "canopen/CanVersion.h"
#include "host/hostkernel.h"
#include "host/mscan.h"
#include "runtime/can_startup.h"
#include "runtime/can_startup_standin.h"

TEST(CanStartup, SetUpReloadAndTables) {
    hk::start(hk::ClockMode::Simulated);
    hk::runTask([] {
        EXPECT_EQ(CanVersion(), 3u);
        init_can_protocols();
        EXPECT_EQ(COisused[1], 1u);
        EXPECT_EQ(canCellsStandin.CAN2_NTW1_NTW_ENABLED, 1);
        EXPECT_EQ(SyncCobIdB, 0x80u);
        EXPECT_EQ(COImagesApp.ControllerId, 255);
        EXPECT_EQ(COImagesApp.NodeId, 255);
        EXPECT_EQ(reinterpret_cast<uint8_t*>(COImagesApp.ControllerParams) -
                      reinterpret_cast<uint8_t*>(&CANControllerMemory),
                  48);
        EXPECT_EQ(COImagesApp.OdCount, 197);
        EXPECT_EQ(COImagesApp.NmtErrCtrlCount, 5);
        EXPECT_EQ(COImagesApp.FifoParamsRx.Count, 20);
        EXPECT_EQ(COImagesApp.FifoParamsRx.Size, 14);
        EXPECT_EQ(COImagesApp.FifoParamsTx.Count, 9);
        EXPECT_EQ(COImagesApp.FifoParamsTx.Size, 28);
        EXPECT_EQ(TxPdoTimerArrayB.Count, 6);
        EXPECT_EQ(RxPdoBufferArrayB.Count, 9);
        EXPECT_EQ(TimersStructB.TxPdo, &TxPdoTimerArrayB);
        EXPECT_EQ(GetCanOpenImage(255), &COImagesApp);

        // Own node 10, remote nodes 5 (analog), 3, 4, 6; bit rate index 2.
        canCellsStandin.VL_NODE1_AIO_NODE_ID = 5;
        canCellsStandin.VL_NODE5_BO_NODE_ID = 6;
        CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
        EXPECT_EQ(COImagesApp.ControllerId, 1);
        EXPECT_EQ(COImagesApp.TimerPeriod, 20000u);
        EXPECT_EQ(COImagesApp.BaudRate, 500);
        EXPECT_EQ(COImagesApp.NodeId, 10);
        EXPECT_EQ(COImagesApp.NmtState, 0);
        EXPECT_EQ(Sdo1B.CobIdClientToServer, 0x60Au);
        EXPECT_EQ(Sdo1B.CobIdServerToClient, 0x58Au);
        EXPECT_EQ(cSdo1B.CobIdClientToServer, 0x605u);
        EXPECT_EQ(cSdo1B.CobIdServerToClient, 0x585u);
        EXPECT_EQ(cSdo1B.NodeId, 5);
        EXPECT_EQ(cSdo4B.CobIdServerToClient, 0x586u);
        EXPECT_EQ(NmtErrCntrlSt1B.CobId, 0x705u);
        EXPECT_EQ(NmtErrCntrlSt2B.CobId, 0x703u);
        EXPECT_EQ(RxPdoCommunicationTableB1.CobId, 0x285u);
        EXPECT_EQ(RxPdoCommunicationTableB2.CobId, 0x385u);
        EXPECT_EQ(RxPdoCommunicationTableB3.CobId, 0x485u);
        EXPECT_EQ(RxPdoCommunicationTableB3.Configured, 1u);
        EXPECT_EQ(TxPdoCommunicationTableB0.CobId, 0x505u);
        EXPECT_EQ(TxPdoCommunicationTableB1.CobId, 0x206u);
        EXPECT_EQ(RxPdoCommunicationTableB8.CobId, 0x186u);
        EXPECT_EQ(RxPdoCommunicationTableB0.TransmissionType, 254);
        EXPECT_EQ(RxPdoCommunicationTableB0.Configured, 0u);
        EXPECT_EQ(TxPdoMappingParmsB0.Entries, 5);
        EXPECT_EQ(TxPdoMappingParmsB1.Entries, 3);
        for (uint32_t s : canCellsStandin.NodeStatus) EXPECT_EQ(s & (1u << 30), 1u << 30);
        EXPECT_EQ(canCellsStandin.CAN2_NTW1_RCV_MASK, -1);

        // The COB-id table: 20 rows sorted by COB-id, the end row last.
        EXPECT_EQ(COImagesApp.IdTableCount, 20);
        for (int i = 1; i < 20; ++i) EXPECT_LE(IdTableB[i - 1].CobId, IdTableB[i].CobId) << i;
        EXPECT_EQ(IdTableB[19].CobId, 0xFFFFFFFFu);
        EXPECT_EQ(IdTableB[19].Row, 255);
        EXPECT_EQ(IdTableB[0].CobId, 0x80u);
        EXPECT_EQ(IdTableB[0].Row, 6);
        int kinds[3] = {0, 0, 0};
        for (int i = 0; i < 19; ++i) ++kinds[IdTableB[i].Kind];
        EXPECT_EQ(kinds[0], 6);
        EXPECT_EQ(kinds[1], 9);
        EXPECT_EQ(kinds[2], 4);

        // An unknown bit-rate index keeps the previous rate; the others map.
        for (auto [index, rate] : {std::pair<int, int>{0, 125}, {1, 250}, {3, 1000}, {7, 1000}, {2, 500}}) {
            canCellsStandin.CAN2_NTW1_CAN_BAUD = index;
            CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
            EXPECT_EQ(COImagesApp.BaudRate, rate) << index;
        }
        // A node id wider than 7 bits keeps only its node part in a COB-id.
        canCellsStandin.CAN2_NTW1_NODE_ID = 0x8B;
        CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
        EXPECT_EQ(Sdo1B.CobIdClientToServer, 0x60Bu);
    });
    hk::shutdown();
    mscan::reset();
}

TEST(CanStartup, CallbackAndSort) {
    CoCallbackEvent ev{3, 9};
    EXPECT_EQ(CallBackBHandler(&ev), 0);
    EXPECT_EQ(RxPdoBufferB[8][0], 1);
    ev = {2, 1};
    CallBackBHandler(&ev);
    EXPECT_EQ(RxPdoBufferB[0][0], 0);
    ev = {3, 10};
    CallBackBHandler(&ev);  // no such slot
    ev = {3, 0};
    CallBackBHandler(&ev);
    EXPECT_EQ(CallbackAltHandlerRxB(&ev), 0);

    IdTableEntry t[6] = {{9, 1, 0}, {3, 2, 0}, {0xFFFFFFFF, 3, 0}, {1, 4, 0}, {3, 5, 0}, {0, 6, 0}};
    can_sort(6, t);
    const uint32_t want[6] = {0, 1, 3, 3, 9, 0xFFFFFFFF};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(t[i].CobId, want[i]) << i;
    EXPECT_EQ(t[2].Row, 2);  // equal COB-ids keep their order
    can_sort(0, t);
    can_sort(1, t);
}
