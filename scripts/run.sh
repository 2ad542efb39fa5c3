#!/usr/bin/env bash
# Builds the controller and runs it on this host in real time (Ctrl-C stops it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target controller -j "$(nproc)"
mkdir -p var
exec build/controller --root var --port-offset 10000 "$@"
