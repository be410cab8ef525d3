#!/usr/bin/env bash
# ravelon-decode beside what a user would otherwise write (Python's str.translate
# plus filler slicing) on the same big code: time and peak memory of each.
#   compare_with_python.sh RAVELON-DECODE [BYTES]   (100 MB by default)
set -eu
decode=$1 bytes=${2:-100000000}
here=$(dirname "$0") work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$here/make_code.py" "$bytes" "$work/code.txt"
address=12345678901234567  # shift 17, as the code was made
/usr/bin/time -f "ravelon-decode: %e s, %M KB peak" "$decode" --address "$address" "$work/code.txt" > "$work/ours.txt"
/usr/bin/time -f "python str.translate: %e s, %M KB peak" /usr/bin/python3 "$here/decode_with_python.py" "$address" "$work/code.txt" > "$work/python.txt"
cmp <(head -c "$(stat -c %s "$work/python.txt")" "$work/ours.txt") "$work/python.txt" && echo "the same plain text"
