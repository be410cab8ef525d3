#!/usr/bin/env bash
# Makes Ravelon-<version>.msi and Ravelon-<version>-portable.zip from Ravelon.exe.
# Every time inside them is SOURCE_DATE_EPOCH (the last commit's), and the
# package code is derived from the contents, so the same inputs give the same bytes.
set -euo pipefail
exe=$1 icon=$2 wxs=$3 version=$4 out=$5
here=$(cd "$(dirname "$0")/.." && pwd)
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 0)}

# A GUID from a SHA-256, shaped as a name-based (version 5) UUID.
guid() {
  local h; h=$(sha256sum | cut -c1-32)
  printf '%s-%s-5%s-%x%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" $(( (0x${h:16:1} & 3) | 8 )) "${h:17:3}" \
    "${h:20:12}" | tr a-f A-F
}
# A new version is a new product; a new build of a version is a new package.
product_code=$(echo "Ravelon product $version" | guid)
package_code=$(cat "$exe" "$icon" "$wxs" | guid)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Ravelon.exe"
cp "$icon" "$stage/ravelon.ico"
cp "$wxs" "$stage/ravelon.wxs"
touch -d "@$epoch" "$stage"/*
mkdir -p "$out"
msi=Ravelon-$version.msi zip=Ravelon-$version-portable.zip
at=$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')
(
  cd "$stage"
  # wixl stamps the current time and a random package code; both are set again here.
  TZ=UTC faketime -f "@$at" wixl -a x64 -D ProductCode="$product_code" -D Version="$version" -D Icon=ravelon.ico -D Exe=Ravelon.exe \
    -o "$msi" ravelon.wxs
  TZ=UTC faketime -f "@$at" msibuild "$msi" -s "Ravelon $version" "Ravelon developers" "x64;1033" "{$package_code}"
  TZ=UTC zip -q -X -9 "$zip" Ravelon.exe
)
mv "$stage/$msi" "$stage/$zip" "$out/"
