#!/usr/bin/env bash
# `cmake --install` puts the program, its launcher, icon and metainfo where a desktop finds them.
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
fail=0
for f in bin/ravelon bin/ravelon-decode share/man/man1/ravelon-decode.1.gz share/applications/org.ravelon.Ravelon.desktop \
         share/icons/hicolor/32x32/apps/org.ravelon.Ravelon.png share/metainfo/org.ravelon.Ravelon.metainfo.xml; do
  if [ -e "$root/usr/$f" ]; then echo "ok: $f"; else echo "MISSING: $f"; fail=1; fi
done
grep -q '^Icon=org.ravelon.Ravelon$' "$root/usr/share/applications/org.ravelon.Ravelon.desktop" || { echo "desktop file names another icon"; fail=1; }
grep -q '<release version="1.01"' "$root/usr/share/metainfo/org.ravelon.Ravelon.metainfo.xml" || { echo "metainfo lacks 1.01"; fail=1; }
for size in 16 24 32 48 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/org.ravelon.Ravelon.png" | grep -q "$size x $size" \
    || { echo "no $size x $size icon"; fail=1; }
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/org.ravelon.Ravelon.svg" || { echo "no scalable icon"; fail=1; }
zcat "$root/usr/share/man/man1/ravelon.1.gz" | grep -q '^\.TH RAVELON 1' || { echo "no man page"; fail=1; }
exit $fail
