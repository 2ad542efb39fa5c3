#include "blocks/RunOptiPID.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double kBig = 3e38;   // start value of the running extremes
constexpr int kNoFirstCycle = 41;

// The inputs of one call, with the terms that depend on the process type:
// measured value m, reference R and movement limit L (with its sign).
struct Inputs {
    int32_t RATE_CTRL, FEEDBACK1, ENABLE, PID_TYPE, PROC_TYPE, CLR_EDGE, LSS_HSS;
    double P, I, SDR, THRESH, PV, SP, FDBK, PRC_MV_LMT, OUT_MV_LMT, RESP_TO, FAST_SLOW, DT;
    int32_t ABORT_CODE;
    double DRP_MV, DRP_MV_LMT, DRP_REF, SPARE_B, SPARE_C;
    int32_t SPARE_E;

    bool even() const { return PROC_TYPE % 2 == 0; }
    double m() const { return even() ? DRP_MV : PV; }
    double R() const { return even() ? DRP_REF : SP; }
    double signedLimit() const { return even() ? DRP_MV_LMT : PRC_MV_LMT; }
    double L() const { return std::fabs(signedLimit()); }
};

// What the state logic asks of the PID step on this call.
struct Step {
    double out = 0.0;        // the level, in states that set one
    double useRef = 0.0;
    int32_t reinit = 0;      // bumpless re-initialisation
    double reinitFdbk = 0.0; // feedback to start from when re-initialising
};

// Records are numbered 1..40; a number outside reads as 0 and is not written.
double rec(const double* a, int k) { return (k >= 1 && k <= kOptiCycles) ? a[k - 1] : 0.0; }
void set_rec(double* a, int k, double v)
{
    if (k >= 1 && k <= kOptiCycles) a[k - 1] = v;
}

void reset_extremes(PidOptiData* d)
{
    d->MEAS_MIN = kBig;
    d->MEAS_MAX = -kBig;
    d->DRP_MIN = kBig;
    d->DRP_MAX = -kBig;
    d->DRP_MIN0 = kBig;
    d->DRP_MAX0 = -kBig;
}

void use_input_gains(PidOptiData* d, const Inputs& in)
{
    d->USE_P = in.P;
    d->USE_I = in.I;
    d->USE_SDR = in.SDR;
}

void clear_records(PidOptiData* d)
{
    std::memset(d->CYC_TIME, 0, sizeof d->CYC_TIME);
    std::memset(d->CYC_MAX, 0, sizeof d->CYC_MAX);
    std::memset(d->CYC_MIN, 0, sizeof d->CYC_MIN);
    std::memset(d->CYC_OUT_HI, 0, sizeof d->CYC_OUT_HI);
    std::memset(d->CYC_OUT_LO, 0, sizeof d->CYC_OUT_LO);
    std::memset(d->CYC_CROSS, 0, sizeof d->CYC_CROSS);
}

// Everything a new run starts from: state 2 times, records, adaptation.
void restart_run(PidOptiData* d)
{
    d->STATE_TIME = 0.0;
    d->TEST_TIME = 0.0;
    d->CYCLE = 1;
    d->OUT_HI_LAST = -kBig;
    d->OUT_LO_LAST = kBig;
    reset_extremes(d);
    d->FIRST_CYCLE = kNoFirstCycle;
    d->ADAPT_ON = 0;
    d->UP_TIMEOUT = 1;
    d->DOWN_TIMEOUT = 1;
    clear_records(d);
    d->CROSS_TIME = 0.0;
    d->RATIO_SUM = 0.0;
    d->MEAS_AT_TEST = 0.0;
    d->STEP_UP = 0.0;
    d->STEP_DOWN = 0.0;
    d->PERIOD_MEAN = 0.0;
    d->DEAD_FACTOR = 0.0;
    d->OUT_CALC = 0.0;
    d->TIMEOUT_SEQ = 0.0;
    d->FILT_K = 0.3;
}

