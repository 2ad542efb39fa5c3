// The channel function checks: each function number of a channel kind needs
// a feature (remote speed setpoint, cascade, remote cascade, a signal
// monitoring input) or is always acceptable. A number outside the kind's
// table leaves the check's result as it was.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fnchk {

enum Need : uint8_t { kAny, kRmtSpd, kCasc, kRmtCasc, kSigMon1, kSigMon2, kSigMon3 };

// The features in use.
struct Features {
    uint32_t rmt_spd, casc, rmt_casc, sig_mon1, sig_mon2, sig_mon3;
};

inline uint32_t met(Need need, const Features& have) {
    switch (need) {
        case kRmtSpd: return have.rmt_spd;
        case kCasc: return have.casc;
        case kRmtCasc: return have.rmt_casc;
        case kSigMon1: return have.sig_mon1;
        case kSigMon2: return have.sig_mon2;
        case kSigMon3: return have.sig_mon3;
        default: return 1u;
    }
}

// `ok` := whether function f's need is met (1 .. N), else unchanged.
template <size_t N>
void check(uint32_t& ok, const Need (&table)[N], int32_t f, const Features& have) {
    if (f < 1 || f > static_cast<int32_t>(N)) return;
    ok = met(table[f - 1], have) != 0 ? 1u : 0u;
}

// The switch value of a channel in the duplicate checks: 0 for function 1
// (not used), otherwise the function number.
inline int32_t dup_switch(int32_t f) { return f == 1 ? 0 : f; }

}  // namespace fnchk
