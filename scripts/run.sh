#!/bin/sh
# make run: opens the viewer on the given path (or the bundled samples). With
# no display it runs the demo script offscreen and writes screenshots to out/
# (LUMO_OUT names another folder). The program and a relative path are taken
# from the folder this script was started in.
set -eu
exe=$1
shift
top=$(cd "$(dirname "$0")/.." && pwd)
case $exe in
  */*) exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe") ;;
esac
if [ $# -eq 0 ]; then
  set -- "$top/samples"
else
  # The program joins its path words with single blanks; do it here so a
  # relative path can be made absolute before the demo changes folder.
  path="$*"
  case $path in
    /*) ;;
    *) path="$(pwd)/$path" ;;
  esac
  set -- "$path"
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe" "$@"
fi
out=${LUMO_OUT:-$top/out}
mkdir -p "$out"
out=$(cd "$out" && pwd)
echo "lumo: no display; running scripts/demo.lumo offscreen, screenshots in $out/"
cd "$out"
"$exe" --offscreen --script "$top/scripts/demo.lumo" -- "$@"
ls -1 "$out"/*.png