void first_call(PidOptiData* d, const Inputs& in)
{
    d->STARTED = 1;
    use_input_gains(d, in);
    d->CALC_P = d->CALC_I = d->CALC_SDR = 0.0;
    d->ALARM_BITS = 0;
    d->FAULT = 0;
    d->STATE = kOptiOff;
    d->MON = 0.0;
    restart_run(d);
    d->MEAS_PREV = d->MEAS_FILT = in.m();
    d->OUT_PREV = d->OUT_AVG = d->OUT = in.FDBK;
    d->BAND_HI = in.R() + in.L() / 10.0;
    d->BAND_LO = in.R() - in.L() / 10.0;
    d->OUT_BASE = d->OUT_AVG;
    d->OUT_HI = -kBig;
    d->OUT_LO = kBig;
}

void enter(PidOptiData* d, int32_t state)
{
    d->STATE = state;
    d->STATE_TIME = 0.0;
}

// Limits a test level to 0..100 and to OUT_BASE +/- OUT_MV_LMT; reaching
// 0, 100 or 99 % of the movement limit raises the limited-movement alarm.
double limit_level(PidOptiData* d, const Inputs& in, double level)
{
    if (level > d->OUT_BASE + in.OUT_MV_LMT) level = d->OUT_BASE + in.OUT_MV_LMT;
    if (level < d->OUT_BASE - in.OUT_MV_LMT) level = d->OUT_BASE - in.OUT_MV_LMT;
    if (level > 100.0) level = 100.0;
    if (level < 0.0) level = 0.0;
    if (level <= 0.0 || level >= 100.0 || std::fabs(level - d->OUT_BASE) >= 0.99 * in.OUT_MV_LMT)
        d->ALARM_BITS |= kAlarmActLimited;
    return level;
}

// State 2: settle, measure the noise band, then start the square wave.
void settling(PidOptiData* d, const Inputs& in, Step& s)
{
    d->CALC_P = d->CALC_I = d->CALC_SDR = 0.0;
    const double settle = (in.PROC_TYPE == 3 || in.PROC_TYPE == 4) ? in.RESP_TO * 0.5
                                                                     : in.RESP_TO / 10.0;
    if (d->STATE_TIME <= settle) {
        s.out = d->OUT_BASE;
        return;
    }
    if (d->STATE_TIME <= 2.0 * settle) {
        s.out = d->OUT_BASE;
        if (d->MEAS_FILT > d->MEAS_MAX) d->MEAS_MAX = d->MEAS_FILT;
        if (d->MEAS_FILT < d->MEAS_MIN) d->MEAS_MIN = d->MEAS_FILT;
        if (in.even()) {
            if (in.PV > d->DRP_MAX0) d->DRP_MAX0 = in.PV;
            if (in.PV < d->DRP_MIN0) d->DRP_MIN0 = in.PV;
        }
        return;
    }
    const double R = in.R();
    double noise = d->MEAS_MAX - d->MEAS_MIN;
    if (noise < 0.0005 * R) noise = 0.0005 * R;
    d->BAND_HI = R + noise;
    d->BAND_LO = R - noise;
    if (d->BAND_HI > R + in.L() / 10.0 || d->BAND_LO < R - in.L() / 10.0) d->FAULT = 2;
    double step = (d->MEAS_FILT == 0.0) ? in.OUT_MV_LMT : noise * 500.0 / d->MEAS_FILT;
    if (step < 0.5) step = 0.5;
    if (step > in.OUT_MV_LMT) step = in.OUT_MV_LMT;
    d->STEP_UP = d->STEP_DOWN = step;
    d->OUT_HI = d->OUT_BASE + d->STEP_UP;
    if (d->OUT_HI > 100.0) d->OUT_HI = 100.0;
    d->OUT_LO = d->OUT_BASE - d->STEP_DOWN;
    if (d->OUT_LO < 0.0) d->OUT_LO = 0.0;
    d->MON = d->STEP_UP;
    if (R > d->MEAS_FILT) {
        enter(d, kOptiStepUp);
        s.out = d->OUT_HI;
    } else {
        enter(d, kOptiStepDown);
        s.out = d->OUT_LO;
    }
}

