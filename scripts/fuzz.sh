#!/bin/sh
# make fuzz: runs every libFuzzer target of the sanitizer build for SECONDS
# seconds, starting from its seeds; new crashers land in fuzz/crashers/NAME/.
set -eu
build=$1
seconds=${2:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
for exe in "$build"/fuzz_*; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe" | sed 's/^fuzz_//')
  work=$(mktemp -d)
  mkdir -p "$top/fuzz/crashers/$name"
  seeds="$top/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds=""
  echo "== fuzz $name for ${seconds}s"
  "$exe" -max_total_time="$seconds" -artifact_prefix="$top/fuzz/crashers/$name/" "$work" $seeds || true
  rm -rf "$work"
done
