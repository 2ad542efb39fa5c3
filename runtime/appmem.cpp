#include "runtime/appmem.h"

#include "app/sys_vars.h"
#include "runtime/appinit.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"
#include "runtime/catalogue_tables.h"

uint32_t mw_b[1];
float mw_r[1];
int32_t mw_i[1];

uint32_t ll_b[1];
int32_t ll_i[1];
float ll_r[1];
uint8_t ll_t[32];
uint8_t ll_c[20];
int32_t num_ll_b, num_ll_i, num_ll_r, num_ll_t, num_ll_c;

float _zblock[kNumZBlock];
uint32_t _zblockb[kNumZBlockB];

namespace {
// Constant-initialised, so block objects may register from any static constructor.
constinit BlockRamNode* g_block_ram = nullptr;

struct AreaInfo {
    void* base;
    uint32_t bytes;
};

AreaInfo area_info(AreaCode a) {
    switch (a) {
        case AREA_mr_b: return {mr_b, NUM_mr_b * 4};
        case AREA_mr_r: return {mr_r, NUM_mr_r * 4};
        case AREA_mr_i: return {mr_i, NUM_mr_i * 4};
        case AREA_mr_t: return {mr_t, NUM_mr_t * 8};
        case AREA_mr_c: return {mr_c, NUM_mr_c * kStrCellBytes};
        case AREA_up_b: return {up_b, NUM_up_b * 4};
        case AREA_up_r: return {up_r, NUM_up_r * 4};
        case AREA_up_i: return {up_i, NUM_up_i * 4};
        case AREA_up_t: return {up_t, NUM_up_t * 8};
        case AREA_up_c: return {up_c, NUM_up_c * kStrCellBytes};
        case AREA_dn_b: return {dn_b, NUM_dn_b * 4};
        case AREA_dn_r: return {dn_r, NUM_dn_r * 4};
        case AREA_dn_i: return {dn_i, NUM_dn_i * 4};
        case AREA_dn_t: return {dn_t, NUM_dn_t * 8};
        case AREA_dn_c: return {dn_c, NUM_dn_c * kStrCellBytes};
        case AREA_mw_b: return {mw_b, 4};
        case AREA_mw_r: return {mw_r, 4};
        case AREA_mw_i: return {mw_i, 4};
        case AREA_an_tune: return {const_cast<AnTune*>(_an_tune), num_an_tune * kAnTuneBytes};
        case AREA_int_tune: return {const_cast<IntTune*>(_int_tune), num_int_tune * kIntTuneBytes};
        case AREA_sys_text: return {sys_text, NUM_SYS_TEXT * kStrCellBytes};
        case AREA_sys_int: return {&num_tiq_files, 4};
        case AREA_latch_state: return {LatchAeChangeCounters, kLatchStateCells * 4};
        case AREA_os_text:
            // Two 40-byte texts, addressed as offsets 0 and 40.
            return {nullptr, 2 * kStrCellBytes};
        default: return {nullptr, 0};
    }
}
}  // namespace

uint32_t area_bytes(AreaCode area) { return area_info(area).bytes; }

void* cell_ptr(CellRef ref) {
    if (ref_area(ref) == AREA_os_text) {
        if (ref_offset(ref) == 0) return OSReleaseDate;
        if (ref_offset(ref) == kStrCellBytes) return OSVersionNumber;
        return nullptr;
    }
    const AreaInfo a = area_info(ref_area(ref));
    if (a.base == nullptr || ref_offset(ref) >= a.bytes) return nullptr;
    return static_cast<uint8_t*>(a.base) + ref_offset(ref);
}

void zero_mem(void* p, uint32_t n) {
    // One byte at a time, through a volatile pointer so that it stays a byte loop.
    volatile uint8_t* b = static_cast<uint8_t*>(p);
    for (uint32_t k = 0; k < n; ++k) b[k] = 0;
}

void init_REAL_mem(float* p, uint32_t n, float v) {
    for (uint32_t k = 0; k < n; ++k) p[k] = v;
}

void register_block_ram(BlockRamNode* node) {
    node->next = g_block_ram;
    g_block_ram = node;
}

void init_blk_ram() {
    sched_move_R10_R20 = sched_move_R10_R40 = sched_move_R10_R80 = sched_move_R10_R160 = 0;
    sched_move_R20_R40 = sched_move_R20_R80 = sched_move_R20_R160 = 0;
    sched_move_R40_R80 = sched_move_R40_R160 = 0;
    sched_move_R80_R160 = 0;

    _SYS_INFO_S_PWD = 0;
    _SYS_INFO_C_PWD = 0;
    _SYS_INFO_FAULT = 0;
    _SYS_INFO_ALM_RST = 0;
    // Stopping and locking the I/O are permitted until the master clock pass
    // copies the application's own permissives in.
    _SYS_INFO_STOP_PER = 1;
    _SYS_INFO_LOCK_PER = 1;
    _SYS_INFO_A_FAULT = 0;
    _SYS_INFO_B_FAULT = 0;
    _SYS_INFO_C_FAULT = 0;
    _SYS_INFO_TS_CLOCK = {0, 0};
    _SYS_INFO_ALARM = 0;
    _SYS_INFO_UPDATE_EE = 0;
    _SYS_INFO_TS_CLOCK_7 = _SYS_INFO_TS_CLOCK_6 = _SYS_INFO_TS_CLOCK_5 = {0, 0};
    _SYS_INFO_TS_CLOCK_4 = _SYS_INFO_TS_CLOCK_3 = {0, 0};

    zero_mem(mr_b, NUM_mr_b * 4);
    init_REAL_mem(mr_r, NUM_mr_r, 0.0f);
    zero_mem(mr_i, NUM_mr_i * 4);
    zero_mem(mr_t, NUM_mr_t * 8);
    zero_mem(mr_c, NUM_mr_c * kStrCellBytes);

    init_REAL_mem(up_r, NUM_up_r, 0.0f);
    zero_mem(up_i, NUM_up_i * 4);
    zero_mem(up_b, NUM_up_b * 4);
    zero_mem(up_t, NUM_up_t * 8);
    zero_mem(up_c, NUM_up_c * kStrCellBytes);

    init_REAL_mem(dn_r, NUM_dn_r, 0.0f);
    zero_mem(dn_i, NUM_dn_i * 4);
    zero_mem(dn_b, NUM_dn_b * 4);
    zero_mem(dn_t, NUM_dn_t * 8);
    zero_mem(dn_c, NUM_dn_c * kStrCellBytes);

    num_ll_i = num_ll_b = num_ll_r = num_ll_t = num_ll_c = 1;

    zero_mem(mw_b, 4);
    init_REAL_mem(mw_r, 1, 0.0f);
    zero_mem(mw_i, 4);

    // Hidden block state: the unit-delay stores and every block object.
    init_REAL_mem(_zblock, kNumZBlock, 0.0f);
    zero_mem(_zblockb, sizeof(_zblockb));
    for (BlockRamNode* n = g_block_ram; n; n = n->next) n->clear(n);

    sys_vars_init();
}
