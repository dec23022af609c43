#!/usr/bin/env bash
# check-format.sh [REPOSITORY]: fails when a tracked C++ file differs from what clang-format
# makes of it under .clang-format, and names the files.
set -euo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests tools fuzz bench -name '*.cpp' -o -name '*.h' | sort)
fi
clang-format --dry-run --Werror "${files[@]}" 2>&1 | grep -o '^[^: ]*:[0-9]*' | sort -u -t: -k1,1 |
    sed 's/$/: differs from .clang-format (run clang-format -i on it)/' >&2 || true
clang-format --dry-run --Werror "${files[@]}" >/dev/null 2>&1
