// Application memory: what initialisation leaves in it, and the bounds of a
// cell reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/appinit.h"
#include "runtime/appmem.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"

namespace {

TEST(AppMemory, InitialisationClearsTheAreasAndSetsTheSystemDefaults) {
    struct Word { const char* name; uint32_t* cell; uint32_t after; } words[] = {
        {"S_PWD", &_SYS_INFO_S_PWD, 0},         {"C_PWD", &_SYS_INFO_C_PWD, 0},
        {"FAULT", &_SYS_INFO_FAULT, 0},         {"ALM_RST", &_SYS_INFO_ALM_RST, 0},
        {"STOP_PER", &_SYS_INFO_STOP_PER, 1},   {"LOCK_PER", &_SYS_INFO_LOCK_PER, 1},
        {"A_FAULT", &_SYS_INFO_A_FAULT, 0},     {"B_FAULT", &_SYS_INFO_B_FAULT, 0},
        {"C_FAULT", &_SYS_INFO_C_FAULT, 0},     {"ALARM", &_SYS_INFO_ALARM, 0},
        {"UPDATE_EE", &_SYS_INFO_UPDATE_EE, 0},
        // No cross-rate copy is due before the first release.
        {"R10 to R20 copy", &sched_move_R10_R20, 0},   {"R10 to R40 copy", &sched_move_R10_R40, 0},
        {"R10 to R80 copy", &sched_move_R10_R80, 0},   {"R10 to R160 copy", &sched_move_R10_R160, 0},
        {"R20 to R40 copy", &sched_move_R20_R40, 0},   {"R20 to R80 copy", &sched_move_R20_R80, 0},
        {"R20 to R160 copy", &sched_move_R20_R160, 0}, {"R40 to R80 copy", &sched_move_R40_R80, 0},
        {"R40 to R160 copy", &sched_move_R40_R160, 0}, {"R80 to R160 copy", &sched_move_R80_R160, 0},
    };
    for (auto& w : words) *w.cell = 0xA5A5u;
    SysTimeValue* clocks[] = {&_SYS_INFO_TS_CLOCK, &_SYS_INFO_TS_CLOCK_3, &_SYS_INFO_TS_CLOCK_4,
                              &_SYS_INFO_TS_CLOCK_5, &_SYS_INFO_TS_CLOCK_6, &_SYS_INFO_TS_CLOCK_7};
    for (auto* c : clocks) *c = {7, 7};
    std::memset(mr_b, 0xFF, NUM_mr_b * 4);
    for (uint32_t k = 0; k < NUM_mr_r; ++k) mr_r[k] = 1.5f;
    std::memset(mr_c, 'x', NUM_mr_c * kStrCellBytes);
    for (uint32_t k = 0; k < NUM_dn_r; ++k) dn_r[k] = 2.5f;
    _zblock[0] = 3.0f;
    _zblockb[0] = 1;

    init_blk_ram();

    for (const auto& w : words) EXPECT_EQ(*w.cell, w.after) << w.name;
    for (auto* c : clocks) EXPECT_EQ(c->sec + c->usec, 0u);
    for (uint32_t k = 0; k < NUM_mr_b; ++k) ASSERT_EQ(mr_b[k], 0u) << k;
    for (uint32_t k = 0; k < NUM_mr_r; ++k) ASSERT_EQ(mr_r[k], 0.0f) << k;
    for (uint32_t k = 0; k < NUM_mr_c; ++k) ASSERT_EQ(mr_c[k].s[0], '\0') << k;
    for (uint32_t k = 0; k < NUM_dn_r; ++k) ASSERT_EQ(dn_r[k], 0.0f) << k;
    EXPECT_EQ(_zblock[0], 0.0f);
    EXPECT_EQ(_zblockb[0], 0u);
}

TEST(AppMemory, ReferencesEndAtTheirAreaAndNameTheVersionTexts) {
    // Each area: its last element is addressable, the byte after it is not.
    const struct { AreaCode area; uint32_t elem; } areas[] = {
        {AREA_mr_b, 4}, {AREA_mr_r, 4}, {AREA_mr_i, 4}, {AREA_mr_t, 8}, {AREA_mr_c, kStrCellBytes},
        {AREA_dn_r, 4}, {AREA_up_b, 4}, {AREA_mw_r, 4}, {AREA_sys_int, 4},
    };
    for (const auto& a : areas) {
        const uint32_t bytes = area_bytes(a.area);
        ASSERT_GE(bytes, a.elem) << int(a.area);
        EXPECT_NE(cell_ptr(cell_ref(a.area, bytes - a.elem)), nullptr) << int(a.area);
        EXPECT_EQ(cell_ptr(cell_ref(a.area, bytes)), nullptr) << int(a.area);
    }
    EXPECT_EQ(area_bytes(AREA_NONE), 0u);
    EXPECT_EQ(cell_ptr(cell_ref(AREA_NONE, 0)), nullptr);
    EXPECT_EQ(area_bytes(AREA_os_text), 2 * kStrCellBytes);
    EXPECT_EQ(cell_ptr(cell_ref(AREA_os_text, 0)), static_cast<void*>(OSReleaseDate));
    EXPECT_EQ(cell_ptr(cell_ref(AREA_os_text, kStrCellBytes)), static_cast<void*>(OSVersionNumber));
    EXPECT_EQ(cell_ptr(cell_ref(AREA_os_text, 4)), nullptr);
}

}  // namespace

