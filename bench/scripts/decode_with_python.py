# The general tool a user would otherwise write: str.translate plus filler slicing.
import sys
alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890!\"\u00a3$%^&*()-_=+[{]};:#~'@,.<>/?\\| "
shift = len(sys.argv[1])
code = open(sys.argv[2], encoding="utf-8").read()
if code.endswith("\n"): code = code[:-1]
tags = {"qotmz": 1, "pulxa": 2, "ze4vb": 3}
spacing = tags[code[:5]]
body = code[5:]
group = spacing + 1
kept = "".join(body[k::group] for k in range(spacing)) if spacing == 1 else None
if spacing > 1:
    parts = [body[k::group] for k in range(spacing)]
    kept = "".join("".join(t) for t in zip(*parts))
    rest = len(body) % group
    if rest: kept += body[len(body) - rest:][:spacing]
table = {ord(c): alphabet[(i - shift) % 95] for i, c in enumerate(alphabet)}
plain = kept.translate(table).replace("###NEWLINE###", "\r\n")
sys.stdout.write(plain)
