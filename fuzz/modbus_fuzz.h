// Shared by the Modbus fuzz targets: one slave over small tables, and the
// engine step that turns a parsed request into its reply.
#pragma once

#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"

inline ModSlave* fuzzSlave(int bitLimit, int regLimit) {
    static int32_t area[8], port = 1, slave = 1, mode = 2;
    static uint32_t coils[22], inputs[90], we = 1;
    static int16_t inRegs[50], holdRegs[5];
    static float timeout = 1.0f;
    static const ModbusSlaveArgs args{&port,  &slave,  &mode,    0,        coils,    0,        22,
                                      inputs, 0,       90,       inRegs,   0,        50,       holdRegs,
                                      0,      5,       &area[0], &area[1], &area[2], &port,    0,
                                      0,      &timeout, &we,     &we};
    static ModSlave s;
    MOD_AreaBase[1] = area;
    MOD_InitSlave(&s, &args);
    s.bitLimit = bitLimit;
    s.regLimit = regLimit;
    return &s;
}

// Executes a request for address 1; leaves the reply (or exception reply) in buf.
inline bool fuzzExecute(ModSlave* s, ModbusMsgBuf* buf) {
    if (buf->status != MOD_ST_GOOD || buf->length < 2 || buf->data[0] != 1) return false;
    if (int code = MOD_Execute(s, buf)) moderror(0, buf, code, nullptr);
    return true;
}
