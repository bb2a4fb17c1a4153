#!/usr/bin/env bash
# make install's tree on its own: the build installed into a staging folder
# runs presets, render and screenshot with the build tree and the sources out
# of reach (empty folders laid over them in a mount namespace of its own) and
# gives what the build tree gives; without its module it names where the
# module belongs; make uninstall then takes away what the install put there
# and nothing else.
#
# Usage: tests/install/staged_install.sh BUILD SOURCE
# Exit status 77 (skipped) where no mount namespace can be made.
set -euo pipefail

if [ "${1:-}" = --hidden ]; then
    # Inside the namespace: BUILD and SOURCE hidden, then the command.
    mount -t tmpfs hidden "$2"
    mount -t tmpfs hidden "$3"
    shift 3
    exec "$@"
fi
build=$(realpath "$1")
source=$(realpath "$2")
prefix=/usr/local
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
tree=$stage/root$prefix
failed=0
fail() {
    failed=1
    echo "FAILED: $*"
}

namespace=()
for n in "unshare --mount --propagation private" "unshare --mount --map-root-user"; do
    if $n true 2>/dev/null; then
        read -r -a namespace <<<"$n"
        break
    fi
done
if [ ${#namespace[@]} -eq 0 ]; then
    echo "skipped: no mount namespace for hiding the build tree"
    exit 77
fi
hidden() { "${namespace[@]}" bash "$0" --hidden "$build" "$source" "$@"; }

# Someone else's files in the same prefix, which the uninstall must leave.
mkdir -p "$tree/bin" "$tree/lib/lv2/other.lv2"
touch "$tree/bin/other" "$tree/lib/lv2/other.lv2/manifest.ttl"
DESTDIR=$stage/root cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/quevrin lib/quevrin/quevrin.so lib/quevrin/quevrin_cli_editor.so \
    lib/lv2/quevrin.lv2/manifest.ttl \
    share/man/man1/quevrin.1 share/doc/quevrin/README.md share/doc/quevrin/LICENSE; do
    [ -s "$tree/$file" ] || fail "$file is not installed"
done

hidden test ! -e "$build/bin/quevrin" || fail "the namespace does not hide the build tree"
quevrin=$tree/bin/quevrin
"$build/bin/quevrin" presets >"$stage/built_presets.txt"
"$build/bin/quevrin" render --demo "$stage/built.wav" --preset 11 --quiet
"$build/bin/quevrin" screenshot "$stage/built.png" --preset 11
hidden "$quevrin" presets >"$stage/presets.txt" || fail "presets"
cmp -s "$stage/presets.txt" "$stage/built_presets.txt" || fail "presets lists other programs"
hidden "$quevrin" render --demo "$stage/demo.wav" --preset 11 --quiet || fail "render"
cmp -s "$stage/demo.wav" "$stage/built.wav" || fail "render differs from the build tree's"
hidden "$quevrin" screenshot "$stage/editor.png" --preset 11 || fail "screenshot"
cmp -s "$stage/editor.png" "$stage/built.png" || fail "screenshot differs from the build tree's"

mv "$tree/lib/quevrin/quevrin.so" "$stage/moved.so"
status=0
"$quevrin" presets 2>"$stage/error.txt" || status=$?
grep -q "$tree/lib/quevrin/quevrin.so" "$stage/error.txt" && [ "$status" -eq 1 ] ||
    fail "a missing module: status $status, \"$(cat "$stage/error.txt")\""
mv "$stage/moved.so" "$tree/lib/quevrin/quevrin.so"

DESTDIR=$stage/root bash "$source/cmake/uninstall.sh" "$build" "$prefix" >/dev/null
left=$(cd "$stage/root" && find . -mindepth 1 \( -type f -o -name '*quevrin*' \) | sort | tr '\n' ' ')
[ "$left" = "./usr/local/bin/other ./usr/local/lib/lv2/other.lv2/manifest.ttl " ] ||
    fail "after the uninstall: $left"

[ "$failed" -eq 0 ] && echo "staged install: passed"
exit "$failed"
