// Modbus slave writers: the reply in the data area framed for the serial
// line (RTU or ASCII), a UDP port or a TCP connection.
#include "modbus/MODBUS.h"
#include "modbus/ModbusSupport.h"

void rtu_modwrite(int dev, ModbusMsgBuf* buf) {
    uint8_t frame[kModDataSize + 2];
    int n = MOD_RtuFrame(buf, frame);
    VKIO_devWrite(dev, frame, n);
}

void udp_modwrite(int dev, ModbusMsgBuf* buf) {
    uint8_t frame[kModDataSize + 2];
    int n = MOD_RtuFrame(buf, frame);
    VKIO_devSendto(dev, frame, n, 0, &buf->peer, 16);
}

void asc_modwrite(int dev, ModbusMsgBuf* buf) {
    uint8_t frame[2 * kModDataSize + 4];
    int n = MOD_AscFrame(buf, frame);
    VKIO_devWrite(dev, frame, n);
}

void tcp_server_modwrite(int dev, ModbusMsgBuf* buf) {
    if (ModbusDescriptorPtr != nullptr && ModbusDescriptorPtr->serverWrite != nullptr)
        ModbusDescriptorPtr->serverWrite(dev, buf);
}

void tcp_client_modwrite(int dev, ModbusMsgBuf* buf) {
    if (ModbusDescriptorPtr != nullptr && ModbusDescriptorPtr->clientWrite != nullptr)
        ModbusDescriptorPtr->clientWrite(dev, buf);
}
