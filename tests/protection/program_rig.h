// The whole program (its own slice table) driven only through its inputs:
// the speed sensors and contacts of the board model, and tunables written
// as the service tool writes them. Settings that the configuration samples
// while the I/O is locked at power-up are given before the first frame.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host/board.h"
#include "host/speed_sensor_model.h"
#include "tests/config/config_rig.h"

namespace pr_test {

constexpr int P10 = 0, P20 = 1, P40 = 2, P80 = 3, P160 = 4;

class ProgramRig : public cfg_test::ConfigRig {
protected:
    void SetUp() override {
        ConfigRig::SetUp();
        self_ = this;
        const auto& program = cfg_test::programSlices();
        std::vector<SliceFn> r10 = {firstFrame};
        r10.insert(r10.end(), program[P10].begin(), program[P10].end());
        useSlices(P10, r10);
        speedsensor::install();
    }
    void TearDown() override {
        early_.clear();
        self_ = nullptr;
        ConfigRig::TearDown();
    }
    // Tunables in force from the first frame (the stored tunables file).
    void early(std::initializer_list<std::pair<const char*, double>> cells) {
        for (const auto& c : cells) early_.emplace_back(c.first, c.second);
    }
    // The shaft at `rpm`, started and past the power-up windows.
    void startTurning(double rpm = 0.0) {
        if (rpm > 0.0) turn(rpm);
        startPastPowerUp();
        runPasses(P160, 10);
    }
    // The service tool's reset command and the passes it takes.
    void reset() {
        serviceWrite("RESET.DEBUG_RST.TRIGGER", 1);
        runPasses(P80, 2);
        serviceWrite("RESET.DEBUG_RST.TRIGGER", 0);
        runPasses(P80, 30);
    }

private:
    static void firstFrame() {
        const bool first = !cfg_test::g_started;
        cfg_test::startUpInFirstFrame();
        if (!first || self_ == nullptr) return;
        for (const auto& [name, v] : self_->early_) self_->setCell(name, v);
    }
    static inline ProgramRig* self_ = nullptr;
    std::vector<std::pair<std::string, double>> early_;
};

}  // namespace pr_test
