# Makes a big code (prose with markers, scheme 2, shift 17) for the comparison with Python.
import sys
alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890!\"\u00a3$%^&*()-_=+[{]};:#~'@,.<>/?\\| "
line = "Dear customer, your licence for 12 seats costs \u00a3240 (VAT incl.)###NEWLINE###"
shift, spacing = 17, 2
table = {ord(c): alphabet[(i + shift) % 95] for i, c in enumerate(alphabet)}
enc = line.translate(table)
# fillers after every `spacing` symbols
unit = "".join(enc[i:i+spacing] + "~" for i in range(0, len(enc), spacing))
size = int(sys.argv[1])
reps = size // len(unit.encode()) + 1
code = "pulxa" + (unit * reps)
open(sys.argv[2], "w", encoding="utf-8").write(code[: size] + "\n")
