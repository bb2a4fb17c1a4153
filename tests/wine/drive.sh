# shellcheck shell=bash
# What the X server drivers (scene.sh, page.sh) share; sourced, not run.
# Wine reaches the host's files through its Z: drive.
windows_path() { echo "Z:${1//\//\\}"; }

# Starts a Windows program in the background (its id in $driven) and waits
# up to 30 s for it to create DIR/ready; false when it never does.
start_and_wait() {
    local dir=$1
    shift
    wine "$@" &
    driven=$!
    for _ in $(seq 300); do
        [ -e "$dir/ready" ] && return 0
        kill -0 "$driven" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# An upward drag at (X, Y), in small steps as a hand makes them.
drag_up() {
    xdotool mousemove "$1" "$2" mousedown 1
    for _ in $(seq 12); do
        xdotool mousemove_relative -- 0 -4
        sleep 0.03
    done
    xdotool mouseup 1
    sleep 0.3
}

# A click into the text box at (X, Y) opens its EDIT popup; TEXT is typed
# and ended with KEY (Return or Escape).
type_into() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.5
    xdotool type --delay 30 -- "$3"
    xdotool key "$4"
    sleep 0.3
}
