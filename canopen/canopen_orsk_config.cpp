// Configuration sequence of a remote I/O node: one step per call of the
// configuration task. The node's state byte says which step; the node
// supervision of the 20 ms group starts the sequence and moves it on where it
// waits (states 0, 2, 6, 10, 13, 15, 17 and 38).
#include <algorithm>
#include <cstring>

#include "canopen/canopen_orsk.h"

namespace {

constexpr CO_ORSK_Object kRtdObjects[] = {{0x22, 0x69, 1, 1}, {0x64, 0x30, 1, 4}};
constexpr CO_ORSK_Object kTcObjects[] = {{0x22, 0x69, 1, 1}, {0x64, 0x30, 1, 4}, {0x22, 0x66, 1, 1}};
constexpr CO_ORSK_Module vl_rtd_8c_module = {kRtdObjects, 2, 1};
constexpr CO_ORSK_Module vl_tc_8c_module = {kTcObjects, 3, 2};
constexpr CO_ORSK_Module vl_bo_16c_module = {nullptr, 0, 4};
constexpr CO_ORSK_Module vl_bi_16c_module = {nullptr, 0, 5};
constexpr CO_ORSK_Module vl_aio_10c_module = {nullptr, 0, 6};

}  // namespace

const CO_ORSK_Module* const orsk_modules[8] = {nullptr,           &vl_rtd_8c_module, &vl_tc_8c_module,
                                               &vl_tc_8c_module,  &vl_bo_16c_module, &vl_bi_16c_module,
                                               &vl_aio_10c_module, nullptr};

const CO_ORSK_Object ht_msg_info_sdo_index[4] = {
    {0x18, 0x00, 5, 2}, {0x18, 0x01, 5, 2}, {0x18, 0x02, 5, 2}, {0x18, 0x03, 5, 2}};

const CO_ORSK_Object rt_msg_info_sdo_index[12] = {
    {0x22, 0x6A, 1, 2}, {0x22, 0x6B, 1, 2}, {0x22, 0x6C, 1, 2}, {0x22, 0x6D, 1, 2},
    {0x22, 0x6A, 2, 2}, {0x22, 0x6B, 2, 2}, {0x22, 0x6C, 2, 2}, {0x22, 0x6D, 2, 2},
    {0x22, 0x6A, 5, 4}, {0x22, 0x6B, 5, 4}, {0x22, 0x6C, 5, 4}, {0x22, 0x6D, 5, 4}};

