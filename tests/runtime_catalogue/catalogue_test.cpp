// The catalogue's derived tables, the directory lookups and the start-up
// clearing of the application memory.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "runtime/appinit.h"
#include "runtime/appmem.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"
#include "runtime/blockkinds.h"
#include "app/system/_MASTER.cells.h"
#include "runtime/catalogue_derive.h"
#include "runtime/dbug.h"
#include "runtime/rgtask.h"
#include "tests/runtime_catalogue/fixture_cells.h"

namespace {

// Checks the directory rules on one set of tables; `nsys` trailing modules
// (the system modules) are exempt from the name order.
void expect_directory_sound(const DbugTables& t, uint32_t num_records, uint32_t nsys) {
    const uint32_t nmods = t.num_hdr - 2;
    ASSERT_GE(t.num_hdr, 3u);
    // Empty first and last records, in the directory and in the headers.
    for (uint32_t r : {0u, num_records - 1}) {  // the empty records
        EXPECT_EQ(t.var[r].type, 0) << r;
        EXPECT_EQ(t.var[r].address, 0u) << r;
        EXPECT_STREQ(t.var[r].name, "") << r;
    }
    for (uint32_t h : {0u, t.num_hdr - 1}) {
        EXPECT_EQ(t.hdr[h].first, 0u);
        EXPECT_EQ(t.hdr[h].last, nmods);
        EXPECT_STREQ(t.hdr[h].name, "");
    }
    // Contiguous ascending ranges from record 1 to the last named record.
    uint32_t next = 1;
    for (uint32_t h = 1; h <= nmods; ++h) {
        EXPECT_EQ(t.hdr[h].first, next) << t.hdr[h].name;
        EXPECT_GE(t.hdr[h].last, t.hdr[h].first) << t.hdr[h].name;
        next = t.hdr[h].last + 1;
        if (h > 1 && h <= nmods - nsys) {
            EXPECT_LT(std::strcmp(t.hdr[h - 1].name, t.hdr[h].name), 0) << "module order at " << t.hdr[h].name;
        }
        for (uint32_t r = t.hdr[h].first; r <= t.hdr[h].last; ++r) {
            EXPECT_NE(t.var[r].type, 0) << r;
            if (r > t.hdr[h].first && h <= nmods - nsys) {  // application modules only
                // Ascending by block, then field, and every name once.
                const std::string a = t.var[r - 1].name, b = t.var[r].name;
                const std::string ab = a.substr(0, a.find('.')), bb = b.substr(0, b.find('.'));
                EXPECT_TRUE(ab < bb || (ab == bb && a < b)) << a << " before " << b;
            }
            for (uint32_t q = t.hdr[h].first; q < r; ++q)
                EXPECT_STRNE(t.var[q].name, t.var[r].name) << t.hdr[h].name;
        }
    }
    EXPECT_EQ(next, num_records - 1);
    // Reading from record 1 until a type letter 0 counts the named cells.
    uint32_t n = 1;
    while (t.var[n].type != 0) ++n;
    EXPECT_EQ(n, num_records - 1);
}

int lookup(const char* name, char& type, CellRef& ref, const char*& rate, int need = 0) {
    return get_dbug_address_in(fx::tables(), name, &type, need, &ref, &rate);
}

}  // namespace

TEST(Directory, OrderAndUniquenessOfTheFixtureAndApplicationDirectories) {
    expect_directory_sound(fx::tables(), fx::num_records(), 0);
    const DbugTables app = app_dbug_tables();
    expect_directory_sound(app, num_dbug_var, 2);
    EXPECT_STREQ(app.hdr[app.num_hdr - 3].name, "_SYS_VARS");
    EXPECT_STREQ(app.hdr[app.num_hdr - 2].name, "_APP_VARS");
    // Modules sort by bytes: upper case before '_' before lower case.
    const DbugTables t = fx::tables();
    EXPECT_STREQ(t.hdr[1].name, "ACCEL");
    EXPECT_STREQ(t.hdr[t.num_hdr - 3].name, "_ub1");
    EXPECT_STREQ(t.hdr[t.num_hdr - 2].name, "_ub2");
}

