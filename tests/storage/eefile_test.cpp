// The tunables file through restarts: init_eeram after the application
// memory was cleared, update_ee while running, on a real directory.
#include <cstring>
#include <random>
#include <regex>

#include "app/sys_vars.h"
#include "platform/vkos.h"
#include "platform/vkosfile.h"
#include "runtime/appmem.h"
#include "runtime/catalogue_tables.h"
#include "runtime/dbug.h"
#include "runtime/sysinfo.h"
#include "storage/eefile.h"
#include "tests/storage/storage_fixture.h"

using storage_test::be32;
using storage_test::readBe32;

namespace {

const std::string kFile = "9902-4411_e.ee";
const std::string kTemp = "9902-4411_e.ee.tmp";
const std::string kLine1 = "EE Tunables Save File (Binary Format)\n";
const std::string kLine2 = "Application \"9902-4411_e\" CODER-generated Mon Apr 20 07:44:46 2026\n";

uint32_t bytesOf(const EeInitEntry& e) {
    switch (e.kind & 0xFFFF) {
        case EE_STRNG: return 40;
        case EE_MOEDATE: return 28;
        default: return 4;
    }
}
const EeInitEntry* firstOf(uint32_t kind) {
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e)
        if ((e->kind & 0xFFFF) == kind) return e;
    return nullptr;
}
const EeInitEntry* lastEntry() {
    const EeInitEntry* e = _eeinittab;
    while (e[1].kind != kEeTableEnd) ++e;
    return e;
}
size_t headingBytes() { return kLine1.size() + kLine2.size(); }
size_t offsetOf(const EeInitEntry* target) {
    size_t at = headingBytes();
    for (const EeInitEntry* e = _eeinittab; e != target; ++e) at += bytesOf(*e);
    return at;
}
size_t valuesEnd() { return offsetOf(lastEntry()) + bytesOf(*lastEntry()); }
size_t completeSize() { return valuesEnd() + 12 + 6 * 32; }

// The limits of the tunable an entry saves (false for one without).
bool limitsOf(const EeInitEntry* e, double& lo, double& hi) {
    for (uint32_t a = 0; a < num_an_tune; ++a)
        if (cell_ptr(_an_tune[a].cell) == e->live) return lo = _an_tune[a].min, hi = _an_tune[a].max, true;
    for (uint32_t a = 0; a < num_int_tune; ++a)
        if (cell_ptr(_int_tune[a].cell) == e->live) return lo = _int_tune[a].min, hi = _int_tune[a].max, true;
    return false;
}

// A value of each kind within its tunable's limits that differs from its
// default (and from the other variants), put into a live cell.
void setChanged(const EeInitEntry* e, int variant) {
    ee_note_written(e->live);  // as the service side's write does
    double lo = -1e6, hi = 1e6;
    limitsOf(e, lo, hi);
    switch (e->kind & 0xFFFF) {
        case EE_REAL: {
            float v = static_cast<float>(lo + (hi - lo) * (0.3 + 0.1 * variant));
            if (v == *static_cast<const float*>(e->dflt)) v = static_cast<float>(lo + (hi - lo) * (0.35 + 0.1 * variant));
            *static_cast<float*>(e->live) = v;
            break;
        }
        case EE_INTEGER: {
            const int64_t span = static_cast<int64_t>(hi - lo) + 1;
            const int64_t from = *static_cast<const int32_t*>(e->dflt) - static_cast<int64_t>(lo);
            const int64_t step = span > 1 ? 1 + variant % (span - 1) : 0;  // never back to the default
            *static_cast<int32_t*>(e->live) = static_cast<int32_t>(static_cast<int64_t>(lo) + (from + step) % span);
            break;
        }
        case EE_VKBOOLEAN: *static_cast<uint32_t*>(e->live) = *static_cast<const uint32_t*>(e->dflt) ^ 1u; break;
        case EE_STRNG: str_cell_copy(*static_cast<StrCell*>(e->live), variant ? "Other text" : "Saved text"); break;
    }
}
bool isDefault(const EeInitEntry* e) {
    return std::memcmp(e->live, e->dflt, (e->kind & 0xFFFF) == EE_STRNG ? 40 : 4) == 0;
}
bool liveEquals(const EeInitEntry* e, const std::string& file, size_t at) {
    if ((e->kind & 0xFFFF) == EE_STRNG) return std::memcmp(e->live, file.data() + at, 40) == 0;
    uint32_t w;
    std::memcpy(&w, e->live, 4);
    return readBe32(file, at) == w;
}

const EeInitEntry* entryOfCell(const char* name) {
    CellRef ref = 0;
    char type = 0;
    const char* rate = nullptr;
    if (get_dbug_address(name, &type, 0, &ref, &rate) != 1) return nullptr;
    void* cell = cell_ptr(ref);
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e)
        if (e->live == cell) return e;
    return nullptr;
}

