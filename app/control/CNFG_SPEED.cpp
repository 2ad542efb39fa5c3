// CNFG_SPEED in the 10 ms group: the two speed-sensor channel blocks. Each
// takes its settings from the tunables during the start-up frames, runs the
// driver's evaluation every frame and turns tooth frequency into rpm, with
// the high and low speed latches, the phase difference and tooth detection.
#include "app/control/CNFG_SPEED.cells.h"

#include <cmath>

#include "app/control/MPU_OVRD.cells.h"
#include "app/discrete/ALM_LOGIC.cells.h"
#include "app/control/CONF_VAL_1.cells.h"
#include "app/control/RESET.cells.h"
#include "app/config/CNFG_SETPT.cells.h"
#include "app/config/MASTER.cells.h"
#include "app/config/config_list.h"
#include "drivers/ZarnTurbineSpeed.h"
#include "runtime/appmem.h"
#include "runtime/blockkinds.h"
#include "runtime/rgtask.h"

namespace {

// Hidden state of a speed-sensor channel block: the frozen settings, the
// tooth frequency per rpm, the maximum tooth frequency, the latch timers (ms)
// and the tooth count of the last frame.
struct CnfgTssVars {
    int32_t teeth;
    float gear;
    float maxSpeed;
    float hzPerRpm;
    float maxFreq;
    float hiTimerMs;
    float loTimerMs;
    uint16_t lastToothCount;
};

struct CNFG_SPEED_blocks {
    CnfgTssVars TSS_01;
    CnfgTssVars TSS_02;
};
BlockRam<CNFG_SPEED_blocks> CNFG_SPEED_st;

constexpr float kMinFreq = 5.0f;         // Hz
constexpr float kMaxFreq = 35000.0f;     // Hz
constexpr float kFreqPerTooth = 5000.0f; // highest frequency timed one tooth at a time
constexpr float kSlewPct = 100.0f;       // percent of the maximum frequency per second
constexpr float kOverRange = 1.1f;       // speeds read at most 1.1 x the maximum speed
constexpr float kLatchStepMs = 10.0f;

// One speed-sensor channel block: its hidden state, its driver channel and
// its cells.
struct TssCells {
    CnfgTssVars& v;
    int ch;
    float &maxSpeedIn, &maxSpeed, &gearIn, &gear;
    int32_t &teethIn, &teeth;
    float &lowSpeedIn, &lowSpeed, &latchDelayMs, &deriv, &mpuZarn, &monitor, &phaseDiff;
    uint32_t &minSpeed, &hiLatch, &loLatch, &latchOr, &toothDet;
    const uint32_t& overridden;
};

// The cells of sensor N (block TSS_0N on driver channel N - 1); OVRD is its override.
#define CNFG_SPEED_TSS_CELLS(N, OVRD)                                                                           \
    TssCells {                                                                                                  \
        CNFG_SPEED_st.TSS_0##N, N - 1, CNFG_SPEED.SPD##N##_MAXSPD_IN, CNFG_SPEED.SPD##N##_MAXSPD_A_NAME,        \
            CNFG_SPEED.SPD##N##_GEAR_IN, CNFG_SPEED.SPD##N##_GEAR_A_NAME, CNFG_SPEED.SPD##N##_TEETH_IN,         \
            CNFG_SPEED.SPD##N##_TEETH_I_NAME, CNFG_SPEED.SPD##N##_LOW_SP_IN, CNFG_SPEED.SPD##N##_LOW_SP_A_NAME, \
            CNFG_SPEED.TSS_0##N##_LATCH_DLY, CNFG_SPEED.TSS_0##N##_DERIV, CNFG_SPEED.TSS_0##N##_MPU_ZARN,       \
            CNFG_SPEED.TSS_0##N##_MONITOR, CNFG_SPEED.TSS_0##N##_PHASE_DIFF, CNFG_SPEED.TSS_0##N##_MIN_SPEED,   \
            CNFG_SPEED.TSS_0##N##_HI_LATCH, CNFG_SPEED.TSS_0##N##_LO_LATCH, CNFG_SPEED.TSS_0##N##_LATCH_OR,     \
            CNFG_SPEED.TSS_0##N##_TOOTH_DET, OVRD                                                               \
    }

TssCells tss_cells(int sensor) {
    using namespace r10;
    if (sensor == 1) return CNFG_SPEED_TSS_CELLS(1, MPU_OVRD.OVRD1_OR_OR);
    return CNFG_SPEED_TSS_CELLS(2, MPU_OVRD.OVRD_MPU2_OR);
}
#undef CNFG_SPEED_TSS_CELLS

// The channel's settings, copied from the tunables and applied to the driver
// only during the start-up frames and only when they change; frozen after
// start-up until the next start.
void tss_config(const TssCells& c) {
    c.maxSpeed = c.maxSpeedIn;
    c.gear = c.gearIn;
    c.teeth = c.teethIn;
    c.lowSpeed = c.lowSpeedIn;
    CnfgTssVars& v = c.v;
    if (AllRgExecutedwMMM != 0) return;
    if (c.teeth == v.teeth && c.gear == v.gear && c.maxSpeed == v.maxSpeed) return;
    v.teeth = c.teeth;
    v.gear = c.gear;
    v.maxSpeed = c.maxSpeed;
    v.hzPerRpm = static_cast<float>(c.teeth) * c.gear / 60.0f;
    if (!(v.hzPerRpm > 0.0f)) v.hzPerRpm = 1e-6f;
    v.maxFreq = bk::A_LIMITER(c.maxSpeed * v.hzPerRpm, kMinFreq, kMaxFreq);
    ZarnTssChannel& z = stZarnTssData[c.ch];
    z.maxFreq = v.maxFreq;
    z.teethPerMeasure = static_cast<int32_t>(std::ceil(v.maxFreq / kFreqPerTooth));
    ConfigZarnTss(c.ch);
}

// The driver's frame: status, speed and acceleration in rpm. Below the
// measurable minimum the speed reads as that minimum; without a usable
// signal the monitor speed and the acceleration read 0.
void tss_evaluate(const TssCells& c) {
    const CnfgTssVars& v = c.v;
    ZarnTssChannel& z = stZarnTssData[c.ch];
    RunZarnTss(c.ch);
    z.slewPct = kSlewPct;
    ConfigZarnTss(c.ch);
    const float s = bk::DIVIDE(z.speed, v.hzPerRpm);
    const float limit = kOverRange * v.maxSpeed;
    c.deriv = bk::DIVIDE(z.accel, v.hzPerRpm);
    c.minSpeed = (z.status & ZARN_TSS_BELOW_MIN) != 0 ? 1u : 0u;
    c.mpuZarn = c.minSpeed != 0 ? bk::DIVIDE(v.maxFreq / 50.0f, v.hzPerRpm) : bk::A_MIN(s, limit);
    if ((z.status & ZARN_TSS_NO_SIGNAL) != 0) {
        c.monitor = 0.0f;
        c.deriv = 0.0f;
    } else {
        c.monitor = bk::A_MIN(s, limit);
    }
}

// A latch set once its condition has stood for the latch delay; the reset
// clears it only while the condition is gone.
void timed_latch(float& timerMs, uint32_t& latch, bool condition, float delayMs, uint32_t reset) {
    if (condition) {
        timerMs += kLatchStepMs;
        if (timerMs >= delayMs) latch = 1;
    } else {
        timerMs = 0.0f;
        if (reset != 0) latch = 0;
    }
}

void tss_latches(const TssCells& c) {
    const uint32_t reset = r10::RESET.RESET_B_NAME;
    timed_latch(c.v.hiTimerMs, c.hiLatch, c.mpuZarn >= c.maxSpeed, c.latchDelayMs, reset);
    timed_latch(c.v.loTimerMs, c.loLatch, c.overridden == 0 && c.mpuZarn < c.lowSpeed, c.latchDelayMs, reset);
    c.latchOr = bk::OR({c.hiLatch, c.loLatch});
}

void tss_phase_teeth(const TssCells& c) {
    if (AllRgExecutedwMMM == 1) c.phaseDiff = static_cast<float>(ReadZarnSpeedPhase(c.ch));
    ReadToothCount(c.ch);
    const uint16_t count = stZarnTssData[c.ch].toothCount;
    c.toothDet = count != c.v.lastToothCount ? 1u : 0u;
    c.v.lastToothCount = count;
}

}  // namespace

