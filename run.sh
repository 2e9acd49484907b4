#!/usr/bin/env bash
# Installs what is missing, builds, starts virtual units on loopback and the
# application connected to the first one.
#   ./run.sh            one virtual unit on 127.0.0.1
#   ./run.sh --units 3  three units on 127.0.0.1, 127.0.0.2, 127.0.0.3
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

units=1
while [ $# -gt 0 ]; do
    case "$1" in
        --units) units=$2; shift 2 ;;
        *) echo "usage: $0 [--units N]" >&2; exit 2 ;;
    esac
done

orvalix_install_packages
orvalix_build build

pids=()
cleanup() { [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT

cd build/bin
for i in $(seq 1 "$units"); do
    ./orvalix-unit --bind "127.0.0.$i" &
    pids+=($!)
done
sleep 0.5

app_args=(--connect 127.0.0.1 --command-address 127.0.0.1)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found; starting the application on a virtual X server (xvfb-run)."
    xvfb-run -a -s "-screen 0 1280x800x24" ./orvalix "${app_args[@]}"
else
    ./orvalix "${app_args[@]}"
fi
