// The serial device over the host tty driver model, the null operations and
// the release of the device records.
#include "platform/ttyvxppc.h"

#include <cstdio>
#include <cstring>

#include "host/hostio.h"
#include "host/hostnet.h"
#include "platform/vkos.h"
#include "platform/vxwsock2.h"

const uint32_t BaudTable[13] = {0, 110, 300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
uint32_t ttyWriteError = 0;

namespace {

const char* const kPortName = "/tyCo/0";
constexpr uint32_t kDefaultSilentUs = 1750;
constexpr int kGetcPollMs = 10;
constexpr int kReadPollMs = 5;

SerialDvram* recOf(const DevTabEntry* dev) {
    return dev->holder != nullptr ? static_cast<SerialDvram*>(*dev->holder) : nullptr;
}

// The row's record when the row is this slot's and the record and its
// device mutex exist.
SerialDvram* usable(const DevTabEntry* dev) {
    if (dev->cpuSlot != CpuSlot) return nullptr;
    SerialDvram* r = recOf(dev);
    return r != nullptr && r->devMutex != 0 ? r : nullptr;
}

bool disabledLine(const DevTabEntry* dev) { return dev->kind == '0'; }
bool discardsOutput(const DevTabEntry* dev) { return dev->kind == ' '; }

// Writes bytes to the port; a short write counts in ttyWriteError.
void portWrite(SerialDvram* r, const void* buf, int len) {
    if (len <= 0) return;
    if (hostio::ttyWrite(r->writeFd, buf, len) != len) ++ttyWriteError;
}

// Read-modify-write of the port's hardware options.
void changeHwOptions(SerialDvram* r, int clearMask, int setBits, const char* errorText) {
    int opts = 0;
    if (hostio::ttyGetHwOptions(r->readFd, &opts) != 0) {
        std::printf("%s", errorText);
        return;
    }
    opts = (opts & ~clearMask) | setBits;
    hostio::ttySetHwOptions(r->readFd, opts);
}

void changeOptions(SerialDvram* r, int bit, bool set) {
    int opts = 0;
    if (hostio::ttyGetOptions(r->readFd, &opts) != 0) return;
    opts = set ? (opts | bit) : (opts & ~bit);
    hostio::ttySetOptions(r->readFd, opts);
}

// Entry checks of a reading operation: the record, or nullptr with the
// refusal in *res (another slot: after 1 s; a disabled line: after 100 ms).
SerialDvram* readEntry(const DevTabEntry* dev, int32_t* res) {
    if (dev->cpuSlot != CpuSlot) {
        *res = vkioOtherSlotRead();
        return nullptr;
    }
    SerialDvram* r = usable(dev);
    *res = VKIO_ERROR;
    if (r == nullptr) return nullptr;
    if (disabledLine(dev)) {
        VKOS_SleepMillisec(100);
        return nullptr;
    }
    return r;
}

bool inRange(long v, long lo, long hi) { return v >= lo && v <= hi; }

// Line mode: takes new bytes into the line buffer and copies what a read
// returns into the caller's buffer. Returns the count copied, or 0 while no
// read can complete yet (the bytes stay buffered, nothing is lost).
int lineRead(SerialDvram* r, uint8_t* out, int len) {
    int unread = hostio::ttyNRead(r->readFd);
    int room = static_cast<int>(sizeof r->lineBuf) - static_cast<int>(r->bufCount);
    if (unread > 0 && room > 0) {
        int n = hostio::ttyRead(r->readFd, r->lineBuf + r->bufCount, unread < room ? unread : room);
        if (n > 0) r->bufCount += static_cast<uint32_t>(n);
    }
    int buffered = static_cast<int>(r->bufCount);
    if (buffered == 0 || len <= 0) return 0;
    // How many buffered bytes the read consumes: up to the first line ending
    // (read ending 1), or as many as fit.
    int take = 0;
    int produced = 0;
    bool complete = r->readEnding != 1;
    while (take < buffered && produced < len) {
        uint8_t c = r->lineBuf[take++];
        if (c == '\r' && r->crHandling == 2) continue;
        ++produced;
        if (r->readEnding == 1 && (c == '\n' || c == '\r')) {
            complete = true;
            break;
        }
    }
    if (produced == len || buffered == static_cast<int>(sizeof r->lineBuf)) complete = true;
    if (!complete || produced == 0) return 0;
    int n = 0;
    for (int i = 0; i < take; ++i) {
        uint8_t c = r->lineBuf[i];
        if (c == '\r') {
            if (r->crHandling == 2) continue;
            c = '\n';
        }
        out[n++] = c;
    }
    std::memmove(r->lineBuf, r->lineBuf + take, static_cast<size_t>(buffered - take));
    r->bufCount = static_cast<uint32_t>(buffered - take);
    return n;
}

// Frame mode: the bytes waiting once the line has been silent for the
// silent interval.
int frameRead(SerialDvram* r, uint8_t* out, int len) {
    if (hostio::ttyNRead(r->readFd) <= 0) return 0;
    int key = intLock();
    uint32_t since = VKGetTimer() - r->lastRxTime;
    intUnlock(key);
    if (since <= r->silentInterval) return 0;
    int n = hostio::ttyRead(r->readFd, out, len);
    return n > 0 ? n : 0;
}

}  // namespace

uint32_t ttySilentInterval(const SerialDvram* r) {
    double stop = r->stopBits == 3 ? 1.5 : static_cast<double>(r->stopBits);
    double bits = (r->dataBits + 7) + stop + (r->parity == 1 ? 0.0 : 1.0);
    uint32_t baud = r->baudIndex < 13 ? BaudTable[r->baudIndex] : 0;
    uint32_t interval = r->minInterval;
    if (baud != 0) {
        auto a = static_cast<uint32_t>(bits * 3.5 * 1000000.0 / baud + 0.999);
        auto b = static_cast<uint32_t>((bits / baud + 0.00175) * 1000000.0 + 0.999);
        if (a > interval) interval = a;
        if (b > interval) interval = b;
    }
    return interval;
}

int tyIRdHookFunction(void* arg, int ch) {
    auto* r = static_cast<SerialDvram*>(arg);
    if (r == nullptr || r->protocol != 2) return 0;
    uint32_t now = VKGetTimer();
    if (now - r->lastRxTime > r->silentInterval) r->foreignFrame = static_cast<uint32_t>(ch & 0xFF) != r->frameAddress;
    r->lastRxTime = now;
    return static_cast<int>(r->foreignFrame);
}

int32_t xttyinit_VxCpu(const DevTabEntry* dev) {
    if (dev->cpuSlot != CpuSlot) return VKIO_ERROR;
    auto* r = static_cast<SerialDvram*>(VKOS_GetMem(sizeof(SerialDvram)));
    if (r == nullptr) return VKIO_ERROR;
    std::memset(r, 0, sizeof *r);
    r->readFd = r->writeFd = -1;
    r->protocol = 1;
    r->readEnding = 2;
    r->writeEnding = 3;
    r->crHandling = 1;
    r->baudIndex = 8;
    // The port opens as 8 data bits, one stop bit, no parity: the codes say so
    // until controls 1 to 3 change them.
    r->dataBits = 1;
    r->stopBits = 1;
    r->parity = 1;
    *dev->holder = r;
    char name[32];
    std::snprintf(name, sizeof name, "devMutex%d", dev->devNum);
    r->devMutex = VKOS_CreateSemaphore(name, 1, 1);
    std::snprintf(name, sizeof name, "devWrMutex%d", dev->devNum);
    r->wrMutex = VKOS_CreateSemaphore(name, 1, 1);
    std::snprintf(name, sizeof name, "devRdMutex%d", dev->devNum);
    r->rdMutex = VKOS_CreateSemaphore(name, 1, 1);
    if (r->devMutex == 0 || r->wrMutex == 0 || r->rdMutex == 0) return VKIO_ERROR;
    if (dev->kind != DEV_KIND_SERIAL) return VKIO_ERROR;
    int h = hostio::ttyOpen(kPortName);
    if (h < 0) {
        if (dev->faultCell != nullptr) dev->faultCell() = 1;
        return VKIO_ERROR;
    }
    r->readFd = r->writeFd = h;
    int res = hostio::ttySetBaud(h, 9600);
    res = hostio::ttySetOptions(h, 0);  // raw mode
    res = hostio::ttySetHook(h, tyIRdHookFunction, r);
    r->silentInterval = kDefaultSilentUs;
    return res == 0 ? VKIO_DONE : VKIO_ERROR;
}

int32_t xttyopen_VxCpu(const DevTabEntry* dev) {
    SerialDvram* r = usable(dev);
    if (r == nullptr) return VKIO_ERROR;
    VKOS_WaitSemaphore(r->devMutex, -1);
    return VKIO_DONE;
}

int32_t xttyclose_VxCpu(const DevTabEntry* dev) {
    SerialDvram* r = usable(dev);
    if (r == nullptr) return VKIO_ERROR;
    VKOS_SignalSemaphore(r->devMutex);
    return VKIO_DONE;
}

int32_t xttyread_VxCpu(const DevTabEntry* dev, void* buf, int len) {
    int32_t refused;
    SerialDvram* r = readEntry(dev, &refused);
    if (r == nullptr) return refused;
    auto* out = static_cast<uint8_t*>(buf);
    for (uint32_t attempt = 0; r->readTimeout == 0 || attempt < r->readTimeout; ++attempt) {
        int n = r->protocol == 2 ? frameRead(r, out, len) : lineRead(r, out, len);
        if (n > 0) return n;
        VKOS_SleepMillisec(kReadPollMs);
        if (r->abortFlag == 1) {
            r->abortFlag = 0;
            return 0;
        }
    }
    return VKIO_TIMEOUT;
}

int32_t xttywrite_VxCpu(const DevTabEntry* dev, const void* buf, int len) {
    SerialDvram* r = usable(dev);
    if (r == nullptr) return VKIO_ERROR;
    if (disabledLine(dev)) {
        VKOS_SleepMillisec(100);
        return VKIO_ERROR;
    }
    if (len <= 0 || discardsOutput(dev)) return VKIO_DONE;
    VKOS_WaitSemaphore(r->wrMutex, -1);
    // The line ending replaces the last character; it is built here, never in
    // the caller's buffer.
    bool ending = r->protocol == 1 && r->writeEnding >= 2;
    portWrite(r, buf, ending ? len - 1 : len);
    if (ending) {
        const uint8_t crlf[2] = {'\r', '\n'};
        portWrite(r, crlf, r->writeEnding == 3 ? 2 : 1);
    }
    VKOS_SignalSemaphore(r->wrMutex);
    return VKIO_DONE;
}

int32_t xttygetc_VxCpu(const DevTabEntry* dev) {
    int32_t refused;
    SerialDvram* r = readEntry(dev, &refused);
    if (r == nullptr) return refused;
    for (uint32_t poll = 0; r->readTimeout == 0 || poll < r->readTimeout; ++poll) {
        uint8_t c;
        if (hostio::ttyNRead(r->readFd) > 0 && hostio::ttyRead(r->readFd, &c, 1) == 1) return c;
        VKOS_SleepMillisec(kGetcPollMs);
    }
    return VKIO_TIMEOUT;
}

int32_t xttyputc_VxCpu(const DevTabEntry* dev, int ch) {
    SerialDvram* r = usable(dev);
    if (r == nullptr) return VKIO_ERROR;
    if (disabledLine(dev)) {
        VKOS_SleepMillisec(100);
        return VKIO_ERROR;
    }
    if (discardsOutput(dev)) return VKIO_DONE;
    uint8_t c = static_cast<uint8_t>(ch);
    VKOS_WaitSemaphore(r->wrMutex, -1);
    portWrite(r, &c, 1);
    VKOS_SignalSemaphore(r->wrMutex);
    return VKIO_DONE;
}

int32_t xttycntl_VxCpu(const DevTabEntry* dev, int code, long a, long b) {
    SerialDvram* r = usable(dev);
    if (r == nullptr) return VKIO_ERROR;
    VKOS_WaitSemaphore(r->devMutex, -1);
    bool ok = true;
    switch (code) {
    case 0:
        if (inRange(a, 1, 12)) {
            r->baudIndex = static_cast<uint8_t>(a);
        } else {
            r->baudIndex = 10;
            ok = false;
        }
        hostio::ttySetBaud(r->readFd, static_cast<int>(BaudTable[r->baudIndex]));
        break;
    case 1:
        if ((ok = inRange(a, 1, 2))) {
            r->dataBits = static_cast<uint8_t>(a);
            changeHwOptions(r, hostio::TTY_HW_CSIZE, a == 1 ? hostio::TTY_HW_CS8 : hostio::TTY_HW_CS7,
                            "ERROR in setting Bits for TTY Port\n");
        }
        break;
    case 2:
        if ((ok = inRange(a, 1, 3))) {
            r->stopBits = static_cast<uint8_t>(a);
            changeHwOptions(r, hostio::TTY_HW_STOPB, a == 1 ? 0 : hostio::TTY_HW_STOPB,
                            "ERROR in setting Stop bits for TTY Port\n");
        }
        break;
    case 3:
        if ((ok = inRange(a, 1, 5))) {
            r->parity = static_cast<uint8_t>(a);
            int bits = a == 1 ? 0 : a == 2 ? hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD : hostio::TTY_HW_PARENB;
            changeHwOptions(r, hostio::TTY_HW_PARENB | hostio::TTY_HW_PARODD, bits,
                            "ERROR in setting Parity for TTY Port\n");
        }
        break;
    case 4:
        if ((ok = inRange(a, 1, 2))) r->readEnding = static_cast<uint8_t>(a);
        break;
    case 5:
        if ((ok = inRange(a, 1, 3))) changeOptions(r, hostio::TTY_OPT_TANDEM, a == 2);
        break;
    case 6:
        if ((ok = inRange(a, 1, 2))) changeOptions(r, hostio::TTY_OPT_ECHO, a == 2);
        break;
    case 7:
        if ((ok = inRange(a, 1, 3))) r->writeEnding = static_cast<uint8_t>(a);
        break;
    case 8:
        if ((ok = inRange(a, 1, 2))) r->crHandling = static_cast<uint8_t>(a);
        break;
    case 11:
        xttyputc_VxCpu(dev, static_cast<int>(a + 128 + 64 * b));
        break;
    case 12:
        xttyputc_VxCpu(dev, 1);
        break;
    case 13:
        xttyputc_VxCpu(dev, static_cast<int>(a + 11));
        break;
    case 14:
        // The host tty needs no transceiver direction bits; the GPIO enable
        // is the board's.
        ZarnRS485Enable(a == 1 ? 0 : 1);
        break;
    case 15:
        if ((ok = inRange(a, 1, 2))) r->protocol = static_cast<uint8_t>(a);
        break;
    case 16:
        r->abortFlag = 1;
        hostio::ttyFlush(r->readFd);
        break;
    case 19:
        if (b < 50) {
            xttyputc_VxCpu(dev, static_cast<int>(b + 128));
            xttyputc_VxCpu(dev, static_cast<int>(a + 128));
        } else {
            xttyputc_VxCpu(dev, static_cast<int>(b + 142));
            xttyputc_VxCpu(dev, static_cast<int>(a + 192));
        }
        break;
    case 20:
        r->readTimeout = a <= 0 ? 0 : static_cast<uint32_t>((a + 4) / 5);
        break;
    case 23: {
        auto* count = reinterpret_cast<int32_t*>(a);
        if ((ok = count != nullptr)) *count = hostio::ttyNRead(r->readFd);
        break;
    }
    case 26:
        r->frameAddress = static_cast<uint32_t>(a);
        break;
    case 27:
        r->minInterval = static_cast<uint32_t>(a) * 1000u;
        break;
    default:
        break;  // 9, 10, 17, 18, 21, 22, 24, 25 and above 27 change nothing
    }
    if (ok) r->silentInterval = ttySilentInterval(r);
    VKOS_SignalSemaphore(r->devMutex);
    return ok ? VKIO_DONE : VKIO_ERROR;
}

// ---- Null operations ----------------------------------------------------------

int32_t xionull_VxCpu(const DevTabEntry*) {
    VKOS_SleepMillisec(100);
    return VKIO_TIMEOUT;
}

int32_t xionullblock_VxCpu(const DevTabEntry*) {
    VKOS_SuspendProcess(VKOS_GetCurrentProcessid());
    return VKIO_DONE;
}

int32_t ionull(const DevTabEntry*) { return VKIO_DONE; }
int32_t ttygetc(const DevTabEntry*) { return 0; }
int32_t ttyputc(const DevTabEntry*, int) { return 0; }

int32_t ioerr(const DevTabEntry*) {
    VKOS_SleepMillisec(500);
    return VKIO_ERROR;
}

int32_t vxionull_WSock(const DevTabEntry*) {
    VKOS_SleepMillisec(1000);
    return VKIO_DONE;
}

int32_t xionullblock_WSock(const DevTabEntry* dev) { return xionullblock_VxCpu(dev); }

// ---- Release --------------------------------------------------------------------

namespace {
void releaseSerial(const DevTabEntry* dev) {
    SerialDvram* r = recOf(dev);
    if (r == nullptr) return;
    if (r->readFd >= 0) {
        hostio::ttySetHook(r->readFd, nullptr, nullptr);
        hostio::ttyClose(r->readFd);
    }
    for (SEM_ID s : {r->devMutex, r->wrMutex, r->rdMutex})
        if (s != 0) VKOS_CloseSemaphore(s);
    VKOS_FreeMem(r, sizeof(SerialDvram));
    *dev->holder = nullptr;
}
}  // namespace

int DeleteDevs() {
    for (int i = 0; i < ndevs; ++i) {
        const DevTabEntry* dev = &devtab[i];
        if (dev->cpuSlot != CpuSlot) continue;
        switch (dev->kind) {
        case DEV_KIND_SERIAL:
        case DEV_KIND_SERIAL2:
            releaseSerial(dev);
            break;
        case DEV_KIND_UDP:
            vxudpKill_WSock(dev);
            break;
        case DEV_KIND_TCP:
        case DEV_KIND_TCP_LISTEN:
            vxtcpKill_WSock(dev);
            break;
        default:
            break;
        }
    }
    return 0;
}
