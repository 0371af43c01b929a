#!/bin/sh
# Watches evolution (key w) on a virtual screen and keeps the learning graph after 1, 5 and 20
# game minutes as PNG pictures. Game minutes are read off the statistics file, which gets a
# line every 30 s of game time.
# Usage: learning-screenshots.sh <game binary> <output folder>
set -eu
game=$(realpath "$1")
out=$(realpath -m "$2")
root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/params.ini" "$root/HelpPage.txt" "$root/graphics" "$root/evolved" "$work/"
cd "$work"
LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$1" > game.log 2>&1 &
    pid=$!
    window=$(timeout 30 xdotool search --sync --name "^Korvane Aliens\$" | head -1)
    xdotool windowfocus "$window"
    xdotool key w
    lines() { grep -c "" KVN_STAT__*.txt 2>/dev/null || echo 0; }
    frame=0
    for minutes in 1 5 20; do
        until [ "$(lines)" -ge $((2 * minutes)) ]; do sleep 0.2; done
        xdotool key C
        until [ -s "frame$(printf %5d $frame).bmp" ]; do sleep 0.2; done
        xdotool key C
        mv "frame$(printf %5d $frame).bmp" "graph-${minutes}min.bmp"
        frame=$((frame + 2))
    done
    xdotool key q
    wait "$pid"' sh "$game"
mkdir -p "$out"
for minutes in 1 5 20; do
    /usr/bin/convert "graph-${minutes}min.bmp" "$out/learning-graph-${minutes}min.png"
    echo "wrote $out/learning-graph-${minutes}min.png"
done
