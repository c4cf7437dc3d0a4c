#!/bin/sh
# make bench: runs every benchmark (medians of 5 repetitions). Benchmarks that
# need the generated picture corpus read it from $LUMO_BENCH_DIR
# (default /tmp/lumo-bench, made with ../shared/bench/make-corpus DIR small).
# Then the whole program in list mode and on pictures (below). `bench.sh BUILD
# list` or `bench.sh BUILD pictures` runs only that part.
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

# Whole-program runs of pictures, each beside its floor measured in the same
# rounds: medians of PICTURE_RUNS rounds that run every command once in turn
# (milliseconds; a lumo figure is net of the same run on a small picture of
# the same kind, or without a picture for the archive or folder). The
# thumbnails of 20 camera JPEGs in a folder and in a stored archive, built by
# the worker in strip mode, against two djpeg processes at 1/8; a 4000 x 3000 JPEG opened on the command line to
# its first picture against djpeg at 1/4; a 10000 x 10000 PNG against
# vipsthumbnail, and its peak memory against a small PNG's. The 4000 x 3000
# JPEG zoomed from fit to 100 % until its sharp window is on screen (net of
# the same run zooming to fit, where it already is), against djpeg of a
# crop of the window's 726 x 630 pixels made by jpegtran.
picture_bench() {
  lumo=$1
  work=$dir/pictures
  runs=${PICTURE_RUNS:-9}
  if [ ! -f "$work/made" ]; then
    rm -rf "$work"
    mkdir -p "$work/root" "$work/jpegs"
    ls "$dir/jpeg-4000x3000"/*.JPG | head -20 | xargs -I{} cp {} "$work/jpegs/"
    (cd "$work/jpegs" && zip -q -0 ../root/photos.zip ./*.JPG)
    cp "$work/jpegs/$(ls "$work/jpegs" | head -1)" "$work/root/one.jpg"
    convert "$work/root/one.jpg" -resize 64x48 "$work/root/small.jpg"
    convert "$dir/png-2000x1500/png_03.png" -resize '10000x10000!' -depth 8 "PNG24:$work/root/big.png"
    convert "$dir/png-2000x1500/png_03.png" -resize '64x64!' -depth 8 "PNG24:$work/root/small.png"
    printf 'idle\nquit\n' >"$work/open.lumo"
    jpegtran -crop 726x630+0+0 -outfile "$work/crop.jpg" "$work/root/one.jpg"
    printf 'browse \\photos.zip 0\nidle\nquit\n' >"$work/zip.lumo"
    touch "$work/made"
  fi
  # Zoom to 100 % (command 32793), or to fit (32796) where the picture is.
  printf 'idle\ncommand 32793\nidle\nquit\n' >"$work/zoom.lumo"
  printf 'idle\ncommand 32796\nidle\nquit\n' >"$work/fit.lumo"
  if [ ! -d "$work/root/folder" ]; then
    cp -r "$work/jpegs" "$work/root/folder"
    printf 'browse \\folder 0\nidle\nquit\n' >"$work/folder.lumo"
  fi
  rm -f "$work"/*.ms
  # lumo with a script of $work and the rest as its path.
  run_picture() {
    script=$1
    shift
    elapsed_ms "$lumo" --offscreen --device-root "$work/root" --registry "$work/registry.reg" --script "$work/$script" "$@"
  }
  i=0
  while [ $i -lt "$runs" ]; do
    run_picture zip.lumo >>"$work/zip.ms"
    run_picture folder.lumo >>"$work/folder.ms"
    run_picture open.lumo >>"$work/start.ms"
    elapsed_ms sh -c "ls '$work/jpegs'/*.JPG | xargs -P2 -n1 djpeg -scale 1/8 -outfile /dev/null" >>"$work/djpeg8.ms"
    for picture in one.jpg small.jpg big.png small.png; do
      run_picture open.lumo "$work/root/$picture" >>"$work/$picture.ms"
    done
    elapsed_ms djpeg -scale 1/4 -outfile /dev/null "$work/root/one.jpg" >>"$work/djpeg4.ms"
    run_picture zoom.lumo "$work/root/one.jpg" >>"$work/zoom.ms"
    run_picture fit.lumo "$work/root/one.jpg" >>"$work/fit.ms"
    elapsed_ms djpeg -outfile /dev/null "$work/crop.jpg" >>"$work/crop.ms"
    elapsed_ms vipsthumbnail --size 320 -o "$work/thumb.png" "$work/root/big.png" >>"$work/vips.ms"
    i=$((i + 1))
  done
  echo "== pictures, whole program (medians of $runs)"
  net() { echo "$(median <"$work/$1.ms") $(median <"$work/$2.ms")" | awk '{ print $1 - $2 }'; }
  printf '%s folder thumbnails: lumo %s ms net   floor 2 x djpeg 1/8 %s ms\n' "$(ls "$work/jpegs" | wc -l)" "$(net folder start)" "$(median <"$work/djpeg8.ms")"
  printf '%s archive thumbnails: lumo %s ms net   floor 2 x djpeg 1/8 %s ms\n' "$(ls "$work/jpegs" | wc -l)" "$(net zip start)" "$(median <"$work/djpeg8.ms")"
  printf '4000 x 3000 JPEG shown: lumo %s ms net   floor djpeg 1/4 %s ms\n' "$(net one.jpg small.jpg)" "$(median <"$work/djpeg4.ms")"
  printf '4000 x 3000 JPEG zoomed to 100 %%, sharp: lumo %s ms net   floor djpeg of the 726 x 630 crop %s ms\n' "$(net zoom fit)" "$(median <"$work/crop.ms")"
  printf '10000 x 10000 PNG shown: lumo %s ms net   floor vipsthumbnail %s ms\n' "$(net big.png small.png)" "$(median <"$work/vips.ms")"
  for picture in big.png small.png; do
    /usr/bin/time -f "%M KiB peak: lumo $picture" "$lumo" --offscreen --device-root "$work/root" \
      --registry "$work/registry.reg" --script "$work/open.lumo" "$work/root/$picture" 2>&1 | grep 'KiB peak'
  done
}

if [ "${2:-}" = list ]; then
  list_bench "$build/lumo"
  exit 0
fi
if [ "${2:-}" = pictures ]; then
  picture_bench "$build/lumo"
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
picture_bench "$build/lumo"
