#!/bin/sh
# make run: opens the viewer on the given path (or the bundled samples). With
# no display it runs the demo script offscreen and writes screenshots to out/.
set -eu
exe=$1
shift
top=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || set -- "$top/samples"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe" "$@"
fi
mkdir -p "$top/out"
echo "lumo: no display; running scripts/demo.lumo offscreen, screenshots in out/"
cd "$top/out"
"$exe" --offscreen --script "$top/scripts/demo.lumo" -- "$@"
ls -1 "$top/out"/*.png
