// CONF_LATCH: the configuration-error list. Each finding of the
// configuration checks latches with its time; a reset pass (the sample
// enable) releases the findings that have gone. Its only events are the
// reset and all-cleared times; it keeps no event log.
#include "app/control/CONF_LATCH.cells.h"

#include "app/control/CONF_CHECK.cells.h"
#include "app/control/CONF_CHECK_CASC.cells.h"
#include "app/config/RMT_SETPT.cells.h"
#include "app/interface/PWR_UP_MSG.cells.h"
#include "app/analog/CNFG_ACT.cells.h"
#include "app/config/CALMODE.cells.h"
#include "app/config/CNFG_CHECK.cells.h"
#include "app/config/CNFG_CHECK_AI.cells.h"
#include "app/config/CNFG_CHECK_AO.cells.h"
#include "app/config/CNFG_CHECK_BI.cells.h"
#include "app/config/CNFG_CHECK_BO.cells.h"
#include "app/control/CONF_LATCH_texts.h"
#include "app/control/MPU.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/control/RESET.cells.h"
#include "app/control/START.cells.h"
#include "app/protection/LATCH_AE.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
constexpr int kRecords = 49;
struct CONF_LATCH_blocks {
    uint32_t latched[kRecords + 1];
    LatchAeHidden any;
    uint16_t order[kRecords + 4];
};
BlockRam<CONF_LATCH_blocks> CONF_LATCH_st;

#define CL_ENTRY(n, input)                                                                                \
    LatchAeEntry{input, &CONF_LATCH_st.latched[n], r160::CONF_LATCH.ANY_SEL_##n, r160::CONF_LATCH.ANY_ALM_NO_##n, \
                 r160::CONF_LATCH.ANY_EV_TM_##n, nullptr, r160::ORVEX12_IO.RTC_TOD, kConfLatchText[n - 1]}
const LatchAeEntry kConfLatchEntries[kRecords] = {
    CL_ENTRY(1, r160::CNFG_CHECK_BI.DUPLICATDI_B_NAME),
    CL_ENTRY(2, r160::CNFG_CHECK_BI.DI01CFG_ER_B_NAME),
    CL_ENTRY(3, r160::CNFG_CHECK_BI.DI02CFG_ER_B_NAME),
    CL_ENTRY(4, r160::CNFG_CHECK_BI.DI03CFG_ER_B_NAME),
    CL_ENTRY(5, r160::CNFG_CHECK_BI.DI04CFG_ER_B_NAME),
    CL_ENTRY(6, r160::CNFG_CHECK_BI.DI05CFG_ER_B_NAME),
    CL_ENTRY(7, r160::CNFG_CHECK_BI.DI06CFG_ER_B_NAME),
    CL_ENTRY(8, r160::CNFG_CHECK_BI.DI07CFG_ER_B_NAME),
    CL_ENTRY(9, r160::CNFG_CHECK_BI.DI08CFG_ER_B_NAME),
    CL_ENTRY(10, r160::CNFG_CHECK_AI.DUPLICATE_AI_B_NAME),
    CL_ENTRY(11, r160::CNFG_CHECK_AI.AI_01_CFG_ER_B_NAME),
    CL_ENTRY(12, r160::CNFG_CHECK_AI.AI_02_CFG_ER_B_NAME),
    CL_ENTRY(13, r160::CNFG_CHECK_AI.AI_03_CFG_ER_B_NAME),
    CL_ENTRY(14, r160::CNFG_CHECK_AI.AI_04_CFG_ER_B_NAME),
    CL_ENTRY(15, r160::CNFG_CHECK_BO.RLY1ER_B_NAME),
    CL_ENTRY(16, r160::CNFG_CHECK_BO.RLY2ER_B_NAME),
    CL_ENTRY(17, r160::CNFG_CHECK_BO.RLY3ER_B_NAME),
    CL_ENTRY(18, r160::CNFG_CHECK_BO.RLY4ER_B_NAME),
    CL_ENTRY(19, r160::CNFG_CHECK_AO.AO01CFG_ER_B_NAME),
    CL_ENTRY(20, r160::CNFG_CHECK_AO.AO02CFG_ER_B_NAME),
    CL_ENTRY(21, r160::CNFG_CHECK_AO.AO03CFG_ER_B_NAME),
    CL_ENTRY(22, r160::CNFG_ACT.ACT1_SCALE_SD_AND),
    CL_ENTRY(23, r160::CONF_CHECK_CASC.CASC_NO_AI_AND),
    CL_ENTRY(24, r160::CONF_CHECK_CASC.SPD_LIM_ERR_OR),
    CL_ENTRY(25, r160::CONF_CHECK.RMT_CASC_NO_AI_AND),
    CL_ENTRY(26, r160::CNFG_CHECK_RMT.REMSPD_CFG_B_NAME),
    CL_ENTRY(27, r160::CNFG_CHECK_RMT.RANG_ERR_AND),
    CL_ENTRY(28, r160::CNFG_CHECK.IDLE1_IN_CRIT_AND),
    CL_ENTRY(29, r160::CNFG_CHECK.MIN_SPD_ERROR_OR_OR),
    CL_ENTRY(30, r160::CNFG_CHECK.IDL_ERROR_AND),
    CL_ENTRY(31, r160::CONF_CHECK_CASC.SETPT_ERR_AND),
    CL_ENTRY(32, r160::CNFG_CHECK.CRIT_RATE_AND),
    CL_ENTRY(33, r160::CNFG_CHECK.CRIT_ER_NI_B_SW),
    CL_ENTRY(34, r160::CNFG_CHECK.USE_BND1_AND),
    CL_ENTRY(35, r160::CNFG_CHECK.USE_BND2_AND),
    CL_ENTRY(36, r160::CNFG_CHECK.USE_BND3_AND),
    CL_ENTRY(37, r160::CNFG_CHECK.MIN_MAX_ERR_AND),
    CL_ENTRY(38, r160::CNFG_CHECK.MAX_GOV_OS_ER_A_COMPARE),
    CL_ENTRY(39, r160::CNFG_CHECK.OS_OSTSP_ER_A_COMPARE),
    CL_ENTRY(40, r160::MPU.OST_LIM_GT_MAX_SPD_OR),
    CL_ENTRY(41, r160::MPU.SPD1_GT_MAX_A_COMPARE),
    CL_ENTRY(42, r160::MPU.SPD2_GT_MAX_AND),
    CL_ENTRY(43, r160::MPU.SP1_MN_CHK_A_COMPARE),
    CL_ENTRY(44, r160::MPU.SP2_MINERR_AND),
    CL_ENTRY(45, r160::START.STRT_IH_SEL_2),
    CL_ENTRY(46, r160::CNFG_CHECK.IR_MINERR_B_SW),
    CL_ENTRY(47, r160::CNFG_CHECK.IR_MAXERR_B_SW),
    CL_ENTRY(48, r160::CONF_LATCH.SPARE_48_B_NAME),
    CL_ENTRY(49, r160::CONF_LATCH.SPARE_49_B_NAME),
};
#undef CL_ENTRY
}  // namespace

