#!/usr/bin/env bash
# Cross-builds the plug-in module for Windows with mingw-w64: quevrin.ax, a
# DLL exporting only the four COM entry points (host/dx/module/quevrin.def),
# with the C++ runtime linked in. Until the Windows toolchain file and the
# resource script arrive, this script is the check that the module's sources
# build for Windows: the embedded resources come from a resource script it
# writes into its build folder from resources/resources.txt.
#
# Usage: cmake/build-windows-module.sh [build-folder]   (default build-windows)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-windows}
cxx=${CXX_MINGW:-x86_64-w64-mingw32-g++}
windres=${WINDRES_MINGW:-x86_64-w64-mingw32-windres}
flags=(-std=c++17 -O2 -Wall -Wextra -D_USE_MATH_DEFINES -I"$root/src")

mkdir -p "$build/obj"
cd "$root/src"
# The libraries the module links on Windows: the plug-in core, the engine,
# the Win32 system services, the base classes and the adapter.
sources=(mppi/*.cpp mppi/preset/*.cpp effect/*.cpp effect/stages/*.cpp effect/params/*.cpp
    sys/win32/*.cpp host/dx/platform/*.cpp host/dx/*.cpp)
module=(host/dx/module/QuevrinModule.cpp host/dx/module/ModulePathWin32.cpp)

compile() {
    local object="$build/obj/${1//\//_}.o"
    "$cxx" "${flags[@]}" -c "$1" -o "$object"
    echo "$object"
}

objects=()
for s in "${sources[@]}"; do
    objects+=("$(compile "$s")")
done
rm -f "$build/libquevrin_win.a"
x86_64-w64-mingw32-ar rcs "$build/libquevrin_win.a" "${objects[@]}"

module_objects=()
for s in "${module[@]}"; do
    module_objects+=("$(compile "$s")")
done

# One RCDATA-like entry per manifest line: NAME TYPE "file".
rc="$build/quevrin_resources.rc"
: >"$rc"
while read -r type name path _; do
    [[ -z "$type" || "$type" == \#* ]] && continue
    printf '%s %s "%s"\n' "$name" "$type" "$root/resources/$path" >>"$rc"
done <"$root/resources/resources.txt"
"$windres" "$rc" -O coff -o "$build/obj/quevrin_resources.o"

"$cxx" -shared -o "$build/quevrin.ax" "${module_objects[@]}" "$build/obj/quevrin_resources.o" \
    "$root/src/host/dx/module/quevrin.def" "$build/libquevrin_win.a" \
    -static-libgcc -static-libstdc++ -Wl,--no-undefined \
    -lstrmiids -luuid -lole32 -loleaut32 -lwinmm -ladvapi32 -lshell32 -luser32
echo "built $build/quevrin.ax"
