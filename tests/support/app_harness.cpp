#include "tests/support/app_harness.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/hostkernel.h"
#include "runtime/tune_side_effects.h"
#include "runtime/catalogue.h"
#include "runtime/catalogue_tables.h"
#include "runtime/sched.h"
#include "runtime/sysinfo.h"
#include "runtime/value_handles.h"
#include "service/Tallwire.h"
#include "service/TallwireSupport.h"
#include "service/TwApiClassic.h"
#include "service/TwSerial.h"
#include "service/TwTcp.h"
#include "service/TwValues.h"

namespace tc_test {

namespace {
uint32_t* const kCounters[kNumRateGroups] = {&TaskCounter_R10, &TaskCounter_R20, &TaskCounter_R40,
                                             &TaskCounter_R80, &TaskCounter_R160};
}  // namespace

const std::array<std::vector<SliceFn>, kNumRateGroups>& programSliceTable() {
    static const std::array<std::vector<SliceFn>, kNumRateGroups> table = [] {
        std::array<std::vector<SliceFn>, kNumRateGroups> t;
        for (int g = 0; g < kNumRateGroups; ++g) t[g] = rg_slices[g];
        return t;
    }();
    return table;
}

void AppHarness::SetUp() {
    RuntimeFixture::SetUp();
    programSliceTable();  // taken before the first harness replaces it
    for (auto& s : rg_slices) s.clear();
    catalogues_ = {CatalogueAccess{app_dbug_tables(), cell_ptr, nullptr}};
}

void AppHarness::TearDown() {
    if (started_) stopApp();
    RuntimeFixture::TearDown();
}

void AppHarness::useSlices(int group, std::vector<SliceFn> slices) { rg_slices[group] = std::move(slices); }

void AppHarness::useProgram() {
    for (int g = 0; g < kNumRateGroups; ++g) useSlices(g, programSliceTable()[g]);
}

void AppHarness::useCatalogue(const CatalogueAccess& c) { catalogues_.push_back(c); }

void AppHarness::startApp() {
    for (const auto& c : catalogues_)
        if (c.clear) c.clear();
    ASSERT_EQ(start(), 0u) << "tRGStart failed";
    started_ = true;
}

void AppHarness::stopApp() {
    started_ = false;
    // The platform's unload: the calibration permissive that the master
    // clock pass publishes is 0 while the unit runs, and a module's test
    // may leave it anywhere.
    _SYS_INFO_STOP_PER = 1;
    EXPECT_EQ(stop(), 0u) << "tRGEnd refused";
}

uint32_t AppHarness::passes(int group) const { return *kCounters[group]; }

void AppHarness::runPasses(int group, uint32_t n) {
    const uint32_t target = passes(group) + n;
    // A frame of the slowest group takes 32 ticks; allow generously more.
    const bool ok = hk::runUntilQuiet([&] { return passes(group) >= target; }, 64ull * (n + 1));
    ASSERT_TRUE(ok) << "group " << group << " did not complete " << n << " frames";
}

void* AppHarness::cell(const std::string& name, char* type) {
    for (const auto& c : catalogues_) {
        const DbugVar* v = dbug_find_in(c.tables, name.c_str());
        if (v == nullptr) continue;
        if (type) *type = v->type;
        return c.ptr(dbug_cell_of(c.tables, *v));
    }
    return nullptr;
}

namespace {
// The cell's value; a name that is not in the directory fails the test and reads as zero.
template <class T>
T valueOf(void* p, const std::string& name) {
    EXPECT_NE(p, nullptr) << "no cell " << name;
    return p ? *static_cast<T*>(p) : T{};
}
}  // namespace

namespace {
// A tunable's value (as its cell holds it) inside the limits of its record,
// if the table has one for the cell.
template <class Tune, class V>
void expectWithinLimits(const Tune* table, uint32_t n, void* cell, V v, const std::string& name) {
    for (uint32_t a = 0; a < n; ++a) {
        if (cell_ptr(table[a].cell) != cell) continue;
        EXPECT_TRUE(v >= table[a].min && v <= table[a].max) << "the service write path refuses " << name << " = " << v
                                                           << ": outside its limits " << table[a].min << " .. "
                                                           << table[a].max;
    }
}

// The service tool's session: a technician logged in on a connection that
// may change values (unless another session holds the change token).
constexpr uint8_t kToolLevel = 3;

// The handle the service side issues for a directory record (0 when the
// record is not served).
uint32_t serviceHandle(const DbugVar* v) {
    const ptrdiff_t record = v - _dbug_var;
    if (record < 1 || static_cast<uint32_t>(record) > sizeofHMIValueArray) return 0;
    return HmiValueHandles[record - 1];
}

// The write request's value for a handle's type.
TwValue toolValue(uint32_t handle, double value) {
    TwValue v{};
    v.type = GetValueType(handle);
    switch (v.type) {
        case TW_TYPE_BOOL: v.data.u8 = value != 0.0 ? 1 : 0; break;
        case TW_TYPE_FLOAT: v.data.f = static_cast<float>(value); break;
        default: v.data.u32 = static_cast<uint32_t>(static_cast<int64_t>(value)); break;
    }
    return v;
}

// The name of a write's status.
std::string refusal(uint8_t status) {
    switch (status) {
        case TW_OK: return "TW_OK";
        case TW_BAD_ARGUMENT: return "TW_BAD_ARGUMENT";
        case TW_OUT_OF_RANGE: return "TW_OUT_OF_RANGE";
        case TW_CHANGE_TOO_LARGE: return "TW_CHANGE_TOO_LARGE";
        case TW_NOT_ALLOWED_NOW: return "TW_NOT_ALLOWED_NOW";
        case TW_TYPE_MISMATCH: return "TW_TYPE_MISMATCH";
        case TW_NOT_WRITABLE: return "TW_NOT_WRITABLE";
        case TW_SECURITY: return "TW_SECURITY";
        default: return "status " + std::to_string(status);
    }
}

// Runs the write request's own write of a value by handle, in a session of
// the tool's level.
uint8_t writeAsTool(uint32_t handle, TwValue* value) {
    TwTcpPort session{};
    session.inUse = 1;
    session.connected = 1;
    session.securityLevel = kToolLevel;
    session.tokenState = ChangeExcluded() != 0 ? TOKEN_EXCLUDED : TOKEN_ALLOWED;
    TwSerialPort* const serial = pCurTWSerialPort;
    TwTcpPort* const tcp = pCurTWTcpPort;
    pCurTWSerialPort = nullptr;
    pCurTWTcpPort = &session;
    const uint8_t status = TallwireClassicDescriptor.WriteValue(handle, value);
    pCurTWSerialPort = serial;
    pCurTWTcpPort = tcp;
    return status;
}
}  // namespace

void AppHarness::serviceWrite(const std::string& name, double value) {
    const DbugVar* v = dbug_find_in(app_dbug_tables(), name.c_str());
    ASSERT_NE(v, nullptr) << "no cell " << name;
    const uint32_t handle = serviceHandle(v);
    ASSERT_NE(handle, 0u) << name << " is not served to the service tool";
    TwValue request = toolValue(handle, value);
    const double before = v->type == 'A' ? real(name) : v->type == 'I' ? integer(name) : boolean(name);
    const uint8_t status = writeAsTool(handle, &request);
    if (status == TW_CHANGE_TOO_LARGE && !stepsChecked_) {
        // A rig not yet entering its settings in steps the tool accepts (or
        // while the control is stopped): the value within its limits goes
        // in past the service path.
        expectWithinLimits(_an_tune, num_an_tune, cell(name), static_cast<float>(value), name);
        pokeTunable(name, value);
        return;
    }
    EXPECT_EQ(refusal(status), "TW_OK") << "the service write path refuses " << name << " = " << value
                                        << " (the cell held " << before << ")";
}

void AppHarness::pokeTunable(const std::string& name, double value) {
    setCell(name, value);
    special_case_tune(cell(name));
}

void AppHarness::setCell(const std::string& name, double value) {
    char type = 0;
    void* p = cell(name, &type);
    ASSERT_NE(p, nullptr) << "no cell " << name;
    switch (type) {
        case 'A': *static_cast<float*>(p) = static_cast<float>(value); break;
        case 'B': *static_cast<uint32_t*>(p) = value != 0.0 ? 1u : 0u; break;
        case 'I': *static_cast<int32_t*>(p) = static_cast<int32_t>(value); break;
        case 'U': *static_cast<uint32_t*>(p) = static_cast<uint32_t>(value); break;
        default: FAIL() << name << " is of type " << type;
    }
}

float AppHarness::real(const std::string& name) { return valueOf<float>(cell(name), name); }
uint32_t AppHarness::boolean(const std::string& name) { return valueOf<uint32_t>(cell(name), name); }
int32_t AppHarness::integer(const std::string& name) { return valueOf<int32_t>(cell(name), name); }
std::string AppHarness::text(const std::string& name) {
    const StrCell s = valueOf<StrCell>(cell(name), name);
    return std::string(s.s, strnlen(s.s, kStrCellBytes));
}

}  // namespace tc_test
