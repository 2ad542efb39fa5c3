// The latched alarm/event list LATCH_AE: up to N boolean conditions of one
// kind, each latched the first time it becomes true, kept in order of
// occurrence with a time stamp and a first-out, a horn until acknowledged,
// and released by a reset once the condition has gone. One algorithm serves
// every list; a list is a constant table of entry records, its hidden state
// and the cells of its block. The service side reads the lists through
// GetLatchAESize / GetNextLatchAEInfo; the event log gets every event.
#pragma once

#include <cstdint>

#include "platform/TIME.h"
#include "runtime/appmem.h"
#include "runtime/catalogue.h"

// A cell of the list's own group or a copy slot it reads: the chunk base and
// the index, as a view member holds them.
template <class T>
struct LatchRef {
    void* const* chunk = nullptr;
    uint32_t idx = 0;
    constexpr LatchRef() = default;
    constexpr LatchRef(const cat::Cell<T>& c) : chunk(c.chunk), idx(c.idx) {}
    constexpr LatchRef(const cat::Slot<T>& c) : chunk(c.chunk), idx(c.idx) {}
    bool set() const { return chunk != nullptr; }
    T& get() const { return static_cast<T*>(*chunk)[idx]; }
};

// One record of a list: an entry (condition, SEL_n, ALM_NO_n, EV_TM_n, the
// clock it stamps from, its text) or a list event (only the time, which is a
// hidden time cell of the list, and the text). The record number is the
// position in the table plus 1.
struct LatchAeEntry {
    LatchRef<uint32_t> input;
    uint32_t* latched;  // hidden memory of an entry; nullptr for a list event
    LatchRef<uint32_t> sel;
    LatchRef<int32_t> alm_no;
    LatchRef<TimeCell> ev_tm;
    const TimeCell* event_time;  // time of a list event; nullptr for an entry
    LatchRef<TimeCell> time_source;
    const char* text;  // "source,text,,severity"

    // The record's event time: EV_TM_n of an entry, the list's time of an event.
    const TimeCell& time() const { return event_time != nullptr ? *event_time : ev_tm.get(); }
};

// Hidden state of one list (cleared with the application memory).
struct LatchAeHidden {
    int32_t count;         // used slots of the order array
    int32_t first_ref;     // 0: the next latch becomes first-out
    uint32_t reset_edge;   // reset input of the previous pass
    uint32_t ack_edge;     // acknowledge input of the previous pass
    TimeCell reset_time;
    TimeCell clear_time;
    TimeCell ack_time;
};

// The constant description of one list instance.
struct LatchAeList {
    int number;                 // 1 .. 5
    int n;                      // entries
    const LatchAeEntry* entries;  // n entries, then the list events (if any)
    bool has_events;            // records n+1 (reset), n+2 (cleared), n+3 (acknowledge)
    bool has_ack;
    bool logs;                  // hands its events to the event log
    LatchAeHidden* hidden;
    uint16_t* order;            // first slot of the order array (n + 2 slots)
    int32_t* new_red_flag;
    int32_t* changed;           // bEventStatusChangedK
};

// The block's cells in its slice.
struct LatchAeIo {
    uint32_t reset;
    uint32_t ack;       // ignored by a list without an acknowledge
    uint32_t fa_rst;
    uint32_t ovrd;      // 0 for a list without an override
    uint32_t& latch_ae;
    uint32_t& logical_or;
    uint32_t& horn;
    int32_t& first_alm;
};

// One pass of a list.
void LATCH_AE(const LatchAeList& list, const LatchAeIo& io, const TimeCell& clock);

// The lists by number (1 .. 5); nullptr for a list whose module is not part
// of this build.
const LatchAeList* latch_ae_list(int number);

// Service-side accessors.
uint16_t GetLatchAESize(uint32_t list);
int GetNextLatchAEInfo(uint32_t handle, uint32_t index, uint16_t* id, TimerValue* time);
// The list's change counter (passes in which the list changed) is the
// hidden cell LatchAeChangeCounters[number - 1], which the service side
// serves as the list's state value.

// Exported words of the lists.
extern int32_t SHUTDOWNS_ANYNewRedFlag, ALARMS_ANYNewRedFlag, VLTR_ALMS_SUMMARYNewRedFlag,
    VLTR_ALMS_TRIP_SUMNewRedFlag, CONF_LATCH_ANYNewRedFlag;
extern int32_t bEventStatusChanged1, bEventStatusChanged2, bEventStatusChanged3, bEventStatusChanged4,
    bEventStatusChanged5;
extern const int32_t TotalNumLatchAeBlocks;
extern const int32_t LatchAeRedundantTable[7];

// Shelf routines, exported for the platform's tools; nothing in the
// application calls them.
int EventMgrSize();
void ResetEventShelfIndex();
int GetNextEventInfo();
int NumberOfShelves();
void ResetDataShelfIndex();
int GetNextDataInfo(uint32_t ignored, uint16_t* count);
