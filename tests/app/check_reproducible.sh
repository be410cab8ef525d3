#!/usr/bin/env bash
# Two clean clones of the same commit, in directories of different names and
# depths, give bit-identical release artefacts.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
one=$work/a/ravelon two=$work/second-place/deeper/clone
for dir in "$one" "$two"; do
  git clone -q "$top" "$dir" && "$dir/scripts/release.sh" >"$dir.log" 2>&1 || { cat "$dir.log"; echo "FAILED: the release in $dir"; exit 1; }
done
cat "$one/dist/SHA256SUMS"
fail=0
# No build path inside: neither clone's directory appears in any file of its artefacts.
for dir in "$one" "$two"; do
  unpacked=$dir.unpacked
  mkdir -p "$unpacked"
  for deb in "$dir"/dist/*.deb; do dpkg-deb -x "$deb" "$unpacked/$(basename "$deb")"; done
  (cd "$unpacked" && unzip -q "$dir"/dist/*-portable.zip && msiextract -C "$unpacked/msi" "$dir"/dist/*.msi >/dev/null)
  unzip -q "$dir"/dist/ravelon-web-*.zip -d "$unpacked/web"
  if grep -r -a -l -F "$work" "$unpacked" "$dir/dist"; then echo "FAILED: a build path inside"; fail=1; fi
done
# Every time inside is the last commit's.
epoch=$(git -C "$top" log -1 --format=%ct)
stamp=$(TZ=UTC date -d "@$epoch" '+%Y-%m-%d %H:%M')
for deb in "$one"/dist/*.deb; do
  times=$(TZ=UTC dpkg-deb --fsys-tarfile "$deb" | TZ=UTC tar -tv --full-time | awk '{print $4" "substr($5,1,5)}' | sort -u)
  if [[ $times != "$stamp" ]]; then echo "FAILED: times in $(basename "$deb") other than $stamp: $times"; fail=1; fi
done
zipped=$(TZ=UTC unzip -l "$one"/dist/*-portable.zip | awk '/Ravelon.exe/{print $2" "$3}')
if [[ $zipped != "$stamp" ]]; then echo "FAILED: the zip's time $zipped is not $stamp"; fail=1; fi
site_times=$(TZ=UTC unzip -l "$one"/dist/ravelon-web-*.zip | awk '$4 ~ /[a-z]/ && $2 ~ /-/ {print $2" "$3}' | sort -u)
if [[ $site_times != "$stamp" ]]; then echo "FAILED: times in the web zip other than $stamp: $site_times"; fail=1; fi
if ! msiinfo suminfo "$one"/dist/*.msi | grep -q "Created: $(TZ=UTC LC_ALL=C date -d "@$epoch" '+%a %b %e %H:%M')"; then
  echo "FAILED: the installer's creation time is not the commit's"; fail=1
fi
((fail == 0)) && echo "ok: no build path and no time but the last commit's inside"
if ((fail == 0)) && diff "$one/dist/SHA256SUMS" "$two/dist/SHA256SUMS"; then
  echo "ok: both clones give the same $(wc -l <"$one/dist/SHA256SUMS") artefacts, bit for bit"
  exit 0
fi
echo "FAILED: the artefacts differ"
for f in $(cd "$one/dist" && ls); do
  cmp -s "$one/dist/$f" "$two/dist/$f" || echo "differs: $f ($(cmp "$one/dist/$f" "$two/dist/$f" | head -1))"
done
exit 1
