# shellcheck shell=bash
# What the Wine stages (run.sh, installer.sh) and the X server drivers
# (scene.sh, page.sh) share; sourced, not run.
# Wine reaches the host's files through its Z: drive.
windows_path() { echo "Z:${1//\//\\}"; }

# A stage's scratch folder ($work) holding a new Wine prefix; at the exit the
# prefix's server ends and the folder goes, unless the stage failed ($failed
# not 0): then it stays for a look and its path is said.
begin_wine_stage() {
    stage_name=$1
    work=$(mktemp -d)
    failed=0
    trap end_wine_stage EXIT
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}
# shellcheck disable=SC2317 # called through the trap
end_wine_stage() {
    wineserver -k 2>/dev/null || true
    if [ "$failed" -eq 0 ]; then
        rm -rf "$work"
    else
        echo "$stage_name: files kept in $work"
    fi
}

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

# Captures the screen into FILE until its pixels from (X, Y) on equal
# PICTURE (the window paints some moments after it reports ready), for up to
# 20 s; false when they never do. Prints the last comparison.
screen_shows() {
    local file=$1 x=$2 y=$3 picture=$4 end=$((SECONDS + 20)) captures=0 report
    local compare
    compare="$(dirname "${BASH_SOURCE[0]}")/compare_screen.py"
    while :; do
        xwd -root -silent >"$file"
        captures=$((captures + 1))
        if report=$(python3 "$compare" "$file" "$x" "$y" "$picture"); then
            echo "$report (capture $captures)"
            return 0
        fi
        if [ "$SECONDS" -ge "$end" ]; then
            echo "$report (capture $captures)"
            return 1
        fi
        sleep 0.1
    done
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
