// Application memory: the flat cell areas of the generated logic, the copy
// areas between rate groups, the scratch and reserved areas, the unit-delay
// stores, the system-information words and the start-up clearing routines.
//
// The sizes of the cell and copy areas are derived from the cell catalogue
// (runtime/catalogue.h); the arrays themselves are defined by the
// application's catalogue tables (app/app_tables.cpp).
//
// Every table that holds the address of a cell holds a 32-bit CellRef:
// the area code in the top 8 bits and the byte offset in the area below.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A time cell: seconds and microseconds.
struct TimeCell {
    uint32_t sec;
    uint32_t usec;
};

// A string cell: NUL-terminated text of at most 39 characters.
constexpr int kStrCellBytes = 40;
struct StrCell {
    char s[kStrCellBytes];
};

// Copies a text into a string cell: at most 39 characters; the rest of the
// cell, and always its last byte, becomes 0.
// The text may be the cell's own.
inline void str_cell_copy(StrCell& dst, const char* text) {
    // Built in a cleared copy, so that the text may overlap the cell; the
    // texts are short, and a loop costs less than three library calls.
    char cell[kStrCellBytes] = {};
    for (size_t i = 0; i < kStrCellBytes - 1 && text[i] != '\0'; ++i) cell[i] = text[i];
    std::memcpy(dst.s, cell, kStrCellBytes);
}

// The same with another string cell's text: all 40 bytes are there to read,
// so the cell is copied whole and cleared from its first NUL (or its last
// byte) on, without a call. The cells may be the same.
inline void str_cell_copy(StrCell& dst, const StrCell& src) {
#if defined(__SSE2__)
    static_assert(kStrCellBytes == 40, "three 16-byte lanes cover bytes 0-15, 16-31 and 24-39");
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src.s));
    const __m128i mid = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src.s + 16));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src.s + 24));
    const auto nulMask = [&zero](__m128i v) {
        return static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero))));
    };
    // Bit i set: byte i is NUL; byte 39 always ends the text.
    const uint64_t nul = nulMask(lo) | nulMask(mid) << 16 | nulMask(hi) << 24 | uint64_t{1} << (kStrCellBytes - 1);
    const __m128i n = _mm_set1_epi8(static_cast<char>(std::countr_zero(nul)));  // characters kept
    const __m128i at0 = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m128i at16 = _mm_add_epi8(at0, _mm_set1_epi8(16));
    const __m128i at24 = _mm_add_epi8(at0, _mm_set1_epi8(24));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst.s), _mm_and_si128(lo, _mm_cmpgt_epi8(n, at0)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst.s + 16), _mm_and_si128(mid, _mm_cmpgt_epi8(n, at16)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst.s + 24), _mm_and_si128(hi, _mm_cmpgt_epi8(n, at24)));
#else
    str_cell_copy(dst, src.s);
#endif
}

// ---- cell areas -------------------------------------------------------------
extern uint32_t mr_b[];   // booleans, 0 or 1
extern float mr_r[];      // reals
extern int32_t mr_i[];    // integers (type letter U: unsigned values)
extern TimeCell mr_t[];   // time values
extern StrCell mr_c[];    // texts

extern uint32_t up_b[];   // snapshots of slower-group cells read by faster groups
extern float up_r[];
extern int32_t up_i[];
extern TimeCell up_t[];
extern StrCell up_c[];

extern uint32_t dn_b[];   // snapshots of faster-group cells read by slower groups
extern float dn_r[];
extern int32_t dn_i[];
extern TimeCell dn_t[];
extern StrCell dn_c[];

// Element counts of the areas (derived from the catalogue).
extern const uint32_t NUM_mr_b, NUM_mr_r, NUM_mr_i, NUM_mr_t, NUM_mr_c;
extern const uint32_t NUM_up_b, NUM_up_r, NUM_up_i, NUM_up_t, NUM_up_c;
extern const uint32_t NUM_dn_b, NUM_dn_r, NUM_dn_i, NUM_dn_t, NUM_dn_c;

// Single scratch cells.
extern uint32_t mw_b[1];
extern float mw_r[1];
extern int32_t mw_i[1];

