#!/bin/sh
# make bench: runs every benchmark (medians of 5 repetitions). Benchmarks that
# need the generated picture corpus read it from $LUMO_BENCH_DIR
# (default /tmp/lumo-bench, made with ../shared/bench/make-corpus DIR small).
# Then the whole program in list mode (below). `bench.sh BUILD list` runs only
# that part.
set -eu
build=$1
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${LUMO_BENCH_DIR:-/tmp/lumo-bench}

# Milliseconds (three decimals) a command takes, its output dropped.
elapsed_ms() {
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000)) | sed 's/...$/.&/'
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# The file list: a worker build (`browse`) of a folder of 2,000 and of 20,000
# pictures in list mode, to `idle` (every entry has its row), beside `find`
# reading the same facts (names, sizes, times). A lumo figure is net of the
# same run on an empty folder; medians of LIST_RUNS alternating runs. The
# list reads no picture: the first file is a tiny JPEG (the main view shows
# it), the others are empty.
list_bench() {
  lumo=$1
  work=$dir/list
  runs=${LIST_RUNS:-7}
  if [ ! -f "$work/made" ]; then
    rm -rf "$work"
    mkdir -p "$work/root/empty" "$work/root/f2000" "$work/root/f20000" "$work/home"
    convert -size 8x8 xc:gray "$work/tiny.jpg" 2>/dev/null || : >"$work/tiny.jpg"
    for n in 2000 20000; do
      cp "$work/tiny.jpg" "$work/root/f$n/p00000.jpg"
      i=1
      while [ $i -lt $n ]; do
        : >"$work/root/f$n/p$(printf %05d $i).jpg"
        i=$((i + 1))
      done
    done
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Setting]\n"ThumbnailView Mode"=dword:00000000\n\n' \
      >"$work/list.reg"
    touch "$work/made"
  fi
  chmod 700 "$work/home"
  # lumo on a folder with a script ending in END (quit, or a dump).
  run_list() {
    printf 'browse \\%s\nidle\n%s\n' "$1" "$2" >"$work/script.lumo"
    cp "$work/list.reg" "$work/registry.reg"
    elapsed_ms env HOME="$work/home" XDG_CONFIG_HOME="$work/home" XDG_RUNTIME_DIR="$work/home" TZ=UTC \
      "$lumo" --offscreen --device-root "$work/root" --registry "$work/registry.reg" --script "$work/script.lumo"
  }
  for end in quit "dump $work/dump.json"; do
    rm -f "$work"/*.ms
    i=0
    while [ $i -lt "$runs" ]; do
      for f in empty f2000 f20000; do run_list $f "$end" >>"$work/$f.ms"; done
      for f in f2000 f20000; do elapsed_ms find "$work/root/$f" -printf '%s %T@\n' >>"$work/find$f.ms"; done
      i=$((i + 1))
    done
    base=$(median <"$work/empty.ms")
    echo "== list mode, worker build to idle, then $(echo "$end" | cut -d' ' -f1) (medians of $runs; lumo on an empty folder: $base ms)"
    for f in f2000 f20000; do
      n=${f#f}
      median <"$work/$f.ms" | awk -v n=$n -v base="$base" -v find="$(median <"$work/find$f.ms")" \
        '{ net = $1 - base; printf "%6d rows: lumo %8.1f ms net (%.2f us a row)   find %7.1f ms   floor 2 x find %7.1f ms\n", n, net, net * 1000 / n, find, 2 * find }'
    done
  done
  grep -q '"rows": 20000' "$work/dump.json" || echo "lumo: the list did not show every row" >&2
}

if [ "${2:-}" = list ]; then
  list_bench "$build/lumo"
  exit 0
fi
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
list_bench "$build/lumo"
