#!/usr/bin/env bash
# Plants deliberate faults in the window-free sources, one at a time, and records for each one
# whether the core tests catch it.
#
# Usage: scripts/mutate.sh [options] [fault ...]
#   fault          a fault's name or its number in the list (1 = first); default: every fault
#   -f FILE        the fault list (default scripts/mutations.txt)
#   -b DIR         the core-only build folder (default build-mutate)
#   -o FILE        the results file (default mutations-results.txt in the build folder)
#   -j N           parallel build and test jobs (default 2)
#   -t SECONDS     limit for one run of the tests (default: four times the clean run, at least 120)
#   -l             list the faults with their numbers and stop
#   -h             this text
#
# Each line of the fault list holds four fields separated by tabs:
#   name  file  original text  replacement
# The original text must occur exactly once in the file; a bad entry is reported and the run
# refuses to start. "\t" and "\n" in the two texts stand for a tab and a line break, "\\" for a
# backslash. Empty lines and lines starting with # are ignored.
#
# The tests are first built and run on the untouched sources; if they fail, nothing is mutated.
# Then, for each fault: the file is saved, the fault applied, the core tests built and run
# (stopping at the first failure), and the file put back byte for byte, also when the run is
# interrupted or fails. The result is one of
#   caught        a test failed, crashed or ran out of time
#   missed        every test passed
#   no-build      the fault does not compile (counted apart)
# Each line of the results file holds name, file, result, first failing test and seconds taken;
# the last line sums it up. Run it at a low priority: nice -n 19 scripts/mutate.sh
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
list="$root/scripts/mutations.txt"
build="$root/build-mutate"
out=""
jobs=2
limit=""
only_list=0

usage() { sed -n '2,/^set -uo/{/^set -uo/d;s/^# \{0,1\}//;p}' "$0"; }

while getopts "f:b:o:j:t:lh" opt; do
    case $opt in
        f) list=$OPTARG ;;
        b) build=$OPTARG ;;
        o) out=$OPTARG ;;
        j) jobs=$OPTARG ;;
        t) limit=$OPTARG ;;
        l) only_list=1 ;;
        h) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