namespace {

using Rec = CO_ORSK_NodeConfig;

uint32_t nibble(uint32_t word, int shift) { return (word >> shift) & 0xFu; }
void setNibble(uint32_t* word, int shift, uint32_t v) { *word = (*word & ~(0xFu << shift)) | (v << shift); }

uint32_t family(uint32_t code) { return (code >> 12) & 0xFu; }
bool codeMatches(const Rec& r) { return static_cast<uint32_t>(*r.NodeFunc) == r.ExpectedCode; }

int32_t le32(const uint8_t* d) {
    return static_cast<int32_t>(static_cast<uint32_t>(d[0]) | static_cast<uint32_t>(d[1]) << 8 |
                                static_cast<uint32_t>(d[2]) << 16 | static_cast<uint32_t>(d[3]) << 24);
}

// Value of an upload answer: the value bytes the size names, little-endian.
int32_t uploadValue(const CanFrame& f, uint8_t size) {
    const uint32_t v = static_cast<uint32_t>(le32(f.Data + 4));
    if (size >= 4) return static_cast<int32_t>(v);
    return static_cast<int32_t>(v & ((1u << (8 * size)) - 1u));
}

void beginTransfer(const Rec& r, int* counter) {
    if ((*r.Status & ORSK_IN_TRANSFER) == 0) {
        *r.Status |= ORSK_IN_TRANSFER;
        if (counter != nullptr) ++*counter;
    }
}

void endTransfer(const Rec& r, int* counter) {
    if ((*r.Status & ORSK_IN_TRANSFER) != 0) {
        *r.Status &= ~ORSK_IN_TRANSFER;
        if (counter != nullptr) --*counter;
    }
}

// Whether a failed step is tried once more: only the first failure, and only
// with the retry bit set.
bool repeatFailure(const Rec& r, uint32_t before) {
    return before != NIB_ABORT && before != NIB_TIMEOUT && (*r.Status & ORSK_RETRY) != 0;
}

// A repeated step keeps the mark of its first failure while it runs, so that
// a second failure ends it instead of repeating it without end.
void markBusy(uint32_t* word, int shift) {
    const uint32_t n = nibble(*word, shift);
    if (n != NIB_ABORT && n != NIB_TIMEOUT) setNibble(word, shift, NIB_BUSY);
}

// The handling every single-transfer step shares, after the client's result:
// busy keeps the step; success records 8 and moves to `next`; a failure
// records abort or time-out and moves on unless the step is repeated.
int transferRule(const Rec& r, int result, uint32_t* word, int shift, uint8_t next, int* counter,
                 bool mayRepeat = true) {
    if (result == ORSK_BUSY || result == ORSK_SEG_INIT || result == ORSK_SEG_MORE) {
        beginTransfer(r, counter);
        markBusy(word, shift);
        return ORSK_BUSY;
    }
    if (result == ORSK_DONE) {
        setNibble(word, shift, NIB_DONE);
        *r.State = next;
    } else {
        *r.Status |= ORSK_SDO_ERROR;
        if (!(mayRepeat && repeatFailure(r, nibble(*word, shift)))) *r.State = next;
        setNibble(word, shift, result == ORSK_ABORTED ? NIB_ABORT : NIB_TIMEOUT);
    }
    endTransfer(r, counter);
    return ORSK_DONE;
}

// One expedited upload step; the value goes into *target on success.
template <typename T>
int uploadStep(const Rec& r, uint8_t lo, uint8_t hi, uint8_t sub, uint8_t size, T* target, uint32_t* word,
               int shift, uint8_t next, int* counter, bool mayRepeat = true) {
    *r.Status &= ~ORSK_SDO_ERROR;
    CanFrame f{};
    const int res = CO_ORSK_ExpeditedUpload(r, lo, hi, sub, size, &f);
    if (res == ORSK_DONE) *target = static_cast<T>(uploadValue(f, size));
    return transferRule(r, res, word, shift, next, counter, mayRepeat);
}

void putValue(CanFrame* f, uint32_t value, uint8_t size) {
    std::memset(f->Data, 0, 8);
    const int n = std::clamp<int>(size, 1, 4);
    for (int i = 0; i < n; ++i) f->Data[4 + i] = static_cast<uint8_t>(value >> (8 * i));
}

int downloadStep(const Rec& r, uint8_t lo, uint8_t hi, uint8_t sub, uint8_t size, uint32_t value, uint32_t* word,
                 int shift, uint8_t next, int* counter, bool mayRepeat = true) {
    *r.Status &= ~ORSK_SDO_ERROR;
    CanFrame f{};
    putValue(&f, value, size);
    const int res = CO_ORSK_ExpeditedDownload(r, lo, hi, sub, size, &f);
    return transferRule(r, res, word, shift, next, counter, mayRepeat);
}

int skipStep(const Rec& r, uint32_t* word, int shift, uint8_t next) {
    setNibble(word, shift, NIB_DONE);
    *r.State = next;
    return ORSK_DONE;
}

// Appends the valid bytes of a segment to a text cell; the cell keeps room
// for its terminating zero, whatever the node sends.
void appendSegment(char* text, const CanFrame& f) {
    const int valid = 7 - ((f.Data[0] >> 1) & 7);
    int len = static_cast<int>(strnlen(text, ORSK_TEXT_BYTES - 1));
    for (int i = 0; i < valid && len < ORSK_TEXT_BYTES - 1; ++i) text[len++] = static_cast<char>(f.Data[1 + i]);
    text[len] = '\0';
}

int textStep(const Rec& r, uint8_t lo, uint8_t hi, char* text, int shift, uint8_t next, int* counter) {
    uint32_t& st = *r.Status;
    st &= ~ORSK_SDO_ERROR;
    CanFrame f{};
    const int res = CO_ORSK_SegmentedUpload(r, lo, hi, 0, &f);
    if (res == ORSK_SEG_INIT) std::memset(text, 0, ORSK_TEXT_BYTES);
    if (res == ORSK_SEG_MORE || res == ORSK_DONE) appendSegment(text, f);
    if (res == ORSK_TIMEOUT) {
        CanFrame a{};
        for (int i = 0; i < 4; ++i) a.Data[4 + i] = static_cast<uint8_t>(ORSK_ABORT_CODE >> (8 * i));
        CO_ORSK_Abort_Sdo(r, lo, hi, 0, &a);
    }
    const int out = transferRule(r, res, r.NibbleB, shift, next, counter);
    if (out == ORSK_DONE) st &= ~(ORSK_SEGMENTS | ORSK_TOGGLE | ORSK_SEGMENT_COUNT);
    return out;
}

void resetResults(const Rec& r) {
    *r.NibbleA = 0;
    *r.NibbleB = 0;
    *r.NibbleC = 0;
    *r.NodeFunc = 0;
    *r.VendorId = 0;
    *r.PartNum = 0;
    *r.RevNum = 0;
    *r.SerialNum = 0;
    std::memset(r.DeviceName, 0, ORSK_TEXT_BYTES);
    std::memset(r.SwVer, 0, ORSK_TEXT_BYTES);
    *r.CfgFault = 1;
    *r.IdFault = 0;
    for (int c = 0; c < r.ChanCount; ++c)
        if (r.ChanVars[c].Value != nullptr) *r.ChanVars[c].Status = 0;
}

uint32_t objectsPerChannel(const Rec& r) { return (*r.Status & ORSK_OBJECTS_MASK) >> ORSK_OBJECTS_SHIFT; }

const CO_ORSK_Module* moduleOf(const Rec& r) { return orsk_modules[(r.ExpectedCode >> 12) & 7u]; }

int receiveDeadline(const Rec& r, int* counter) {
    const uint32_t fam = family(r.ExpectedCode);
    if (!codeMatches(r) || (fam != 4 && fam != 6)) return skipStep(r, r.NibbleA, 16, 20);
    const int32_t interval = **r.TxMsgInfo;
    const uint32_t value = interval == 0 ? 0u : static_cast<uint32_t>(interval + 100);
    return downloadStep(r, fam == 6 ? 0x03 : 0x00, 0x14, 5, 2, value, r.NibbleA, 16, 20, counter);
}

int channelConfiguration(const Rec& r, int* counter) {
    const uint32_t n = objectsPerChannel(r);
    uint8_t& j = *r.CfgObjCursor;
    if (!codeMatches(r)) j = static_cast<uint8_t>(n);
    const CO_ORSK_Module* mod = moduleOf(r);
    if (j < n && mod != nullptr && j < mod->Count) {
        const CO_ORSK_Object& o = mod->Objects[j];
        beginTransfer(r, counter);
        if (Process_CO_ORSK_Chan_Config(r, o.IndexLow, o.IndexHigh, o.SubIndex, o.Size) == ORSK_DONE) ++j;
        return ORSK_BUSY;
    }
    j = 0;
    setNibble(r.NibbleA, 24, NIB_DONE);
    uint32_t pattern = 0;
    for (uint32_t k = 0; k < n; ++k) pattern |= NIB_DONE << (4 * k);
    for (int c = 0; c < r.ChanCount; ++c)
        if (r.ChanVars[c].Value != nullptr && *r.ChanVars[c].Status != pattern) setNibble(r.NibbleA, 24, NIB_ABORT);
    *r.State = 21;
    endTransfer(r, counter);
    return ORSK_DONE;
}

int syncPeriod(const Rec& r, int* counter) {
    if ((static_cast<uint32_t>(*r.NodeFunc) & 0x80000000u) == 0) return skipStep(r, r.NibbleA, 4, 29);
    const uint32_t before = nibble(*r.NibbleA, 4);
    const int out = downloadStep(r, 0x06, 0x10, 0, 4, r.SyncRate, r.NibbleA, 4, 29, counter);
    if (out == ORSK_DONE && *r.State == 29 && nibble(*r.NibbleA, 4) != NIB_DONE &&
        (before == NIB_ABORT || before == NIB_TIMEOUT)) {
        // The second failure counts as done.
        setNibble(r.NibbleA, 4, NIB_DONE);
        *r.Status &= ~ORSK_SDO_ERROR;
    }
    return out;
}

int transmitInterval(const Rec& r, uint8_t state, int* counter) {
    const int k = state - 29;
    const int shift = 4 * k;
    const auto next = static_cast<uint8_t>(state + 1);
    // Module codes with bit 31 set follow another rule set that no node here uses.
    if (!codeMatches(r) || (static_cast<uint32_t>(*r.NodeFunc) & 0x80000000u) != 0)
        return skipStep(r, r.NibbleC, shift, next);
    const uint32_t fam = family(r.ExpectedCode);
    if (k >= 3 || ((state == 30 || state == 31) && (fam == 4 || fam == 5)) ||
        (state == 29 && (fam == 1 || fam == 2 || fam == 3)))
        return skipStep(r, r.NibbleC, shift, next);
    const CO_ORSK_Object& o = ht_msg_info_sdo_index[(fam == 6 && state == 29) ? 3 : k];
    const int32_t rate = std::min<int32_t>(*r.MsgInfo[k], 1000);
    return downloadStep(r, o.IndexLow, o.IndexHigh, o.SubIndex, o.Size, static_cast<uint32_t>(rate), r.NibbleC, shift,
                        next, counter);
}

int finalCheck(const Rec& r) {
    const bool good = codeMatches(r) && (*r.NibbleA & 0xFFFF00FFu) == 0x88880088u && (*r.NibbleA & 0xFF00u) == 0 &&
                      *r.NibbleB == 0x88888888u && *r.NibbleC == 0x88888888u;
    *r.CfgFault = good ? 0 : 1;
    *r.State = 38;
    return ORSK_DONE;
}

int resetNodeStep(const Rec& r, int* counter) {
    const int res = CO_ORSK_ResetNode(r);
    if (res == ORSK_BUSY) {
        beginTransfer(r, counter);
        return ORSK_BUSY;
    }
    endTransfer(r, counter);
    return ORSK_DONE;
}

int saveParameters(const Rec& r, int* counter) {
    *r.Status &= ~ORSK_SDO_ERROR;
    CanFrame f{};
    putValue(&f, 0x65766173u, 4);  // "save"
    const int res = CO_ORSK_ExpeditedDownload(r, 0x10, 0x10, 1, 4, &f);
    if (res == ORSK_BUSY) {
        beginTransfer(r, counter);
        return ORSK_BUSY;
    }
    if (res == ORSK_DONE)
        *r.State = 255;
    else
        *r.Status |= ORSK_SDO_ERROR;
    endTransfer(r, counter);
    return ORSK_DONE;
}

}  // namespace