namespace dupcase {
using namespace cat;
constexpr Row rows_dup[] = {
    {"B", "F", "B.F", 'A', G_R10, tok::PLAIN, 0},
    {"A", "F", "A.F", 'A', G_R10, tok::PLAIN, 0},
    {"B", "F", "B.F", 'B', G_R20, tok::PLAIN, 0},
};
constexpr auto lay = make_layout(rows_dup);
struct Dup {
    static constexpr size_t n = 2;
    static constexpr ModDesc desc[3] = {{"M", rows_dup, 3, lay.idx, lay.slot, lay.count, nullptr, nullptr, 0},
                                        {"N", rows_dup, 1, lay.idx, lay.slot, lay.count, nullptr, nullptr, 0},
                                        {"", nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0}};
};
struct TwiceM {
    static constexpr size_t n = 2;
    static constexpr ModDesc desc[3] = {{"M", rows_dup + 1, 1, lay.idx, lay.slot, lay.count, nullptr, nullptr, 0},
                                        {"M", rows_dup, 1, lay.idx, lay.slot, lay.count, nullptr, nullptr, 0},
                                        {"", nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0}};
};
constexpr Row rows_bad[] = {
    {"B", "F", "B.F", 'A', G_R10, tok::PLAIN, readers_mask({G_R10})},     // reads its own group
    {"B", "G", "B.G", 'A', G_R10, tok::TUNE(true), 0},                    // real without limits
    {"B", "H", "B.H", 'A', G_RNone, tok::PLAIN, readers_mask({G_R20})},   // no group, copied
    {"B", "I", "B.I", 'I', G_R10, tok::TUNE(5, 10, 0), 0},                // minimum above maximum
    {"B", "J", "B.J", 'X', G_R10, tok::PLAIN, 0},                         // unknown type
};
}  // namespace dupcase

TEST(Directory, DuplicatesAndUnsoundDeclarationsAreFound) {
    using namespace dupcase;
    // The same check runs in a static_assert of every catalogue's tables.
    constexpr CatalogueError e = Derive<Dup>::check();
    static_assert(e.what != nullptr);
    EXPECT_STREQ(e.what, "cell declared twice");
    EXPECT_STREQ(e.module, "M");
    EXPECT_STREQ(e.name, "B.F");
    EXPECT_STREQ(Derive<TwiceM>::check().what, "module declared twice");
    for (const Row& r : rows_bad) {
        const ModDesc d[1] = {{"M", &r, 1, lay.idx, lay.slot, lay.count, nullptr, nullptr, 0}};
        EXPECT_NE(check_rows(d, 1).what, nullptr) << r.name;
    }
    const ModDesc ok[1] = {{"M", rows_dup, 2, lay.idx, lay.slot, lay.count, nullptr, nullptr, 0}};
    EXPECT_EQ(check_rows(ok, 1).what, nullptr);
}

TEST(Lookup, UserBlockAliasAndInstanceRules) {
    char mod[kDbugModuleBytes], fld[kDbugFieldBytes];
    const DbugTables t = fx::tables();
    // Alias first: resolves to the inner name before the instance rule.
    EXPECT_EQ(parseCatBlkFld_in(t, "AI_EVENT.AI_01_EVENT.USE_SP1_IN", mod, fld), 1);
    EXPECT_STREQ(mod, "_ub1");
    EXPECT_STREQ(fld, "USE_SP1.IN");
    EXPECT_EQ(parseCatBlkFld_in(t, "AI_EVENT.AI_01_EVENT.ALARM_LVL1.B_NAME", mod, fld), 1);
    EXPECT_STREQ(mod, "_ub1");
    EXPECT_STREQ(fld, "ALARM_LVL1.B_NAME");
    // The shorter instance name only matches at its own dot.
    EXPECT_EQ(parseCatBlkFld_in(t, "AI_EVENT.AI_01.SIGNAL.B_NAME", mod, fld), 1);
    EXPECT_STREQ(mod, "_ub2");
    EXPECT_STREQ(fld, "SIGNAL.B_NAME");
    // Plain rule keeps every further dot in the field.
    EXPECT_EQ(parseCatBlkFld_in(t, "SPD_CTRL.ACT_LIM.A_SW", mod, fld), 1);
    EXPECT_STREQ(mod, "SPD_CTRL");
    EXPECT_STREQ(fld, "ACT_LIM.A_SW");

    char type = 0;
    CellRef ref = 0;
    const char* rate = nullptr;
    ASSERT_EQ(lookup("AI_EVENT.AI_01_EVENT.USE_SP1_IN", type, ref, rate), 1);
    EXPECT_EQ(type, 'B');
    EXPECT_STREQ(rate, "_R20");
    CellRef direct = 0;
    type = 0;
    ASSERT_EQ(lookup("_ub1.USE_SP1.IN", type, direct, rate), 1);
    EXPECT_EQ(ref, direct);
    type = 0;
    ASSERT_EQ(lookup("AI_EVENT.AI_01_EVENT.ALARM_LVL1.B_NAME", type, ref, rate), 1);
    EXPECT_NE(ref, direct);
}

