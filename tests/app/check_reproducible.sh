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
if diff "$one/dist/SHA256SUMS" "$two/dist/SHA256SUMS"; then
  echo "ok: both clones give the same $(wc -l <"$one/dist/SHA256SUMS") artefacts, bit for bit"
  exit 0
fi
echo "FAILED: the artefacts differ"
for f in $(cd "$one/dist" && ls); do
  cmp -s "$one/dist/$f" "$two/dist/$f" || echo "differs: $f ($(cmp "$one/dist/$f" "$two/dist/$f" | head -1))"
done
exit 1
