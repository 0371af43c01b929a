#!/bin/sh
# Evolution against the control baseline: for five seeds, the shipped parameters run with
# evolution and with --control; a table of the final mean pool fitness per seed and on
# average, and a graph of the first seed's two runs.
# Usage: experiment.sh <korvane-sim> <korvane-plot> <output folder>
set -eu
sim=$(realpath "$1")
plot=$(realpath "$2")
out=$3
steps=${STEPS:-300000}
mkdir -p "$out"

mean_of() { # mean_of <summary file> <red|green>
    sed -n "s/^$2 pool: .*, mean \([^ ]*\)\$/\1/p" "$1"
}

run_pair() { # both runs of one seed, side by side on the two cores
    "$sim" --steps "$steps" --seed "$1" --stats "$out/seed$1-evolution.tsv" > "$out/seed$1-evolution.txt" &
    "$sim" --steps "$steps" --seed "$1" --control --stats "$out/seed$1-control.tsv" > "$out/seed$1-control.txt"
    wait
}

table="$out/results.md"
{
    echo "Final mean pool fitness after $steps world steps ($((steps / 1800)) simulated minutes), shipped params.ini."
    echo
    echo "| seed | green, evolution | green, control | red, evolution | red, control |"
    echo "|---|---|---|---|---|"
} > "$table"
for seed in 1 2 3 4 5; do
    run_pair "$seed"
    echo "| $seed | $(mean_of "$out/seed$seed-evolution.txt" green) | $(mean_of "$out/seed$seed-control.txt" green)" \
         "| $(mean_of "$out/seed$seed-evolution.txt" red) | $(mean_of "$out/seed$seed-control.txt" red) |" >> "$table"
done
awk -F'|' 'NR > 4 { for (i = 3; i <= 6; ++i) sum[i] += $i; n++ }
    END { printf "| mean |"; for (i = 3; i <= 6; ++i) printf " %.1f |", sum[i] / n; print "" }' "$table" >> "$table"
(cd "$out" && "$plot" seed1.svg seed1-evolution.tsv seed1-control.tsv)
cat "$table"
echo "graph: $out/seed1.svg"
