#include "canopen/canopen_pdo.h"

#include "canopen/canopen_mscan.h"

// ---- Records by index ----

static const OdEntry* findTyped(const CanOpenImage* img, uint32_t index, uint8_t type) {
    if (index > 0xFFFF) return nullptr;
    const OdEntry* e = FindOdEntry(img->ObjectDictionary, img->OdCount, static_cast<uint16_t>(index));
    return e != nullptr && e->DataType == type ? e : nullptr;
}

static PdoCommParams* commRecord(const CanOpenImage* img, uint32_t index) {
    const OdEntry* e = findTyped(img, index, OD_TYPE_PDO_COMM);
    return e ? static_cast<PdoCommParams*>(e->Object) : nullptr;
}

static PdoMapParams* mapRecord(const CanOpenImage* img, uint32_t index) {
    const OdEntry* e = findTyped(img, index, OD_TYPE_PDO_MAP);
    return e ? static_cast<PdoMapParams*>(e->Object) : nullptr;
}

static int typeSize(uint8_t type) {
    switch (type) {
        case OD_TYPE_UNSIGNED8: return 1;
        case OD_TYPE_UNSIGNED16: return 2;
        case OD_TYPE_UNSIGNED32: return 4;
        default: return 0;
    }
}

static int mapEntries(const PdoMapParams* map) {
    if (map == nullptr || map->Map == nullptr) return 0;
    return map->Entries > 8 ? 8 : map->Entries;
}

// A mapped variable's value, read by its own data type (so that a mapping entry
// of a wider type never reads past the variable).
static uint32_t readVariable(const OdEntry* e) {
    switch (e->DataType) {
        case OD_TYPE_UNSIGNED8: return *static_cast<const uint8_t*>(e->Object);
        case OD_TYPE_UNSIGNED16: return *static_cast<const uint16_t*>(e->Object);
        case OD_TYPE_UNSIGNED32: return *static_cast<const uint32_t*>(e->Object);
        default: return 0;
    }
}

static void writeVariable(const OdEntry* e, uint32_t value) {
    switch (e->DataType) {
        case OD_TYPE_UNSIGNED8: *static_cast<uint8_t*>(e->Object) = static_cast<uint8_t>(value); break;
        case OD_TYPE_UNSIGNED16: *static_cast<uint16_t*>(e->Object) = static_cast<uint16_t>(value); break;
        case OD_TYPE_UNSIGNED32: *static_cast<uint32_t*>(e->Object) = value; break;
        default: break;
    }
}

// Appends the mapped values, low byte first; returns the number of bytes packed.
static int packPdo(const CanOpenImage* img, const PdoMapParams* map, uint8_t* out) {
    int p = 0;
    for (int i = 0; i < mapEntries(map); ++i) {
        const PdoMapEntry& m = map->Map[i];
        const int size = typeSize(m.DataType);
        if (size == 0) continue;
        const OdEntry* e = FindOdEntry(img->ObjectDictionary, img->OdCount, m.Index);
        if (e == nullptr) continue;
        if (p + size > 8) break;
        const uint32_t v = readVariable(e);
        for (int b = 0; b < size; ++b) out[p++] = static_cast<uint8_t>(v >> (8 * b));
    }
    return p;
}

// Takes the mapped values out of the data bytes, low byte first. Every entry
// consumes its bytes so that later entries stay in place; only writable
// objects are stored.
static void unpackPdo(const CanOpenImage* img, const PdoMapParams* map, const uint8_t* d) {
    int p = 0;
    for (int i = 0; i < mapEntries(map); ++i) {
        const PdoMapEntry& m = map->Map[i];
        const int size = typeSize(m.DataType);
        if (size == 0) continue;
        if (p + size > 8) break;
        uint32_t v = 0;
        for (int b = 0; b < size; ++b) v |= static_cast<uint32_t>(d[p + b]) << (8 * b);
        p += size;
        const OdEntry* e = FindOdEntry(img->ObjectDictionary, img->OdCount, m.Index);
        if (e == nullptr || (e->Access != OD_ACCESS_RW && e->Access != OD_ACCESS_WO)) continue;
        writeVariable(e, v);
    }
}

