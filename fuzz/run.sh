#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) in build-fuzz/ if
# needed and runs each for SECONDS from its committed seed corpus, one after
# the other, printing executions and coverage.
#
#   fuzz/run.sh SECONDS [TARGET...]
#
# New inputs found go to build-fuzz/fuzz/corpus/<target>/ (the committed
# seeds stay as they are); crashes to build-fuzz/fuzz/artifacts/. Exits
# non-zero when any target finds a crash, a leak or a failed check.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: $0 SECONDS [TARGET...]" >&2
    exit 2
fi
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_link fuzz_discovery fuzz_preset fuzz_firfiles fuzz_localfiles fuzz_firmware)

orvalix_install_packages $ORVALIX_FUZZ_PACKAGES

dir=${ORVALIX_FUZZ_BUILD:-build-fuzz}
if [ ! -f "$dir/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALIX_FUZZ=ON \
        -DORVALIX_BUILD_TESTS=OFF -DORVALIX_BUILD_BENCH=OFF >/dev/null
fi
mkdir -p "$dir/fuzz"
if ! cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}" >"$dir/fuzz/build.log" 2>&1; then
    tail -n 40 "$dir/fuzz/build.log"
    exit 1
fi

export QT_QPA_PLATFORM=offscreen
# The targets write their files (cfg.dat, device.db, images) in a scratch
# directory under TMPDIR; on a RAM disk the syncs cost nothing.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

root=$PWD
failed=()
for target in "${targets[@]}"; do
    work="$root/$dir/fuzz/work/$target"
    corpus="$root/$dir/fuzz/corpus/$target"
    artifacts="$root/$dir/fuzz/artifacts/$target"
    mkdir -p "$work" "$corpus" "$artifacts"
    # With -jobs the run's output goes to fuzz-0.log in the working directory.
    log="$work/fuzz-0.log"
    rm -f "$log"
    # The GUI targets keep state between inputs (pages, tables), which
    # libFuzzer's per-input leak check takes for a leak and answers with a
    # scan of the whole heap on nearly every input; LeakSanitizer still
    # checks the whole run when it ends.
    extra=()
    case "$target" in
        fuzz_link | fuzz_discovery | fuzz_preset) extra=(-detect_leaks=0) ;;
    esac
    echo "== $target: $seconds s"
    # One job, one worker: the machine is shared. A generous input size lets
    # the link target see whole FIR records and preset transfers.
    if ! (cd "$work" && "$root/$dir/fuzz/$target" -max_total_time="$seconds" -jobs=1 -workers=1 \
        -max_len=24576 -rss_limit_mb=4096 -timeout=30 -print_final_stats=1 -artifact_prefix="$artifacts/" "${extra[@]}" \
        "$corpus" "$root/fuzz/corpus/$target" >"$work/driver.log" 2>&1); then
        failed+=("$target")
        tail -n 60 "$log" 2>/dev/null || tail -n 60 "$work/driver.log"
    fi
    # The last status line carries executions, coverage (cov) and features (ft).
    grep -E '^#[0-9]+' "$log" | tail -n 1 || true
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "findings in: ${failed[*]} (inputs in $dir/fuzz/artifacts/)" >&2
    exit 1
fi
