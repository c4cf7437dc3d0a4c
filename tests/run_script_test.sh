#!/bin/sh
# `make run` without a display, as a newcomer runs it: the run script with the
# program given by a relative path from the source folder, on the samples and
# on a relative picture path. Each run must exit 0 and leave its screenshots
# and its state in the output folder. Usage: run_script_test.sh RELATIVE-EXE
set -u
exe=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run" TZ=UTC
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
passed=0 failed=0

# check NAME LEAST-ENTRIES [PATH-WORDS...]
check() {
  name=$1 entries=$2
  shift 2
  out="$tmp/out-$name"
  if ! LUMO_OUT="$out" sh scripts/run.sh "$exe" "$@" >"$tmp/log" 2>&1; then
    echo "FAIL $name: run.sh exited non-zero"; cat "$tmp/log"; failed=$((failed + 1)); return
  fi
  got=$(grep -o '"path"' "$out/demo-state.json" 2>/dev/null | wc -l)
  shots=$(ls "$out"/*.png 2>/dev/null | wc -l)
  if [ "$shots" -lt 1 ] || [ "$got" -lt "$entries" ] || ! grep -q "$out/" "$tmp/log"; then
    echo "FAIL $name: $shots screenshots, $got entries (wanted at least $entries), output:"; cat "$tmp/log"
    failed=$((failed + 1)); return
  fi
  echo "ok $name"; passed=$((passed + 1))
}

check samples "$(ls samples/*.jpg samples/*.png samples/*.bmp samples/*.gif | wc -l)"
check relative-picture 1 samples/harbour.jpg
mkdir -p "$tmp/my pictures" && cp samples/ring.png "$tmp/my pictures/"
(cd "$tmp" && LUMO_OUT="$tmp/out-blank" sh "$OLDPWD/scripts/run.sh" "$OLDPWD/$exe" my pictures >"$tmp/log" 2>&1) \
  && grep -q '"path"' "$tmp/out-blank/demo-state.json" && { echo "ok blank-words"; passed=$((passed + 1)); } \
  || { echo "FAIL blank-words"; cat "$tmp/log"; failed=$((failed + 1)); }
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
