#!/usr/bin/env bash
# Fuzzes every reader of outside data, a while each: installs what is missing (clang and its
# fuzzer and sanitizer run-times; root or sudo), builds the libFuzzer targets with
# AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of their own (build-fuzz),
# then runs each target for a while (20 s by default).
# Usage: bash fuzz/run.sh [seconds per target] [targets...]
# Inputs that crash are kept in build-fuzz/artifacts/, the grown corpora in build-fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
build=build-fuzz
all=(fuzz_records fuzz_crypt fuzz_ini fuzz_dates fuzz_grid fuzz_history fuzz_spreadsheet fuzz_passlines fuzz_search)
targets=("${@:2}")
((${#targets[@]})) || targets=("${all[@]}")

# The project's own packages, then clang and its fuzzer and sanitizer run-times.
bash scripts/setup-deps.sh
missing=()
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DINGRESSARIO_FUZZ=ON \
    "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

# Largest input per target: two cards and a bit; a long stored text; a settings file; a date; three
# cards; a period and four history records; a small grid; a dozen cards' lines; eight cards.
declare -A options=([fuzz_records]="-max_len=8192" [fuzz_crypt]="-max_len=1024"
    [fuzz_ini]="-max_len=1024 -dict=fuzz/ini.dict" [fuzz_dates]="-max_len=64 -dict=fuzz/dates.dict"
    [fuzz_grid]="-max_len=11000" [fuzz_history]="-max_len=3200 -dict=fuzz/dates.dict"
    [fuzz_spreadsheet]="-max_len=2048" [fuzz_passlines]="-max_len=4096" [fuzz_search]="-max_len=2048")
# Leaks of system libraries are not the program's (fuzz/lsan.supp says which).
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
# The windows' targets run offscreen.
export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
# The data files of the inputs go into memory where the machine has it (fuzz/FuzzSupport.h).
shm=/dev/shm
[ -d "$shm" ] || shm="${TMPDIR:-/tmp}"
INGRESSARIO_FUZZ_FOLDER="$(mktemp -d "$shm/ingressario-fuzz-run-XXXXXX")"
export INGRESSARIO_FUZZ_FOLDER
trap 'rm -rf "$XDG_RUNTIME_DIR" "$INGRESSARIO_FUZZ_FOLDER"' EXIT
failed=()
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/artifacts"
    echo "== $target: ${seconds}s"
    # The archive fixtures are the seeds: data files and a password file.
    if ! "$build/$target" -max_total_time="$seconds" ${options[$target]} -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" tests/fixtures \
        2>"$build/$target.log"; then
        failed+=("$target")
        tail -n 40 "$build/$target.log"
    fi
    grep -E '^Done|average_exec_per_sec' "$build/$target.log" || true
    grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]+' "$build/$target.log" | tail -n 1 || true
done

if ((${#failed[@]})); then
    echo "FAILED: ${failed[*]} (see $build/<target>.log and $build/artifacts/)"
    exit 1
fi
echo "All fuzz targets ran ${seconds}s without a finding."
