# Sourced by fuzz/run.sh and fuzz/ci.sh: builds the requested fuzz targets
# (clang, libFuzzer, ASan + UBSan) in $fuzz_dir and sets the sanitizer
# environment. Expects the caller to be in the source root with $targets set.
source scripts/setup.sh

fuzz_all_targets=(fuzz_link fuzz_discovery fuzz_preset fuzz_firfiles fuzz_localfiles fuzz_firmware fuzz_stateframes)

fuzz_build() {
    orvalix_install_packages $ORVALIX_FUZZ_PACKAGES
    fuzz_dir=${ORVALIX_FUZZ_BUILD:-build-fuzz}
    if [ ! -f "$fuzz_dir/CMakeCache.txt" ]; then
        CC=clang CXX=clang++ cmake -S . -B "$fuzz_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALIX_FUZZ=ON \
            -DORVALIX_BUILD_TESTS=OFF -DORVALIX_BUILD_BENCH=OFF >/dev/null
    fi
    mkdir -p "$fuzz_dir/fuzz"
    if ! cmake --build "$fuzz_dir" -j"$(nproc)" --target "$@" >"$fuzz_dir/fuzz/build.log" 2>&1; then
        tail -n 40 "$fuzz_dir/fuzz/build.log"
        return 1
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
}

# Options every run shares. The GUI targets keep state between inputs
# (pages, tables), which libFuzzer's per-input leak check takes for a leak
# and answers with a scan of the whole heap on nearly every input;
# LeakSanitizer still checks the whole run when it ends. A generous input
# size lets the link target see whole FIR records and preset transfers.
fuzz_options() {
    local target=$1
    echo -max_len=24576 -rss_limit_mb=4096 -timeout=30 -print_final_stats=1
    case "$target" in
        fuzz_link | fuzz_discovery | fuzz_preset) echo -detect_leaks=0 ;;
    esac
}
