// Host model of the MSCAN controllers: each open controller is a port of the
// virtual CAN bus. Frames handed over by the stack go to three transmit
// buffers and onto the bus in buffer-priority order; received frames, error
// events and transmit-buffer-empty events are queued and serviced by the
// interrupt routine of the controller, posted to the emulated CPU.
#include "host/mscan.h"

#include <cstring>
#include <deque>
#include <mutex>

#include "host/canbus.h"
#include "host/hostkernel.h"
#include "host/vxworks.h"

namespace {

constexpr int kControllers = 4;
constexpr int kTxBuffers = 3;
constexpr size_t kRxQueueLimit = 256;  // received frames waiting for the interrupt routine

struct Controller {
    bool open = false;
    CanControllerParams* params = nullptr;
    int port = 0;  // bus participant
    uint8_t rflg = 0;
    bool busy[kTxBuffers] = {};
    uint8_t tx[kTxBuffers][kMscanBufferBytes] = {};
    bool stall = false;
    bool intEnabled = false;
    bool errorPending = false;
    uint32_t sent = 0;
    std::deque<hostcan::Frame> rx;
};

// Guards the controllers against the bus threads; the stack's handlers are
// always called without it held.
std::recursive_mutex mu;
Controller ctl[kControllers];
int numControllers = 0;
bool initialised = false;
MSCANIsr isrB = nullptr;

bool busOff(const Controller& c) { return ((c.rflg >> 4) & 3) == 3 || ((c.rflg >> 2) & 3) == 3; }

uint8_t tflg(const Controller& c) {
    uint8_t v = 0;
    for (int i = 0; i < kTxBuffers; ++i)
        if (!c.busy[i]) v |= static_cast<uint8_t>(1u << i);
    return v;
}

hostcan::Frame toBusFrame(const uint8_t* b) {
    hostcan::Frame f;
    f.id = ((b[MSCAN_OFS_IDR0] << 8) | b[MSCAN_OFS_IDR1]) >> 5;
    f.len = static_cast<uint8_t>(b[MSCAN_OFS_DLR] & 15);
    if (f.len > 8) f.len = 8;
    for (int i = 0; i < 8; ++i) f.data[i] = i < f.len ? b[kMscanDataOffsets[i]] : 0;
    return f;
}

void fromBusFrame(const hostcan::Frame& f, uint8_t* b) {
    std::memset(b, 0, kMscanBufferBytes);
    const uint32_t idWord = (f.id & 0x7FF) << 21;
    b[MSCAN_OFS_IDR0] = static_cast<uint8_t>(idWord >> 24);
    b[MSCAN_OFS_IDR1] = static_cast<uint8_t>(idWord >> 16);
    for (int i = 0; i < f.len && i < 8; ++i) b[kMscanDataOffsets[i]] = f.data[i];
    b[MSCAN_OFS_DLR] = f.len;
    const uint32_t ts = VKGetTimer();
    b[MSCAN_OFS_TSRH] = static_cast<uint8_t>(ts >> 8);
    b[MSCAN_OFS_TSRL] = static_cast<uint8_t>(ts);
}

// Sends the loaded buffers, lowest priority value first, unless the bus is
// stalled or the controller is bus-off.
void transmitBuffers(int id) {
    for (;;) {
        hostcan::Frame f;
        int port = 0;
        {
            std::lock_guard<std::recursive_mutex> lk(mu);
            Controller& c = ctl[id];
            if (!c.open || c.stall || busOff(c)) return;
            int best = -1;
            for (int i = 0; i < kTxBuffers; ++i)
                if (c.busy[i] && (best < 0 || c.tx[i][MSCAN_OFS_TBPR] < c.tx[best][MSCAN_OFS_TBPR])) best = i;
            if (best < 0) return;
            f = toBusFrame(c.tx[best]);
            c.busy[best] = false;
            ++c.sent;
            port = c.port;
        }
        hostcan::send(port, f);
    }
}

// Fills free transmit buffers from the stack (transmit pop handler) and sends them.
void loadTxBuffers(int id) {
    for (;;) {
        MSCANTxPopHandler pop = nullptr;
        int freeSlot = -1;
        {
            std::lock_guard<std::recursive_mutex> lk(mu);
            Controller& c = ctl[id];
            // A controller in bus-off takes no frames; they wait in the stack's FIFO.
            if (!c.open || c.params == nullptr || busOff(c)) return;
            for (int i = 0; i < kTxBuffers; ++i)
                if (!c.busy[i]) {
                    freeSlot = i;
                    break;
                }
            pop = c.params->TxPopHandler;
        }
        if (freeSlot < 0 || pop == nullptr) return;
        uint8_t buf[kMscanBufferBytes];
        if (pop(static_cast<uint8_t>(id), buf) != 1) return;
        {
            std::lock_guard<std::recursive_mutex> lk(mu);
            Controller& c = ctl[id];
            std::memcpy(c.tx[freeSlot], buf, kMscanBufferBytes);
            c.busy[freeSlot] = true;
        }
        transmitBuffers(id);
    }
}

// One interrupt of a controller: error event, received frames, transmit buffers.
void serviceController(int id) {
    MSCANErrorHandler onError = nullptr;
    MSCANRxHandler onRx = nullptr;
    bool error = false;
    uint8_t flags = 0;
    std::deque<hostcan::Frame> frames;
    {
        std::lock_guard<std::recursive_mutex> lk(mu);
        Controller& c = ctl[id];
        if (!c.open || c.params == nullptr) return;
        onError = c.params->ErrorHandler;
        onRx = c.params->RxHandler;
        error = c.errorPending;
        c.errorPending = false;
        flags = c.rflg;
        frames.swap(c.rx);
    }
    if (error && onError != nullptr) onError(static_cast<uint8_t>(id), flags);
    uint8_t buf[kMscanBufferBytes];
    for (const hostcan::Frame& f : frames) {
        fromBusFrame(f, buf);
        if (onRx != nullptr) onRx(static_cast<uint8_t>(id), buf);
    }
    transmitBuffers(id);
    loadTxBuffers(id);
}

void raiseInterrupt(int id) {
    hk::postInterrupt([id] {
        MSCANIsr isr = nullptr;
        {
            std::lock_guard<std::recursive_mutex> lk(mu);
            if (!ctl[id].intEnabled) return;
            if (id == 1) isr = isrB;
        }
        if (isr != nullptr) isr();
    });
}

void setIntEnable(int id, bool on) {
    bool pending = false;
    {
        std::lock_guard<std::recursive_mutex> lk(mu);
        ctl[id].intEnabled = on;
        pending = on && (!ctl[id].rx.empty() || ctl[id].errorPending);
    }
    if (pending) raiseInterrupt(id);
}

void closeLocked(int id) {
    Controller& c = ctl[id];
    if (c.port != 0) hostcan::detach(c.port);
    if (c.params != nullptr) c.params->Open = 0;
    const bool stall = c.stall;
    const uint8_t rflg = c.rflg;
    c = Controller{};
    c.stall = stall;  // host settings of the test survive a reopen
    c.rflg = rflg;
}

}  // namespace