TEST(Lookup, MalformedMissingMismatchedAndUnresolvableNames) {
    char type = 0;
    CellRef ref = 0x12345;
    const char* rate = nullptr;
    for (const char* bad : {"SPD_CTRL", "SPD_CTRL.", ".X", "", ".", "NOPE.ACT_LIM.A_SW", "SPD_CTRL.ACT_LIM.NOPE",
                            "SPD_CTRL.ACT_LIM", "spd_ctrl.ACT_LIM.A_SW"}) {
        type = 0;
        EXPECT_EQ(lookup(bad, type, ref, rate), -2) << bad;
    }
    EXPECT_EQ(ref, 0x12345u);  // nothing written on failure

    // Another type letter: -3, and the caller's letter stays as given.
    type = 'B';
    EXPECT_EQ(lookup("SPD_CTRL.ACT_LIM.A_SW", type, ref, rate), -3);
    EXPECT_EQ(type, 'B');
    type = 'A';
    EXPECT_EQ(lookup("SPD_CTRL.ACT_LIM.A_SW", type, ref, rate), 1);

    // A service input ('S') cannot be resolved: -3 (reals and booleans).
    type = 0;
    EXPECT_EQ(lookup("MASTER.COMMANDS.IN_1", type, ref, rate), -3);
    EXPECT_EQ(type, 'B');
    type = 0;
    EXPECT_EQ(lookup("SPD_CTRL.CASC_LAG.LAG_TAU", type, ref, rate), -3);
    // Attribute bit 0 is clear in every record.
    type = 0;
    EXPECT_EQ(lookup("SPD_CTRL.ACT_LIM.A_SW", type, ref, rate, 1), -4);

    // Type letter 0 returns the record's letter.
    type = 0;
    EXPECT_EQ(lookup("IFACE_MODE.TALLWIRE.IP_ADDR_1", type, ref, rate), 1);
    EXPECT_EQ(type, 'U');
    EXPECT_STREQ(rate, "_RNone");
}

TEST(Lookup, TunablesResolveToTheirCellNotTheirRecord) {
    char type = 0;
    CellRef ref = 0;
    const char* rate = nullptr;
    const DbugTables t = fx::tables();
    ASSERT_EQ(lookup("ACCEL.SS_DERIV_FILT.LAG_TAU", type, ref, rate), 1);
    EXPECT_EQ(ref_area(ref), AREA_mr_r);
    float* cell = static_cast<float*>(fx::ptr(ref));
    ASSERT_NE(cell, nullptr);
    *cell = 0.25f;
    cells::ACCEL.SS_DERIV_FILT_LAG_TAU = 0.125f;  // the view addresses the same cell
    EXPECT_EQ(*cell, 0.125f);
    // The directory record itself holds the AnTune record with the limits.
    bool found = false;
    for (uint32_t r = 1; t.var[r].type; ++r)
        if (std::strcmp(t.var[r].name, "SS_DERIV_FILT.LAG_TAU") == 0) {
            found = true;
            EXPECT_EQ(t.var[r].access, '*');
            ASSERT_EQ(ref_area(t.var[r].address), AREA_an_tune);
            const AnTune& rec = t.an_tune[ref_offset(t.var[r].address) / kAnTuneBytes];
            EXPECT_EQ(rec.cell, ref);
            EXPECT_EQ(rec.min, 0.0f);
            EXPECT_EQ(rec.max, 0.5f);
        }
    EXPECT_TRUE(found);
    // Integer, boolean and string tunables.
    type = 'I';
    ASSERT_EQ(lookup("SPD_CTRL.SPD_PID.LSS_HSS", type, ref, rate), 1);
    EXPECT_EQ(ref_area(ref), AREA_mr_i);
    type = 0;
    ASSERT_EQ(lookup("SPD_CTRL.SPD_PID.CLR_STATE", type, ref, rate), 1);
    EXPECT_EQ(ref_area(ref), AREA_mr_b);
    type = 0;
    ASSERT_EQ(lookup("SPD_CTRL.MSG.S_NAME", type, ref, rate), 1);
    EXPECT_EQ(type, 'C');
    EXPECT_EQ(ref_area(ref), AREA_mr_c);
    EXPECT_STREQ(rate, "_R160");
}

