#!/usr/bin/env bash
# The .deb: lintian finds no error and no warning; software centres list the
# program with its icon (appstreamcli validate and compose on its files); it
# installs and purges without a trace (in a private dpkg root, not the system's).
#   check_deb.sh RAVELON.DEB
set -u
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }

lint=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1)
lint_status=$?
lint=$(grep -v 'running with root privileges' <<<"$lint")
check "lintian: no errors, no warnings" "[[ \$lint_status == 0 ]] && ! grep -q '^[EW]:' <<<\"\$lint\""
[[ -n $lint ]] && echo "$lint"

dpkg-deb -x "$deb" "$work/tree"
metainfo=$work/tree/usr/share/metainfo/org.ravelon.Ravelon.metainfo.xml
check "appstreamcli validate" "appstreamcli validate --no-net --no-color '$metainfo' >'$work/validate' 2>&1"
cat "$work/validate"
appstreamcli compose --no-color --origin=ravelon --result-root="$work/out" "$work/tree" >"$work/compose" 2>&1
catalog=$(zcat "$work/out/usr/share/swcatalog/xml/ravelon.xml.gz" 2>/dev/null)
check "appstreamcli compose lists the program" "grep -q '<id>org.ravelon.Ravelon</id>' <<<\"\$catalog\""
check "... with its 64 x 64 and 128 x 128 icons" \
  "grep -q 'width=\"64\"' <<<\"\$catalog\" && grep -q 'width=\"128\"' <<<\"\$catalog\" &&
   [[ -f '$work/out/usr/share/swcatalog/icons/ravelon/64x64/org.ravelon.Ravelon.png' ]]"
check "... with no issue reported" "! grep -q -i -E 'hint|error|warning' '$work/compose' && [[ ! -d '$work/out/usr/share/swcatalog/hints' ]]"

root=$work/root admin=$work/root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates"
touch "$admin/status" "$admin/available"
arch=$(dpkg-deb -f "$deb" Architecture)
[[ $arch == "$(dpkg --print-architecture)" ]] || dpkg --root="$root" --force-not-root --add-architecture "$arch"
pkg() { dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless "$@" >/dev/null 2>&1; }
pkg -i "$deb"
check "dpkg -i installs the program" "[[ -x '$root/usr/bin/ravelon' ]]"
pkg --purge ravelon
left=$(cd "$root" && find . -mindepth 1 -not -path './var' -not -path './var/lib' -not -path './var/lib/dpkg*')
check "dpkg -r --purge leaves nothing behind" "[[ -z \$left ]]"
[[ -n $left ]] && echo "$left"
exit $fail
