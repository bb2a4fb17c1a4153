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
# shellcheck source=tests/wine/drive.sh
source "$here/drive.sh"

mkdir -p "$dir"
status=0
if start_and_wait "$dir" "$scene_exe" "$(windows_path "$dir")" "$(windows_path "$skin")"; then
    read -r x y _ _ knob_x knob_y text_x text_y <"$dir/ready"
    screen_shows "$dir/screen.xwd" "$x" "$y" "$dir/headless.ppm" || status=1
    drag_up "$knob_x" "$knob_y"
    # A value typed and entered, then another typed and abandoned.
    type_into "$text_x" "$text_y" 42 Return
    type_into "$text_x" "$text_y" 99 Escape
else
    echo "FAILED: the scene did not open its window"
    status=1
fi
touch "$dir/done"
wait "$driven" || status=1
exit "$status"
