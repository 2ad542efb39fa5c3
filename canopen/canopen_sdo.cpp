#include "canopen/canopen_sdo.h"

#include "canopen/canopen_mscan.h"
#include "canopen/canopen_pdo.h"

// Request and response bytes: d0 command, d1/d2 index (low first), d3 sub-index, d4..d7 data.

static uint16_t requestIndex(const uint8_t* req) { return static_cast<uint16_t>(req[1] | (req[2] << 8)); }

static const OdEntry* requestEntry(const CanOpenImage* img, const uint8_t* req) {
    return FindOdEntry(img->ObjectDictionary, img->OdCount, requestIndex(req));
}

static void putU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

static void abortResponse(uint8_t* resp, uint32_t code) {
    resp[0] = 0x80;
    putU32(resp + 4, code);
}

static void downloadDone(uint8_t* resp) {
    resp[0] = 0x60;
    for (int i = 4; i < 8; ++i) resp[i] = 0;
}

static void upload8(uint8_t* resp, uint8_t v) {
    resp[0] = 0x4F;
    resp[4] = v;
    resp[5] = resp[6] = resp[7] = 0;
}

static void upload16(uint8_t* resp, uint16_t v) {
    resp[0] = 0x4B;
    resp[4] = static_cast<uint8_t>(v);
    resp[5] = static_cast<uint8_t>(v >> 8);
    resp[6] = resp[7] = 0;
}

static void upload32(uint8_t* resp, uint32_t v) {
    resp[0] = 0x43;
    putU32(resp + 4, v);
}

static void uploadStructure(uint8_t* resp, const uint8_t* structure) {
    resp[0] = 0x4B;
    resp[4] = structure[0];
    resp[5] = structure[1];
    resp[6] = resp[7] = 0;
}

static bool readOnly(const OdEntry* e) { return e->Access == OD_ACCESS_RO || e->Access == OD_ACCESS_CONST; }

// ---- Entry ----

void ProcessDefaultSdo(CanOpenImage* img, const uint8_t* req) {
    uint8_t resp[8] = {0, req[1], req[2], req[3], 0, 0, 0, 0};
    switch (req[0] & 0xE0) {
        case 0x20: ProcessDownloadRequest(img, req, resp); break;
        case 0x40: ProcessUploadRequest(img, req, resp); break;
        default: abortResponse(resp, SDO_ABORT_COMMAND); break;
    }
    CanFrame f{};
    f.Id = ((0x580u + img->NodeId) & 0x7FF) << 21;
    f.Length = 8;
    for (int i = 0; i < 8; ++i) f.Data[i] = resp[i];
    CanOpenDriverTxRequest(img->ControllerId, &f);
}

// ---- Download ----

void ProcessDownloadRequest(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = requestEntry(img, req);
    if (e == nullptr) return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    switch (e->DataType) {
        case OD_TYPE_UNSIGNED8: return PrepareExpeditedDownloadResponseUnsigned8(img, req, resp);
        case OD_TYPE_UNSIGNED16: return PrepareExpeditedDownloadResponseUnsigned16(img, req, resp);
        case OD_TYPE_UNSIGNED32: return PrepareExpeditedDownloadResponseUnsigned32(img, req, resp);
        case OD_TYPE_PDO_COMM:
            if (img->NmtState != NMT_PRE_OPERATIONAL) return abortResponse(resp, SDO_ABORT_STATE);
            return PrepareExpeditedDownloadResponsePdoComParameter(img, req, resp);
        case OD_TYPE_PDO_MAP:
            if (img->NmtState != NMT_PRE_OPERATIONAL) return abortResponse(resp, SDO_ABORT_STATE);
            return PrepareExpeditedDownloadResponsePdoMapParameter(img, req, resp);
        case OD_TYPE_SDO_PARAM: return PrepareExpeditedDownloadResponseSdoComParameter(img, req, resp);
        case OD_TYPE_BYTELIST:
        case OD_TYPE_IDENTITY: return abortResponse(resp, SDO_ABORT_READ_ONLY);
        default: return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    }
}

