#!/usr/bin/env bash
# Whole-process speed of `quevrin render` against `sox ... echo` on the same
# 60 s stereo 44.1 kHz float file, side by side in one run (best of RUNS), and
# the peak memory of a 10-minute render.
# Usage: bench/cli_vs_sox.sh [build-folder] [runs]   (needs sox)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-7}
quevrin=$build/bin/quevrin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sox -n -r 44100 -c 2 -e floating-point -b 32 "$work/in.wav" synth 60 pinknoise vol 0.3
sox -n -r 44100 -c 2 -e floating-point -b 32 "$work/long.wav" synth 600 pinknoise vol 0.3

best() { # best wall time of a command over $runs runs, in seconds
    local best=999
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        best=$(echo "$start $end $best" | awk '{t = $2 - $1; print (t < $3) ? t : $3}')
    done
    echo "$best"
}

q=$(best "$quevrin" render "$work/in.wav" "$work/q.wav" --quiet)
s=$(best sox "$work/in.wav" "$work/s.wav" echo 0.8 0.9 375 0.5)
echo "quevrin render, 60 s: ${q} s"
echo "sox echo,       60 s: ${s} s"
echo "ratio: $(echo "$q $s" | awk '{printf "%.2f", $1 / $2}')"

for f in in long; do
    /usr/bin/time -f "%M" -o "$work/mem" "$quevrin" render "$work/$f.wav" "$work/m.wav" --quiet
    echo "peak memory rendering $f.wav: $(cat "$work/mem") KiB"
done
