#!/usr/bin/env bash
# Ravelon.exe is one self-contained, hardened 64-bit GUI program: system DLLs
# only, ASLR with high-entropy addresses, NX, stripped, with its version
# strings, icon and manifest.
set -u
exe=$1
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc 2>/dev/null | grep -v '^  0x')
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "MISSING: $1"; fail=1; fi; }
has() { grep -Fq -- "$1" <<<"$2"; }

system_dlls='^(KERNEL32|USER32|GDI32|COMCTL32|ADVAPI32|SHELL32|OLEACC|OLEAUT32|ole32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
echo "imports: $(tr '\n' ' ' <<<"$imports")"
check "imports are system DLLs only" "! grep -Eiv '$system_dlls' <<<\"\$imports\" | grep -q ."
check "64-bit (PE32+)" "grep -Eq 'Magic\s+020b' <<<\"\$headers\""
check "GUI subsystem" "has '(Windows GUI)' \"\$headers\""
check "ASLR" "has DYNAMIC_BASE \"\$headers\""
check "high-entropy ASLR" "has HIGH_ENTROPY_VA \"\$headers\""
check "NX" "has NX_COMPAT \"\$headers\""
check "stripped" "x86_64-w64-mingw32-objdump -t '$exe' | grep -q 'no symbols'"
check "product name" "has 'VALUE \"ProductName\", \"Ravelon\"' \"\$resources\""
check "file version" "has 'VALUE \"FileVersion\", \"1.01\"' \"\$resources\""
check "product version" "has 'VALUE \"ProductVersion\", \"1.01\"' \"\$resources\""
check "file description: the program's name" "has 'VALUE \"FileDescription\", \"Ravelon\"' \"\$resources\""
check "legal copyright" "has 'VALUE \"LegalCopyright\", \"Copyright (C) 2026 Ravelon developers\"' \"\$resources\""
check "original file name" "has 'VALUE \"OriginalFilename\", \"Ravelon.exe\"' \"\$resources\""
check "32 x 32, 16-colour icon" "has '\"\\040\\040\\020\\000\", 1, 4' \"\$resources\""
for size in 16 24 48; do
  check "$size x $size icon" "grep -Eq '\"\\\\0*$(printf %o $size)\\\\0*$(printf %o $size)\\\\000\\\\000\", 1, 32' <<<\"\$resources\""
done
check "256 x 256 icon" "has '\"\\000\\000\\000\\000\", 1, 32' \"\$resources\""
check "manifest: per-monitor v2 DPI awareness" "has PerMonitorV2 \"\$resources\""
check "manifest: Common Controls 6" "has Microsoft.Windows.Common-Controls \"\$resources\""
check "manifest: supported Windows versions" "has '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' \"\$resources\""
check "manifest: asInvoker" "has 'level=\"\"asInvoker\"\"' \"\$resources\""
echo "size: $(stat -c %s "$exe") bytes"
exit $fail
