#!/usr/bin/env bash
# Keeps the folders on their floors: a window-free source includes only from its own folder and
# the folders it stands on. Prints every include that breaks this and exits non-zero if there is one.
# Usage: scripts/check-floors.sh [source root]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# What each window-free folder may include besides itself, from the ground up.
declare -A below=(
    [base]=""
    [catalog]="base"
    [model]="base catalog"
    [persistence]="base catalog model"
    [trackgeometry]="base catalog model"
    [network]="base catalog model trackgeometry"
    [trains]="base catalog model trackgeometry network"
    [layoutcheck]="base catalog model persistence trackgeometry network trains control wiring"
    [gapclose]="base catalog model trackgeometry network layoutcheck"
    [trackbox]="base catalog model persistence"
    [wiring]="base catalog model persistence trackgeometry network trains"
    [control]="base catalog model persistence trackgeometry network"
    [suggest]="base catalog model persistence trackgeometry network layoutcheck gapclose trackbox"
    [canvas]="base catalog model persistence trackgeometry network"
    [panels]="base catalog model persistence trackgeometry network trackbox canvas"
    [view3d]="base catalog model trackgeometry network trains"
    [dialogs]="base catalog model persistence trackgeometry network trackbox canvas panels"
    [app]="base catalog model persistence trackgeometry network trains wiring layoutcheck gapclose trackbox canvas panels view3d dialogs"
    # The programs that make the built-in pictures and the sample layouts, at build time.
    [resources]="base catalog model persistence trackgeometry network trains wiring layoutcheck gapclose trackbox canvas panels view3d dialogs app"
)

# Includes that still reach up, each with the reason it has not moved yet. Nothing may join
# this list: it only shrinks.
allowed=(
    "catalog/TrackCatalog.cpp model/PlacedPiece.h"  # a connector's pose is of a placed piece
    # The document holds the power and control plans, plain data of their subsystems.
    "model/LayoutDocument.h wiring/WiringPlan.h"
    "model/LayoutDocument.h control/ControlPlan.h"
    "persistence/ControlFile.h control/ControlPlan.h"
    "trains/TrainPicture.h canvas/CanvasOverlays.h"
    "trackbox/ShoppingList.h panels/PieceTally.h"
    "trackbox/TrackBoxPages.cpp panels/PaletteTables.h"
)

faults=0
while IFS= read -r file; do
    folder=${file%%/*}
    [ -n "${below[$folder]+set}" ] || continue
    while IFS= read -r target; do
        other=${target%%/*}
        [ "$other" = "$folder" ] && continue
        [[ " ${below[$folder]} " == *" $other "* ]] && continue
        [ -n "${below[$other]+set}" ] || continue  # not a folder of the program
        [[ " ${allowed[*]} " == *" $file $target "* ]] && continue
        echo "$file includes $target: $folder does not stand on $other"
        faults=$((faults + 1))
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files -- '*.cpp' '*.h' | grep -v -E '(^|/)gui/|^tests/|^bench/|^fuzz/' || true)

# The windows meet the main frame only at its interface (base/gui/FrameServices.h): only the
# frame's own sources include its header.
while IFS= read -r file; do
    if grep -q '^#include "app/gui/MainFrame.h"' "$file"; then
        echo "$file includes app/gui/MainFrame.h: windows outside app/gui know only FrameServices"
        faults=$((faults + 1))
    fi
done < <(git ls-files -- '*.cpp' '*.h' | grep -v -E '^app/gui/|^tests/|^bench/' || true)

if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) reach above their floor"
    exit 1
fi
echo "Every folder includes only from its floor and below"
