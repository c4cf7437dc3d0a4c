#!/bin/sh
# The installed tree: `cmake --install` into a temporary DESTDIR must hold the
# program, the desktop entry, the MIME file, the icons, the metainfo and its
# screenshots; the MIME file must teach the desktop the album type; and the
# installed program must start offscreen and show a picture.
# Usage: install_test.sh BUILD-DIR APP-ID SOURCE-DIR
set -u
build=$1 id=$2 source=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0
ok() { echo "ok $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1"; failed=$((failed + 1)); }

prefix=/usr/local
if DESTDIR="$tmp/dest" cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  ok "cmake --install"
else
  fail "cmake --install"; cat "$tmp/install.log"
fi
root="$tmp/dest$prefix"
for f in bin/lumo share/applications/$id.desktop share/mime/packages/$id.xml \
         share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg \
         share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png share/lumo/screenshots/strip.png \
         share/lumo/screenshots/settings.png; do
  if [ -s "$root/$f" ]; then ok "$f"; else fail "$f is missing or empty"; fi
done
[ -x "$root/bin/lumo" ] && ok "the program is executable" || fail "bin/lumo is not executable"

entry="$root/share/applications/$id.desktop"
for line in "Exec=lumo -- %f" "Icon=$id" "Categories=Graphics;Viewer;"; do
  if grep -qxF "$line" "$entry"; then ok "desktop entry: $line"; else fail "desktop entry lacks $line"; fi
done
for type in $(grep -v '^#' "$source/res/file_types.txt" | awk 'NF { print $2 }'); do
  if grep -q "^MimeType=\(.*;\)\?$type;" "$entry"; then ok "desktop entry offers $type"; else fail "desktop entry lacks $type"; fi
done

# The MIME file as the desktop compiles it: *.lab files become albums.
if command -v update-mime-database >/dev/null 2>&1; then
  mkdir -p "$tmp/mime/packages"
  cp "$root/share/mime/packages/$id.xml" "$tmp/mime/packages/"
  if update-mime-database "$tmp/mime" >"$tmp/mime.log" 2>&1 && grep -q 'application/x-lumo-album:\*\.lab' "$tmp/mime/globs2"; then
    ok "*.lab is an album to the MIME database"
  else
    fail "the MIME file does not define *.lab"; cat "$tmp/mime.log"
  fi
else
  echo "skip: update-mime-database not installed"
fi

# The installed program, offscreen, on a folder holding one picture.
mkdir -p "$tmp/device/pics" "$tmp/home" "$tmp/run" && chmod 700 "$tmp/run"
cp "$source/samples/harbour.jpg" "$tmp/device/pics/"
printf 'idle\nshot %s/shown.png\ndump -\n' "$tmp" >"$tmp/script.lumo"
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home" \
     XDG_RUNTIME_DIR="$tmp/run" "$root/bin/lumo" --offscreen --device-root "$tmp/device" \
     --registry "$tmp/registry.reg" --script "$tmp/script.lumo" -- "$tmp/device/pics" >"$tmp/dump.json" 2>"$tmp/run.log" \
   && grep -q '"hasPicture": true' "$tmp/dump.json" && [ -s "$tmp/shown.png" ]; then
  ok "the installed program starts offscreen and shows a picture"
else
  fail "the installed program did not show the picture"; cat "$tmp/run.log"
fi

# On a desktop (no --device-root), ticking png makes the installed Lumo the
# default viewer of image/png in the user's list, beside the lines it had.
printf '[Default Applications]\ntext/plain=editor.desktop\n' >"$tmp/home/mimeapps.list"
printf 'command 32791\nselect 12320 "File Association"\ncheck 1054 1\nclick 1\n' >"$tmp/tick.lumo"
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LUMO_DEVICE_ROOT HOME="$tmp/home" \
     XDG_CONFIG_HOME="$tmp/home" XDG_DATA_HOME="$root/share" XDG_DATA_DIRS="$tmp/none" XDG_RUNTIME_DIR="$tmp/run" \
     "$root/bin/lumo" --offscreen --registry "$tmp/registry.reg" --script "$tmp/tick.lumo" 2>"$tmp/tick.log" \
   && grep -qxF "image/png=$id.desktop" "$tmp/home/mimeapps.list" \
   && grep -qxF "text/plain=editor.desktop" "$tmp/home/mimeapps.list"; then
  ok "ticking png makes the installed Lumo the desktop's viewer of image/png"
else
  fail "the desktop's default viewer of image/png was not set"; cat "$tmp/tick.log" "$tmp/home/mimeapps.list"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
