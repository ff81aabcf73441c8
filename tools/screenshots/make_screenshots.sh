#!/bin/sh
# Draws the pictures of the help pages again after the window has changed:
# builds zw-screenshots in build/ and runs it on a virtual screen.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target zw-screenshots
# The pictures show a German desktop, whatever this machine is set to.
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 xvfb-run -a -s "-screen 0 1280x900x24" "$build/tools/screenshots/zw-screenshots" "$root/data" "$root/data/help/bilder"