// ---- Boot ----

void InitializePdos(CanOpenImage* img) {
    if (img == nullptr || img->ObjectDictionary == nullptr) return;
    for (uint16_t r = 0; r < img->OdCount; ++r) {
        const OdEntry& e = img->ObjectDictionary[r];
        if (e.DataType != OD_TYPE_PDO_COMM) continue;
        auto* comm = static_cast<PdoCommParams*>(e.Object);
        if (e.Index >= 0x1400 && e.Index <= 0x15FF) {
            const int k = e.Index - 0x1400;
            if (k <= 3 && comm->Configured == 0) comm->CobId = 0x200u + 0x100u * k + img->NodeId;
            if (img->RxPdoBufferArray != nullptr && k < img->RxPdoBufferArray->Count)
                img->RxPdoBufferArray->Rows[k][0] = 0;
        } else if (e.Index >= 0x1800 && e.Index <= 0x19FF) {
            const int k = e.Index - 0x1800;
            if (k <= 3 && comm->Configured == 0) comm->CobId = 0x180u + 0x100u * k + img->NodeId;
            if (comm->TransmissionType <= 240 && img->Timers != nullptr && img->Timers->TxPdo != nullptr &&
                k < img->Timers->TxPdo->Count)
                img->Timers->TxPdo->Rows[k].SyncCountdown = comm->TransmissionType;
        }
    }
}

// ---- Transmission ----

static void transmit(const CanOpenImage* img, const PdoCommParams* comm, const uint8_t* data, int length) {
    CanFrame f{};
    f.Id = (comm->CobId & 0x7FF) << 21;
    f.Length = static_cast<uint16_t>(length);
    for (int i = 0; i < length && i < 8; ++i) f.Data[i] = data[i];
    CanOpenDriverTxRequest(img->ControllerId, &f);
}

void SendPdo(CanOpenImage* img, uint8_t pdo) {
    const PdoCommParams* comm = commRecord(img, 0x1800u + pdo - 1);
    if (comm == nullptr) return;
    uint8_t data[8] = {};
    const int n = packPdo(img, mapRecord(img, 0x1A00u + pdo - 1), data);
    transmit(img, comm, data, n);
}

int CanOpenSendPdoNow(uint8_t controllerId, uint8_t pdo, uint16_t length) {
    CanOpenImage* img = GetOpenCanOpenImage(controllerId);
    if (img == nullptr) return -1;
    const PdoCommParams* comm = commRecord(img, 0x1800u + pdo - 1);
    if (comm == nullptr) return 0;
    if ((comm->CobId & 0x80000000u) != 0 || img->NmtState != NMT_OPERATIONAL) return 0;
    uint8_t data[8] = {};
    const int n = packPdo(img, mapRecord(img, 0x1A00u + pdo - 1), data);
    transmit(img, comm, data, length != 0 ? (length > 8 ? 8 : length) : n);
    return 0;
}

void ProcessReadPdo(CanOpenImage* img, uint8_t pdo) {
    const PdoCommParams* comm = commRecord(img, 0x1800u + pdo - 1);
    if (comm != nullptr && (comm->TransmissionType == 252 || comm->TransmissionType == 253)) SendPdo(img, pdo);
}

void ProcessSyncTransmitPdos(CanOpenImage* img) {
    if (img->Timers == nullptr || img->Timers->TxPdo == nullptr) return;
    TimerArray* timers = img->Timers->TxPdo;
    for (uint16_t k = 0; k < timers->Count; ++k) {
        const uint32_t row = static_cast<uint32_t>(img->OdPosTxPdoComm) + k;
        if (row >= img->OdCount || img->ObjectDictionary[row].DataType != OD_TYPE_PDO_COMM) continue;
        const auto* comm = static_cast<const PdoCommParams*>(img->ObjectDictionary[row].Object);
        if ((comm->CobId & 0x80000000u) != 0) continue;
        const uint8_t type = comm->TransmissionType;
        uint16_t& countdown = timers->Rows[k].SyncCountdown;
        if (countdown > type) countdown = type;
        if (type >= 1 && type <= 240) {
            countdown = static_cast<uint16_t>(countdown - 1);
            if (countdown == 0) {
                countdown = type;
                SendPdo(img, static_cast<uint8_t>(img->ObjectDictionary[row].Index - 0x1800 + 1));
            }
        }
    }
}

