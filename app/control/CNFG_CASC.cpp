// CNFG_CASC and IFACE_IN_CASC: the cascade configuration latch, its copies
// into the interface inputs, the process value and the service tool's
// cascade commands.
#include "app/control/CNFG_CASC.cells.h"

#include "app/analog/AI_MUX.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/config/config_list.h"
#include "app/control/CASC_CTRL.cells.h"
#include "app/control/CASC_SETPT.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct CNFG_CASC_blocks {
    bk::SvcCmdState<4> ENA_DIS;
    bk::SvcCmdState<2> RSE_LWR;
};
BlockRam<CNFG_CASC_blocks> CNFG_CASC_st;
constexpr float kEnaDisTime = 2.0f;    // s an enable/disable command stays on
constexpr float kRseLwrTime = 60.0f;   // s a raise/lower command stays on
}  // namespace

void IFACE_IN_CASC_init_blks() {
    bk::SVC_CMD_INIT(CNFG_CASC_st.ENA_DIS, kEnaDisTime);
    bk::SVC_CMD_INIT(CNFG_CASC_st.RSE_LWR, kRseLwrTime);
}

void IFACE_IN_CASC_command_written(const void* cell, uint32_t value) {
    auto& i = cells::IFACE_IN_CASC;
    auto& s = CNFG_CASC_st;
    const void* ena_dis[4] = {&i.ENA_DIS_IN_1.ref(), &i.ENA_DIS_IN_2.ref(), &i.ENA_DIS_IN_3.ref(), &i.ENA_DIS_IN_4.ref()};
    for (int k = 1; k <= 4; ++k)
        if (cell == ena_dis[k - 1]) bk::SVC_CMD_WRITTEN(s.ENA_DIS, k, value, kEnaDisTime);
    if (cell == &i.RSE_LWR_IN_1.ref()) bk::SVC_CMD_WRITTEN(s.RSE_LWR, 1, value, kRseLwrTime);
    if (cell == &i.RSE_LWR_IN_2.ref()) bk::SVC_CMD_WRITTEN(s.RSE_LWR, 2, value, kRseLwrTime);
}

namespace r20 {
void IFACE_IN_CASC_process_value() { IFACE_IN_CASC.CASC_IN_NAME_A_NAME = AI_MUX.CASC_IN_A_NAME; }
}  // namespace r20

