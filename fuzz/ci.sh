#!/usr/bin/env bash
# The fuzz stage of CI, deterministic: one commit gives one result.
#   1. every target replays its committed corpus (fuzz/corpus/<target>/);
#   2. every target runs a fixed number of executions from a fixed seed,
#      starting from the committed corpus and a fresh, empty scratch corpus.
# Open-ended exploration stays with fuzz/run.sh SECONDS.
#
#   fuzz/ci.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
source fuzz/common.sh

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${fuzz_all_targets[@]}")
fuzz_build "${targets[@]}"

seed=20261209
# Executions per target: 10 to 30 s each on a 2-core machine. The targets
# that drive whole pages run a few hundred to a thousand inputs a second, the
# codecs tens of thousands.
runs_for() {
    case "$1" in
        fuzz_link) echo 30000 ;;
        fuzz_discovery) echo 20000 ;;
        fuzz_stateframes) echo 20000 ;;
        fuzz_preset) echo 6000 ;;
        fuzz_localfiles) echo 100000 ;;
        *) echo 400000 ;;
    esac
}

# What keeps a run the same from one time to the next: no address-space
# randomisation and a fixed QHash seed (pointer and string hashes order
# containers), no reloading of the corpus while it grows. The targets that
# drive whole pages count loop iterations a little differently from run to
# run (allocation and layout caches), so they are guided by the edges an
# input reaches, not by how often.
export QT_HASH_SEED=0
deterministic=(setarch "$(uname -m)" -R)
guidance_for() {
    case "$1" in
        fuzz_link | fuzz_preset) echo -use_counters=0 -use_cmp=0 -use_value_profile=0 ;;
    esac
}

root=$PWD
failed=()
for target in "${targets[@]}"; do
    work="$root/$fuzz_dir/fuzz/ci/$target"
    rm -rf "$work"
    mkdir -p "$work/new" "$work/artifacts"
    binary="$root/$fuzz_dir/fuzz/$target"
    corpus="$root/fuzz/corpus/$target"
    runs=$(runs_for "$target")
    echo "== $target: replay of $(ls "$corpus" | wc -l) committed inputs, then $runs runs from seed $seed"
    # -runs=0 executes the corpus once while loading it and stops. The first
    # folder is where libFuzzer writes, so the committed one comes second.
    if ! (cd "$work" && "${deterministic[@]}" "$binary" -runs=0 $(fuzz_options "$target") \
        -artifact_prefix="$work/artifacts/" "$work/new" "$corpus" >"$work/replay.log" 2>&1); then
        failed+=("$target (committed corpus)")
        tail -n 60 "$work/replay.log"
        continue
    fi
    rm -rf "$work/new" && mkdir "$work/new"
    if ! (cd "$work" && "${deterministic[@]}" "$binary" -seed="$seed" -runs="$runs" -reload=0 \
        $(fuzz_options "$target") $(guidance_for "$target") \
        -artifact_prefix="$work/artifacts/" "$work/new" "$corpus" >"$work/run.log" 2>&1); then
        failed+=("$target (seeded run)")
        tail -n 60 "$work/run.log"
    fi
    grep -E '^#[0-9]+' "$work/run.log" | tail -n 1 || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings in: ${failed[*]} (inputs in $fuzz_dir/fuzz/ci/<target>/artifacts/)" >&2
    echo "Add each input to fuzz/corpus/<target>/ with a regression test once it is fixed." >&2
    exit 1
fi
