#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite on the
# offscreen platform. --sanitize builds and runs it under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

sanitize=0
for arg in "$@"; do
    case "$arg" in
        --sanitize) sanitize=1 ;;
        *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
    esac
done

orvalix_install_packages

export QT_QPA_PLATFORM=offscreen
if [ $sanitize -eq 1 ]; then
    dir=build-asan
    orvalix_build "$dir" -DORVALIX_SANITIZE=ON -DORVALIX_BUILD_BENCH=OFF
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
    dir=build
    orvalix_build "$dir"
fi
cd "$dir"
ctest --output-on-failure -j"$(nproc)"
