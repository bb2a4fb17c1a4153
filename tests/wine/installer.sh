#!/usr/bin/env bash
# The Windows installer inside Wine, from a new prefix: a silent install, an
# upgrade over it, one into another folder and one back (no copy left behind);
# the filter registered at its installed path, where COM finds it by class id:
# a graph renders through it as the native host renders, and its property
# page opens; a silent uninstall, after which no file of Quevrin is left and
# the registry export equals the one before the install (but for Wine's
# own state: its display adapters and service count).
#
# Usage: tests/wine/installer.sh INSTALLER WINDOWS_BUILD NATIVE_BUILD
# Skipped, successfully, when Wine is not installed.
set -euo pipefail

if ! command -v wine >/dev/null; then
    echo "Installer stage skipped: wine is not installed"
    exit 0
fi
if [ -z "${QUEVRIN_WINE_DISPLAY:-}" ]; then
    QUEVRIN_WINE_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
installer=$(realpath "$1")
windows_build=$(realpath "$2")
quevrin=$(realpath "$3")/bin/quevrin
host=$windows_build/tests/wine/quevrin_wine_test.exe
root=$(cd "$(dirname "$0")/../.." && pwd)
started=$SECONDS

# shellcheck source=tests/wine/drive.sh
source "$root/tests/wine/drive.sh"
begin_wine_stage "Installer stage"
fail() {
    failed=1
    echo "FAILED: $*"
}

# The whole registry as sorted lines "[key] value", once every Wine process
# has ended and the registry is written.
export_registry() {
    wine regedit /E "$(windows_path "$1.reg")"
    wineserver -w
    iconv -f UTF-16LE -t UTF-8 "$1.reg" | tr -d '\r' |
        awk '/^\[/ { key = $0; print key; next } NF { print key " " $0 }' | sort >"$1"
}

installed='C:\Program Files\Vantrel\Quevrin'
files=$WINEPREFIX/drive_c/Program\ Files/Vantrel/Quevrin
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quevrin'

wineboot --init >/dev/null 2>&1
wineserver -w
export_registry "$work/before"

t=$SECONDS
wine "$installer" /S || fail "the silent install"
echo "install: $((SECONDS - t)) s, $(du -sk "$files" | cut -f1) KiB installed"
# Upgrades: over the installed version, into another folder (which takes
# the first copy away), and back.
wine "$installer" /S || fail "the install over the installed version"
wine "$installer" /S '/D=C:\Audio\Quevrin' || fail "the install into another folder"
[ ! -e "$files" ] || fail "the copy in Program Files stayed after the install elsewhere"
# /D takes the rest of the command line, unquoted: cmd passes it as it is.
wine cmd /c "$(windows_path "$installer") /S /D=$installed" ||
    fail "the install back into Program Files"
[ ! -e "$WINEPREFIX/drive_c/Audio/Quevrin" ] || fail "the copy in C:\\Audio\\Quevrin stayed"
cmp "$files/quevrin.ax" "$windows_build/src/quevrin.ax" || fail "the installed module is not the build's"
version=$("$quevrin" --version | awk '{ print $2 }')
for value in 'DisplayName.*Quevrin' "DisplayVersion.* ${version%,}\$" 'Publisher.*Vantrel' \
    'QuietUninstallString.*Uninstall.exe" /S'; do
    wine reg query "$uninstall_key" | tr -d '\r' | grep -q "$value" ||
        fail "the installed programs list has no $value"
done

mkdir "$work/graph"
wine "$host" installed "$installed\\quevrin.ax" "$(windows_path "$work/graph")" ||
    fail "the installed filter"
wine "$host" page || fail "the installed filter's property page"
if read -r input output preset frames _ capacity <"$work/graph/renders.txt"; then
    cd "$work/graph"
    "$quevrin" render "$input" native.wav --preset "$preset" --buffer-frames "$frames" \
        --allocator-frames "$capacity" --tail full --quiet &&
        python3 "$root/tests/wine/compare.py" "$output" native.wav "$input" ||
        fail "the installed filter renders otherwise than the native host"
    cd "$work"
else
    fail "no render through the installed filter"
fi

t=$SECONDS
wine "$installed\\Uninstall.exe" /S || fail "the silent uninstall"
# The uninstaller goes on from a copy of itself in the temporary folder.
wineserver -w
echo "uninstall: $((SECONDS - t)) s"
left=$(find "$WINEPREFIX/drive_c" -iname '*quevrin*' -o -iname '*vantrel*')
[ -z "$left" ] || fail "files left after the uninstall: $left"
export_registry "$work/after"
# Wine rewrites its display adapters' keys at every start, and counts the
# services it starts in ServiceCurrent; all else must be as before.
wine_state='^\s*\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\((Video|Class\\\{4D36E968-E325-11CE-BFC1-08002BE10318\})\\|ServiceCurrent\])'
comm -3 "$work/before" "$work/after" >"$work/changed"
if grep -v -E "$wine_state" "$work/changed"; then
    fail "the registry after the uninstall differs from the one before the install (above)"
fi
echo "registry: $(wc -l <"$work/before") keys and values before, $(wc -l <"$work/changed") changed" \
    "($(grep -c -E "$wine_state" "$work/changed") in Wine's own state)"

echo "Installer stage: $((SECONDS - started)) s, $([ "$failed" -eq 0 ] && echo passed || echo FAILED)"
exit "$failed"
