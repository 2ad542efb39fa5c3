// Modbus slave instances: start, task loop with transport selection, and the
// request engine for function codes 1-6, 8, 15 and 16.
#include "modbus/MODBUS.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "modbus/ModbusSupport.h"
#include "platform/vkos.h"

uint32_t _MODBUS_READ = 0;

void modbus(int32_t* port, int32_t* slaveAddr, int32_t* mode, uint32_t modbusRead, uint32_t* coils,
            int32_t coilBase, int32_t coilCount, uint32_t* inputs, int32_t inputBase, int32_t inputCount,
            int16_t* inRegs, int32_t inRegBase, int32_t inRegCount, int16_t* holdRegs, int32_t holdBase,
            int32_t holdCount, int32_t* errCount, int32_t* msgCount, int32_t* lastErr, int32_t instance,
            int32_t spare, float* timeout, uint32_t* coilWe, uint32_t* regWe) {
    // A negative instance number would index before _modSPid: refused like one above 199.
    if (instance < 0 || instance >= kModMaxSlaves) {
        char text[64];
        std::snprintf(text, sizeof text, "Modbus Slave exceeded %d port instances", kModMaxSlaves);
        VKIO_SendAppSysError(text);
        return;
    }
    auto* a = static_cast<ModbusSlaveArgs*>(VKOS_GetMem(sizeof(ModbusSlaveArgs)));
    if (a == nullptr) return;
    *a = ModbusSlaveArgs{port,     slaveAddr, mode,      modbusRead, coils,    coilBase,  coilCount,
                         inputs,   inputBase, inputCount, inRegs,    inRegBase, inRegCount, holdRegs,
                         holdBase, holdCount, errCount,  msgCount,   lastErr,  port,      instance,
                         spare,    timeout,   coilWe,    regWe};
    TASK_ID tid = VKOS_CreateProcess(do_modbus, 4096, 39, "do_modbus", reinterpret_cast<long>(a));
    if (tid == 0 || tid == ERROR) {
        VKOS_FreeMem(a, sizeof(ModbusSlaveArgs));
        return;
    }
    _modSPid[instance] = tid;
    VKOS_ResumeProcess(tid);
    VKOS_SleepMillisec(20);
}

void MOD_InitSlave(ModSlave* s, const ModbusSlaveArgs* a) {
    *s = ModSlave{};
    s->a = *a;
    s->msgIndex = Fetch_tCntIValAddress(a->msgCount);
    s->portValue = -1;
    s->device = -1;
    s->mode = 0;
    s->timeout = 0.0f;
    s->reader = nullptr;
    s->writer = nullptr;
    s->backupLast = -1;
    s->force = 0;
    s->countdown = 10;
}

void do_modbus(long block) {
    ModSlave s;
    MOD_InitSlave(&s, reinterpret_cast<const ModbusSlaveArgs*>(block));
    VKOS_FreeMem(reinterpret_cast<void*>(block), sizeof(ModbusSlaveArgs));
    ModTaskEnable();
    VKOS_SleepMillisec(2000);
    *s.a.lastErr = 0;
    ModbusMsgBuf buf{};
    buf.status = MOD_ST_NOTHING;
    for (;;) MOD_Pass(&s, &buf);
}

void set_error_exception(int32_t* errCount, int32_t* lastErr, int code, int instance) {
    (void)instance;
    int32_t count = static_cast<int32_t>(static_cast<uint32_t>(*errCount) + 1u);
    if (SendSysMessage(0x9000, Fetch_tCntIValAddress(errCount), count, 0) == 1) *errCount = count;
    if (SendSysMessage(0x9000, Fetch_tCntIValAddress(lastErr), code, 0) == 1) *lastErr = code;
}

void moderror(int dev, ModbusMsgBuf* buf, int code, ModWriter writer) {
    buf->data[1] |= 0x80;
    buf->data[2] = static_cast<uint8_t>(code);
    buf->length = 3;
    if (writer != nullptr) writer(dev, buf);
}

namespace {

int normalMode(int32_t m) { return (m == 1 || m == 2) ? m : 1; }

bool sameFloat(float x, float y) { return std::memcmp(&x, &y, sizeof x) == 0; }

// Milliseconds of a time-out in seconds, truncated, kept within a 32-bit count.
int timeoutMs(float seconds) {
    float ms = seconds * 1000.0f;
    if (!(ms > 0.0f)) return 0;
    if (ms >= 2147483647.0f) return 2147483647;
    return static_cast<int>(ms);
}

// Reads Q elements from index i of a table: bits packed 8 to a byte, or
// registers high byte first; elements past the table's end read as 0.
template <typename T>
int readTable(ModbusMsgBuf* buf, const T* table, int base, int count, int limit,
              int (*fetch)(const T*, int, uint8_t*, int)) {
    int a = buf->data[2] << 8 | buf->data[3];
    int q = buf->data[4] << 8 | buf->data[5];
    int i = a - base;
    if (i >= count || i < 0) return MOD_EXC_ADDRESS;
    if (q > limit) return MOD_EXC_VALUE;
    int bytes = fetch(table + i, q, buf->data + 3, count - i);
    buf->data[2] = static_cast<uint8_t>(bytes);
    buf->length = bytes + 3;
    return 0;
}

// Codes 5, 6 and 8 answer with the request unchanged, as long as it came
// (within the longest frame a transport carries).
int echo(ModbusMsgBuf* buf) {
    if (buf->length > kModMaxAdu) buf->length = kModMaxAdu;
    return 0;
}

}  // namespace

