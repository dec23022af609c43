#!/usr/bin/env bash
# fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets with clang and runs each for
# SECONDS (default 60), starting from its seed corpus. Findings are written to build-fuzz/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
shift || true
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build-fuzz -DQUARROW_FUZZ=ON -DQUARROW_BUILD_TESTS=OFF \
    -DQUARROW_BUILD_BENCH=OFF

targets=("$@")
if ((${#targets[@]} == 0)); then
    mapfile -t targets < <(cd "$root/fuzz/corpus" && ls)
fi
for target in "${targets[@]}"; do
    work="$root/build-fuzz/corpus/$target"
    mkdir -p "$work"
    echo "== $target: $seconds s"
    (cd "$root/build-fuzz" && "./$target" -max_total_time="$seconds" -print_final_stats=1 \
        "$work" "$root/fuzz/corpus/$target")
done
