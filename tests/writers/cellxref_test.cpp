// The cross-reference tool run once, as the build runs it, on a unit with
// one use of each kind and calls among its functions
// (tools/cellxref/fixture): the unit's marks say what the listing must hold
// for each line, and the listing is read back the way the writers and order
// checks read it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/writers/xref.h"

namespace {

#ifdef TC_CELLXREF
namespace fs = std::filesystem;

// What the fixture's marks ask of the listing.
struct Marks {
    // "FILE:LINE" -> {"MEMBER KIND"} (KIND with ":WHERE" for an escape that names where it went).
    std::map<std::string, std::set<std::string>> uses;
    // "FILE:LINE" -> the function its uses belong to.
    std::map<std::string, std::string> function;
    // Caller -> its calls in order.
    std::map<std::string, std::vector<std::string>> calls;
    // Lines the listing holds as they stand.
    std::vector<std::string> lines;
    // "FILE:LINE" -> {"MEMBER GROUP"}: the copy slots read there.
    std::map<std::string, std::set<std::string>> slots;
};

std::vector<std::string> split(std::string text, char sep) {
    std::vector<std::string> out;
    std::istringstream s(text);
    std::string item;
    while (std::getline(s, item, sep)) {
        const auto b = item.find_first_not_of(' ');
        if (b == std::string::npos) continue;
        out.push_back(item.substr(b, item.find_last_not_of(' ') - b + 1));
    }
    return out;
}

// The marks of every file in the fixture's folder.
Marks read_marks() {
    Marks m;
    for (const auto& entry : fs::directory_iterator(TC_XREF_FIXTURE_DIR)) {
        const std::string file = entry.path().string();
        std::ifstream in(file);
        std::string line, function = "?";
        for (int n = 1; std::getline(in, line); ++n) {
            const std::string where = file + ":" + std::to_string(n);
            // A mark runs to the end of the line or to the next mark.
            auto mark = [&](const char* tag) -> std::string {
                const auto c = line.find(std::string("// ") + tag + ": ");
                if (c == std::string::npos) return "";
                const auto from = c + 5 + std::string(tag).size();
                const auto next = line.find(" // ", from);
                return line.substr(from, next == std::string::npos ? std::string::npos : next - from);
            };
            if (const std::string f = mark("in"); !f.empty()) function = f;
            if (const std::string u = mark("uses"); !u.empty()) {
                for (const auto& use : split(u, ',')) m.uses[where].insert(use);
                m.function[where] = function;
            }
            if (const std::string c = mark("calls"); !c.empty()) m.calls[function] = split(c, ' ');
            if (const std::string l = mark("listing"); !l.empty()) m.lines.push_back(l);
            if (const std::string u = mark("slots"); !u.empty())
                for (const auto& slot : split(u, ',')) m.slots[where].insert(slot);
        }
    }
    return m;
}

struct ToolRun {
    int status = -1;
    std::string log;
};

ToolRun run(const std::string& args) {
    ToolRun r;
    const std::string cmd = std::string(TC_CELLXREF) + " " + args + " 2>&1";
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t k;
        while ((k = std::fread(buf, 1, sizeof buf, p)) > 0) r.log.append(buf, k);
        const int w = ::pclose(p);
        r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    }
    return r;
}

// The listing and dependency file of this process (the cases may run as
// processes of their own side by side), removed when it ends.
struct Files {
    std::string out = std::string(TC_XREF_BUILD) + "/cellxref_fixture." + std::to_string(::getpid()) + ".txt";
    std::string deps = out + ".d";
    ~Files() {
        std::error_code ec;
        fs::remove(out, ec);
        fs::remove(deps, ec);
    }
};
const Files kFiles;
const std::string& kOut = kFiles.out;
const std::string& kDeps = kFiles.deps;

// The tool run once on the fixture, as the build runs it on each unit.
const ToolRun& fixture_run() {
    static const ToolRun r = [] {
        return run(std::string("-p ") + TC_XREF_BUILD + " -o " + kOut + " --depfile " + kDeps + " --root " +
                   TC_XREF_FIXTURE_DIR + " " + TC_XREF_FIXTURE);
    }();
    return r;
}