case $build in /*) ;; *) build="$PWD/$build" ;; esac
[ -n "$out" ] || out="$build/mutations-results.txt"
case $out in /*) ;; *) out="$PWD/$out" ;; esac
[ -f "$list" ] || { echo "mutate: no fault list $list" >&2; exit 2; }

saved="$build/mutate-saved"
mkdir -p "$saved"

# A run killed outright (kill -9, power cut) leaves its saved copy behind: put it back first.
while IFS= read -r -d '' left; do
    rel=${left#"$saved"/}
    cp "$left" "$root/$rel" && touch "$root/$rel" && cmp -s "$left" "$root/$rel" || {
        echo "mutate: could not put back $rel from $left" >&2
        exit 1
    }
    rm -f "$left"
    echo "mutate: put back $rel, left mutated by an earlier run" >&2
done < <(find "$saved" -type f -print0)
find "$saved" -mindepth 1 -type d -empty -delete

# Reads the list into arrays and checks every entry against the sources.
names=() files=() origs=() repls=()
bad=0
lineno=0
while IFS= read -r line || [ -n "$line" ]; do
    lineno=$((lineno + 1))
    case $line in '' | '#'*) continue ;; esac
    IFS=$'\t' read -r name file orig repl extra <<<"$line"
    if [ -z "${name:-}" ] || [ -z "${file:-}" ] || [ -z "${orig:-}" ] || [ -n "${extra:-}" ] ||
        [[ $line != *$'\t'*$'\t'*$'\t'* ]]; then
        echo "mutate: $list:$lineno: expected four tab-separated fields" >&2
        bad=1
        continue
    fi
    names+=("$name") files+=("$file") origs+=("$orig") repls+=("${repl:-}")
done <"$list"

# Replaces the one occurrence of the original text; exit 3 when it does not occur exactly once.
apply() { # file original replacement [check-only]
    python3 - "$@" <<'EOF'
import sys
def unescape(s):
    out, i = [], 0
    while i < len(s):
        if s[i] == '\\' and i + 1 < len(s) and s[i + 1] in 'tn\\':
            out.append({'t': '\t', 'n': '\n', '\\': '\\'}[s[i + 1]])
            i += 2
        else:
            out.append(s[i])
            i += 1
    return ''.join(out)
path, orig, repl = sys.argv[1], unescape(sys.argv[2]), unescape(sys.argv[3])
with open(path, 'rb') as f:
    text = f.read().decode('utf-8')
count = text.count(orig)
if count != 1:
    print(f"occurs {count} times", file=sys.stderr)
    sys.exit(3)
if orig == repl:
    print("replacement equals the original", file=sys.stderr)
    sys.exit(3)
if len(sys.argv) > 4:
    sys.exit(0)
with open(path, 'wb') as f:
    f.write(text.replace(orig, repl).encode('utf-8'))
EOF
}

declare -A seen=()
for i in "${!names[@]}"; do
    n=${names[$i]}
    if [ -n "${seen[$n]:-}" ]; then
        echo "mutate: fault name '$n' used twice" >&2
        bad=1
    fi
    seen[$n]=1
    if [ ! -f "$root/${files[$i]}" ]; then
        echo "mutate: $n: no file ${files[$i]}" >&2
        bad=1
    elif ! msg=$(apply "$root/${files[$i]}" "${origs[$i]}" "${repls[$i]}" check 2>&1); then
        echo "mutate: $n: original text in ${files[$i]} $msg" >&2
        bad=1
    fi
done
[ "$bad" = 0 ] || { echo "mutate: fix the fault list first" >&2; exit 2; }

if [ "$only_list" = 1 ]; then
    for i in "${!names[@]}"; do printf '%3d  %-28s %s\n' $((i + 1)) "${names[$i]}" "${files[$i]}"; done
    exit 0
fi

# The faults to run, by name or number.
picked=()
if [ $# -eq 0 ]; then
    picked=("${!names[@]}")
else
    for want in "$@"; do
        found=""
        for i in "${!names[@]}"; do
            if [ "${names[$i]}" = "$want" ] || [ "$((i + 1))" = "$want" ]; then found=$i; fi
        done
        [ -n "$found" ] || { echo "mutate: no fault '$want' (see -l)" >&2; exit 2; }
        picked+=("$found")
    done
fi

# Whatever happens, the file under mutation goes back to what it was.
current="" backup=""
restore() {
    if [ -n "$current" ] && [ -n "$backup" ] && [ -f "$backup" ]; then
        # A plain copy gives the file a new time, so the next build compiles it again.
        cp "$backup" "$current" && touch "$current"
        if ! cmp -s "$backup" "$current"; then
            echo "mutate: could not restore $current (saved copy: $backup)" >&2
            return 1
        fi
        rm -f "$backup"
    fi
    current="" backup=""
}
trap 'restore; exit 130' INT TERM HUP
trap 'restore' EXIT

[ -f "$root/../env.sh" ] && source "$root/../env.sh"
[ -f /work/env.sh ] && source /work/env.sh
log="$build/mutate-logs"
mkdir -p "$log"

# An interrupted build or test run ends the whole run (the trap puts the file back) rather than
# being counted as a result.
interrupted() { echo "mutate: interrupted" >&2; exit 130; }
build_tests() { # log file
    local status=0
    cmake --build "$build" -- -j"$jobs" >"$1" 2>&1 || status=$?
    if [ $status -ge 128 ] || grep -q "interrupted by user" "$1"; then interrupted; fi
    return $status
}
# Runs the core tests; prints the first failing test and returns non-zero when one fails.
run_tests() { # log file, time limit in seconds (empty: none)
    local status
    if [ -n "$2" ]; then
        timeout --kill-after=10 "$2" ctest --test-dir "$build" -j"$jobs" --stop-on-failure \
            --output-on-failure >"$1" 2>&1
    else
        ctest --test-dir "$build" -j"$jobs" --stop-on-failure --output-on-failure >"$1" 2>&1
    fi
    status=$?
    [ $status -eq 0 ] && return 0
    if [ $status -gt 128 ] && [ $status -ne 137 ]; then interrupted; fi
    if [ $status -eq 124 ] || [ $status -eq 137 ]; then
        echo "(tests ran out of time)"
    else
        local first
        # "  12 - Suite.Case/3 (Failed)", or "Suite.Case/24-byte object <00-14 ...> (Failed)" for a
        # value the test prints in bytes: the test's name and how it ended, without the bytes.
        first=$(sed -n '/The following tests FAILED:/,$p' "$1" | sed -n '2s/^[[:space:]]*[0-9]* - //p')
        if [ -n "$first" ]; then
            local name=${first% (*}
            echo "${name%% <*} ${first##* }"
        else
            echo "(ctest exit $status)"
        fi
    fi
    return 1
}

echo "== Building and running the untouched core tests in $build"
if ! cmake -S "$root" -B "$build" -G Ninja -Wno-dev -DQUILLMORE_CORE_ONLY=ON \
    -DQUILLMORE_BENCH=OFF -DQUILLMORE_FUZZ=OFF -DQUILLMORE_SANITIZE=OFF >"$log/configure.log" 2>&1; then
    echo "mutate: configuring failed, see $log/configure.log" >&2
    exit 1
fi
if ! build_tests "$log/clean-build.log"; then
    echo "mutate: the untouched sources do not build, see $log/clean-build.log" >&2
    exit 1
fi
start=$(date +%s)
status=0
first=$(run_tests "$log/clean-tests.log" "") || status=$?
[ $status -eq 130 ] && interrupted
if [ $status -ne 0 ]; then
    echo "mutate: the untouched tests fail ($first), see $log/clean-tests.log; nothing mutated" >&2
    exit 1
fi
clean_seconds=$(($(date +%s) - start))
if [ -z "$limit" ]; then
    limit=$((clean_seconds * 4))
    [ "$limit" -ge 120 ] || limit=120
fi
echo "   clean run: ${clean_seconds}s; limit per run of the tests: ${limit}s"

{
    echo "# Faults planted by scripts/mutate.sh in $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?')," \
        "$(date -u '+%Y-%m-%d %H:%M UTC'); clean test run ${clean_seconds}s"
    printf '# %s\t%s\t%s\t%s\t%s\n' name file result "first failing test" seconds
} >"$out"

caught=0 missed=0 nobuild=0
for i in "${picked[@]}"; do
    name=${names[$i]} file=${files[$i]}
    t0=$(date +%s)
    backup="$saved/$file"
    mkdir -p "$(dirname "$backup")"
    cp "$root/$file" "$backup" || exit 1
    current="$root/$file"
    if ! apply "$current" "${origs[$i]}" "${repls[$i]}"; then
        restore
        echo "mutate: $name: could not apply" >&2
        exit 1
    fi
    first="-"
    if ! build_tests "$log/$name.build.log"; then
        if grep -q "Error running test executable" "$log/$name.build.log"; then
            result=caught first="(test program fails when listing its tests)"
            caught=$((caught + 1))
        else
            result=no-build
            nobuild=$((nobuild + 1))
        fi
    else
        status=0
        first=$(run_tests "$log/$name.tests.log" "$limit") || status=$?
        [ $status -eq 130 ] && interrupted
        if [ $status -eq 0 ]; then
            result=missed first="-"
            missed=$((missed + 1))
        else
            result=caught
            caught=$((caught + 1))
        fi
    fi
    restore || exit 1
    seconds=$(($(date +%s) - t0))
    printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$file" "$result" "$first" "$seconds" >>"$out"
    printf '%3d  %-28s %-9s %s (%ss)\n' $((i + 1)) "$name" "$result" "$first" "$seconds"
done

summary="caught ${caught} / missed ${missed} / did not build ${nobuild} of ${#picked[@]} faults"
echo "# $summary" >>"$out"
echo "== $summary; results in $out"
