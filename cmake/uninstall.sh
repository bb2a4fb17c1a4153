#!/usr/bin/env bash
# Takes away what `make install` put below $DESTDIR PREFIX: the files the
# build's install rules install (found by the same install into a scratch
# folder), then the product's own folders once they are empty. Other files,
# and shared folders such as bin/ or lib/lv2/, stay.
#
# Usage: [DESTDIR=STAGE] cmake/uninstall.sh BUILD PREFIX
set -euo pipefail

build=$1
prefix=$2
target=${DESTDIR:-}$prefix
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

DESTDIR=$scratch cmake --install "$build" --prefix "$prefix" >/dev/null
cd "$scratch$prefix"
find . ! -type d -print0 | while IFS= read -r -d '' file; do
    rm -fv "$target/${file#./}"
done
find . -depth -type d -name '*quevrin*' -print0 | while IFS= read -r -d '' folder; do
    if [ -d "$target/${folder#./}" ]; then
        rmdir -v --ignore-fail-on-non-empty "$target/${folder#./}"
    fi
done
