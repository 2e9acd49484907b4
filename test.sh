#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite on the
# offscreen platform. --sanitize builds and runs it under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/. --valgrind runs the tests of the
# core library (CTest label "core") under valgrind memcheck in build/: any
# memory error or leak fails. ORVALIX_TEST_BUILD names another build folder.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

sanitize=0
valgrind=0
for arg in "$@"; do
    case "$arg" in
        --sanitize) sanitize=1 ;;
        --valgrind) valgrind=1 ;;
        *) echo "usage: $0 [--sanitize | --valgrind]" >&2; exit 2 ;;
    esac
done
if [ $sanitize -eq 1 ] && [ $valgrind -eq 1 ]; then
    echo "--sanitize and --valgrind do not mix" >&2
    exit 2
fi

if [ $valgrind -eq 1 ]; then
    orvalix_install_packages $ORVALIX_VALGRIND_PACKAGES
else
    orvalix_install_packages
fi

export QT_QPA_PLATFORM=offscreen
if [ $sanitize -eq 1 ]; then
    dir=${ORVALIX_TEST_BUILD:-build-asan}
    orvalix_build "$dir" -DORVALIX_SANITIZE=ON -DORVALIX_BUILD_BENCH=OFF
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
    dir=${ORVALIX_TEST_BUILD:-build}
    orvalix_build "$dir"
fi
cd "$dir"
if [ $valgrind -eq 1 ]; then
    root=$(cd .. && pwd)
    tests="$PWD/tests"
    export ORVALIX_RUN_DIR="$PWD/bin"
    export QT_LOGGING_RULES="orvalix.*.debug=false"
    failed=()
    for name in $(ctest -L core -N | sed -n 's/^ *Test *#[0-9]*: //p'); do
        echo "== valgrind $name"
        scratch=$(mktemp -d)
        if ! (cd "$scratch" && valgrind --quiet --error-exitcode=99 --leak-check=full \
            --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
            --suppressions="$root/tests/valgrind.supp" "$tests/$name"); then
            failed+=("$name")
        fi
        rm -rf "$scratch"
    done
    if [ ${#failed[@]} -gt 0 ]; then
        echo "valgrind found problems in: ${failed[*]}" >&2
        exit 1
    fi
    echo "valgrind: no memory errors or leaks in the core tests"
    exit 0
fi
ctest --output-on-failure -j"$(nproc)"
