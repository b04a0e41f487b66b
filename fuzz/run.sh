#!/usr/bin/env bash
# Fuzzes the archive code for about a minute: installs what is missing (clang and its fuzzer and
# sanitizer run-times; root or sudo), builds the libFuzzer targets with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of their own (build-fuzz), then runs each target
# for a while (20 s by default). Usage: bash fuzz/run.sh [seconds per target]
# Inputs that crash are kept in build-fuzz/artifacts/, the grown corpora in build-fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
build=build-fuzz

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

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DINGRESSARIO_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_records fuzz_crypt fuzz_ini

# Largest input per target: two cards and a bit; a long stored text; a settings file.
declare -A options=([fuzz_records]="-max_len=8192" [fuzz_crypt]="-max_len=1024"
    [fuzz_ini]="-max_len=1024 -dict=fuzz/ini.dict")
failed=()
for target in fuzz_records fuzz_crypt fuzz_ini; do
    mkdir -p "$build/corpus/$target" "$build/artifacts"
    echo "== $target: ${seconds}s"
    # The archive fixtures are the seeds: data files and a password file.
    if ! "$build/$target" -max_total_time="$seconds" ${options[$target]} -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" tests/fixtures \
        2>"$build/$target.log"; then
        failed+=("$target")
        tail -n 40 "$build/$target.log"
    fi
    grep -E '^Done' "$build/$target.log" || true
    grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]+' "$build/$target.log" | tail -n 1 || true
done

if ((${#failed[@]})); then
    echo "FAILED: ${failed[*]} (see $build/<target>.log and $build/artifacts/)"
    exit 1
fi
echo "All fuzz targets ran ${seconds}s without a finding."
