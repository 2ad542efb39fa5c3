// The force transfer of the output channels: forcing, the stepped return,
// the end of the return, and a computed value that crosses the tracked one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/analog/force_transfer.h"

namespace {

struct TransferCase {
    const char* name;
    std::vector<float> computed;   // the computed value of each pass after forcing ends
    float step;
    std::vector<float> outputs;    // expected output per pass
    std::vector<uint32_t> frc;     // expected FRC per pass
};

class ForceTransfer : public ::testing::TestWithParam<TransferCase> {};

TEST_P(ForceTransfer, ReturnsToTheComputedValue) {
    ForceTransferState s{};
    uint32_t frc = 0;
    EXPECT_EQ(force_transfer(s, frc, true, 50.0f, 10.0f, GetParam().step), 50.0f);
    EXPECT_EQ(frc, 1u);
    for (size_t i = 0; i < GetParam().computed.size(); ++i) {
        EXPECT_FLOAT_EQ(force_transfer(s, frc, false, 50.0f, GetParam().computed[i], GetParam().step),
                        GetParam().outputs[i])
            << "pass " << i;
        EXPECT_EQ(frc, GetParam().frc[i]) << "pass " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForceTransfer,
    ::testing::Values(TransferCase{"in_steps_down", {10, 10, 10, 10, 10}, 10.0f, {40, 30, 20, 10, 10}, {1, 1, 1, 0, 0}},
                      TransferCase{"in_steps_up", {90, 90, 90, 90, 90}, 10.0f, {60, 70, 80, 90, 90}, {1, 1, 1, 0, 0}},
                      TransferCase{"one_step_covers_it", {45, 45}, 10.0f, {45, 45}, {0, 0}},
                      TransferCase{"exactly_one_step", {40, 41}, 10.0f, {40, 41}, {0, 0}},
                      TransferCase{"computed_crosses_over", {10, 60, 60}, 10.0f, {40, 60, 60}, {1, 1, 0}},
                      TransferCase{"negative_step_counts_as_its_size", {10, 10}, -10.0f, {40, 30}, {1, 1}}),
    [](const ::testing::TestParamInfo<TransferCase>& i) { return std::string(i.param.name); });

TEST(ForceTransferRestart, ForcingAgainClearsTheDirection) {
    ForceTransferState s{};
    uint32_t frc = 0;
    force_transfer(s, frc, true, 50.0f, 10.0f, 10.0f);
    force_transfer(s, frc, false, 50.0f, 10.0f, 10.0f);  // direction: above
    force_transfer(s, frc, true, 0.0f, 10.0f, 10.0f);
    EXPECT_EQ(s.direction, 0u);
    EXPECT_FLOAT_EQ(force_transfer(s, frc, false, 0.0f, 100.0f, 10.0f), 10.0f);  // moves up, no jump
    EXPECT_EQ(frc, 1u);
}

}  // namespace
