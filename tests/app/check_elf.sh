#!/usr/bin/env bash
# The program's ELF is hardened: PIE, full RELRO, stack protector, fortified calls, no executable stack.
set -u
elf=$1
commands=$2  # compile_commands.json of the build
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "MISSING: $1"; fail=1; fi; }
check "position-independent executable" "readelf -h '$elf' | grep -q 'Type:.*DYN'"
check "RELRO segment" "readelf -lW '$elf' | grep -q GNU_RELRO"
check "bind now (full RELRO)" "readelf -dW '$elf' | grep -Eq 'BIND_NOW|FLAGS.*NOW'"
check "stack protector" "readelf -sW --dyn-syms '$elf' | grep -q __stack_chk_fail"
# Fortified calls appear only where a size is known at compile time, so the
# flag is checked where it is given: on every compile of the program's sources.
check "_FORTIFY_SOURCE on every compile" \
  "! grep '\"command\"' '$commands' | grep -E '/(app|window|platform|decoder)/' | grep -vq -- '-D_FORTIFY_SOURCE=2'"
check "non-executable stack" "readelf -lW '$elf' | grep GNU_STACK | grep -qv RWE"
exit $fail
