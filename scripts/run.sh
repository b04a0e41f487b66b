#!/usr/bin/env bash
# Installs what is missing, builds and starts Ingressario (needs a display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
bash scripts/build.sh
exec ./build/ingressario
