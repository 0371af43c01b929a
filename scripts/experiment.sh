#!/bin/sh
# Evolution against the control baseline: the sweep file's seeds run with the shipped
# parameters, with evolution and with --control, through korvane-sweep; the table of the
# learning scores with their intervals is printed and kept in <output folder>/report.md.
# An experiment that was stopped goes on where it stopped; one made by another korvane-sim
# or with other parameters is replaced.
# Usage: experiment.sh <korvane-sweep> <sweep file> <output folder>
set -eu
sweep=$1
file=$2
out=$3
sim="$(dirname "$sweep")/korvane-sim"
if [ -e "$out" ] && ! { cmp -s "$sim" "$out/korvane-sim" && cmp -s params.ini "$out/params.ini"; }; then
    rm -rf "$out"
fi
"$sweep" "$file" --out "$out" --params params.ini --sim "$sim"