TEST(Lookup, OverlongNamesFromConfigurationFilesAreRejected) {
    // Names sit in buffers of their exact size, so a read past the end shows
    // under the address sanitizer.
    auto exact = [](const std::string& s) {
        auto p = std::make_unique<char[]>(s.size() + 1);
        std::memcpy(p.get(), s.c_str(), s.size() + 1);
        return p;
    };
    char mod[kDbugModuleBytes], fld[kDbugFieldBytes];
    const DbugTables t = fx::tables();
    // A module part of 64 characters does not fit the 64-byte buffer (63 do).
    auto m64 = exact(std::string(64, 'M') + ".BLK.F");
    EXPECT_EQ(parseCatBlkFld_in(t, m64.get(), mod, fld), 0);
    auto m63 = exact(std::string(63, 'M') + ".BLK.F");
    EXPECT_EQ(parseCatBlkFld_in(t, m63.get(), mod, fld), 1);
    EXPECT_EQ(std::strlen(mod), 63u);
    // A field part longer than its buffer.
    auto f = exact("SPD_CTRL." + std::string(kDbugFieldBytes, 'F'));
    EXPECT_EQ(parseCatBlkFld_in(t, f.get(), mod, fld), 0);
    char type = 0;
    CellRef ref = 0;
    const char* rate = nullptr;
    EXPECT_EQ(get_dbug_address_in(t, m64.get(), &type, 0, &ref, &rate), -2);
    EXPECT_EQ(get_dbug_address_in(t, f.get(), &type, 0, &ref, &rate), -2);
    // An instance-rule field too long for its buffer.
    auto inst = exact("AI_EVENT.AI_01_EVENT." + std::string(kDbugFieldBytes, 'F'));
    EXPECT_EQ(parseCatBlkFld_in(t, inst.get(), mod, fld), 0);
    // Names shorter than an instance name never read past their end.
    for (const char* s : {"A", "AI_EVENT", "AI_EVENT.AI_0", "AI_EVENT.AI_01_EV"}) {
        auto p = exact(s);
        parseCatBlkFld_in(t, p.get(), mod, fld);
        EXPECT_EQ(get_dbug_address_in(t, p.get(), &type, 0, &ref, &rate), -2) << s;
    }
    // An alias whose inner module part is too long gives 0.
    const std::string longalias = "X.Y.Z " + std::string(100, 'Q') + ".B.F";
    const char* aliases[] = {longalias.c_str()};
    DbugTables ta = t;
    ta.ub_mappings = aliases;
    ta.num_ub_mappings = 1;
    EXPECT_EQ(parseCatBlkFld_in(ta, "X.Y.Z", mod, fld), 0);
    // An alias without a dot among the first 128 inner characters is passed over.
    const std::string nodot = "X.Y.Z " + std::string(130, 'Q') + ".F";
    aliases[0] = nodot.c_str();
    EXPECT_EQ(parseCatBlkFld_in(ta, "X.Y.Z", mod, fld), 1);
    EXPECT_STREQ(mod, "X");
    EXPECT_STREQ(fld, "Y.Z");
}

