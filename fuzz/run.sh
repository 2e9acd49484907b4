#!/usr/bin/env bash
# Open-ended exploration, run by hand: builds the fuzz targets in build-fuzz/
# if needed and runs each for SECONDS from its committed seed corpus, one
# after the other, printing executions and coverage.
#
#   fuzz/run.sh SECONDS [TARGET...]
#
# New inputs found go to build-fuzz/fuzz/corpus/<target>/ (the committed
# seeds stay as they are); crashes to build-fuzz/fuzz/artifacts/. Exits
# non-zero when any target finds a crash, a leak or a failed check. What it
# finds belongs in fuzz/corpus/<target>/ with a regression test; CI runs
# fuzz/ci.sh, which is deterministic.
set -euo pipefail
cd "$(dirname "$0")/.."
source fuzz/common.sh

seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: $0 SECONDS [TARGET...]" >&2
    exit 2
fi
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${fuzz_all_targets[@]}")
fuzz_build "${targets[@]}"

root=$PWD
failed=()
for target in "${targets[@]}"; do
    work="$root/$fuzz_dir/fuzz/work/$target"
    corpus="$root/$fuzz_dir/fuzz/corpus/$target"
    artifacts="$root/$fuzz_dir/fuzz/artifacts/$target"
    mkdir -p "$work" "$corpus" "$artifacts"
    # With -jobs the run's output goes to fuzz-0.log in the working directory.
    log="$work/fuzz-0.log"
    rm -f "$log"
    echo "== $target: $seconds s"
    # One job, one worker: the machine is shared.
    if ! (cd "$work" && "$root/$fuzz_dir/fuzz/$target" -max_total_time="$seconds" -jobs=1 -workers=1 \
        $(fuzz_options "$target") -artifact_prefix="$artifacts/" \
        "$corpus" "$root/fuzz/corpus/$target" >"$work/driver.log" 2>&1); then
        failed+=("$target")
        tail -n 60 "$log" 2>/dev/null || tail -n 60 "$work/driver.log"
    fi
    # The last status line carries executions, coverage (cov) and features (ft).
    grep -E '^#[0-9]+' "$log" | tail -n 1 || true
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "findings in: ${failed[*]} (inputs in $fuzz_dir/fuzz/artifacts/)" >&2
    exit 1
fi