// Adapts the step of the side being entered from the extreme just reached
// on that side, sets its level and starts the next half-cycle.
void switch_side(PidOptiData* d, const Inputs& in, bool toLow)
{
    const double R = in.R();
    if (d->ADAPT_ON) {
        double& step = toLow ? d->STEP_DOWN : d->STEP_UP;
        const double ext = toLow ? d->MEAS_MIN : d->MEAS_MAX;
        const double band = (d->BAND_HI - d->BAND_LO) / 2.0;
        const bool enteredTimedOut = toLow ? d->DOWN_TIMEOUT : d->UP_TIMEOUT;
        const bool otherTimedOut = toLow ? d->UP_TIMEOUT : d->DOWN_TIMEOUT;
        if (enteredTimedOut) {
            const bool farSide = toLow ? ext > R : ext < R;
            step *= farSide ? 4.0 : 2.0;
        } else if (std::fabs(ext - R) > 6.0 * band) {
            step *= 0.75;
        } else if (otherTimedOut) {
            // unchanged
        } else if (std::fabs(ext - R) <= 1.1 * band) {
            step *= 2.0;
            d->FIRST_CYCLE = kNoFirstCycle;
        } else {
            step *= 1.5;
        }
    }
    if (toLow) {
        d->OUT_LO = limit_level(d, in, d->OUT_BASE - d->STEP_DOWN);
    } else {
        d->OUT_HI = limit_level(d, in, d->OUT_BASE + d->STEP_UP);
    }
    if (in.even() && d->DRP_MAX - d->DRP_MIN > d->MEAS_MAX - d->MEAS_MIN)
        d->ALARM_BITS |= kAlarmDroopMovement;
    const int last = d->CYCLE - 1;
    if (last >= 2) {
        const double c1 = rec(d->CYC_CROSS, last - 1);
        const double c2 = rec(d->CYC_CROSS, last);
        if (c1 > 0.0 && c2 > 0.0 && c2 - c1 > 0.75 * in.RESP_TO) d->ALARM_BITS |= kAlarmRespTimeShort;
    }
    d->ADAPT_ON = 1;
    d->MEAS_MIN = d->MEAS_MAX = d->MEAS_FILT;
    if (in.even()) d->DRP_MIN = d->DRP_MAX = in.PV;
    enter(d, toLow ? kOptiStepDown : kOptiStepUp);
}

// Records the half-cycle that just ended by crossing the band.
void record_half_cycle(PidOptiData* d)
{
    if (d->CYCLE > 1 && d->FIRST_CYCLE > kOptiCycles) d->FIRST_CYCLE = d->CYCLE + 2;
    const int k = d->CYCLE;
    set_rec(d->CYC_TIME, k, d->TEST_TIME);
    set_rec(d->CYC_MAX, k, d->MEAS_MAX);
    set_rec(d->CYC_MIN, k, d->MEAS_MIN);
    set_rec(d->CYC_OUT_HI, k, d->OUT_HI_LAST);
    set_rec(d->CYC_OUT_LO, k, d->OUT_LO_LAST);
    set_rec(d->CYC_CROSS, k, d->CROSS_TIME);
    d->CROSS_TIME = 0.0;
    d->CYCLE += 1;
}

// A half-cycle that never left the band: the records restart, and so does
// the crossing time, which belongs to the half-cycle that follows.
void half_cycle_timed_out(PidOptiData* d)
{
    d->FIRST_CYCLE = kNoFirstCycle;
    d->CYCLE = 1;
    d->CROSS_TIME = 0.0;
}

void track_droop(PidOptiData* d, const Inputs& in)
{
    if (!in.even()) return;
    if (in.PV > d->DRP_MAX) d->DRP_MAX = in.PV;
    if (in.PV < d->DRP_MIN) d->DRP_MIN = in.PV;
}

