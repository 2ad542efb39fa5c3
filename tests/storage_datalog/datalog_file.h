// A printed data-log file read back by an independent reader: Python's
// struct module (read_datalog.py) run as a child process, its text parsed
// into the header fields and the variables with their samples.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include "tests/support/paths.h"

namespace dl_test {

struct Var {
    std::string type, path, name;
    int spacing = 0, dynamic = 0, count = 0;
    std::vector<double> samples;
};
struct LogFile {
    std::map<std::string, std::string> head;
    std::vector<Var> vars;
    const Var* find(const std::string& path, int dynamic = 0) const {
        for (const Var& v : vars)
            if (v.path == path && v.dynamic == dynamic) return &v;
        return nullptr;
    }
};

inline LogFile parse(const std::string& text) {
    LogFile f;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("var\t", 0) != 0) {
            const size_t sp = line.find(' ');
            f.head[line.substr(0, sp)] = sp == std::string::npos ? "" : line.substr(sp + 1);
            continue;
        }
        std::vector<std::string> parts;
        std::stringstream ls(line);
        std::string part;
        while (std::getline(ls, part, '\t')) parts.push_back(part);
        Var v;
        v.type = parts.at(1);
        v.path = parts.at(2);
        v.name = parts.at(3);
        v.spacing = std::stoi(parts.at(4));
        v.dynamic = std::stoi(parts.at(5));
        v.count = std::stoi(parts.at(6));
        std::stringstream vs(parts.size() > 7 ? parts[7] : "");
        double x;
        while (vs >> x) v.samples.push_back(x);
        f.vars.push_back(v);
    }
    return f;
}

// The reader's text of the file at `path` (a host path).
inline std::string readDataLogFile(const std::string& path) {
    const std::string cmd = "/usr/bin/python3 " + tc_test::sourceDir() +
                            "/tests/storage_datalog/read_datalog.py " + path;
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        EXPECT_EQ(pclose(p), 0) << out;
    }
    return out;
}

}  // namespace dl_test