void CNFG_SPEED_init_blks() {
    CnfgTssVars* const vars[2] = {&CNFG_SPEED_st.TSS_01, &CNFG_SPEED_st.TSS_02};
    for (int ch = 0; ch < 2; ++ch) {
        vars[ch]->hzPerRpm = 1.0f;
        ZarnTssChannel& c = stZarnTssData[ch];
        c.tau1Ms = 10;
        c.tau2Ms = 10;
        c.inputMode = 1;
        c.inputOption = 0;
        InitZarnTss(ch);
    }
}

namespace r10 {

void CNFG_SPEED_config_1() { tss_config(tss_cells(1)); }
void CNFG_SPEED_evaluate_1() { tss_evaluate(tss_cells(1)); }
void CNFG_SPEED_latches_1() { tss_latches(tss_cells(1)); }
void CNFG_SPEED_phase_teeth_1() { tss_phase_teeth(tss_cells(1)); }
void CNFG_SPEED_config_2() { tss_config(tss_cells(2)); }
void CNFG_SPEED_evaluate_2() { tss_evaluate(tss_cells(2)); }
void CNFG_SPEED_latches_2() { tss_latches(tss_cells(2)); }
void CNFG_SPEED_phase_teeth_2() { tss_phase_teeth(tss_cells(2)); }

void CNFG_SPEED_rated() {
    CNFG_SPEED.RATED_MULT1_MULTIPLY = CNFG_SETPT.MAX_GOV_A_NAME * CNFG_SPEED.RATED_MULT1_IN_2;
}

}  // namespace r10

