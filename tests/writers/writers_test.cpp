// Every cell the program reads has a writer: a slice or block initialisation
// that stores it (from the build's cross-reference), a tunable or a
// service-side input, or one of the reviewed exceptions below, each with the
// reason nothing in the program writes it.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "runtime/dbug.h"
#include "tests/writers/exceptions.h"
#include "tests/writers/xref.h"

namespace {

struct Finding {
    std::string where;  // a place that reads it
};

// Cells of the application's catalogue that some piece reads and nothing writes.
std::map<std::string, Finding> read_without_writer() {
    const xref::Listing& l = xref::listing();
    const DbugTables t = app_dbug_tables();
    std::map<std::string, Finding> out;
    for (uint32_t h = 1; h + 1 < t.num_hdr; ++h) {
        const DbugHdr& hdr = t.hdr[h];
        for (uint32_t r = hdr.first; r <= hdr.last; ++r) {
            const DbugVar& v = t.var[r];
            if (v.access == '*' || v.access == 'S') continue;  // tunables and service inputs
            std::string member = v.name;
            for (char& c : member)
                if (c == '.') c = '_';
            auto it = l.cells.find(std::string(hdr.name) + " " + member);
            if (it == l.cells.end() || !it->second.read || it->second.written) continue;
            out[std::string(hdr.name) + "." + v.name] = Finding{it->second.reads.front()};
        }
    }
    return out;
}

TEST(Writers, EveryCellReadHasAWriterOrAReviewedReason) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    ASSERT_GT(l.cells.size(), 10000u) << "the cross-reference is incomplete";
    const auto found = read_without_writer();
    std::set<std::string> excepted;
    for (const auto& e : writers::kExceptions) {
        EXPECT_TRUE(excepted.insert(e.cell).second) << e.cell << " is listed twice";
        EXPECT_GT(std::strlen(e.reason), 0u) << e.cell << " has no reason";
    }
    for (const auto& [cell, f] : found)
        EXPECT_TRUE(excepted.count(cell)) << cell << " is read (" << f.where
                                          << ") and nothing writes it: give it its writer, or list it with "
                                             "its reason in tests/writers/exceptions.h";
    for (const auto& e : writers::kExceptions)
        EXPECT_TRUE(found.count(e.cell)) << e.cell
                                         << " is listed as read without a writer but no longer is (a writer came, "
                                            "or nothing reads it): remove it from tests/writers/exceptions.h";
}

// The check sees what it must: cells whose only writer is a block output
// bound by reference, a copy-slot reader, and a tunable.
TEST(Writers, TheCrossReferenceSeesEachKindOfUse) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    struct Row {
        const char* key;
        bool read, written;
    } rows[] = {
        // Assigned in the 160 ms pass, read through its copy slot in the 80 ms pass.
        {"START RUN_CMD_LATCH_R", true, true},
        // A delay block's output, bound by reference.
        {"START STRT_PRM_D_DELAY", true, true},
    };
    for (const auto& r : rows) {
        auto it = l.cells.find(r.key);
        ASSERT_NE(it, l.cells.end()) << r.key;
        EXPECT_EQ(it->second.read, r.read) << r.key;
        EXPECT_EQ(it->second.written, r.written) << r.key;
    }
}

// The inversion actions of the discrete input and relay channels have no
// timer: their elapsed and remaining times are cells nothing writes, in
// every channel that has them.
TEST(Writers, TheInversionActionsTimesHaveNoWriter) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    const DbugTables t = app_dbug_tables();
    int channels = 0;
    for (uint32_t h = 1; h + 1 < t.num_hdr; ++h) {
        const DbugHdr& hdr = t.hdr[h];
        for (uint32_t r = hdr.first; r <= hdr.last; ++r) {
            const std::string name = t.var[r].name;
            if (name != "INV_INH.E_TIME" && name != "INV_INH.R_TIME") continue;
            channels += name == "INV_INH.E_TIME";
            EXPECT_TRUE(l.cells.count(std::string(hdr.name) + " INV_INH_ACT_OUT")) << hdr.name;
            auto it = l.cells.find(std::string(hdr.name) + " INV_INH_" + name.substr(8));
            EXPECT_TRUE(it == l.cells.end() || !it->second.written) << hdr.name << "." << name;
        }
    }
    EXPECT_EQ(channels, 8 + 16 + 3 + 16 + 1);  // inputs, relays and relay 1
}

}  // namespace
