#!/bin/bash
# korvane-sim end to end: one seed gives byte-identical statistics and pool files, the pool
# files round-trip, and a malformed pool file is refused with a clear message.
# Usage: sim_test.sh <korvane-sim> <korvane-plot> <repository root>
set -u
SIM=$(realpath "$1")
PLOT=$(realpath "$2")
ROOT=$(realpath "$3")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
cp "$ROOT/params.ini" .

FAILURES=0
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; FAILURES=$((FAILURES + 1)); fi; }

run() { "$SIM" --seed 11 --stats-every 5000 "$@" > /dev/null 2> "$WORK/err.txt"; }

check "a first run succeeds" run --steps 4000 --stats a.tsv --save-green a_green.txt --save-red a_red.txt --plot a.svg
check "a second run succeeds" run --steps 4000 --stats b.tsv --save-green b_green.txt
check "one seed gives identical statistics" cmp -s a.tsv b.tsv
check "one seed gives identical green pools" cmp -s a_green.txt b_green.txt
check "the statistics start with the column names" grep -q '^# minutes' a.tsv
check "each data line has eight tab-separated columns" \
    bash -c "grep -v '^#' a.tsv | awk -F'\t' 'NF != 8 { bad = 1 } END { exit bad || NR == 0 }'"
check "the plot is an SVG with a legend" grep -q 'green best' a.svg
check "the saved pools load back" run --load-green a_green.txt --load-red a_red.txt --steps 10
check "make plot's tool draws a statistics file" "$PLOT" c.svg a.tsv
check "its picture names the file" grep -q 'a: red best' c.svg

head -c 200 a_green.txt > broken.txt
"$SIM" --steps 10 --load-green broken.txt > /dev/null 2> err.txt
status=$?
check "a malformed pool file ends with status 1" test "$status" = 1
check "it says which file and what is wrong" grep -q "Cannot load broken.txt: entry 1: " err.txt

"$SIM" --steps 10 --params missing.ini > /dev/null 2> err.txt
check "a missing parameter file is refused" bash -c "[ $? = 1 ] && grep -q \"Cannot find 'missing.ini'\" err.txt"

echo "$FAILURES failure(s)"
[ "$FAILURES" = 0 ]
