#!/usr/bin/env bash
# The whole test suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer into
# ./build-asan: a bad read or write, a use after free or a bad free, undefined behaviour or a leak
# stops the process that meets it (a test, the program under the end-to-end test, a helper it
# runs), and the run fails. scripts/test.sh runs it after the normal run; arguments go to ctest
# (e.g. -R tst_Dates).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-asan

sanitizers=address,undefined
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS="-fsanitize=$sanitizers -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$sanitizers" >/dev/null

# No recovery: the first report ends the process, with its stack, through abort(). Leaks are
# looked for at every exit (LeakSanitizer), with no suppression: Qt and the system libraries
# report none in these tests.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
# The guide is laid out by a tool of this build, which runs under the same checks.
cmake --build "$build"

export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
ctest --test-dir "$build" --output-on-failure -j2 "$@"
