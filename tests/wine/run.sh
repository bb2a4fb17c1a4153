#!/usr/bin/env bash
# The plug-in module inside Wine's DirectShow, compared with the native host.
# Registers the cross-built quevrin.ax with regsvr32 in a fresh Wine prefix,
# checks its resources and registration, renders generated WAV files through
# Wine's File Source, WAVE Parser, our filter and a sink (quevrin_wine_test),
# shows its property page in a frame of our own and in Wine's property frame,
# drives the page's editor and compares its pixels with the native screenshot,
# drives a toolkit scene in the Win32 window layer through the X server,
# unregisters it, then renders the same inputs with the native `quevrin render`
# in buffers of the size Wine's parser delivered and compares the outputs.
#
# Usage: tests/wine/run.sh WINDOWS_BUILD NATIVE_BUILD   (e.g. build-windows build)
# Skipped, successfully, when Wine is not installed. The property page and
# the toolkit scene run in a virtual display of their own (Xvfb), never on the
# user's: no window manager moves them and the driver's pointer is nobody's.
set -euo pipefail

if ! command -v wine >/dev/null; then
    echo "Wine stage skipped: wine is not installed"
    exit 0
fi
if [ -z "${QUEVRIN_WINE_DISPLAY:-}" ]; then
    QUEVRIN_WINE_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
windows_build=$(realpath "$1")
native_build=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
module=$windows_build/src/quevrin.ax
host=$windows_build/tests/wine/quevrin_wine_test.exe
scene=$windows_build/tests/wine/quevrin_wine_scene.exe
quevrin=$native_build/bin/quevrin
started=$SECONDS

# shellcheck source=tests/wine/drive.sh
source "$root/tests/wine/drive.sh"
begin_wine_stage "Wine stage"
# Each step has five minutes. A graph under Wine has once been seen to stall
# for good on a loaded machine (no CPU used, no output); a step that times out
# runs once more before it counts as failed, and the stall is reported.
run() {
    echo "+ $*"
    local status=0
    timeout 300 "$@" || status=$?
    if [ "$status" -eq 124 ]; then
        echo "TIMED OUT (once more): $*"
        status=0
        timeout 300 "$@" || status=$?
    fi
    [ "$status" -eq 0 ] || { failed=1; echo "FAILED: $*"; }
}

wineboot --init >/dev/null 2>&1
mkdir -p "$work/graphs"
run wine regsvr32 /s "$(windows_path "$module")"
run wine "$host" resources "$(windows_path "$module")" "$(windows_path "$root/resources")"
run wine "$host" registered "$(windows_path "$module")"
run wine "$host" graphs "$(windows_path "$work/graphs")"
run wine "$host" page
run wine "$host" frame
# The page's editor: a preset with the second delay line on beside the defaults.
ambient=$("$quevrin" presets | awk -F '\t' '$2 == "Ambient wash" { print $1 }')
run bash "$root/tests/wine/page.sh" "$host" "$quevrin" "$ambient" "$work/page"
run bash "$root/tests/wine/scene.sh" "$scene" "$root/resources/skin" "$work/scene"
run wine regsvr32 /u /s "$(windows_path "$module")"
run wine "$host" unregistered

cd "$work/graphs"
if [ -s renders.txt ]; then
    "$quevrin" presets >native_presets.txt
    run diff presets.txt native_presets.txt
    while read -r input output preset frames state capacity; do
        # The same buffers as inside Wine: the parser's delivery size, and its
        # allocator's capacity, which sizes the filter's tail pieces.
        options=(--buffer-frames "$frames" --allocator-frames "$capacity" --tail full --quiet)
        [ "$preset" != - ] && options+=(--preset "$preset")
        [ "$state" != - ] && options+=(--state "$state")
        printf '%s (%s frames): ' "$output" "$frames"
        { "$quevrin" render "$input" "native_$output" "${options[@]}" &&
            python3 "$root/tests/wine/compare.py" "$output" "native_$output" "$input"; } || {
            failed=1
            echo "FAILED: $output differs from the native render"
        }
    done <renders.txt
else
    failed=1
    echo "FAILED: no renders inside Wine"
fi
echo "Wine stage: $((SECONDS - started)) s, $([ "$failed" -eq 0 ] && echo passed || echo FAILED)"
exit "$failed"
