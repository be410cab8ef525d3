#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix, on a virtual
# display when there is none. RAVELON_WINE_DPI=144 uses a prefix whose
# LogPixels is 144.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dpi=${RAVELON_WINE_DPI:-96}
export WINEPREFIX=${RAVELON_WINE_PREFIX:-$here/build/wine-$dpi}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# One first start per prefix, whoever comes first.
exec 9>"$WINEPREFIX.lock"
flock 9
quiet() { "$@" </dev/null >/dev/null 2>&1 9>&- || true; }
if [[ ! -f $WINEPREFIX/.ravelon-ready ]]; then
  mkdir -p "$WINEPREFIX"
  quiet wineboot -i
  quiet wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  quiet wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f
  # A virtual desktop: without a window manager Wine waits two seconds for
  # every top-level window to be mapped or withdrawn.
  quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
  quiet wineserver -k  # the desktop and the DPI are read when Wine starts again
  touch "$WINEPREFIX/.ravelon-ready"
fi
# Wine's server and services outlive the program: start them here, away from
# our output, so that whoever reads it sees its end when the program ends.
quiet wine cmd /c exit
exec 9>&-
if [[ -z ${DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
