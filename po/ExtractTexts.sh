#!/usr/bin/env bash
# Collects the texts marked for translation in the program's sources (every folder's .cpp and .h,
# not the tests, benchmarks or fuzz targets) into a gettext template.
# Usage: ExtractTexts.sh SOURCE_ROOT OUTPUT.pot
set -euo pipefail
root=$(cd "$1" && pwd)
out=$2
cd "$root"
mapfile -t sources < <(find . \( -path ./tests -o -path ./bench -o -path ./fuzz -o -path './build*' \
    -o -path ./.git -o -path ./po \) -prune -o -path './*/*' \( -name '*.cpp' -o -name '*.h' \) \
    -print | sed 's|^\./||' | LC_ALL=C sort)
xgettext --language=C++ --from-code=UTF-8 \
    -k_ -kwxTRANSLATE -kwxPLURAL:1,2 -kTr -kTR_NOOP \
    --add-comments=TRANSLATORS: --sort-by-file --no-wrap \
    --package-name=Quillmore --msgid-bugs-address=https://www.bramblewick.example/ \
    -o "$out" "${sources[@]}"
# The template is UTF-8, as the catalogs made from it are.
sed -i "s/charset=CHARSET/charset=UTF-8/" "$out"
