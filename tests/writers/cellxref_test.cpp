// The cross-reference tool on a unit with one use of each kind: each line of
// the unit names the kind the tool must report for the cells used on it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

#ifdef TC_CELLXREF
// line -> {"MEMBER KIND"} as marked in the unit ("// uses: A_OUT W, B_OUT R").
std::map<int, std::set<std::string>> expected() {
    std::map<int, std::set<std::string>> out;
    std::ifstream in(TC_XREF_FIXTURE);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        const auto c = line.rfind("// uses: ");
        if (c == std::string::npos) continue;
        std::string marks = line.substr(c + 9);
        for (char& ch : marks)
            if (ch == ',') ch = ' ';
        std::istringstream s(marks);
        std::string member, kind;
        while (s >> member >> kind) out[n].insert(member + " " + kind);
    }
    return out;
}

// line -> {"MEMBER KIND"} as the tool reports them.
std::map<int, std::set<std::string>> reported() {
    const std::string out = std::string(TC_XREF_BUILD) + "/cellxref_fixture.txt";
    const std::string cmd = std::string(TC_CELLXREF) + " -p " + TC_XREF_BUILD + " -o " + out + " " + TC_XREF_FIXTURE +
                            " 2>&1";
    std::string log;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t k;
        while ((k = std::fread(buf, 1, sizeof buf, p)) > 0) log.append(buf, k);
        EXPECT_EQ(::pclose(p), 0) << log;
    }
    std::map<int, std::set<std::string>> got;
    std::ifstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        std::string tag, module, member, kind, where;
        s >> tag >> module >> member >> kind >> where;
        if (tag != "USE" || module != "XFIX") continue;
        const int n = std::stoi(where.substr(where.rfind(':') + 1));
        got[n].insert(member + " " + kind);
    }
    return got;
}
#endif

TEST(CellXref, ReportsEachKindOfUseOnItsLine) {
#ifndef TC_CELLXREF
    GTEST_SKIP() << "this build has no cell cross-reference (configured with TC_XREF off)";
#else
    const auto want = expected();
    ASSERT_GE(want.size(), 14u);
    const auto got = reported();
    for (const auto& [line, uses] : want) {
        auto it = got.find(line);
        ASSERT_NE(it, got.end()) << "line " << line << ": nothing reported";
        EXPECT_EQ(it->second, uses) << "line " << line;
    }
#endif
}

}  // namespace
