// The directory's order and uniqueness and the lookups by name.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "runtime/catalogue_tables.h"
#include "runtime/dbug.h"
#include "app/sys_vars.h"
#include "tests/runtime_catalogue/fixture_cells.h"

namespace {

// Empty first and last records; modules in contiguous ranges, the first
// `num_hdr - 2 - nsys` in byte order; their fields ascending by block, then
// field; every name once in its module.
void expect_directory_sound(const DbugTables& t, uint32_t num_records, uint32_t nsys) {
    const uint32_t nmods = t.num_hdr - 2;
    EXPECT_EQ(t.var[0].type + t.var[num_records - 1].type, 0);
    uint32_t next = 1;
    for (uint32_t h = 1; h <= nmods; ++h) {
        const bool ordered = h <= nmods - nsys;
        EXPECT_EQ(t.hdr[h].first, next) << t.hdr[h].name;
        next = t.hdr[h].last + 1;
        EXPECT_TRUE(h == 1 || !ordered || std::strcmp(t.hdr[h - 1].name, t.hdr[h].name) < 0) << t.hdr[h].name;
        for (uint32_t r = t.hdr[h].first; r <= t.hdr[h].last; ++r) {
            EXPECT_NE(t.var[r].type, 0) << r;
            const std::string a = t.var[r - 1].name, b = t.var[r].name;
            const std::string ab = a.substr(0, a.find('.')), bb = b.substr(0, b.find('.'));
            EXPECT_TRUE(r == t.hdr[h].first || !ordered || ab < bb || (ab == bb && a < b)) << a << " before " << b;
            for (uint32_t q = t.hdr[h].first; q < r; ++q) EXPECT_STRNE(t.var[q].name, t.var[r].name);
        }
    }
    EXPECT_EQ(next, num_records - 1);
}

}  // namespace

TEST(Directory, FixtureAndApplicationDirectoriesAreOrderedAndUnique) {
    expect_directory_sound(fx::tables(), fx::num_records(), 0);
    const DbugTables app = app_dbug_tables();
    expect_directory_sound(app, num_dbug_var, 2);  // the two system modules last
    const DbugTables t = fx::tables();  // bytes: upper case before '_' before lower case
    EXPECT_STREQ(t.hdr[1].name, "FX_ACCEL");
    EXPECT_STREQ(t.hdr[t.num_hdr - 2].name, "_ub2");
}

// The size of the catalogue: records by type letter and by access, the
// tunable tables and the user-block aliases. A cell added or lost anywhere
// shows here.
TEST(Directory, CountsByTypeAndAccess) {
    std::map<char, int> byType, tunable;
    int plain = 0, service = 0;
    for (uint32_t r = 1; r + 1 < num_dbug_var; ++r) {
        ++byType[_dbug_var[r].type];
        plain += _dbug_var[r].access == ' ';
        service += _dbug_var[r].access == 'S';
        if (_dbug_var[r].access == '*') ++tunable[_dbug_var[r].type];
    }
    EXPECT_EQ(num_dbug_var, 16578u);
    EXPECT_EQ(byType, (std::map<char, int>{{'A', 3778}, {'B', 8583}, {'C', 866}, {'I', 2983}, {'T', 358}, {'U', 8}}));
    EXPECT_EQ(tunable, (std::map<char, int>{{'A', 912}, {'B', 917}, {'C', 179}, {'I', 583}}));
    EXPECT_EQ(service, 94);
    EXPECT_EQ(plain, 16576 - 94 - 2591);
    EXPECT_EQ(num_an_tune, 917u);  // the real tunables and the lag time constants written from the service side
    EXPECT_EQ(num_int_tune, 583u);
    // The sampled reals (the service side's exemption), and the outputs of
    // every sampled real and integer preset at start.
    EXPECT_EQ(num_samp_tunes, 75u);
    EXPECT_EQ(num_samp_presets, 188u);
    EXPECT_EQ(num_dbug_hdr, 232u);
    EXPECT_EQ(numUserBlockOutputMappings, 1764u);
}

