// Modbus slave readers: one request per call from the serial line (RTU or
// ASCII), a UDP port (RTU frames) or a TCP connection (MBAP frames).
#include <cstring>

#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"
#include "platform/vkos.h"

void rtu_modread(int dev, ModbusMsgBuf* buf) {
    int n = VKIO_devRead(dev, buf->data, 252);
    if (VKSetModStatusValue(n, buf) < 0) return;
    MOD_RtuCheck(buf, n);
}

void asc_modread(int dev, ModbusMsgBuf* buf) {
    uint8_t line[kModAscLineSize];
    int n = VKIO_devRead(dev, line, kModAscLineSize);
    if (VKSetModStatusValue(n, buf) < 0) return;
    MOD_AscDecode(line, n > kModAscLineSize ? kModAscLineSize : n, buf);
}

void udp_modread(int dev, ModbusMsgBuf* buf) {
    int addrLen = 16;
    int n = VKIO_devRecvfrom(dev, buf->data, kModDataSize, 0, &buf->peer, &addrLen);
    if (VKSetModStatusValue(n, buf) < 0) return;
    MOD_RtuCheck(buf, n > kModDataSize ? kModDataSize : n);
}

void tcp_server_modread(int dev, ModbusMsgBuf* buf) {
    if (ModbusDescriptorPtr == nullptr || ModbusDescriptorPtr->serverRead == nullptr) {
        VKOS_SleepMillisec(1000);
        return;
    }
    ModbusDescriptorPtr->serverRead(dev, buf);
}

void tcp_client_modread(int dev, ModbusMsgBuf* buf) {
    if (ModbusDescriptorPtr == nullptr || ModbusDescriptorPtr->clientRead == nullptr) {
        VKOS_SleepMillisec(1000);
        return;
    }
    ModbusDescriptorPtr->clientRead(dev, buf);
}
