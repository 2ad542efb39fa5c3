// Fuzz target of the directory lookups: names as they come from a data-log
// configuration file or the service side, over the application's directory
// and over a small directory with user-block aliases and instances.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <algorithm>

#include "runtime/dbug.h"

namespace {

const DbugVar kVar[] = {
    {0, 0, 0, 0, 0, "", ""},
    {'A', ' ', 0, 0, cell_ref(AREA_mr_r, 0), "ACT_LIM.A_SW", "_R10"},
    {'A', '*', 0, 0, cell_ref(AREA_an_tune, 0), "SS_DERIV_FILT.LAG_TAU", "_R10"},
    {'I', '*', 0, 0, cell_ref(AREA_int_tune, 12), "SPD_PID.LSS_HSS", "_R10"},  // beyond the table
    {'B', 'S', 0, 0, cell_ref(AREA_mr_b, 0), "COMMANDS.IN_1", "_R160"},
    {'B', ' ', 1, 0, cell_ref(AREA_mr_b, 4), "ALARM_LVL1.B_NAME", "_R20"},
    {'B', ' ', 0, 0, cell_ref(AREA_mr_b, 8), "USE_SP1.IN", "_R20"},
    {'U', '*', 0, 0, cell_ref(AREA_mr_i, 0), "TALLWIRE.IP_ADDR_1", "_RNone"},
    {0, 0, 0, 0, 0, "", ""},
};
const DbugHdr kHdr[] = {
    {0, 4, ""}, {1, 2, "ACCEL"}, {3, 4, "MASTER"}, {5, 6, "_ub1"}, {7, 7, "_ub2"}, {0, 4, ""},
};
const char* const kUbNames[] = {"AI_EVENT.AI_01_EVENT", "AI_EVENT.AI_01", ""};
const char* const kUbMap[] = {
    "AI_EVENT.AI_01_EVENT.USE_SP1_IN _ub1.USE_SP1.IN",
    "AI_EVENT.AI_01_EVENT.LONG _ub1QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ.X.Y",
    "AI_EVENT.AI_01_EVENT.NODOT _ub1",
};
const AnTune kAn[] = {{cell_ref(AREA_mr_r, 4), 0.0f, 0.5f}};
const IntTune kInt[] = {{cell_ref(AREA_mr_i, 4), 0, 2}};
const DbugTables kTables = {kVar, kHdr, 6, kUbNames, 3, kUbMap, 3, kAn, 1, kInt, 1};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // First byte: the type letter asked for and the attribute flag; the rest
    // is the name, in a buffer of its exact size.
    const char letters[] = {0, 'A', 'B', 'I', 'U', 'T', 'C', 'S'};
    char type = letters[data[0] & 7];
    const int need = (data[0] >> 3) & 1;
    // With bit 7 set, a known name cut at data[1] and followed by the rest,
    // so that the rules see near misses of real names.
    static const char* const kSeeds[] = {
        "AI_EVENT.AI_01_EVENT.USE_SP1_IN", "AI_EVENT.AI_01_EVENT.ALARM_LVL1.B_NAME", "AI_EVENT.AI_01.X",
        "ACCEL.SS_DERIV_FILT.LAG_TAU",     "MASTER.COMMANDS.IN_1",                   "_ub2.TALLWIRE.IP_ADDR_1",
        "_APP_VARS.TIQfile12 Date",        "_MASTER._SYS_INFO.ALM_RST",              "AI_EVENT.AI_01_EVENT.LONG",
    };
    std::string text;
    if ((data[0] & 0x80) && size >= 3) {
        const char* seed = kSeeds[data[1] % (sizeof kSeeds / sizeof kSeeds[0])];
        text.assign(seed, std::min<size_t>(std::strlen(seed), data[2]));
        text.append(reinterpret_cast<const char*>(data + 3), size - 3);
    } else {
        text.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    }
    const size_t n = std::strlen(text.c_str());
    auto name = std::make_unique<char[]>(n + 1);
    std::memcpy(name.get(), text.c_str(), n + 1);

    char mod[kDbugModuleBytes], fld[kDbugFieldBytes];
    if (parseCatBlkFld_in(kTables, name.get(), mod, fld) == 1) {
        if (std::strlen(mod) >= sizeof mod || std::strlen(fld) >= sizeof fld) std::abort();
    }
    CellRef ref = 0;
    const char* rate = nullptr;
    const char given = type;
    const int r = get_dbug_address_in(kTables, name.get(), &type, need, &ref, &rate);
    if (r != 1 && r != -2 && r != -3 && r != -4) std::abort();
    if (r == 1 && rate == nullptr) std::abort();
    if (given != 0 && type != given) std::abort();  // a given letter is never changed
    type = given;
    const int ra = get_dbug_address(name.get(), &type, need, &ref, &rate);
    if (ra != 1 && ra != -2 && ra != -3 && ra != -4) std::abort();
    if (ra == 1 && cell_ptr(ref) == nullptr) std::abort();
    return 0;
}
