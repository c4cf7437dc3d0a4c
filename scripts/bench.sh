#!/bin/sh
# make bench: runs every benchmark (medians of 5 repetitions). Benchmarks that
# need the generated picture corpus read it from $LUMO_BENCH_DIR
# (default /tmp/lumo-bench, made with ../shared/bench/make-corpus DIR small).
set -eu
build=$1
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${LUMO_BENCH_DIR:-/tmp/lumo-bench}
if [ ! -f "$dir/CORPUS-INFO.txt" ] && [ -x "$top/../shared/bench/make-corpus" ]; then
  echo "lumo: making the benchmark corpus in $dir (small scale)"
  rm -rf "$dir"
  "$top/../shared/bench/make-corpus" "$dir" small
fi
# 16-bit copies of two PNGs of the corpus (RGB and RGBA), for the decoder's
# 16-bit path.
if [ -d "$dir/png-2000x1500" ] && [ ! -d "$dir/png16-2000x1500" ] && command -v convert >/dev/null; then
  mkdir -p "$dir/png16-2000x1500"
  convert "$dir/png-2000x1500/png_03.png" "PNG48:$dir/png16-2000x1500/png_03.png"
  convert "$dir/png-2000x1500/png_02.png" "PNG64:$dir/png16-2000x1500/png_02.png"
fi
export LUMO_BENCH_DIR="$dir"
for exe in "$build"/bench_*; do
  [ -x "$exe" ] || continue
  echo "== $(basename "$exe")"
  "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