namespace {
// Every instance of a block kind carries every output of its kind: a block
// with the kind's own output field has the kind's other outputs, with their
// type letters. The few instances that lack one are listed with the reason.
struct KindOutputs {
    const char* marker;  // the field that names the kind
    std::vector<std::pair<const char*, char>> outputs;
};
const KindOutputs kKinds[] = {
    {"ONE_SHOT", {{"R_TIME", 'I'}}},
    {"DELAY", {{"R_TIME", 'I'}}},
    {"B_ACTION", {{"ACT_OUT", 'I'}, {"E_TIME", 'A'}, {"R_TIME", 'A'}}},
    {"A_COMPARE", {{"A_EQUAL", 'B'}}},
    {"RAMP", {{"REV_RAMP", 'A'}, {"MOVING_UP", 'B'}, {"MOVING_DN", 'B'}, {"POS_SEL", 'I'}}},
    {"SAMP_TUNE", {{"LIMITED", 'B'}, {"EN_ENT_OUT", 'B'}, {"LO_LIM_OUT", 'A'}, {"HI_LIM_OUT", 'A'}}},
    {"SAMP_ITUNE", {{"LIMITED", 'B'}, {"EN_ENT_OUT", 'B'}, {"LO_LIM_OUT", 'I'}, {"HI_LIM_OUT", 'I'}}},
    {"SAMP_BTUNE", {{"EN_ENT_OUT", 'B'}}},
    {"SFC_STEP", {{"ACTIVETIME", 'A'}}},
    {"HSS_BUS", {{"HI_LIM_I", 'B'}, {"LO_LIM_I", 'B'}}},
    {"LSS_BUS", {{"HI_LIM_I", 'B'}, {"LO_LIM_I", 'B'}}},
};
// Instances whose kind's output is absent, with the reason.
const char* const kWithout[][2] = {
    {"START.RST_OS.R_TIME", "the pulse is computed outside this program (no writer of its ONE_SHOT either)"},
    {"CNFG_SETPT.USE_REDUC_OSPD.EN_ENT_OUT", "entry-enable input not given; the output would gate service writes"},
};

}  // namespace

TEST(Directory, EveryBlockCarriesTheOutputsOfItsKind) {
    std::map<std::string, std::map<std::string, char>> blocks;  // "MODULE.BLOCK" -> field -> type
    for (uint32_t h = 1; h + 1 < num_dbug_hdr; ++h)
        for (uint32_t r = _dbug_hdr[h].first; r <= _dbug_hdr[h].last; ++r) {
            const std::string name = _dbug_var[r].name;
            const size_t dot = name.rfind('.');
            if (dot == std::string::npos) continue;
            blocks[std::string(_dbug_hdr[h].name) + "." + name.substr(0, dot)][name.substr(dot + 1)] = _dbug_var[r].type;
        }
    std::set<std::string> without;
    for (const auto& w : kWithout) without.insert(w[0]);
    int checked = 0;
    std::set<std::string> excused;
    for (const auto& [block, fields] : blocks)
        for (const KindOutputs& k : kKinds) {
            if (fields.count(k.marker) == 0) continue;
            for (const auto& [field, type] : k.outputs) {
                const std::string cell = block + "." + field;
                ++checked;
                const auto it = fields.find(field);
                if (without.count(cell) != 0) {
                    EXPECT_TRUE(it == fields.end()) << cell << " is declared: leave it out of the list";
                    excused.insert(cell);
                    continue;
                }
                ASSERT_TRUE(it != fields.end()) << cell << " missing (" << k.marker << " block)";
                EXPECT_EQ(it->second, type) << cell;
            }
        }
    EXPECT_EQ(excused, without);
    EXPECT_GT(checked, 1000);
}

