#!/bin/sh
# Plays a few seconds of the game on a virtual screen and keeps one frame as a PNG.
# Usage: screenshot.sh <game binary> <output.png>
set -eu
game=$(realpath "$1")
out=$(realpath -m "$2")
root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/params.ini" "$root/HelpPage.txt" "$root/graphics" "$work/"
cd "$work"
LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$1" > game.log 2>&1 &
    pid=$!
    window=$(timeout 30 xdotool search --sync --name "^Korvane Aliens\$" | head -1)
    xdotool windowfocus "$window"
    sleep 1; xdotool key space; sleep 5; xdotool key C; sleep 1; xdotool key q
    wait "$pid"' sh "$game"
/usr/bin/convert "frame    0.bmp" "$out"
echo "wrote $out"
