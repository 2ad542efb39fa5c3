// Runs the data log through the real rate groups and its writer task in
// simulated time: cells set by name, the configuration file written under
// the application root, printed logs read back by an independent reader.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/hostfs.h"
#include "host/hostkernel.h"
#include "host/hostlog.h"
#include "storage/datalog.h"
#include "tests/storage_datalog/datalog_file.h"
#include "tests/support/app_harness.h"

namespace dl_test {

constexpr int R10 = 0, R20 = 1, R40 = 2, R80 = 3, R160 = 4;

class DataLogRig : public tc_test::AppHarness {
protected:
    void SetUp() override {
        AppHarness::SetUp();
        hostfs::setCapacity(std::nullopt);
        hostfs::setRenameFault(false);
    }
    void TearDown() override {
        hostfs::setRenameFault(false);
        hostfs::setCapacity(std::nullopt);
        hk::clearMemoryFigures();
        AppHarness::TearDown();
    }

    std::string hostFile(const std::string& name) { return hostfs::applicationRoot() + "/" + name; }
    void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(hostFile(name), std::ios::binary) << text;
    }
    std::string readFile(const std::string& name) {
        std::ifstream f(hostFile(name), std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    bool exists(const std::string& name) { return std::filesystem::exists(hostFile(name)); }
    std::string logText() {
        std::ifstream f(hostlog::logFilePath(), std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    // Writes the configuration file with a modification date of its own, so
    // that a rewrite within the same second is still seen as new.
    void writeConfig(const std::string& text) {
        static int stamp = 1000;
        writeFile("TREND_DLOG.logConfig", text);
        std::filesystem::last_write_time(hostFile("TREND_DLOG.logConfig"),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::hours(++stamp));
    }

    // Runs f inside a task of the emulated CPU (file reads sleep between blocks).
    void inTask(const std::function<void()>& f) { hk::runTask(f, 50, "tTest"); }

    // Starts the application with the data log enabled, and runs past the
    // writer task's first second.
    void startLog(int intervalMs = 10) {
        startApp();
        setCell("DATALOG.TREND_DLOG.B_ENABLE", 1);
        setCell("DATALOG.MININTVL.I_NAME", intervalMs);
        runPasses(R10, 110);
    }
    // Runs until cond holds (at most `ms` of simulated time).
    bool runUntil(const std::function<bool()>& cond, uint64_t ms = 5000) {
        return hk::runUntil(cond, ms / 5);
    }
    // The start command until collecting has begun.
    void startCollecting() {
        setCell("DATALOG.EVENT_STRT.OR", 1);
        ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 1; }));
        setCell("DATALOG.EVENT_STRT.OR", 0);
    }
    void stopCollecting() {
        setCell("DATALOG.EVENT_STP.OR", 1);
        ASSERT_TRUE(runUntil([] { return TREND_DLOG_internal.RUN_STATE == 0; }));
        setCell("DATALOG.EVENT_STP.OR", 0);
    }
    // A print command held for 300 ms, then released; true when no print is
    // under way at the end.
    bool print() {
        setCell("DATALOG.PRINT.OR", 1);
        runPasses(R10, 30);
        const bool ended = runUntil([] { return TREND_DLOG_internal.PRT_BUSY == 0; });
        setCell("DATALOG.PRINT.OR", 0);
        runPasses(R10, 20);
        return ended;
    }
    bool event(const std::string& line) {
        for (const std::string& m : messageLines())
            if (m == line) return true;
        return false;
    }

    // The printed log as text lines from the independent reader.
    std::string readLog(const std::string& name) { return readDataLogFile(hostFile(name)); }
};

}  // namespace dl_test
