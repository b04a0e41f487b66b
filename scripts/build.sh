#!/usr/bin/env bash
# Configures and builds into ./build (the executable's folder is its ProgramFolder).
# ccache, when installed, serves repeated compilations (several checkouts, clean rebuilds).
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build "$@"
