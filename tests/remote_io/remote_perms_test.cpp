// The remote channels' permissive summary through the whole program: a
// remote analog input's or an RTD channel's alarm-level permissive that is
// not met raises it, each instance on its own.
#include <string>

#include "tests/config/config_rig.h"

namespace rio_test {
namespace {

class RemotePermissives : public cfg_test::ConfigRig {};

TEST_F(RemotePermissives, AnyRemoteInstanceWhosePermissiveIsNotMetRaisesTheSummary) {
    startPastPowerUp();
    runPasses(cfg_test::R160, 10);  // past every permissive's delay of 1 s
    ASSERT_EQ(boolean("VLTR_OUTS.VL_PERMS_NOT_MET.OR"), 0u);
    // A permissive in use whose set point the value (0) does not reach.
    for (int ub : {25, 28, 32, 51, 55, 58}) {
        const std::string m = "_ub" + std::to_string(ub);
        setCell(m + ".PERM_SP.IN", 1e30);
        setCell(m + ".USE_PERM.IN", 1);
        runPasses(cfg_test::R160, 3);
        ASSERT_EQ(boolean(m + ".PERM_NOT_MET.B_NAME"), 1u) << m;
        EXPECT_EQ(boolean("VLTR_OUTS.VL_PERMS_NOT_MET.OR"), 1u) << m;
        setCell(m + ".USE_PERM.IN", 0);
        runPasses(cfg_test::R160, 10);
        ASSERT_EQ(boolean(m + ".PERM_NOT_MET.B_NAME"), 0u) << m;
        EXPECT_EQ(boolean("VLTR_OUTS.VL_PERMS_NOT_MET.OR"), 0u) << m;
    }
}

}  // namespace
}  // namespace rio_test
