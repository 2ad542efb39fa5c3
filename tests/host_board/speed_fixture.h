// The speed-sensor model on a fresh board in simulated time, for the tests
// that read its registers as the CPU does.
#pragma once

#include <gtest/gtest.h>

#include "drivers/zarn_regs.h"
#include "host/board.h"
#include "host/hostkernel.h"
#include "host/speed_sensor_model.h"

namespace speedtest {

inline uint32_t reg(uint32_t channel0Reg, int ch) { return channel0Reg + static_cast<uint32_t>(ch) * ZARN_TSS_STRIDE; }

class SpeedSensorTest : public ::testing::Test {
protected:
    void SetUp() override {
        hk::start(hk::ClockMode::Simulated);
        board::reset();
        speedsensor::install();
    }
    void TearDown() override { hk::shutdown(); }
};

}  // namespace speedtest
