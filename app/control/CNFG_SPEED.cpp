// CNFG_SPEED in the 10 ms group: the two speed-sensor channel blocks. Each
// takes its settings from the tunables during the start-up frames, runs the
// driver's evaluation every frame and turns tooth frequency into rpm, with
// the high and low speed latches, the phase difference and tooth detection.
#include "app/control/CNFG_SPEED.cells.h"

#include <cmath>

#include "app/control/MPU_OVRD.cells.h"
#include "app/control/RESET.cells.h"
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

// The channel's settings, applied to the driver only during the start-up
// frames and only when they change; frozen after start-up until the next
// start.
void tss_config(CnfgTssVars& v, int ch, int32_t teeth, float gear, float maxSpeed) {
    if (AllRgExecutedwMMM != 0) return;
    if (teeth == v.teeth && gear == v.gear && maxSpeed == v.maxSpeed) return;
    v.teeth = teeth;
    v.gear = gear;
    v.maxSpeed = maxSpeed;
    v.hzPerRpm = static_cast<float>(teeth) * gear / 60.0f;
    if (!(v.hzPerRpm > 0.0f)) v.hzPerRpm = 1e-6f;
    v.maxFreq = bk::A_LIMITER(maxSpeed * v.hzPerRpm, kMinFreq, kMaxFreq);
    ZarnTssChannel& c = stZarnTssData[ch];
    c.maxFreq = v.maxFreq;
    c.teethPerMeasure = static_cast<int32_t>(std::ceil(v.maxFreq / kFreqPerTooth));
    ConfigZarnTss(ch);
}

