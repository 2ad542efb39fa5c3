// The event log's rows, read back from ae_eventlog.csv by Python's csv
// module (tests/storage_eventlog/read_eventlog.py) in a child process, once
// the writer task has caught up.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "storage/log_evt.h"
#include "tests/support/paths.h"

namespace tc_test {

struct LogRow {
    long long ms;
    std::string what;  // source|text|severity
};

// The event rows of the log file; the caller runs a few passes afterwards
// when it needs the groups to have caught up too.
inline std::vector<LogRow> readEventLog() {
    EXPECT_TRUE(hk::runUntil([] { return LogEventHead == LogEventTail; }, 2000));
    const std::string cmd = "/usr/bin/python3 " + tc_test::sourceDir() +
                            "/tests/storage_eventlog/read_eventlog.py " + hostfs::applicationRoot() +
                            "/ae_eventlog.csv";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t k;
        while ((k = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, k);
        EXPECT_EQ(pclose(p), 0) << out;
    }
    std::vector<LogRow> rows;
    std::istringstream in(out);
    std::string kind;
    while (in >> kind) {
        LogRow r{0, ""};
        in >> r.ms;
        std::getline(in, r.what);
        if (!r.what.empty() && r.what[0] == ' ') r.what.erase(0, 1);
        if (kind == "event") rows.push_back(r);
    }
    return rows;
}

inline int countRows(const std::vector<LogRow>& rows, const std::string& what) {
    int n = 0;
    for (const auto& r : rows) n += r.what == what ? 1 : 0;
    return n;
}

}  // namespace tc_test
