#!/usr/bin/env bash
# build.sh FOLDER [CMAKE OPTIONS...]: configures and builds Quarrow into FOLDER (relative to
# the repository) with warnings as errors.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
folder=$1
shift
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$root/$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUARROW_WERROR=ON "${launcher[@]}" "$@"
cmake --build "$root/$folder" -j "$(nproc)"