// Identification from the records FIRST_CYCLE .. FIRST_CYCLE + 8, gains from
// the identified process, then the calculating state.
void identify(PidOptiData* d, const Inputs& in, double h, Step& s)
{
    const int fc = d->FIRST_CYCLE;
    if (fc + 8 > 38) d->FAULT = 4;
    const double R = in.R();
    d->PERIOD_MEAN = 0.0;
    double D = 0.0;
    double aMax = -kBig;
    double qMin = kBig, qMax = -kBig, tMin = kBig, tMax = -kBig;
    for (int k = fc; k <= fc + 8; ++k) {
        const double A = rec(d->CYC_MAX, k) - rec(d->CYC_MIN, k);
        if (A > aMax) aMax = A;
        if (A <= 0.0 || d->BAND_HI <= d->BAND_LO) {
            d->FAULT = 4;
            continue;
        }
        if (k <= fc + 5) {
            const double q = (rec(d->CYC_OUT_HI, k) - rec(d->CYC_OUT_LO, k)) / A;
            if (q <= 0.0) {
                d->FAULT = 4;
            } else {
                d->RATIO_SUM += q;
                if (q < qMin) qMin = q;
                if (q > qMax) qMax = q;
            }
            double T = rec(d->CYC_TIME, k + 2) - rec(d->CYC_TIME, k);
            if (T < 0.05) T = 0.05;
            d->PERIOD_MEAN += T;
            if (T < tMin) tMin = T;
            if (T > tMax) tMax = T;
        }
        if (k > fc + 2)
            D += A / (d->BAND_HI - d->BAND_LO) * (rec(d->CYC_TIME, k) - rec(d->CYC_CROSS, k));
    }
    d->PERIOD_MEAN /= 6.0;
    d->RATIO_SUM /= 6.0;
    d->MON = 1.0 / d->PERIOD_MEAN;
    if (std::fabs(1.0 / tMin - 1.0 / tMax) > 20.0 / tMax) d->FAULT = 3;

    const double F = in.FAST_SLOW;
    if (F < 50.0) {
        d->RATIO_SUM = (F * d->RATIO_SUM + (50.0 - F) * qMin) / 50.0;
        d->MON = (F * d->MON + (50.0 - F) / tMax) / 50.0;
    } else {
        d->RATIO_SUM = ((100.0 - F) * d->RATIO_SUM - (50.0 - F) * qMax) / 50.0;
        d->MON = ((100.0 - F) * d->MON - (50.0 - F) / tMin) / 50.0;
    }
    d->DEAD_FACTOR = (d->PERIOD_MEAN - D / 3.0) / d->PERIOD_MEAN;
    double f = 1.0;
    if (in.PROC_TYPE < 5) {
        f = 5.0 * d->DEAD_FACTOR - 1.5;
        if (f < 1.0) f = 1.0;
        if (f > 3.0) f = 3.0;
        if (f > 1.25) d->ALARM_BITS |= kAlarmHighDeadtime;
    }
    d->MON *= f;
    const double K = d->RATIO_SUM / f;
    d->FILT_K = in.DT * 20.0 / in.RESP_TO;
    if (d->FILT_K > 0.3) d->FILT_K = 0.3;

    const double S = 0.25 + 0.0175 * F;
    const double sdrNoDeriv = in.SDR > 1.0 ? 100.0 : 0.01;
    if (in.PID_TYPE == 1) {
        d->CALC_P = 0.2 * K * S;
        d->CALC_I = 0.0;
        d->CALC_SDR = sdrNoDeriv;
    } else if (in.PID_TYPE == 2) {
        d->CALC_P = 0.3 * K * S;
        d->CALC_I = 0.4 * d->MON;
        d->CALC_SDR = sdrNoDeriv;
    } else {
        d->CALC_P = 0.35 * K * S;
        d->CALC_I = 0.76 * d->MON;
        d->CALC_SDR = (0.192 / d->MON > 0.0) ? (in.SDR > 1.0 ? 6.8531 : 0.1459) : sdrNoDeriv;
    }
    if (40.0 * h > tMin) d->ALARM_BITS |= kAlarmRateGroupSlow;
    d->OUT_CALC = (d->STATE == kOptiStepUp) ? d->OUT_HI : d->OUT_LO;
    d->USE_P = d->CALC_P;
    d->USE_I = d->CALC_I;
    d->USE_SDR = d->CALC_SDR;
    enter(d, kOptiCalculating);
    if (d->BAND_HI < R + aMax / 5.0) d->BAND_HI = R + aMax / 5.0;
    if (d->BAND_HI > R + in.L() / 4.0) d->BAND_HI = R + in.L() / 4.0;
    s.out = d->OUT_CALC;
}

