#!/bin/bash
# Frames drawn batched against frames drawn one by one, pixel for pixel, under Xvfb with
# Mesa's software renderer, for the shipped parameters, a crowded world and a small window
# of odd sizes (korvane-framecompare does the drawing and the comparing).
# Usage: frames_match.sh <korvane-framecompare> <repository root>
set -u
TOOL=$(realpath "$1")
ROOT=$(realpath "$2")

. "$ROOT/tests/support/onxvfb.sh"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp -r "$ROOT/graphics" "$WORK/"

FAILURES=0
# compare <name> <steps> <seed> [label value]...: the shipped parameters with these changed
compare() {
    local name=$1 steps=$2 seed=$3 edits=()
    shift 3
    while [ $# -ge 2 ]; do edits+=(-e "s/^$1 .*/$1 $2/"); shift 2; done
    cp "$ROOT/params.ini" "$WORK/params.ini"
    [ ${#edits[@]} -eq 0 ] || sed -i "${edits[@]}" "$WORK/params.ini"
    echo "== $name"
    if (cd "$WORK" && "$TOOL" "$steps" "$seed"); then
        echo "ok: $name"
    else
        echo "FAIL: $name"
        FAILURES=$((FAILURES + 1))
    fi
}

compare "shipped parameters" 300 7
# More aliens than the band seats, so that some lie over each other; bullets in plenty.
compare "crowded world" 300 3 Alien_NumberOfGreen 70 Alien_NumberOfRed 40 Alien_Red_FireDelay 2
compare "small window, sizes in fractions" 200 5 Window_Width 331 Window_Height 257 Window_TopMargin 20 \
    Window_BottomMargin 90 Alien_NumberOfGreen 8 Alien_NumberOfRed 4 Alien_Width 31.7 Alien_Height 23.5 \
    Gun_Width 47.5 Bullet_Width 4.6 Bullet_Height 11.8
exit $((FAILURES > 0))
