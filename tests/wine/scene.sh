#!/usr/bin/env bash
# Drives quevrin_wine_scene through the X server (called by run.sh inside its
# Wine prefix and display): compares the window's pixels with the offscreen
# picture, drags the knob, types into the text box and lets the program check.
#
# Usage: tests/wine/scene.sh SCENE_EXE SKIN_DIR WORK_DIR
set -euo pipefail
scene_exe=$1
skin=$2
dir=$3
here=$(cd "$(dirname "$0")" && pwd)
windows_path() { echo "Z:${1//\//\\}"; }

mkdir -p "$dir"
wine "$scene_exe" "$(windows_path "$dir")" "$(windows_path "$skin")" &
scene=$!
for _ in $(seq 300); do
    [ -e "$dir/ready" ] || ! kill -0 "$scene" 2>/dev/null && break
    sleep 0.1
done
status=0
if [ -e "$dir/ready" ]; then
    read -r x y _ _ knob_x knob_y text_x text_y <"$dir/ready"
    sleep 0.5 # the first paint
    xwd -root -silent >"$dir/screen.xwd"
    python3 "$here/compare_screen.py" "$dir/screen.xwd" "$x" "$y" "$dir/headless.ppm" || status=1
    # An upward drag on the knob, in small steps as a hand makes them.
    xdotool mousemove "$knob_x" "$knob_y" mousedown 1
    for _ in $(seq 12); do
        xdotool mousemove_relative -- 0 -4
        sleep 0.03
    done
    xdotool mouseup 1
    sleep 0.3
    # A value typed and entered, then another typed and abandoned.
    xdotool mousemove "$text_x" "$text_y" click 1
    sleep 0.5
    xdotool type --delay 30 42
    xdotool key Return
    sleep 0.3
    xdotool click 1
    sleep 0.5
    xdotool type --delay 30 99
    xdotool key Escape
    sleep 0.3
else
    echo "FAILED: the scene did not open its window"
    status=1
fi
touch "$dir/done"
wait "$scene" || status=1
exit "$status"
