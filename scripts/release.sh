#!/usr/bin/env bash
# Makes every release artefact into dist/: the Debian packages (amd64, arm64), the Windows
# installer, the portable zip of Ravelon.exe, the command-line Ravelon-decode.exe,
# the web edition as a static site (ravelon-web-<version>.zip), and SHA256SUMS. The same commit
# gives the same bytes wherever it is built: every time stamp inside is the
# last commit's (SOURCE_DATE_EPOCH).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

cmake --preset app >/dev/null
cmake --build --preset app -j "$jobs"
(cd build/app && cpack -G DEB >/dev/null)
cmake --preset app-arm64 >/dev/null
cmake --build --preset app-arm64 -j "$jobs"
(cd build/app-arm64 && cpack -G DEB >/dev/null)
cmake --preset app-mingw -DRAVELON_PACKAGES=ON >/dev/null
cmake --build --preset app-mingw -j "$jobs"
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
version=$(sed -n 's/^project(Ravelon VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

rm -rf dist
mkdir dist
cp build/app/ravelon_*_amd64.deb build/app-arm64/ravelon_*_arm64.deb build/app-mingw/packages/Ravelon-*.msi build/app-mingw/packages/Ravelon-*-portable.zip dist/
cp build/app-mingw/cli/Ravelon-decode.exe "dist/Ravelon-decode-$version.exe"
# The site's files in a fixed order, each with the commit's time and plain permissions.
stage=$(mktemp -d)
cp -r build/web/site "$stage/site"
(cd "$stage/site" && find . -type f -printf '%P\n' | LC_ALL=C sort >../files && chmod 644 $(cat ../files) &&
  touch -d "@$SOURCE_DATE_EPOCH" $(cat ../files) && TZ=UTC zip -q -X -9 "$OLDPWD/dist/ravelon-web-$version.zip" -@ <../files)
rm -rf "$stage"
(cd dist && sha256sum -- * > SHA256SUMS)
echo "release: $(ls dist | tr '\n' ' ')in dist/"
