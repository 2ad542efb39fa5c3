// CNFG_BO: the controller relays' output blocks, the wizard's function
// numbers of relays 2 .. 4, relay 1 (a reduced channel: the shutdown state or
// the trip relay state, inversion and forcing, no level switch), and the
// relays' function numbers as reals. The 10 ms I/O gather step moves the
// blocks' readbacks and displays.
#include "app/discrete/CNFG_BO.cells.h"

#include "app/channel_config.h"
#include "app/config/CALMODE.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/discrete/RELAY_CHANNEL.cells.h"
#include "app/discrete/SHUTDOWNS.cells.h"
#include "drivers/ZarnDiscreteIns.h"
#include "drivers/ZarnDiscreteOuts.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/iogather.h"
#include "runtime/rgtask.h"

namespace {

struct CNFG_BO_blocks {
    uint32_t previous_display[kCnfgBoRelays];
    bk::SampState function;
    bk::SampState force_protect;
    bk::DelayState disbl_dly;
    bk::OneShotState reset_state;
};
BlockRam<CNFG_BO_blocks> CNFG_BO_st;

// Relay 1's function numbers: 1 the summary shutdown list, 2 the trip relay.
constexpr int32_t kShutdownState = 1, kTripRelayState = 2;

struct OutputBlock {
    const cat::Cell<uint32_t>& display;
    const cat::Cell<uint32_t>& readback;
    const cat::Cell<uint32_t>& fault;
};
#define CNFG_BO_BLOCK(N) \
    OutputBlock{r10::CNFG_BO.RELAY_##N##_DISPLAY, r10::CNFG_BO.RELAY_##N##_READBACK, r10::CNFG_BO.RELAY_##N##_RDBK_FAULT}
const OutputBlock kBlocks[kCnfgBoRelays] = {CNFG_BO_BLOCK(1), CNFG_BO_BLOCK(2), CNFG_BO_BLOCK(3), CNFG_BO_BLOCK(4)};
#undef CNFG_BO_BLOCK

}  // namespace

// Relay by relay, the readback is read before the display is written, so a
// pass compares the readback of the command written one frame earlier.
void iogather_R10_relays() {
    for (int n = 0; n < kCnfgBoRelays; ++n) {
        kBlocks[n].readback = ReadBooleanInput(kCnfgBoFirstReadback + n);
        WriteBooleanOutput(static_cast<uint32_t>(n), static_cast<int32_t>(static_cast<uint32_t>(kBlocks[n].display)));
    }
}

namespace r10 {

void CNFG_BO_output(int n, uint32_t command) {
    const OutputBlock& b = kBlocks[n - 1];
    uint32_t& previous = CNFG_BO_st.previous_display[n - 1];
    b.fault = b.readback != previous ? 1u : 0u;
    previous = b.display;
    b.display = command;
}

void CNFG_BO_relay_1() {
    const int32_t f = CNFG_BO.RLY_FUNCTION_SAMP_ITUNE;
    if (f == kShutdownState) CNFG_BO.RLY_SEL_STAT_B_MUX_N_1 = SHUTDOWNS.ANY_LATCH_AE.ref();
    else if (f == kTripRelayState) CNFG_BO.RLY_SEL_STAT_B_MUX_N_1 = SHUTDOWNS.RELY_NOT_NOT.ref();
    CNFG_BO.RLY_INVERT_XOR = bk::XOR(CNFG_BO.INVERTED_LATCH, CNFG_BO.RLY_SEL_STAT_B_MUX_N_1);
    CNFG_BO.RLY_OUT_B_SW = bk::SW<uint32_t>(CNFG_BO.FORCING_ENBLD_LATCH_R, CNFG_BO.RLY_INVERT_XOR, CNFG_BO.FORCE_STATE_EQ);
    CNFG_BO_output(1, CNFG_BO.RLY_OUT_B_SW);
}

}  // namespace r10

namespace r160 {

void CNFG_BO_relay_1() {
    const auto& c = CNFG_BO;
    c.ENA_CONFIG_IN_B_NAME = CALMODE.ADJUSTOK_OR;
    c.RLY_FUNCT_I_NAME = c.RLY_FUNCT_IN;
    if (c.ENA_CONFIG_IN_B_NAME == 1) {
        bk::SAMP_OUTPUTS(bk::SAMP_ITUNE(CNFG_BO_st.function, c.RLY_FUNCTION_TUNE, c.RLY_FUNCT_I_NAME,
                                        CALMODE.CFG_SAMPL_OK_B_NAME, bk::kIntLoLim, bk::kIntHiLim, 1, 1,
                                        kTripRelayState, static_cast<uint32_t>(AllRgExecutedwMMM)),
                         c.RLY_FUNCTION_SAMP_ITUNE, c.RLY_FUNCTION_LIMITED, c.RLY_FUNCTION_EN_ENT_OUT,
                         c.RLY_FUNCTION_LO_LIM_OUT, c.RLY_FUNCTION_HI_LIM_OUT);
    }
    bk::I_COMPARE(c.RLY_USED_EQ, c.RLY_USED_LT, c.RLY_USED_GT, c.RLY_FUNCTION_SAMP_ITUNE, 1);
    // Forcing: enabled only in calibration mode, the disable wins.
    c.ENBLE_FORCING_B_NAME = c.ENBLE_FORCING_IN;
    c.DISBL_FORCING_B_NAME = c.DISBL_FORCING_IN;
    c.DIS_FRC_OR = bk::OR({c.DISBL_FORCING_B_NAME, CALMODE.NOTCALMODE_B_NAME});
    bk::LATCH_R(c.FORCING_ENBLD_LATCH_R, c.ENBLE_FORCING_B_NAME, c.DIS_FRC_OR);
    bk::DELAY(CNFG_BO_st.disbl_dly, c.DISBL_DLY_DELAY, &c.DISBL_DLY_R_TIME.ref(), c.FORCING_ENBLD_LATCH_R, 0.0f,
              c.DISBL_DLY_NEG_DTIME, bk::T160);
    c.NOT_ENBLED_NOT = bk::NOT(c.FORCING_ENBLD_LATCH_R);
    bk::ONE_SHOT(CNFG_BO_st.reset_state, c.RESET_STATE_ONE_SHOT, &c.RESET_STATE_R_TIME.ref(), c.NOT_ENBLED_NOT,
                 c.RESET_STATE_DLY_TIME, bk::T160);
    if (c.DISBL_DLY_DELAY == 1) {
        bk::SAMP_OUTPUTS(bk::SAMP_ITUNE(CNFG_BO_st.force_protect, c.FORCE_PROTECT_TUNE, 0, c.RESET_STATE_ONE_SHOT, 0,
                                        1, 0, 0, 1, static_cast<uint32_t>(AllRgExecutedwMMM)),
                         c.FORCE_PROTECT_SAMP_ITUNE, c.FORCE_PROTECT_LIMITED, c.FORCE_PROTECT_EN_ENT_OUT,
                         c.FORCE_PROTECT_LO_LIM_OUT, c.FORCE_PROTECT_HI_LIM_OUT);
    }
    bk::I_COMPARE(c.FORCE_STATE_EQ, c.FORCE_STATE_LT, c.FORCE_STATE_GT, c.FORCE_PROTECT_SAMP_ITUNE, 1);
    // The inversion follows its tunable under the I/O lock and in the
    // power-up window (so a stored inversion is in force after a start),
    // and holds otherwise.
    c.INVERT_RELAY_B_NAME = c.INVERT_RELAY_IN;
    c.INV_NOT_NOT = bk::NOT(c.INVERT_RELAY_B_NAME);
    c.ENA_CNFG_NOT_NOT = bk::NOT(ORVEX12_IO.IOLOCK_PWRUP_OR);
    c.ENBL_RST_AND = bk::AND({c.INV_NOT_NOT, ORVEX12_IO.IOLOCK_PWRUP_OR});
    chan::inversion_latch(!(c.INVERT_RELAY_B_NAME == 0 || c.ENA_CNFG_NOT_NOT == 1), c.ENBL_RST_AND, c.INV_INH_ACT_OUT,
                          c.INV_INH_B_ACTION, c.INVERTED_LATCH);
    const bool energized = c.RLY_OUT_B_SW == 1;
    c.RLY02_FDBK_B_TO_STR = energized ? " Energized " : " De-energized ";
    c.RLY02_FDBK_MSG_SEL = energized ? 1 : 0;
    bk::I_TO_STR(c.RLY_FUN_STRG1_I_TO_STR, c.RLY_FUNCTION_SAMP_ITUNE,
                 {{1, "--- Not Used ---"}, {2, "Summary Shutdown"}, {3, "Trip Relay State"}}, "Not Used");
    c.BO01_TAG_S_NAME = c.BO01_TAG_IN;
}

void CNFG_BO_functions() {
    CNFG_BO.RELAY_01_FUNCT_OUT_1 = bk::int_to_real(CNFG_BO.RLY_FUNCTION_SAMP_ITUNE);
    CNFG_BO.RELAY_02_FUNCT_OUT_1 = bk::int_to_real(_ub21.FUNCT_INT_I_NAME);
    CNFG_BO.RELAY_03_FUNCT_OUT_1 = bk::int_to_real(_ub22.FUNCT_INT_I_NAME);
    CNFG_BO.RELAY_04_FUNCT_OUT_1 = bk::int_to_real(_ub23.FUNCT_INT_I_NAME);
}

int32_t CNFG_BO_wizard_function(int n) {
    struct Wizard {
        const cat::Cell<int32_t>& in;
        const cat::Cell<int32_t>& copy;
    };
    static const Wizard kWizard[3] = {
        {CNFG_BO.WIZFUN_RLY_CH2_IN, CNFG_BO.WIZFUN_RLY_CH2_I_NAME},
        {CNFG_BO.WIZFUN_RLY_CH3_IN, CNFG_BO.WIZFUN_RLY_CH3_I_NAME},
        {CNFG_BO.WIZFUN_RLY_CH4_IN, CNFG_BO.WIZFUN_RLY_CH4_I_NAME},
    };
    const Wizard& w = kWizard[n - 2];
    w.copy = w.in;
    return w.copy;
}

}  // namespace r160
