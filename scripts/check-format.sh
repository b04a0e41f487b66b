#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format makes of it with the
# project's .clang-format; lists the files. `bash scripts/check-format.sh --fix` rewrites them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ "${1:-}" == "--fix" ]]; then
    clang-format -i "${files[@]}"
    exit 0
fi
drift=()
for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || drift+=("$f")
done
if ((${#drift[@]})); then
    echo "Not formatted as .clang-format says (bash scripts/check-format.sh --fix):"
    printf '  %s\n' "${drift[@]}"
    exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format says."