// Common checks and store of an UNSIGNED8/16/32 variable.
static void downloadVariable(CanOpenImage* img, const uint8_t* req, uint8_t* resp, uint8_t command, uint32_t lengthAbort,
                             uint8_t type) {
    const OdEntry* e = requestEntry(img, req);
    if (e == nullptr || e->DataType != type) return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    if (req[3] != 0) return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    if (readOnly(e)) return abortResponse(resp, SDO_ABORT_READ_ONLY);
    if (req[0] != command) return abortResponse(resp, lengthAbort);
    const uint32_t v = req[4] | (req[5] << 8) | (req[6] << 16) | (static_cast<uint32_t>(req[7]) << 24);
    switch (type) {
        case OD_TYPE_UNSIGNED8: *static_cast<uint8_t*>(e->Object) = static_cast<uint8_t>(v); break;
        case OD_TYPE_UNSIGNED16: *static_cast<uint16_t*>(e->Object) = static_cast<uint16_t>(v); break;
        default: *static_cast<uint32_t*>(e->Object) = v; break;
    }
    downloadDone(resp);
    resp[3] = 0;
}

void PrepareExpeditedDownloadResponseUnsigned8(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    downloadVariable(img, req, resp, 0x2F, SDO_ABORT_LENGTH_8, OD_TYPE_UNSIGNED8);
}

void PrepareExpeditedDownloadResponseUnsigned16(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    downloadVariable(img, req, resp, 0x2B, SDO_ABORT_LENGTH_16, OD_TYPE_UNSIGNED16);
}

void PrepareExpeditedDownloadResponseUnsigned32(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    downloadVariable(img, req, resp, 0x23, SDO_ABORT_LENGTH_32, OD_TYPE_UNSIGNED32);
}

void PrepareExpeditedDownloadResponsePdoComParameter(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = requestEntry(img, req);
    if (e == nullptr || e->DataType != OD_TYPE_PDO_COMM) return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    auto* comm = static_cast<PdoCommParams*>(e->Object);
    if (readOnly(e)) return abortResponse(resp, SDO_ABORT_READ_ONLY);
    // A valid PDO accepts only the COB-id write that makes it invalid.
    if ((comm->CobId & 0x80000000u) == 0 && (req[7] & 0x80) == 0) return abortResponse(resp, SDO_ABORT_STATE);
    const uint8_t sub = req[3];
    const uint16_t v16 = static_cast<uint16_t>(req[4] | (req[5] << 8));
    switch (sub) {
        case 1:
            if (req[0] != 0x23) return abortResponse(resp, SDO_ABORT_LENGTH_32);
            comm->CobId = req[4] | (req[5] << 8) | (req[6] << 16) | (static_cast<uint32_t>(req[7]) << 24);
            break;
        case 2:
            if (req[0] != 0x2F) return abortResponse(resp, SDO_ABORT_LENGTH_16);
            comm->TransmissionType = req[4];
            break;
        case 3:
            if (req[0] != 0x2B) return abortResponse(resp, SDO_ABORT_LENGTH_16);
            comm->InhibitTime = v16;
            break;
        case 5:
            if (req[0] != 0x2B) return abortResponse(resp, SDO_ABORT_LENGTH_16);
            comm->EventTimer = v16;
            break;
        case 0:
        case 255: return abortResponse(resp, SDO_ABORT_READ_ONLY);
        default: return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    }
    downloadDone(resp);
}

void PrepareExpeditedDownloadResponseSdoComParameter(CanOpenImage*, const uint8_t*, uint8_t* resp) {
    abortResponse(resp, SDO_ABORT_READ_ONLY);
}

// The mappings are fixed: a mapping download is refused as a write to a read-only object.
void PrepareExpeditedDownloadResponsePdoMapParameter(CanOpenImage*, const uint8_t*, uint8_t* resp) {
    abortResponse(resp, SDO_ABORT_READ_ONLY);
}

// ---- Upload ----

