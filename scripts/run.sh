#!/usr/bin/env bash
# Installs what is missing (the packages that building and running need, none of the tests'),
# builds the program alone (no tests, no benchmarks), installs it into its data folder and starts
# it from there (needs a display).
#
# The data folder is ~/Ingressario, or the folder in INGRESSARIO_DIR; it must be outside the
# source tree. The card file, the history, the password file and the daily backups live only
# there: a rebuild or removing ./build never touches them, and the first-access password file is
# placed only while the folder has none.
set -euo pipefail
cd "$(dirname "$0")/.."
folder="$(realpath -m "${INGRESSARIO_DIR:-$HOME/Ingressario}")"
case "$folder/" in
"$(pwd -P)"/*)
    echo "The data folder $folder is inside the source tree: choose another one with INGRESSARIO_DIR." >&2
    exit 1
    ;;
esac

bash scripts/setup-deps.sh
bash scripts/build.sh --target ingressario_program
cmake --install build --prefix "$folder" --strip | grep -v '^-- Up-to-date' || true
exec "$folder/ingressario"
