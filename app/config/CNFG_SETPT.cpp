// CNFG_SETPT: the setpoint settings. The configuration lists take their
// tunables over only while the I/O is locked or at power-up, so a governor
// limit or an overspeed level cannot change under a running turbine; the
// setting cells follow the lists every pass. The slow reference rates and
// the remote speed setpoint's maximum rate follow their tunables; the
// reduced overspeed option is cleared when its disable rises, so that it
// must be chosen again.
#include "app/config/CNFG_SETPT.cells.h"

#include "app/config/MASTER.cells.h"
#include "app/config/config_list.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/IFACE_IN_SPEED.cells.h"
#include "app/control/IFACE_IN_START.cells.h"
#include "app/control/OSPD.cells.h"
#include "runtime/appmem.h"

namespace {
struct CNFG_SETPT_blocks {
    uint32_t disable_prev;  // the disable of the previous pass
};
BlockRam<CNFG_SETPT_blocks> CNFG_SETPT_st;
}  // namespace

namespace r160 {

void CNFG_SETPT_config_lists() {
    auto& c = CNFG_SETPT;
    const uint32_t window = MASTER.IO_LOCK_OR_PWR_B_NAME;
    cfglist::SAMPLE<float>(window, {{c.CONFIG_A_LIST_1.ref(), c.QT_OST_LIMIT_IN},
                                    {c.CONFIG_A_LIST_2.ref(), c.QT_OSPD_TRIP_IN},
                                    {c.CONFIG_A_LIST_3.ref(), c.QT_MAX_GOV_IN},
                                    {c.CONFIG_A_LIST_4.ref(), c.CONFIG_A_IN_4},
                                    {c.CONFIG_A_LIST_5.ref(), c.QT_MIN_GOV_IN},
                                    {c.CONFIG_A_LIST_6.ref(), c.QT_CRIT_SPD_RATE_IN},
                                    {c.CONFIG_A_LIST_7.ref(), c.QT_CRIT_SPD_1_MAX_IN},
                                    {c.CONFIG_A_LIST_8.ref(), c.QT_CRIT_SPD_1_MIN_IN}});
    cfglist::SAMPLE<uint32_t>(window, {{c.CONFIG_B_LIST_1.ref(), c.CONFIG_B_IN_1},
                                       {c.CONFIG_B_LIST_2.ref(), c.CONFIG_B_IN_2},
                                       {c.CONFIG_B_LIST_3.ref(), c.CONFIG_B_IN_3}});
    c.MIN_GOV_A_NAME = c.CONFIG_A_LIST_5;
    c.OST_LIMIT_A_NAME = c.CONFIG_A_LIST_1;
    c.OSPD_TRIP_A_NAME = c.CONFIG_A_LIST_2;
    c.MAX_GOV_A_NAME = c.CONFIG_A_LIST_3;
    c.CRIT_SPD_RATE_A_NAME = c.CONFIG_A_LIST_6;
    c.CRIT_SPD_1_MAX_A_NAME = c.CONFIG_A_LIST_7;
    c.CRIT_SPD_1_MIN_A_NAME = c.CONFIG_A_LIST_8;
    c.USE_CRIT_SPD_B_NAME = c.CONFIG_B_LIST_1;
    c.USE_RMTSPD_B_NAME = c.CONFIG_B_LIST_2;
    // The copies the speed control, the start logic and the configuration
    // summary read.
    IFACE_IN_SPEED.MIN_GOV_A_NAME = c.CONFIG_A_LIST_5;
    IFACE_IN_SPEED.MAX_GOV_A_NAME = c.CONFIG_A_LIST_3;
    IFACE_IN_START.SET_LOW1_A_NAME = c.CONFIG_A_LIST_8;
    IFACE_IN_START.SET_HIGH1_A_NAME = c.CONFIG_A_LIST_7;
    CONF_VAL_1.CRIT_BAND1_B_NAME = c.CONFIG_B_LIST_1;
    c.SLOW_RATE_ONLINE_A_NAME = c.SLOW_RATE_ONLINE_IN;
    c.SLOW_RATE_OFFLINE_A_NAME = c.SLOW_RATE_OFFLINE_IN;
}

void CNFG_SETPT_settings() {
    auto& c = CNFG_SETPT;
    c.RMT_SPD_SP_MAX_RT_A_NAME = c.RMT_SPD_SP_MAX_RT_IN;
    const uint32_t disable = OSPD.REDICE_OSPD_NOT_NOT;
    if (disable != 0 && CNFG_SETPT_st.disable_prev == 0) c.USE_REDUC_OSPD_TUNE = 0;
    CNFG_SETPT_st.disable_prev = disable;
    c.USE_REDUC_OSPD_SAMP_BTUNE = c.USE_REDUC_OSPD_TUNE;
}

}  // namespace r160