namespace {
struct CNFG_SPEED_diff_blocks {
    bk::DelayState DIFF_DELAY;
};
BlockRam<CNFG_SPEED_diff_blocks> CNFG_SPEED_diff_st;
}  // namespace

namespace r160 {

void CNFG_SPEED_list() {
    auto& c = CNFG_SPEED;
    cfglist::SAMPLE<uint32_t>(MASTER.IO_LOCK_OR_PWR_B_NAME, {{c.CONFIG_B_LIST_1.ref(), c.CONFIG_B_IN_1}});
    c.SPD2_USED_B_NAME = c.CONFIG_B_LIST_1;
    CONF_VAL_1.USE_MPU2_B_NAME = c.CONFIG_B_LIST_1;
}

void CNFG_SPEED_difference() {
    auto& C = CNFG_SPEED;
    C.MPU_DIFF_SUBTRACT = C.TSS_01_MPU_ZARN - C.TSS_02_MPU_ZARN;
    C.ABS_ERR_ABSOLUTE = std::fabs(C.MPU_DIFF_SUBTRACT);
    C.BOTH_GOOD_NOR = bk::NOR({ALM_LOGIC.SS2_FLT_AND, MPU_OVRD.SS1_FLD_B_SW});
    C.OVRD_OFF_NOT = bk::NOT(MPU_OVRD.OVRD1_OR_OR);
    C.MPU_DIFF_SP_A_NAME = C.MPU_DIFF_SP_IN;
    bk::A_COMPARE(C.SPD_DIFF_A_COMPARE, C.SPD_DIFF_A_EQUAL, C.ABS_ERR_ABSOLUTE, C.MPU_DIFF_SP_A_NAME);
    C.SPDSIG_DIFF_AND = bk::AND({C.BOTH_GOOD_NOR, CONF_VAL_1.USE_MPU2_B_NAME, C.OVRD_OFF_NOT, C.SPD_DIFF_A_COMPARE});
    bk::DELAY(CNFG_SPEED_diff_st.DIFF_DELAY, C.DIFF_DELAY_DELAY, &C.DIFF_DELAY_R_TIME.ref(), C.SPDSIG_DIFF_AND,
              C.DIFF_DELAY_DLY_TIME, 0.0f, bk::T160);
    C.DIFF_ALM_B_NAME = C.DIFF_DELAY_DELAY;
    // The lowest measurable speed is a fiftieth of the sensor's maximum.
    C.SPD1_MINSPD_DIVIDE = bk::DIVIDE(C.SPD1_MAXSPD_A_NAME, 50.0f);
    C.SPD2_MINSPD_DIVIDE = bk::DIVIDE(C.SPD2_MAXSPD_A_NAME, 50.0f);
}

}  // namespace r160