TEST(Lookup, ApplicationDirectoryHoldsTheSystemModules) {
    char type = 0;
    CellRef ref = 0;
    const char* rate = nullptr;
    init_blk_ram();
    ASSERT_EQ(get_dbug_address("_APP_VARS.App Name", &type, 0, &ref, &rate), 1);
    EXPECT_EQ(type, 'C');
    EXPECT_STREQ(static_cast<const char*>(cell_ptr(ref)), "9902-4411_e");
    type = 0;
    ASSERT_EQ(get_dbug_address("_APP_VARS.TIQfile4", &type, 0, &ref, &rate), 1);
    EXPECT_STREQ(static_cast<const char*>(cell_ptr(ref)), "CONFIG.100.Module");
    type = 0;
    ASSERT_EQ(get_dbug_address("_APP_VARS.TIQ Program Count", &type, 0, &ref, &rate), 1);
    EXPECT_EQ(*static_cast<int32_t*>(cell_ptr(ref)), 12);
    type = 0;
    ASSERT_EQ(get_dbug_address("_SYS_VARS.OsVersion", &type, 0, &ref, &rate), 1);
    EXPECT_EQ(cell_ptr(ref), OSVersionNumber);  // the runtime's own text
    type = 0;
    ASSERT_EQ(get_dbug_address("_SYS_VARS.OSRelease Date", &type, 0, &ref, &rate), 1);
    EXPECT_EQ(cell_ptr(ref), OSReleaseDate);
    type = 'I';
    ASSERT_EQ(get_dbug_address("_MASTER._SYS_INFO.RG10_LOAD", &type, 0, &ref, &rate), 1);
    EXPECT_STREQ(rate, "_RNone");
    type = 0;
    ASSERT_EQ(get_dbug_address("_MASTER._SYS_INFO.RG_SLIP", &type, 0, &ref, &rate), 1);
    cells::_MASTER._SYS_INFO_RG_SLIP = 1u;
    EXPECT_EQ(*static_cast<uint32_t*>(cell_ptr(ref)), 1u);
    type = 0;
    EXPECT_EQ(get_dbug_address("_MASTER._SYS_INFO.ALM_RST", &type, 0, &ref, &rate), 1);  // boolean tunable
    EXPECT_EQ(cell_ptr(cell_ref(AREA_mr_b, NUM_mr_b * 4)), nullptr);
    EXPECT_EQ(cell_ptr(cell_ref(AREA_COUNT, 0)), nullptr);
}

TEST(Tables, TunableUserBlockAndSampledTunableTables) {
    const fx::Derived dv = fx::derived();
    const DbugTables t = fx::tables();
    // Reals with '*' and 'S' have AnTune records; integers with '*' IntTune records.
    EXPECT_EQ(dv.num_an, 4u);   // ACCEL LAG_TAU, SPD_CTRL NC, NO, CASC_LAG.LAG_TAU ('S')
    EXPECT_EQ(dv.num_int, 3u);  // IFACE_MODE PORT, SAMP HOLD_FLT.TUNE, SPD_CTRL LSS_HSS
    EXPECT_EQ(t.an_tune[0].max, 0.5f);  // directory order: ACCEL first
    EXPECT_EQ(t.int_tune[0].max, 65535);
    EXPECT_EQ(t.num_ub_names, 2u);
    EXPECT_STREQ(t.ub_names[0], "AI_EVENT.AI_01_EVENT");
    EXPECT_STREQ(t.ub_names[1], "AI_EVENT.AI_01");
    ASSERT_EQ(t.num_ub_mappings, 1u);
    EXPECT_STREQ(t.ub_mappings[0], "AI_EVENT.AI_01_EVENT.USE_SP1_IN _ub1.USE_SP1.IN");
    // The sampled tunable: its IntTune record and its entry-enable cell.
    ASSERT_EQ(dv.num_samp, 1u);
    EXPECT_EQ(dv.samp[0].marker, 0u);
    EXPECT_EQ(dv.samp[1].marker, 1u);
    EXPECT_EQ(ref_area(dv.samp[1].tune), AREA_int_tune);
    EXPECT_EQ(t.int_tune[ref_offset(dv.samp[1].tune) / kIntTuneBytes].max, 30);
    EXPECT_EQ(fx::ptr(dv.samp[1].enable), &cells::SAMP.HOLD_FLT_EN_ENT_OUT.ref());
    // Tunable defaults in directory order.
    ASSERT_EQ(dv.num_defaults, 8u);
    EXPECT_EQ(dv.defaults[0].value, 0.0);  // ACCEL LAG_TAU
    EXPECT_EQ(dv.defaults[1].value, 666.0);  // IFACE_MODE PORT
    bool text = false;
    for (size_t k = 0; k < dv.num_defaults; ++k)
        if (dv.defaults[k].type == 'C') {
            text = true;
            EXPECT_STREQ(dv.defaults[k].text, "Dflt text");
        }
    EXPECT_TRUE(text);
}

