#!/usr/bin/env bash
# Takes a picture of the started window under Xvfb with a window manager,
# as docs/screenshot.png (or the path given). Needs a build of the program:
#   cmake --preset release && cmake --build --preset release
set -euo pipefail
cd "$(dirname "$0")/.."

program=${VORLAKIN_BINARY:-build/release/ui/vorlakin}
output=${1:-docs/screenshot.png}
export DISPLAY=:97

Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$program" >/dev/null 2>&1 &
pids+=($!)
sleep 2

# The window with its frame, found by its title, and a margin around it.
tree=$(xwininfo -root -tree)
window=$(awk '/"Vorlakin-/ {print $1; exit}' <<<"$tree")
info=$(xwininfo -id "$window")
x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
width=$(awk '/Width:/ {print $NF}' <<<"$info")
height=$(awk '/Height:/ {print $NF}' <<<"$info")
# The window manager's frame: left, right, top, bottom.
read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
outerX=$((x - left)); outerY=$((y - top))
outerWidth=$((width + left + right)); outerHeight=$((height + top + bottom))
margin=6
import -window root -crop "$((outerWidth + 2 * margin))x$((outerHeight + 2 * margin))+$((outerX - margin))+$((outerY - margin))" \
  +repage "$output"
echo "client $width x $height; outer frame $outerWidth x $outerHeight at $outerX,$outerY; picture in $output"
