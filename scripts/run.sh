#!/usr/bin/env bash
# Installs what is missing, builds Quillmore and starts it (under Xvfb when there is no display).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$root/build"
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting Quillmore under Xvfb (a virtual screen; nothing will appear on yours)."
    exec xvfb-run -a -s "-screen 0 1600x1000x24 -noreset" "$root/build/quillmore"
fi
exec "$root/build/quillmore"