// Every value `file` holds whole is in force, but those of `lost` and every
// one from `lostFrom` on, which are at their defaults.
::testing::AssertionResult inForce(const std::string& file, std::vector<const EeInitEntry*> lost = {},
                                   const EeInitEntry* lostFrom = nullptr) {
    int wrong = 0;
    std::string first;
    for (const EeInitEntry* e = _eeinittab + 1; e->kind != kEeTableEnd; ++e) {
        const bool gone = (lostFrom != nullptr && e >= lostFrom) || std::find(lost.begin(), lost.end(), e) != lost.end();
        if (gone ? isDefault(e) : liveEquals(e, file, offsetOf(e))) continue;
        if (wrong++ == 0) first = "entry at byte " + std::to_string(offsetOf(e)) + (gone ? " not at its default" : "");
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " values not as the file holds them, first the " << first;
}

class TunablesFile : public storage_test::StorageFixture {
protected:
    void SetUp() override {
        StorageFixture::SetUp();
        eefile_reset();
    }
    // A restart: the application memory cleared, the module at its load-time
    // state, then the start-up load.
    int restart() {
        int r = -1;
        inTask([&] {
            init_blk_ram();
            eefile_reset();
            r = init_eeram();
        });
        return r;
    }
    int save() {
        int r = -1;
        inTask([&] { r = update_ee(); });
        return r;
    }
    // A file of this build with every kind changed (the first entry of each).
    std::string savedWithChanges() {
        restart();
        for (uint32_t kind : {EE_REAL, EE_INTEGER, EE_VKBOOLEAN, EE_STRNG}) setChanged(firstOf(kind), 0);
        EXPECT_EQ(save(), 1);
        return contents(kFile);
    }
};

TEST_F(TunablesFile, NoFileGivesDefaultsAndAFreshBinaryFile) {
    EXPECT_EQ(restart(), 0);
    EXPECT_EQ(new_application_flag, 1);
    EXPECT_EQ(ExistingEEFile, 1);
    for (const EeInitEntry* e = _eeinittab + 1; e->kind != kEeTableEnd; ++e) EXPECT_TRUE(isDefault(e));
    const std::string f = contents(kFile);
    ASSERT_EQ(f.size(), completeSize());
    EXPECT_EQ(f.substr(0, headingBytes()), kLine1 + kLine2);
    EXPECT_EQ(std::string(f.c_str() + headingBytes()), "Mon Apr 20 07:44:46 2026");
    const size_t pw = valuesEnd();
    const uint16_t want[6] = {7519, 5917, 6194, 8359, 5689, 6879};
    for (int g = 0; g < 6; ++g)
        EXPECT_EQ((static_cast<uint8_t>(f[pw + 2 * g]) << 8) | static_cast<uint8_t>(f[pw + 2 * g + 1]), want[g]);
    const char* ids[6] = {"Dflt Config ID", "Dflt Control ID", "NoVal", "NoVal", "NoVal", "NoVal"};
    for (int k = 0; k < 6; ++k) EXPECT_STREQ(f.c_str() + pw + 12 + 32 * k, ids[k]);
    EXPECT_EQ(service_pwds[0], 7519);
    EXPECT_STREQ(ee_ControlID, "Dflt Control ID");
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: No existing save-file: " + kFile));
    for (const std::string& l : events()) EXPECT_EQ(l.find("Error"), std::string::npos) << "nothing to report: " << l;
    EXPECT_FALSE(exists(kTemp));
}

struct KindCase {
    const char* name;
    uint32_t kind;
};
class TunableKinds : public TunablesFile, public ::testing::WithParamInterface<KindCase> {};

TEST_P(TunableKinds, ValueComesBackAfterARestart) {
    restart();
    const EeInitEntry* e = firstOf(GetParam().kind);
    ASSERT_NE(e, nullptr);
    const EeInitEntry* last = nullptr;
    for (const EeInitEntry* p = _eeinittab; p->kind != kEeTableEnd; ++p)
        if ((p->kind & 0xFFFF) == GetParam().kind) last = p;
    setChanged(e, 0);
    setChanged(last, 1);
    ASSERT_EQ(save(), 1);
    // Big-endian, at the entry's place in table order.
    const std::string f = contents(kFile);
    EXPECT_TRUE(liveEquals(e, f, offsetOf(e)));
    EXPECT_TRUE(liveEquals(last, f, offsetOf(last)));
    EXPECT_EQ(restart(), 1);
    EXPECT_EQ(new_application_flag, 0);
    EXPECT_FALSE(isDefault(e));
    EXPECT_FALSE(isDefault(last));
    EXPECT_TRUE(liveEquals(e, f, offsetOf(e)));
    EXPECT_TRUE(liveEquals(last, f, offsetOf(last)));
    EXPECT_EQ(contents(kFile), f) << "loading does not rewrite a complete file";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, TunableKinds,
                         ::testing::Values(KindCase{"Real", EE_REAL}, KindCase{"Integer", EE_INTEGER},
                                           KindCase{"Boolean", EE_VKBOOLEAN}, KindCase{"String", EE_STRNG}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TunablesFile, IdentifiersAndPasswordsComeBackAfterARestart) {
    restart();
    std::strcpy(ee_ControlID, "Turbine 7");
    std::strcpy(ee_Custom4, "Unit B");
    fault_pwds[0] = 4242;
    ASSERT_EQ(save(), 1) << "a changed identifier alone rewrites the file";
    EXPECT_STREQ(sys_text[APP_CONTROL_ID].s, "Turbine 7");
    EXPECT_EQ(restart(), 1);
    EXPECT_STREQ(ee_ControlID, "Turbine 7");
    EXPECT_STREQ(OLDee_ControlID, "Turbine 7");
    EXPECT_STREQ(ee_Custom4, "Unit B");
    EXPECT_STREQ(sys_text[APP_CONTROL_ID].s, "Turbine 7");
    EXPECT_EQ(fault_pwds[0], 4242);
    std::strcpy(ee_ConfigID, "Plant C");
    ASSERT_EQ(save(), 1);
    EXPECT_STREQ(contents(kFile).c_str() + valuesEnd() + 12, "Plant C") << "the first identifier alone too";
}

TEST_F(TunablesFile, NothingChangedWritesNothing) {
    restart();
    const std::string before = contents(kFile);
    hostfs::setRenameFault(true);  // a write would now fail
    EXPECT_EQ(save(), 1);
    fault_pwds[0] = 1;
    EXPECT_EQ(save(), 1) << "passwords alone are not compared";
    EXPECT_EQ(_SYS_INFO_EE_BUSY, 0u);
    EXPECT_FALSE(exists(kTemp));
    EXPECT_EQ(contents(kFile), before);
}

TEST_F(TunablesFile, PendingRewriteOfAnEarlierRunIsForgottenAtTheNextStart) {
    const std::string good = savedWithChanges();
    put(kFile, good.substr(0, good.size() - 1));
    hostfs::setRenameFault(true);  // the start can neither keep it aside nor replace it
    EXPECT_EQ(restart(), 1) << "a file cut in its identifiers keeps its values";
    ASSERT_EQ(ee_file_dirty, 1) << "a short file is to be rewritten";
    EXPECT_TRUE(hasEvent("event 6: Error keeping the Damaged save-file " + kFile));
    EXPECT_EQ(save(), 0);
    put(kFile, good);
    int r = -1;
    inTask([&] {  // the application started again in the same process
        init_blk_ram();
        r = init_eeram();
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(save(), 1) << "a complete file loaded: nothing to write";
    hostfs::setRenameFault(false);
}

struct ForeignCase {
    const char* name;
    std::string file;
    const char* message;  // "" for none
};
class ForeignFiles : public TunablesFile, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ForeignFiles, AreIgnoredAndReplaced) {
    const std::string good = savedWithChanges();
    // The foreign heading followed by the values of a good file.
    put(kFile, GetParam().file + good.substr(headingBytes()));
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 0);
    EXPECT_EQ(new_application_flag, 1);
    for (const EeInitEntry* e = _eeinittab + 1; e->kind != kEeTableEnd; ++e) ASSERT_TRUE(isDefault(e));
    const std::string f = contents(kFile);
    EXPECT_EQ(f.size(), completeSize());
    EXPECT_EQ(f.substr(0, headingBytes()), kLine1 + kLine2);
    if (*GetParam().message) {
        EXPECT_TRUE(hasEvent(std::string("event 3: ") + GetParam().message));
        EXPECT_TRUE(hasEvent("event 3: Initializing EE: Creating new save-file: " + kFile));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headings, ForeignFiles,
    ::testing::Values(
        ForeignCase{"EarlierBuildDate", kLine1 + "Application \"9902-4411_e\" CODER-generated Mon Apr 20 07:44:45 2026\n",
                    "Error in ReadValidateEEFileHeading (Invalid ApplicationName or CoderDate)"},
        ForeignCase{"OtherApplication", kLine1 + "Application \"9902-4411_f\" CODER-generated Mon Apr 20 07:44:46 2026\n",
                    "Error in ReadValidateEEFileHeading (Invalid ApplicationName or CoderDate)"},
        ForeignCase{"TextMode", "EE Tunables Save File (Text Format)\n" + kLine2, ""},
        ForeignCase{"UnknownMarker", "EE Tunables Save File (Binary Format) \n" + kLine2,
                    "Error in ReadValidateEEFileHeading (Cannot read FileMode marker)"},
        ForeignCase{"OverlongFirstLine", std::string(5000, 'E') + "\n" + kLine2,
                    "Error in ReadValidateEEFileHeading (Cannot read FileMode marker)"},
        ForeignCase{"OverlongSecondLine", kLine1 + kLine2.substr(0, kLine2.size() - 1) + std::string(300, 'x') + "\n",
                    "Error in ReadValidateEEFileHeading (Invalid ApplicationName or CoderDate)"},
        ForeignCase{"NoLineFeedAtAll", std::string(70000, 'z'),
                    "Error in ReadValidateEEFileHeading (Cannot read FileMode marker)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TunablesFile, HeadingWithBlanksAndCarriageReturnsIsAccepted) {
    const std::string good = savedWithChanges();
    put(kFile, " \t" + kLine1.substr(0, kLine1.size() - 1) + "\r\n\t" + kLine2 + good.substr(headingBytes()));
    EXPECT_EQ(restart(), 1);
    EXPECT_FALSE(isDefault(firstOf(EE_REAL)));
}

// Bodies behind a heading of this build that are not this build's values:
// reported, not loaded, kept aside under a name of their own, and a fresh
// file written. The bytes after the date's NUL name the table only as a
// hint: a file whose padding there differs or is zero (as another writer
// leaves it) is taken when it has a whole file's length, each of its
// values judged as in a file that names the table (a stray value takes
// its default and is named, and a whole file is written in its place), and
// refused as another table's when its length or three values in a row
// show another structure.
struct BodyCase {
    const char* name;
    int change;         // 0 another date, 1 random bytes, 2 other padding, 3 no fingerprint,
                        // 4 other padding and an entry more, 5 no fingerprint and a value out of limits,
                        // 6 other padding and one byte short, 7 no fingerprint and two values out of limits,
                        // 8 no fingerprint and three values in a row out of limits
    const char* event;  // "" when the file loads
    int strays;         // values of a loaded file that take their defaults
};
class Bodies : public TunablesFile, public ::testing::WithParamInterface<BodyCase> {};

// Three booleans side by side in the table.
const EeInitEntry* threeBooleansInARow() {
    for (const EeInitEntry* e = _eeinittab; e[2].kind != kEeTableEnd; ++e)
        if ((e[0].kind & 0xFFFF) == EE_VKBOOLEAN && (e[1].kind & 0xFFFF) == EE_VKBOOLEAN &&
            (e[2].kind & 0xFFFF) == EE_VKBOOLEAN)
            return e;
    return nullptr;
}

TEST_P(Bodies, OfAnotherBuildAreReportedAndKept) {
    std::string f = savedWithChanges();
    const size_t date = headingBytes();
    ASSERT_EQ(f.compare(date, 25, std::string("Mon Apr 20 07:44:46 2026", 25)), 0);
    const uint32_t mark = (uint32_t{uint8_t(f[date + 25])} << 16) | (uint32_t{uint8_t(f[date + 26])} << 8) |
                          uint8_t(f[date + 27]);
    ASSERT_EQ(mark, ee_fingerprint()) << "a file of this build names its table";
    ASSERT_NE(mark, 0u);
    const int change = GetParam().change;
    if (change == 2 || change == 4 || change == 6) f[date + 27] = static_cast<char>(f[date + 27] ^ 0x40);
    if (change == 3 || change == 5 || change == 7 || change == 8) f.replace(date + 25, 3, std::string(3, '\0'));
    const EeInitEntry* trip = entryOfCell("CNFG_SETPT.QT_OSPD_TRIP.IN");
    const EeInitEntry* function = entryOfCell("_ub5.ACT_FUNCTION.TUNE");
    const EeInitEntry* row = threeBooleansInARow();
    ASSERT_NE(row, nullptr);
    switch (change) {
        case 0: f[date + 3] = 'X'; break;  // "MonXApr ..."
        case 1: {
            std::mt19937 random(38);
            for (size_t k = date; k < f.size(); ++k) f[k] = static_cast<char>(random());
            break;
        }
        case 4: f.insert(date + 28, be32(0)); break;
        case 7: f.replace(offsetOf(function), 4, be32(0x80000000u)); [[fallthrough]];
        case 5: f.replace(offsetOf(trip), 4, be32(0x7149F2CAu)); break;
        case 6: f.pop_back(); break;
        case 8:
            for (int k = 0; k < 3; ++k) f.replace(offsetOf(row + k), 4, be32(2));
            break;
    }
    put(kFile, f);
    const std::string older = "older settings";
    put(kFile + ".rejected1", older);
    hostplatform::clearMessages();
    const bool loads = *GetParam().event == '\0';
    const int strays = GetParam().strays;
    EXPECT_EQ(restart(), loads ? 1 : 0);
    EXPECT_EQ(isDefault(firstOf(EE_REAL)), !loads);
    EXPECT_EQ(isDefault(firstOf(EE_STRNG)), !loads);
    EXPECT_EQ(contents(kFile + ".rejected1"), older) << "a kept file is never overwritten";
    const std::vector<const EeInitEntry*> lost =
        strays == 2 ? std::vector{trip, function} : strays == 1 ? std::vector{trip} : std::vector<const EeInitEntry*>{};
    if (loads) {
        EXPECT_TRUE(inForce(f, lost));
        EXPECT_EQ(eventsStartingWith("event 3: Error in ReadEETable(REAL): CNFG_SETPT.QT_OSPD_TRIP.IN: "),
                  strays >= 1 ? 1 : 0);
        EXPECT_EQ(eventsStartingWith("event 3: Error in ReadEETable(INTEGER): _ub5.ACT_FUNCTION.TUNE: "),
                  strays >= 2 ? 1 : 0);
        if (strays == 0) {
            EXPECT_EQ(contents(kFile), f);
            EXPECT_FALSE(exists(kFile + ".rejected2"));
            return;
        }
        EXPECT_EQ(contents(kFile + ".rejected2"), f);
        EXPECT_TRUE(hasEvent("event 3: Initializing EE: Damaged save-file kept as " + kFile + ".rejected2"));
        const std::string fresh = contents(kFile);
        ASSERT_EQ(fresh.size(), completeSize());
        EXPECT_EQ(readBe32(fresh, date + 24) & 0xFFFFFFu, ee_fingerprint()) << "the file written names the table";
        EXPECT_EQ(restart(), 1);
        EXPECT_TRUE(inForce(f, lost)) << "after the second start";
        EXPECT_EQ(contents(kFile), fresh);
        EXPECT_FALSE(exists(kFile + ".rejected3"));
        return;
    }
    EXPECT_EQ(eventsStartingWith(std::string("event 3: ") + GetParam().event), 1) << ::testing::PrintToString(events());
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Refused save-file kept as " + kFile + ".rejected2"));
    EXPECT_EQ(std::string(ee_kept_name()), kFile + ".rejected2");
    EXPECT_EQ(contents(kFile + ".rejected2"), f);
    EXPECT_EQ(contents(kFile).size(), completeSize());
    EXPECT_EQ(new_application_flag, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, Bodies,
    ::testing::Values(
        BodyCase{"AnotherDate", 0, "Error in ReadEETable(MOEDATE): values of another build date", 0},
        BodyCase{"RandomBytes", 1, "Error in ReadEETable(MOEDATE): values of another build date", 0},
        BodyCase{"PaddingDiffers", 2, "", 0}, BodyCase{"NoFingerprint", 3, "", 0},
        BodyCase{"AnotherTableWithAnEntryMore", 4, "Error in ReadEETable(MOEDATE): values of another table", 0},
        BodyCase{"NoFingerprintAndAValueOutOfLimits", 5, "", 1},
        BodyCase{"UnnamedTableCutShort", 6, "Error in ReadEETable(MOEDATE): values of another table", 0},
        BodyCase{"NoFingerprintAndTwoValuesOutOfLimits", 7, "", 2},
        BodyCase{"NoFingerprintAndThreeInARowOutOfLimits", 8,
                 "Error in ReadEETable: not this table's structure: 3 in a row out of limits", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// What no tunables file can be: a pipe, a link to a device, a first line of
// 30 MB. Start-up reports it without waiting on it or reading it through,
// keeps it aside and writes a fresh file.
struct HostileEeCase {
    const char* name;
    int kind;
    const char* event;
};
class HostileTunablesFiles : public TunablesFile, public ::testing::WithParamInterface<HostileEeCase> {};

TEST_P(HostileTunablesFiles, AreReportedKeptAndReplaced) {
    putHostile(kFile, GetParam().kind);
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 0);
    EXPECT_TRUE(hasEvent(std::string("event 3: ") + GetParam().event));
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Refused save-file kept as " + kFile + ".rejected1"));
    EXPECT_EQ(contents(kFile).size(), completeSize());
    const auto kept = std::filesystem::symlink_status(path(kFile + ".rejected1")).type();
    EXPECT_EQ(kept, GetParam().kind == storage_test::kPipe         ? std::filesystem::file_type::fifo
                    : GetParam().kind == storage_test::kLinkToZero ? std::filesystem::file_type::symlink
                                                                    : std::filesystem::file_type::regular);
    EXPECT_EQ(restart(), 1) << "the fresh file loads";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, HostileTunablesFiles,
    ::testing::Values(HostileEeCase{"NamedPipe", storage_test::kPipe,
                                    "Initializing EE: Cannot read save-file 9902-4411_e.ee (not a regular file)"},
                      HostileEeCase{"LinkToDevZero", storage_test::kLinkToZero,
                                    "Initializing EE: Cannot read save-file 9902-4411_e.ee (not a regular file)"},
                      HostileEeCase{"HugeFirstLine", storage_test::kHugeLine,
                                    "Error in ReadValidateEEFileHeading (Cannot read FileMode marker)"}),
    [](const auto& info) { return std::string(info.param.name); });

// Cut points of a good file, relative to the places of its parts. A file
// cut short before the end of its date is refused whole: every tunable,
// password and identifier takes its default. One cut inside the values
// keeps those before the cut; the value cut and all after it, the
// passwords and the identifiers take their defaults. One whose damage lies
// after the values keeps every value; the part cut and those after it take
// their defaults. Either way the file is kept aside as it was and a whole
// file with what was taken takes its place, which the next start loads.
struct CutCase {
    const char* name;
    int where;  // 0 heading, 1 date, 2 second entry, 3 last entry, 4 passwords, 5 identifiers, 6 last byte,
                // 7 one byte longer
    int ids;    // identifiers taken from the file; -1: no value taken
};
class TruncatedFiles : public TunablesFile, public ::testing::WithParamInterface<CutCase> {};

TEST_P(TruncatedFiles, AreKeptAsideWithWhatTheirDamageSpared) {
    const std::string good = savedWithChanges();
    const EeInitEntry* second = _eeinittab + 1;
    setChanged(second, 3);
    setChanged(lastEntry(), 2);
    std::strcpy(ee_ConfigID, "Plant A");
    std::strcpy(ee_Custom4, "Site 4");
    ee_dnld_pwds[0] = 1234;
    ASSERT_EQ(save(), 1);
    const std::string full = contents(kFile);
    const size_t cuts[] = {headingBytes() - 5, headingBytes() + 10, offsetOf(second) + 2, offsetOf(lastEntry()) + 1,
                           valuesEnd() + 3,    valuesEnd() + 12 + 40, full.size() - 1,     full.size() + 1};
    const int where = GetParam().where;
    const size_t cut = cuts[where];
    const std::string damaged = cut > full.size() ? full + '\n' : full.substr(0, cut);
    put(kFile, damaged);
    hostplatform::clearMessages();
    const int ids = GetParam().ids;
    EXPECT_EQ(restart(), ids < 0 ? 0 : 1);
    EXPECT_EQ(new_application_flag, ids < 0 ? 1 : 0);
    EXPECT_EQ(isDefault(second), where <= 2);
    EXPECT_EQ(isDefault(lastEntry()), where <= 3);
    if (ids >= 0) {
        EXPECT_TRUE(inForce(full, {}, where == 2 ? second : where == 3 ? lastEntry() : nullptr));
    }
    EXPECT_STREQ(ee_ConfigID, ids >= 1 ? "Plant A" : "Dflt Config ID");
    EXPECT_STREQ(ee_Custom4, ids >= 6 ? "Site 4" : "NoVal");
    EXPECT_EQ(ee_dnld_pwds[0], where >= 5 ? 1234 : 6879);
    EXPECT_EQ(contents(kFile + ".rejected1"), damaged);
    const std::string sizes = std::to_string(damaged.size()) + " bytes, not " + std::to_string(full.size());
    if (where == 2 || where == 3) {
        const char* const kinds[] = {"REAL", "INTEGER", "VKBOOLEAN", "VKTIMER", "STRNG"};
        const char* kind = kinds[(where == 2 ? second : lastEntry())->kind & 0xFFFF];
        EXPECT_TRUE(hasEvent(std::string("event 6: Error in ReadEETable(") + kind + ")"));
        EXPECT_TRUE(hasEvent("event 6: Error in ReadEETable: cut short inside the values: " + sizes));
        const auto ev = events();
        EXPECT_EQ(std::count_if(ev.begin(), ev.end(), [](const std::string& l) {
            return std::regex_match(l, std::regex("event 6: Error in ReadEETable: values cut off from [A-Za-z_0-9]+\\..+"));
        }), 1) << ::testing::PrintToString(ev);
        const size_t lost = where == 2 ? size_t(lastEntry() - second) + 1 : 1;
        EXPECT_TRUE(hasEvent("event 6: Error in ReadEETable: " + std::to_string(lost) +
                             " values, the passwords and identifiers take defaults"));
    } else if (ids >= 0) {
        const char* what = GetParam().where == 4   ? "passwords and identifiers take defaults"
                           : GetParam().where == 7 ? "bytes beyond a whole file left"
                                                   : "identifiers from the cut on take defaults";
        EXPECT_TRUE(hasEvent("event 6: Error in ReadEETable: damaged after the values: " + sizes))
            << ::testing::PrintToString(events());
        EXPECT_TRUE(hasEvent(std::string("event 6: Error in ReadEETable: values taken; ") + what));
    } else if (GetParam().where >= 1) {
        EXPECT_TRUE(hasEvent("event 6: Error in ReadEETable: damaged, no value taken: " + sizes))
            << ::testing::PrintToString(events());
    }
    if (GetParam().where >= 1) {
        EXPECT_TRUE(hasEvent("event 3: Initializing EE: Damaged save-file kept as " + kFile + ".rejected1"));
    }
    EXPECT_EQ(ee_file_dirty, 0);
    const std::string fresh = contents(kFile);
    ASSERT_EQ(fresh.size(), completeSize());
    EXPECT_TRUE(liveEquals(second, fresh, offsetOf(second)));
    EXPECT_TRUE(inForce(fresh));
    EXPECT_STREQ(fresh.c_str() + valuesEnd() + 12, ee_ConfigID);
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 1) << "the file written in its place loads whole";
    EXPECT_TRUE(inForce(fresh));
    EXPECT_EQ(ee_dnld_pwds[0], where >= 5 ? 1234 : 6879);
    EXPECT_FALSE(exists(kFile + ".rejected2"));
    EXPECT_EQ(eventsStartingWith("event 6: "), 0);
}

INSTANTIATE_TEST_SUITE_P(Cuts, TruncatedFiles,
                         ::testing::Values(CutCase{"InTheHeading", 0, -1}, CutCase{"InTheDate", 1, -1},
                                           CutCase{"InTheSecondEntry", 2, 0}, CutCase{"InTheLastEntry", 3, 0},
                                           CutCase{"InThePasswords", 4, 0}, CutCase{"InTheIdentifiers", 5, 1},
                                           CutCase{"OneByteShort", 6, 5}, CutCase{"OneByteLonger", 7, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

// A start that finds a damaged or refused file writes the file to take its
// place first; when that write fails (a full drive, a directory in the
// temporary file's place) the file stays under its name as it was, and the
// next start treats it the same way. It goes aside only once a complete
// file is there to be renamed in, at that start or at a save before it.
struct ReplacementCase {
    const char* name;
    int damage;        // 0 a value outside its limits, 1 another build date, 2 cut inside the values
    bool fullDisk;     // else a directory in the temporary file's place
    bool saveBetween;  // the obstacle gone, a save replaces the file before the next start
};
class FailedReplacements : public TunablesFile, public ::testing::WithParamInterface<ReplacementCase> {};

TEST_P(FailedReplacements, LeaveTheFileUnderItsName) {
    const ReplacementCase& c = GetParam();
    std::string f = savedWithChanges();
    const EeInitEntry* trip = entryOfCell("CNFG_SETPT.QT_OSPD_TRIP.IN");
    std::vector<const EeInitEntry*> lost;
    const EeInitEntry* lostFrom = c.damage == 1 ? _eeinittab + 1 : c.damage == 2 ? lastEntry() : nullptr;
    std::string said;
    if (c.damage == 0) {
        f.replace(offsetOf(trip), 4, be32(0x7FC00000u));
        lost = {trip};
        said = "event 3: Error in ReadEETable(REAL): CNFG_SETPT.QT_OSPD_TRIP.IN: ";
    } else if (c.damage == 1) {
        f[headingBytes() + 3] = 'X';
        said = "event 3: Error in ReadEETable(MOEDATE): values of another build date";
    } else {
        f.resize(offsetOf(lastEntry()) + 1);
        said = "event 6: Error in ReadEETable: values cut off from ";
    }
    put(kFile, f);
    if (c.fullDisk) hostfs::setCapacity(f.size() + 100);
    else std::filesystem::create_directory(path(kTemp));
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), c.damage == 1 ? 0 : 1);
    EXPECT_TRUE(inForce(f, lost, lostFrom)) << "after the start whose write failed";
    EXPECT_EQ(eventsStartingWith(said), 1);
    EXPECT_TRUE(hasEvent(c.fullDisk ? "event 6: Insufficient memory space for EE date file"
                                    : "event 6: Error opening EE FileName " + kTemp));
    EXPECT_EQ(contents(kFile), f) << "the file stays under its name";
    EXPECT_FALSE(exists(kFile + ".rejected1"));
    EXPECT_EQ(ee_file_dirty, 1);

    hostfs::setCapacity(std::nullopt);
    std::filesystem::remove(path(kTemp));
    hostplatform::clearMessages();
    if (c.saveBetween) {
        EXPECT_EQ(save(), 1);
    } else {
        EXPECT_EQ(restart(), c.damage == 1 ? 0 : 1);
        EXPECT_EQ(eventsStartingWith(said), 1) << "the next start treats the file the same way";
    }
    EXPECT_TRUE(inForce(f, lost, lostFrom));
    EXPECT_EQ(contents(kFile + ".rejected1"), f);
    EXPECT_TRUE(hasEvent(std::string("event 3: Initializing EE: ") + (c.damage == 1 ? "Refused" : "Damaged") +
                         " save-file kept as " + kFile + ".rejected1"));
    const std::string fresh = contents(kFile);
    ASSERT_EQ(fresh.size(), completeSize());
    EXPECT_EQ(ee_file_dirty, 0);

    EXPECT_EQ(restart(), 1);
    EXPECT_TRUE(inForce(f, lost, lostFrom)) << "after the last start";
    EXPECT_EQ(contents(kFile), fresh);
    EXPECT_FALSE(exists(kFile + ".rejected2"));
}

INSTANTIATE_TEST_SUITE_P(
    , FailedReplacements,
    ::testing::Values(ReplacementCase{"ValueOutsideItsLimitsOnAFullDrive", 0, true, false},
                      ReplacementCase{"ValueOutsideItsLimitsWithADirectoryInTheWay", 0, false, false},
                      ReplacementCase{"AnotherBuildDateOnAFullDrive", 1, true, false},
                      ReplacementCase{"AnotherBuildDateSavedBeforeTheNextStart", 1, false, true},
                      ReplacementCase{"CutInTheValuesWithADirectoryInTheWay", 2, false, false},
                      ReplacementCase{"CutInTheValuesSavedBeforeTheNextStart", 2, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A file with a piece missing (the bytes up to a line feed lost by a text
// tool): every value after it would be read from the wrong place, so none
// is taken.
TEST_F(TunablesFile, AFileWithAPieceMissingIsRefusedWhole) {
    std::string file = savedWithChanges();
    file.erase(file.find('\n', valuesEnd() / 3), 864);
    put(kFile, file);
    EXPECT_EQ(restart(), 0);
    EXPECT_TRUE(isDefault(firstOf(EE_STRNG)));
    EXPECT_EQ(contents(kFile + ".rejected1"), file);
}

// The file of this build with one value that its tunable cannot have: that
// value takes its default and is reported by name, every other value is
// loaded, and the file is kept aside as it was while a whole one with the
// values in force takes its place. A save of the values in force counts
// the changes a stop would lose.
struct DamageCase {
    const char* name;
    const char* cell;   // the tunable damaged
    uint32_t word;      // what the file holds for it (big-endian word, or the first text bytes)
    const char* report; // the start of its report after "Error in ReadEETable("
};
class DamagedValues : public TunablesFile, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedValues, TakeTheirDefaultsAndTheFileIsKeptAside) {
    const DamageCase& c = GetParam();
    const std::string good = savedWithChanges();
    const EeInitEntry* e = entryOfCell(c.cell);
    ASSERT_NE(e, nullptr) << c.cell;
    std::string damaged = good;
    damaged.replace(offsetOf(e), 4, be32(c.word));
    put(kFile, damaged);
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 1);
    EXPECT_TRUE(isDefault(e)) << c.cell;
    for (uint32_t kind : {EE_REAL, EE_INTEGER, EE_VKBOOLEAN, EE_STRNG}) {
        if (firstOf(kind) != e) {
            EXPECT_FALSE(isDefault(firstOf(kind))) << "a sound value is loaded";
        }
    }
    EXPECT_EQ(eventsStartingWith(std::string("event 3: Error in ReadEETable(") + c.report + c.cell + ": "), 1);
    EXPECT_EQ(contents(kFile + ".rejected1"), damaged);
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Damaged save-file kept as " + kFile + ".rejected1"));
    const std::string fresh = contents(kFile);
    EXPECT_EQ(fresh.size(), completeSize());
    EXPECT_TRUE(liveEquals(e, fresh, offsetOf(e)));
    EXPECT_EQ(ee_file_dirty, 0);
    // Loaded again: nothing more is kept aside.
    EXPECT_EQ(restart(), 1);
    EXPECT_FALSE(exists(kFile + ".rejected2"));
    EXPECT_EQ(ee_unsaved_changes(), 0);
    inTask([] { update_ee_own_changes(); });  // the start's own save, after which every change counts
    setChanged(e, 1);
    setChanged(firstOf(EE_STRNG), 1);
    EXPECT_EQ(ee_unsaved_changes(), e == firstOf(EE_STRNG) ? 1 : 2);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(ee_unsaved_changes(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    , DamagedValues,
    ::testing::Values(
        // The overspeed trip level far above any speed: the trip would never come.
        DamageCase{"RealAboveItsLimit", "CNFG_SETPT.QT_OSPD_TRIP.IN", 0x7149F2CAu /* 1e30 */,
                   "REAL): "},
        DamageCase{"RealNotANumber", "CNFG_SETPT.QT_OSPD_TRIP.IN", 0x7FC00000u, "REAL): "},
        DamageCase{"RealInfinite", "CNFG_SETPT.QT_OSPD_TRIP.IN", 0xFF800000u, "REAL): "},
        DamageCase{"RealBelowItsLimit", "CNFG_SETPT.QT_OSPD_TRIP.IN", 0xC2C80000u /* -100 */, "REAL): "},
        DamageCase{"IntegerOutsideItsLimits", "_ub5.ACT_FUNCTION.TUNE", 0x7FFFFFFFu, "INTEGER): "},
        DamageCase{"IntegerBelowItsLimits", "_ub5.ACT_FUNCTION.TUNE", 0x80000000u, "INTEGER): "},
        DamageCase{"BooleanOtherThanZeroOrOne", "DATALOG.PRINT.IN_2", 2u, "VKBOOLEAN): "}),
    [](const auto& info) { return std::string(info.param.name); });

// Values at their limits are sound, and so is a text with control
// characters: a service write stores any text, and a save writes it.
TEST_F(TunablesFile, ValuesAtTheirLimitsAndTextsWithControlCharactersLoad) {
    const std::string good = savedWithChanges();
    const EeInitEntry* trip = entryOfCell("CNFG_SETPT.QT_OSPD_TRIP.IN");
    const EeInitEntry* function = entryOfCell("_ub5.ACT_FUNCTION.TUNE");
    ASSERT_NE(trip, nullptr);
    ASSERT_NE(function, nullptr);
    // The limits as the service interface states them.
    CellRef ref = 0;
    char type = 0;
    const char* rate = nullptr;
    ASSERT_EQ(get_dbug_address("CNFG_SETPT.QT_OSPD_TRIP.IN", &type, 0, &ref, &rate), 1);
    float hi = 0.0f, lo = 0.0f;
    for (uint32_t a = 0; a < num_an_tune; ++a)
        if (_an_tune[a].cell == ref) lo = _an_tune[a].min, hi = _an_tune[a].max;
    ASSERT_LT(lo, hi);
    int32_t ilo = 0;
    type = 0;
    ASSERT_EQ(get_dbug_address("_ub5.ACT_FUNCTION.TUNE", &type, 0, &ref, &rate), 1);
    for (uint32_t a = 0; a < num_int_tune; ++a)
        if (_int_tune[a].cell == ref) ilo = _int_tune[a].min;
    std::string file = good;
    uint32_t bits;
    std::memcpy(&bits, &hi, 4);
    file.replace(offsetOf(trip), 4, be32(bits));
    file.replace(offsetOf(function), 4, be32(static_cast<uint32_t>(ilo)));
    put(kFile, file);
    EXPECT_EQ(restart(), 1);
    EXPECT_EQ(*static_cast<float*>(trip->live), hi);
    EXPECT_EQ(*static_cast<int32_t*>(function->live), ilo);
    EXPECT_FALSE(exists(kFile + ".rejected1"));
    std::memcpy(&bits, &lo, 4);
    file.replace(offsetOf(trip), 4, be32(bits));
    const EeInitEntry* text = firstOf(EE_STRNG);
    const EeInitEntry* last = nullptr;
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e)
        if ((e->kind & 0xFFFF) == EE_STRNG) last = e;
    file[offsetOf(text) + 2] = '\x07';
    file.replace(offsetOf(last), 6, std::string("A\x01\t\x1F\x7F", 6));
    put(kFile, file);
    for (int start = 1; start <= 2; ++start) {
        hostplatform::clearMessages();
        EXPECT_EQ(restart(), 1);
        EXPECT_EQ(*static_cast<float*>(trip->live), lo);
        EXPECT_EQ(std::string(static_cast<const char*>(text->live), 3), file.substr(offsetOf(text), 3));
        EXPECT_STREQ(static_cast<const char*>(last->live), "A\x01\t\x1F\x7F");
        EXPECT_TRUE(inForce(file)) << "start " << start;
        EXPECT_EQ(eventsStartingWith("event 3: Error in ReadEETable"), 0);
        EXPECT_FALSE(exists(kFile + ".rejected1"));
        EXPECT_EQ(contents(kFile), file);
    }
}

// Every entry is named by its cell, the last one too: the names follow the
// table through every kind of saved cell. (A text takes any bytes: the
// last entry that is no text.)
TEST_F(TunablesFile, TheLastEntryIsNamedWhenDamaged) {
    std::string file = savedWithChanges();
    const EeInitEntry* last = lastEntry();
    while ((last->kind & 0xFFFF) == EE_STRNG) --last;
    const size_t at = offsetOf(last);
    switch (last->kind & 0xFFFF) {
        case EE_REAL: file.replace(at, 4, be32(0x7FC00000u)); break;
        case EE_INTEGER: file.replace(at, 4, be32(0x80000000u)); break;
        default: file.replace(at, 4, be32(7u)); break;
    }
    put(kFile, file);
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 1);
    const auto ev = events();
    const auto said = std::find_if(ev.begin(), ev.end(), [](const std::string& l) {
        return l.rfind("event 3: Error in ReadEETable(", 0) == 0;
    });
    ASSERT_NE(said, ev.end());
    EXPECT_TRUE(std::regex_search(*said, std::regex("\\): [A-Za-z_0-9]+\\.[A-Za-z_0-9.]+: "))) << *said;
}

// 100 random bytes written over the middle of a file of this build: the
// file has no check sum, so the damage is found by the values it makes
// impossible for their tunables, here several in a row: the file is
// refused whole, every tunable takes its default, and the file is kept
// aside as it was with a fresh one written in its place.
TEST_F(TunablesFile, RandomBytesInTheMiddleAreFoundByTheValuesTheyMakeImpossible) {
    const std::string good = savedWithChanges();
    std::string file = good;
    const size_t from = valuesEnd() / 2, to = from + 100;
    std::mt19937 random(5431);
    for (size_t k = from; k < to; ++k) file[k] = static_cast<char>(random());
    put(kFile, file);
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 0);
    EXPECT_TRUE(hasEvent("event 6: Error in ReadEETable: damaged, no value taken: 3 in a row out of limits"));
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd; ++e) {
        EXPECT_TRUE((e->kind & 0xFFFF) == EE_MOEDATE || isDefault(e)) << "byte " << offsetOf(e);
    }
    EXPECT_EQ(contents(kFile + ".rejected1"), file);
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Damaged save-file kept as " + kFile + ".rejected1"));
    EXPECT_EQ(contents(kFile).size(), completeSize());
    EXPECT_EQ(ee_file_dirty, 0);
}

// The platform restarts the application in the same process (a reset of
// the stopped control): the load runs again without the module being
// loaded anew. A refusal or a damaged value of the first load is not
// carried over: the file the first start wrote, and saved since, loads
// whole, and nothing more is kept aside.
struct AgainCase {
    const char* name;
    bool refused;  // another build date; else a value its tunable cannot have
};
class StartsAgain : public TunablesFile, public ::testing::WithParamInterface<AgainCase> {};

TEST_P(StartsAgain, InTheSameProcessForgetTheFirstLoadsRefusal) {
    std::string f = savedWithChanges();
    if (GetParam().refused) f[headingBytes() + 3] = 'X';
    else f.replace(offsetOf(entryOfCell("CNFG_SETPT.QT_OSPD_TRIP.IN")), 4, be32(0x7FC00000u));
    put(kFile, f);
    restart();
    ASSERT_EQ(contents(kFile + ".rejected1"), f);
    const EeInitEntry* real = firstOf(EE_REAL);
    setChanged(real, 1);
    ASSERT_EQ(save(), 1);
    const std::string saved = contents(kFile);
    const float value = *static_cast<float*>(real->live);
    int r = -1;
    inTask([&] {
        init_blk_ram();
        r = init_eeram();
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(*static_cast<float*>(real->live), value);
    EXPECT_EQ(new_application_flag, 0);
    EXPECT_FALSE(exists(kFile + ".rejected2"));
    EXPECT_STREQ(ee_kept_name(), "");
    EXPECT_EQ(contents(kFile), saved);
}

INSTANTIATE_TEST_SUITE_P(, StartsAgain,
                         ::testing::Values(AgainCase{"AfterARefusedFile", true}, AgainCase{"AfterADamagedValue", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Many damaged values: ten are named, the rest counted in one line. Two
// side by side are two stray values; only three in a row refuse the file.
struct ManyCase {
    const char* name;
    int damaged;
    int inARow;  // damaged side by side, then one left sound
};
class ManyDamagedValues : public TunablesFile, public ::testing::WithParamInterface<ManyCase> {};

TEST_P(ManyDamagedValues, AreNamedUpToTenAndCounted) {
    const int damaged = GetParam().damaged;
    std::string file = savedWithChanges();
    const int inARow = GetParam().inARow;
    int booleans = 0;
    auto booleansFrom = [&](const EeInitEntry* e) {
        for (int k = 0; k < inARow; ++k)
            if (e[k].kind == kEeTableEnd || (e[k].kind & 0xFFFF) != EE_VKBOOLEAN) return false;
        return true;
    };
    for (const EeInitEntry* e = _eeinittab; e->kind != kEeTableEnd && booleans < damaged; ++e)
        if (booleansFrom(e)) {
            for (int k = 0; k < inARow; ++k) file.replace(offsetOf(e + k), 4, be32(0x01010101u));
            booleans += inARow;
            e += inARow;  // the entry after them stays sound
        }
    ASSERT_EQ(booleans, damaged);
    put(kFile, file);
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 1);
    EXPECT_EQ(eventsStartingWith("event 3: Error in ReadEETable(VKBOOLEAN): "), 10);
    EXPECT_EQ(eventsStartingWith("event 3: Error in ReadEETable: "), damaged > 10 ? 1 : 0);
    if (damaged > 10) {
        EXPECT_TRUE(hasEvent("event 3: Error in ReadEETable: " + std::to_string(damaged - 10) +
                             " more values outside their limits take their defaults"));
    }
    EXPECT_EQ(contents(kFile + ".rejected1"), file);
}

INSTANTIATE_TEST_SUITE_P(, ManyDamagedValues,
                         ::testing::Values(ManyCase{"Ten", 10, 1}, ManyCase{"Eleven", 11, 1},
                                           ManyCase{"TwentyFive", 25, 1}, ManyCase{"TwelveInPairs", 12, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file spoiled or removed while the application runs is written again by
// the next save, though no value changed.
struct SpoiledCase {
    const char* name;
    bool removed;
};
class SpoiledFiles : public TunablesFile, public ::testing::WithParamInterface<SpoiledCase> {};

TEST_P(SpoiledFiles, AreWrittenAgainByTheNextSave) {
    const std::string good = savedWithChanges();
    if (GetParam().removed) std::filesystem::remove(path(kFile));
    else put(kFile, "garbage\n");
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(ExistingEEFile, 1);
    EXPECT_EQ(contents(kFile), good);
    // Gone, or no file that can be read: no file exists for the next save.
    if (GetParam().removed) std::filesystem::remove(path(kFile));
    else putHostile(kFile, storage_test::kPipe);
    int r = 0;
    inTask([&] { r = CheckCurves(); });
    EXPECT_EQ(r, -1);
    EXPECT_EQ(ExistingEEFile, 0);
    EXPECT_STREQ(_eeMOEDATE, "") << "no date found";
    // An older whole file put back meanwhile is not taken for the values in
    // force: the next save writes them.
    std::string stale = good;
    stale.replace(offsetOf(firstOf(EE_STRNG)), 40, std::string("Stale text").append(30, '\0'));
    std::filesystem::remove(path(kFile));
    put(kFile, stale);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(contents(kFile), good);
}

INSTANTIATE_TEST_SUITE_P(WhileRunning, SpoiledFiles,
                         ::testing::Values(SpoiledCase{"Removed", true}, SpoiledCase{"Overwritten", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TunablesFile, ReadingFillsOnlyTheSavedCopies) {
    const std::string good = savedWithChanges();
    put(kFile, good.substr(0, offsetOf(firstOf(EE_REAL))));
    setChanged(firstOf(EE_REAL), 9);
    const float live = *static_cast<float*>(firstOf(EE_REAL)->live);
    int r = -1;
    inTask([&] { r = ReadEETable(); });
    EXPECT_EQ(r, 1) << "the values before the cut are read";
    EXPECT_EQ(std::memcmp(firstOf(EE_REAL)->saved, firstOf(EE_REAL)->dflt, 4), 0) << "the value cut off: its default";
    EXPECT_EQ(*static_cast<float*>(firstOf(EE_REAL)->live), live);
}

TEST_F(TunablesFile, OverlongFileKeepsItsValues) {
    const std::string good = savedWithChanges();
    put(kFile, good + std::string(100000, '\xFF'));
    EXPECT_EQ(restart(), 1);
    EXPECT_EQ(ee_file_dirty, 0);
    EXPECT_FALSE(isDefault(firstOf(EE_STRNG)));
    EXPECT_EQ(contents(kFile), good);
}

TEST_F(TunablesFile, TextFieldsWithoutNulAreCutToTheirCells) {
    std::string f = savedWithChanges();
    const EeInitEntry* s = firstOf(EE_STRNG);
    f.replace(offsetOf(s), 40, std::string(40, 'S'));
    f.replace(valuesEnd() + 12 + 32, 32, std::string(32, 'C'));  // ControlID
    put(kFile, f);
    EXPECT_EQ(restart(), 1);
    EXPECT_EQ(std::string(static_cast<const char*>(s->live)), std::string(39, 'S'));
    EXPECT_EQ(std::string(ee_ControlID), std::string(31, 'C'));
}

TEST_F(TunablesFile, BuildDateWithoutNulIsAnotherBuild) {
    std::string f = savedWithChanges();
    f.replace(headingBytes(), 28, std::string(28, 'D'));
    put(kFile, f);
    EXPECT_EQ(restart(), 0);
    EXPECT_STREQ(_eeMOEDATE, "Mon Apr 20 07:44:46 2026");
}

// A save that cannot complete leaves the old file, and is retried by the
// next save even when no value changed since.
struct FaultCase {
    const char* name;
    bool fullDisk;
};
class FailedSaves : public TunablesFile, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FailedSaves, KeepThePreviousFileAndAreRetried) {
    const std::string before = savedWithChanges();
    const EeInitEntry* e = firstOf(EE_REAL);
    setChanged(e, 2);
    // The entry after it too: a save marks each change, side by side.
    setChanged(e + 1, 2);
    const float changed = *static_cast<float*>(e->live);
    if (GetParam().fullDisk) hostfs::setCapacity(before.size() + 100);
    else hostfs::setRenameFault(true);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(save(), 0);
    const std::string console = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(ee_unsaved_changes(), 2) << "a failed save leaves its changes unsaved";
    EXPECT_EQ(save(), 0) << "still failing";
    EXPECT_EQ(contents(kFile), before);
    EXPECT_EQ(ee_file_dirty, 1);
    EXPECT_EQ(ee_unsaved_changes(), 2);
    if (GetParam().fullDisk) {
        EXPECT_FALSE(exists(kTemp));
        EXPECT_TRUE(hasEvent("event 6: Insufficient memory space for EE date file"));
    } else {
        EXPECT_TRUE(hasEvent("event 6: Error renaming EE file " + kTemp));
        EXPECT_NE(console.find("Error renaming EE file " + kTemp + " (Input/output error)\n"), std::string::npos)
            << console;
    }
    hostfs::setCapacity(std::nullopt);
    hostfs::setRenameFault(false);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(ee_file_dirty, 0);
    EXPECT_EQ(ee_unsaved_changes(), 0);
    EXPECT_FALSE(exists(kTemp));
    const std::string after = contents(kFile);
    EXPECT_NE(after, before);
    EXPECT_TRUE(liveEquals(e, after, offsetOf(e)));
    restart();
    EXPECT_EQ(*static_cast<float*>(e->live), changed);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedSaves,
                         ::testing::Values(FaultCase{"FullDisk", true}, FaultCase{"FailedRename", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A drive failing in the passwords or the identifiers fails the save under
// its own name; the previous file stays.
struct SystemPartCase {
    const char* name;
    size_t after;  // bytes past the values before the drive fails
};
class SystemInformationWrites : public TunablesFile, public ::testing::WithParamInterface<SystemPartCase> {};

TEST_P(SystemInformationWrites, FailTheSaveAndKeepTheFile) {
    const std::string before = savedWithChanges();
    // A value that differs from the saved one (the first of each kind was
    // changed already), so that the save writes.
    setChanged(firstOf(EE_REAL), 5);
    int r = -1;
    inTask([&] {
        // Another writer holds the write cache: the save's writes go straight
        // to the drive.
        const int other = VKOS_CreateFileWrite("other.bin");
        hostfs::setWriteFault(valuesEnd() + GetParam().after);
        r = update_ee();
        hostfs::setWriteFault(std::nullopt);
        VKOS_CloseFile(other);
    });
    EXPECT_EQ(r, 0);
    EXPECT_EQ(contents(kFile), before);
    EXPECT_TRUE(hasEvent("event 6: Error in WriteEETable(system information)"));
}

INSTANTIATE_TEST_SUITE_P(Parts, SystemInformationWrites,
                         ::testing::Values(SystemPartCase{"Passwords", 3}, SystemPartCase{"Identifiers", 12 + 50}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TunablesFile, FreshFileThatCannotBeWrittenIsWrittenByTheNextSave) {
    std::filesystem::create_directory(path(kTemp));
    EXPECT_EQ(restart(), 0);
    EXPECT_EQ(ee_file_dirty, 1);
    EXPECT_EQ(debug_pwds[0], 5917) << "defaults hold without a file";
    EXPECT_STREQ(ee_ControlID, "Dflt Control ID");
    EXPECT_STREQ(sys_text[APP_CONTROL_ID].s, "Dflt Control ID");
    std::filesystem::remove(path(kTemp));
    hostfs::setRenameFault(true);
    EXPECT_EQ(save(), 0);
    EXPECT_FALSE(exists(kFile));
    hostfs::setRenameFault(false);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(contents(kFile).size(), completeSize());
}

TEST_F(TunablesFile, CompleteTemporaryFileIsAdoptedWhenTheFileIsMissing) {
    const std::string good = savedWithChanges();
    std::filesystem::rename(path(kFile), path(kTemp));
    hostplatform::clearMessages();
    EXPECT_EQ(restart(), 1);
    EXPECT_FALSE(isDefault(firstOf(EE_INTEGER)));
    EXPECT_EQ(contents(kFile), good);
    EXPECT_FALSE(exists(kTemp));
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Adopted complete save-file: " + kTemp));
}

// A temporary file is taken only when it is complete and no file stands
// under the final name; what stands there but is no file (a pipe, a
// directory) is kept aside first. Whichever is taken loads again at the
// next start.
struct TempCase {
    const char* name;
    int change;  // 0 one byte short, 1 one byte long, 2 another build, 3 final file present, 4 a pipe there,
                 // 5 a directory there
};
class TemporaryFiles : public TunablesFile, public ::testing::WithParamInterface<TempCase> {};

TEST_P(TemporaryFiles, AreAdoptedOnlyWhenCompleteAndNoFileIsThere) {
    std::string good = savedWithChanges();
    const int change = GetParam().change;
    if (change == 0) good.pop_back();
    if (change == 1) good.push_back('\0');
    if (change == 2) good[kLine1.size() + 40] = '5';
    if (change == 3) put(kFile, "junk");
    else std::filesystem::remove(path(kFile));
    if (change == 4) putHostile(kFile, storage_test::kPipe);
    if (change == 5) std::filesystem::create_directories(path(kFile + "/inside"));
    put(kTemp, good);
    hostplatform::clearMessages();
    const bool adopted = change >= 4;
    EXPECT_EQ(restart(), adopted ? 1 : 0);
    EXPECT_EQ(isDefault(firstOf(EE_INTEGER)), !adopted);
    EXPECT_EQ(contents(kFile).size(), completeSize());
    EXPECT_FALSE(exists(kTemp));
    // With no file under the name, a temporary file not taken may hold the
    // only copy of the values: it is kept aside.
    if (change < 3) {
        EXPECT_EQ(contents(kFile + ".rejected1"), good);
        EXPECT_TRUE(hasEvent("event 3: Initializing EE: Refused save-file kept as " + kFile + ".rejected1"));
    }
    if (change == 3) {
        EXPECT_EQ(contents(kFile + ".rejected1"), "junk") << "the temporary file is written over";
    }
    if (!adopted) return;
    EXPECT_TRUE(inForce(good));
    EXPECT_EQ(contents(kFile), good);
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Cannot read save-file " + kFile + " (not a regular file)"));
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Refused save-file kept as " + kFile + ".rejected1"));
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: Adopted complete save-file: " + kTemp));
    EXPECT_EQ(std::filesystem::symlink_status(path(kFile + ".rejected1")).type(),
              change == 4 ? std::filesystem::file_type::fifo : std::filesystem::file_type::directory);
    EXPECT_EQ(restart(), 1);
    EXPECT_TRUE(inForce(good)) << "after the second start";
    EXPECT_EQ(contents(kFile), good);
}

INSTANTIATE_TEST_SUITE_P(Temporaries, TemporaryFiles,
                         ::testing::Values(TempCase{"OneByteShort", 0}, TempCase{"OneByteLong", 1},
                                           TempCase{"AnotherBuild", 2}, TempCase{"FinalFilePresent", 3},
                                           TempCase{"PipeUnderTheFinalName", 4},
                                           TempCase{"DirectoryUnderTheFinalName", 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TunablesFile, ConcurrentSavesDoNotInterleave) {
    restart();
    const EeInitEntry* r = firstOf(EE_REAL);
    const EeInitEntry* i = firstOf(EE_INTEGER);
    int a = -1, b = -1;
    bool bStartedWhileABusy = false;
    hk::spawnFunction([&] {
        setChanged(r, 0);
        a = update_ee();
    }, 60, "tSaveA");
    hk::spawnFunction([&] {
        VKOS_SleepMillisec(20);  // A is in its save now
        bStartedWhileABusy = _SYS_INFO_EE_BUSY == 1;
        setChanged(i, 0);
        b = update_ee();
    }, 60, "tSaveB");
    hk::runUntil([&] { return a >= 0 && b >= 0; }, 1000);
    EXPECT_TRUE(bStartedWhileABusy);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    const std::string f = contents(kFile);
    ASSERT_EQ(f.size(), completeSize());
    EXPECT_TRUE(liveEquals(r, f, offsetOf(r)));
    EXPECT_TRUE(liveEquals(i, f, offsetOf(i)));
    EXPECT_EQ(_SYS_INFO_EE_BUSY, 0u);
}

// The stop's wait for a save in progress: one that ends within the bound
// is waited for; one that does not is reported, ended with its task, and
// its change stays counted. No save starts after the wait.
TEST_F(TunablesFile, TheStopWaitsForASaveInProgressWithinItsBound) {
    for (int bound : {5000, 50}) {
        restart();
        const EeInitEntry* r = firstOf(EE_REAL);
        int ended = -1, later = -1;
        const TASK_ID saver = hk::spawnFunction([&] { setChanged(r, bound == 50), update_ee(); }, 60, "tSave");
        hk::runTask([&] {
            VKOS_SleepMillisec(20);  // the save walks the table
            ended = ee_end_saves(bound);
            VKOS_KillProcess(saver);  // as the stop ends the saving tasks
            const TASK_ID asker = hk::spawnFunction([&] { later = update_ee(); }, 60, "tLater");
            VKOS_SleepMillisec(1000);
            VKOS_KillProcess(asker);
        });
        EXPECT_EQ(later, -1) << "a save started after the wait";
        EXPECT_EQ(ended, bound == 50 ? 0 : 1);
        EXPECT_EQ(ee_unsaved_changes(), bound == 50 ? 1 : 0);
        EXPECT_EQ(hasEvent("event 6: Error in update_ee: the save in progress did not end within 50 ms"), bound == 50);
        EXPECT_EQ(liveEquals(r, contents(kFile), offsetOf(r)), bound != 50);
        EXPECT_FALSE(exists(kTemp));
    }
}

// The bounded line reader.
struct LineCase {
    const char* name;
    std::string file;
    int size;
    std::string line;
    int result;
    std::string next;  // the following line
};
class LineReader : public storage_test::StorageFixture, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineReader, ReadsOneLineWithinItsBuffer) {
    put("lines.txt", GetParam().file);
    inTask([&] {
        const int fd = VKOS_OpenFileRead("lines.txt");
        ASSERT_NE(fd, 0);
        std::vector<char> buf(GetParam().size + 8, '#');
        EXPECT_EQ(hGetLine(fd, buf.data(), GetParam().size), GetParam().result);
        EXPECT_EQ(std::string(buf.data()), GetParam().line);
        EXPECT_EQ(buf[GetParam().size], '#') << "nothing written past the buffer";
        char next[64];
        hGetLine(fd, next, sizeof next);
        EXPECT_EQ(std::string(next), GetParam().next);
        VKOS_CloseFile(fd);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineReader,
    ::testing::Values(LineCase{"Plain", "abc\nnext\n", 10, "abc", 0, "next"},
                      LineCase{"CarriageReturnsDropped", "a\rb\r\nnext\n", 10, "ab", 0, "next"},
                      LineCase{"LeadingBlanksDropped", " \t a b\nnext\n", 10, "a b", 0, "next"},
                      LineCase{"FillsTheBuffer", "123456789\nnext\n", 10, "123456789", 0, "next"},
                      LineCase{"OneTooLongIsCut", "1234567890\nnext\n", 10, "123456789", 0, "next"},
                      LineCase{"MuchTooLongIsCut", std::string(1000, 'L') + "\nnext\n", 10, "LLLLLLLLL", 0, "next"},
                      LineCase{"EndOfFileWithoutLineFeed", "tail", 10, "tail", 1, ""},
                      LineCase{"EmptyFile", "", 10, "", 1, ""},
                      LineCase{"LongestWithinTheBound", std::string(1023, 'L') + "\nnext\n", 10, "LLLLLLLLL", 0, "next"},
                      LineCase{"NoLineFeedWithinTheBound", std::string(1024, 'L') + "\nnext\n", 10, "LLLLLLLLL", 2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

TEST_F(TunablesFile, SaveNeedsRoomForTheFileAndItsMargin) {
    const std::string before = savedWithChanges();
    const size_t needed = valuesEnd() + 460;  // heading, values and the margin for passwords and identifiers
    setChanged(firstOf(EE_REAL), 5);
    hostfs::setCapacity(before.size() + needed - 1);
    EXPECT_EQ(save(), 0);
    EXPECT_TRUE(hasEvent("event 6: " + std::to_string(needed) + " bytes are needed"));
    EXPECT_EQ(contents(kFile), before);
    hostfs::setCapacity(before.size() + needed);
    EXPECT_EQ(save(), 1);
}

TEST_F(TunablesFile, TemporaryFileThatCannotBeCreatedFailsTheSave) {
    const std::string before = savedWithChanges();
    std::filesystem::create_directory(path(kTemp));
    setChanged(firstOf(EE_INTEGER), 4);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(save(), 0);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("Error opening EE FileName " + kTemp + " (Is a directory)\n"),
              std::string::npos);
    EXPECT_TRUE(hasEvent("event 6: Error opening EE FileName " + kTemp));
    EXPECT_TRUE(exists(kTemp)) << "a directory there stays";
    EXPECT_EQ(contents(kFile), before);
    std::filesystem::remove(path(kTemp));
    EXPECT_EQ(save(), 1);
}

TEST_F(TunablesFile, TextModeFileHoldsOnlyItsHeadingAndCountsAsNoFile) {
    restart();
    int r = -1;
    inTask([&] { r = WriteEETable(1, 0); });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(contents(kFile), "EE Tunables Save File (Text Format)\n" + kLine2);
    // A save with nothing changed leaves it: its heading is valid and it holds no curves.
    save();
    EXPECT_EQ(contents(kFile), "EE Tunables Save File (Text Format)\n" + kLine2);
    setChanged(firstOf(EE_REAL), 0);
    EXPECT_EQ(restart(), 0);
    EXPECT_TRUE(isDefault(firstOf(EE_REAL)));
    EXPECT_EQ(contents(kFile).size(), completeSize());
}

TEST_F(TunablesFile, SavePausesSoThatOtherTasksRun) {
    restart();
    setChanged(firstOf(EE_REAL), 0);
    int ticksSeen = 0;
    bool done = false;
    hk::spawnFunction([&] {
        while (!done) {
            VKOS_SleepMillisec(5);
            if (_SYS_INFO_EE_BUSY == 1) ++ticksSeen;
        }
    }, 50, "tWatcher");
    hk::spawnFunction([&] {
        update_ee();
        done = true;
    }, 60, "tSave");
    hk::runUntil([&] { return done; }, 1000);
    // Busy through the closing 200 ms and the 10 ms pauses, one about every
    // 200 entries in the comparison and again in the write.
    const int entries = static_cast<int>(lastEntry() - _eeinittab) + 1;
    EXPECT_GT(ticksSeen, 40);
    EXPECT_LE(ticksSeen, 40 + 2 * (2 * (entries / 200) + 2));
    EXPECT_EQ(_SYS_INFO_EE_BUSY, 0u);
}

// A curve of adaptive values saved after the identifiers.
class AdaptiveCurves : public TunablesFile {
protected:
    void SetUp() override {
        TunablesFile::SetUp();
        NumPerAdaptCurve = 1;
        AdaptCurPer[0] = {curve, 0, 0, 3};
    }
    void TearDown() override {
        NumPerAdaptCurve = 0;
        AdaptCurPer[0] = AdaptCurveRec{};
        TunablesFile::TearDown();
    }
    int check() {
        int r = -9;
        inTask([&] { r = CheckCurves(); });
        return r;
    }
    float curve[3] = {1.0f, 2.0f, 3.0f};
};

TEST_F(AdaptiveCurves, AreSavedComparedAndLoaded) {
    EXPECT_EQ(check(), -1) << "no file";
    EXPECT_STREQ(_eeMOEDATE, "");
    EXPECT_TRUE(hasEvent("event 3: Initializing EE: No existing save-file: " + kFile));
    restart();
    const std::string f = contents(kFile);
    ASSERT_EQ(f.size(), completeSize() + 12);
    EXPECT_EQ(readBe32(f, completeSize() + 8), 0x40400000u);  // 3.0f
    EXPECT_EQ(check(), 0);
    curve[1] = 7.0f;
    EXPECT_EQ(check(), 1);
    hostfs::setRenameFault(true);
    EXPECT_EQ(save(), 0) << "a changed curve value alone rewrites the file";
    hostfs::setRenameFault(false);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(check(), 0);
    curve[1] = 0.0f;
    restart();
    EXPECT_EQ(curve[1], 7.0f);
    EXPECT_EQ(curve[2], 3.0f);
    put(kFile, contents(kFile).substr(0, completeSize() + 6));
    hostplatform::clearMessages();
    restart();
    EXPECT_TRUE(hasEvent("event 6: Error in ReadEETable(CAL_CUR)"));
}

TEST_F(AdaptiveCurves, OneValueCurveIsComparedToo) {
    AdaptCurPer[0] = {curve, 0, 0, 1};
    restart();
    EXPECT_EQ(check(), 0);
    curve[0] = 5.0f;
    EXPECT_EQ(check(), 1);
}

TEST_F(AdaptiveCurves, UnknownModeIsReported) {
    int r = -9;
    inTask([&] { r = UpdatePersistantCurves(4, 0); });
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(hasEvent("event 6: Error in EE Table(CAL_CUR)"));
    EXPECT_EQ(getCurvesCount(), 3);
}

// The new file's data reaches the drive before the rename, and the
// directory after it. A failing sync fails the save: before the rename the
// old file stays; after it the new file is in place but not known to be on
// the drive. Either way the change stays unsaved and the next save writes
// again; the console gives the system's reason.
struct SyncCase {
    const char* name;
    uint64_t syncsBefore;  // syncs that succeed before the drive fails
    const char* said;
};
class FailedSyncs : public TunablesFile, public ::testing::WithParamInterface<SyncCase> {};

TEST_P(FailedSyncs, FailTheSaveAndLeaveTheChangeUnsaved) {
    const std::string before = savedWithChanges();
    const EeInitEntry* e = firstOf(EE_REAL);
    setChanged(e, 2);
    hostfs::setSyncFault(GetParam().syncsBefore);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(save(), 0);
    const std::string console = ::testing::internal::GetCapturedStdout();
    const bool dataSync = GetParam().syncsBefore == 0;
    EXPECT_NE(console.find(std::string(GetParam().said) + " (Input/output error)\n"), std::string::npos) << console;
    EXPECT_TRUE(hasEvent(std::string("event 6: ") + GetParam().said));
    EXPECT_EQ(ee_unsaved_changes(), 1);
    EXPECT_EQ(ee_file_dirty, 1);
    EXPECT_FALSE(exists(kTemp));
    if (dataSync) {
        EXPECT_EQ(contents(kFile), before) << "the old file stays";
    } else {
        EXPECT_TRUE(liveEquals(e, contents(kFile), offsetOf(e))) << "renamed before the directory sync";
    }
    hostfs::setSyncFault(std::nullopt);
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(ee_unsaved_changes(), 0);
    const std::string after = contents(kFile);
    restart();
    EXPECT_TRUE(inForce(after));
}

INSTANTIATE_TEST_SUITE_P(, FailedSyncs,
                         ::testing::Values(SyncCase{"DataBeforeTheRename", 0, "Error syncing EE file " "9902-4411_e.ee.tmp"},
                                           SyncCase{"DirectoryAfterTheRename", 1,
                                                    "Error syncing the directory of EE file 9902-4411_e.ee"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever stands at the temporary name is replaced, never written
// through: a link to the file or to one outside the root, or a second name
// of the file. "Saved" means a regular file with the new values under the
// file's name, which the next start loads.
struct LinkCase {
    const char* name;
    int kind;  // 0 link to the file, 1 link to a file outside, 2 second name of the file, 3 link to nothing outside,
               // 4 link to a directory outside
};
class LinksAtTheTemporaryName : public TunablesFile, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinksAtTheTemporaryName, AreReplacedNotWrittenThrough) {
    const std::string before = savedWithChanges();
    const std::string outside = root + ".outside";
    std::filesystem::remove(outside);
    if (GetParam().kind == 1) std::ofstream(outside) << "not the controller's";
    const int kind = GetParam().kind;
    if (kind == 4) {
        std::filesystem::create_directory(outside);
        std::ofstream(outside + "/inside") << "not the controller's";
    }
    if (kind == 0) std::filesystem::create_symlink(path(kFile), path(kTemp));
    if (kind == 1 || kind == 3 || kind == 4) std::filesystem::create_symlink(outside, path(kTemp));
    if (kind == 2) std::filesystem::create_hard_link(path(kFile), path(kTemp));
    const EeInitEntry* e = firstOf(EE_INTEGER);
    setChanged(e, 3);
    EXPECT_EQ(save(), 1);
    struct stat st{};
    ASSERT_EQ(::lstat(path(kFile).c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_nlink, 1u) << "no other name shares the file";
    EXPECT_TRUE(liveEquals(e, contents(kFile), offsetOf(e)));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path(kTemp))));
    if (kind == 1 || kind == 4) {
        std::ifstream in(kind == 1 ? outside : outside + "/inside");
        std::string text;
        std::getline(in, text);
        EXPECT_EQ(text, "not the controller's");
    }
    EXPECT_EQ(std::filesystem::exists(outside), kind == 1 || kind == 4) << "nothing outside the root is written";
    if (kind == 4) {
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside), {}), 1);
    }
    std::filesystem::remove_all(outside);
    const std::string saved = contents(kFile);
    EXPECT_EQ(restart(), 1);
    EXPECT_TRUE(inForce(saved));
    EXPECT_NE(saved, before);
}

INSTANTIATE_TEST_SUITE_P(, LinksAtTheTemporaryName,
                         ::testing::Values(LinkCase{"LinkToTheFile", 0}, LinkCase{"LinkToAFileOutsideTheRoot", 1},
                                           LinkCase{"SecondNameOfTheFile", 2}, LinkCase{"LinkToNothingOutside", 3},
                                           LinkCase{"LinkToADirectoryOutside", 4}),
                         [](const auto& info) { return std::string(info.param.name); });

// A refused file that cannot be kept under another name (every kept name
// taken, or the keeping rename failing) is not replaced: the console says
// why and what to do, the defaults hold, and once a name is free the next
// save keeps it aside and writes the file.
struct KeepCase {
    const char* name;
    bool noRoom;  // else the keeping rename fails
    const char* why;
};
class RefusedFilesThatCannotBeKept : public TunablesFile, public ::testing::WithParamInterface<KeepCase> {};

TEST_P(RefusedFilesThatCannotBeKept, StayUnderTheirName) {
    const std::string refused = "EE Tunables Save File (Binary Format)\nApplication \"other\" CODER-generated x\n";
    put(kFile, refused);
    if (GetParam().noRoom)
        for (int n = 1; n <= 999; ++n) put(kFile + ".rejected" + std::to_string(n), "kept");
    else hostfs::setRenameFaults(1);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(restart(), 0);
    const std::string console = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(contents(kFile), refused);
    EXPECT_EQ(ee_file_dirty, 1);
    EXPECT_TRUE(isDefault(firstOf(EE_REAL)));
    EXPECT_FALSE(exists(kTemp));
    EXPECT_NE(console.find(GetParam().why), std::string::npos) << console;
    EXPECT_NE(console.find(kFile + " stays and no new file replaces it: move it or the kept files away\n"),
              std::string::npos)
        << console;
    EXPECT_TRUE(hasEvent("event 6: Error keeping the Refused save-file " + kFile));
    EXPECT_EQ(save(), GetParam().noRoom ? 0 : 1) << "retried by the next save";
    if (GetParam().noRoom) {
        EXPECT_EQ(contents(kFile), refused);
        std::filesystem::remove(path(kFile + ".rejected500"));
        EXPECT_EQ(save(), 1);
    }
    const std::string kept = GetParam().noRoom ? ".rejected500" : ".rejected1";
    EXPECT_EQ(contents(kFile + kept), refused);
    EXPECT_EQ(contents(kFile).size(), completeSize());
}

INSTANTIATE_TEST_SUITE_P(
    , RefusedFilesThatCannotBeKept,
    ::testing::Values(KeepCase{"EveryKeptNameTaken", true,
                               "No free name to keep it: 9902-4411_e.ee.rejected1 .. 9902-4411_e.ee.rejected999 are "
                               "taken\n"},
                      KeepCase{"KeepingRenameFails", false,
                               "Error keeping the Refused save-file 9902-4411_e.ee (Input/output error)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Another program puts a link at the temporary name again between its
// clearing and the creation of the file (planted by the drive's model just
// before each creation). The file is created anew, never through the link:
// the link goes again and the creation is tried again, three times in all;
// then the save fails with the reason, the old file and what the link
// leads to keep their bytes, and the change stays unsaved.
struct PlantCase {
    const char* name;
    int plants;  // creations that find a link planted (3: every one)
    int target;  // 0 the file itself, 1 a file outside the root, 2 a directory outside
};
class LinksPlantedWhileCreating : public TunablesFile, public ::testing::WithParamInterface<PlantCase> {};

TEST_P(LinksPlantedWhileCreating, AreNeverWrittenThrough) {
    const std::string before = savedWithChanges();
    const std::string outside = root + ".outside";
    std::filesystem::remove_all(outside);
    const int target = GetParam().target;
    if (target == 1) std::ofstream(outside) << "not the controller's";
    if (target == 2) std::filesystem::create_directory(outside);
    const std::string leadsTo = target == 0 ? path(kFile) : outside;
    int creations = 0;
    hostfs::setCreateHook([&](const std::string& hp) {
        EXPECT_EQ(hp, path(kTemp));
        if (creations++ < GetParam().plants) std::filesystem::create_symlink(leadsTo, hp);
    });
    const EeInitEntry* e = firstOf(EE_INTEGER);
    setChanged(e, 5);
    ::testing::internal::CaptureStdout();
    const int saved = save();
    const std::string console = ::testing::internal::GetCapturedStdout();
    hostfs::setCreateHook({});
    const bool fails = GetParam().plants >= 3;
    EXPECT_EQ(saved, fails ? 0 : 1);
    EXPECT_EQ(creations, fails ? 3 : GetParam().plants + 1);
    if (target == 1) {
        std::ifstream in(outside);
        std::string text;
        std::getline(in, text);
        EXPECT_EQ(text, "not the controller's");
    }
    if (target == 2) {
        EXPECT_TRUE(std::filesystem::is_empty(outside));
    }
    struct stat st{};
    ASSERT_EQ(::lstat(path(kFile).c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_nlink, 1u);
    if (fails) {
        EXPECT_EQ(contents(kFile), before) << "the old file untouched";
        EXPECT_NE(console.find("Error opening EE FileName " + kTemp + " (File exists)\n"), std::string::npos)
            << console;
        EXPECT_TRUE(hasEvent("event 6: Error opening EE FileName " + kTemp));
        EXPECT_EQ(ee_unsaved_changes(), 1);
        EXPECT_EQ(ee_file_dirty, 1);
        EXPECT_EQ(std::filesystem::read_symlink(path(kTemp)), leadsTo) << "the last link planted stays";
        EXPECT_EQ(save(), 1) << "the next save writes once the name is left alone";
    } else {
        EXPECT_EQ(console.find("Error"), std::string::npos) << console;
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path(kTemp))));
    }
    EXPECT_EQ(ee_unsaved_changes(), 0);
    const std::string after = contents(kFile);
    EXPECT_EQ(after.size(), completeSize());
    EXPECT_TRUE(liveEquals(e, after, offsetOf(e)));
    EXPECT_EQ(restart(), 1);
    EXPECT_TRUE(inForce(after));
    std::filesystem::remove_all(outside);
}

INSTANTIATE_TEST_SUITE_P(, LinksPlantedWhileCreating,
                         ::testing::Values(PlantCase{"OnceToTheFile", 1, 0}, PlantCase{"TwiceToAFileOutside", 2, 1},
                                           PlantCase{"OnceToADirectoryOutside", 1, 2},
                                           PlantCase{"EveryTimeToTheFile", 3, 0},
                                           PlantCase{"EveryTimeToAFileOutside", 3, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Sizes beyond 4 GiB (sparse files, no disk used) are the sizes the start
// reports and judges: a file longer than a whole one by 4 GiB is no whole
// file, at the temporary name (not adopted, kept aside) or under the name
// (its values taken as those of a file with bytes beyond its end, or, when
// its date field does not name this table, refused as another table's).
struct HugeCase {
    const char* name;
    int where;  // 0 at the temporary name with no file, 1 under the name, 2 under the name without the table's mark
    const char* said;  // console line, "%s" for "<size> bytes"
};
class FilesBeyondFourGiB : public TunablesFile, public ::testing::WithParamInterface<HugeCase> {};

TEST_P(FilesBeyondFourGiB, AreJudgedByTheirWholeSize) {
    std::string good = savedWithChanges();
    ASSERT_EQ(good.size(), 17521u);
    const int where = GetParam().where;
    if (where == 2) good.replace(headingBytes() + 25, 3, std::string(3, '\0'));
    std::filesystem::remove(path(kFile));
    const std::string name = where == 0 ? kTemp : kFile;
    put(name, good);
    const uint64_t huge = (uint64_t{1} << 32) + 17521u;
    ASSERT_EQ(::truncate(path(name).c_str(), static_cast<off_t>(huge)), 0);
    hostplatform::clearMessages();
    ::testing::internal::CaptureStdout();
    const int loaded = restart();
    const std::string console = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(loaded, where == 1 ? 1 : 0);
    EXPECT_EQ(isDefault(firstOf(EE_INTEGER)), where != 1);
    if (where == 1) {
        EXPECT_TRUE(inForce(good));
    }
    char said[256];
    std::snprintf(said, sizeof said, GetParam().said, "4294984817 bytes");
    EXPECT_NE(console.find(said), std::string::npos) << console;
    EXPECT_EQ(console.find("17521 bytes, not"), std::string::npos) << console;
    EXPECT_EQ(std::filesystem::file_size(path(kFile + ".rejected1")), huge) << "kept aside whole";
    EXPECT_TRUE(hasEvent(std::string("event 3: Initializing EE: ") + (where == 1 ? "Damaged" : "Refused") +
                         " save-file kept as " + kFile + ".rejected1"));
    EXPECT_FALSE(exists(kTemp));
    const std::string fresh = contents(kFile);
    ASSERT_EQ(fresh.size(), completeSize());
    EXPECT_EQ(restart(), 1);
    EXPECT_TRUE(inForce(fresh));
}

INSTANTIATE_TEST_SUITE_P(
    , FilesBeyondFourGiB,
    ::testing::Values(HugeCase{"AtTheTemporaryName", 0,
                               "Initializing EE: Temporary save-file 9902-4411_e.ee.tmp not taken (%s of 17521), no "
                               "file under 9902-4411_e.ee\n"},
                      HugeCase{"UnderTheName", 1,
                               "Error in ReadEETable: damaged after the values: %s, not 17521\nError in ReadEETable: "
                               "values taken; bytes beyond a whole file left\n"},
                      HugeCase{"UnderTheNameWithoutTheTablesMark", 2,
                               "Error in ReadEETable: not this table's structure: %s, not 17521\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