int MSCANInit(int n, void*) {
    std::lock_guard<std::recursive_mutex> lk(mu);
    numControllers = n < 0 ? 0 : (n > kControllers ? kControllers : n);
    initialised = true;
    return 0;
}

int MSCANShutdown() {
    std::lock_guard<std::recursive_mutex> lk(mu);
    for (int i = 0; i < kControllers; ++i)
        if (ctl[i].open) closeLocked(i);
    initialised = false;
    return 0;
}

int MSCANOpenController(int id, int, CanControllerParams* params) {
    std::lock_guard<std::recursive_mutex> lk(mu);
    if (!initialised || id < 0 || id >= numControllers || params == nullptr || ctl[id].open) return -1;
    Controller& c = ctl[id];
    c.open = true;
    c.params = params;
    std::memset(c.busy, 0, sizeof c.busy);
    c.rx.clear();
    params->Open = 1;
    c.port = hostcan::attach("mscan" + std::to_string(id), [id](const hostcan::Frame& f) {
        {
            std::lock_guard<std::recursive_mutex> lk2(mu);
            Controller& cc = ctl[id];
            if (!cc.open || busOff(cc) || cc.rx.size() >= kRxQueueLimit) return;
            cc.rx.push_back(f);
        }
        raiseInterrupt(id);
    });
    return id;
}