// States 3 and 4: the square wave between the high and the low test level.
void square_wave(PidOptiData* d, const Inputs& in, double h, Step& s)
{
    if (d->FIRST_CYCLE + 8 < d->CYCLE) {
        identify(d, in, h, s);
        return;
    }
    // Out of records or out of time: the run stops here, before a half-cycle
    // could be recorded past the last record.
    if (d->CYCLE > kOptiCycles || d->TEST_TIME > 40.0 * in.RESP_TO) {
        d->FAULT = 6;
        s.out = d->STATE == kOptiStepUp ? d->OUT_HI : d->OUT_LO;
        return;
    }
    const double mf = d->MEAS_FILT;
    if (d->STATE == kOptiStepUp) {
        s.out = d->OUT_HI;
        if (mf < d->MEAS_MIN) d->MEAS_MIN = mf;
        track_droop(d, in);
        if (d->CROSS_TIME == 0.0 && mf > d->BAND_LO) d->CROSS_TIME = d->TEST_TIME;
        if (mf > d->BAND_HI) {
            d->OUT_HI_LAST = d->OUT_HI;
            record_half_cycle(d);
            d->UP_TIMEOUT = 0;
            if (d->TIMEOUT_SEQ == 2.0) d->TIMEOUT_SEQ = 3.0;
            switch_side(d, in, true);
        } else if (d->STATE_TIME > in.RESP_TO) {
            half_cycle_timed_out(d);
            d->UP_TIMEOUT = 1;
            if (d->TIMEOUT_SEQ == 0.0) d->TIMEOUT_SEQ = 1.0;
            switch_side(d, in, true);
        }
    } else {
        s.out = d->OUT_LO;
        if (mf > d->MEAS_MAX) d->MEAS_MAX = mf;
        track_droop(d, in);
        if (d->CROSS_TIME == 0.0 && mf < d->BAND_HI) d->CROSS_TIME = d->TEST_TIME;
        if (mf < d->BAND_LO) {
            d->OUT_LO_LAST = d->OUT_LO;
            record_half_cycle(d);
            d->DOWN_TIMEOUT = 0;
            if (d->TIMEOUT_SEQ == 1.0) d->TIMEOUT_SEQ = 2.0;
            switch_side(d, in, false);
        } else if (d->STATE_TIME > in.RESP_TO) {
            half_cycle_timed_out(d);
            d->DOWN_TIMEOUT = 1;
            if (d->TIMEOUT_SEQ == 3.0) d->ALARM_BITS |= kAlarmRespTimeShort;
            switch_side(d, in, false);
        }
    }
}

// States 9 and 13: the reference stepped by one or two bands.
void step_test(PidOptiData* d, const Inputs& in, int bands, Step& s)
{
    const double R = in.R();
    const double band = d->BAND_HI - R;
    const bool up = in.signedLimit() >= 0.0;
    s.useRef = up ? in.SP + bands * band : in.SP - bands * band;
    if (up) {
        if (d->MEAS_FILT > d->MEAS_MAX) d->MEAS_MAX = d->MEAS_FILT;
    } else {
        if (d->MEAS_FILT < d->MEAS_MIN) d->MEAS_MIN = d->MEAS_FILT;
    }
    d->OUT_HI_LAST = d->OUT_PREV;
    if (d->STATE_TIME <= in.RESP_TO) return;

    if (bands == 1) {
        enter(d, kOptiStepTest1Back);
        if (d->MEAS_FILT == d->MEAS_AT_TEST) {
            d->FAULT = 4;
        } else if (in.PROC_TYPE < 5) {
            const double g =
                std::fabs((d->OUT_HI_LAST - d->OUT_LO_LAST) / (d->MEAS_FILT - d->MEAS_AT_TEST));
            double x;
            if (g <= 0.0) {
                x = 1.0;
                d->MON = 0.0;
            } else {
                x = -0.444444 * d->RATIO_SUM / g + 4.444444;
                d->MON = x;
                x = (x > 4.0) ? 2.0 : (x < 0.0) ? 1.0 : 1.0 + x / 4.0;
            }
            const double factor = (0.5 + 0.0075 * in.FAST_SLOW) * x;
            d->CALC_I *= factor;
            d->USE_I *= factor;
        }
    } else {
        enter(d, kOptiStepTest2Back);
        if (up) {
            if (d->MEAS_MAX > R + 3.0 * band) d->ALARM_BITS |= kAlarmOvershoot;
            if (d->MEAS_MAX < d->BAND_HI) d->ALARM_BITS |= kAlarmSluggish;
        } else {
            if (d->MEAS_MIN < R - 3.0 * band) d->ALARM_BITS |= kAlarmOvershoot;
            if (d->MEAS_MIN > R - band) d->ALARM_BITS |= kAlarmSluggish;
        }
    }
}

