#!/usr/bin/env bash
# Cross-builds the plug-in module for Windows (quevrin.ax) with the mingw-w64
# toolchain file, as `make windows` does, into the given build folder.
#
# Usage: cmake/build-windows-module.sh [build-folder]   (default build-windows)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
cmake --build "$build" --target quevrin
echo "built $build/src/quevrin.ax"
