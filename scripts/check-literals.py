#!/usr/bin/env python3
"""Fails on an ordinary string or character literal in a C++ source whose
text is not ASCII (or that names a character with \\u or \\U) and is not
converted with _cp: the compiler keeps such a text as UTF-8, and the game
writes code page 932. Write "..."_cp for a text of the game (adjacent
literals join first, so one _cp converts them all), and u8"..." where a test
wants the UTF-8 bytes themselves. Comments and u8/u/U/L literals may hold any
text. Lists every fault and exits with 1 if there is one.
Run: python3 scripts/check-literals.py [file...]  (default: every tracked source)"""
import collections
import os
import pathlib
import subprocess
import sys

# An ordinary literal: where it starts and where its text ends, its ud-suffix,
# its text (a raw one's as it is) and whether it is a character literal.
Literal = collections.namedtuple("Literal", "start end suffix body character")


def is_identifier(c):
    return c == "_" or c.isalnum() or not c.isascii()


def names_a_character(body):
    """A non-ASCII character, or a universal character name among the escapes."""
    i = 0
    while i < len(body):
        if not body[i].isascii():
            return True
        if body[i] == "\\":
            if body[i + 1 : i + 2] in ("u", "U"):
                return True
            i += 1
        i += 1
    return False


def literals(src):
    """Each ordinary literal of a C++ source, as a Literal."""
    i, n = 0, len(src)
    while i < n:
        c, nxt = src[i], src[i + 1 : i + 2]
        if c == "/" and nxt == "/":
            end = src.find("\n", i)
            while end != -1 and spliced(src, end):  # a final backslash joins the next line on
                end = src.find("\n", end + 1)
            i = n if end == -1 else end
        elif c == "/" and nxt == "*":
            end = src.find("*/", i + 2)
            i = n if end == -1 else end + 2
        elif c.isdigit() or (c == "." and nxt.isdigit()):
            # A number: its digit separators (1'000) open no literal.
            i += 1
            while i < n:
                if src[i] == "'" and is_identifier(src[i + 1 : i + 2] or " "):
                    i += 2
                elif is_identifier(src[i]) or src[i] == "." or (src[i] in "+-" and src[i - 1] in "eEpP"):
                    i += 1
                else:
                    break
        elif is_identifier(c):
            start = i
            while i < n and is_identifier(src[i]):
                i += 1
            prefix = src[start:i]
            if src[i : i + 1] == '"' and prefix.endswith("R") and prefix[:-1] in ("", "u8", "u", "U", "L"):
                opening = src.find("(", i)
                closing = ")" + src[i + 1 : opening] + '"'
                found = src.find(closing, opening)
                end = n if opening == -1 or found == -1 else found + len(closing)
                if prefix == "R" and end < n:
                    yield from with_suffix(src, start, end, src[opening + 1 : end - len(closing)], False)
                i = end
            elif src[i : i + 1] in ("'", '"') and prefix in ("u8", "u", "U", "L"):
                i = quoted_end(src, i)
        elif c in "\"'":
            end = quoted_end(src, i)
            if src[end - 1] == c and end - 1 > i:
                yield from with_suffix(src, i, end, src[i + 1 : end - 1], c == "'")
            i = end
        else:
            i += 1


def spliced(src, newline):
    last = newline - 1
    if last >= 0 and src[last] == "\r":
        last -= 1
    return last >= 0 and src[last] == "\\"


def with_suffix(src, start, end, body, character):
    suffix_end = end
    while suffix_end < len(src) and is_identifier(src[suffix_end]):
        suffix_end += 1
    yield Literal(start, end, src[end:suffix_end], body, character)


def quoted_end(src, i):
    """Past the closing quote of the literal opening at src[i] (or the end of
    its line, for an apostrophe that opens none, as in an #error text)."""
    quote, j = src[i], i + 1
    while j < len(src) and src[j] not in (quote, "\n"):
        j += 2 if src[j] == "\\" else 1
    return min(j + 1, len(src))


def faults(path, src):
    found = list(literals(src))
    # Adjacent string literals are one: a _cp on any of them converts them all.
    group = []
    for k, literal in enumerate(found):
        before = found[k - 1] if k else None
        joined = (before and not before.character and not literal.character and
                  not src[before.end + len(before.suffix) : literal.start].strip())
        group.append(group[-1] if joined else k)
    converted = {group[k] for k, literal in enumerate(found)
                 if literal.suffix == "_cp" and not literal.character}
    for k, literal in enumerate(found):
        if names_a_character(literal.body) and group[k] not in converted:
            line = src.count("\n", 0, literal.start) + 1
            kind = "character literal" if literal.character else "string literal"
            text = src[literal.start : literal.end][:50]
            yield f"{path}:{line}: a {kind} with non-ASCII text and no _cp: {text}"


def main():
    if len(sys.argv) == 1:
        os.chdir(pathlib.Path(__file__).resolve().parent.parent)
    tracked = ["git", "ls-files", "*.cpp", "*.h"]
    paths = sys.argv[1:] or subprocess.run(tracked, capture_output=True, text=True, check=True).stdout.split()
    problems = [p for path in paths for p in faults(path, pathlib.Path(path).read_text(encoding="utf-8"))]
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print('check-literals: write texts of the game as "..."_cp, UTF-8 bytes as u8"..."', file=sys.stderr)
        return 1
    print(f"check-literals: {len(paths)} files, every non-ASCII literal is _cp or u8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
