#!/usr/bin/env bash
# Takes pictures of the German main window, properties panel and help window into a folder.
# Usage: scripts/shots-de.sh [build folder] [picture folder]   (defaults: build, shots)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
folder=$(mkdir -p "${2:-shots}" && cd "${2:-shots}" && pwd)
cmake --build "$build" --target german_gui_tests translations >/dev/null
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home QUILLMORE_SHOTS=$folder xvfb-run -a -s "-screen 0 1600x1000x24 -noreset" \
    "$build/tests/app/german_gui_tests" >/dev/null
ls "$folder"/*.png