TEST(Views, GroupViewsReadCopySlotsAndRefuseOtherGroupsCells) {
    // The member types the views give (a wrong read does not compile).
    static_assert(std::is_same_v<decltype(r10::XR.FAST_VAL), const cat::Cell<float>>);
    static_assert(std::is_same_v<decltype(r10::XR.SLOW_VAL), const cat::Slot<float>>);
    static_assert(std::is_same_v<decltype(r160::XR.FAST_VAL), const cat::Slot<float>>);
    static_assert(std::is_same_v<decltype(r40::XR.FAST_VAL), const cat::Absent<float>>);
    static_assert(std::is_same_v<decltype(r40::XR.SLOW_FLAG), const cat::Slot<uint32_t>>);
    static_assert(std::is_same_v<decltype(r20::IFACE_MODE.TALLWIRE_IP_ADDR_1), const cat::Cell<uint32_t>>);
    static_assert(!std::is_assignable_v<decltype(r10::XR.SLOW_VAL)&, float>);

    fx::clear_areas();
    r10::XR.FAST_VAL = 2.5f;
    r10::XR.FAST_CNT = 7;
    r10::XR.FAST_TXT = "fast text";
    r10::XR.FAST_TM = TimeCell{5, 6};
    r160::XR.SLOW_VAL = 9.0f;
    r160::XR.SLOW_FLAG = 1u;
    EXPECT_EQ(static_cast<float>(r160::XR.FAST_VAL), 0.0f);  // no copy yet
    fx::run_copies(cat::pair_index(cat::G_R10, cat::G_R160));
    EXPECT_EQ(static_cast<float>(r160::XR.FAST_VAL), 2.5f);
    EXPECT_EQ(static_cast<int32_t>(r160::XR.FAST_CNT), 7);
    EXPECT_STREQ(r160::XR.FAST_TXT.c_str(), "fast text");
    EXPECT_EQ(static_cast<const TimeCell&>(r160::XR.FAST_TM).usec, 6u);
    EXPECT_EQ(static_cast<float>(r10::XR.SLOW_VAL), 9.0f);
    EXPECT_EQ(static_cast<uint32_t>(r10::XR.SLOW_FLAG), 1u);
    EXPECT_EQ(static_cast<uint32_t>(r40::XR.SLOW_FLAG), 0u);  // another pair's slot
    fx::run_copies(cat::pair_index(cat::G_R40, cat::G_R160));
    EXPECT_EQ(static_cast<uint32_t>(r40::XR.SLOW_FLAG), 1u);

    // Proxies work as arguments of the block kinds and in arithmetic.
    r10::ACCEL.SS_DERIV_FILT_LAG_TAU = 0.5f;
    r10::XR.FAST_SEEN = r10::XR.FAST_VAL + r10::XR.SLOW_VAL * 2.0f;
    EXPECT_EQ(static_cast<float>(r10::XR.FAST_SEEN), 20.5f);
    r10::XR.FAST_SEEN += 1.0f;
    EXPECT_EQ(static_cast<float>(r10::XR.FAST_SEEN), 21.5f);
    bk::LagState lag{};
    bk::LAG(lag, r10::ACCEL.SS_DERIV_FILT_LAG_2, nullptr, r10::XR.FAST_VAL, r10::ACCEL.SS_DERIV_FILT_LAG_TAU, bk::T10);
    EXPECT_GT(static_cast<float>(r10::ACCEL.SS_DERIV_FILT_LAG_2), 0.0f);
    bk::A_COMPARE(r10::ACCEL.SS1_FLD_B_NAME, r10::XR.FAST_DLY, r10::XR.FAST_VAL, 2.5f);
    EXPECT_EQ(static_cast<uint32_t>(r10::ACCEL.SS1_FLD_B_NAME), 1u);
    r160::SPD_CTRL.MSG_S_NAME = "a text constant of more than thirty-nine characters";
    EXPECT_STREQ(r160::SPD_CTRL.MSG_S_NAME.c_str(), "a text constant of more than thirty-nin");
    r10::XR.FAST_TXT = r10::XR.FAST_TXT.ref();  // a string cell copied onto itself stays whole
    EXPECT_STREQ(r10::XR.FAST_TXT.c_str(), "fast text");
}

