// The front panel of module ORVEX12_IO: backlight command and read-back,
// the keypad with its minimum key length, the E-stop reset line, the
// keypad reset pulse, operator activity and automatic dimming, and the
// unit-temperature estimate over the last hour.
#include "app/control/ORVEX12_IO.cells.h"

#include "app/control/RESET.cells.h"
#include "app/control/ref_blocks.h"
#include "app/discrete/ALARMS.cells.h"
#include "app/interface/IFACE_MODE.cells.h"
#include "drivers/ZarnAnalogIns.h"
#include "drivers/ZarnHwDepend.h"
#include "drivers/ZarnKeypad.h"
#include "host/vkboard.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

float ORVEX12_IO_UNIT_TEMP_2329Avg[60];

namespace {

constexpr int kKeys = ZARN_KEYPAD_KEYS;
constexpr int kTempSamples = 60;
constexpr float kKeyStepMs = 80.0f;
constexpr int32_t kPulseOnRise = 5;
constexpr float kBrightDeadband = 0.25f;
constexpr float kBrightDeadband2 = 2.0f;

struct ORVEX12_IO_panel_blocks {
    float last_brightness;      // the last brightness sent to the backlight
    uint32_t raw[kKeys];        // key states as the keypad reads them
    float hold_ms[kKeys];       // how long each stretched key has been on
    uint32_t trip;              // the stretched trip key before its copy
    uint32_t reset_key_prev;    // KEYPAD.RESET of the previous pass
    bk::DelayState DLY_NOKEYS;
    int32_t temp_index;
    int32_t temp_passes;
    uint32_t temp_ready;
};
BlockRam<ORVEX12_IO_panel_blocks> ORVEX12_IO_panel_st;

enum Key : int {
#define ORVEX12_IO_KEY_ENUM(k) KEY_##k,
    ORVEX12_IO_KEYS(ORVEX12_IO_KEY_ENUM)
#undef ORVEX12_IO_KEY_ENUM
};

// A key stays on for at least the hold time, and for as long as it is held.
void stretch(uint32_t& out, float& hold_ms, uint32_t raw, float hold_time) {
    if (raw != 0) out = 1;
    if (out == 0) return;
    if (hold_ms <= hold_time) {
        hold_ms += kKeyStepMs;
    } else if (raw == 0) {
        hold_ms = 0.0f;
        out = 0;
    }
}

}  // namespace

