#!/usr/bin/env bash
# Random input through the real window under Xvfb.
#   scripts/random-input.sh MINUTES SEED     runs for MINUTES with SEED
#   scripts/random-input.sh --replay LOG     does again what LOG records
# Needs a build in ./build (or BUILD_DIR). The log, the scratch folder (all the run may write)
# and the program's stderr go to a new folder under random-input/ (or OUT_DIR), named on exit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-"$root/build"}
driver="$build/tests/app/random_input_driver"
usage() { echo "usage: $0 MINUTES SEED | $0 --replay LOG" >&2; exit 2; }
[ $# -eq 2 ] || usage
[ -x "$driver" ] || { echo "no $driver: build the random_input_driver target first" >&2; exit 2; }
out=${OUT_DIR:-"$root/random-input"}
if [ "$1" = "--replay" ]; then
    [ -f "$2" ] || usage
    replay=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
    run="$out/replay-$(date +%Y%m%d-%H%M%S)"
    args=(--replay "$replay")
else
    [[ "$1" =~ ^[0-9]+([.][0-9]+)?$ && "$2" =~ ^[0-9]+$ ]] || usage
    run="$out/seed-$2-$(date +%Y%m%d-%H%M%S)"
    args=(--seconds "$(awk "BEGIN { print $1 * 60 }")" --seed "$2")
fi
mkdir -p "$run/scratch"
set +e
xvfb-run -a -s "-screen 0 1600x1000x24 -noreset" \
    "$driver" "${args[@]}" --log "$run/actions.log" --scratch "$run/scratch" \
    --layouts "$root/resources/layouts" 2> "$run/stderr.txt"
rc=$?
set -e
grep -h "FAULT" "$run/actions.log" || true
tail -n 1 "$run/actions.log"
case $rc in
    0) echo "no fault; log: $run/actions.log" ;;
    3) echo "the window stopped answering; log: $run/actions.log" ;;
    *) echo "failed (exit $rc); log: $run/actions.log, stderr: $run/stderr.txt" ;;
esac
exit $rc
