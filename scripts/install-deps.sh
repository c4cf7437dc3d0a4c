#!/bin/sh
# Installs the Debian packages listed in scripts/packages.txt that are missing.
# Touches nothing when everything is present; runs apt-get as root, through
# sudo when available, or prints the exact command to run and fails.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
pkgs=$(grep -v '^#' "$here/packages.txt" | grep -v '^[[:space:]]*$')
missing=""
for p in $pkgs; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
cmd="apt-get install -y --no-install-recommends$missing"
if [ "$(id -u)" -eq 0 ]; then
  run=""
elif command -v sudo >/dev/null 2>&1; then
  run="sudo"
else
  echo "lumo: these packages are missing; as root run:" >&2
  echo "  apt-get update && $cmd" >&2
  exit 1
fi
echo "lumo: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$run apt-get update -q
$run $cmd