void ProcessUploadRequest(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = requestEntry(img, req);
    if (e == nullptr) return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    switch (e->ObjectCode) {
        case OD_CODE_DEFTYPE:
            // Type definitions are byte lists.
            return PrepareExpeditedUploadResponseNull(img, req, resp);
        case OD_CODE_ARRAY:
            if (e->Index == 0x1016) return PrepareConsumerHeartbeatTimeUploadResponse(img, req, resp);
            return abortResponse(resp, SDO_ABORT_NO_OBJECT);
        case OD_CODE_VAR:
        case OD_CODE_RECORD:
            switch (e->DataType) {
                case OD_TYPE_UNSIGNED8: return PrepareExpeditedUploadResponseUnsigned8(img, req, resp);
                case OD_TYPE_UNSIGNED16: return PrepareExpeditedUploadResponseUnsigned16(img, req, resp);
                case OD_TYPE_UNSIGNED32: return PrepareExpeditedUploadResponseUnsigned32(img, req, resp);
                case OD_TYPE_BYTELIST: return PrepareExpeditedUploadResponseNull(img, req, resp);
                case OD_TYPE_PDO_COMM: return PrepareExpeditedUploadResponsePdoComParameter(img, req, resp);
                case OD_TYPE_PDO_MAP: return PrepareExpeditedUploadResponsePdoMapParameter(img, req, resp);
                case OD_TYPE_SDO_PARAM: return PrepareExpeditedUploadResponseSdoComParameter(img, req, resp);
                case OD_TYPE_IDENTITY: return PrepareExpeditedUploadResponseIdentity(img, req, resp);
                default: return abortResponse(resp, SDO_ABORT_NO_OBJECT);
            }
        default: return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    }
}

// The entry of an upload request when it has the data type the handler reads,
// else nullptr with an abort filled in.
static const OdEntry* uploadEntry(CanOpenImage* img, const uint8_t* req, uint8_t* resp, uint8_t type) {
    const OdEntry* e = requestEntry(img, req);
    if (e == nullptr || e->DataType != type) {
        abortResponse(resp, SDO_ABORT_NO_OBJECT);
        return nullptr;
    }
    return e;
}

void PrepareExpeditedUploadResponseUnsigned8(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = uploadEntry(img, req, resp, OD_TYPE_UNSIGNED8);
    if (e == nullptr) return;
    if (req[3] != 0) return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    upload8(resp, *static_cast<const uint8_t*>(e->Object));
    resp[3] = 0;
}

void PrepareExpeditedUploadResponseUnsigned16(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = uploadEntry(img, req, resp, OD_TYPE_UNSIGNED16);
    if (e == nullptr) return;
    if (req[3] != 0) return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    upload16(resp, *static_cast<const uint16_t*>(e->Object));
}

void PrepareExpeditedUploadResponseUnsigned32(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = uploadEntry(img, req, resp, OD_TYPE_UNSIGNED32);
    if (e == nullptr) return;
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    if (req[3] != 0) return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    upload32(resp, *static_cast<const uint32_t*>(e->Object));
}

// Byte list: byte 0 the highest sub-index n, bytes 1..n the entries, byte n + 1 the value of sub-index 255.
void PrepareExpeditedUploadResponseNull(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = requestEntry(img, req);
    if (e == nullptr) return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    const auto* b = static_cast<const uint8_t*>(e->Object);
    const uint8_t sub = req[3];
    const uint8_t n = b[0];
    if (sub <= n) upload8(resp, b[sub]);
    else if (sub == 255) upload8(resp, b[n + 1]);
    else return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    resp[3] = 0;
}

void PrepareExpeditedUploadResponsePdoComParameter(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = uploadEntry(img, req, resp, OD_TYPE_PDO_COMM);
    if (e == nullptr) return;
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    const auto* c = static_cast<const PdoCommParams*>(e->Object);
    switch (req[3]) {
        case 0: return upload8(resp, c->Entries);
        case 1: return upload32(resp, c->CobId);
        case 2: return upload8(resp, c->TransmissionType);
        case 3: return upload16(resp, c->InhibitTime);
        case 5: return upload16(resp, c->EventTimer);
        case 255: return uploadStructure(resp, c->Structure);
        default: return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    }
}

