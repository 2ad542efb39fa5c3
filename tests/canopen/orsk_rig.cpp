#include "tests/canopen/orsk_rig.h"

#include <cstdio>
#include <cstring>

#include "host/hostkernel.h"
#include "runtime/can_startup.h"

OrskRig::OrskRig(bool runTask, hk::ClockMode mode) : net(true, true, mode) {
    hostcan::enableLog(false);
    for (CoOrskNodeData* d : CoOrskNodeData4) std::memset(d, 0, sizeof *d);
    for (SdoParams* s : {&cSdo1B, &cSdo2B, &cSdo3B, &cSdo4B}) std::memset(s->ResponseData, 0, 9);
    for (NmtErrCntrlRecord* n : {&NmtErrCntrlSt1B, &NmtErrCntrlSt2B, &NmtErrCntrlSt3B, &NmtErrCntrlSt4B}) {
        n->HeartbeatCount = 0;
        n->BootUpCount = 0;
    }
    net.task([] { for (RemoteNode n : {kNodeRtd, kNodeBi, kNodeAio, kNodeBo}) CNFG_CAN2_node_init_blk(n); });
    // Distinct channel words, so that each channel's own word is seen on the bus.
    for (int c = 0; c < 8; ++c) {
        VL3_RTD_ChanDev[c] = 0x100 + c;
        VL3_RTD_ChanUnits[c] = 0x2D0000 + c;
    }
    // Scan rates as the supervision derives them from its settings.
    const int32_t rates[4][3] = {{100, 200, 5000}, {0, 200, 300}, {150, 0, 0}, {250, 0, 0}};
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 3; ++i) data(k).ScanRate[i] = rates[k][i];
        data(k).TxScanRate = k == 0 ? 40 : k == 3 ? 80 : 0;
    }
    net.take();
    net.afterPass = [this] {
        if (!drive) return;
        for (int k = 0; k < 4; ++k) supervise(k);
    };
    if (runTask) {
        hk::spawnFunction(
            [this] {
                for (;;) {
                    taskDelay(1);
                    for (int k = 0; k < 4; ++k) {
                        if (!enabled[k]) continue;
                        CO_ORSK_NodeConfig copy = *CoOrskNodeRecords[k];
                        Process_CO_ORSK_Sdo(copy, nullptr);
                        if ((data(k).Status & (ORSK_IDLE | ORSK_SDO_ERROR)) == ORSK_SDO_ERROR) lost_[k] = true;
                    }
                }
            },
            39, "__MASTER_CHASS_2351");
    }
}

OrskRig::~OrskRig() { net.afterPass = nullptr; }

void OrskRig::start(int k) {
    net.task([this, k] {
        CoOrskNodeData& d = data(k);
        rec(k).NmtErrCntrl->BootUpCount = 0;
        *rec(k).IdFault = 0;
        d.Status &= ~(ORSK_IDLE | ORSK_SDO_ERROR | ORSK_IN_TRANSFER | ORSK_REQUEST);
        d.Status |= ORSK_START;
        d.CurrentSDO = 0;
        phase_[k] = 0;
        lost_[k] = false;
    });
}

bool OrskRig::runUntilIdle(int k, int maxPasses) {
    for (int i = 0; i < maxPasses; ++i) {
        net.passes(1);
        if ((data(k).Status & ORSK_IDLE) != 0) return true;
    }
    return false;
}

void OrskRig::supervise(int k) {
    CoOrskNodeData& d = data(k);
    const CO_ORSK_NodeConfig& r = rec(k);
    d.Timer += 20;
    if ((d.Status & ORSK_IDLE) != 0) return;
    auto end = [&](bool lostNode) {
        d.CurrentSDO = 0;
        d.Status |= ORSK_IDLE;
        *r.IdFault = 1;
        if (lostNode) lost_[k] = true;
    };
    uint8_t& boots = r.NmtErrCntrl->BootUpCount;
    switch (d.CurrentSDO) {
        case 15:
            if (phase_[k] == 0 && boots > 1) {
                d.CurrentSDO = 14;
                phase_[k] = 1;
            } else if (boots == 0) {
                end(true);
            } else if (boots > 1) {
                end(false);
            } else {
                phase_[k] = 2;
                r.Sdo->ResponseData[0] = 0;
                d.CurrentSDO = 12;
            }
            boots = 0;
            break;
        case 13:
            if (r.Sdo->ResponseData[0] > 1) {
                end(false);
                r.Sdo->ResponseData[0] = 0;
            }
            if (*r.IdFault == 0) d.CurrentSDO = 16;
            break;
        case 17:
            if (lost_[k]) {
                d.CurrentSDO = 18;
            } else if (d.ThisPort != 1) {
                end(false);
            } else {
                d.CurrentSDO = 10;
                d.NibbleB = (d.NibbleB & 0x0FFFFFFFu) | 0x80000000u;
                d.ThisPort = static_cast<uint8_t>((d.ThisPort & 0xF) | 0x10);
            }
            break;
        case 10: d.CurrentSDO = 18; break;
        case 38:
            d.CurrentSDO = 0;
            d.Status |= ORSK_IDLE;
            break;
        default: break;
    }
}

std::vector<std::string> nodeFrames(const std::vector<std::string>& lines, int id) {
    char nmt[16], req[16], resp[16], boot[16];
    std::snprintf(nmt, sizeof nmt, "%02X", id);
    std::snprintf(req, sizeof req, "%03X#", 0x600 + id);
    std::snprintf(resp, sizeof resp, "%03X#", 0x580 + id);
    std::snprintf(boot, sizeof boot, "%03X#", 0x700 + id);
    std::vector<std::string> out;
    for (const std::string& l : lines)
        if ((l.size() == 8 && l.rfind("000#", 0) == 0 && l.compare(6, 2, nmt) == 0) || l.rfind(req, 0) == 0 || l.rfind(resp, 0) == 0 || l.rfind(boot, 0) == 0) out.push_back(l);
    return out;
}