void state_logic(PidOptiData* d, const Inputs& in, double h, Step& s)
{
    switch (d->STATE) {
    case kOptiSettling:
        settling(d, in, s);
        break;
    case kOptiStepUp:
    case kOptiStepDown:
        square_wave(d, in, h, s);
        break;
    case kOptiCalculating:
        s.out = d->OUT_CALC;
        if (d->STATE_TIME >= 0.25 * d->PERIOD_MEAN) {
            d->MON = d->DEAD_FACTOR;
            enter(d, kOptiAtSetpoint1);
            s.reinit = 1;
            s.reinitFdbk = d->OUT_BASE;
        }
        break;
    case kOptiAtSetpoint1:
    case kOptiStepTest1Back:
    case kOptiAtSetpoint2:
        d->MEAS_MIN = d->MEAS_MAX = in.m();
        d->OUT_LO_LAST = d->OUT_PREV;
        d->MEAS_AT_TEST = d->MEAS_FILT;
        if (d->STATE_TIME > in.RESP_TO) {
            enter(d, d->STATE == kOptiAtSetpoint1   ? kOptiStepTest1
                     : d->STATE == kOptiStepTest1Back ? kOptiAtSetpoint2
                                                      : kOptiStepTest2);
        }
        break;
    case kOptiStepTest1:
        step_test(d, in, 1, s);
        break;
    case kOptiStepTest2:
        step_test(d, in, 2, s);
        break;
    case kOptiStepTest2Back:
    case kOptiSystemSettling:
        if (d->STATE_TIME > in.RESP_TO)
            enter(d, d->STATE == kOptiStepTest2Back ? kOptiSystemSettling : kOptiComplete);
        break;
    default:  // off, fault, complete: nothing to do
        break;
    }
}

// Faults raised by watching the process during a run.
void supervise(PidOptiData* d, const Inputs& in, double h)
{
    if (d->FAULT == 0) {
        const double centre = in.even() ? in.SP - in.DRP_REF : in.SP;
        const double lim = std::fabs(in.PRC_MV_LMT);
        if (in.PV > centre + lim || in.PV < centre - lim) d->FAULT = 5;
        const double dlim = std::fabs(in.DRP_MV_LMT);
        if (in.SPARE_E == 1 && (in.DRP_MV > in.DRP_REF + dlim || in.DRP_MV < in.DRP_REF - dlim))
            d->FAULT = 7;
    }
    if (d->STATE < kOptiComplete) {
        d->STATE_TIME += h;
        d->TEST_TIME += h;
    }
}

}  // namespace

