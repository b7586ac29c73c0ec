#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs: both programs,
# the desktop entry naming them and the icon at every size.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/tulmera bin/tulmera-batch share/applications/tulmera.desktop; do
  [ -e "$prefix/$f" ] || { echo "missing $f"; exit 1; }
done
[ -x "$prefix/bin/tulmera" ] || { echo "bin/tulmera is not executable"; exit 1; }
for size in 16 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/tulmera.png
  [ -s "$icon" ] || { echo "missing icon $icon"; exit 1; }
done
entry=$prefix/share/applications/tulmera.desktop
grep -qx 'Exec=tulmera' "$entry" && grep -qx 'Icon=tulmera' "$entry" && grep -qx 'Type=Application' "$entry" \
  || { echo "the desktop entry does not start tulmera with its icon"; exit 1; }
"$prefix/bin/tulmera-batch" --help > /dev/null
echo "install layout complete"
