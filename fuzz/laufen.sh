#!/usr/bin/env bash
# Runs each fuzz target for a given time on one core, one after the other.
#   fuzz/laufen.sh [BUILD-FOLDER [SECONDS [TARGET ...]]]   (defaults: build-fuzz, 60, all)
# The targets: fuzz_laden (the loader) and fuzz_standort (the location check and the
# copy without metadata). Build them first:
#   cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DFOTOSCHLIFF_FUZZ=ON && cmake --build build-fuzz
# Inputs that reach new code collect in BUILD-FOLDER/fuzz/korpus/TARGET (kept between
# runs); an input that crashes lands in BUILD-FOLDER/fuzz/funde/TARGET/ and the script fails.
set -euo pipefail
ordner=${1:-build-fuzz}
sekunden=${2:-60}
shift $(( $# < 2 ? $# : 2 ))
ziele=("$@")
[ ${#ziele[@]} -gt 0 ] || ziele=(fuzz_laden fuzz_standort)
fuzz=$ordner/fuzz
for ziel in "${ziele[@]}"; do
  mkdir -p "$fuzz/korpus/$ziel" "$fuzz/funde/$ziel"
  echo "== $ziel, $sekunden s"
  "$fuzz/$ziel" \
    -max_total_time="$sekunden" \
    -max_len=16384 \
    -timeout=20 \
    -rss_limit_mb=2048 \
    -dict="$fuzz/jpeg.dict" \
    -artifact_prefix="$fuzz/funde/$ziel/" \
    -print_final_stats=1 \
    "$fuzz/korpus/$ziel" "$fuzz/saat"
done