void RunOptiPID(PidOptiData** DATA, int32_t RATE_CTRL, int32_t FEEDBACK1, int32_t ENABLE,
                int32_t PID_TYPE, int32_t PROC_TYPE, int32_t CLR_EDGE, int32_t LSS_HSS, double P,
                double I, double SDR, double THRESH, double PV, double SP, double FDBK,
                double PRC_MV_LMT, double OUT_MV_LMT, double RESP_TO, double FAST_SLOW,
                double /*SPARE_A*/, double DT, int32_t ABORT_CODE, double DRP_MV,
                double DRP_MV_LMT, double DRP_REF, double SPARE_B, double SPARE_C,
                double /*SPARE_D*/, int32_t SPARE_E, double* out, double* useP, double* useI,
                double* useSDR, int32_t* status, int32_t* alarm, int32_t* fault, double* useRef,
                float* mon)
{
    PidOptiData* d = *DATA;
    const Inputs in{RATE_CTRL, FEEDBACK1, ENABLE,   PID_TYPE,   PROC_TYPE, CLR_EDGE,
                    LSS_HSS,   P,         I,        SDR,        THRESH,    PV,
                    SP,        FDBK,      PRC_MV_LMT, OUT_MV_LMT, RESP_TO, FAST_SLOW,
                    DT,        ABORT_CODE, DRP_MV,  DRP_MV_LMT, DRP_REF,   SPARE_B,
                    SPARE_C,   SPARE_E};

    // 1. First call ever.
    double firstCall = 0.0;
    if (d->STARTED == 0) {
        first_call(d, in);
        firstCall = 1.0;
    }

    // 2. Reference, measurement filter, pass count.
    Step s;
    s.useRef = SP;
    const double m = in.m();
    d->MEAS_FILT += d->FILT_K * ((m + d->MEAS_PREV) / 2.0 - d->MEAS_FILT);
    d->MEAS_PREV = m;
    d->PASS_COUNT += 1.0;

    // 3. Process types 5 and 6 step only on calls marked by SPARE_C; on
    // other calls the output stays as it was.
    if (!((PROC_TYPE == 5 || PROC_TYPE == 6) && SPARE_C != 1.0)) {
        // 4. Step time.
        const double h = DT * d->PASS_COUNT;
        d->PASS_COUNT = 0.0;
        d->OUT = 0.0;

        if (ENABLE <= 0) {
            // 5. Not enabled: ready, PID on the configured gains.
            const bool wasReady = d->STATE == kOptiReady;
            use_input_gains(d, in);
            d->MEAS_FILT = m;
            d->OUT_BASE = d->OUT_AVG;
            if (!wasReady) {
                d->ALARM_BITS = 0;
                d->FAULT = 0;
                d->STATE = kOptiReady;
                restart_run(d);
                d->MEAS_FILT = m;
                d->OUT_BASE = d->OUT_AVG;
            }
            if (!wasReady || CLR_EDGE) {
                d->OUT_PREV = d->OUT_AVG = FDBK;
                s.reinit = 1;
                s.reinitFdbk = FDBK;
            }
        } else {
            // 6. Enabled: the tuning run.
            if (d->STATE == kOptiReady) d->STATE = kOptiSettling;
            if (SPARE_B == 1.0) {
                enter(d, kOptiSettling);
                restart_run(d);
            }
            if (CLR_EDGE) {
                d->FAULT = 1;
                d->OUT_PREV = d->OUT_AVG = FDBK;
            } else {
                state_logic(d, in, h, s);
            }
            supervise(d, in, h);
        }

        // 7. Abort: the PID takes over on the configured gains.
        if (ABORT_CODE > d->FAULT) d->FAULT = ABORT_CODE;
        if (d->FAULT > 0) {
            use_input_gains(d, in);
            s.useRef = SP;
            if (d->STATE != kOptiFault) {
                d->STATE = kOptiFault;
                s.reinit = 1;
                s.reinitFdbk = d->OUT_BASE;
            }
        }

        // 8. Output: a test level, or the PID step.
        switch (d->STATE) {
        case kOptiSettling:
        case kOptiStepUp:
        case kOptiStepDown:
        case kOptiCalculating:
            d->OUT = s.out;
            break;
        default:
            d->OUT = PID_2_OPTI(d, PID_TYPE, RATE_CTRL, LSS_HSS, FEEDBACK1, s.reinit, s.useRef,
                                PV + DRP_MV, s.reinit ? s.reinitFdbk : FDBK, d->USE_P, d->USE_I,
                                d->USE_SDR, THRESH, h, firstCall);
            break;
        }
    }

    // 9. Operating point and results.
    d->OUT_AVG += 0.005 * ((d->OUT + d->OUT_PREV) / 2.0 - d->OUT_AVG);
    d->OUT_PREV = d->OUT;
    *out = d->OUT;
    *useP = d->USE_P;
    *useI = d->USE_I;
    *useSDR = d->USE_SDR;
    *useRef = s.useRef;
    int32_t shown = d->STATE;
    if ((shown == kOptiStepUp || shown == kOptiStepDown) && d->CYCLE > 1) shown += 2;
    *status = shown;
    *alarm = static_cast<int32_t>(d->ALARM_BITS);
    *fault = d->FAULT;
    *mon = static_cast<float>(d->MON);
}
