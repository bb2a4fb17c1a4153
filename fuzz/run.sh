#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz and runs each for SECONDS
# (default 60) from its seed corpus in fuzz/corpus/<target>/. New inputs go to
# build-fuzz/corpus/<target>/, so the committed seeds stay small. Exits non-zero
# as soon as a target reports a fault; its reproducer is left in build-fuzz/.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQUEVRIN_FUZZ=ON -DQUEVRIN_TESTS=OFF -DQUEVRIN_BENCH=OFF
targets=(fuzz_program_slot fuzz_bank_payload fuzz_bank_container fuzz_persist_load
    fuzz_picture_factory fuzz_font_factory fuzz_time_events)
cmake --build "$build" --target "${targets[@]}"

for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t"
    echo "== $t for ${seconds}s"
    (cd "$build" && "./fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 \
        "$build/corpus/$t" "$root/fuzz/corpus/$t")
done
