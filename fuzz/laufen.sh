#!/usr/bin/env bash
# Runs the loader's fuzz target for a given time on one core.
#   fuzz/laufen.sh [BUILD-FOLDER [SECONDS]]     (defaults: build-fuzz, 60)
# Build it first:
#   cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DFOTOSCHLIFF_FUZZ=ON && cmake --build build-fuzz
# Inputs that reach new code collect in BUILD-FOLDER/fuzz/korpus (kept between runs);
# an input that crashes lands in BUILD-FOLDER/fuzz/funde/ and the script fails.
set -euo pipefail
ordner=${1:-build-fuzz}
sekunden=${2:-60}
fuzz=$ordner/fuzz
mkdir -p "$fuzz/korpus" "$fuzz/funde"
exec "$fuzz/fuzz_laden" \
  -max_total_time="$sekunden" \
  -max_len=16384 \
  -timeout=20 \
  -rss_limit_mb=2048 \
  -dict="$fuzz/jpeg.dict" \
  -artifact_prefix="$fuzz/funde/" \
  -print_final_stats=1 \
  "$fuzz/korpus" "$fuzz/saat"
