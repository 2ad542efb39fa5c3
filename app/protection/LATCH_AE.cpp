// The latched alarm/event list: one pass of a list, and the accessors
// through which the service side reads the lists.
#include "app/protection/LATCH_AE.h"

#include "storage/log_evt.h"

// Zero until the lists run (static storage).
int32_t SHUTDOWNS_ANYNewRedFlag, ALARMS_ANYNewRedFlag, VLTR_ALMS_SUMMARYNewRedFlag, VLTR_ALMS_TRIP_SUMNewRedFlag,
    CONF_LATCH_ANYNewRedFlag;
int32_t bEventStatusChanged1, bEventStatusChanged2, bEventStatusChanged3, bEventStatusChanged4, bEventStatusChanged5;
const int32_t TotalNumLatchAeBlocks = 5;
const int32_t LatchAeRedundantTable[7] = {-1, -1, -1, -1, -1, -1, -1};

namespace {
// The lists' change counters, one hidden cell each, served by handle.
struct LatchAeStates {
    int32_t change[kLatchStateCells];
};
BlockRam<LatchAeStates> LatchAeState_st;
}  // namespace
int32_t* const LatchAeChangeCounters = LatchAeState_st.change;

namespace {

// Record numbers of the list events after the n entries.
constexpr int kResetEvent = 1, kClearedEvent = 2, kAckEvent = 3;

void log_record(const LatchAeList& l, int record) {
    if (l.logs) SendEventlogEntry(&l.entries[record - 1]);
}

// Releases every used slot whose entry's condition has gone (or is
// overridden); returns how many were released.
int release(const LatchAeList& l, uint32_t ovrd) {
    LatchAeHidden& h = *l.hidden;
    int cleared = 0;
    for (int s = 0; s < h.count; ++s) {
        const int r = l.order[s];
        if (r > 0) {
            const LatchAeEntry& e = l.entries[r - 1];
            if (e.input.get() != 0 && ovrd != 1) continue;
            *e.latched = 0;
            e.sel.get() = 0;
            e.alm_no.get() = 0;
            e.ev_tm.get() = TimeCell{0, 0};
        }
        l.order[s] = 0;
        ++cleared;
    }
    return cleared;
}

// Moves the remaining record numbers to the front, keeping their order, and
// renumbers their ALM_NO; returns how many remain.
int pack(const LatchAeList& l) {
    LatchAeHidden& h = *l.hidden;
    int kept = 0;
    for (int s = 0; s < h.count; ++s) {
        const int r = l.order[s];
        if (r == 0) continue;
        l.order[s] = 0;
        l.order[kept] = static_cast<uint16_t>(r);
        ++kept;
        l.entries[r - 1].alm_no.get() = kept;
    }
    return kept;
}

}  // namespace

void LATCH_AE(const LatchAeList& l, const LatchAeIo& io, const TimeCell& clock) {
    LatchAeHidden& h = *l.hidden;
    uint32_t changed = 0;
    *l.changed = 0;

    if (io.reset == 0) {
        h.reset_edge = 0;
    } else {
        if (h.reset_edge == 0) {
            h.reset_edge = 1;
            h.reset_time = clock;
            changed = 1;
            log_record(l, l.n + kResetEvent);
        }
        const int cleared = release(l, io.ovrd);
        io.first_alm = l.order[0];
        if (cleared > 0) {
            // A release while the reset is held changes the list as much as
            // one on the reset's first pass: a reader must see it.
            changed = 1;
            h.count = pack(l);
            if (h.count == 0) {
                io.latch_ae = 0;
                io.horn = 0;
                // One microsecond after the reset, so that it sorts after it;
                // the carry keeps the microseconds below one second.
                h.clear_time = clock;
                if (++h.clear_time.usec >= 1000000u) {
                    h.clear_time.usec -= 1000000u;
                    ++h.clear_time.sec;
                }
                changed = 1;
                log_record(l, l.n + kClearedEvent);
            }
        }
    }

    if (l.has_ack) {
        if (io.ack != 0) {
            io.horn = 0;
            if (h.ack_edge == 0) {
                h.ack_edge = 1;
                h.ack_time = clock;
                changed = 1;
                log_record(l, l.n + kAckEvent);
            }
        } else {
            h.ack_edge = 0;
        }
    }

    if (io.fa_rst != 0) {
        h.first_ref = 0;
        io.first_alm = 0;
    }

    uint32_t any = 0;
    for (int n = 1; n <= l.n; ++n) {
        const LatchAeEntry& e = l.entries[n - 1];
        const uint32_t in = e.input.get();
        if (in == 1 && *e.latched == 0 && io.ovrd == 0) {
            if (h.count == 0 || h.first_ref == 0) io.first_alm = n;
            io.horn = 1;
            io.latch_ae = 1;
            e.sel.get() = 1;
            *e.latched = 1;
            changed = 1;
            l.order[h.count] = static_cast<uint16_t>(n);
            if (*l.new_red_flag <= 1) ++*l.new_red_flag;
            ++h.count;
            h.first_ref = h.count;
            e.alm_no.get() = h.count;
            e.ev_tm.get() = e.time_source.get();
            log_record(l, n);
        } else if (e.sel.get() == 0) {
            e.alm_no.get() = 0;
            *e.latched = 0;
            e.ev_tm.get() = TimeCell{0, 0};
        }
        if (in == 1) any = 1;
    }
    io.logical_or = any;

    if (changed == 1) {
        *l.changed = 1;
        int32_t& change = LatchAeChangeCounters[l.number - 1];
        change = static_cast<int32_t>(static_cast<uint32_t>(change) + 1u);
        if (change == 0) change = 1;
    }
}

