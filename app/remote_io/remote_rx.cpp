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

// Receive-PDO rows of the image and the node PDO each one feeds.
struct RxRoute {
    int row;
    RemoteNode node;
    int pdo;  // supervised PDO of the node, 0-based
};
constexpr RxRoute kRoutes[] = {
    {1, kNodeAio, 1}, {2, kNodeAio, 2}, {3, kNodeAio, 0}, {5, kNodeRtd, 0},
    {6, kNodeRtd, 1}, {7, kNodeBi, 0},  {8, kNodeBo, 0},
};

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
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
    for (const RxRoute& r : kRoutes) {
        const int key = intLock();
        uint8_t* row = RxPdoBufferB[r.row];
        if (row[0] == 1) {
            RemoteNodeBlock& b = RemoteNodeBlocks[r.node];
            b.RxFlag[0][r.pdo] = 1;
            b.Data[r.pdo][0] = le32(row + 1);
            b.Data[r.pdo][1] = le32(row + 5);
            row[0] = 0;
        }
        intUnlock(key);
    }

    const RemoteNodeBlock& aio = RemoteNodeBlocks[kNodeAio];
    if (_R20_frame_count >= 1 && _R20_frame_count <= 4) {
        split_halves(aio.Data[1], &VL1_AIO_RawChan[0]);
        split_halves(aio.Data[2], &VL1_AIO_RawChan[4]);
        VL1_AIO_RawChan[8] = static_cast<int32_t>(aio.Data[0][0] & 0xFFFFu);
        VL1_AIO_RawChan[9] = static_cast<int32_t>(aio.Data[0][0] >> 16);
        const uint32_t bi = RemoteNodeBlocks[kNodeBi].Data[0][0] & 0xFFFFFFu;
        for (int ch = 0; ch < 16; ++ch) VL4_BI_RawChan[ch] = static_cast<int32_t>((bi >> ch) & 1u);
    }
    if (_R40_frame_count >= 5 && _R40_frame_count <= 8) {
        const uint32_t bo = RemoteNodeBlocks[kNodeBo].Data[0][0];
        for (int ch = 0; ch < 16; ++ch) VL5_BO_Readback[ch] = (bo >> ch) & 1u;
    }
    if (_R80_frame_count >= 13 && _R80_frame_count <= 16) {
        split_halves(RemoteNodeBlocks[kNodeRtd].Data[0], &VL3_RTD_RawChan[0]);
        split_halves(RemoteNodeBlocks[kNodeRtd].Data[1], &VL3_RTD_RawChan[4]);
    }
}