namespace r160 {

void CNFG_CASC_config() {
    auto& c = CNFG_CASC;
    const uint32_t window = MASTER.IO_LOCK_OR_PWR_B_NAME;
    cfglist::SAMPLE<uint32_t>(window, {{c.CONFIG_B_LIST_1.ref(), c.CONFIG_B_IN_1},
                                       {c.CONFIG_B_LIST_2.ref(), c.CONFIG_B_IN_2},
                                       {c.CONFIG_B_LIST_3.ref(), c.CONFIG_B_IN_3},
                                       {c.CONFIG_B_LIST_4.ref(), c.CONFIG_B_IN_4},
                                       {c.CONFIG_B_LIST_5.ref(), c.CONFIG_B_IN_5}});
    cfglist::SAMPLE<float>(window, {{c.CONFIG_A_LIST_1.ref(), c.CONFIG_A_IN_1},
                                    {c.CONFIG_A_LIST_2.ref(), c.CONFIG_A_IN_2},
                                    {c.CONFIG_A_LIST_3.ref(), c.CONFIG_A_IN_3},
                                    {c.CONFIG_A_LIST_4.ref(), c.CONFIG_A_IN_4},
                                    {c.CONFIG_A_LIST_5.ref(), c.CONFIG_A_IN_5}});
    cfglist::SAMPLE<int32_t>(window, {{c.CONFIG_I_LIST_1.ref(), c.INPUT_I_NAME}});
    c.USE_CASC_B_NAME = c.CONFIG_B_LIST_1;
    IFACE_IN_CASC.USE_CASC_B_NAME = c.CONFIG_B_LIST_1;
    c.INV_B_NAME = c.CONFIG_B_LIST_2;
    CASC_CTRL.INVERT_B_NAME = c.CONFIG_B_LIST_2;
    c.USE_SP_TRACK_B_NAME = c.CONFIG_B_LIST_3;
    c.USE_RMT_SP_B_NAME = c.CONFIG_B_LIST_4;
    IFACE_IN_CASC.CASC_RMT_B_NAME = c.CONFIG_B_LIST_4;
    c.MIN_SP_A_NAME = c.CONFIG_A_LIST_1;
    CASC_SETPT.MIN_SETPT_A_NAME = c.CONFIG_A_LIST_1;
    c.MAX_SP_A_NAME = c.CONFIG_A_LIST_2;
    CASC_SETPT.MAX_SETPT_A_NAME = c.CONFIG_A_LIST_2;
    c.SP_INI_A_NAME = c.CONFIG_A_LIST_3;
    c.SPD_SP_MIN_A_NAME = c.CONFIG_A_LIST_4;
    c.SPD_SP_MAX_A_NAME = c.CONFIG_A_LIST_5;
    c.NO_DROOP_B_NAME = c.DROOP_A_NAME == 0.0f ? 1u : 0u;
    // The interface copies of the configuration.
    auto& i = IFACE_IN_CASC;
    i.CAS_RMT_B_NAME = bk::AND({c.USE_RMT_SP_B_NAME, c.USE_CASC_B_NAME});
    i.CASC_RATE_A_NAME = c.SP_RATE_A_NAME;
    i.ENBL_CONT_USED_B_NAME = BI_MUX.CASC_ENBL_USED_B_NAME;
}

void IFACE_IN_CASC_service() {
    auto& i = IFACE_IN_CASC;
    auto& s = CNFG_CASC_st;
    bk::SVC_CMD(s.ENA_DIS, 1, i.ENA_DIS_IN_1, i.ENA_DIS_OUT_1, kEnaDisTime, bk::T160);
    bk::SVC_CMD(s.ENA_DIS, 2, i.ENA_DIS_IN_2, i.ENA_DIS_OUT_2, kEnaDisTime, bk::T160);
    bk::SVC_CMD(s.ENA_DIS, 3, i.ENA_DIS_IN_3, i.ENA_DIS_OUT_3, kEnaDisTime, bk::T160);
    bk::SVC_CMD(s.ENA_DIS, 4, i.ENA_DIS_IN_4, i.ENA_DIS_OUT_4, kEnaDisTime, bk::T160);
    i.CASC_ENBL_B_NAME = i.ENA_DIS_OUT_1;
    i.CASC_DIS_B_NAME = i.ENA_DIS_OUT_2;
    i.RMT_CAS_ENBL_B_NAME = i.ENA_DIS_OUT_3;
    i.RMT_CAS_DIS_B_NAME = i.ENA_DIS_OUT_4;
    bk::SVC_CMD(s.RSE_LWR, 1, i.RSE_LWR_IN_1, i.RSE_LWR_OUT_1, kRseLwrTime, bk::T160);
    bk::SVC_CMD(s.RSE_LWR, 2, i.RSE_LWR_IN_2, i.RSE_LWR_OUT_2, kRseLwrTime, bk::T160);
    i.CASC_AI_MAX_A_NAME = AI_MUX.CASC_IN_MAX_A_NAME;
    i.CASC_AI_MIN_A_NAME = AI_MUX.CASC_IN_MIN_A_NAME;
    i.CASC_INPUT_INT_I_NAME = CNFG_CASC.INPUT_I_NAME;
    i.CASC_RMT_N_NOT = bk::NOT(i.CAS_RMT_B_NAME);
    i.RMT_RATE_A_NAME = CNFG_CASC.RMT_MAX_RATE_A_NAME;
    i.CASC_RSE_B_NAME = i.RSE_LWR_OUT_1;
    i.CASC_LWR_B_NAME = i.RSE_LWR_OUT_2;
    static constexpr float kTicks[] = {0.01f, 0.1f, 1.0f, 10.0f, 100.0f, 1000.0f};
    const int32_t t = i.GAUGE_TICK_CONFIG_I_NAME;
    if (t >= 1 && t <= 6) i.TICK_CONFIG_A_NAME = kTicks[t - 1];
}

}  // namespace r160
