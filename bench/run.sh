#!/usr/bin/env bash
# Builds, writes the benchmark files (50,000 cards, 1,000,000 history records) once, and runs the
# benchmarks on them: bash bench/run.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target gen_fixtures bench_ingressario
DATA=${BENCH_DATA:-/tmp/ingressario-bench}
if [ ! -f "$DATA/Storico_Operazioni.pro" ]; then
    ./build/bench/gen_fixtures "$DATA" 50000 1000000
fi
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
./build/bench/bench_ingressario "$DATA" "${1:-7}"
