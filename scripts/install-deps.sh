#!/bin/sh
# Installs the Debian packages the build and the tests need, but only the missing ones; with
# "web", those of the browser build and its test too.
set -eu
# libopenal-dev (OpenAL Soft) plays the sound effects; the sound's tests listen to its
# wave-file output. The second line is korvane-sweep's: GNU parallel, which reaches other
# machines over ssh and sends them files with rsync.
packages="cmake g++ make libgtest-dev freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev libcli11-dev nlohmann-json3-dev libbenchmark-dev xvfb xauth xdotool imagemagick clang libclang-rt-14-dev libopenal-dev
  parallel rsync openssh-client"
# The browser build: Emscripten, the font its text atlas is baked from (through FreeType), and
# the headless Chromium its test drives.
[ "${1:-}" = web ] && packages="$packages emscripten fonts-liberation libfreetype-dev chromium python3"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
# Another package manager at work holds apt's lock: apt-wait.sh waits for it, saying so.
here=$(dirname "$0")
sh "$here/apt-wait.sh" update -q
sh "$here/apt-wait.sh" install -y -q $missing