TEST(Lookup, AliasesInstancesTypeLettersAndBadNames) {
    // Each row: name, type letter given, result, letter after, the direct name of the same cell.
    const struct { const char* name; char type; int rc; char type_out; const char* same; } rows[] = {
        {"AI_EVENT.AI_01_EVENT.USE_SP1_IN", 0, 1, 'B', "_ub1.USE_SP1.IN"},  // alias first
        {"AI_EVENT.AI_01_EVENT.ALARM_LVL1.B_NAME", 0, 1, 'B', "_ub1.ALARM_LVL1.B_NAME"},
        {"AI_EVENT.AI_01.SIGNAL.B_NAME", 0, 1, 'B', "_ub2.SIGNAL.B_NAME"},  // a prefix instance, at its own dot
        {"FX_CTRL.ACT_LIM.A_SW", 0, 1, 'A', nullptr},                      // letter 0 returns the record's
        {"FX_CTRL.ACT_LIM.A_SW", 'B', -3, 'B', nullptr},                   // another letter: kept
        {"FX_CTRL.CASC_LAG.LAG_TAU", 0, -3, 'A', nullptr},                 // a service input
    };
    const DbugTables t = fx::tables();
    const char* rate = nullptr;
    for (const char* bad : {"FX_CTRL", "FX_CTRL.", ".X", "", "NOPE.ACT_LIM.A_SW", "FX_CTRL.ACT_LIM", "fx_ctrl.ACT_LIM.A_SW"}) {
        char type = 0;
        CellRef ref = 0x12345;
        EXPECT_EQ(get_dbug_address_in(t, bad, &type, 0, &ref, &rate), -2) << bad;
        EXPECT_EQ(ref, 0x12345u) << bad;  // nothing written on failure
    }
    for (const auto& row : rows) {
        char type = row.type;
        CellRef ref = 0, direct = 0;
        EXPECT_EQ(get_dbug_address_in(t, row.name, &type, 0, &ref, &rate), row.rc) << row.name;
        EXPECT_EQ(type, row.type_out) << row.name;
        if (!row.same) continue;
        ASSERT_EQ(get_dbug_address_in(t, row.same, &(type = 0), 0, &direct, &rate), 1) << row.same;
        EXPECT_EQ(ref, direct) << row.name;
    }
    char type = 0;
    CellRef ref = 0;
    EXPECT_EQ(get_dbug_address_in(t, "FX_CTRL.ACT_LIM.A_SW", &type, 1, &ref, &rate), -4);  // attribute bit 0 clear
    ASSERT_EQ(get_dbug_address_in(t, "FX_ACCEL.SS_DERIV_FILT.LAG_TAU", &type, 0, &ref, &rate), 1);
    EXPECT_EQ(ref_area(ref), AREA_mr_r);  // a tunable resolves to its cell, not its limits record
    // The same for the application's real and integer tunables.
    const DbugTables app = app_dbug_tables();
    const struct { const char* name; AreaCode area; } tunes[] = {
        {"CNFG_SPEED.SPD1_GEAR.IN", AREA_mr_r},
        {"CNFG_SPEED.SPD1_TEETH.IN", AREA_mr_i},
        {"CNFG_SPEED.SPD2_TEETH.IN", AREA_mr_i},
        {"MPU_OVRD.INHIB_MIN1.IN_1", AREA_mr_b},  // a boolean tunable is its own cell
    };
    for (const auto& tn : tunes) {
        type = 0;
        ASSERT_EQ(get_dbug_address_in(app, tn.name, &type, 0, &ref, &rate), 1) << tn.name;
        EXPECT_EQ(ref_area(ref), tn.area) << tn.name;
    }
    // Every user-block instance has the designer's name; the hardware
    // serial-number block's outputs are found under it as under its module.
    ASSERT_EQ(numUserBlockNames, 91u);
    for (uint32_t k = 0; k < numUserBlockNames; ++k) EXPECT_NE(UserBlockNames[k][0], '\0') << "_ub" << k + 1;
    EXPECT_STREQ(UserBlockNames[23], "IFACE_MODE.GET_HW_SN");
    CellRef byInstance = 0, byModule = 0;
    type = 0;
    ASSERT_EQ(get_dbug_address_in(app, "IFACE_MODE.GET_HW_SN._C_FUNC.I_OUT_2", &type, 0, &byInstance, &rate), 1);
    EXPECT_EQ(type, 'I');
    type = 0;
    ASSERT_EQ(get_dbug_address_in(app, "_ub24._C_FUNC.I_OUT_2", &type, 0, &byModule, &rate), 1);
    EXPECT_EQ(byInstance, byModule);
    // The controller's analog outputs show their Modbus multiplier settings
    // and the actuator its function setting under their outside names; the
    // remote node's outputs have none.
    const struct { const char* outside; const char* inner; } settings[] = {
        {"CNFG_AO.AO_01.QT_MODAO_X", "_ub10.AO_MOD_X.IN"},
        {"CNFG_AO.AO_02.QT_MODAO_X", "_ub11.AO_MOD_X.IN"},
        {"CNFG_AO.AO_03.QT_MODAO_X", "_ub12.AO_MOD_X.IN"},
        {"CNFG_ACT.ACT_01.QT_ACT_FUNCT", "_ub5.FUNCT.IN"},
    };
    for (const auto& st : settings) {
        CellRef outside = 0, inner = 0;
        type = 0;
        ASSERT_EQ(get_dbug_address_in(app, st.outside, &type, 0, &outside, &rate), 1) << st.outside;
        EXPECT_EQ(type, 'I') << st.outside;
        type = 0;
        ASSERT_EQ(get_dbug_address_in(app, st.inner, &type, 0, &inner, &rate), 1) << st.inner;
        EXPECT_EQ(outside, inner) << st.outside;
    }
    EXPECT_EQ(get_dbug_address_in(app, "VL1_AIO.CNFG_AO_01.QT_MODAO_X", &type, 0, &ref, &rate), -2);
}

