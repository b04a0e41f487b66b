#!/usr/bin/env bash
# Configures and builds into ./build (the executable's folder is its ProgramFolder).
# ccache, when installed, serves repeated compilations (several checkouts, clean rebuilds).
# INGRESSARIO_WERROR=ON turns compiler warnings into errors (the test command sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DINGRESSARIO_WERROR="${INGRESSARIO_WERROR:-OFF}" >/dev/null
cmake --build build "$@"
