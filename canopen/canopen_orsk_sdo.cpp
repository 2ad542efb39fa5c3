// SDO client of the remote I/O nodes. Every routine is called once per pass of
// the configuration task, sends at most one frame and tells by its result
// whether the answer is still awaited; all its state is in the node's status
// word, request timer and response buffer.
#include <algorithm>
#include <cstring>

#include "canopen/canopen_mscan.h"
#include "canopen/canopen_orsk.h"

namespace {

uint8_t controllerOf(const CO_ORSK_NodeConfig& r) {
    return static_cast<uint8_t>((*r.Status & ORSK_CONTROLLER_MASK) >> ORSK_CONTROLLER_SHIFT);
}

// Sends the 8 data bytes of the frame as a request to the node and starts
// waiting for its answer.
int sendRequest(const CO_ORSK_NodeConfig& r, CanFrame* frame) {
    *r.Timer = 0;
    r.Sdo->ResponseData[0] = 0;
    *r.Status |= ORSK_REQUEST;
    CanOpenSendNmtNow(controllerOf(r), r.Sdo->CobIdClientToServer, frame, 8);
    return ORSK_BUSY;
}

void putHeader(CanFrame* frame, uint8_t cmd, uint8_t lo, uint8_t hi, uint8_t sub) {
    frame->Data[0] = cmd;
    frame->Data[1] = lo;
    frame->Data[2] = hi;
    frame->Data[3] = sub;
}

void putWord(CanFrame* frame, uint32_t v) {
    for (int i = 0; i < 4; ++i) frame->Data[4 + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The answer in the response buffer if one arrived for this index and
// subindex, else nullptr.
const uint8_t* initiateAnswer(const CO_ORSK_NodeConfig& r, uint8_t lo, uint8_t hi, uint8_t sub) {
    const uint8_t* buf = r.Sdo->ResponseData;
    if (buf[0] == 0 || buf[2] != lo || buf[3] != hi || buf[4] != sub) return nullptr;
    return buf + 1;
}

// No fitting answer: keep waiting until the timer has passed the limit.
int waitOrTimeOut(const CO_ORSK_NodeConfig& r) {
    if (*r.Timer <= ORSK_ANSWER_MS) return ORSK_BUSY;
    *r.Status &= ~ORSK_REQUEST;
    return ORSK_TIMEOUT;
}

int finish(const CO_ORSK_NodeConfig& r, const uint8_t* answer, CanFrame* frame) {
    *r.Status &= ~ORSK_REQUEST;
    std::memcpy(frame->Data, answer, 8);
    return ORSK_DONE;
}

int aborted(const CO_ORSK_NodeConfig& r) {
    *r.Status &= ~ORSK_REQUEST;
    return ORSK_ABORTED;
}

uint8_t sizeSpecifier(uint8_t base, uint8_t size) {
    if (size == 0) size = 1;
    if (size > 4) size = 4;
    return static_cast<uint8_t>(base + 4 * (4 - size));
}

void sendNmt(const CO_ORSK_NodeConfig& r, uint8_t command) {
    CanFrame f{};
    f.Id = 0;
    f.Length = 2;
    f.Data[0] = command;
    f.Data[1] = static_cast<uint8_t>(*r.NodeId & 0xFF);
    CanOpenDriverTxRequest(controllerOf(r), &f);
}

}  // namespace

int CO_ORSK_ExpeditedUpload(CO_ORSK_NodeConfig r, uint8_t lo, uint8_t hi, uint8_t sub, uint8_t size,
                            CanFrame* frame) {
    if ((*r.Status & ORSK_REQUEST) == 0) {
        putHeader(frame, 0x40, lo, hi, sub);
        putWord(frame, 0);
        return sendRequest(r, frame);
    }
    const uint8_t* a = initiateAnswer(r, lo, hi, sub);
    if (a != nullptr) {
        if (a[0] == sizeSpecifier(0x43, size) || a[0] == 0x42) return finish(r, a, frame);
        if (a[0] == 0x80) return aborted(r);
    }
    return waitOrTimeOut(r);
}

int CO_ORSK_ExpeditedDownload(CO_ORSK_NodeConfig r, uint8_t lo, uint8_t hi, uint8_t sub, uint8_t size,
                              CanFrame* frame) {
    if ((*r.Status & ORSK_REQUEST) == 0) {
        putHeader(frame, sizeSpecifier(0x23, size), lo, hi, sub);
        return sendRequest(r, frame);
    }
    const uint8_t* a = initiateAnswer(r, lo, hi, sub);
    if (a != nullptr) {
        if (a[0] == 0x60) return finish(r, a, frame);
        if (a[0] == 0x80) return aborted(r);
    }
    return waitOrTimeOut(r);
}

int CO_ORSK_SegmentedUpload(CO_ORSK_NodeConfig r, uint8_t lo, uint8_t hi, uint8_t sub, CanFrame* frame) {
    uint32_t& st = *r.Status;
    if ((st & ORSK_SEGMENTS) == 0) {
        if ((st & ORSK_REQUEST) == 0) {
            putHeader(frame, 0x40, lo, hi, sub);
            putWord(frame, 0);
            return sendRequest(r, frame);
        }
        const uint8_t* a = initiateAnswer(r, lo, hi, sub);
        if (a != nullptr) {
            if (a[0] == 0x41) {
                std::memcpy(frame->Data, a, 8);
                st = (st | ORSK_SEGMENTS) & ~ORSK_REQUEST;
                return ORSK_SEG_INIT;
            }
            if (a[0] == 0x80) return aborted(r);
        }
        return waitOrTimeOut(r);
    }
    if ((st & ORSK_REQUEST) == 0) {
        const uint8_t toggle = (st & ORSK_TOGGLE) != 0 ? 0x10 : 0x00;
        std::memset(frame->Data, 0, 8);
        frame->Data[0] = static_cast<uint8_t>(0x60 | toggle);
        st ^= ORSK_TOGGLE;
        return sendRequest(r, frame);
    }
    const uint8_t* buf = r.Sdo->ResponseData;
    if (buf[0] == 0) return waitOrTimeOut(r);
    // The toggle bit was inverted when the request left.
    const uint8_t sent = (st & ORSK_TOGGLE) != 0 ? 0x00 : 0x10;
    const uint8_t cmd = buf[1];
    if ((cmd & 0x10) == sent) {
        if ((cmd & 0xE0) == 0) {
            std::copy_n(buf + 1, sizeof frame->Data, frame->Data);
            st = (st & ~(ORSK_REQUEST | ORSK_SEGMENT_COUNT)) | ((st + 1) & ORSK_SEGMENT_COUNT);
            return (cmd & 1) != 0 ? ORSK_DONE : ORSK_SEG_MORE;
        }
        if (cmd == 0x80) return aborted(r);
        return waitOrTimeOut(r);
    }
    // A segment out of turn: abort the transfer.
    putHeader(frame, 0x80, lo, hi, sub);
    putWord(frame, ORSK_ABORT_CODE);
    CanOpenSendNmtNow(controllerOf(r), r.Sdo->CobIdClientToServer, frame, 8);
    return aborted(r);
}

int CO_ORSK_Abort_Sdo(CO_ORSK_NodeConfig r, uint8_t lo, uint8_t hi, uint8_t sub, CanFrame* frame) {
    putHeader(frame, 0x80, lo, hi, sub);
    CanOpenSendNmtNow(controllerOf(r), r.Sdo->CobIdClientToServer, frame, 8);
    return ORSK_DONE;
}

int CO_ORSK_ResetNode(CO_ORSK_NodeConfig r) {
    uint32_t& st = *r.Status;
    uint32_t& nibA = *r.NibbleA;
    if ((st & ORSK_REQUEST) == 0) {
        sendNmt(r, NMT_CS_RESET_NODE);
        *r.Timer = 0;
        st |= ORSK_REQUEST;
        return ORSK_BUSY;
    }
    if (r.NmtErrCntrl->BootUpCount != 0) {
        // The node gets its full time after the reset even when it reports at once.
        if (*r.Timer <= ORSK_ANSWER_MS) return ORSK_BUSY;
        nibA = (nibA & ~0xFu) | NIB_DONE;
        *r.State = 15;
        st &= ~ORSK_REQUEST;
        return ORSK_DONE;
    }
    if (*r.Timer <= ORSK_ANSWER_MS) {
        nibA |= 1u;
        return ORSK_BUSY;
    }
    st = (st | ORSK_SDO_ERROR) & ~ORSK_REQUEST;
    // The waiting marks bit 0 of the nibble; the time-out bit tells whether
    // the reset was already repeated.
    const bool repeat = (nibA & NIB_TIMEOUT) == 0 && (st & ORSK_RETRY) != 0;
    *r.State = repeat ? 14 : 15;
    nibA = (nibA & ~0xFu) | NIB_TIMEOUT;
    return ORSK_DONE;
}

int CO_ORSK_ResetNodeAlarm(CO_ORSK_NodeConfig r) {
    sendNmt(r, 0x83);
    *r.State = 8;
    return ORSK_DONE;
}