// A string cell copied from another cell keeps the text up to its first NUL,
// at most 39 characters, and clears the rest of the cell, whatever the
// source holds behind its NUL; copying a cell onto itself does the same.
TEST(AppMemory, AStringCellCopiedFromACellKeepsItsTextAndClearsTheRest) {
    // NUL at these places (40: none at all); the source is filled with
    // letters and holds garbage behind its NUL.
    for (int nulAt : {0, 1, 7, 15, 16, 17, 23, 24, 25, 31, 32, 38, 39, 40}) {
        SCOPED_TRACE(nulAt);
        StrCell src;
        for (int i = 0; i < kStrCellBytes; ++i) src.s[i] = static_cast<char>('A' + i % 26);
        if (nulAt < kStrCellBytes) src.s[nulAt] = '\0';
        const int kept = std::min(nulAt, kStrCellBytes - 1);
        StrCell dst;
        std::memset(dst.s, '#', sizeof dst.s);
        str_cell_copy(dst, src);
        for (int i = 0; i < kStrCellBytes; ++i)
            EXPECT_EQ(dst.s[i], i < kept ? src.s[i] : '\0') << "byte " << i;
        StrCell self = src;
        str_cell_copy(self, self);
        EXPECT_EQ(std::memcmp(self.s, dst.s, sizeof dst.s), 0);
        // Bytes of any value, also those above 127, are text.
        StrCell high;
        std::memset(high.s, 0xE9, sizeof high.s);
        high.s[kept] = '\0';
        str_cell_copy(dst, high);
        for (int i = 0; i < kStrCellBytes; ++i)
            EXPECT_EQ(dst.s[i], i < kept ? static_cast<char>(0xE9) : '\0') << "byte " << i;
    }
}

// A text copied into a string cell keeps at most 39 characters and clears
// the rest of the cell; the text may lie in the cell itself.
TEST(AppMemory, ATextCopiedIntoAStringCellKeepsAtMost39CharactersAndClearsTheRest) {
    const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (size_t length : {size_t{0}, size_t{1}, size_t{20}, size_t{38}, size_t{39}, size_t{40}, size_t{52}}) {
        SCOPED_TRACE(length);
        const std::string text = letters.substr(0, length);
        const size_t kept = std::min<size_t>(length, kStrCellBytes - 1);
        StrCell dst;
        std::memset(dst.s, '#', sizeof dst.s);
        str_cell_copy(dst, text.c_str());
        for (size_t i = 0; i < kStrCellBytes; ++i)
            EXPECT_EQ(dst.s[i], i < kept ? text[i] : '\0') << "byte " << i;
    }
    // The cell's own text from its fourth character on: moved to the front.
    StrCell cell;
    std::memset(cell.s, 0, sizeof cell.s);
    std::memcpy(cell.s, "abcdefgh", 8);
    str_cell_copy(cell, cell.s + 3);
    EXPECT_STREQ(cell.s, "defgh");
    for (size_t i = 5; i < kStrCellBytes; ++i) EXPECT_EQ(cell.s[i], '\0') << "byte " << i;
}
