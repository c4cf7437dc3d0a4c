#!/bin/sh
# make fuzz: runs every libFuzzer target of the sanitizer build for SECONDS
# seconds, starting from its seeds; new crashers land in fuzz/crashers/NAME/.
# FUZZ_TARGETS="bmp zip" limits the run to those targets. Exits non-zero,
# naming them, when any target found a crash, a leak or a time-out.
set -eu
build=$1
seconds=${2:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
found=""
for exe in "$build"/fuzz_*; do
  # Only the fuzzer programs: the build also holds fuzz_*_autogen folders.
  [ -f "$exe" ] && [ -x "$exe" ] || continue
  name=$(basename "$exe" | sed 's/^fuzz_//')
  if [ -n "${FUZZ_TARGETS:-}" ]; then
    case " $FUZZ_TARGETS " in *" $name "*) ;; *) continue ;; esac
  fi
  work=$(mktemp -d)
  mkdir -p "$top/fuzz/crashers/$name"
  seeds="$top/fuzz/seeds/$name"
  [ -d "$seeds" ] || seeds=""
  echo "== fuzz $name for ${seconds}s"
  "$exe" -max_total_time="$seconds" -artifact_prefix="$top/fuzz/crashers/$name/" "$work" $seeds \
    || found="$found $name"
  rm -rf "$work"
done
if [ -n "$found" ]; then
  echo "fuzz: findings in:$found (see fuzz/crashers/)" >&2
  exit 1
fi
echo "fuzz: no findings"
