// CNFG_SIO: the serial port of Modbus link 1. The stored settings go to the
// port at start and, one changed setting at a time, from the supervision
// task; the cells the serial device's driver reports through are handed to
// the device table.
#include "app/interface/CNFG_SIO.cells.h"

#include "platform/vkiodev.h"
#include "platform/vkos.h"
#include "runtime/appinit.h"
#include "runtime/appmem.h"
#include "runtime/sysinfo.h"

namespace {

constexpr int kSerialDevice = 1;

// The serial port's settings in the order the port takes them, with their
// control codes; each has a hidden cell of the value last applied.
constexpr int kSioSettings = 10;
constexpr int kSioControl[kSioSettings] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 14};

struct CNFG_SIO_blocks {
    int32_t applied[kSioSettings];
    uint32_t flushLast;
};
BlockRam<CNFG_SIO_blocks> CNFG_SIO_st;

void sioValues(int32_t (&v)[kSioSettings]) {
    const auto& p = cells::CNFG_SIO;
    const int32_t now[kSioSettings] = {p.COMM1_PORT_BAUD, p.COMM1_PORT_BITS,  p.COMM1_PORT_STOP,    p.COMM1_PORT_PARITY,
                                       p.COMM1_PORT_MODE, p.COMM1_PORT_FLOW,  p.COMM1_PORT_ECHO,    p.COMM1_PORT_ENDLINE,
                                       p.COMM1_PORT_IGNCR, p.COMM1_PORT_DRIVER};
    for (int k = 0; k < kSioSettings; ++k) v[k] = now[k];
}

}  // namespace

void CNFG_SIO_init_blks() {
    cells::CNFG_SIO.COMM1_PORT_SIO_PORT = kSerialDevice;
    cells::CNFG_SIO.COMM1_PORT_P_STATUS = 1;
}

void sio_control(int apply) {
    VKOS_SleepMillisec(100);
    if (apply != 1) return;
    int32_t v[kSioSettings];
    sioValues(v);
    for (int k = 0; k < kSioSettings; ++k) VKIO_devControl(kSerialDevice, kSioControl[k], v[k], 0);
    VKIO_devControl(kSerialDevice, 15, 1, 0);
}

void CheckTTYControlPrams() {
    CNFG_SIO_blocks& s = CNFG_SIO_st;
    const uint32_t flush = cells::CNFG_SIO.COMM1_PORT_P_FLUSH;
    if (flush != s.flushLast) {
        if (flush == 1) VKIO_devControl(kSerialDevice, 16, 1, 0);
        s.flushLast = flush;
        return;
    }
    int32_t v[kSioSettings];
    sioValues(v);
    for (int k = 0; k < kSioSettings; ++k) {
        if (v[k] != s.applied[k]) {
            VKIO_devControl(kSerialDevice, kSioControl[k], v[k], 0);
            s.applied[k] = v[k];
            return;
        }
    }
}

namespace rtcells {
int32_t& CNFG_SIO_COMM1_PORT_P_STATUS() { return cells::CNFG_SIO.COMM1_PORT_P_STATUS.ref(); }
uint32_t& CNFG_SIO_COMM1_PORT_FAULT() { return cells::CNFG_SIO.COMM1_PORT_FAULT.ref(); }
}  // namespace rtcells
