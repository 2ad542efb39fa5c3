// Cost of one call of the PID block and of the self-tuning speed PID.
#include <benchmark/benchmark.h>

#include <cmath>
#include <optional>

#include "blocks/PID_2.h"
#include "blocks/RunOptiPID.h"
#include "blocks/pid_opti.h"
#include "tests/blocks/opti_rig.h"
#include "tests/blocks/pid2_rig.h"

namespace {

// The cascade PID as the 80 ms slice calls it: inputs written, then one call;
// the error varies so the law is not folded away.
void BM_pid2(benchmark::State& state)
{
    Pid2Rig r(2.0f, 0.5f, 5.0f);
    Pid2Vars& v = r.v;
    v.HI_LIM = 100.0f;
    v.LO_LIM = 0.0f;
    v.DT = 0.08f;
    int n = 0;
    for (auto _ : state) {
        v.PV = 50.0f + static_cast<float>(n++ & 15) * 0.1f;
        v.SP = 50.5f;
        benchmark::DoNotOptimize(r.stepOwnFeedback());
    }
}
BENCHMARK(BM_pid2);

// The speed PID idle (the normal case: tuner off, PID on configured gains).
void BM_pid_opti_idle(benchmark::State& state)
{
    OptiRig r;
    int n = 0;
    for (auto _ : state) {
        r.v.PV = 90.0f + static_cast<float>(n++ & 15) * 0.01f;
        r.step();
        benchmark::DoNotOptimize(r.out);
    }
}
BENCHMARK(BM_pid_opti_idle);

// The speed PID with the tuner running on the square wave: a measured value
// swinging around the reference keeps it in the half-cycle states.
void BM_pid_opti_tuning(benchmark::State& state)
{
    std::optional<OptiRig> r;
    int n = 0;
    for (auto _ : state) {
        if (!r || r->status == kOptiFault || r->status == kOptiCalculating) {
            // Keep it in the sequence: a fresh record, enabled after one pass.
            state.PauseTiming();
            r.emplace();
            r->step();
            r->v.ENABLE = 1;
            state.ResumeTiming();
        }
        r->v.PV = 90.0f + 0.3f * std::sin(static_cast<float>(n++) * 0.05f);
        r->step();
        benchmark::DoNotOptimize(r->out);
    }
}
BENCHMARK(BM_pid_opti_tuning);

}  // namespace
