#!/usr/bin/env python3
"""Generates the benchmark's file pairs, deterministically (fixed seeds).

usage: gen_pairs.py DIR [PAIR ...]

Each pair NAME is written as DIR/NAME.1 and DIR/NAME.2; a pair that already
exists is kept.  Without PAIR arguments every pair is made.
"""
import os
import random
import sys

WORDS = ("alpha beta gamma delta count index value buffer length result "
         "node next prev table entry symbol line file state flag size "
         "offset data left right start end first last item list").split()
TYPES = ("int", "long", "char*", "size_t", "bool", "double", "auto")
COMMON = ("}", "", "{", "return 0;", "break;", "} else {", "return result;",
          "#endif", "continue;", "default:")


def ident(rng):
    return "%s_%s%d" % (rng.choice(WORDS), rng.choice(WORDS), rng.randrange(1000))


def code_line(rng):
    """One line of C-like code; about one in six is a common short line."""
    indent = "    " * rng.randrange(4)
    r = rng.random()
    if r < 0.16:
        return indent + rng.choice(COMMON)
    if r < 0.45:
        return "%s%s %s = %s(%s, %d);" % (indent, rng.choice(TYPES), ident(rng),
                                         ident(rng), ident(rng), rng.randrange(100000))
    if r < 0.65:
        return "%sif (%s > %s) {" % (indent, ident(rng), ident(rng))
    if r < 0.85:
        return "%s%s = %s + %s * %d;" % (indent, ident(rng), ident(rng), ident(rng),
                                        rng.randrange(1000))
    return "%s/* %s %s %s */" % (indent, ident(rng), rng.choice(WORDS), ident(rng))


def scatter_edits(rng, lines, fraction, make):
    """A copy of `lines` with about `fraction` of them changed, deleted or
    preceded by an inserted line, at scattered places."""
    out = []
    for text in lines:
        r = rng.random()
        if r < fraction / 3:
            out.append(make(rng))          # changed
        elif r < 2 * fraction / 3:
            continue                       # deleted
        elif r < fraction:
            out.append(make(rng))          # inserted before
            out.append(text)
        else:
            out.append(text)
    return out


def write(path, lines, ending="\n"):
    with open(path, "w", newline="") as f:
        f.write(ending.join(lines))
        f.write(ending)


def pair_code(rng, n=1000000):
    left = [code_line(rng) for _ in range(n)]
    return left, scatter_edits(rng, left, 0.01, code_line)


def pair_dups(rng, n):
    texts = [code_line(rng) for _ in range(20)]
    left = [rng.choice(texts) for _ in range(n)]
    return left, scatter_edits(rng, left, 0.01, code_line)


def pair_repetitive(rng, n=200000, handful=6):
    """Lines from a handful of texts, as in a log or a table; the edits
    draw from the same texts half the time, so that nothing is unique."""
    texts = [code_line(rng) for _ in range(handful)]
    left = [rng.choice(texts) for _ in range(n)]

    def edit(rng):
        return rng.choice(texts) if rng.random() < 0.5 else code_line(rng)
    return left, scatter_edits(rng, left, 0.005, edit)


def pair_unrelated(rng, n=200000):
    return [code_line(rng) for _ in range(n)], [code_line(rng) for _ in range(n)]


def pair_moves(rng, n=200000, blocks=50):
    left = [code_line(rng) for _ in range(n)]
    right = list(left)
    for _ in range(blocks):
        size = rng.randrange(100, 2000)
        start = rng.randrange(len(right) - size)
        block = right[start:start + size]
        del right[start:start + size]
        to = rng.randrange(len(right))
        right[to:to] = block
    return left, right


def long_line(rng, width=100000):
    return "".join(rng.choice("abcdefghij klmnop;(){}") for _ in range(width // 50)) * 50


def pair_long(rng, n=1000):
    left = [long_line(rng) for _ in range(n)]
    return left, scatter_edits(rng, left, 0.05, long_line)


def respace(rng, text):
    """The same tokens with different whitespace, where -b still matches."""
    out = text.replace("    ", "\t") if rng.random() < 0.5 else text
    return out.replace(" = ", "  =  ") if rng.random() < 0.5 else out + " "


def pair_space(rng, n=1000000):
    left = [code_line(rng) for _ in range(n)]
    right = [respace(rng, t) if rng.random() < 0.2 else t for t in left]
    return left, right


PAIRS = {
    "code1m": lambda: pair_code(random.Random(1)),
    "dups50k": lambda: pair_dups(random.Random(2), 50000),
    "dups100k": lambda: pair_dups(random.Random(2), 100000),
    "dups200k": lambda: pair_dups(random.Random(2), 200000),
    "rep200k": lambda: pair_repetitive(random.Random(7)),
    "unrelated200k": lambda: pair_unrelated(random.Random(3)),
    "moves200k": lambda: pair_moves(random.Random(4)),
    "long1k": lambda: pair_long(random.Random(5)),
    "space1m": lambda: pair_space(random.Random(6)),
    "crlf1m": lambda: pair_code(random.Random(1)),
}


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name in sys.argv[2:] or PAIRS:
        one, two = os.path.join(out, name + ".1"), os.path.join(out, name + ".2")
        if os.path.exists(one) and os.path.exists(two):
            continue
        left, right = PAIRS[name]()
        ending = "\r\n" if name.startswith("crlf") else "\n"
        write(one, left, ending)
        write(two, right, ending)
        print("made", name, file=sys.stderr)


if __name__ == "__main__":
    main()
