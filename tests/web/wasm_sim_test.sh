#!/bin/sh
# A seed and a set of values give the same run in the browser's WebAssembly as on the desktop:
# korvane-sim built by Emscripten, run under node, writes the same summary, learning curves,
# statistics, pools and plot as the native korvane-sim, byte for byte.
# Usage: wasm_sim_test.sh <native korvane-sim> <korvane-sim.js> <repository root>; exit status
# 77 (skipped) when the WebAssembly build is not there.
set -u
native=$1
wasm=$2
root=$3
[ -f "$wasm" ] || { echo "the WebAssembly korvane-sim is not built (make web builds it): skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
compare() { # compare <name> <korvane-sim options...>
    name=$1
    shift
    for side in native wasm; do
        mkdir -p "$work/$side"
        if [ $side = native ]; then run="$native"; else run="node $wasm"; fi
        (cd "$work/$side" && $run --params "$root/params.ini" "$@" --summary s.json --learning l.tsv --stats t.tsv \
            --save-green g.txt --save-red r.txt --plot p.svg > out.txt 2>&1) || echo "$side: exit status $? ($name)"
    done
    for file in s.json l.tsv t.tsv g.txt r.txt p.svg; do
        if cmp -s "$work/native/$file" "$work/wasm/$file"; then
            echo "ok: $name: $file is the same"
        else
            echo "FAIL: $name: $file differs"
            failures=$((failures + 1))
        fi
    done
    rm -rf "$work/native" "$work/wasm"
}
compare "seed 7, shipped values" --seed 7 --steps 20000
compare "seed 5, a link's values" --seed 5 --steps 12000 --set Alien_NumberOfRed=3 --set Alien_MaxSpeed=0.25
compare "seed 4294967295, no evolution, offspring on" --seed 4294967295 --steps 6000 --control \
    --set Alien_ReproductionOn=1
echo "$failures failure(s)"
[ "$failures" = 0 ]
