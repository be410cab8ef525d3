# Instructions per 64 output bytes in the block loop of each vector path, read
# from the compiler's assembly: where a path cannot be timed (NEON under qemu),
# the estimate to set beside the others. For each block function, the loop that
# branches back to its own label and stores output is counted; the bytes it
# stores (not to the stack) are its output per turn. Where kept bytes are stored
# by halves that overlap (AVX2's two in three and three in four: Group - 1 of
# every Group bytes stored are kept) and looked up by a loop within the loop,
# the inner loop counts as many turns as it takes to look up a turn's output.
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


def is_instruction(text):
    return text and not text.startswith(("//", "#", ".")) and not text.endswith(":")


def loop_spans(lines):
    """(function, first line, back-branch line) of each loop in a block function."""
    function = None
    for i, line in enumerate(lines):
        m = re.match(r"^(_Z\S+):", line)
        if m:
            function = m.group(1)
            continue
        m = re.match(r"^(\.L\w+):", line)
        if not function or "Blocks" not in function or not m:
            continue
        count = 0
        for j in range(i + 1, len(lines)):
            text = lines[j].strip()
            if re.match(r"^_Z\S+:", lines[j]) or count > 400:
                break
            if not is_instruction(text):
                continue
            count += 1
            if text.split()[-1] == m.group(1) and text.split()[0].startswith(("b", "j")):
                yield function, i, j
                break


def loops(lines):
    """(function, instructions, output bytes) of each block function's busiest loop."""
    spans = list(loop_spans(lines))
    best = {}
    for function, first, last in spans:
        inner = [(a, b) for f, a, b in spans if f == function and first < a and b < last]
        body = [lines[k].strip() for k in range(first + 1, last + 1)
                if is_instruction(lines[k].strip()) and not any(a < k <= b for a, b in inner)]
        count, out = len(body), sum(stored_bytes(t) for t in body)
        halves = sum(1 for t in body if re.match(r"^vextracti128\s+\$0x1,\s*%ymm\d+,\s*-?\w*\(", t))
        if halves:
            group = int(re.search(r"BlocksILm(\d)", function).group(1))
            out = (out + 16 * halves) * (group - 1) // group
            for a, b in inner:
                inner_body = [lines[k].strip() for k in range(a + 1, b + 1) if is_instruction(lines[k].strip())]
                count += len(inner_body) * out // sum(stored_bytes(t) for t in inner_body)
        if out and (function not in best or count > best[function][0]):
            best[function] = (count, out)
    for function, (count, out) in best.items():
        m = re.search(r"N_1\d+(\w+?)BlocksILm(\d)ELb(\d)", function)
        name = m.group(1)
        yield name, int(m.group(2)) - 1, m.group(3) == "1", count, out


for path in sys.argv[1:]:
    for name, spacing, checked, count, out in sorted(loops(open(path).read().split("\n"))):
        print(f"{name:10} scheme {spacing}{' (checked)' if checked else '          '} "
              f"{count:4} instructions for {out:3} bytes: {64 * count / out:5.1f} per 64")
