// The constant tables derived from the cell catalogue: the variable
// directory with its module headers, the tunable tables and the user-block
// tables. Record layouts are those the service side, the data log and the
// tunables file read; cell addresses are 32-bit CellRefs (runtime/appmem.h).
#pragma once

#include <cstdint>

#include "runtime/appmem.h"

// One named cell of the variable directory.
struct DbugVar {
    char type;          // 'A' real, 'B' boolean, 'I' integer, 'U' unsigned, 'T' time, 'C' string
    char access;        // ' ' plain, '*' tunable, 'S' service input with a side effect
    uint8_t attr;       // bit 0: the only attribute any routine tests
    uint8_t pad;        // always 0
    CellRef address;    // the cell, or for '*' A/I and 'S' A the tunable record
    const char* name;   // "BLOCK.FIELD"
    const char* rate;   // "_R10" .. "_R160" or "_RNone"
};

// A module: its first and last (inclusive) directory record.
struct DbugHdr {
    uint32_t first;
    uint32_t last;
    const char* name;
};

// Tunable records: the cell and its limits.
struct AnTune {
    CellRef cell;
    float min;
    float max;
};
struct IntTune {
    CellRef cell;
    int32_t min;
    int32_t max;
};
// A sampled real tunable (SAMP_TUNE): the tunable's AnTune record and the
// cell of its entry-enable output. While that output is on, the service side
// takes any change of the tunable within its range, however large.
struct SampTune {
    uint32_t marker;   // 0 in the opening record 0, 1 in the used records
    CellRef tune;
    CellRef enable;
};

// The output of a sampled tunable (SAMP_TUNE, SAMP_ITUNE) and its tunable
// cell: block initialisation starts every output from the stored value.
struct SampPreset {
    CellRef tune;
    CellRef out;
};

constexpr uint32_t kAnTuneBytes = 12;
constexpr uint32_t kIntTuneBytes = 12;

extern const DbugVar* const _dbug_var;
extern const uint32_t num_dbug_var;      // records including the empty first and last
extern const DbugHdr* const _dbug_hdr;
extern const uint32_t num_dbug_hdr;      // records including the empty first and last
extern const AnTune* const _an_tune;
extern const uint32_t num_an_tune;
extern const IntTune* const _int_tune;
extern const uint32_t num_int_tune;
extern const SampTune* const _samp_tunes;
extern const uint32_t num_samp_tunes;    // used records (1 .. num_samp_tunes)
extern const SampPreset* const _samp_presets;
extern const uint32_t num_samp_presets;
extern const char* const* const UserBlockNames;
extern const uint32_t numUserBlockNames;
extern const char* const* const UserBlockOutputMappings;
extern const uint32_t numUserBlockOutputMappings;

// A tunable's generated default, in directory order (the tunables-file
// defaults): the cell, its type letter and the default value.
struct TuneDefault {
    CellRef cell;
    char type;
    double value;       // reals, integers, booleans
    const char* text;   // strings
};
extern const TuneDefault* const _tune_defaults;
extern const uint32_t num_tune_defaults;
