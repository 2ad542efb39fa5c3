// ORVEX12_IO at 160 ms: the chassis display settings. The backlight follows
// the operator's brightness, limited while the unit runs hot or has been left
// alone, fading down slowly and up at once.
#include "app/config/CALMODE.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/control/ORVEX12_IO.cells.h"
#include "app/system/_MASTER.cells.h"

#include <cmath>

#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {
constexpr float kTooHotHyst = 1.0f;  // degrees Celsius above the limit to set
constexpr float kFadeUp = 1000.0f;   // % per second
constexpr float kBriteLo = 0.0f, kBriteHi = 100.0f;
constexpr float kBriteDeadband = 0.25f;  // % the read-back may stand off

struct ORVEX12_IO_display_blocks {
    bk::SampState USER_BRITE;
    bk::RateLimitState FADE_RATE;
    bk::OneShotState BUFF_INIT;
    bk::OneShotState PWRUP_OS;
};
BlockRam<ORVEX12_IO_display_blocks> ORVEX12_IO_display_st;
}  // namespace

namespace r160 {

void ORVEX12_IO_display() {
    auto& o = ORVEX12_IO;
    auto& s = ORVEX12_IO_display_st;
    // Local-time offset in hours.
    o.TIMEZONE_OUT_1 = bk::int_to_real(o.TIMEZONE_IN_1);
    o.USE_HALF_A_SW = bk::SW<float>(o.USE_HALF_CTRL, 0.0f, o.USE_HALF_NO);
    o.ADD_HALF_ADD = o.TIMEZONE_OUT_1 + o.USE_HALF_A_SW;
    o.BOOT_PAGE_I_NAME = o.BOOT_PAGE_IN;
    o.SEL_BPAGE_B_NAME = o.SEL_BPAGE_IN;

    // Brightness.
    bk::A_COMPARE_HYST(o.TOO_HOT_A_COMPARE, o.TOO_HOT_A_EQUAL, o.EST_OP_TEMP_ADD, o.TOO_HOT_IN_2, kTooHotHyst);
    o.LIM_MAX_OR = bk::OR({o.TOO_HOT_A_COMPARE, o.AUTO_DIM_AND});
    bk::SAMP_OUTPUTS(bk::SAMP_TUNE(s.USER_BRITE, o.USER_BRITE_TUNE, o.KEYPAD_BRIGHTNESS_OUT, o.ZMINUS1_B_ZMINUS1_B,
                                   kBriteLo, kBriteHi, 1u, kBriteLo, kBriteHi,
                                   static_cast<uint32_t>(AllRgExecutedwMMM)),
                     o.USER_BRITE_SAMP_TUNE, o.USER_BRITE_LIMITED, o.USER_BRITE_EN_ENT_OUT, o.USER_BRITE_LO_LIM_OUT,
                     o.USER_BRITE_HI_LIM_OUT);
    o.MAX_BRIGHT_A_SW = bk::SW<float>(o.LIM_MAX_OR, o.USER_BRITE_SAMP_TUNE, o.MAX_BRIGHT_NO);
    o.FADE_RATE_RATE_LIMIT = bk::RATE_LIMIT(s.FADE_RATE, o.MAX_BRIGHT_A_SW, kFadeUp, o.FADE_RATE_RATE_DN, bk::T160);
    o.BRITENESS_OUT_1 = bk::real_to_int(o.FADE_RATE_RATE_LIMIT);

    bk::ONE_SHOT(s.BUFF_INIT, o.BUFF_INIT_ONE_SHOT, &o.BUFF_INIT_R_TIME.ref(), o.BUFF_INIT_TRIGGER,
                 o.BUFF_INIT_DLY_TIME, bk::T160);
    o.CHASS_ALMS_OR = bk::OR({_MASTER._SYS_INFO_SYS_FLT, o.CAL_FLT_AND});

    // A brightness change made while not dimmed is sampled a pass later.
    o.DIFF_OR = bk::OR({o.BRITE_DIFF_RAISE_VAL, o.BRITE_DIFF_LOWER_VAL});
    o.NOT_DIM_NOT = bk::NOT(o.LIM_MAX_OR);
    // The power-up window: on from start-up for its length, then off.
    bk::ONE_SHOT(s.PWRUP_OS, o.PWRUP_OS_ONE_SHOT, &o.PWRUP_OS_R_TIME.ref(), 1u, o.PWRUP_OS_DLY_TIME, bk::T160);
    o.PWRUP_NOT = bk::NOT(o.PWRUP_OS_ONE_SHOT);
    // Relay 1's inversion may change under the I/O lock or in the window.
    o.IOLOCK_PWRUP_OR = bk::OR({MASTER.IO_LOCK_B_NAME, o.PWRUP_OS_ONE_SHOT});
    o.ENA_DB_AND = bk::AND({o.NOT_DIM_NOT, o.PWRUP_NOT});
    // The difference comes from the 80 ms group, which sees the operator's
    // level a frame late: just after a panel change has been taken it still
    // flags that change, and sampling it again would take the fade's first
    // level for the operator's. Only a read-back still away from the level
    // taken counts.
    const uint32_t away = std::fabs(o.KEYPAD_BRIGHTNESS_OUT - o.USER_BRITE_SAMP_TUNE) > kBriteDeadband ? 1u : 0u;
    o.SAMP_AND = bk::AND({o.DIFF_OR, CALMODE.PULSER_NOT, o.NOT_DIM_NOT, away});
    o.ZMINUS1_B_ZMINUS1_B = o.SAMP_AND;
}

}  // namespace r160
