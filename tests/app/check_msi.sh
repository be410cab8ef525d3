#!/usr/bin/env bash
# The installer under Wine, in a prefix of its own: a silent per-user install
# puts the program, a Start-menu shortcut and an entry in the list of installed
# programs in place; the shortcut starts the installed program; a silent
# uninstall leaves no file, shortcut or registry value of it behind. A later
# version, made from the same sources, replaces it in place.
#   check_msi.sh RAVELON.MSI RAVELON.EXE FIND_WINDOW.EXE PREFIX
set -u
msi=$(realpath "$1") exe_built=$(realpath "$2") finder=$(realpath "$3")
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=$4 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [[ -z ${DISPLAY:-} ]]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }
quiet() { "$@" </dev/null >/dev/null 2>&1; }

rm -rf "$WINEPREFIX"
quiet wineboot -i
# What the prefix holds: its files and the registry that the installer may touch. The
# Windows Installer's own folders and keys, left empty, are the system's, not the program's.
snapshot() {
  wineserver -w
  {
    (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -print)
    find "$WINEPREFIX/drive_c/windows/Installer" 2>/dev/null
    for key in 'HKCU\Software' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
               'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
      wine reg query "$key" /s 2>/dev/null | tr -d '\r' | grep -v -i -E 'MuiCache|Explorer|^$'
    done
  } | grep -v -x -E '\./users/[^/]+/AppData/Roaming/Microsoft/Installer|.*/drive_c/windows/Installer' \
    | grep -v -x -E 'HKEY_CURRENT_USER\\Software\\Microsoft\\Installer(\\(Features|Products|UpgradeCodes))?' \
    | LC_ALL=C sort
}
before=$(snapshot)

quiet wine msiexec /i "$msi" /qn
check "msiexec /i /qn succeeds" "[[ \$? == 0 ]]"
users="$WINEPREFIX/drive_c/users/$(id -un)"
exe="$users/AppData/Local/Programs/Ravelon/Ravelon.exe"
lnk="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Ravelon.lnk"
check "the program in the user's Programs folder" "[[ -f '$exe' ]]"
check "a Start-menu shortcut" "[[ -f '$lnk' ]]"
arp=$(for root in HKCU HKLM; do
        wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null
      done | tr -d '\r' | grep -A40 -E 'DisplayName.*REG_SZ.*Ravelon$')
check "listed as installed: Ravelon" "grep -q 'DisplayName.*Ravelon' <<<\"\$arp\""
check "listed with its publisher" "grep -q 'Publisher.*REG_SZ.*Ravelon developers' <<<\"\$arp\""
check "listed with version 1.01" "grep -q 'DisplayVersion.*REG_SZ.*1.01$' <<<\"\$arp\""
icon=$(wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s 2>/dev/null | tr -d '\r' | grep ProductIcon)
check "listed with its icon" "grep -q 'ravelon.ico$' <<<\"\$icon\""

# The shortcut starts the installed program: its window appears and belongs to that file.
quiet wine start /unix "$lnk"
started=$(wine "$finder" "Ravelon " 30 2>&1 | tr -d '\r')
echo "the shortcut started: $started"
check "the shortcut starts the installed program" \
  "[[ '${started,,}' == *'appdata\\local\\programs\\ravelon\\ravelon.exe' ]]"

# Version 1.02 over 1.01: one entry is left, the new one.
later=$(mktemp -d)
"$here/scripts/make-windows-packages.sh" "$exe_built" "$here/resources/ravelon.ico" \
  "$here/resources/windows/ravelon.wxs" 1.02 "$later" >/dev/null
quiet wine msiexec /i "$later/Ravelon-1.02.msi" /qn
check "version 1.02 installs over 1.01" "[[ \$? == 0 && -f '$exe' ]]"
versions=$(for root in HKCU HKLM; do
             wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null
           done | tr -d '\r' | grep -A40 -E 'DisplayName.*REG_SZ.*Ravelon$' | grep DisplayVersion | tr -s ' ')
check "the upgrade replaces 1.01 in place" "[[ '$versions' == *' 1.02' && \$(wc -l <<<'$versions') == 1 ]]"

quiet wine msiexec /x "$later/Ravelon-1.02.msi" /qn
check "msiexec /x /qn succeeds" "[[ \$? == 0 ]]"
rm -rf "$later"
after=$(snapshot)
left=$(diff <(echo "$before") <(echo "$after"))
check "the uninstall leaves nothing behind" "[[ -z \$left ]]"
[[ -n $left ]] && echo "$left"
wineserver -k
exit $fail
