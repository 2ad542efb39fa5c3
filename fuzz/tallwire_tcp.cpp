// Fuzz target: the Tallwire TCP frame reader and the request decoder. The
// input is written into one end of a connected socket pair whose other end
// is a client slot of the server; every pass of the server reads frames,
// dispatches requests against a binding that answers every slot, and
// writes replies, which are drained.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/hostio.h"
#include "service/Tallwire.h"
#include "service/TallwireSupport.h"
#include "service/TwApiClassic.h"
#include "service/TwTcp.h"

namespace {

const char kText[] = "FUZZ.TEXT.VALUE";
uint8_t blob[300];
TWEvent latch{1, 2, 3};
TwEventRecord record{};
uint8_t dataBytes[4] = {1, 2, 3, 4};

uint8_t answer(uint32_t h, TwValue* v) {
    switch (h & 7) {
    case 0: v->type = 1; v->data.u8 = 1; return 0;
    case 1: v->type = 4; v->data.u32 = h; return 0;
    case 2: v->type = 32; v->data.f = 0.5f; return 0;
    case 3: v->type = 64; v->data.time.seconds = h; v->data.time.subSeconds = 0; return 0;
    case 4: v->type = 80; v->data.ptr = const_cast<char*>(kText); return 0;
    case 5: v->type = 68; return 0;  // header prepared by the request layer, or none
    case 6: v->type = (h >> 8) & 0xFF; return 0;
    default: return static_cast<uint8_t>(h >> 24);
    }
}

// As the controller's binding does: a handle the request layer gave a
// structure header is served as a structure or refused (1), never read as a
// value of another type through that header.
uint8_t readVal(uint32_t h, TwValue* v) {
    const bool header = v->data.ptr != nullptr;
    const uint8_t status = answer(h, v);
    if (header && status == 0 && v->type != TW_TYPE_STRUCT) return TW_BAD_ARGUMENT;
    return status;
}

uint8_t readItem(uint32_t h, TwValue* v, uint16_t item) {
    if (item >= 8) return 2;
    switch ((h >> 20) & 0xF) {
    case 0xC: v->type = 113; v->data.ptr = &latch; return 0;
    case 0xE: v->type = 112; record.W[0] = item & 1 ? 0x000BADFD : 7; v->data.ptr = &record; return 0;
    case 0xA: {
        auto* d = static_cast<TWEventData*>(v->data.ptr);
        d->length = static_cast<uint16_t>(h & 3);
        d->bytes = dataBytes;
        v->type = 114;
        return 0;
    }
    default: v->type = 32; v->data.f = item; return 0;
    }
}

const char* names[] = {"", "A", "BB", "CCC"};
uint8_t symbol(uint16_t k, TwSymbolRecord* r) {
    if (k < 1 || k > 3) return 1;
    r->name = names[k];
    r->handle = k;
    r->attribute2 = static_cast<uint8_t>(k);
    r->limitsFlag = k & 1;
    r->lowLimit.type = 32;
    r->highLimit.type = 80;
    r->highLimit.data.ptr = const_cast<char*>(kText);
    r->extraValueFlag = 1;
    r->extraValue.type = 64;
    return 0;
}

TwapiDescriptor makeDescriptor() {
    TwapiDescriptor d = TallwireClassicDescriptor;
    d.Connect = [] {};
    d.ResetControl = [] {};
    d.ShutdownControl = [] { return uint8_t{0}; };
    d.BeginProgramming = [] {};
    d.IsControlRunning = [] { return 0; };
    d.SaveValues = [] { return uint8_t{0}; };
    d.GetSystemIdentifier = [](char* b) { std::strcpy(b, kText); return uint8_t{0}; };
    d.GetControlIdentifier = d.GetSystemIdentifier;
    d.GetApplicationIdentifier = d.GetSystemIdentifier;
    d.GetConfigIdentifier = d.GetSystemIdentifier;
    d.GetProductIdentifier = d.GetSystemIdentifier;
    d.SetControlIdentifier = [](const char* t) { return static_cast<uint8_t>(std::strlen(t) & 1); };
    d.SetConfigIdentifier = d.SetControlIdentifier;
    d.GetSymbolTableEntry = symbol;
    d.GetSymbolCount = [] { return uint16_t{3}; };
    d.ReadValForHandle = readVal;
    d.WriteValue = [](uint32_t, TwValue* v) { return static_cast<uint8_t>(v->type & 3); };
    d.GetDataPacketBytes = [](uint32_t) { return uint32_t{4}; };
    d.ReadBytes = [](uint32_t, const uint8_t** p, uint32_t* n) { *p = blob; *n = sizeof blob; return uint8_t{0}; };
    d.GetArraySize = [](uint32_t h) { return static_cast<uint16_t>(h & 7); };
    d.ReadArrayItem = readItem;
    d.WriteArrayItem = [](uint32_t, TwValue*, uint16_t i) { return static_cast<uint8_t>(i == 3 ? 2 : 0); };
    d.ValidateSecurityItem = [](uint8_t l, uint32_t) { return static_cast<uint8_t>(l ? 254 : 0); };
    d.GetValueHandle = [](const char*, uint32_t* h, uint8_t* t, uint8_t* f) { *h = 1; *t = 1; *f = 0; return uint8_t{0}; };
    d.ResetAllowed = [] { return uint8_t{0}; };
    d.ShutdownAllowed = [] { return uint8_t{0}; };
    d.GetSessionSecurityLevel = [] { return uint8_t{1}; };
    d.AccountSecurityLogin = [](const char*, const char*, uint8_t* l) { *l = 3; return uint8_t{0}; };
    d.QueryAccountSecurityLevel = d.AccountSecurityLogin;
    d.EndProgramming = [] { return uint8_t{0}; };
    d.WriteProgramMemory = [](uint32_t, uint16_t) { return uint8_t{0}; };
    return d;
}

const TwapiDescriptor fuzzDescriptor = makeDescriptor();

void drain(int fd) {
    uint8_t buf[65536];
    while (recv(fd, buf, sizeof buf, MSG_DONTWAIT) > 0) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, sv) != 0) return 0;
    int big = 1 << 22;
    setsockopt(sv[0], SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
    setsockopt(sv[0], SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
    fcntl(sv[0], F_SETFL, O_NONBLOCK);
    TwApiClassicInit(&fuzzDescriptor);
    _TW_SLAVEpid = 1;
    TWTcpPorts[0] = TwTcpPort{-1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    AddSocketToPortList(hostio::sockAdopt(sv[0]), 0x7F000001);
    // Half the inputs start on a connected session; some are taken as a list
    // of requests (a length byte, then the payload) and framed here, so that
    // the request decoder sees many well-framed requests.
    std::vector<uint8_t> framed;
    if (size > 0 && (data[0] & 1)) TWTcpPorts[0].connected = 1;
    if (size > 0 && (data[0] & 2)) {
        for (size_t i = 1; i < size;) {
            size_t n = data[i++];
            if (n == 0) n = 1;
            if (n > size - i) n = size - i;
            if (n == 0) break;
            framed.insert(framed.end(), {1, static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
            framed.insert(framed.end(), data + i, data + i + n);
            i += n;
        }
        data = framed.data();
        size = framed.size();
        TWTcpPorts[0].connected = 1;
    }
    for (size_t off = 0; off < size; off += 512) {
        size_t n = size - off < 512 ? size - off : 512;
        if (send(sv[1], data + off, n, MSG_NOSIGNAL) < 0) break;
        tcpTwSlave();
        drain(sv[1]);
    }
    close(sv[1]);
    tcpTwSlave();  // end of stream frees the slot
    pCurTWTcpPort = &TWTcpPorts[0];
    FreeCurTcpSocket();
    pCurTWTcpPort = nullptr;
    return 0;
}