namespace r80 {

void ORVEX12_IO_keypad() {
    auto& o = ORVEX12_IO;
    ORVEX12_IO_panel_blocks& s = ORVEX12_IO_panel_st;

    const float brightness = bk::int_to_real(o.BRITENESS_OUT_1);
    if (brightness != s.last_brightness) {
        SetZarnDisplayBrightness(o.BRITENESS_OUT_1);
        s.last_brightness = brightness;
    }
    o.KEYPAD_BRIGHTNESS_OUT = VNReadBacklightPercent();
    o.KEYPAD_DISP_BKLT_FLT = GetBacklightFault();

    o.INIT_BLINK_B_SW = bk::SW<uint32_t>(IFACE_MODE.BOOT_CMPLT_NOT, IFACE_MODE.BLINK_ALMLED_AND, ALARMS.ALARM_LED_B_NAME);

    uint32_t* table[kKeys];
    for (int k = 0; k < kKeys; ++k) table[k] = &s.raw[k];
    ReadKeypad(table);
    ResetZarnEstop(o.KEYPAD_ESTOP_RESET);

    const float hold = o.KEYPAD_HOLD_TIME;
#define ORVEX12_IO_STRETCH(k) \
    if (KEY_##k != KEY_TRIP) stretch(o.KEYPAD_##k, s.hold_ms[KEY_##k], s.raw[KEY_##k], hold);
    ORVEX12_IO_KEYS(ORVEX12_IO_STRETCH)
#undef ORVEX12_IO_STRETCH
    stretch(s.trip, s.hold_ms[KEY_TRIP], s.raw[KEY_TRIP], hold);

    refbk::ACTION_OUT(RESET.RST_KEYPAD_ACT_OUT, RESET.RST_KEYPAD_E_TIME, RESET.RST_KEYPAD_R_TIME, kPulseOnRise);
    RESET.RST_KEYPAD_B_ACTION =
        bk::AND({o.KEYPAD_RESET, bk::NOT(RESET.RST_KEYPAD_RST_1), bk::NOT(s.reset_key_prev)});
    s.reset_key_prev = o.KEYPAD_RESET;
    o.KEYPAD_TRIP = s.trip;
}

void ORVEX12_IO_activity() {
    auto& o = ORVEX12_IO;
    ORVEX12_IO_panel_blocks& s = ORVEX12_IO_panel_st;

    uint32_t any = RESET.RESET_B_NAME;
#define ORVEX12_IO_ANY(k) \
    if (KEY_##k != KEY_TRIP_VIEW) any |= o.KEYPAD_##k;
    ORVEX12_IO_KEYS(ORVEX12_IO_ANY)
#undef ORVEX12_IO_ANY
    o.ANY_KEY_OR = any != 0 ? 1u : 0u;
    o.DIS_DIMMING_B_NAME = o.DIS_DIMMING_IN;
    o.DIMMING_ENA_NOT = bk::NOT(o.DIS_DIMMING_B_NAME);
    o.NO_USER_NOT = bk::NOT(o.ANY_KEY_OR);
    o.DIM_TO_DIM_MULTIPLY = o.DIM_MINS_A_NAME * 60.0f;
    bk::DELAY(s.DLY_NOKEYS, o.DLY_NOKEYS_DELAY, &o.DLY_NOKEYS_R_TIME.ref(), o.NO_USER_NOT, o.DIM_TO_DIM_MULTIPLY, 0.0f,
              bk::T80);
    o.AUTO_DIM_AND = bk::AND({o.DIMMING_ENA_NOT, o.DLY_NOKEYS_DELAY});

    // A read-back at the level the program commands is the program's own
    // doing, not a change made on the panel: while the fade moves toward the
    // operator's level, the levels it passes through would otherwise be
    // sampled as the operator's, and a lowered brightness taken back.
    const float commanded = bk::int_to_real(o.BRITENESS_OUT_1);
    const bool changed = std::fabs(o.KEYPAD_BRIGHTNESS_OUT - commanded) > kBrightDeadband;
    if (o.ENA_DB_AND != 0 && changed) {
        const float d = o.KEYPAD_BRIGHTNESS_OUT - o.USER_BRITE_SAMP_TUNE;
        if (d >= 0.0f) {
            o.BRITE_DIFF_LOWER_VAL = 0;
            o.BRITE_DIFF_RAISE_VAL = d > kBrightDeadband ? 1u : 0u;
        } else {
            o.BRITE_DIFF_RAISE_VAL = 0;
            o.BRITE_DIFF_LOWER_VAL = -d > kBrightDeadband ? 1u : 0u;
        }
        o.BRITE_DIFF_EXCD_DB_2 = std::fabs(d) > kBrightDeadband2 ? 1u : 0u;
    } else {
        o.BRITE_DIFF_RAISE_VAL = 0;
        o.BRITE_DIFF_LOWER_VAL = 0;
        o.BRITE_DIFF_EXCD_DB_2 = 0;
    }

    // The unit temperature: one sample per period, averaged over 60.
    float* buf = ORVEX12_IO_UNIT_TEMP_2329Avg;
    const float celsius = o.CHASS_STATUS_CELSIUS;
    s.temp_passes += 1;
    const bool due = s.temp_passes > o.UNIT_TEMP_PERIOD;
    if ((o.BUFF_INIT_ONE_SHOT != 0 && due) || s.temp_ready == 0) {
        s.temp_ready = AllRgExecutedwMMM != 0 ? 1u : 0u;
        for (int k = 0; k < kTempSamples; ++k) buf[k] = celsius;
        o.UNIT_TEMP_RUNNING_AVG = celsius;
        s.temp_index = 0;
        s.temp_passes = 1;
    } else if (due) {
        buf[s.temp_index] = celsius;
        float sum = 0.0f;
        for (int k = 0; k < kTempSamples; ++k) sum += buf[k];
        o.UNIT_TEMP_RUNNING_AVG = sum / static_cast<float>(kTempSamples);
        s.temp_passes = 1;
        s.temp_index = s.temp_index + 1 >= kTempSamples ? 0 : s.temp_index + 1;
    }
    o.EST_OP_TEMP_ADD = o.EST_OP_TEMP_IN_2 + o.UNIT_TEMP_RUNNING_AVG;
}

}  // namespace r80
