#!/usr/bin/env bash
# Long run of the application against a virtual unit that streams its meters
# every 5 ms and cycles through its faults (silence, a connection closed in
# mid-frame, garbage, frames cut into bytes, damaged reports, another
# address, lost acknowledgements), with a scripted operator editing every
# page. Not part of CTest.
#
#   tests/soak.sh MINUTES
#
# Prints the application's memory at the start and the end (after warm-up;
# more than 10% growth fails), frames exchanged and any error. Everything
# stays on loopback.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

minutes=${1:-}
if ! [[ "$minutes" =~ ^[0-9]+([.][0-9]+)?$ ]]; then
    echo "usage: $0 MINUTES" >&2
    exit 2
fi
orvalix_install_packages

dir=${ORVALIX_SOAK_BUILD:-build}
[ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$(nproc)" --target orvalix-unit orvalix-soak-driver >/dev/null

export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="orvalix.*.debug=false"
address="127.0.$((RANDOM % 200 + 20)).$((RANDOM % 200 + 20))"
port=$((20000 + RANDOM % 20000))
discovery=$((port + 1))
log=$(mktemp /tmp/orvalix-soak-unit.XXXXXX)

"$dir/bin/orvalix-unit" --bind "$address" --port "$port" --announce-to "127.0.0.1:$discovery" \
    --command-port 0 --meter-stream 5 --fault-cycle 6000 --log-file "$log" >/dev/null 2>&1 &
unit=$!
trap 'kill "$unit" 2>/dev/null || true' EXIT
sleep 1
if ! kill -0 "$unit" 2>/dev/null; then
    echo "the virtual unit did not start" >&2
    exit 1
fi

status=0
"$dir/tests/orvalix-soak-driver" --unit "$address" --port "$port" --discovery-port "$discovery" \
    --minutes "$minutes" || status=$?
echo "faults applied by the unit: $(grep -c 'fault:' "$log" | tr -d ' ') steps ($(grep 'fault:' "$log" | grep -vc none) faults)"
if ! kill -0 "$unit" 2>/dev/null; then
    echo "the virtual unit ended early" >&2
    status=1
fi
rm -f "$log"
exit $status
