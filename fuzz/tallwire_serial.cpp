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
    in = data;
    inLeft = size;
    // Enough passes to consume the line and finish the last reply.
    for (size_t pass = 0; pass < size + 64 && (inLeft > 0 || p->replyPending); ++pass) serialTwSlave();
    TallwireFreeSerialPorts();
    return 0;
}
