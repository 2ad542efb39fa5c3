// Host cost of one 20 ms network pass of the CAN2 node with every PDO active:
// nine receive PDOs arrive (receive interrupt handler), SYNC is sent, the
// network pass dispatches the frames, the timer step runs and all nine
// transmit PDOs are packed and sent through the controller model.
#include <benchmark/benchmark.h>

#include "canopen/canopen.h"
#include "canopen/canopen_mscan.h"
#include "canopen/canopen_pdo.h"
#include "host/canbus.h"
#include "host/hostkernel.h"
#include "host/mscan.h"
#include "runtime/appinit.h"
#include "runtime/can_startup.h"

static void BM_NetworkPassAllPdos(benchmark::State& state) {
    hk::start(hk::ClockMode::Simulated);
    uint8_t rx[kNumRxPdos][kMscanBufferBytes];
    hk::runTask([&] {
        VmeMasterController = 1;  // as the application initialisation sets it
        init_can_protocols();
        CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
        MSCANBConnect(MSCANBInterrupt);
        CanOpenOpen(1);
        COImagesApp.NmtState = NMT_OPERATIONAL;
        // RPDO 1 and 5 get COB-ids too, so that all nine receive.
        for (int k = 0; k < 20; ++k) {
            if (IdTableB[k].Kind == ID_KIND_RXPDO && IdTableB[k].Row == 16) IdTableB[k].CobId = 0x20A;
            if (IdTableB[k].Kind == ID_KIND_RXPDO && IdTableB[k].Row == 20) IdTableB[k].CobId = 0x30A;
        }
        const uint32_t cobs[kNumRxPdos] = {0x20A, 0x281, 0x381, 0x481, 0x30A, 0x283, 0x383, 0x184, 0x185};
        for (int k = 0; k < kNumRxPdos; ++k) {
            CanFrame f{};
            f.Id = cobs[k] << 21;
            f.Length = 8;
            for (int i = 0; i < 8; ++i) f.Data[i] = static_cast<uint8_t>(k * 8 + i);
            CanFrameToMscanBuffer(f, rx[k]);
        }
    });
    const uint32_t sentBefore = mscan::framesSent(1);
    int64_t rpdosTaken = 0;
    hk::runTask([&] {
        for (auto _ : state) {
            for (auto& b : rx) CanOpenHandlerRx(1, b);
            CanOpenSendNmtNow(1, 0x80, &NmtCanMessageBufferB, 0);
            CanOpen(1, 20);
            CanOpenProcessTimers(1);
            for (uint8_t n = 1; n <= kNumTxPdos; ++n) CanOpenSendPdoNow(1, n, 0);
            for (auto& row : RxPdoBufferB) {  // the application takes the data
                rpdosTaken += row[0];
                row[0] = 0;
            }
        }
        benchmark::DoNotOptimize(RxPdoBufferB);
    });
    const double passes = static_cast<double>(state.iterations());
    state.counters["rpdos_per_pass"] = static_cast<double>(rpdosTaken) / passes;
    state.counters["frames_sent_per_pass"] = (mscan::framesSent(1) - sentBefore) / passes;
    state.counters["rx_lost"] = COImagesApp.RxOverFlowCounter;
    hk::shutdown();
}
BENCHMARK(BM_NetworkPassAllPdos);