extern const LatchAeList CONF_LATCH_ANY_list;
const LatchAeList CONF_LATCH_ANY_list{5,
                                     kRecords,
                                     kConfLatchEntries,
                                     false,
                                     false,
                                     false,
                                     &CONF_LATCH_st.any,
                                     &CONF_LATCH_st.order[2],
                                     &CONF_LATCH_ANYNewRedFlag,
                                     &bEventStatusChanged5};

namespace r160 {

void CONF_LATCH_list() {
    auto& c = CONF_LATCH;
    c.COMPLETE_N_NOT = bk::NOT(PWR_UP_MSG.PWR_UP_COMPLETE_DELAY);
    // The list releases the findings that have gone on a reset, while the
    // configuration is sampled, or on its spare input.
    c.CFG_SAMPL_OK_OR_OR = bk::OR({CALMODE.CFG_SAMPL_OK_B_NAME, RESET.RESET_B_NAME, c.CFG_SAMPL_OK_OR_IN_3});
    LATCH_AE(CONF_LATCH_ANY_list,
             LatchAeIo{c.CFG_SAMPL_OK_OR_OR, 0u, c.ANY_FA_RST, c.ANY_OVRD, c.ANY_LATCH_AE, c.ANY_LOGICAL_OR, c.ANY_HORN,
                       c.ANY_FIRST_ALM},
             ORVEX12_IO.RTC_TOD);
}

}  // namespace r160

void CONF_LATCH_init_blks() {
    CONF_LATCH_ANYNewRedFlag = 0;
    bEventStatusChanged5 = 0;
}