std::vector<std::string> listing_lines() {
    std::vector<std::string> out;
    std::ifstream in(kOut);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream s(line);
    std::vector<std::string> out;
    std::string w;
    while (s >> w) out.push_back(w);
    return out;
}

class CellXref : public ::testing::Test {
protected:
    void SetUp() override {
        const ToolRun& r = fixture_run();
        ASSERT_EQ(r.status, 0) << r.log;
    }
};

// Each marked line: the cells used on it, each with its kind (and where an
// escape went), in the function the line belongs to; nothing else is listed
// for the fixture's cells.
TEST_F(CellXref, EachUseOnItsLineWithItsKindAndFunction) {
    const Marks m = read_marks();
    ASSERT_GE(m.uses.size(), 30u);
    std::map<std::string, std::set<std::string>> got;
    std::map<std::string, std::set<std::string>> functions;
    for (const auto& line : listing_lines()) {
        const auto w = words(line);
        if (w.empty() || w[0] != "USE") continue;
        ASSERT_GE(w.size(), 6u) << line;
        if (w[1] != "XFIX") continue;
        std::string kind = w[3];
        if (kind == "ESC") {
            ASSERT_EQ(w.size(), 7u) << line << ": an escape names where it went";
            if (w[6] != "?") kind += ":" + w[6];
        } else {
            ASSERT_EQ(w.size(), 6u) << line;
        }
        got[w[4]].insert(w[2] + " " + kind);
        functions[w[4]].insert(w[5]);
    }
    for (const auto& [where, uses] : m.uses) {
        EXPECT_EQ(got[where], uses) << where;
        EXPECT_EQ(functions[where], std::set<std::string>{m.function.at(where)}) << where;
    }
    for (const auto& [where, uses] : got)
        EXPECT_TRUE(m.uses.count(where)) << where << ": listed but not marked (" << *uses.begin() << ")";
}

// A read of a copy slot is listed once more with the group whose view
// reads it; a group's read of its own cell is no slot read.
TEST_F(CellXref, EachCopySlotReadWithTheGroupThatReadsIt) {
    const Marks m = read_marks();
    ASSERT_EQ(m.slots.size(), 2u);
    std::map<std::string, std::set<std::string>> got;
    for (const auto& line : listing_lines()) {
        const auto w = words(line);
        if (w.empty() || w[0] != "SLOT") continue;
        ASSERT_EQ(w.size(), 6u) << line;
        if (w[1] != "XFIX") continue;
        got[w[4]].insert(w[2] + " " + w[3]);
        EXPECT_EQ(w[5], m.function.at(w[4])) << line;
    }
    EXPECT_EQ(got, m.slots);
    const xref::Listing l = xref::read_listing(kOut);
    ASSERT_TRUE(l.loaded) << l.error;
    const auto& z = l.cells.at("XFIX Z_OUT");
    EXPECT_EQ(z.slot_reads.size(), 1u);
    EXPECT_EQ(z.slot_reads.count(0), 1u);
    EXPECT_EQ(l.cells.at("XFIX ZD_OUT").slot_reads.count(2), 1u);
    EXPECT_TRUE(l.cells.at("XFIX A_OUT").slot_reads.empty());
}

// Only the uses and calls in files under the root are listed: the cell
// that only the header outside it uses is not, nor are calls of functions
// declared outside it (the standard library, the blocks, the cells' own
// operators, the outside header).
TEST_F(CellXref, OnlyFilesUnderTheRootAreListed) {
    const std::string root = TC_XREF_FIXTURE_DIR;
    int uses = 0, calls = 0;
    for (const auto& line : listing_lines()) {
        const auto w = words(line);
        if (w[0] == "USE") {
            ++uses;
            EXPECT_EQ(w[4].rfind(root, 0), 0u) << line;
            EXPECT_NE(w[2], "OUTSIDE_OUT") << line;
        } else if (w[0] == "CALL") {
            ++calls;
            EXPECT_EQ(w[1].rfind("xfix::", 0), 0u) << line;
            EXPECT_TRUE(w[3].rfind("xfix::", 0) == 0 || w[3].rfind("=xfix::", 0) == 0) << line;
            EXPECT_EQ(w[3].find("outside"), std::string::npos) << line;
        }
    }
    EXPECT_GT(uses, 40);
    EXPECT_GT(calls, 5);
}

