// SD_LOGIC: the power-up shutdown window and the trip conditions the
// shutdown logic computes at 10 ms, with their 160 ms settings.
#include "app/config/CNFG_DRIVER.cells.h"
#include "app/control/SD_LOGIC.cells.h"

#include "app/control/SPDC.cells.h"

#include "app/control/ORVEX12_IO.cells.h"
#include "app/discrete/BI_MUX.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "app/control/HP_MAN_RAMP.cells.h"
#include "app/control/CNTRL_STOP.cells.h"
#include "app/control/OSPD.cells.h"
#include "app/control/IFACE_IN_CASC.cells.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"

namespace {
struct SD_LOGIC_blocks {
    bk::OneShotState PWR_UP_SD;
    bk::DelayState DLY_OFF;
    bk::DelayState HP_FLT_SD;
};
BlockRam<SD_LOGIC_blocks> SD_LOGIC_st;
}  // namespace

namespace r10 {

// 1 from the start until DLY_TIME has passed, with the whole seconds left.
void SD_LOGIC_power_up() {
    bk::ONE_SHOT(SD_LOGIC_st.PWR_UP_SD, SD_LOGIC.PWR_UP_SD_ONE_SHOT, &SD_LOGIC.PWR_UP_SD_R_TIME.ref(), 1,
                 SD_LOGIC.PWR_UP_SD_DLY_TIME, bk::T10);
}

void SD_LOGIC_conditions() {
    SD_LOGIC.SD_ON_PWRUP_B_NAME = SD_LOGIC.SD_ON_PWRUP_IN;
    SD_LOGIC.PWRUP_SD_AND = bk::AND({SD_LOGIC.PWR_UP_SD_ONE_SHOT, SD_LOGIC.SD_ON_PWRUP_B_NAME});
    SD_LOGIC.OVRD_TRIP_NOT = bk::NOT(SD_LOGIC.SD_ON_PWRUP_B_NAME);
    SD_LOGIC.PU_SD_HIST_AND = bk::AND({SD_LOGIC.OVRD_TRIP_NOT, SD_LOGIC.PWR_UP_SD_ONE_SHOT});
    // External trips 2 to 5 trip while their contact is open.
    BI_MUX.EXT_TRIP_2_B_NAME = BI_MUX.CONT_MUX_OUT_15;
    BI_MUX.EXT_TRIP_3_B_NAME = BI_MUX.CONT_MUX_OUT_16;
    BI_MUX.EXT_TRIP_4_B_NAME = BI_MUX.CONT_MUX_OUT_17;
    BI_MUX.EXT_TRIP_5_B_NAME = BI_MUX.CONT_MUX_OUT_18;
    SD_LOGIC.NOT_TRIP2_NOT = bk::NOT(BI_MUX.EXT_TRIP_2_B_NAME);
    SD_LOGIC.NOT_TRIP3_NOT = bk::NOT(BI_MUX.EXT_TRIP_3_B_NAME);
    SD_LOGIC.NOT_TRIP4_NOT = bk::NOT(BI_MUX.EXT_TRIP_4_B_NAME);
    SD_LOGIC.NOT_TRIP5_NOT = bk::NOT(BI_MUX.EXT_TRIP_5_B_NAME);
}

void SD_LOGIC_hp_fault() {
    bk::DELAY(SD_LOGIC_st.HP_FLT_SD, SD_LOGIC.HP_FLT_SD_DELAY, &SD_LOGIC.HP_FLT_SD_R_TIME.ref(),
              SD_LOGIC.HP_FLT_Z_ZMINUS1_B, SD_LOGIC.HP_FLT_SD_DLY_TIME, 0.0f, bk::T10);
    SD_LOGIC.HP_FLT_P_AND = bk::AND(
        {SD_LOGIC.HP_FLT_SD_DELAY, SD_LOGIC.SD_NOT_DLY_DELAY, CNFG_DRIVER.USE_HP1_FLT_SD_B_NAME});
    if (SD_LOGIC.HP_FLT_P_AND == 0) SD_LOGIC.HP_FLT_AND = 0;
}

// The key cannot trip again while a shutdown is latched, nor within
// NEG_DTIME after the list has emptied.
void SD_LOGIC_trip_key() {
    bk::DELAY(SD_LOGIC_st.DLY_OFF, SD_LOGIC.DLY_OFF_DELAY, &SD_LOGIC.DLY_OFF_R_TIME.ref(), SHUTDOWNS.ANY_LATCH_AE, 0.0f,
              SD_LOGIC.DLY_OFF_NEG_DTIME, bk::T10);
    SD_LOGIC.STOP_BUTTON_B_SW = bk::SW<uint32_t>(SD_LOGIC.USE_DELAY_B_NAME, ORVEX12_IO.KEYPAD_TRIP,
                                                SD_LOGIC.DELAY_DELAY);
    SD_LOGIC.PUSHBUTTON_B_SW = bk::SW<uint32_t>(SD_LOGIC.DLY_OFF_DELAY, SD_LOGIC.STOP_BUTTON_B_SW, 0u);
}

}  // namespace r10

namespace r160 {

void SD_LOGIC_settings() {
    SD_LOGIC.CTRL_SD_NT_NOT = bk::NOT(SPDC.Z01_STEP_SFC_STEP);
    SD_LOGIC.USE_DELAY_B_NAME = SD_LOGIC.USE_DELAY_IN;
    SD_LOGIC.USE_RMTTRIP_B_NAME = SD_LOGIC.USE_RMTTRIP_IN;
}

}  // namespace r160
