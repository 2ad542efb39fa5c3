// Fuzz target: the serial PDU deframer and session layer. The input is the
// byte stream arriving on the line of one serial port; the server's serial
// pass takes frames apart, dispatches complete requests and sends replies
// into a sink that now and then refuses a byte.
#include <cstddef>
#include <cstdint>

#include "service/InPdu.h"
#include "service/OutPdu.h"
#include "service/Tallwire.h"
#include "service/TallwireSupport.h"
#include "service/TwApiClassic.h"
#include "service/TwSerial.h"
#include "service/TwTrnspt.h"
#include "service/crc16.h"

#include <vector>

namespace {

const uint8_t* in = nullptr;
size_t inLeft = 0;
unsigned putCount = 0;
uint32_t deviceCell = 1;

uint8_t lineGet(uint8_t* b) {
    if (inLeft == 0) return TW_BYTE_NOT_NOW;
    *b = *in++;
    --inLeft;
    return 0;
}

uint8_t linePut(uint8_t) { return (++putCount % 7 == 0) ? TW_BYTE_NOT_NOW : 0; }

void putStuffed(std::vector<uint8_t>& out, uint8_t b) {
    if (PduIsStuffed(b)) {
        out.push_back(PDU_DLE);
        out.push_back(static_cast<uint8_t>(b | PDU_STUFF_BIT));
    } else {
        out.push_back(b);
    }
}

void putFrame(std::vector<uint8_t>& out, const std::vector<uint8_t>& body) {
    uint16_t crc = 0xFFFF;
    for (uint8_t b : body) crc = Crc16RevNext(crc, b);
    out.push_back(PDU_SOH);
    for (uint8_t b : body) putStuffed(out, b);
    out.push_back(PDU_ETX);
    putStuffed(out, static_cast<uint8_t>(crc >> 8));
    putStuffed(out, static_cast<uint8_t>(crc));
}

// Builds well-formed frames from records {mode, length, data...}, starting
// with a connect, so that the session layer and the request decoder see
// valid frames: mode bit 0x20 keeps the expected alternating sequence,
// 0xC0 asks for another connect, bit 0x10 adds the station address.
std::vector<uint8_t> frames(const uint8_t* data, size_t size, uint8_t address) {
    std::vector<uint8_t> out;
    putFrame(out, {PDU_KIND_CONNECT});
    uint8_t expected = 1;
    for (size_t i = 0; i + 2 <= size;) {
        uint8_t mode = data[i];
        size_t n = data[i + 1];
        i += 2;
        if (n > size - i) n = size - i;
        uint8_t kind = (mode & 0xC0) == 0xC0 ? PDU_KIND_CONNECT : PDU_KIND_DATA;
        uint8_t seq = (mode & 0x20) ? expected : (mode & 0x0F);
        std::vector<uint8_t> body{static_cast<uint8_t>(seq | kind | (mode & PDU_ADDRESS_FLAG))};
        if (mode & PDU_ADDRESS_FLAG) body.push_back(address);
        body.insert(body.end(), data + i, data + i + n);
        i += n;
        putFrame(out, body);
        if (kind == PDU_KIND_CONNECT) expected = 1;
        else if (seq == expected) expected ^= 1;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TwApiClassicInit(&TallwireClassicDescriptor);
    _TW_SLAVEpid = 1;
    if (TallwireAllocSerialPorts(1) != 0) return 0;
    TwSerialPort* p = &TWSerialPorts[0];
    pCurTWSerialPort = p;
    p->inUse = 1;
    p->deviceNumberRef = &deviceCell;
    p->deviceNumber = 1;
    TwTransportInit(size > 0 ? data[0] & 0x0F : 0);
    TwTransportOpen(Connect);
    InPduOpen(lineGet);
    OutPduOpen(linePut);
    p->initialised = 1;
    p->channelOpen = 1;
    std::vector<uint8_t> built;
    if (size > 0 && (data[0] & 0x80)) {
        built = frames(data + 1, size - 1, data[0] & 0x0F);
        data = built.data();
        size = built.size();
    }
    in = data;
    inLeft = size;
    // Enough passes to consume the line and finish the last reply.
    for (size_t pass = 0; pass < size + 64 && (inLeft > 0 || p->replyPending); ++pass) serialTwSlave();
    TallwireFreeSerialPorts();
    return 0;
}
