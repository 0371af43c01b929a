#!/bin/sh
# Plays a few seconds of the game on a virtual screen, opens the inspector on a red ship and
# keeps that frame as a PNG.
# Usage: screenshot.sh <game binary> <framecheck binary> <output.png>
set -eu
game=$(realpath "$1")
framecheck=$(realpath "$2")
out=$(realpath -m "$3")
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
    sleep 1; xdotool key space; sleep 5; xdotool key p C C; sleep 1
    # The paused world: the first red ship below the heads-up line is where it was drawn.
    ship=$("$2" "frame    0.bmp" ship redship 0 30 800 400)
    xdotool mousemove --window "$window" ${ship% *} ${ship#* } click 1
    sleep 4; xdotool key C; sleep 1; xdotool key q
    wait "$pid"' sh "$game" "$framecheck"
/usr/bin/convert "frame    2.bmp" "$out"
echo "wrote $out"
