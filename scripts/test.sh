#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors and runs every
# test headless (offscreen platform), installs the .deb in a clean Debian 12 root made for it
# (tests/packaging/deb_in_chroot.sh, about 5 minutes, downloads from Debian's archive), then runs
# them all again built with the sanitizers
# (scripts/test-sanitizers.sh, into ./build-asan).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh test
bash scripts/check-format.sh
INGRESSARIO_WERROR=ON bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir build --output-on-failure -j2
bash tests/packaging/deb_in_chroot.sh build
bash scripts/test-sanitizers.sh
