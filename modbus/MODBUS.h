// Modbus slave: instances, their task and the request engine.
#pragma once

#include <cstdint>

#include "host/vxworks.h"
#include "modbus/MODUTIL.h"

constexpr int kModMaxSlaves = 200;
// Serial lines and UDP ports are read with this time-out, so that a change of
// the port, mode or time-out cell is taken up on a quiet line too.
constexpr int kModIdlePollMs = 1000;

// The argument block of one instance, in the order `modbus` receives it
// (word 19 repeats the port cell). Cells are application cells.
struct ModbusSlaveArgs {
    int32_t* port;          // device number in devtab
    int32_t* slaveAddr;     // slave address (whole value compared with the request's address byte)
    int32_t* mode;          // serial mode: 1 ASCII, 2 RTU (anything else counts as 1)
    uint32_t modbusRead;    // _MODBUS_READ, unused
    uint32_t* coils;        // 32-bit booleans
    int32_t coilBase;
    int32_t coilCount;
    uint32_t* inputs;       // 32-bit booleans
    int32_t inputBase;
    int32_t inputCount;
    int16_t* inRegs;
    int32_t inRegBase;
    int32_t inRegCount;
    int16_t* holdRegs;
    int32_t holdBase;
    int32_t holdCount;
    int32_t* errCount;      // error-count cell (in mr_i)
    int32_t* msgCount;      // message-count cell (in mr_i)
    int32_t* lastErr;       // last-error cell (in mr_i)
    int32_t* port2;         // the port cell again
    int32_t instance;       // 0..199
    int32_t spare;          // passed as 0
    float* timeout;         // time-out, seconds
    uint32_t* coilWe;       // coil write enable (boolean)
    uint32_t* regWe;        // register write enable (boolean)
};

typedef void (*ModReader)(int dev, ModbusMsgBuf* buf);
typedef void (*ModWriter)(int dev, ModbusMsgBuf* buf);

// The transport an instance has selected and the engine's per-task state.
struct ModSlave {
    ModbusSlaveArgs a;
    int msgIndex;           // word index of the message-count cell in mr_i
    int portValue;          // port cell value when the transport was selected (-1: none)
    int device;             // selected device (-1: none)
    int mode;               // selected serial mode (0: none)
    float timeout;          // selected time-out
    ModReader reader;
    ModWriter writer;
    int bitLimit;
    int regLimit;
    int linkLost;
    int idlePolls;          // a read time-out means a quiet line, not a lost link
    int foreign;            // consecutive requests for another address
    int backupLast;         // redundant-CPU check state
    int force;
    int countdown;
};

// The table of read/write routines every caller passes to `modbus`; the
// engine keeps it unused.
extern uint32_t _MODBUS_READ;
// Starts instance `instance` as task "do_modbus".
void modbus(int32_t* port, int32_t* slaveAddr, int32_t* mode, uint32_t modbusRead, uint32_t* coils,
            int32_t coilBase, int32_t coilCount, uint32_t* inputs, int32_t inputBase, int32_t inputCount,
            int16_t* inRegs, int32_t inRegBase, int32_t inRegCount, int16_t* holdRegs, int32_t holdBase,
            int32_t holdCount, int32_t* errCount, int32_t* msgCount, int32_t* lastErr, int32_t instance,
            int32_t spare, float* timeout, uint32_t* coilWe, uint32_t* regWe);
// Task body of an instance; never returns.
void do_modbus(long block);

// Initialises the per-task state from an argument block.
void MOD_InitSlave(ModSlave* s, const ModbusSlaveArgs* a);
// Executes a request addressed to this slave (buf->status 0). Returns 0 when
// buf now holds the reply, else the exception code (buf unchanged).
int MOD_Execute(ModSlave* s, ModbusMsgBuf* buf);
// Turns the request into an exception reply and sends it through the writer.
void moderror(int dev, ModbusMsgBuf* buf, int code, ModWriter writer);
// Records an error: error count + 1 and last error = code, each offered to the hook.
void set_error_exception(int32_t* errCount, int32_t* lastErr, int code, int instance);
// Selects the transport that the port, mode and time-out cells name.
void MOD_SelectTransport(ModSlave* s);
// One pass of the task loop: read one request, check it, execute it and reply.
void MOD_Pass(ModSlave* s, ModbusMsgBuf* buf);

// Readers and writers of the framings (serial RTU and ASCII, UDP, TCP server).
void rtu_modread(int dev, ModbusMsgBuf* buf);
void asc_modread(int dev, ModbusMsgBuf* buf);
void udp_modread(int dev, ModbusMsgBuf* buf);
void rtu_modwrite(int dev, ModbusMsgBuf* buf);
void asc_modwrite(int dev, ModbusMsgBuf* buf);
void udp_modwrite(int dev, ModbusMsgBuf* buf);
void tcp_server_modread(int dev, ModbusMsgBuf* buf);
void tcp_server_modwrite(int dev, ModbusMsgBuf* buf);
// The client (master) pair: no instance selects it, and its descriptor slots
// are empty in this system.
void tcp_client_modread(int dev, ModbusMsgBuf* buf);
void tcp_client_modwrite(int dev, ModbusMsgBuf* buf);
