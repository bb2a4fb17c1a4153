#!/usr/bin/env bash
# Drives the property page's editor through the X server (called by run.sh
# inside its Wine prefix and display), twice:
#  - defaults: the page's pixels equal the native screenshot; an upward drag
#    on line 1's feedback knob; line 1's level typed into the value box with
#    Enter, then another value abandoned with Escape (the host reads both back
#    through IPersistStream after the page closes);
#  - PRESET (one with the second line on): the pixels again; a morph time
#    typed, the second program button clicked: its press animation shows and
#    ends, and the host watches the morph glide.
#
# Usage: tests/wine/page.sh HOST_EXE QUEVRIN PRESET WORK_DIR
set -euo pipefail
host=$1
quevrin=$2
preset=$3
work=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/drive.sh
source "$here/drive.sh"
status=0
# Bash abandons a whole command on an expansion error, even under set -e, and
# goes on with the next: only a run that got through both pages passes.
completed=0

# Runs the page in MODE, with the preset's arguments, and the driving function.
drive_page() {
    local mode=$1 drive=$2 dir=$work/$1
    shift 2
    mkdir -p "$dir"
    "$quevrin" screenshot "$dir/native.png" "$@" || status=1
    local preset_arg=()
    [ $# -gt 0 ] && preset_arg=("$2")
    if start_and_wait "$dir" "$host" editor "$(windows_path "$dir")" "$mode" "${preset_arg[@]}"; then
        # The Windows side ends its line with CR LF.
        read -r x y fdbk_x fdbk_y level_x level_y value_x value_y morph_x morph_y program_x \
            program_y < <(tr -d '\r' <"$dir/ready")
        screen_shows "$dir/screen.xwd" "$x" "$y" "$dir/native.png" || status=1
        "$drive" || status=1
    else
        echo "FAILED: the page's editor did not open ($mode)"
        status=1
    fi
    touch "$dir/done"
    wait "$driven" || status=1
    completed=$((completed + 1))
}

# shellcheck disable=SC2317 # called through drive_page
drive_input() {
    drag_up "$fdbk_x" "$fdbk_y"
    # A click on line 1's level knob brings its value into the value box.
    xdotool mousemove "$level_x" "$level_y" click 1
    sleep 0.3
    type_into "$value_x" "$value_y" -6 Return
    type_into "$value_x" "$value_y" 3 Escape
}

# shellcheck disable=SC2317 # called through drive_page
drive_morph() {
    type_into "$morph_x" "$morph_y" 1 Return
    touch "$dir/morph"
    sleep 0.2
    xdotool mousemove "$program_x" "$program_y" click 1
    # The button's press animation runs on a timer for a second: pressed in
    # some capture while it runs (the editor may paint late under load), at
    # rest again well after it.
    local area=(--area $((program_x - 6)) $((program_y - 6)) 13 13) pressed=1
    for n in $(seq 12); do
        sleep 0.25
        xwd -root -silent >"$dir/pressed_$n.xwd"
    done
    sleep 1
    xwd -root -silent >"$dir/rest.xwd"
    for n in $(seq 12); do
        python3 "$here/compare_screen.py" "$dir/pressed_$n.xwd" 0 0 "$dir/screen.xwd" "${area[@]}" \
            --differ >/dev/null && pressed=0 && echo "the program button shows pressed after $n x 0.25 s"
    done
    [ "$pressed" -eq 0 ] || { echo "FAILED: the program button never showed pressed"; status=1; }
    python3 "$here/compare_screen.py" "$dir/rest.xwd" 0 0 "$dir/screen.xwd" "${area[@]}" || status=1
}

drive_page input drive_input
drive_page morph drive_morph --preset "$preset"
[ "$completed" -eq 2 ] || status=1
exit "$status"
