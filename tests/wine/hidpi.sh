#!/usr/bin/env bash
# The property page on a desktop of 192 dots per inch (called by run.sh inside
# its Wine prefix and display, with Wine's LogPixels set to 192): the page
# reports 1000 x 844 and its editor shows exactly the native 2x screenshot.
#
# Usage: tests/wine/hidpi.sh HOST_EXE QUEVRIN WORK_DIR
set -euo pipefail
host=$1
quevrin=$2
dir=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/drive.sh
source "$here/drive.sh"
status=0
mkdir -p "$dir"
"$quevrin" screenshot "$dir/native.png" --scale 2 || status=1
if start_and_wait "$dir" "$host" editor "$(windows_path "$dir")" look; then
    # The Windows side ends its line with CR LF; the page's size ends it.
    read -r -a ready < <(tr -d '\r' <"$dir/ready")
    x=${ready[0]} y=${ready[1]} width=${ready[12]} height=${ready[13]}
    echo "page size at 192 dpi: $width x $height"
    [ "$width" = 1000 ] && [ "$height" = 844 ] || {
        echo "FAILED: the page is $width x $height, not 1000 x 844"
        status=1
    }
    screen_shows "$dir/screen.xwd" "$x" "$y" "$dir/native.png" || status=1
else
    echo "FAILED: the page's editor did not open at 192 dpi"
    status=1
fi
touch "$dir/done"
wait "$driven" || status=1
exit "$status"
