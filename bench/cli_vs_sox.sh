#!/usr/bin/env bash
# The quevrin program against sox, each group of commands measured together:
#   start-up: quevrin --version, presets and params against sox --version;
#   render:   a 60 s stereo 44.1 kHz float file through the default program
#             (--tail auto) against sox copying it and sox's echo;
#   memory:   the peak resident memory of rendering it and a 10-minute file.
# Each group runs in hyperfine in rounds of two runs that take the commands in
# turn, so that a machine whose load changes weighs on all of them alike; the script
# prints each command's median and mean over all rounds and the ratios of the
# medians to sox.
# QUEVRIN_BASELINE=/path/to/another/build/bin/quevrin adds that build to
# every group, to measure a change beside what it replaces.
# Usage: bench/cli_vs_sox.sh [build-folder] [runs]   (needs sox and hyperfine)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-30}
# Two runs of each command per round, the commands taken in turn.
rounds=$(((runs + 1) / 2))
quevrin=$build/bin/quevrin
baseline=${QUEVRIN_BASELINE:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sox -n -r 44100 -c 2 -e floating-point -b 32 "$work/in.wav" synth 60 pinknoise vol 0.3
sox -n -r 44100 -c 2 -e floating-point -b 32 "$work/long.wav" synth 600 pinknoise vol 0.3

# compare GROUP LABEL=COMMAND...
compare() {
    local group=$1
    shift
    local args=()
    for pair in "$@"; do
        args+=(-n "${pair%%=*}" "${pair#*=}")
    done
    for r in $(seq "$rounds"); do
        hyperfine -N --warmup 1 --runs 2 \
            --export-json "$work/$group.$r.json" "${args[@]}" >/dev/null 2>&1
    done
    python3 "$root/bench/summarise_runs.py" "$group" "$work/$group".*.json
}

programs=("$quevrin")
names=("quevrin")
if [ -n "$baseline" ]; then
    programs+=("$baseline")
    names+=("baseline")
fi

startup=("sox --version=sox --version")
for i in "${!programs[@]}"; do
    q=${programs[$i]}
    n=${names[$i]}
    startup+=("$n --version=$q --version" "$n presets=$q presets" "$n params=$q params")
done
compare start-up "${startup[@]}"

render=("sox copy=sox $work/in.wav $work/copy.wav"
    "sox echo=sox $work/in.wav $work/echo.wav echo 0.8 0.9 375 0.5")
for i in "${!programs[@]}"; do
    render+=("${names[$i]} render=${programs[$i]} render $work/in.wav $work/out$i.wav --quiet")
done
compare render "${render[@]}"

echo "== peak memory"
for i in "${!programs[@]}"; do
    for f in in long; do
        /usr/bin/time -f "%M" -o "$work/mem" "${programs[$i]}" render "$work/$f.wav" "$work/m.wav" \
            --quiet
        echo "  ${names[$i]} render $f.wav: $(cat "$work/mem") KiB"
    done
done
/usr/bin/time -f "%M" -o "$work/mem" sox "$work/in.wav" "$work/m.wav"
echo "  sox copy in.wav: $(cat "$work/mem") KiB"