// The driver's frame: status, speed and acceleration in rpm. Below the
// measurable minimum the speed reads as that minimum; without a usable
// signal the monitor speed and the acceleration read 0.
void tss_evaluate(const CnfgTssVars& v, int ch, float& deriv, uint32_t& minSpeed, float& mpuZarn, float& monitor) {
    ZarnTssChannel& c = stZarnTssData[ch];
    RunZarnTss(ch);
    c.slewPct = kSlewPct;
    ConfigZarnTss(ch);
    const float s = bk::DIVIDE(c.speed, v.hzPerRpm);
    const float limit = kOverRange * v.maxSpeed;
    deriv = bk::DIVIDE(c.accel, v.hzPerRpm);
    minSpeed = (c.status & ZARN_TSS_BELOW_MIN) != 0 ? 1u : 0u;
    mpuZarn = minSpeed != 0 ? bk::DIVIDE(v.maxFreq / 50.0f, v.hzPerRpm) : bk::A_MIN(s, limit);
    if ((c.status & ZARN_TSS_NO_SIGNAL) != 0) {
        monitor = 0.0f;
        deriv = 0.0f;
    } else {
        monitor = bk::A_MIN(s, limit);
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

void tss_latches(CnfgTssVars& v, uint32_t& hiLatch, uint32_t& loLatch, uint32_t& latchOr, float mpuZarn,
                 float maxSpeed, float lowSpeed, uint32_t overridden, float delayMs, uint32_t reset) {
    timed_latch(v.hiTimerMs, hiLatch, mpuZarn >= maxSpeed, delayMs, reset);
    timed_latch(v.loTimerMs, loLatch, overridden == 0 && mpuZarn < lowSpeed, delayMs, reset);
    latchOr = bk::OR({hiLatch, loLatch});
}

void tss_phase_teeth(CnfgTssVars& v, int ch, float& phaseDiff, uint32_t& toothDet) {
    if (AllRgExecutedwMMM == 1) phaseDiff = static_cast<float>(ReadZarnSpeedPhase(ch));
    ReadToothCount(ch);
    const uint16_t count = stZarnTssData[ch].toothCount;
    toothDet = count != v.lastToothCount ? 1u : 0u;
    v.lastToothCount = count;
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

void CNFG_SPEED_config_1() {
    CNFG_SPEED.SPD1_MAXSPD_A_NAME = CNFG_SPEED.SPD1_MAXSPD_IN;
    CNFG_SPEED.SPD1_GEAR_A_NAME = CNFG_SPEED.SPD1_GEAR_IN;
    CNFG_SPEED.SPD1_TEETH_I_NAME = CNFG_SPEED.SPD1_TEETH_IN;
    CNFG_SPEED.SPD1_LOW_SP_A_NAME = CNFG_SPEED.SPD1_LOW_SP_IN;
    tss_config(CNFG_SPEED_st.TSS_01, 0, CNFG_SPEED.SPD1_TEETH_I_NAME, CNFG_SPEED.SPD1_GEAR_A_NAME,
               CNFG_SPEED.SPD1_MAXSPD_A_NAME);
}

void CNFG_SPEED_evaluate_1() {
    tss_evaluate(CNFG_SPEED_st.TSS_01, 0, CNFG_SPEED.TSS_01_DERIV, CNFG_SPEED.TSS_01_MIN_SPEED,
                 CNFG_SPEED.TSS_01_MPU_ZARN, CNFG_SPEED.TSS_01_MONITOR);
}

void CNFG_SPEED_latches_1() {
    tss_latches(CNFG_SPEED_st.TSS_01, CNFG_SPEED.TSS_01_HI_LATCH, CNFG_SPEED.TSS_01_LO_LATCH,
                CNFG_SPEED.TSS_01_LATCH_OR, CNFG_SPEED.TSS_01_MPU_ZARN, CNFG_SPEED.SPD1_MAXSPD_A_NAME,
                CNFG_SPEED.SPD1_LOW_SP_A_NAME, MPU_OVRD.OVRD1_OR_OR, CNFG_SPEED.TSS_01_LATCH_DLY,
                RESET.RESET_B_NAME);
}

void CNFG_SPEED_phase_teeth_1() {
    tss_phase_teeth(CNFG_SPEED_st.TSS_01, 0, CNFG_SPEED.TSS_01_PHASE_DIFF, CNFG_SPEED.TSS_01_TOOTH_DET);
}

void CNFG_SPEED_config_2() {
    CNFG_SPEED.SPD2_MAXSPD_A_NAME = CNFG_SPEED.SPD2_MAXSPD_IN;
    CNFG_SPEED.SPD2_GEAR_A_NAME = CNFG_SPEED.SPD2_GEAR_IN;
    CNFG_SPEED.SPD2_TEETH_I_NAME = CNFG_SPEED.SPD2_TEETH_IN;
    CNFG_SPEED.SPD2_LOW_SP_A_NAME = CNFG_SPEED.SPD2_LOW_SP_IN;
    tss_config(CNFG_SPEED_st.TSS_02, 1, CNFG_SPEED.SPD2_TEETH_I_NAME, CNFG_SPEED.SPD2_GEAR_A_NAME,
               CNFG_SPEED.SPD2_MAXSPD_A_NAME);
}

void CNFG_SPEED_evaluate_2() {
    tss_evaluate(CNFG_SPEED_st.TSS_02, 1, CNFG_SPEED.TSS_02_DERIV, CNFG_SPEED.TSS_02_MIN_SPEED,
                 CNFG_SPEED.TSS_02_MPU_ZARN, CNFG_SPEED.TSS_02_MONITOR);
}

void CNFG_SPEED_latches_2() {
    tss_latches(CNFG_SPEED_st.TSS_02, CNFG_SPEED.TSS_02_HI_LATCH, CNFG_SPEED.TSS_02_LO_LATCH,
                CNFG_SPEED.TSS_02_LATCH_OR, CNFG_SPEED.TSS_02_MPU_ZARN, CNFG_SPEED.SPD2_MAXSPD_A_NAME,
                CNFG_SPEED.SPD2_LOW_SP_A_NAME, MPU_OVRD.OVRD_MPU2_OR, CNFG_SPEED.TSS_02_LATCH_DLY,
                RESET.RESET_B_NAME);
}

void CNFG_SPEED_phase_teeth_2() {
    tss_phase_teeth(CNFG_SPEED_st.TSS_02, 1, CNFG_SPEED.TSS_02_PHASE_DIFF, CNFG_SPEED.TSS_02_TOOTH_DET);
}

}  // namespace r10
