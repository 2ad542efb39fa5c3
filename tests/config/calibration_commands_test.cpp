// Calibration mode entered and left with the master commands of the service
// tool: the mode holds after the enter command's pulse and ends on the exit
// command.
#include "tests/config/config_rig.h"

namespace {

using namespace cfg_test;

class CalibrationCommands : public ConfigRig {};

TEST_F(CalibrationCommands, EnterHoldsAndExitEndsTheMode) {
    startPastPowerUp();
    struct Step {
        const char* command;  // nullptr: no command, only passes
        uint32_t calmode;     // after the command's pulse has ended
    };
    const Step steps[] = {
        {"MASTER.COMMANDS.IN_4", 1},
        {nullptr, 1},
        {"MASTER.COMMANDS.IN_5", 0},
        {nullptr, 0},
        {"MASTER.COMMANDS.IN_4", 1},
        {"MASTER.COMMANDS.IN_5", 0},
    };
    ASSERT_EQ(boolean("CALMODE.CALMODE.B_NAME"), 0u);
    int n = 0;
    for (const Step& s : steps) {
        if (s.command != nullptr) serviceWrite(s.command, 1);
        runPasses(R160, 12);  // the command's 1 s pulse and the latch
        EXPECT_EQ(boolean("CALMODE.CALMODE.B_NAME"), s.calmode) << "step " << n;
        ++n;
    }
}

}  // namespace
