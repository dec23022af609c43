#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: a normal build,
# and one with AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
"$root/scripts/install-deps.sh"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

"$root/scripts/build.sh" build
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

"$root/scripts/build.sh" build-sanitize -DQUARROW_SANITIZE=ON -DQUARROW_BUILD_BENCH=OFF
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs"