// A function's calls, in the order it makes them (calls in a lambda's body
// are its own), a table it uses as a call of the table, and the pieces a
// slice runs through the functions it calls; each call placed by its
// position in the unit.
TEST_F(CellXref, CallsInOrderAndThePiecesOfASlice) {
    const Marks m = read_marks();
    ASSERT_GE(m.calls.size(), 3u);
    const xref::Listing l = xref::read_listing(kOut);
    ASSERT_TRUE(l.loaded) << l.error;
    for (const auto& [caller, callees] : m.calls) {
        auto it = l.calls.find(caller);
        ASSERT_NE(it, l.calls.end()) << caller;
        EXPECT_EQ(it->second, callees) << caller;
    }
    EXPECT_EQ(l.calls.size(), m.calls.size()) << "a caller listed that the fixture does not mark";
    std::vector<std::string> want = {"xfix::r10_uses::slice_b", "xfix::r10_uses::uses"};
    want.insert(want.end(), m.calls.at("xfix::r10_uses::uses").begin(), m.calls.at("xfix::r10_uses::uses").end());
    want.push_back("=xfix::r10_uses::kTable");
    want.push_back("=xfix::r10_uses::kTables");
    EXPECT_EQ(xref::pieces_of(l, "xfix::r10_uses::slice_c"), want);
    for (const auto& line : listing_lines()) {
        const auto w = words(line);
        if (w[0] != "CALL") continue;
        ASSERT_EQ(w.size(), 4u) << line;
        EXPECT_EQ(w[2].size(), 8u) << line << ": the offset is eight digits";
        EXPECT_EQ(w[2].find_first_not_of("0123456789"), std::string::npos) << line;
    }
}

// The rate groups' slice table, group by group in order, and the marked
// lines as they stand.
TEST_F(CellXref, TheSliceTableAndTheMarkedLines) {
    const Marks m = read_marks();
    ASSERT_GE(m.lines.size(), 3u);
    const auto lines = listing_lines();
    const std::set<std::string> all(lines.begin(), lines.end());
    for (const auto& want : m.lines) EXPECT_TRUE(all.count(want)) << want;
    int slices = 0;
    for (const auto& line : lines) slices += line.rfind("SLICE ", 0) == 0;
    EXPECT_EQ(slices, static_cast<int>(m.lines.size()));
    const xref::Listing l = xref::read_listing(kOut);
    EXPECT_EQ(l.slices.at(0), (std::vector<std::string>{"xfix::r10_uses::slice_a", "xfix::r10_uses::slice_b"}));
    EXPECT_EQ(l.slices.at(1), (std::vector<std::string>{"xfix::r10_uses::slice_c"}));
}

// The dependency file names the listing and every file the unit reads:
// the unit, the headers in the folder and outside it.
TEST_F(CellXref, TheDependencyFileNamesTheUnitAndItsHeaders) {
    std::ifstream in(kDeps);
    ASSERT_TRUE(in) << kDeps;
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, kOut + ": \\");
    std::set<std::string> deps;
    std::string line;
    while (std::getline(in, line)) {
        const auto w = words(line);
        for (const auto& d : w)
            if (d != "\\") deps.insert(fs::weakly_canonical(d).string());
    }
    const fs::path fixture(TC_XREF_FIXTURE);
    const fs::path source = fixture.parent_path().parent_path().parent_path().parent_path();
    for (const fs::path& want : {fixture, fixture.parent_path() / "cells.h", source / "tools/cellxref/fixture_outside.h",
                                 source / "runtime/catalogue.h", source / "runtime/blockkinds.h"})
        EXPECT_TRUE(deps.count(fs::weakly_canonical(want).string())) << want;
}

// A command line without its output file is refused as a usage error.
TEST(CellXrefCommandLine, WithoutAnOutputFileIsRefused) {
    const ToolRun r = run(std::string("-p ") + TC_XREF_BUILD + " " + TC_XREF_FIXTURE);
    EXPECT_EQ(r.status, 2) << r.log;
}
#else
TEST(CellXref, NeedsTheCrossReference) {
    GTEST_SKIP() << "this build has no cell cross-reference (configured with TC_XREF off)";
}
#endif

}  // namespace
