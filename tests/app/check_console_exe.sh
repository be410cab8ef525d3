#!/usr/bin/env bash
# Ravelon-decode.exe is one self-contained 64-bit console program: system DLLs only, hardened, stripped.
set -u
exe=$1
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
echo "imports: $(tr '\n' ' ' <<<"$imports")"
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "MISSING: $1"; fail=1; fi; }
check "imports are system DLLs only" "! grep -Eiv '^(KERNEL32|ADVAPI32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$' <<<\"\$imports\" | grep -q ."
check "console subsystem" "grep -q '(Windows CUI)' <<<\"\$headers\""
check "ASLR and NX" "grep -q DYNAMIC_BASE <<<\"\$headers\" && grep -q NX_COMPAT <<<\"\$headers\""
check "stripped" "x86_64-w64-mingw32-objdump -t '$exe' | grep -q 'no symbols'"
exit $fail
