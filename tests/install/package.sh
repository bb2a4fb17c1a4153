#!/usr/bin/env bash
# The Debian package as users get it: lintian reports nothing above its
# informational tags (an overridden tag says why in the package); its version
# is the program's; its dependencies were computed from the binaries; its
# files lie below /usr and name no folder of the build machine, in their
# paths or their contents; extracted into a scratch root, its quevrin renders
# as the build tree's does and lv2ls, given only that root's LV2 folder,
# lists the plug-in.
#
# Usage: tests/install/package.sh PACKAGE BUILD
set -euo pipefail

package=$(realpath "$1")
build=$(realpath "$2")
source=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() {
    failed=1
    echo "FAILED: $*"
}

lintian --fail-on error,warning "$package" || fail "lintian"

version=$("$build/bin/quevrin" --version | awk '{ print $2 }')
[ "$(dpkg-deb --field "$package" Version)" = "${version%,}-1" ] ||
    fail "the package's version is not the program's ${version%,}"
depends=$(dpkg-deb --field "$package" Depends)
for needed in libsndfile1 libportaudio2 libx11-6 libxext6 libxfixes3 zenity xdg-utils; do
    grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

dpkg-deb --contents "$package" | awk '{ print $6 }' >"$scratch/files"
if grep -v -E '^\./(usr/((bin|lib|share)(/.*)?)?)?$' "$scratch/files"; then
    fail "files outside /usr/bin, /usr/lib and /usr/share (above)"
fi
if grep -F -e "${build#/}" -e "${source#/}" "$scratch/files"; then
    fail "files named after the build machine's folders (above)"
fi
root=$scratch/root
dpkg-deb --extract "$package" "$root"
if grep -r -l -F -e "$build" -e "$source" "$root"; then
    fail "files that name the build machine's folders (above)"
fi

"$root/usr/bin/quevrin" render --demo "$scratch/package.wav" --preset 5 --quiet ||
    fail "the package's quevrin render"
"$build/bin/quevrin" render --demo "$scratch/built.wav" --preset 5 --quiet
cmp -s "$scratch/package.wav" "$scratch/built.wav" ||
    fail "the package's render differs from the build tree's"
plugins=$(LV2_PATH=$root/usr/lib/lv2 lv2ls)
[ "$plugins" = "urn:vantrel:quevrin" ] || fail "lv2ls lists \"$plugins\""

echo "package: $(stat -c %s "$package") bytes, $(grep -c -v '/$' "$scratch/files") files," \
    "$([ "$failed" -eq 0 ] && echo passed || echo FAILED)"
exit "$failed"
