#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop and a package need:
# both programs and their versions, the desktop entry naming them, the icon at every size, the
# AppStream metadata, the notices, and manual pages that name every option of --help.
# Usage: install_test.sh BUILD_DIR [without-manuals]  (a build without help2man has none)
set -euo pipefail
build=$1
manuals=yes
[ "${2:-}" = without-manuals ] && manuals=no
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/tulmera bin/tulmera-batch share/applications/tulmera.desktop \
         share/metainfo/io.github.tulmera.Tulmera.metainfo.xml share/doc/tulmera/copyright \
         share/doc/tulmera/NOTICE; do
  [ -e "$prefix/$f" ] || { echo "missing $f"; exit 1; }
done
[ -x "$prefix/bin/tulmera" ] || { echo "bin/tulmera is not executable"; exit 1; }
for size in 16 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/tulmera.png
  [ -s "$icon" ] || { echo "missing icon $icon"; exit 1; }
done
entry=$prefix/share/applications/tulmera.desktop
grep -qx 'Exec=tulmera --user-data-workdir' "$entry" && grep -qx 'Icon=tulmera' "$entry" \
  && grep -qx 'Type=Application' "$entry" \
  || { echo "the desktop entry does not start tulmera with its icon in its data folder"; exit 1; }

version=$(sed -n 's/^project(Tulmera VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$("$prefix/bin/tulmera-batch" --version)" = "tulmera-batch $version" ] \
  || { echo "tulmera-batch --version does not say $version"; exit 1; }
[ "$(QT_QPA_PLATFORM=offscreen "$prefix/bin/tulmera" --version)" = "tulmera $version" ] \
  || { echo "tulmera --version does not say $version"; exit 1; }

# Every option that --help lists appears in the manual page.
check_manual() {
  local program=$1 page=$2 missing=0
  local text
  text=$(zcat "$page" | sed 's/\\-/-/g')
  for option in $("$program" --help | grep -oE '(^|[[:space:]])--[a-zA-Z][a-zA-Z0-9-]*' | sort -u); do
    grep -qF -- "$option" <<< "$text" || { echo "$page lacks $option"; missing=1; }
  done
  return $missing
}
if [ "$manuals" = yes ]; then
  for page in tulmera.1.gz tulmera-batch.1.gz; do
    [ -e "$prefix/share/man/man1/$page" ] || { echo "missing share/man/man1/$page"; exit 1; }
  done
  check_manual "$prefix/bin/tulmera-batch" "$prefix/share/man/man1/tulmera-batch.1.gz"
  QT_QPA_PLATFORM=offscreen check_manual "$prefix/bin/tulmera" "$prefix/share/man/man1/tulmera.1.gz"
fi
echo "install layout complete"
