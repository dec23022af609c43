#!/usr/bin/env bash
# fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets with clang and runs each for
# SECONDS (default 60), starting from its seed corpus. A target that fails does not stop the
# others. Logs go to build-fuzz/logs/, findings to build-fuzz/findings/<target>/, and a table
# of the runs to build-fuzz/fuzz-summary.md (also printed), or to FUZZ_SUMMARY when set, so that
# several runs can share the machine without overwriting each other's table.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="$root/build-fuzz"
seconds=${1:-60}
shift || true
# Big enough for the seeds of the kinds the game ships (songs, pictures, sounds).
max_len=65536
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build-fuzz -DQUARROW_FUZZ=ON -DQUARROW_BUILD_TESTS=OFF \
    -DQUARROW_BUILD_BENCH=OFF

# Targets whose real work happens in a system library built without coverage instrumentation.
declare -A uninstrumented=(
    [fuzz_jpeg_reader]=libjpeg
    [fuzz_png_reader]=libpng
    [fuzz_ogg_reader]=libvorbisfile
    [fuzz_module_loader]=libopenmpt
)

targets=("$@")
if ((${#targets[@]} == 0)); then
    mapfile -t targets < <(cd "$root/fuzz/corpus" && ls)
fi
mkdir -p "$out/logs"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-suppressions.txt"
summary=${FUZZ_SUMMARY:-$out/fuzz-summary.md}
rows="$out/logs/summary-rows.$$.tsv"
: >"$rows"
for target in "${targets[@]}"; do
    work="$out/corpus/$target"
    findings="$out/findings/$target"
    log="$out/logs/$target.log"
    mkdir -p "$work" "$findings"
    touch "$out/logs/$target.start"
    echo "== $target: $seconds s"
    started=$SECONDS
    status=0
    (cd "$out" && "./$target" -max_total_time="$seconds" -print_final_stats=1 \
        -max_len="$max_len" -artifact_prefix="$findings/" \
        "$work" "$root/fuzz/corpus/$target") >"$log" 2>&1 || status=$?
    elapsed=$((SECONDS - started))
    found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) -newer "$out/logs/$target.start" -printf '%f ')
    tail -n 3 "$log"
    if ((status != 0)); then
        echo "!! $target exited with $status: ${found:-no finding file} (see $log)"
    fi
    library=${uninstrumented[$target]:-}
    printf '%s\t%s\t%s\t%s\t%s\n' "$target" "$elapsed" "$log" "$found" \
        "${library:+wraps the system library (not instrumented): $library}" >>"$rows"
done

python3 - "$rows" "$summary" <<'EOF'
import re
import sys

rows_path, summary_path = sys.argv[1:]
lines = ["| target | seconds | runs | runs/s | coverage | features | findings | note |",
         "|---|---:|---:|---:|---:|---:|---|---|"]
for row in open(rows_path, encoding="utf-8"):
    target, seconds, log, found, note = row.rstrip("\n").split("\t")
    text = open(log, encoding="utf-8", errors="replace").read()

    def last(pattern):
        matches = re.findall(pattern, text)
        return matches[-1] if matches else ""

    runs = last(r"stat::number_of_executed_units:\s*(\d+)") or last(r"^#(\d+)\s")
    per_second = last(r"stat::average_exec_per_sec:\s*(\d+)")
    if not per_second and runs and int(seconds) > 0:
        per_second = str(int(runs) // int(seconds))
    coverage = last(r"stat::cov\w*:\s*(\d+)") or last(r"\bcov: (\d+)")
    features = last(r"stat::ft\w*:\s*(\d+)") or last(r"\bft: (\d+)")
    names = found.split()
    findings = f"{len(names)}: " + ", ".join(names) if names else "0"
    lines.append(f"| {target} | {seconds} | {runs or '?'} | {per_second or '?'} | "
                 f"{coverage or '?'} | {features or '?'} | {findings} | {note} |")
summary = "\n".join(lines) + "\n"
open(summary_path, "w", encoding="utf-8").write(summary)
print(summary, end="")
EOF
rm -f "$rows"
echo "Summary: $summary"