int Process_CO_ORSK_Chan_Config(CO_ORSK_NodeConfig r, uint8_t lo, uint8_t hi, uint8_t, uint8_t size) {
    uint8_t& c = *r.ChanCursor;
    if (c == 0 || c > r.ChanCount) {
        c = 1;
        return ORSK_DONE;
    }
    const CO_ORSK_ChanVars& ch = r.ChanVars[c - 1];
    if (ch.Value == nullptr) {
        ++c;
        return ORSK_BUSY;
    }
    const uint32_t n = objectsPerChannel(r);
    const uint8_t j = *r.CfgObjCursor;
    const uint32_t value = static_cast<uint32_t>(*r.ChanConfigData[(c - 1) * n + j]);
    CanFrame f{};
    putValue(&f, value, size);
    const int res = CO_ORSK_ExpeditedDownload(r, lo, hi, c, size, &f);
    const int shift = 4 * j;
    if (res == ORSK_BUSY) {
        markBusy(ch.Status, shift);
    } else if (res == ORSK_DONE) {
        setNibble(ch.Status, shift, NIB_DONE);
        ++c;
    } else {
        *r.Status |= ORSK_SDO_ERROR;
        if (!repeatFailure(r, nibble(*ch.Status, shift))) ++c;
        setNibble(ch.Status, shift, res == ORSK_ABORTED ? NIB_ABORT : NIB_TIMEOUT);
    }
    return ORSK_BUSY;
}