int MOD_Execute(ModSlave* s, ModbusMsgBuf* buf) {
    const ModbusSlaveArgs& a = s->a;
    uint8_t* d = buf->data;
    int fc = d[1];
    int addr = d[2] << 8 | d[3];
    int q = d[4] << 8 | d[5];
    // Every code but 15 and 16 needs its four bytes of address and quantity
    // (or sub-function and data); a shorter request is not executed on
    // whatever an earlier request left in the buffer.
    if ((fc >= 1 && fc <= 6) || fc == 8) {
        if (buf->length < 6) return MOD_EXC_VALUE;
    }
    switch (fc) {
    case 1: return readTable(buf, a.coils, a.coilBase, a.coilCount, s->bitLimit, fetchdig);
    case 2: return readTable(buf, a.inputs, a.inputBase, a.inputCount, s->bitLimit, fetchdig);
    case 3: return readTable(buf, a.holdRegs, a.holdBase, a.holdCount, s->regLimit, fetchreg);
    case 4: return readTable(buf, a.inRegs, a.inRegBase, a.inRegCount, s->regLimit, fetchreg);
    case 5: {
        if (*a.coilWe != 1) return echo(buf);
        int i = addr - a.coilBase;
        if (i >= a.coilCount || i < 0) return MOD_EXC_ADDRESS;
        int bit = q == 0xFF00 ? 1 : 0;
        if (!MOD_SendSysMessage_S6_CMD(a.instance, 0x50000 + bit, i)) return echo(buf);
        if (q == 0xFF00) a.coils[i] = 1;
        else if (q == 0) a.coils[i] = 0;
        else return MOD_EXC_VALUE;
        return echo(buf);
    }
    case 6: {
        if (*a.regWe != 1) return echo(buf);
        int i = addr - a.holdBase;
        if (i >= a.holdCount || i < 0) return MOD_EXC_ADDRESS;
        if (static_cast<uint16_t>(a.holdRegs[i]) == q) return echo(buf);
        if (!MOD_SendSysMessage_S6_CMD(a.instance, 0x60000 + q, i)) return echo(buf);
        a.holdRegs[i] = static_cast<int16_t>(q);
        return echo(buf);
    }
    case 8:
        if (addr != 0) return MOD_EXC_FUNCTION;
        return echo(buf);
    case 15:
    case 16: {
        // The byte count must match the quantity and the request must carry
        // all of it.
        if (buf->length < 7) return MOD_EXC_VALUE;
        int bytes = d[6];
        int need = fc == 15 ? (q + 7) / 8 : 2 * q;
        if (bytes != need || buf->length < 7 + bytes) return MOD_EXC_VALUE;
        int base = fc == 15 ? a.coilBase : a.holdBase;
        int count = fc == 15 ? a.coilCount : a.holdCount;
        int i = addr - base;
        if (i + q > count || i < 0) return MOD_EXC_ADDRESS;
        if (fc == 15 && *a.coilWe == 1) storedig(a.coils + i, q, d + 7, a.instance, i, s->force);
        if (fc == 16 && *a.regWe == 1) storereg(a.holdRegs + i, q, d + 7, a.instance, i, s->force);
        buf->length = 6;
        return 0;
    }
    default:
        return MOD_EXC_FUNCTION;
    }
}

void MOD_SelectTransport(ModSlave* s) {
    const ModbusSlaveArgs& a = s->a;
    int old = s->device;
    if (old >= 0) VKIO_devControl(old, 15, 1, 0);
    int value = *a.port;
    int dev = (value < 0 || value >= ndevs) ? 0 : value;
    if (dev != old) MOD_ShutdownTCPSocket(old, 0);
    s->portValue = value;
    s->device = dev;
    s->mode = normalMode(*a.mode);
    s->timeout = *a.timeout;
    int kind = MOD_DevKind(dev);
    s->idlePolls = kind == DEV_KIND_UDP || kind == DEV_KIND_SERIAL || kind == DEV_KIND_SERIAL2;
    int pollMs = s->idlePolls ? kModIdlePollMs : 0;
    if (kind & 0x40) {
        if ((kind & 0x65) == 0x64) {
            s->reader = tcp_server_modread;
            s->writer = tcp_server_modwrite;
            VKIO_devControl(dev, 20, timeoutMs(s->timeout), 0);
        } else {
            s->reader = udp_modread;
            s->writer = udp_modwrite;
            VKIO_devControl(dev, 20, kModIdlePollMs, 0);
        }
        s->bitLimit = 1888;
        s->regLimit = 118;
    } else if (s->mode == 1) {
        VKIO_devControl(dev, 1, MOD_DATA_BITS_7, 0);
        s->reader = asc_modread;
        s->writer = asc_modwrite;
        s->bitLimit = 944;
        s->regLimit = 59;
        VKIO_devControl(dev, 16, 0, 0);
        VKIO_devControl(dev, 15, 1, 0);
        VKIO_devControl(dev, 20, pollMs, 0);
    } else {
        VKIO_devControl(dev, 1, MOD_DATA_BITS_8, 0);
        s->reader = rtu_modread;
        s->writer = rtu_modwrite;
        s->bitLimit = 1888;
        s->regLimit = 118;
        VKIO_devControl(dev, 16, 0, 0);
        VKOS_SleepMillisec(500);
        VKIO_devControl(dev, 15, 2, 0);
        VKIO_devControl(dev, 20, pollMs, 0);
    }
}

