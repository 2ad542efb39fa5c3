// Actuator outputs and current readbacks.
#include "drivers/ZarnActuator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "drivers/ZarnCalibration.h"
#include "drivers/ZarnHwDepend.h"
#include "drivers/zarn_regs.h"
#include "platform/vkiobus.h"

ZarnActChannel stZarnActData[kZarnActChannels] = {};

namespace {

constexpr uint32_t kPwmPeriod = 14222;
constexpr uint16_t kReadbackLimit = 2047;
constexpr int16_t kLowRestart = -32;

// Hidden state of one channel: median histories, dither step counter,
// tolerances of the range, fault counters and the previous demand.
struct ChannelState {
    float Z1Src, Z2Src, Z1Rtn, Z2Rtn;
    uint16_t TimeCount;
    float Act1PercentErr, Act2PercentErr, Act5PercentErr, Act10PercentErr;
    int16_t RbLoSourceCnt, RbLoReturnCnt, RbHiSourceCnt, RbHiReturnCnt;
    int16_t RbHiSrcSDCnt, RbHiRtnSDCnt, steadyCnt;
    float LastMaRef;
    float RbSourceErr, RbReturnErr;
    uint32_t LowCurrent;
};

constexpr ChannelState kStartState = {0.0f, 0.0f, 0.0f, 0.0f, 0, 0.275f, 0.55f, 1.38f, 2.75f, 0, 0, 0, 0, 0, 0, 0,
                                      0.0f, 0.0f, 0.0f, 1};

ChannelState state[kZarnActChannels] = {kStartState, kStartState, kStartState, kStartState,
                                        kStartState, kStartState, kStartState, kStartState};

ChannelState& stateOf(uint32_t ch) { return state[ch]; }

bool isActuator(uint32_t ch) { return ch == kZarnActOut6 || ch == kZarnActOut7; }

uint32_t countRegister(uint32_t ch) { return ch == kZarnActOut6 ? ZARN_ACT6_COUNT : ZARN_ACT7_COUNT; }

// Readback registers: even channels from 0x8080F130, odd from 0x8080F140,
// two bytes per pair of channels; the return register is 8 bytes above.
uint32_t sourceRegister(uint32_t ch) { return ZARN_READBACK_FIRST + 2u * (ch / 2u) + 0x10u * (ch % 2u); }
uint32_t returnRegister(uint32_t ch) { return sourceRegister(ch) + 8u; }

ZarnCalPair pairAt(uint32_t k) { return ZarnCalData.pair[k]; }

float median3(float a, float b, float c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

float notNegative(float v) { return v < 0.0f ? 0.0f : v; }

// One low check (step "low" of the fault check) of source or return.
void lowCheck(float value, float expected, float tol, float a5, int16_t& cnt, uint32_t& lowCurrent, uint32_t& flag) {
    if (value < expected - tol && expected > tol) {
        cnt = static_cast<int16_t>(cnt + 1);
        if (cnt > 5) {
            lowCurrent = 1;
            flag = 1;
            cnt = 2;
        }
    } else if (cnt > 0 || value >= 2.0f * a5 || cnt == kLowRestart) {
        lowCurrent = 0;
        cnt = 0;
        flag = 0;
    }
}

void highCheck(float value, float expected, float tol, float a5, uint32_t lowCurrent, int16_t& cnt, uint32_t& flag) {
    if (value > expected + tol) {
        cnt = static_cast<int16_t>(cnt + 1);
        if (cnt > 5) {
            flag = 1;
            cnt = 2;
        }
    } else if (cnt > 0 || value >= 2.0f * a5) {
        flag = 0;
        cnt = lowCurrent == 1 ? int16_t{-2} : int16_t{0};
    }
}

// The check of an output that should be off: only a current above the
// demand plus tolerance for more than two passes is a fault.
void offCheck(float value, float demand, float tol, int16_t& cnt, uint32_t& flag) {
    if (value > demand + tol) {
        cnt = static_cast<int16_t>(cnt + 1);
        if (cnt > 2) flag = 1;
    } else {
        cnt = 0;
        flag = 0;
    }
}

}  // namespace

void InitZarnReadbacksFpga() {
    VKIO_fpgaWrUint16(ZARN_ADC_CONTROL, 0);
    VKIO_fpgaWrUint16(ZARN_READBACK_SETTING, 7);
    VKIO_fpgaWrUint16(ZARN_ADC_CONTROL, 3);
}

void InitZarnActOut(uint32_t ch) {
    if (!isActuator(ch)) return;
    VKIO_fpgaWrUint16(countRegister(ch), 0);
    VKIO_fpgaWrUint16(countRegister(ch) + 2u, kPwmPeriod);
}

void GatherZarnSrcRetReadback(uint32_t ch) {
    if (ch >= kZarnActChannels) return;
    ZarnActChannel& c = stZarnActData[ch];
    c.SourceReadback = static_cast<uint16_t>(VKIO_fpgaRdUint16(sourceRegister(ch)) >> 4);
    c.ReturnReadback = static_cast<uint16_t>(VKIO_fpgaRdUint16(returnRegister(ch)) >> 4);
}

void CalcZarnSrcRetReadback(uint32_t ch) {
    if (ch >= kZarnActChannels) return;
    ZarnActChannel& c = stZarnActData[ch];
    ChannelState& st = stateOf(ch);
    const float s = static_cast<float>(std::min(c.SourceReadback, kReadbackLimit));
    const float r = static_cast<float>(std::min(c.ReturnReadback, kReadbackLimit));
    const bool high = c.Command == 1;
    const bool actuator = isActuator(ch);

    ZarnCalPair src = pairAt(kCalPairSrcLow + ch);
    ZarnCalPair rtn = pairAt(kCalPairRtnLow + ch);
    if (high) {
        src = pairAt(ch == kZarnActOut6 ? kCalPairAct6High + 1 : kCalPairAct7High + 1);
        rtn = pairAt(ch == kZarnActOut6 ? kCalPairAct6High + 2 : kCalPairAct7High + 2);
    }

    float source = 0.0f;
    if (high) source = s * 0.4002f * src.m + src.b;
    else if (!actuator) source = (s * 0.04002001f - 40.96048f) * src.m + src.b;
    else source = s * 0.0522f * src.m + src.b;
    c.SourceRbMa = notNegative(source);
    c.FiltSrcRbMa = median3(c.SourceRbMa, st.Z1Src, st.Z2Src);
    st.Z2Src = st.Z1Src;
    st.Z1Src = c.SourceRbMa;

    const float rscale = (!high && !actuator) ? 0.01235f : 0.2001f;
    c.ReturnRbMa = notNegative(r * rscale * rtn.m + rtn.b);
    c.FiltRtnRbMa = median3(c.ReturnRbMa, st.Z1Rtn, st.Z2Rtn);
    st.Z2Rtn = st.Z1Rtn;
    st.Z1Rtn = c.ReturnRbMa;
}

void CalcZarnActOutput(uint32_t ch) {
    if (!isActuator(ch)) return;
    ZarnActChannel& c = stZarnActData[ch];
    ChannelState& st = stateOf(ch);
    const bool high = c.Command == 1;
    float d = c.MaDemand;

    // 1. Dither, for the fast groups only: a square wave of the amplitude
    // around the demand, limited so that it never takes the demand below the
    // range's floor.
    if (c.Rategroup <= 20) {
        const float floor = high ? 10.5f : 1.375f;
        if (c.Dither > d - floor) c.Dither = d > floor ? d - floor : 0.0f;
        if (c.Dither > 0.0f) {
            if (st.TimeCount == 20) {
                d = d + c.Dither;
            } else if (st.TimeCount == 40) {
                d = d - c.Dither;
                st.TimeCount = 0;
            }
            st.TimeCount = static_cast<uint16_t>(st.TimeCount + c.Rategroup);
            if (d < 0.0f) d = 0.0f;
        }
    }

    // 2. Range: tolerances and the range bit.
    const uint16_t rangeBit = ch == kZarnActOut6 ? ZARN_CTRL_ACT6_HIGH : ZARN_CTRL_ACT7_HIGH;
    if (high) {
        st.Act1PercentErr = 2.105f;
        st.Act2PercentErr = 4.21f;
        st.Act5PercentErr = 10.53f;
        st.Act10PercentErr = 21.05f;
        VKIO_fpgaModifyUint16(ZARN_CTRL, 0, rangeBit);
    } else {
        st.Act1PercentErr = 0.275f;
        st.Act2PercentErr = 0.55f;
        st.Act5PercentErr = 1.38f;
        st.Act10PercentErr = 2.75f;
        VKIO_fpgaModifyUint16(ZARN_CTRL, rangeBit, 0);
    }

    // 3. Enable.
    const uint16_t enableBit = ch == kZarnActOut6 ? ZARN_CTRL_ACT6_ENABLE : ZARN_CTRL_ACT7_ENABLE;
    if (c.Shutdown == 1) {
        VKIO_fpgaModifyUint16(ZARN_CTRL, enableBit, 0);
        d = 0.0f;
    } else {
        VKIO_fpgaModifyUint16(ZARN_CTRL, 0, enableBit);
    }

    // 4. Calibration; a calibrated current below zero, or one that is no
    // finite number, turns the output off.
    const ZarnCalPair cal =
        pairAt(high ? (ch == kZarnActOut6 ? kCalPairAct6High : kCalPairAct7High) : kCalPairAct6Low + (ch - 6u));
    const float cur = d * cal.m + cal.b;
    if (!std::isfinite(cur) || cur < 0.0f || IoLock != 0 || c.Shutdown == 1) {
        c.S_actout = 0.0f;
        c.MaDemandwDither = 0.0f;
        return;
    }
    // 5, 6. Count and the demand as driven.
    const float count = cur * c.SlopeMaBits;
    c.S_actout = std::isfinite(count) ? std::min(count, kZarnActMaxCount) : 0.0f;
    c.MaDemandwDither = std::min(d, high ? kZarnActHighMaxMa : kZarnActLowMaxMa);
}

void WriteZarnActOut(uint32_t ch, double count) {
    if (!isActuator(ch)) return;
    // The register takes 0 .. the period cap: a negative count or one that is
    // no number writes 0 (off), a larger one the cap, never a wrapped value.
    uint32_t value = 0;
    if (!std::isfinite(count) || count < 0.0) value = 0;
    else if (count > static_cast<double>(kZarnActMaxCount)) value = static_cast<uint32_t>(kZarnActMaxCount);
    else value = static_cast<uint32_t>(count);
    VKIO_fpgaWrUint16(countRegister(ch), value);
}

void CheckZarnSrcRetReadbackFaults(uint32_t ch) {
    if (ch >= kZarnActChannels) return;
    ZarnActChannel& c = stZarnActData[ch];
    ChannelState& st = stateOf(ch);
    const float D = c.MaDemandwDither;
    const float Ref = st.LastMaRef;
    const float S = c.SourceRbMa;
    const float R = c.ReturnRbMa;
    const float A1 = st.Act1PercentErr, A2 = st.Act2PercentErr, A5 = st.Act5PercentErr, A10 = st.Act10PercentErr;

    if (D < A5) {
        st.RbLoSourceCnt = kLowRestart;
        st.RbLoReturnCnt = kLowRestart;
    }

    // The output should be off.
    if (c.Shutdown == 1 || ReadZarnEstop() == 1) {
        const float T = std::max(0.25f * Ref, A5);
        st.RbSourceErr = T;
        st.RbReturnErr = T;
        offCheck(S, D, T, st.RbHiSrcSDCnt, c.SourceRbHiErr);
        offCheck(R, D, T, st.RbHiRtnSDCnt, c.ReturnRbHiErr);
        st.RbHiSourceCnt = -2;
        st.RbHiReturnCnt = -2;
        st.LastMaRef = 0.0f;
        return;
    }

    st.RbHiSrcSDCnt = 0;
    st.RbHiRtnSDCnt = 0;
    const float E = c.Rategroup == 5 ? (13.0f * D + 3.0f * Ref) / 16.0f : D;

    // Tolerance: tight once the demand has been steady, wide after a step.
    const bool quiet = st.RbLoSourceCnt <= 0 && st.RbHiSourceCnt <= 0 && st.RbLoReturnCnt <= 0 &&
                       st.RbHiReturnCnt <= 0;
    const float change = std::fabs(D - Ref);
    if (quiet && change < A1) {
        if (st.steadyCnt < 5) st.steadyCnt = static_cast<int16_t>(st.steadyCnt + 1);
    } else if (st.steadyCnt > 0) {
        st.steadyCnt = 0;
    }
    float tol = 0.0f;
    bool newTol = true;
    if (st.steadyCnt == 5) tol = A2;
    else if (quiet && change < A5) tol = A10;
    else if (D > Ref + A5 || D + A5 < Ref) tol = D >= Ref ? std::max(0.25f * D, A10) : std::max(0.25f * Ref, A10);
    else newTol = false;
    if (newTol) {
        st.RbSourceErr = tol;
        st.RbReturnErr = tol;
    }

    lowCheck(S, E, st.RbSourceErr, A5, st.RbLoSourceCnt, st.LowCurrent, c.SourceRbLoErr);
    highCheck(S, E, st.RbSourceErr, A5, st.LowCurrent, st.RbHiSourceCnt, c.SourceRbHiErr);
    lowCheck(R, E, st.RbReturnErr, A5, st.RbLoReturnCnt, st.LowCurrent, c.ReturnRbLoErr);
    highCheck(R, E, st.RbReturnErr, A5, st.LowCurrent, st.RbHiReturnCnt, c.ReturnRbHiErr);

    c.SourceRbErr = (c.SourceRbHiErr != 0 || c.SourceRbLoErr != 0) ? 1u : 0u;
    c.ReturnRbErr = (c.ReturnRbHiErr != 0 || c.ReturnRbLoErr != 0) ? 1u : 0u;
    st.LastMaRef = D;
}

void printZarnActData(uint32_t ch) {
    if (ch >= kZarnActChannels) return;
    const ZarnActChannel& c = stZarnActData[ch];
    std::printf("SourceReadback   = %d\n", c.SourceReadback);
    std::printf("ReturnReadback   = %d\n", c.ReturnReadback);
    std::printf("SourceRbMa       = %f\n", static_cast<double>(c.SourceRbMa));
    std::printf("ReturnRbMa       = %f\n", static_cast<double>(c.ReturnRbMa));
    std::printf("FiltSrcRbMa      = %f\n", static_cast<double>(c.FiltSrcRbMa));
    std::printf("FiltRtnRbMa      = %f\n", static_cast<double>(c.FiltRtnRbMa));
    std::printf("MaDemand         = %f\n", static_cast<double>(c.MaDemand));
    std::printf("MaDemandCal      = %f\n", static_cast<double>(c.MaDemandCal));
    std::printf("SlopeMaBits      = %f\n", static_cast<double>(c.SlopeMaBits));
    std::printf("Dither           = %f\n", static_cast<double>(c.Dither));
    std::printf("DitherCal        = %f\n", static_cast<double>(c.DitherCal));
    std::printf("Command          = %d\n", c.Command);
    std::printf("Rategroup        = %d\n", c.Rategroup);
    std::printf("S_actout         = %f\n", static_cast<double>(c.S_actout));
    std::printf("MaDemandwDither  = %f\n", static_cast<double>(c.MaDemandwDither));
    std::printf("Shutdown      = %d\n", static_cast<int>(c.Shutdown));
    std::printf("SourceRbErr   = %d\n", static_cast<int>(c.SourceRbErr));
    std::printf("SourceRbHiErr = %d\n", static_cast<int>(c.SourceRbHiErr));
    std::printf("SourceRbLoErr = %d\n", static_cast<int>(c.SourceRbLoErr));
    std::printf("ReturnRbErr   = %d\n", static_cast<int>(c.ReturnRbErr));
    std::printf("ReturnRbHiErr = %d\n", static_cast<int>(c.ReturnRbHiErr));
    std::printf("ReturnRbLoErr = %d\n", static_cast<int>(c.ReturnRbLoErr));
}

void ResetZarnActuator() {
    std::fill(std::begin(stZarnActData), std::end(stZarnActData), ZarnActChannel{});
    std::fill(std::begin(state), std::end(state), kStartState);
}
