# Instructions per 64 output bytes in the block loop of each vector path, read
# from the compiler's assembly: where a path cannot be timed (NEON under qemu),
# the estimate to set beside the others. For each block function, the loop that
# branches back to its own label and stores output is counted; the bytes it
# stores (not to the stack) are its output per turn.
#   loop_instructions.py FILE.s...     (bench/scripts/loop_instructions.sh makes them)
import re
import sys

STORE_BYTES = [  # (pattern, bytes) for the stores of a turn's output
    (r"^st3\s", 48), (r"^st2\s", 32), (r"^st1\s+\{\s*v\d+\.16b\s*\}", 16), (r"^str\s+q", 16),
    (r"^vmovdqu(8|64)?\s+%zmm", 64), (r"^vmovdqu\s+%ymm", 32), (r"^movdqu\s+%xmm|^vmovdqu\s+%xmm", 16),
]


def stored_bytes(line):
    if "%rsp" in line or "%rbp" in line or "[sp" in line:
        return 0
    for pattern, size in STORE_BYTES:
        if re.search(pattern, line):
            return size
    return 0


def loops(lines):
    """(function, instructions, output bytes) of each block function's busiest loop."""
    function = None
    best = {}
    for i, line in enumerate(lines):
        m = re.match(r"^(_Z\S+):", line)
        if m:
            function = m.group(1)
            continue
        m = re.match(r"^(\.L\w+):", line)
        if not function or "Blocks" not in function or not m:
            continue
        label, body = m.group(1), []
        for following in lines[i + 1:]:
            text = following.strip()
            if not text or text.startswith(("//", "#", ".")) or text.endswith(":"):
                continue
            body.append(text)
            if text.split()[-1] == label and text.split()[0].startswith(("b", "j")):
                out = sum(stored_bytes(t) for t in body)
                if out and (function not in best or len(body) > best[function][0]):
                    best[function] = (len(body), out)
                break
            if len(body) > 400:
                break
    for function, (count, out) in best.items():
        m = re.search(r"N_1\d+(\w+?)BlocksILm(\d)ELb(\d)", function)
        name = m.group(1)
        yield name, int(m.group(2)) - 1, m.group(3) == "1", count, out


for path in sys.argv[1:]:
    for name, spacing, checked, count, out in sorted(loops(open(path).read().split("\n"))):
        print(f"{name:10} scheme {spacing}{' (checked)' if checked else '          '} "
              f"{count:4} instructions for {out:3} bytes: {64 * count / out:5.1f} per 64")