// ---- Reception ----

// The frame's length is not looked at: the receive path has zeroed the bytes past
// it, and a node's PDO may carry fewer bytes than the eight objects mapped.
void ProcessReceivedPdo(CanOpenImage* img, RxPdoBufferDesc* buffers, uint8_t pdo, const uint8_t* d) {
    const PdoCommParams* comm = commRecord(img, 0x1400u + pdo - 1);
    if (comm == nullptr) return;
    const uint8_t t = comm->TransmissionType;
    if (t >= 241 && t <= 251) return;
    const PdoMapParams* map = mapRecord(img, 0x1600u + pdo - 1);
    if (t >= 253) {
        unpackPdo(img, map, d);
        if (img->RxPdoCallback != nullptr) {
            const CoCallbackEvent ev{CO_EVENT_RPDO, pdo};
            img->RxPdoCallback(&ev);
        }
        return;
    }
    if (buffers == nullptr || pdo < 1 || pdo > buffers->Count) return;
    uint8_t* row = buffers->Rows[pdo - 1];
    for (int i = 0; i < 8; ++i) row[1 + i] = d[i];
    row[0] = 1;
}

void UpdateReceivedSyncPdoData(CanOpenImage* img) {
    RxPdoBufferDesc* buffers = img->RxPdoBufferArray;
    if (buffers == nullptr) return;
    for (uint16_t k = 0; k < buffers->Count; ++k) {
        const PdoCommParams* comm = commRecord(img, 0x1400u + k);
        if (comm == nullptr) continue;
        const uint8_t t = comm->TransmissionType;
        if (!(t <= 240 || t == 252) || buffers->Rows[k][0] != 1) continue;
        uint8_t data[8];
        for (int i = 0; i < 8; ++i) data[i] = buffers->Rows[k][1 + i];
        unpackPdo(img, mapRecord(img, 0x1600u + k), data);
        buffers->Rows[k][0] = 0;
    }
}

// ---- Validity ----

void EnablePdos(CanOpenImage* img) {
    for (uint32_t k = 0; k < 4; ++k) {
        if (PdoCommParams* c = commRecord(img, 0x1400 + k)) c->CobId &= ~0x80000000u;
        if (PdoCommParams* c = commRecord(img, 0x1800 + k)) c->CobId &= ~0x80000000u;
    }
}

void DisablePdos(CanOpenImage* img) {
    for (uint16_t r = 0; r < img->OdCount; ++r) {
        const OdEntry& e = img->ObjectDictionary[r];
        if (e.DataType != OD_TYPE_PDO_COMM) continue;
        if ((e.Index >= 0x1404 && e.Index <= 0x15FF) || (e.Index >= 0x1804 && e.Index <= 0x19FF))
            static_cast<PdoCommParams*>(e.Object)->CobId |= 0x80000000u;
    }
}

// ---- COB-id table ----

uint16_t GetIndexFromPdoIdTable(const IdTableEntry* table, uint32_t cobId, uint16_t kind, uint16_t count) {
    uint16_t start = 0;
    return GetSameIndexFromPdoIdTable(&start, table, cobId, kind, count);
}

uint16_t GetSameIndexFromPdoIdTable(uint16_t* start, const IdTableEntry* table, uint32_t cobId, uint16_t kind,
                                    uint16_t count) {
    if (table == nullptr || count == 0 || *start >= count) return 0xFFFF;
    for (uint16_t i = *start; i < count; ++i) {
        if (table[i].CobId == cobId && table[i].Kind == kind) {
            *start = static_cast<uint16_t>(i + 1);
            return table[i].Row;
        }
    }
    *start = count;
    return 0xFFFF;
}
