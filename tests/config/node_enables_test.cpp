// The remote nodes' enables: each node by its own entry, and none while the
// I/O is locked.
#include "tests/config/config_rig.h"

#include <string>

namespace {

using namespace cfg_test;

class NodeEnables : public ConfigRig {};

TEST_F(NodeEnables, EachNodeFollowsItsOwnEntryAndNoneWhileTheIoIsLocked) {
    startPastPowerUp();
    auto name = [](int k, const char* rest) { return "CNFG_CAN2.VL" + std::to_string(k) + rest; };
    for (int on = 1; on <= 5; ++on) {
        for (int k = 1; k <= 5; ++k) setCell(name(k, "_ENA.IN"), k == on ? 1 : 0);
        runPasses(R80, 2);
        for (int k = 1; k <= 5; ++k) {
            EXPECT_EQ(boolean(name(k, "_ENA.B_NAME")), k == on ? 1u : 0u) << "entry " << on << " node " << k;
            EXPECT_EQ(boolean(name(k, "_ENABLE.AND")), k == on ? 1u : 0u) << "entry " << on << " node " << k;
        }
    }
    for (int k = 1; k <= 5; ++k) setCell(name(k, "_ENA.IN"), 1);
    lock();
    settle();
    ASSERT_EQ(boolean("MASTER.IO_LOCK.B_NAME"), 1u);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(boolean(name(k, "_ENA.B_NAME")), 1u) << k;
        EXPECT_EQ(boolean(name(k, "_ENABLE.AND")), 0u) << k;
    }
}

}  // namespace