TEST(Lookup, OverlongNamesInExactSizeBuffersAreRejected) {
    // Each name sits in a buffer of its exact size, so a read past the end
    // shows under the address sanitizer.
    auto exact = [](const std::string& s) {
        auto p = std::make_unique<char[]>(s.size() + 1);
        std::memcpy(p.get(), s.c_str(), s.size() + 1);
        return p;
    };
    char mod[kDbugModuleBytes], fld[kDbugFieldBytes], type = 0;
    CellRef ref = 0;
    const char* rate = nullptr;
    const DbugTables t = fx::tables();
    auto m63 = exact(std::string(63, 'M') + ".BLK.F");
    EXPECT_EQ(parseCatBlkFld_in(t, m63.get(), mod, fld), 1);
    EXPECT_EQ(std::strlen(mod), 63u);
    // A module part of 64 characters, a field part and an instance-rule field longer than their buffers.
    for (const std::string& s : {std::string(64, 'M') + ".BLK.F", "FX_CTRL." + std::string(kDbugFieldBytes, 'F'),
                                 "AI_EVENT.AI_01_EVENT." + std::string(kDbugFieldBytes, 'F')}) {
        auto p = exact(s);
        EXPECT_EQ(parseCatBlkFld_in(t, p.get(), mod, fld), 0) << s.size();
        EXPECT_EQ(get_dbug_address_in(t, p.get(), &type, 0, &ref, &rate), -2) << s.size();
    }
    // Names shorter than an instance name never read past their end.
    for (const char* s : {"A", "AI_EVENT", "AI_EVENT.AI_0", "AI_EVENT.AI_01_EV"})
        EXPECT_EQ(get_dbug_address_in(t, exact(s).get(), &type, 0, &ref, &rate), -2) << s;
    // An alias whose inner module part is too long gives 0; one without a dot
    // among its first 128 inner characters is passed over.
    std::string alias = "X.Y.Z " + std::string(100, 'Q') + ".B.F";
    const char* aliases[] = {alias.c_str()};
    DbugTables ta = t;
    ta.ub_mappings = aliases;
    ta.num_ub_mappings = 1;
    EXPECT_EQ(parseCatBlkFld_in(ta, "X.Y.Z", mod, fld), 0);
    alias = "X.Y.Z " + std::string(130, 'Q') + ".F";
    aliases[0] = alias.c_str();
    EXPECT_EQ(parseCatBlkFld_in(ta, "X.Y.Z", mod, fld), 1);
    EXPECT_STREQ(fld, "Y.Z");
}

// Every text slot of the application's system module after initialisation,
// whatever it held before: the build's own texts, the identifier defaults,
// the coder's date, each program file at its slot with its date after it.
TEST(SystemTexts, EverySlotAfterInitialisation) {
    for (auto& t : sys_text) str_cell_copy(t, "stale");
    num_tiq_files = 0;
    sys_vars_init();
    sys_text_set(NUM_SYS_TEXT, "past the end");  // ignored
    const char* const files[kNumTiqFiles] = {
        "9902-4411_e.100.TIQ4", "ORVX_HW.100.Module",    "VELTRA_HT.100.Module",
        "CONFIG.100.Module",    "START_SEQ.100.Module",  "SPEED_CTRL.100.Module",
        "CASC_CTRL.100.Module", "VALVE_DMD.100.Module",  "MANUL_VLV.100.Module",
        "EVENTS.100.Module",    "COMMS.100.Module",      "SIM.100.Module",
    };
    std::vector<std::string> want(NUM_SYS_TEXT);
    want[APP_NAME] = "9902-4411_e";
    want[APP_BUILD_DATE] = "Mon Apr 20 07:44:46 2026";
    want[APP_CDR_DATE] = "2026-04-20 07.44.46";
    want[APP_CONFIG_ID] = "Dflt Config ID";
    want[APP_CONTROL_ID] = "Dflt Control ID";
    for (uint32_t k = APP_CUSTOM1; k <= APP_CUSTOM4; ++k) want[k] = "NoVal";
    for (uint32_t f = 0; f < kNumTiqFiles; ++f) {
        want[APP_TIQFILE1 + 2 * f] = files[f];
        want[APP_TIQFILE1 + 2 * f + 1] = "2026/02/17 20:20:27 UTC";
    }
    for (uint32_t k = 0; k < NUM_SYS_TEXT; ++k) EXPECT_EQ(std::string(sys_text[k].s), want[k]) << "slot " << k;
    EXPECT_EQ(num_tiq_files, 12);
    sys_text_set(APP_CUSTOM2, std::string(60, 'x').c_str());
    EXPECT_EQ(std::string(sys_text[APP_CUSTOM2].s), std::string(39, 'x'));
}