void PrepareExpeditedUploadResponsePdoMapParameter(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = uploadEntry(img, req, resp, OD_TYPE_PDO_MAP);
    if (e == nullptr) return;
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    const auto* m = static_cast<const PdoMapParams*>(e->Object);
    const uint8_t sub = req[3];
    const int entries = (m->Map == nullptr) ? 0 : (m->Entries > 8 ? 8 : m->Entries);
    if (sub == 0) return upload8(resp, m->Entries);
    if (sub == 255) return uploadStructure(resp, m->Structure);
    if (sub > entries) return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    const PdoMapEntry& me = m->Map[sub - 1];
    resp[0] = 0x43;
    resp[4] = me.DataType;
    resp[5] = me.SubIndex;
    resp[6] = static_cast<uint8_t>(me.Index & 0xFF);
    resp[7] = static_cast<uint8_t>(me.Index >> 8);
}

void PrepareExpeditedUploadResponseSdoComParameter(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = uploadEntry(img, req, resp, OD_TYPE_SDO_PARAM);
    if (e == nullptr) return;
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    const auto* s = static_cast<const SdoParams*>(e->Object);
    switch (req[3]) {
        case 0: return upload8(resp, s->Entries);
        case 1: return upload32(resp, s->CobIdClientToServer);
        case 2: return upload32(resp, s->CobIdServerToClient);
        case 3:
            // Only client records (3 entries) have the server's node id.
            if (s->Entries < 3) return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
            return upload8(resp, s->NodeId);
        case 255: return uploadStructure(resp, s->Structure);
        default: return abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
    }
}

void PrepareExpeditedUploadResponseIdentity(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = uploadEntry(img, req, resp, OD_TYPE_IDENTITY);
    if (e == nullptr) return;
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    const auto* id = static_cast<const IdentityRecord*>(e->Object);
    const uint8_t sub = req[3];
    const uint32_t values[4] = {id->VendorId, id->ProductCode, id->Revision, id->SerialNumber};
    if (sub == 0) return upload8(resp, id->Entries);
    if (sub == 255) return uploadStructure(resp, id->Structure);
    if (sub <= id->Entries && sub <= 4) return upload32(resp, values[sub - 1]);
    abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
}

// Consumer heartbeat times (0x1016, an array): word 0 the number of entries, words 1..n the times.
void PrepareConsumerHeartbeatTimeUploadResponse(CanOpenImage* img, const uint8_t* req, uint8_t* resp) {
    const OdEntry* e = requestEntry(img, req);
    if (e == nullptr) return abortResponse(resp, SDO_ABORT_NO_OBJECT);
    if (e->Access == OD_ACCESS_WO) return abortResponse(resp, SDO_ABORT_WRITE_ONLY);
    const auto* words = static_cast<const uint32_t*>(e->Object);
    const uint8_t sub = req[3];
    if (sub == 0) return upload8(resp, static_cast<uint8_t>(words[0]));
    if (sub <= words[0]) return upload32(resp, words[sub]);
    abortResponse(resp, SDO_ABORT_NO_SUBINDEX);
}

// ---- Client responses ----

void ProcessServerResponseSdo(CanOpenImage* img, const uint8_t* data, uint32_t cobId) {
    uint16_t start = 0;
    for (;;) {
        const uint16_t row = GetSameIndexFromPdoIdTable(&start, img->IdTable, cobId, ID_KIND_SDO, img->IdTableCount);
        if (row == 0xFFFF) return;
        if (row >= img->OdCount) continue;
        const OdEntry& e = img->ObjectDictionary[row];
        if (e.Index < 0x1280 || e.Index > 0x129F || e.DataType != OD_TYPE_SDO_PARAM) continue;
        uint8_t* buf = static_cast<SdoParams*>(e.Object)->ResponseData;
        if (buf == nullptr) continue;
        for (int i = 0; i < 8; ++i) buf[1 + i] = data[i];
        ++buf[0];
    }
}
