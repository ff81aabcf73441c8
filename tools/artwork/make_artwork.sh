#!/bin/sh
# Builds the drawing program in build-art/ and draws every shipped picture into data/.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build="$root/build-art"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2
"$build/zw-artwork" "$root/data"
