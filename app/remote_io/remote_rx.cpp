// The 20 ms group's entry after the network pass: each new receive PDO of
// the CAN2 image goes into its node's data words and raises the node's
// receive flag; the words are then split into per-channel raw words in the
// frame windows of the channel logic that reads them.
#include "app/remote_io/remote_io.h"
#include "canopen/canopen_obj_dctn.h"
#include "host/vxworks.h"
#include "runtime/sched.h"

int32_t VL1_AIO_RawChan[10];
int32_t VL4_BI_RawChan[16];
uint32_t VL5_BO_Readback[16];
int32_t VL3_RTD_RawChan[8];

namespace {

// A receive-PDO slot of the image: the node PDO it feeds and how many of its
// data bytes carry the node's words.
struct RxSlot {
    int row;
    RemoteNode node;
    int pdo;  // supervised PDO of the node, 0-based
    int bytes;
};
// Each node's slots in the order they are taken; the node's words are spread
// right after its slots.
constexpr RxSlot kAioSlots[] = {{3, kNodeAio, 0, 4}, {1, kNodeAio, 1, 8}, {2, kNodeAio, 2, 8}};
constexpr RxSlot kRtdSlots[] = {{5, kNodeRtd, 0, 8}, {6, kNodeRtd, 1, 8}};
constexpr RxSlot kBiSlots[] = {{7, kNodeBi, 0, 3}};
constexpr RxSlot kBoSlots[] = {{8, kNodeBo, 0, 2}};

// Little-endian word of n data bytes (1 to 4), the first byte least significant.
uint32_t le_word(const uint8_t* p, int n) {
    uint32_t w = 0;
    for (int i = 0; i < n; ++i) w |= static_cast<uint32_t>(p[i]) << (8 * i);
    return w;
}

// A new PDO of a slot goes into its node's words and raises the node's
// receive flag; the slot is taken under the interrupt lock it shares with
// the CAN receive path.
template <size_t N>
void unpack(const RxSlot (&slots)[N]) {
    for (const RxSlot& s : slots) {
        const int key = intLock();
        uint8_t* row = RxPdoBufferB[s.row];
        if (row[0] == 1) {
            RemoteNodeBlock& b = RemoteNodeBlocks[s.node];
            b.RxFlag[0][s.pdo] = 1;
            b.Data[s.pdo][0] = le_word(row + 1, s.bytes < 4 ? s.bytes : 4);
            if (s.bytes > 4) b.Data[s.pdo][1] = le_word(row + 5, s.bytes - 4);
            row[0] = 0;
        }
        intUnlock(key);
    }
}

// Two 16-bit channels per word, low half first, zero-extended.
void split_halves(const uint32_t (&words)[2], int32_t* out) {
    for (int w = 0; w < 2; ++w) {
        out[2 * w] = static_cast<int32_t>(words[w] & 0xFFFFu);
        out[2 * w + 1] = static_cast<int32_t>(words[w] >> 16);
    }
}

}  // namespace

void R20UnpackRxPdos() {
    unpack(kAioSlots);
    const RemoteNodeBlock& aio = RemoteNodeBlocks[kNodeAio];
    if (_R20_frame_count >= 1 && _R20_frame_count <= 4) {
        split_halves(aio.Data[1], &VL1_AIO_RawChan[0]);
        split_halves(aio.Data[2], &VL1_AIO_RawChan[4]);
    }
    if (_R20_frame_count >= 1 && _R20_frame_count <= 4) {
        VL1_AIO_RawChan[8] = static_cast<int32_t>(aio.Data[0][0] & 0xFFFFu);
        VL1_AIO_RawChan[9] = static_cast<int32_t>(aio.Data[0][0] >> 16);
    }
    unpack(kRtdSlots);
    if (_R80_frame_count >= 13 && _R80_frame_count <= 16) {
        split_halves(RemoteNodeBlocks[kNodeRtd].Data[0], &VL3_RTD_RawChan[0]);
        split_halves(RemoteNodeBlocks[kNodeRtd].Data[1], &VL3_RTD_RawChan[4]);
    }
    unpack(kBiSlots);
    if (_R20_frame_count >= 1 && _R20_frame_count <= 4) {
        const uint32_t bi = RemoteNodeBlocks[kNodeBi].Data[0][0];
        for (int ch = 0; ch < 16; ++ch) VL4_BI_RawChan[ch] = static_cast<int32_t>((bi >> ch) & 1u);
    }
    unpack(kBoSlots);
    if (_R40_frame_count >= 5 && _R40_frame_count <= 8) {
        const uint32_t bo = RemoteNodeBlocks[kNodeBo].Data[0][0];
        for (int ch = 0; ch < 16; ++ch) VL5_BO_Readback[ch] = (bo >> ch) & 1u;
    }
}
