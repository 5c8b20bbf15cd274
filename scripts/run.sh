#!/usr/bin/env bash
# Installs the dependencies, builds, and starts Vorlakin.
#
# On a desktop (DISPLAY or WAYLAND_DISPLAY set) the window opens there;
# close it (or press Esc) to end the program. Without a display, the
# program is started on a virtual X server instead, a picture of its window
# is saved as build/screenshot.png, and it is closed again.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset release
cmake --build --preset release --target vorlakin

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/release/ui/vorlakin
fi

echo "No display here: starting Vorlakin on a virtual X server to take a picture of it."
VORLAKIN_BINARY=build/release/ui/vorlakin bash scripts/screenshot.sh build/screenshot.png