// Reserved areas (no routine reads them) and their element counts.
extern uint32_t ll_b[1];
extern int32_t ll_i[1];
extern float ll_r[1];
extern uint8_t ll_t[32];
extern uint8_t ll_c[20];
extern int32_t num_ll_b, num_ll_i, num_ll_r, num_ll_t, num_ll_c;

// Unit-delay stores of the ZMINUS1 / ZMINUS1_B blocks. Slot ranges by
// group: 10 ms floats 0-8, booleans 0-8; 40 ms floats 9-12, boolean 9;
// 80 ms floats 13-14, booleans 10-23; 160 ms floats 15-32, booleans 24-78.
constexpr int kNumZBlock = 33;
constexpr int kNumZBlockB = 79;
extern float _zblock[kNumZBlock];
extern uint32_t _zblockb[kNumZBlockB];

// The copy-request flags (sched_move_*) are the master clock's
// (runtime/sched.h) and the system-information words (_SYS_INFO_*) the
// runtime's (runtime/sysinfo.h); init_blk_ram clears and presets them.

// ---- 32-bit cell references ---------------------------------------------------
using CellRef = uint32_t;

enum AreaCode : uint8_t {
    AREA_NONE = 0,
    AREA_mr_b, AREA_mr_r, AREA_mr_i, AREA_mr_t, AREA_mr_c,
    AREA_up_b, AREA_up_r, AREA_up_i, AREA_up_t, AREA_up_c,
    AREA_dn_b, AREA_dn_r, AREA_dn_i, AREA_dn_t, AREA_dn_c,
    AREA_mw_b, AREA_mw_r, AREA_mw_i,
    AREA_an_tune,    // records of _an_tune
    AREA_int_tune,   // records of _int_tune
    AREA_sys_text,   // texts of the system modules _SYS_VARS / _APP_VARS
    AREA_sys_int,    // integers of the system modules
    AREA_os_text,    // the runtime's version texts: OSReleaseDate, OSVersionNumber
    AREA_latch_state,  // change counters of the latched alarm/event lists (hidden, served)
    AREA_COUNT
};

constexpr CellRef cell_ref(AreaCode area, uint32_t byte_offset) {
    return (static_cast<uint32_t>(area) << 24) | (byte_offset & 0x00FFFFFFu);
}
constexpr AreaCode ref_area(CellRef r) { return static_cast<AreaCode>(r >> 24); }
constexpr uint32_t ref_offset(CellRef r) { return r & 0x00FFFFFFu; }

// The memory a reference names, or nullptr for a reference outside every
// area (unknown area code or offset beyond the area's size).
void* cell_ptr(CellRef ref);
// Byte size of an area, 0 for an unknown code.
uint32_t area_bytes(AreaCode area);

// The change counters of the latched alarm/event lists 1 .. 5 (hidden
// cells, cleared with the block objects): the one hidden state the service
// side serves, as each list's state value.
constexpr uint32_t kLatchStateCells = 5;
extern int32_t* const LatchAeChangeCounters;

// ---- start-up clearing --------------------------------------------------------
// Sets n bytes to 0, one byte at a time; n = 0 does nothing.
void zero_mem(void* p, uint32_t n);
// Stores v into n consecutive floats; n = 0 does nothing.
void init_REAL_mem(float* p, uint32_t n, float v);
// Clears and presets the application memory and every block object.
void init_blk_ram();

// Block objects (hidden state of stateful blocks) register themselves so that
// init_blk_ram clears them with the areas.
struct BlockRamNode {
    BlockRamNode* next;
    void (*clear)(BlockRamNode*);
};
void register_block_ram(BlockRamNode* node);

// A block object of type T (an aggregate whose value-initialised state is
// the cleared state): `inline BlockRam<ACCEL_blocks> ACCEL_st;`.
template <class T>
struct BlockRam : T, BlockRamNode {
    BlockRam() : T{}, BlockRamNode{nullptr, &BlockRam::clearMe} { register_block_ram(this); }
    BlockRam(const BlockRam&) = delete;
    BlockRam& operator=(const BlockRam&) = delete;

private:
    static void clearMe(BlockRamNode* n) { static_cast<T&>(*static_cast<BlockRam*>(n)) = T{}; }
};