namespace {

bool transportUnchanged(const ModSlave* s) {
    return *s->a.port == s->portValue && normalMode(*s->a.mode) == s->mode && sameFloat(*s->a.timeout, s->timeout);
}

// Keeps or re-selects the transport and reads one request. While a lost link
// is held by the device's fault cell nothing is read: the previous status is
// evaluated again.
void readRequest(ModSlave* s, ModbusMsgBuf* buf) {
    for (;;) {
        if (s->linkLost) {
            const uint32_t* fault = MOD_DevFaultCell(s->device);
            if (fault == nullptr || *fault == 0) {
                s->linkLost = 0;
                s->device = -1;
                s->portValue = -1;
            }
        }
        if (s->device >= 0 && transportUnchanged(s)) {
            if (s->linkLost) {
                VKOS_SleepMillisec(200);
                return;
            }
        } else {
            MOD_SelectTransport(s);
        }
        std::memset(buf->data, 0, sizeof buf->data);
        buf->length = 0;
        buf->status = MOD_ST_NOTHING;
        s->reader(s->device, buf);
        // A frame whose check sum holds but that carries only the unit
        // address (an ASCII line of one byte and its LRC) has no function
        // code: dispatched, it would run on whatever an earlier request left
        // in the buffer. It counts as a short frame (status 10), recorded and
        // not answered, like the short frames the framings find themselves.
        if (buf->status == MOD_ST_GOOD && buf->length < 2) buf->status = MOD_ST_SHORT;
        if (buf->status == MOD_ST_TIMEOUT && s->idlePolls) buf->status = MOD_ST_NOTHING;
        if (buf->status != MOD_ST_OTHER_CPU) return;
        VKOS_SleepMillisec(1000);
    }
}

}  // namespace

void MOD_Pass(ModSlave* s, ModbusMsgBuf* buf) {
    const ModbusSlaveArgs& a = s->a;
    while (ApplicationRunning == 0) VKOS_SleepMillisec(100);
    CheckRedundantCpusModbusSlave(&s->backupLast, &s->force, &s->countdown, 1);
    readRequest(s, buf);
    int dev = s->device;
    int32_t slave = *a.slaveAddr;
    VKIO_devControl(dev, 26, slave, 0);
    // An empty read (a flush ended it) received nothing: no error, no reply.
    if (buf->status == MOD_ST_NOTHING) return;
    if (buf->status != MOD_ST_GOOD) {
        if (buf->status == MOD_ST_TIMEOUT) {
            set_error_exception(a.errCount, a.lastErr, MOD_ST_TIMEOUT, a.instance);
            s->linkLost = 1;
        } else if (buf->status == MOD_ST_DEVICE) {
            s->linkLost = 1;
        } else {
            set_error_exception(a.errCount, a.lastErr, buf->status, a.instance);
        }
        VKOS_SleepMillisec(100);
    }
    if (buf->data[0] == slave) s->foreign = 0;
    else ++s->foreign;
    if (s->foreign > 9 || buf->status == MOD_ST_TIMEOUT) {
        // A row the acceptor has just handed a new connection to (while this
        // task slept above) is not the lost link: leave it to the next read.
        const int32_t* st = MOD_DevStatusCell(dev);
        if (st == nullptr || *st != MOD_TCP_HANDED) MOD_ShutdownTCPSocket(dev, 0);
        s->foreign = 0;
    }
    // Requests to address 0 (broadcast) are neither executed nor answered.
    if (buf->status != MOD_ST_GOOD || buf->data[0] != slave || buf->data[0] == 0) return;
    if (MOD_SendSysMessage_S_T_CMD(s->msgIndex)) *a.msgCount = static_cast<int32_t>(static_cast<uint32_t>(*a.msgCount) + 1u);
    int code = MOD_Execute(s, buf);
    if (code != 0) {
        set_error_exception(a.errCount, a.lastErr, code, a.instance);
        moderror(dev, buf, code, s->writer);
    } else {
        s->writer(dev, buf);
    }
}