namespace {
struct TestBlocks {
    bk::DelayState dly;
    float extra[3];
};
BlockRam<TestBlocks> g_test_blocks;
}  // namespace

TEST(StartUp, InitBlkRamClearsEveryAreaAndPresetsThePermissives) {
    for (uint32_t k = 0; k < NUM_mr_b; ++k) mr_b[k] = 1;
    for (uint32_t k = 0; k < NUM_mr_r; ++k) mr_r[k] = -1.0f;
    for (uint32_t k = 0; k < NUM_mr_c; ++k) mr_c[k].s[0] = 'x';
    for (uint32_t k = 0; k < NUM_up_r; ++k) up_r[k] = 3.0f;
    for (uint32_t k = 0; k < NUM_dn_t; ++k) dn_t[k] = {1, 2};
    mw_r[0] = 4.0f;
    _zblock[32] = 5.0f;
    _zblockb[0] = 1;
    sched_move_R10_R160 = 1;
    sched_move_R80_R160 = 1;
    _SYS_INFO_FAULT = 3;
    _SYS_INFO_TS_CLOCK_5 = {7, 8};
    g_test_blocks.dly.e_on = 1.0f;
    g_test_blocks.extra[2] = 2.0f;
    num_ll_c = 0;

    init_blk_ram();

    for (uint32_t k = 0; k < NUM_mr_b; ++k) EXPECT_EQ(mr_b[k], 0u);
    for (uint32_t k = 0; k < NUM_mr_r; ++k) EXPECT_EQ(mr_r[k], 0.0f);
    for (uint32_t k = 0; k < NUM_mr_c; ++k) EXPECT_EQ(mr_c[k].s[0], '\0');
    for (uint32_t k = 0; k < NUM_up_r; ++k) EXPECT_EQ(up_r[k], 0.0f);
    for (uint32_t k = 0; k < NUM_dn_t; ++k) EXPECT_EQ(dn_t[k].sec + dn_t[k].usec, 0u);
    EXPECT_EQ(mw_r[0], 0.0f);
    EXPECT_EQ(_zblock[32], 0.0f);
    EXPECT_EQ(_zblockb[0], 0u);
    EXPECT_EQ(sched_move_R10_R160 + sched_move_R80_R160, 0u);
    EXPECT_EQ(_SYS_INFO_FAULT, 0u);
    EXPECT_EQ(_SYS_INFO_TS_CLOCK_5.sec, 0u);
    EXPECT_EQ(_SYS_INFO_STOP_PER, 1u);
    EXPECT_EQ(_SYS_INFO_LOCK_PER, 1u);
    EXPECT_EQ(g_test_blocks.dly.e_on, 0.0f);
    EXPECT_EQ(g_test_blocks.extra[2], 0.0f);
    EXPECT_EQ(num_ll_c, 1);
    EXPECT_EQ(num_ll_i, 1);

    // zero_mem and init_REAL_mem with n = 0 touch nothing.
    float f[2] = {1.0f, 1.0f};
    zero_mem(f, 0);
    init_REAL_mem(f, 0, 9.0f);
    EXPECT_EQ(f[0], 1.0f);
    init_REAL_mem(f, 2, 9.0f);
    EXPECT_EQ(f[1], 9.0f);
    zero_mem(f, 4);
    EXPECT_EQ(f[0], 0.0f);
    EXPECT_EQ(f[1], 9.0f);
}
