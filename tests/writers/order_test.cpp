// The slice table puts every piece where the design places it: the slice
// that computes a cell, or the order of two cells' writers within a pass,
// checked against the program's own slice table and the calls each slice
// makes (both from the build's cross-reference).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/rgtask.h"
#include "tests/writers/placements.h"
#include "tests/writers/xref.h"

namespace {

// A place in the passes of one group: slice number (1-based), call index.
struct Place {
    int group = -1, slice = 0, index = 0;
    bool operator<(const Place& o) const {
        if (group != o.group) return group < o.group;
        if (slice != o.slice) return slice < o.slice;
        return index < o.index;
    }
};

std::string slice_name(int group, int n) {
    static const char* const kGroup[] = {"_R10", "_R20", "_R40", "_R80", "_R160"};
    return std::string(kGroup[group]) + "_TASK_" + std::to_string(n);
}

// The slice number of a slice function's name in group g (0 if it is not one).
int slice_number(int group, const std::string& fn) {
    const std::string prefix = slice_name(group, 0).substr(0, slice_name(group, 0).size() - 1);
    if (fn.rfind(prefix, 0) != 0) return 0;
    return std::atoi(fn.c_str() + prefix.size());
}

// Where each function runs in the slice table: every place it is called
// from a slice, directly or through other functions.
std::map<std::string, std::vector<Place>> places() {
    const xref::Listing& l = xref::listing();
    std::map<std::string, std::vector<Place>> out;
    for (const auto& [group, slices] : l.slices) {
        for (size_t s = 0; s < slices.size(); ++s) {
            const int n = slice_number(group, slices[s]);
            out[slices[s]].push_back({group, n, 0});
            const auto pieces = xref::pieces_of(l, slices[s]);
            for (size_t k = 0; k < pieces.size(); ++k) out[pieces[k]].push_back({group, n, static_cast<int>(k) + 1});
        }
    }
    return out;
}

// The places where the slices write a cell "MODULE.BLOCK.FIELD".
std::vector<Place> writers_of(const std::string& cell, const std::map<std::string, std::vector<Place>>& at) {
    const xref::Listing& l = xref::listing();
    const auto dot = cell.find('.');
    std::string member = cell.substr(dot + 1);
    for (char& c : member)
        if (c == '.') c = '_';
    std::vector<Place> out;
    auto it = l.cells.find(cell.substr(0, dot) + " " + member);
    if (it == l.cells.end()) return out;
    for (const auto& fn : it->second.writer_functions) {
        auto p = at.find(fn);
        if (p == at.end()) continue;  // block initialisation, service side
        out.insert(out.end(), p->second.begin(), p->second.end());
    }
    return out;
}

TEST(SliceOrder, TheSliceTableRunsEachGroupsSlicesInNumericOrder) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    ASSERT_EQ(l.slices.size(), static_cast<size_t>(kNumRateGroups));
    for (const auto& [group, slices] : l.slices) {
        EXPECT_EQ(slices.size(), rg_slices[group].size()) << "group " << group;
        int last = 0;
        for (const auto& fn : slices) {
            const int n = slice_number(group, fn);
            EXPECT_GT(n, last) << fn << " in the list of group " << group;
            last = n;
        }
        // Each group ends with its last slice, which commits the group's delays.
        static const int kLast[] = {11, 19, 8, 30, 82};
        EXPECT_EQ(last, kLast[group]) << "group " << group;
    }
}

TEST(SliceOrder, EveryPlacedCellIsComputedInItsSlice) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    const auto at = places();
    for (const auto& p : order::kInSlice) {
        const auto w = writers_of(p.cell, at);
        EXPECT_FALSE(w.empty()) << p.cell << ": no slice writes it";
        std::set<std::string> slices;
        for (const auto& place : w) slices.insert(slice_name(place.group, place.slice));
        EXPECT_EQ(slices, std::set<std::string>{p.slice}) << p.cell;
    }
}

TEST(SliceOrder, EveryPlacedPieceRunsInItsSlice) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    const auto at = places();
    for (const auto& p : order::kPieceInSlice) {
        auto it = at.find(p.function);
        if (it == at.end()) {
            ADD_FAILURE() << p.function << ": no slice calls it";
            continue;
        }
        std::set<std::string> slices;
        for (const auto& place : it->second) slices.insert(slice_name(place.group, place.slice));
        EXPECT_EQ(slices, std::set<std::string>{p.slice}) << p.function;
    }
}

TEST(SliceOrder, EachCellIsWrittenBeforeTheCellsComputedFromItInThePass) {
    const xref::Listing& l = xref::listing();
    if (!l.loaded) GTEST_SKIP() << l.error;
    const auto at = places();
    for (const auto& b : order::kBefore) {
        const auto first = writers_of(b.first, at);
        const auto then = writers_of(b.then, at);
        EXPECT_FALSE(first.empty()) << b.first << ": no slice writes it";
        EXPECT_FALSE(then.empty()) << b.then << ": no slice writes it";
        for (const auto& f : first)
            for (const auto& t : then) {
                EXPECT_EQ(f.group, t.group) << b.first << " and " << b.then << " are computed in different groups";
                EXPECT_TRUE(f < t) << b.first << " (" << slice_name(f.group, f.slice) << ", call " << f.index
                                   << ") must be computed before " << b.then << " ("
                                   << slice_name(t.group, t.slice) << ", call " << t.index << ")";
            }
    }
}

}  // namespace