int MSCANCloseController(int id) {
    std::lock_guard<std::recursive_mutex> lk(mu);
    if (id < 0 || id >= kControllers || !ctl[id].open) return -1;
    closeLocked(id);
    return 0;
}

int MSCANTxRequest(int id, const uint8_t* buffer) {
    MSCANTxPushHandler push = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lk(mu);
        if (id < 0 || id >= kControllers || !ctl[id].open || ctl[id].params == nullptr) return -1;
        push = ctl[id].params->TxPushHandler;
    }
    if (push != nullptr) push(static_cast<uint8_t>(id), buffer);
    loadTxBuffers(id);
    return 0;
}

void MSCANAintEnable() { setIntEnable(0, true); }
void MSCANBintEnable() { setIntEnable(1, true); }
void MSCANCintEnable() { setIntEnable(2, true); }
void MSCANDintEnable() { setIntEnable(3, true); }
void MSCANAintDisable() { setIntEnable(0, false); }
void MSCANBintDisable() { setIntEnable(1, false); }
void MSCANCintDisable() { setIntEnable(2, false); }
void MSCANDintDisable() { setIntEnable(3, false); }

int MSCANBConnect(MSCANIsr isr) {
    bool enabled = false;
    {
        std::lock_guard<std::recursive_mutex> lk(mu);
        isrB = isr;
        enabled = ctl[1].intEnabled;
    }
    setIntEnable(1, enabled);  // events that waited for the routine are serviced now
    return 0;
}

int MSCANBDisconnect(MSCANIsr isr) {
    std::lock_guard<std::recursive_mutex> lk(mu);
    if (isrB != isr) return -1;
    isrB = nullptr;
    return 0;
}

void MSCANBInterrupt() { serviceController(1); }

uint8_t MSCANReadRegister8(uint32_t address) {
    std::lock_guard<std::recursive_mutex> lk(mu);
    for (int i = 0; i < kControllers; ++i) {
        if (address == kMscanRegisterBase[i] + MSCAN_REG_RFLG) return ctl[i].rflg;
        if (address == kMscanRegisterBase[i] + MSCAN_REG_TFLG) return tflg(ctl[i]);
    }
    return 0;
}

namespace mscan {

void setErrorState(int id, int rxState, int txState) {
    if (id < 0 || id >= kControllers) return;
    {
        std::lock_guard<std::recursive_mutex> lk(mu);
        Controller& c = ctl[id];
        c.rflg = static_cast<uint8_t>(((rxState & 3) << 4) | ((txState & 3) << 2));
        c.errorPending = true;
    }
    raiseInterrupt(id);
}

void setTxStall(int id, bool stall) {
    if (id < 0 || id >= kControllers) return;
    {
        std::lock_guard<std::recursive_mutex> lk(mu);
        ctl[id].stall = stall;
    }
    if (!stall) raiseInterrupt(id);  // the buffers drain: a transmit interrupt follows
}

uint32_t framesSent(int id) {
    std::lock_guard<std::recursive_mutex> lk(mu);
    return id >= 0 && id < kControllers ? ctl[id].sent : 0;
}

void reset() {
    std::lock_guard<std::recursive_mutex> lk(mu);
    for (int i = 0; i < kControllers; ++i) {
        if (ctl[i].open) closeLocked(i);
        ctl[i] = Controller{};
    }
    isrB = nullptr;
    initialised = false;
    numControllers = 0;
}

}  // namespace mscan
