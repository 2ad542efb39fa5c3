// Modbus slave support: system-message hooks, counters, the redundant-CPU
// check, the device-table views the engine needs, and the Modbus/TCP
// acceptor with its per-row hand-over of first requests.
#pragma once

#include <cstdint>

#include "host/vxworks.h"
#include "modbus/MODUTIL.h"
#include "platform/vkiodev.h"
#include "service/TwTcp.h"   // ShutdownSocket
#include "runtime/appinit.h"  // _scan_tcpPid
#include "runtime/appmain.h"  // ApplicationRunning, SendSysMessage, _modSPid

// Serial data-bits codes of device control 1, as the serial device defines
// them (its record's data-bits code): RTU runs with 8 data bits, ASCII with 7.
constexpr int MOD_DATA_BITS_8 = 1;
constexpr int MOD_DATA_BITS_7 = 2;


// Hooks, each true when SendSysMessage returns 1.
int MOD_SendSysMessage_S_T_CMD(int wordIndex);
int MOD_SendSysMessage_S6_CMD(int instance, int valueCode, int address);
int MOD_SendSysMessage_M_T_CMD(int a, int b, int c);
int MOD_SendSysMessage_M_M_CMD(int a, int b, int c);

// Word index of an integer cell in mr_i.
int Fetch_tCntIValAddress(const int32_t* cell);
// SendAppEvent(6, text).
void VKIO_SendAppSysError(const char* text);
void ModTaskEnable();

extern int RedundantCpusExpected;
extern int BackupCpuStatus;
void CheckRedundantCpusModbusSlave(int* last, int* force, int* countdown, int mode);

// Device-table views: kind letter (0 outside the table), fault and status
// cells (nullptr when the row has none or the number is outside the table).
int MOD_DevKind(int dev);
uint32_t* MOD_DevFaultCell(int dev);
int32_t* MOD_DevStatusCell(int dev);

// Status-cell values of a TCP row.
constexpr int32_t MOD_TCP_FREE = 12;
constexpr int32_t MOD_TCP_HANDED = 16;   // connection handed over, first request waiting
constexpr int32_t MOD_TCP_IN_USE = 6;

// Closes the connection of a TCP row of kind 'f' (socket -1, status 12);
// with wait = 1 then sleeps 200 ms. Other rows are left alone.
void MOD_ShutdownTCPSocket(int dev, int wait);

// Routing of new TCP connections to instances by unit identifier.
struct TcpModRoute {
    int32_t area;       // area of the port-number cell: 1 mr_i, 2 dn_i, 3 up_i, 4 mw_i
    int32_t portIndex;  // word index of the port-number cell; negative ends the table
    int32_t addrIndex;  // word index of the slave-address cell in mr_i
};
// The routing table (ended by a row with a negative port index). The
// application installs its table; tests install their own.
extern const TcpModRoute* TCPMods;
// Resolves an area kind to its base (nullptr for an unknown kind); kind 1
// (mr_i) is also the base of the counters' word indexes.
int32_t* MOD_IntArea(int kind);
// The integer areas by kind: mr_i, dn_i, up_i, mw_i (tests may put tables of
// their own in their place).
extern int32_t* MOD_AreaBase[5];

// The first request of a connection handed to a TCP row: frame bytes and count.
extern uint8_t Tcp502Buf[NDEVS][kModMbapMax + 2];
extern int32_t Tcp502ct[NDEVS];

constexpr int TCP_scan_timeout = 21000;   // ms a new connection has for its first request
extern int TCPModPort;                    // listening row when CpuSlot is 1
extern int TCPModPortB;                   // ... when CpuSlot is 7 or 14
extern int TCPModPortC;                   // ... otherwise

// The acceptor task body ("scan_tcp").
void scan_tcp(long arg);

// Server side of the Modbus/TCP transport (descriptor slots 0 and 2).
void VKtcp_server_modread(int dev, ModbusMsgBuf* buf);
void VKtcp_server_modwrite(int dev, ModbusMsgBuf* buf);

struct ModbusDescriptor {
    void (*serverRead)(int dev, ModbusMsgBuf* buf);
    void (*clientRead)(int dev, ModbusMsgBuf* buf);
    void (*serverWrite)(int dev, ModbusMsgBuf* buf);
    void (*clientWrite)(int dev, ModbusMsgBuf* buf);
};
extern const ModbusDescriptor ModbusClassicDescriptor;
extern const ModbusDescriptor* ModbusDescriptorPtr;