int Process_CO_Object_Identity(CO_ORSK_NodeConfig r) {
    const uint8_t s = *r.State;
    int32_t* targets[4] = {r.VendorId, r.PartNum, r.RevNum, r.SerialNum};
    const int k = s - 21;
    *r.Status &= ~ORSK_SDO_ERROR;
    CanFrame f{};
    const int res = CO_ORSK_ExpeditedUpload(r, 0x18, 0x10, static_cast<uint8_t>(k + 1), 4, &f);
    if (res == ORSK_DONE) *targets[k] = uploadValue(f, 4);
    const int out = transferRule(r, res, r.NibbleB, 4 * k, static_cast<uint8_t>(s + 1), nullptr);
    if (out == ORSK_BUSY || *r.State == s || (res == ORSK_DONE && s < 24)) return ORSK_BUSY;
    return ORSK_DONE;
}

int Process_CO_ORSK_Sdo(CO_ORSK_NodeConfig r, int* counter) {
    uint8_t& state = *r.State;
    switch (state) {
        case 0:
            if ((*r.Status & ORSK_START) == 0) return ORSK_DONE;
            *r.Status &= ~ORSK_START;
            resetResults(r);
            state = 14;
            return resetNodeStep(r, counter);
        case 1: return uploadStep(r, 0x01, 0x10, 0, 1, r.Diag, r.NibbleC, 28, 2, counter, false);
        case 3: {
            const uint8_t c = *r.ChanCursor;
            int32_t scratch{};
            int32_t* target = (c >= 1 && c <= r.ChanCount && r.ChanVars[c - 1].Value != nullptr)
                                  ? r.ChanVars[c - 1].Value
                                  : &scratch;
            return uploadStep(r, 0x68, 0x22, c, 2, target, r.NibbleC, 24, 4, counter);
        }
        case 5: return uploadStep(r, 0x12, 0x22, 0, 1, r.Temp, r.NibbleA, 8, 6, counter);
        case 7: return CO_ORSK_ResetNodeAlarm(r);
        case 9: {
            const uint32_t value = 1u + ((*r.Status & ORSK_RETRY) != 0 ? 1u : 0u);
            return downloadStep(r, 0x64, 0x22, 1, 1, value, r.NibbleB, 28, 11, counter, false);
        }
        case 11:
            if ((*r.Status & ORSK_REQUEST) == 0) {
                *r.Status |= ORSK_REQUEST;
                *r.Timer = 0;
            } else if (*r.Timer > 500) {
                *r.Status &= ~ORSK_REQUEST;
                state = 10;
            }
            return ORSK_DONE;
        case 12: {
            const int out = uploadStep(r, 0x18, 0x10, 4, 4, r.SerialNumTmp, r.NibbleB, 12, 13, counter, false);
            if (out == ORSK_DONE && nibble(*r.NibbleB, 12) == NIB_DONE && r.Sdo->ResponseData[0] > 1)
                *r.IdFault = 1;
            return out;
        }
        case 14: return resetNodeStep(r, counter);
        case 16: return uploadStep(r, 0x64, 0x22, 2, 1, r.Port, r.NibbleA, 28, 17, counter);
        case 18:
            *r.NodeFunc = 0;
            return uploadStep(r, 0x00, 0x20, 0, 4, r.NodeFunc, r.NibbleB, 20, 19, counter);
        case 19: return receiveDeadline(r, counter);
        case 20: return channelConfiguration(r, counter);
        case 21:
        case 22:
        case 23:
        case 24: return Process_CO_Object_Identity(r);
        case 25: return textStep(r, 0x08, 0x10, r.DeviceName, 16, 26, counter);
        case 26: return textStep(r, 0x0A, 0x10, r.SwVer, 24, 27, counter);
        case 27: return downloadStep(r, 0x17, 0x10, 0, 2, 0, r.NibbleA, 20, 28, counter);
        case 28: return syncPeriod(r, counter);
        case 29:
        case 30:
        case 31:
        case 32:
        case 33:
        case 34:
        case 35:
        case 36: return transmitInterval(r, state, counter);
        case 37: return finalCheck(r);
        case 254: return saveParameters(r, counter);
        case 2:
        case 4:
        case 6:
        case 8:
        case 10:
        case 13:
        case 15:
        case 17:
        case 38:
        case 255: return ORSK_DONE;
        default: state = 0; return ORSK_DONE;
    }
}
