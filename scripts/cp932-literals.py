#!/usr/bin/env python3
"""Copies a C++ source with every non-ASCII character inside a string or character
literal written as octal escapes of its Shift-JIS (code page 932) bytes.

clang knows no execution character set but UTF-8, so the fuzz build compiles these
copies to see the literals as the program does (gcc and MinGW use -fexec-charset=CP932).
Comments and code are copied as they are. A non-ASCII character in a raw string cannot
be escaped and stops the copy with an error.

Usage: cp932-literals.py SOURCE COPY
"""
import os
import sys


def escape(ch):
    return "".join("\\%03o" % b for b in ch.encode("cp932"))


def rewrite(text, name):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            open_paren = text.find("(", i + 2)
            delimiter = ")" + text[i + 2:open_paren] + '"'
            end = text.find(delimiter, open_paren) + len(delimiter)
            literal = text[i:end]
            if any(ord(ch) > 127 for ch in literal):
                sys.exit("%s: non-ASCII text in a raw string" % name)
            out.append(literal)
            i = end
        elif c in "\"'":
            # A quote right after a digit is a digit separator, not a literal.
            if c == "'" and i > 0 and text[i - 1].isalnum():
                out.append(c)
                i += 1
                continue
            j = i + 1
            out.append(c)
            while j < n and text[j] != c:
                if text[j] == "\\":
                    out.append(text[j:j + 2])
                    j += 2
                    continue
                if text[j] == "\n":
                    sys.exit("%s: unterminated literal" % name)
                out.append(escape(text[j]) if ord(text[j]) > 127 else text[j])
                j += 1
            out.append(c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def main():
    source, copy = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    os.makedirs(os.path.dirname(copy), exist_ok=True)
    result = rewrite(text, source)
    # Quoted includes of the copied folder find the copies, everything else the original.
    with open(copy + ".tmp", "w", encoding="utf-8") as f:
        f.write('#line 1 "%s"\n' % source)
        f.write(result)
    os.replace(copy + ".tmp", copy)


if __name__ == "__main__":
    main()
