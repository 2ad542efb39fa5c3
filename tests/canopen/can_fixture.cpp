#include "tests/canopen/can_fixture.h"

#include <cstring>

#include "canopen/canopen_obj_dctn.h"
#include "host/hostkernel.h"
#include "host/mscan.h"
#include "runtime/appinit.h"
#include "runtime/can_startup.h"
#include "tests/support/tune_defaults.h"

CanNet::CanNet(bool open, bool passTask, hk::ClockMode mode) {
    // The PDO buffers as the module's load leaves them.
    std::memset(RxPdoBufferB, 0, sizeof RxPdoBufferB);
    std::memset(COBFifoTx, 0, sizeof COBFifoTx);
    hk::start(mode);
    node_ = hostcan::attach("test-node", [this](const hostcan::Frame& f) {
        std::lock_guard<std::mutex> lk(mu_);
        lines_.push_back(hostcan::formatFrame(f));
    });
    hk::runTask([open] {
        VmeMasterController = 1;  // as the application initialisation sets it
        tc_test::loadTuneDefaults();  // the network's ids and bit rate, as the tunables file gives them
        init_can_protocols();
        CNFG_CAN2_CAN2_NTW1_2357_InitForCopenReset();
        MSCANBConnect(MSCANBInterrupt);
        if (open) {
            ASSERT_EQ(CanOpenOpen(1), 0);
        }
    });
    if (passTask) {
        hk::spawnFunction(
            [this] {
                for (;;) {
                    taskDelay(4);
                    CanOpenSendNmtNow(1, 0x80, &NmtCanMessageBufferB, 0);
                    if (COisused[1] != 0) CanOpen(1, 20);
                    CanOpenProcessTimers(1);
                    ++passCount;
                    if (afterPass) afterPass();
                }
            },
            12, "_R20");
    }
}

CanNet::~CanNet() {
    hostcan::stopBusServer();  // no more interrupts from the server thread
    hk::shutdown();
    hostcan::reset();
    mscan::reset();
}

std::vector<std::string> CanNet::take() {
    std::lock_guard<std::mutex> lk(mu_);
    std::vector<std::string> out;
    out.swap(lines_);
    return out;
}

void CanNet::send(const std::string& line) {
    hostcan::Frame f;
    ASSERT_TRUE(hostcan::parseFrame(line, &f)) << line;
    hostcan::send(node_, f);
}

void CanNet::passes(int n) { hk::runTicks(static_cast<uint64_t>(4 * n)); }

void CanNet::task(const std::function<void()>& fn) { hk::runTask(fn, 100); }

CanOpenImage& CanNet::image() { return COImagesApp; }

void CanNet::goOperational() {
    send("000#010A");
    passes(1);
    ASSERT_EQ(image().NmtState, NMT_OPERATIONAL);
    take();
}
