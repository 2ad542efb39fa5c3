// The channel function checks: each function number of a channel kind needs
// a feature (remote speed setpoint, cascade, remote cascade, a signal
// monitoring input) or is always acceptable. A number outside the kind's
// table leaves the check's result as it was.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/blockkinds.h"
#include "runtime/catalogue.h"

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

// `ok` := whether function f's need is met (1 .. n), else unchanged.
inline void check_in(uint32_t& ok, const Need* table, size_t n, int32_t f, const Features& have) {
    if (f < 1 || static_cast<size_t>(f) > n) return;
    ok = met(table[f - 1], have) != 0 ? 1u : 0u;
}
template <size_t N>
void check(uint32_t& ok, const Need (&table)[N], int32_t f, const Features& have) {
    check_in(ok, table, N, f, have);
}

// ---- duplicate checks ----------------------------------------------------------------
// A function chosen by several channels counts once per channel in the sum
// of the channels' switch values and once in the sum of a block that
// collects the distinct numbers, so the sums differ exactly when some
// function other than 1 is chosen twice.

// The switch value of a channel: 0 for function 1 (not used), otherwise the
// function number.
inline int32_t dup_switch(int32_t f) { return f == 1 ? 0 : f; }

// The three-way compare of a channel's function number with 1 ("not
// used") that stands beside its switch value.
struct NotUsed {
    const cat::Cell<uint32_t>*gt, *eq, *lt;
};

// Writes a channel's switch value and its not-used compare (a channel with
// cells `function`, `sw` and `not_used`).
template <class Ch>
void switch_value(const Ch& c) {
    bk::I_COMPARE(c.not_used.eq->ref(), c.not_used.lt->ref(), c.not_used.gt->ref(), *c.function, 1);
    *c.sw = dup_switch(*c.function);
}

// The sum of the channels' switch values as they stand.
template <class Ch, size_t N>
int32_t sum_of_switches(const Ch (&channels)[N]) {
    int32_t sum = 0;
    for (const Ch& c : channels) sum = bk::I_ADD(sum, *c.sw);
    return sum;
}

// Writes each channel's switch value and its not-used compare and returns
// the sum of the switch values.
template <class Ch, size_t N>
int32_t switch_sum(const Ch (&channels)[N]) {
    for (const Ch& c : channels) switch_value(c);
    return sum_of_switches(channels);
}

// The collecting block: slot n holds n when some channel wrote n.
template <size_t N>
struct Collector {
    const cat::Cell<int32_t>* const (&slots)[N];

    void clear() const {
        for (const cat::Cell<int32_t>* s : slots) *s = 0;
    }
    void collect(int32_t v) const {
        if (v >= 1 && v <= static_cast<int32_t>(N)) *slots[v - 1] = v;
    }
    // The sum of slots 2 .. N (slot 1, function not used, is left out).
    int32_t sum() const {
        int32_t s = 0;
        for (size_t k = 1; k < N; ++k) s = bk::I_ADD(s, *slots[k]);
        return s;
    }
};

// The three-way comparison of the two sums and the finding.
inline uint32_t duplicate(uint32_t& eq, uint32_t& lt, uint32_t& gt, int32_t channel_sum, int32_t slot_sum) {
    bk::I_COMPARE(eq, lt, gt, channel_sum, slot_sum);
    return bk::NOT(eq);
}

}  // namespace fnchk
