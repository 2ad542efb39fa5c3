#!/usr/bin/env bash
# Builds and runs every test: installs what a Debian machine lacks, checks
# that every peer the tests drive answers, then the normal build (optimised
# as a release, and warning-free like every build) with its tests, the same
# tests under AddressSanitizer and UndefinedBehaviorSanitizer, and (with
# clang) the fuzz targets under libFuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash scripts/install-deps.sh
bash scripts/check-peers.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTC_XREF=ON
cmake --build build -j "$jobs"
# Every parameterised case is named by its suite's name generator, not numbered.
if ctest --test-dir build -N | grep -E '/[0-9]+$'; then
  echo "test.sh: the parameterised cases above have no readable name; give their suite a name generator" >&2
  exit 1
fi
# Here every case runs on its own (each program runs as one process under the
# sanitizers, below). Some tests check that no task holds the emulated CPU
# past a tick, in host time: on a loaded machine such a check can fail
# without a fault, so a failed test gets one more run (a real fault fails
# both).
ctest --test-dir build -j "$jobs" -LE whole --output-on-failure --timeout 300 --repeat until-pass:2

# Under the sanitizers each test program runs as one process (label whole):
# every case again, and the proof that no case depends on another, without a
# process start per case. The three and a half hours of the periodic-save
# scenario are left out there (the condition monitor's own tests run the
# same code for shorter times).
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTC_SANITIZE=ON -DTC_BENCH=OFF
cmake --build build-asan -j "$jobs"
# A first run takes the longest programs first, by the times their cases
# took in the normal run, so that the run does not end waiting on a long one.
if [ ! -f build-asan/Testing/Temporary/CTestCostData.txt ] && [ -f build/Testing/Temporary/CTestCostData.txt ]; then
  mkdir -p build-asan/Testing/Temporary
  ctest --test-dir build -N --show-only=json-v1 | python3 -c '
import json, os, sys
program = {t["name"]: os.path.basename(t["command"][0]) for t in json.load(sys.stdin)["tests"] if t.get("command")}
cost = {}
for line in open("build/Testing/Temporary/CTestCostData.txt"):
    f = line.split()
    if len(f) == 3 and f[0] in program and program[f[0]].startswith("test_"):
        name = program[f[0]][len("test_"):] + ".whole"
        cost[name] = cost.get(name, 0.0) + float(f[2])
for name, c in cost.items():
    print(name, 1, round(c, 3))
' > build-asan/Testing/Temporary/CTestCostData.txt
fi
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  GTEST_FILTER='-Program.TripAtSpeedIsSavedOnceAndThePeriodicSavesFollow' \
  ctest --test-dir build-asan -j "$jobs" -L 'whole|fuzz' --output-on-failure --timeout 1200 --repeat until-pass:2

# With clang at hand, the fuzz targets also run under libFuzzer, guided by
# the coverage of the library units they feed (compiled there with both
# sanitizers; the rest comes from the normal build): each runs its corpus
# and the inputs that once failed (fuzz/corpus, fuzz/regressions), then
# fuzzes for a bounded time (TC_FUZZ_SECONDS).
if command -v clang++ >/dev/null 2>&1; then
  # Line tables are all a crash report needs.
  CC=clang CXX=clang++ cmake -S fuzz/libfuzzer -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTC_LIBRARY_BUILD="$PWD/build" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG"
  cmake --build build-fuzz -j "$jobs"
  ctest --test-dir build-fuzz -L fuzz -j "$jobs" --output-on-failure --timeout 120
fi