namespace {

// The list events present (seconds above 0), in the order reset, all
// cleared, acknowledge: their identifiers and times.
struct Head {
    int count;
    uint16_t id[3];
    const TimeCell* time[3];
};

Head head_of(const LatchAeList& l) {
    const LatchAeHidden& h = *l.hidden;
    Head hd{};
    const TimeCell* t[3] = {&h.reset_time, &h.clear_time, l.has_ack ? &h.ack_time : nullptr};
    for (int k = 0; k < 3; ++k) {
        if (t[k] == nullptr || t[k]->sec == 0) continue;
        hd.id[hd.count] = static_cast<uint16_t>(l.n + 1 + k);
        hd.time[hd.count] = t[k];
        ++hd.count;
    }
    return hd;
}

// Used slots from slot 0 up to the first empty one, at most the capacity.
int used_slots(const LatchAeList& l) {
    int k = 0;
    while (k < l.n && l.order[k] != 0) ++k;
    return k;
}

}  // namespace

uint16_t GetLatchAESize(uint32_t list) {
    const LatchAeList* l = latch_ae_list(static_cast<int>(list & 0xFFu));
    if (l == nullptr) return 0;
    return static_cast<uint16_t>(used_slots(*l) + head_of(*l).count);
}

int GetNextLatchAEInfo(uint32_t handle, uint32_t index, uint16_t* id, TimerValue* time) {
    const LatchAeList* l = latch_ae_list(static_cast<int>(handle & 0xFFu));
    if (l == nullptr) return 0;
    const Head hd = head_of(*l);
    if (index < static_cast<uint32_t>(hd.count)) {
        *id = hd.id[index];
        *time = TimerValue{hd.time[index]->sec, hd.time[index]->usec};
        return 1;
    }
    // An index from the service protocol is bounded by the list's size, so
    // that no read goes beyond the order array.
    const uint32_t slot = index - static_cast<uint32_t>(hd.count);
    if (slot >= static_cast<uint32_t>(used_slots(*l))) return 0;
    const int r = static_cast<int16_t>(l->order[slot]);
    if (r <= 0) return 0;
    const TimeCell& t = l->entries[r - 1].ev_tm.get();
    *id = static_cast<uint16_t>(r);
    *time = TimerValue{t.sec, t.usec};
    return 1;
}

int EventMgrSize() { return 0; }
void ResetEventShelfIndex() {}
int GetNextEventInfo() { return 0; }
int NumberOfShelves() { return 0; }
void ResetDataShelfIndex() {}
int GetNextDataInfo(uint32_t, uint16_t* count) {
    *count = 0;
    return NumberOfShelves();
}

// Lists 1 (shutdowns), 2 (alarms) and 5 (configuration errors); the
// remote-node lists (3, 4) come with their modules.
extern const LatchAeList SHUTDOWNS_ANY_list;
extern const LatchAeList ALARMS_ANY_list;
extern const LatchAeList VLTR_ALMS_SUMMARY_list, VLTR_ALMS_TRIP_SUM_list;
extern const LatchAeList CONF_LATCH_ANY_list;

const LatchAeList* latch_ae_list(int number) {
    switch (number) {
        case 1: return &SHUTDOWNS_ANY_list;
        case 2: return &ALARMS_ANY_list;
        case 3: return &VLTR_ALMS_SUMMARY_list;
        case 4: return &VLTR_ALMS_TRIP_SUM_list;
        case 5: return &CONF_LATCH_ANY_list;
        default: return nullptr;
    }
}
