#!/usr/bin/env bash
# Builds, writes the benchmark files (50,000 cards, 1,000,000 history records) once, and runs the
# benchmarks on them: bash bench/run.sh [runs] [only]
# BENCH_DATA chooses the folder of the files (default /tmp/ingressario-bench), BENCH_BUILD the
# build folder (default build). The files are written again when the generator is newer.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BENCH_BUILD:-build}
# The build folder's programs by a path that holds from here, the folder given relative or absolute.
case "$BUILD" in
    /*) BIN="$BUILD/bench" ;;
    *) BIN="./$BUILD/bench" ;;
esac
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target gen_fixtures bench_ingressario
DATA=${BENCH_DATA:-/tmp/ingressario-bench}
if [ ! -f "$DATA/Storico_Operazioni.pro" ] || [ "$BUILD/bench/gen_fixtures" -nt "$DATA/Storico_Operazioni.pro" ]; then
    "$BIN/gen_fixtures" "$DATA" 50000 1000000
fi
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
"$BIN/bench_ingressario" "$DATA" "${1:-7}" "${2:-}"
